// The folder converter: one PST folder into one Notes folder.
#include "FolderConverter.h"

#include "AutomationWrappers.h"
#include "NotesStore.h"
#include "PstSession.h"

CFolderConverter::CFolderConverter() : m_pStore(nullptr), m_pSession(nullptr) {}

CFolderConverter::~CFolderConverter() {}

void CFolderConverter::ConvertFolder(CString path) {
  if (!m_pStore || !m_pSession) return;
  try {
    RdoFolderDispatch folder;
    if (path.IsEmpty()) {
      // The top folder has no path of its own; items kept in it would otherwise be lost.
      if (!m_pSession->m_store.m_lpDispatch) return;
      folder.AttachDispatch(m_pSession->m_store.GetRootFolder());
    } else {
      m_pSession->OpenFolderByPath(path, folder);
    }
    if (!folder.m_lpDispatch) {
      m_pStore->m_notConverted.AddFolder(path, L"The folder cannot be opened in the PST");
      return;
    }
    m_pStore->SaveFolderItems(L"Outlook\\" + path, &folder);
    // The folder's items are saved whatever this call says.
    try {
      folder.CallMethod6();
    } catch (CException* e) {
      e->Delete();
    }
  } catch (CException* e) {
    m_pStore->m_notConverted.AddFolder(path, L"The folder cannot be converted: " + DescribeException(e));
    e->Delete();
  } catch (...) {
    m_pStore->m_notConverted.AddFolder(path, L"The folder cannot be converted: an unexpected failure");
  }
}
