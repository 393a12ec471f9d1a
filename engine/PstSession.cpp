// Opening and closing the PST through Outlook and Redemption, and naming its folders by path.
#include "PstSession.h"

#include "FolderPaths.h"

namespace {

// A server that cannot be created may still have said why through the thread's error object.
CString DescribeCreationFailure(SCODE sc) {
  CString text;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description) {
      text = description;
      SysFreeString(description);
    }
    info->Release();
  }
  if (text.IsEmpty()) {
    COleException error(sc);
    text = DescribeException(&error);
  }
  return text;
}

BOOL CreateServer(COleDispatchDriver& driver, LPCWSTR progId, CString& errorText) {
  SetErrorInfo(0, nullptr);
  COleException error;
  if (driver.CreateDispatch(progId, &error)) return TRUE;
  errorText = DescribeCreationFailure(error.m_sc);
  return FALSE;
}

// Closing calls whose failure changes nothing for the caller.
template <class Call>
void Quietly(Call call) {
  try {
    call();
  } catch (CException* e) {
    e->Delete();
  }
}

}  // namespace

CPstSession::CPstSession() : m_bStop(0), m_hwndParent(nullptr) {}

CPstSession::~CPstSession() {
  Close();
  m_currentFolder.ReleaseDispatch();
  m_store.ReleaseDispatch();
  m_stores.ReleaseDispatch();
  m_session.ReleaseDispatch();
}

int CPstSession::RegisterPstWithOutlook(CString path) {
  AfxOleInit();
  if (m_bStop) return 0;

  OutlookApplicationDispatch application;
  if (!CreateServer(application, L"Outlook.Application", m_strOpenError)) return 0;

  OutlookNameSpaceDispatch nameSpace;
  try {
    nameSpace.AttachDispatch(application.GetNamespace(L"MAPI"));
    if (!nameSpace.m_lpDispatch) AfxThrowOleDispatchException(0, L"Outlook gave no MAPI namespace");
    COleVariant empty(L"");
    COleVariant missing(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
    nameSpace.Logon(empty, empty, missing, missing);
  } catch (CException* e) {
    m_strOpenError = DescribeException(e);
    e->Delete();
    nameSpace.ReleaseDispatch();
    Quietly([&] { application.Quit(); });
    application.ReleaseDispatch();
    return 0;
  }

  try {
    nameSpace.AddStore(COleVariant(path));
  } catch (CException* e) {
    m_strOpenError = DescribeException(e);
    e->Delete();
    Quietly([&] { nameSpace.Logoff(); });
    nameSpace.ReleaseDispatch();
    Quietly([&] { application.Quit(); });
    application.ReleaseDispatch();
    return 0;
  }

  Quietly([&] { nameSpace.Logoff(); });
  nameSpace.ReleaseDispatch();
  Quietly([&] { application.Quit(); });
  application.ReleaseDispatch();
  return 1;
}

int CPstSession::OpenPst(CString path) {
  m_strOpenError.Empty();
  ForgetListedFolders();
  if (m_bStop) return 0;
  if (!RegisterPstWithOutlook(path)) return 0;
  if (!CreateServer(m_session, L"Redemption.RDOSession", m_strOpenError)) return 0;

  try {
    m_session.Logon(COleVariant(L""), COleVariant(0L), COleVariant(0L), COleVariant(1L),
                    COleVariant(static_cast<long>(reinterpret_cast<LONG_PTR>(m_hwndParent))),
                    COleVariant(0L));
    if (!m_session.m_lpDispatch) return 0;

    m_stores.AttachDispatch(m_session.GetStores());
    if (!m_stores.m_lpDispatch) {
      m_strOpenError = L"the session has no store collection";
      return 0;
    }

    m_store.AttachDispatch(m_stores.AddPstStore(path, COleVariant(1L), COleVariant(L"")));
    if (!m_store.m_lpDispatch) {
      m_strOpenError = L"the PST store was not added";
      return 0;
    }
    CString name = m_store.GetName();
    m_store.SetName(name);
    m_store.CallMethod6();
  } catch (CException* e) {
    m_strOpenError = DescribeException(e);
    e->Delete();
    return 0;
  }
  m_strOpenError.Empty();
  return 1;
}

int CPstSession::ReopenPst(CString path) {
  if (m_bStop) return 0;
  // Whatever an earlier open left bound goes first, logged on or not, so that no store of it
  // outlives the new open.
  if (m_session.m_lpDispatch || m_stores.m_lpDispatch || m_store.m_lpDispatch) {
    Close();
    m_store.ReleaseDispatch();
    m_stores.ReleaseDispatch();
    m_session.ReleaseDispatch();
  }
  return OpenPst(path);
}

void CPstSession::Close() {
  m_currentFolder.ReleaseDispatch();
  ForgetListedFolders();
  if (m_store.m_lpDispatch) {
    // When the final call fails the store stays bound; the destructor releases it.
    Quietly([&] {
      m_store.CallMethod6();
      m_store.ReleaseDispatch();
    });
  }
  m_stores.ReleaseDispatch();
  if (m_session.m_lpDispatch) {
    Quietly([&] {
      if (m_session.GetLoggedOn()) m_session.Logoff();
    });
    m_session.ReleaseDispatch();
  }
}

int CPstSession::GetFolderList(CStringArray* paths) {
  ForgetListedFolders();
  m_notListed.RemoveAll();
  if (!paths) return 0;
  RdoFoldersDispatch topFolders;
  try {
    RdoFolderDispatch root(m_store.GetRootFolder());
    topFolders.AttachDispatch(root.GetFolders());
  } catch (CException* e) {
    m_notListed.AddFolder(CString(), L"The folders of the PST cannot be listed: " + DescribeException(e));
    e->Delete();
    return 0;
  }
  FolderChain chain;
  CollectFolderPathsFrom(topFolders, CString(), paths, &chain);
  return m_notListed.GetCount() == 0 ? 1 : 0;
}

int CPstSession::CollectFolderPaths(RdoFolderDispatch folder, CString parentPath, CStringArray* paths) {
  RdoFoldersDispatch folders(folder.GetFolders());
  CollectFolderPathsFrom(folders, parentPath, paths, nullptr);
  return 1;
}

void CPstSession::CollectFolderPathsFrom(RdoFoldersDispatch& folders, const CString& parentPath,
                                         CStringArray* paths, FolderChain* chain) {
  const CString parentListed = parentPath.IsEmpty() ? CString() : parentPath + L"\\";
  // The listing of GetFolderList records what it cannot read and goes on with what it can; the
  // recursive step on its own passes every failure on.
  auto notListed = [&](CException* e, const CString& folder, const CString& what) {
    if (!chain) throw e;
    m_notListed.AddFolder(folder, what + DescribeException(e));
    e->Delete();
  };

  RdoFolderDispatch child;
  try {
    child.AttachDispatch(folders.GetFirst());
  } catch (CException* e) {
    notListed(e, parentListed, L"Its sub-folders cannot be listed: ");
    return;
  }
  for (long position = 0; child.m_lpDispatch; ++position) {
    CString name;
    bool named = true;
    try {
      name = child.GetName();
    } catch (CException* e) {
      CString what;
      what.Format(L"Sub-folder %ld cannot be read: ", position + 1);
      notListed(e, parentListed, what);
      named = false;
    }
    if (named) {
      const CString path = parentPath.IsEmpty() ? name : parentPath + L"\\" + name;
      if (chain) {
        chain->push_back(position);
        std::vector<FolderChain>& chains = m_listedFolders[static_cast<LPCWSTR>(path + L"\\")];
        if (chains.empty()) paths->Add(path + L"\\");
        chains.push_back(*chain);
      } else {
        paths->Add(path + L"\\");
      }
      RdoFoldersDispatch subFolders;
      try {
        subFolders.AttachDispatch(child.GetFolders());
      } catch (CException* e) {
        notListed(e, path + L"\\", L"Its sub-folders cannot be listed: ");
      }
      if (subFolders.m_lpDispatch) CollectFolderPathsFrom(subFolders, path, paths, chain);
      if (chain) chain->pop_back();
    }
    try {
      child.AttachDispatch(folders.GetNext());
    } catch (CException* e) {
      CString what;
      what.Format(L"The sub-folders after number %ld cannot be listed: ", position + 1);
      notListed(e, parentListed, what);
      return;
    }
  }
}

const CPstSession::FolderChain* CPstSession::FindListedChain(const CString& path, int sibling) const {
  auto found = m_listedFolders.find(static_cast<LPCWSTR>(path));
  if (found == m_listedFolders.end() || sibling < 0 || static_cast<size_t>(sibling) >= found->second.size())
    return nullptr;
  return &found->second[static_cast<size_t>(sibling)];
}

int CPstSession::CountListedFolders(const CString& path) const {
  auto found = m_listedFolders.find(static_cast<LPCWSTR>(path));
  return found == m_listedFolders.end() ? 0 : static_cast<int>(found->second.size());
}

long CountFolderItems(RdoFolderDispatch& folder) {
  if (!folder.m_lpDispatch) return NotConvertedEntry::UNCOUNTED;
  try {
    RdoItemsDispatch items(folder.GetItems());
    return items.m_lpDispatch ? items.GetCount() : 0;
  } catch (CException* e) {
    e->Delete();
  }
  try {
    COleVariant stated = folder.GetFields(PR_CONTENT_COUNT_TAG);
    if (stated.vt == VT_I4 && stated.lVal >= 0) return stated.lVal;
  } catch (CException* e) {
    e->Delete();
  }
  return NotConvertedEntry::UNCOUNTED;
}

long StatedFolderItems(RdoFolderDispatch& folder) {
  if (!folder.m_lpDispatch) return NotConvertedEntry::UNCOUNTED;
  try {
    COleVariant stated = folder.GetFields(PR_CONTENT_COUNT_TAG);
    if (stated.vt == VT_I4 && stated.lVal >= 0) return stated.lVal;
  } catch (CException* e) {
    e->Delete();
  }
  return CountFolderItems(folder);
}

long CPstSession::CountItemsAtPath(const CString& path) { return CountAtPath(path, CountFolderItems); }

long CPstSession::CountStatedItemsAtPath(const CString& path) { return CountAtPath(path, StatedFolderItems); }

long CPstSession::CountAtPath(const CString& path, long (*countFolder)(RdoFolderDispatch&)) {
  if (path.IsEmpty()) {
    RdoFolderDispatch root;
    try {
      root.AttachDispatch(m_store.GetRootFolder());
    } catch (CException* e) {
      e->Delete();
    }
    return countFolder(root);
  }
  const int listed = CountListedFolders(path);
  if (listed == 0) return NotConvertedEntry::UNCOUNTED;
  long total = 0;
  for (int sibling = 0; sibling < listed; ++sibling) {
    RdoFolderDispatch folder;
    OpenFolderByPath(path, folder, sibling);
    const long items = countFolder(folder);
    if (items == NotConvertedEntry::UNCOUNTED) return items;
    total += items;
  }
  return total;
}

void CPstSession::OpenListedFolder(const CString& path, const FolderChain& chain) {
  RdoFolderDispatch folder(m_store.GetRootFolder());
  CString reached;
  for (long position : chain) {
    RdoFoldersDispatch folders(folder.GetFolders());
    RdoFolderDispatch child(folders.GetFirst());
    for (long i = 0; i < position && child.m_lpDispatch; ++i) child.AttachDispatch(folders.GetNext());
    if (!child.m_lpDispatch) return;
    reached += child.GetName() + L"\\";
    folder = child;
  }
  if (!chain.empty() && reached == path) m_currentFolder = folder;
}

void CPstSession::ForgetListedFolders() { m_listedFolders.clear(); }

int CPstSession::OpenFolderByPath(CString path, RdoFolderDispatch& folder, int sibling) {
  // Every open starts without a folder, so that a failed one never hands back an earlier folder.
  m_currentFolder.ReleaseDispatch();
  try {
    if (const FolderChain* chain = FindListedChain(path, sibling)) {
      OpenListedFolder(path, *chain);
    } else if (sibling == 0 && CountListedFolders(path) == 0) {
      RdoFolderDispatch root(m_store.GetRootFolder());
      RdoFoldersDispatch rootFolders(root.GetFolders());
      WalkFolderPath(path, rootFolders);
    }
  } catch (CException* e) {
    e->Delete();
    m_currentFolder.ReleaseDispatch();
  }
  folder = m_currentFolder;
  return 1;
}

RdoFoldersDispatch CPstSession::WalkFolderPath(CString path, RdoFoldersDispatch rootFolders) {
  RdoFoldersDispatch current = rootFolders;
  m_currentFolder.ReleaseDispatch();
  int levels = CountPathSeparators(path);
  for (int i = 0; i < levels; ++i) {
    CString segment = GetPathSegment(path, i);
    // Each level has to bind its own folder; a level neither found nor created ends the walk
    // without a folder. An empty name is never created.
    m_currentFolder.ReleaseDispatch();
    if (!segment.IsEmpty()) {
      if (HasSubFolder(current, segment)) {
        current = EnterSubFolder(segment, current);
      } else {
        COleVariant folderClass(GetFolderClassForNotesFolder(segment));
        current = AddSubFolder(segment, current, folderClass);
      }
    }
    if (!m_currentFolder.m_lpDispatch) return RdoFoldersDispatch();
  }
  return current;
}

bool CPstSession::HasSubFolder(RdoFoldersDispatch folders, CString name) {
  CString mapped = MapNotesFolderName(name);
  try {
    for (RdoFolderDispatch child(folders.GetFirst()); child.m_lpDispatch;
         child.AttachDispatch(folders.GetNext()))
      if (child.GetName() == mapped) return true;
  } catch (CException* e) {
    e->Delete();
  }
  return false;
}

RdoFoldersDispatch CPstSession::EnterSubFolder(CString name, RdoFoldersDispatch folders) {
  CString mapped = MapNotesFolderName(name);
  try {
    for (RdoFolderDispatch child(folders.GetFirst()); child.m_lpDispatch;
         child.AttachDispatch(folders.GetNext())) {
      if (child.GetName() == mapped) {
        RdoFoldersDispatch subFolders(child.GetFolders());
        m_currentFolder = child;
        return subFolders;
      }
    }
  } catch (CException* e) {
    e->Delete();
  }
  m_currentFolder.ReleaseDispatch();
  return RdoFoldersDispatch();
}

RdoFoldersDispatch CPstSession::AddSubFolder(CString name, RdoFoldersDispatch folders, VARIANT folderClass) {
  if (!folders.m_lpDispatch) return RdoFoldersDispatch();
  CString mapped = MapNotesFolderName(name);
  try {
    RdoFolderDispatch added(folders.Add(mapped, folderClass));
    if (!added.m_lpDispatch) return RdoFoldersDispatch();
    RdoFoldersDispatch subFolders(added.GetFolders());
    m_currentFolder = added;
    return subFolders;
  } catch (CException* e) {
    e->Delete();
  }
  return RdoFoldersDispatch();
}
