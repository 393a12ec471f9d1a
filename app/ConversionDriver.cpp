// The conversion driver of the main frame: opens the PST as a fresh session, opens or creates the
// target NSF, lets the user tick folders, and converts each ticked folder, reporting into the saving
// page's windows through the sinks it is given.
#include "MainFrame.h"

#include <utility>

#include "OutlookFoldersDlg.h"
#include "WorkerDialog.h"

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
  const CString strText = DescribeException(e);
  e->Delete();
  return strText;
}

CString DescribeNotesStatus(LNSTATUS status) {
  char szText[512] = "";
  LNGetErrorMessageText(status, szText, sizeof szText, 0);
  return szText[0] != '\0' ? CString(szText) : CString(L"the folder could not be converted");
}

// "1,234 documents this run saved into it".
CString SavedDocumentsText(long nSaved) {
  return CountedNoun(nSaved, L"document", L"documents") + L" this run saved into it";
}

// " The 4 documents it held before are lost with it." ("" when it held nothing or that is not known).
CString EarlierLostText(long nEarlier) {
  if (nEarlier <= 0) return CString();
  return L" The " + CountedNoun(nEarlier, L"document", L"documents") + L" it held before " +
         (nEarlier == 1 ? L"is" : L"are") + L" lost with it.";
}

// What went with a target that another program removed, replaced or damaged, counted: this run's
// documents, and the file's earlier ones apart.
CString LostTargetText(const CNotesStore::TargetClosing& closing) {
  const LPCWSTR how = closing.loss == CNotesStore::TargetClosing::REMOVED    ? L"removed"
                      : closing.loss == CNotesStore::TargetClosing::REPLACED ? L"replaced"
                                                                             : L"damaged";
  if (!closing.bWritten) {
    CString strText = L"Nothing had been written into the NSF file " + closing.strFile +
                      L" when another program " + how + L" it.";
    return strText + EarlierLostText(closing.nEarlier);
  }
  CString strText = L"Another program " + CString(how) + L" the NSF file " + closing.strFile +
                    L" while it was being written";
  if (closing.nSaved > 0) {
    strText += L": the " + SavedDocumentsText(closing.nSaved) + (closing.nSaved == 1 ? L" is" : L" are") +
               L" lost with it";
    if (closing.nEarlier > 0)
      strText += L", and so are the " + GroupedNumber(closing.nEarlier) + L" it held before";
    strText += L".";
  } else {
    strText += L", before any document of this run was saved into it." + EarlierLostText(closing.nEarlier);
  }
  return strText + L" Convert the PST file again.";
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

void CMainFrame::NoteFolderNotConverted(const CString& strPath, const CString& strReason, long nItems) {
  NotConvertedEntry entry;
  entry.kind = NotConvertedEntry::FOLDER;
  entry.folder = strPath;
  entry.items = nItems;
  entry.reason = strReason;
  NoteNotConverted(entry);
}

void CMainFrame::NoteStoreLosses(INT_PTR nFirst) {
  const CNotConvertedList& recorded = m_notesStore.m_notConverted;
  for (INT_PTR n = nFirst; n < recorded.GetCount(); ++n) NoteNotConverted(recorded.GetAt(n));
}

void CMainFrame::NoteNotConverted(const NotConvertedEntry& entry) {
  m_notConverted.Add(entry);
  // A folder's and a run's reasons say how many items they stand for.
  if (entry.kind == NotConvertedEntry::FOLDER) {
    m_arrNotConverted.Add(entry.folder + L"\t\t" + FolderReasonWithItems(entry));
    return;
  }
  if (entry.kind == NotConvertedEntry::ITEMS) {
    m_arrNotConverted.Add(entry.folder + L"\t\t" + entry.reason);
    return;
  }
  CString strWhat;
  strWhat.Format(L"item %ld", entry.item);
  CString strReason = entry.reason;
  if (entry.kind == NotConvertedEntry::ATTACHMENT) {
    strReason = L"attachment \"" + entry.attachment + L"\": " + strReason;
  } else if (entry.kind == NotConvertedEntry::MEMBER) {
    CString strMember = L"list members: ";
    if (entry.member > 0) strMember.Format(L"list member %ld: ", entry.member);
    strReason = strMember + strReason;
  }
  m_arrNotConverted.Add(entry.folder + L"\t" + strWhat + L"\t" + entry.subject + L"\t" + strReason);
}

int CMainFrame::ConvertPstToNsf(HWND hwndParent, IProgressSink* pFolderBar, IProgressSink* pItemBar,
                                IProgressSink* pStatus) {
  m_bStop = 0;
  m_notesStore.m_bStop = 0;
  m_notesStore.m_bStoppedEarly = FALSE;
  m_bFolderLoopStopped = FALSE;
  m_nStepsDone = 0;
  {
    std::lock_guard<std::mutex> lock(m_sessionLock);
    if (m_pPstSession != nullptr) m_pPstSession->m_bStop = 0;
  }
  m_arrNotConverted.RemoveAll();
  m_notConverted.RemoveAll();
  SetPos(pFolderBar, 0);
  SetPos(pItemBar, 0);

  SetStatus(pStatus, STATUS_OPENING_PST);
  if (!OpenPst(m_strSourcePath, hwndParent)) {
    SetStatus(pStatus, STATUS_PST_FAILED);
    return CONVERSION_PST_FAILED;
  }

  m_nStepsDone = 1;

  SetStatus(pStatus, STATUS_OPENING_NSF);
  CItemProgressScope itemProgress(m_notesStore, pItemBar);
  m_notesStore.m_bPlainTextBody = m_bTextFormat;
  if (!m_notesStore.CreateOrOpenDatabase(m_strTargetNsfPath)) {
    // Cancelling the template choice cancels the run, as a cancel of the folder choice does.
    if (m_notesStore.IsTemplateChoiceCancelled()) {
      SetStatus(pStatus, STATUS_USER_ABORTED);
      return CONVERSION_CANCELLED;
    }
    CString strError = m_notesStore.GetErrorText();
    // The user is always told why the NSF did not open.
    if (strError.IsEmpty()) strError = L"Unable to open or create the NSF file " + m_strTargetNsfPath;
    SetStatus(pStatus, strError);
    return CONVERSION_NSF_FAILED;
  }
  m_nStepsDone = 2;

  SetStatus(pStatus, STATUS_GETTING_FOLDERS);
  CStringArray arrPaths;
  if (!m_pPstSession->GetFolderList(&arrPaths)) {
    // Each folder that could not be listed (with its sub-folders) is named with its reason.
    const CNotConvertedList& notListed = m_pPstSession->m_notListed;
    for (INT_PTR i = 0; i < notListed.GetCount(); ++i) NoteNotConverted(notListed.GetAt(i));
    if (notListed.GetCount() == 0)
      NoteFolderNotConverted(CString(), L"the folder list of the PST file could not be read to its end",
                             NotConvertedEntry::UNCOUNTED);
  }

  // Shown by the frame's thread, owned by the frame and modal to it: the worker waits for the choice,
  // and no click on the frame can put the dialog behind it. It opens once no question about the
  // workers is open, and not after a stop answered Yes meanwhile: then there is nothing to choose.
  CStringArray arrSelected;
  const INT_PTR nChoice = CWorkerDialog::Ask(
      hwndParent, &m_notesStore.m_pause,
      [&arrPaths, &arrSelected](CWnd* pOwner) {
        COutlookFoldersDlg dlgFolders(pOwner);
        dlgFolders.m_arrFolders.Copy(arrPaths);
        const INT_PTR nResult = dlgFolders.DoModal();
        arrSelected.Copy(dlgFolders.m_arrSelected);
        return nResult;
      },
      [this] { return m_bStop == 0; });
  if (nChoice != IDOK) {
    SetStatus(pStatus, STATUS_USER_ABORTED);
    return CONVERSION_CANCELLED;
  }
  arrPaths.Copy(arrSelected);

  int nNumerator = 100;
  for (INT_PTR i = 0; i <= arrPaths.GetSize() - 1; ++i, nNumerator += 100) {
    // An open stop question holds the run here too, between two folders.
    m_notesStore.m_pause.Pass();
    if (m_bStop) {
      m_bFolderLoopStopped = TRUE;
      // The folders not begun are left behind, each counted with its items: by the counts the PST
      // states, so that the run ends soon after the Yes however many folders are left.
      for (INT_PTR j = i; j < arrPaths.GetSize(); ++j) {
        const long nItems = m_pPstSession->CountStatedItemsAtPath(arrPaths[j]);
        NoteFolderNotConverted(arrPaths[j], FolderLeftText(nItems, STOPPED_BY_USER_TEXT), nItems);
      }
      break;
    }
    const CString strPath = arrPaths[i];
    const CString strSaving = STATUS_SAVING_FOLDER + strPath;
    SetPos(pFolderBar, static_cast<int>(nNumerator / arrPaths.GetSize()));
    if (pFolderBar != nullptr) pFolderBar->SetText(strSaving);
    SetStatus(pStatus, strSaving);

    // One folder's failure ends that folder only; the next one is converted.
    CNotConvertedList& recorded = m_notesStore.m_notConverted;
    const INT_PTR nRecordedBefore = recorded.GetCount();
    try {
      if (!m_notesStore.CreateFolder(L"Outlook\\" + strPath)) {
        // The store names the folder with its reason; say it here only when it did not. Its items are
        // counted in the PST, which the store does not read.
        const long nItems = m_pPstSession->CountItemsAtPath(strPath);
        if (recorded.GetCount() == nRecordedBefore)
          NoteFolderNotConverted(
              strPath, L"the Notes folder could not be created: " + m_notesStore.GetErrorText(), nItems);
        else if (recorded.GetAt(nRecordedBefore).kind == NotConvertedEntry::FOLDER)
          recorded.SetFolderItems(nRecordedBefore, nItems);
      } else {
        m_folderConverter.m_pStore = &m_notesStore;
        m_folderConverter.m_pSession = m_pPstSession;
        m_folderConverter.ConvertFolder(strPath);
      }
    } catch (CException* e) {
      NoteFolderNotConverted(strPath, DescribeFailure(e), NotConvertedEntry::UNCOUNTED);
    } catch (LNSTATUS status) {
      NoteFolderNotConverted(strPath, DescribeNotesStatus(status), NotConvertedEntry::UNCOUNTED);
    } catch (...) {
      NoteFolderNotConverted(strPath, L"the folder could not be converted", NotConvertedEntry::UNCOUNTED);
    }
    NoteStoreLosses(nRecordedBefore);

    // A target that can no longer be written, or a PST that can no longer be read, takes every later
    // folder with it: stop here, count what they hold and say why.
    if (m_notesStore.IsTargetFailed() || m_notesStore.IsSourceFailed()) {
      for (INT_PTR j = i + 1; j < arrPaths.GetSize(); ++j) {
        const long nItems = m_pPstSession->CountItemsAtPath(arrPaths[j]);
        NoteFolderNotConverted(
            arrPaths[j], FolderLeftText(nItems, L"the conversion stopped at the failure above"), nItems);
      }
      if (m_notesStore.IsTargetFailed()) {
        SetStatus(pStatus, m_notesStore.GetErrorText());
        return CONVERSION_NSF_FAILED;
      }
      SetStatus(pStatus, L"The conversion did not complete. " + m_notesStore.GetSourceFailure());
      return CONVERSION_PST_UNREADABLE;
    }
  }
  // A loop that the stop flag ended is not done; the page knows from its stop whether it cut anything.
  m_nStepsDone = 3;
  return CONVERSION_DONE;
}

CString CMainFrame::CloseTarget(BOOL bCompleted) {
  const CNotesStore::TargetClosing closing = m_notesStore.CloseTarget(!bCompleted);
  if (closing.bRemoved)
    return L"Nothing is left behind: the new NSF file " + closing.strFile +
           L" held no document and was removed.";
  if (m_notesStore.IsTemplateChoiceCancelled())
    return L"Nothing is left behind: the new NSF file " + closing.strFile + L" was not created.";
  if (closing.bLost) return LostTargetText(closing);
  CString strLines;
  auto addLine = [&strLines](const CString& strLine) {
    strLines += (strLines.IsEmpty() ? L"" : L"\r\n") + strLine;
  };
  if (!closing.strNotRemoved.IsEmpty())
    addLine(L"The new NSF file " + closing.strFile + L" holds no document but could not be removed: " +
            closing.strNotRemoved);
  if (!closing.strJournal.IsEmpty()) {
    // Whoever moves or copies the NSF file alone loses what is only in the side file: at most what this
    // run wrote, as what the file held before is in it.
    const CString strHolds = closing.nSaved > 0 ? L"holds the " + SavedDocumentsText(closing.nSaved)
                                                : CString(L"holds what this run wrote");
    CString strWhy = L"the side file could not be folded into it";
    if (!closing.strJournalReason.IsEmpty()) strWhy += L" (" + closing.strJournalReason + L")";
    addLine(L"The NSF file " + closing.strFile + L" " + strHolds + L" only together with its side file " +
            closing.strJournal + L": " + strWhy +
            L". Keep the two files together, moving or copying both; the side file is folded in when the NSF "
            L"file is next opened with room on its disk.");
  } else if (m_notesStore.IsTargetFailed() && closing.nDocuments >= 0) {
    // What the file held before is told apart, when there was any.
    const CString strEarlier = closing.nEarlier > 0
                                   ? L" and the " + GroupedNumber(closing.nEarlier) + L" it held before"
                                   : CString();
    addLine(L"It holds the " + SavedDocumentsText(closing.nSaved) + strEarlier + L".");
  }
  return strLines;
}
