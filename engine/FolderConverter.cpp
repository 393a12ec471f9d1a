// The folder converter: one PST folder into one Notes folder.
#include "FolderConverter.h"

#include "AutomationWrappers.h"
#include "NotesStore.h"
#include "PstSession.h"

CFolderConverter::CFolderConverter() : m_pStore(nullptr), m_pSession(nullptr) {}

CFolderConverter::~CFolderConverter() {}

void CFolderConverter::ConvertFolder(CString path) {
  if (!m_pStore || !m_pSession) return;
  // Sibling folders of one name share the path, the tree item the user ticks and the Notes folder the
  // path names: all of them go into it, their items numbered on from one folder to the next.
  const int listed = path.IsEmpty() ? 0 : m_pSession->CountListedFolders(path);
  const int folders = listed > 1 ? listed : 1;
  long itemsBefore = 0;
  for (int sibling = 0; sibling < folders; ++sibling) {
    if (sibling > 0 && m_pStore->m_bStop) {
      m_pStore->m_bStoppedEarly = TRUE;
      // The folders of the path not begun are left behind, each with its items as the PST states them.
      for (; sibling < folders; ++sibling) {
        RdoFolderDispatch left;
        m_pSession->OpenFolderByPath(path, left, sibling);
        CString why;
        why.Format(L"Folder %d of the %d folders of this path: not converted: ", sibling + 1, folders);
        m_pStore->m_notConverted.AddFolder(path, why + STOPPED_BY_USER_TEXT, StatedFolderItems(left));
      }
      return;
    }
    CString which;
    if (folders > 1) which.Format(L"Folder %d of the %d folders of this path: ", sibling + 1, folders);
    const bool last = sibling + 1 == folders;
    try {
      RdoFolderDispatch folder;
      if (path.IsEmpty()) {
        // The top folder has no path of its own; items kept in it would otherwise be lost.
        if (!m_pSession->m_store.m_lpDispatch) return;
        folder.AttachDispatch(m_pSession->m_store.GetRootFolder());
      } else {
        m_pSession->OpenFolderByPath(path, folder, sibling);
      }
      if (!folder.m_lpDispatch) {
        m_pStore->m_notConverted.AddFolder(path, which + L"The folder cannot be opened in the PST");
        continue;
      }
      m_pStore->SaveFolderItems(L"Outlook\\" + path, &folder, itemsBefore);
      // The folder's items are saved whatever these calls say; the count only numbers the next folder's.
      try {
        if (!last) itemsBefore += RdoItemsDispatch(folder.GetItems()).GetCount();
        folder.CallMethod6();
      } catch (CException* e) {
        e->Delete();
      }
    } catch (CException* e) {
      const CString failure = DescribeException(e);
      m_pStore->m_notConverted.AddFolder(path, which + L"The folder cannot be converted: " + failure);
      if (IsPstUnreadable(e)) m_pStore->NoteSourceFailure(failure);
      e->Delete();
    } catch (...) {
      m_pStore->m_notConverted.AddFolder(path,
                                         which + L"The folder cannot be converted: an unexpected failure");
    }
  }
}
