// The conversion driver of the main frame: opens the PST as a fresh session, opens or creates the
// target NSF, lets the user tick folders, and converts each ticked folder, reporting into the saving
// page's windows through the sinks it is given.
#include "MainFrame.h"

#include <utility>

#include "OutlookFoldersDlg.h"

namespace {

const wchar_t STATUS_OPENING_PST[] = L"Opening pst file...";
const wchar_t STATUS_PST_FAILED[] = L"Fail to open pst file...";
const wchar_t STATUS_OPENING_NSF[] = L"Opening NSF file...";
const wchar_t STATUS_GETTING_FOLDERS[] = L"Getting folder information from pst file...";
const wchar_t STATUS_USER_ABORTED[] = L"User aborted the process";
const wchar_t STATUS_SAVING_FOLDER[] = L"Saving Folder : ";

void SetStatus(IProgressSink* pSink, const CString& strText) {
  if (pSink != nullptr) pSink->SetText(strText);
}

void SetPos(IProgressSink* pSink, int nPos) {
  if (pSink != nullptr) pSink->SetPos(nPos);
}

// The text of a failure that escaped a folder's conversion.
CString DescribeFailure(CException* e) {
  WCHAR szText[512] = L"";
  e->GetErrorMessage(szText, _countof(szText));
  e->Delete();
  return szText[0] != L'\0' ? CString(szText) : CString(L"the folder could not be converted");
}

CString DescribeNotesStatus(LNSTATUS status) {
  char szText[512] = "";
  LNGetErrorMessageText(status, szText, sizeof szText, 0);
  return szText[0] != '\0' ? CString(szText) : CString(L"the folder could not be converted");
}

// Takes the saving page's bars out of the Notes store when the driver returns, whichever way.
class CItemProgressScope {
 public:
  CItemProgressScope(CNotesStore& store, IProgressSink* pItemBar) : m_store(store) {
    m_store.m_pItemProgress = pItemBar;
    m_store.m_pReadProgress = pItemBar;
  }
  ~CItemProgressScope() {
    m_store.m_pItemProgress = nullptr;
    m_store.m_pReadProgress = nullptr;
    m_store.m_pSkippedItems = nullptr;
  }
  CItemProgressScope(const CItemProgressScope&) = delete;
  CItemProgressScope& operator=(const CItemProgressScope&) = delete;

 private:
  CNotesStore& m_store;
};

}  // namespace

int CMainFrame::OpenPst(CString strPath, HWND hwndParent) {
  CPstSession* pSession = new CPstSession();
  pSession->m_hwndParent = hwndParent;
  CPstSession* pOld = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_sessionLock);
    pOld = m_pPstSession;
    m_pPstSession = pSession;
  }
  delete pOld;
  // A stop raised while the session was being made reaches it here too.
  if (m_bStop) pSession->m_bStop = 1;
  const int bOpen = pSession->ReopenPst(strPath) ? 1 : 0;
  m_strPstOpenError = bOpen ? CString() : pSession->GetOpenError();
  return bOpen;
}

void CMainFrame::DeletePstSession() {
  CPstSession* pSession = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_sessionLock);
    std::swap(pSession, m_pPstSession);
  }
  delete pSession;
}

void CMainFrame::SetStopFlags(int nValue) {
  m_bStop = static_cast<BYTE>(nValue);
  m_notesStore.m_bStop = nValue;
  std::lock_guard<std::mutex> lock(m_sessionLock);
  if (m_pPstSession != nullptr) m_pPstSession->m_bStop = nValue;
}

CString CMainFrame::GetPstOpenError() const { return m_strPstOpenError; }

void CMainFrame::NoteFolderNotConverted(const CString& strPath, const CString& strReason) {
  m_arrNotConverted.Add(strPath + L"\t\t" + strReason);
  ++m_nFoldersNotConverted;
}

int CMainFrame::ConvertPstToNsf(HWND hwndParent, IProgressSink* pFolderBar, IProgressSink* pItemBar,
                                IProgressSink* pStatus) {
  m_bStop = 0;
  m_notesStore.m_bStop = 0;
  {
    std::lock_guard<std::mutex> lock(m_sessionLock);
    if (m_pPstSession != nullptr) m_pPstSession->m_bStop = 0;
  }
  m_arrNotConverted.RemoveAll();
  m_nFoldersNotConverted = 0;
  m_nItemsNotConverted = 0;
  SetPos(pFolderBar, 0);
  SetPos(pItemBar, 0);

  SetStatus(pStatus, STATUS_OPENING_PST);
  if (!OpenPst(m_strSourcePath, hwndParent)) {
    SetStatus(pStatus, STATUS_PST_FAILED);
    return CONVERSION_PST_FAILED;
  }

  SetStatus(pStatus, STATUS_OPENING_NSF);
  CItemProgressScope itemProgress(m_notesStore, pItemBar);
  m_notesStore.m_bPlainTextBody = m_bTextFormat;
  if (!m_notesStore.CreateOrOpenDatabase(m_strTargetNsfPath)) {
    CString strError = m_notesStore.GetErrorText();
    // The user is always told why the NSF did not open.
    if (strError.IsEmpty()) strError = L"Unable to open or create the NSF file " + m_strTargetNsfPath;
    SetStatus(pStatus, strError);
    return CONVERSION_NSF_FAILED;
  }

  SetStatus(pStatus, STATUS_GETTING_FOLDERS);
  CStringArray arrPaths;
  if (!m_pPstSession->GetFolderList(&arrPaths)) {
    NoteFolderNotConverted(CString(),
                           L"the folder list of the PST file could not be read to its end; the folders "
                           L"after the damage are missing");
  }

  COutlookFoldersDlg dlgFolders;
  dlgFolders.m_arrFolders.RemoveAll();
  for (INT_PTR i = 0; i < arrPaths.GetSize(); ++i) dlgFolders.m_arrFolders.Add(arrPaths[i]);
  if (dlgFolders.DoModal() != IDOK) {
    SetStatus(pStatus, STATUS_USER_ABORTED);
    return CONVERSION_CANCELLED;
  }
  arrPaths.RemoveAll();
  arrPaths.Append(dlgFolders.m_arrSelected);

  int nNumerator = 100;
  for (INT_PTR i = 0; i <= arrPaths.GetSize() - 1; ++i, nNumerator += 100) {
    if (m_bStop) break;
    const CString strPath = arrPaths[i];
    const CString strSaving = STATUS_SAVING_FOLDER + strPath;
    SetPos(pFolderBar, static_cast<int>(nNumerator / arrPaths.GetSize()));
    if (pFolderBar != nullptr) pFolderBar->SetText(strSaving);
    SetStatus(pStatus, strSaving);

    // One folder's failure ends that folder only; the next one is converted.
    CStringArray arrSkipped;
    try {
      if (!m_notesStore.CreateFolder(L"Outlook\\" + strPath)) {
        NoteFolderNotConverted(strPath,
                               L"the Notes folder could not be created: " + m_notesStore.GetErrorText());
        continue;
      }
      m_notesStore.m_pSkippedItems = &arrSkipped;
      m_folderConverter.m_pStore = &m_notesStore;
      m_folderConverter.m_pSession = m_pPstSession;
      m_folderConverter.ConvertFolder(strPath);
    } catch (CException* e) {
      NoteFolderNotConverted(strPath, DescribeFailure(e));
    } catch (LNSTATUS status) {
      NoteFolderNotConverted(strPath, DescribeNotesStatus(status));
    } catch (...) {
      NoteFolderNotConverted(strPath, L"the folder could not be converted");
    }
    m_notesStore.m_pSkippedItems = nullptr;
    for (INT_PTR s = 0; s < arrSkipped.GetSize(); ++s) {
      // The item loop's lines: "<index> TAB <subject> TAB <reason>".
      m_arrNotConverted.Add(strPath + L"\titem " + arrSkipped[s]);
      ++m_nItemsNotConverted;
    }
  }
  return CONVERSION_DONE;
}
