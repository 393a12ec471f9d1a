// The item loop of the Notes store: walks one PST folder's items, shows the progress of each, and hands
// every item to the saver of its kind, which files it into the current Notes folder.
#include "NotesStore.h"

#include <set>

#include "AutomationWrappers.h"
#include "NotesCalls.h"
#include "NotesItemWriters.h"
#include "PstSession.h"

namespace {

enum ItemKind {
  KIND_OTHER = -1,
  KIND_APPOINTMENT = 0,
  KIND_TASK = 1,
  KIND_MAIL = 2,
  KIND_JOURNAL = 3,
  KIND_CONTACT = 4,
  KIND_DISTLIST = 5
};

// Runs call; a failure of any kind becomes its description (empty: no failure), a Notes status also
// goes to *status, and a server's failure to read the PST file at all sets *unreadable. The wrappers
// throw the framework's exceptions, the Notes library its statuses.
template <class Call>
CString Guarded(Call call, LNSTATUS* status = nullptr, BOOL* unreadable = nullptr) {
  try {
    call();
    return CString();
  } catch (CException* e) {
    CString text = DescribeException(e);
    if (unreadable && IsPstUnreadable(e)) *unreadable = TRUE;
    e->Delete();
    return text;
  } catch (LNSTATUS thrown) {
    if (status) *status = thrown;
    return NotesMessage(thrown);
  } catch (...) {
    return L"unexpected failure";
  }
}

// The head of the reason of a run of items left behind: "Items 1,537 to 5,000 were not converted: ".
CString ItemsLeftText(long first, long last) {
  return L"Items " + GroupedNumber(first) + L" to " + GroupedNumber(last) + L" were not converted: ";
}

// A fetch that yields no item fails like one that throws, so that no empty document is saved for it.
LPDISPATCH FetchItem(RdoItemsDispatch& items, long n) {
  LPDISPATCH item = items.Item(COleVariant(long(n), VT_I4));
  if (!item) AfxThrowOleDispatchException(0, L"the folder returned no item");
  return item;
}

// Kinds other than mail get a fresh fetch of the item, wrapped in the kind's wrapper, released when
// the saver returns.
void SaveItemOfKind(CNotesStore& store, int kind, RdoItemsDispatch& items, long n, RdoMailDispatch& item) {
  switch (kind) {
    case KIND_APPOINTMENT: {
      RdoAppointmentDispatch fresh(FetchItem(items, n));
      store.SaveAppointment(&fresh);
      store.NoteRecurrence(&fresh);
      return;
    }
    case KIND_TASK: {
      RdoTaskDispatch fresh(FetchItem(items, n));
      store.SaveTask(&fresh);
      return;
    }
    case KIND_JOURNAL: {
      RdoJournalDispatch fresh(FetchItem(items, n));
      store.SaveJournal(&fresh);
      return;
    }
    case KIND_CONTACT: {
      RdoContactDispatch fresh(FetchItem(items, n));
      store.SaveContact(&fresh);
      store.NoteContactAttachments(&fresh);
      return;
    }
    case KIND_DISTLIST: {
      RdoDistListDispatch fresh(FetchItem(items, n));
      store.SaveDistList(&fresh);
      return;
    }
    default:
      store.SaveMail(&item);
      return;
  }
}

}  // namespace

int GetItemKind(CString messageClass) {
  if (messageClass == L"IPM.Contact") return KIND_CONTACT;
  if (messageClass == L"IPM.Task") return KIND_TASK;
  if (messageClass == L"IPM.Note") return KIND_MAIL;
  if (messageClass == L"IPM.Post") return KIND_MAIL;
  if (messageClass == L"IPM.Appointment") return KIND_APPOINTMENT;
  if (messageClass == L"IPM.Activity") return KIND_JOURNAL;
  if (messageClass == L"IPM.DistList") return KIND_DISTLIST;
  return KIND_OTHER;
}

int CNotesStore::SaveFolderItems(CString path, RdoFolderDispatch* folder, long itemsBefore) {
  const CString name = NotesFolderName(path);
  m_strLoopFolder = PstFolderOf(path);
  m_unflushed.clear();
  auto folderItems = [folder] {
    return folder != nullptr ? CountFolderItems(*folder) : NotConvertedEntry::UNCOUNTED;
  };
  if (m_bTargetFailed || m_bSourceFailed) {
    m_notConverted.AddFolder(m_strLoopFolder, StoppedReason(), folderItems());
    return 0;
  }
  // A folder that cannot be looked up or opened ends this folder only; the conversion goes on.
  CString folderFailure = Guarded(
      [&] {
        m_status = m_db.GetViewFolder(CStringToLNString(name), &m_folder);
        if (m_status == LNNOERROR) m_status = m_folder.Open(0);
        if (m_status != LNNOERROR) throw m_status;
      },
      &m_status);
  if (!folderFailure.IsEmpty()) {
    if (IsTargetFailure(m_status)) return StopOnTargetFailure(m_status);
    m_notConverted.AddFolder(
        m_strLoopFolder, L"The Notes folder " + name + L" cannot be opened: " + folderFailure, folderItems());
    return 0;
  }
  if (!folder || !folder->m_lpDispatch) return 1;

  RdoItemsDispatch items;
  long count = 0;
  BOOL unreadable = FALSE;
  const CString itemsFailure = Guarded(
      [&] {
        items.AttachDispatch(folder->GetItems());
        if (items.m_lpDispatch) count = items.GetCount();
      },
      nullptr, &unreadable);
  if (!itemsFailure.IsEmpty()) {
    // The PST still says how many items the folder holds, though they cannot be listed.
    const long stated = folderItems();
    m_notConverted.AddFolder(m_strLoopFolder,
                             FolderItemsText(stated) + L": the list of items cannot be read: " + itemsFailure,
                             stated);
    if (!unreadable) return 1;
    NoteSourceFailure(itemsFailure);
    return 0;
  }
  if (!items.m_lpDispatch) return 1;

  for (long n = 1; n <= count; ++n) {
    // A stop question that is open holds the loop here, between two items: what the user last saw is
    // what is saved, and a Yes ends the loop before the next item.
    if (!ContinueLoop()) {
      // The rest of the folder is left behind, and counted as such.
      const CString why = FlushFolder() ? CString(STOPPED_BY_USER_TEXT) : StoppedReason();
      m_notConverted.AddItems(m_strLoopFolder, itemsBefore + n, count - n + 1,
                              ItemsLeftText(itemsBefore + n, itemsBefore + count) + why);
      return 0;
    }

    RdoMailDispatch item;
    BOOL itemUnreadable = FALSE;
    CString failure = Guarded([&] { item.AttachDispatch(FetchItem(items, n)); }, nullptr, &itemUnreadable);
    CString subject;
    if (failure.IsEmpty()) {
      // An unreadable subject leaves the text without it; the item is still saved.
      Guarded([&] { subject = item.GetSubject(); });
    }

    CString status;
    status.Format(L"Saving email %d of %d - ", static_cast<int>(n), static_cast<int>(count));
    status += subject;
    if (m_pItemProgress) {
      m_pItemProgress->SetText(status);
      m_pItemProgress->SetPos(static_cast<int>(static_cast<long long>(n) * 100 / count));
    }

    // The item's number in the record: its position among the items of every folder of the path.
    const long number = itemsBefore + n;
    m_nLoopItem = number;
    m_strLoopSubject = subject;
    m_lastFiledNote = 0;
    int kind = KIND_OTHER;
    LNSTATUS saveStatus = LNNOERROR;
    if (failure.IsEmpty())
      failure = Guarded([&] { kind = GetItemKind(item.GetMessageClass()); }, nullptr, &itemUnreadable);
    if (failure.IsEmpty())
      failure = Guarded([&] { SaveItemOfKind(*this, kind, items, n, item); }, &saveStatus, &itemUnreadable);
    if (failure.IsEmpty() && m_lastFiledNote == 0) failure = L"the saver filed no document";
    // The items after n are lost with the target or the source; the record says so in one line.
    auto notConvertedAfter = [&] {
      if (n < count) {
        m_notConverted.AddItems(m_strLoopFolder, number + 1, count - n,
                                ItemsLeftText(number + 1, itemsBefore + count) + StoppedReason());
      }
      return 0;
    };
    if (!failure.IsEmpty()) {
      m_notConverted.AddItem(m_strLoopFolder, number, subject, failure);
      if (IsTargetFailure(saveStatus)) {
        StopOnTargetFailure(saveStatus);
        return notConvertedAfter();
      }
      if (itemUnreadable) {
        // What was filed stays; nothing after this item can be read.
        NoteSourceFailure(failure);
        FlushFolder();
        return notConvertedAfter();
      }
    } else {
      m_unflushed.push_back({m_lastFiledNote, number, subject});
      // Documents a flush has made safe need no record: the list stays short however large the folder.
      if (m_unflushed.size() >= kUnflushedLimit && !FlushFolder()) return notConvertedAfter();
    }
  }
  m_nLoopItem = 0;
  return FlushFolder();
}

void CNotesStore::NoteContactAttachments(RdoContactDispatch* item) {
  // A Person document has no place for attachments; the record says which ones stayed behind.
  CompletesWithoutFailure([&] {
    RdoAttachmentsDispatch attachments(item->GetAttachments());
    if (!attachments.m_lpDispatch) return;
    const long count = attachments.GetCount();
    for (long i = 1; i <= count; ++i) {
      CString fileName;
      CompletesWithoutFailure([&] {
        RdoAttachmentDispatch attachment(attachments.Item(COleVariant(i, VT_I4)));
        fileName = attachment.GetFileName();
      });
      m_notConverted.AddContactAttachment(m_strLoopFolder, m_nLoopItem, m_strLoopSubject, fileName,
                                          L"Contacts are saved without their attachments");
    }
  });
}

void CNotesStore::NoteRecurrence(RdoAppointmentDispatch* item) {
  // A calendar entry holds one date range: a repeating appointment keeps its first occurrence only,
  // and the record says so.
  BOOL recurring = FALSE;
  const CString failure = Guarded([&] { recurring = item->GetIsRecurring(); });
  if (!failure.IsEmpty()) {
    m_notConverted.AddRecurrence(m_strLoopFolder, m_nLoopItem, m_strLoopSubject,
                                 L"Whether the appointment repeats cannot be read (" + failure +
                                     L"); if it does, only its first occurrence was converted");
  } else if (recurring) {
    m_notConverted.AddRecurrence(m_strLoopFolder, m_nLoopItem, m_strLoopSubject,
                                 L"Only the first occurrence was converted: the recurrence pattern was not "
                                 L"(changed occurrences are kept as attached messages)");
  }
}

int CNotesStore::FlushFolder() {
  m_nLoopItem = 0;
  const LNSTATUS status = StatusOf([this] { return m_db.Flush(); });
  if (status != LNNOERROR) return StopOnTargetFailure(status);
  m_nSavedDocuments += static_cast<long>(m_unflushed.size());
  m_unflushed.clear();
  // The documents are in the file now, if the file is still the target's.
  return CheckTargetFile() ? 1 : 0;
}

int CNotesStore::StopOnTargetFailure(LNSTATUS status) {
  m_nLoopItem = 0;
  m_bTargetFailed = TRUE;
  m_status = status;
  // A failed flush may have taken back documents that were filed before it: only the file says which
  // are still there. The flush is tried once more first, so that the file holds all it can.
  StatusOf([this] { return m_db.Flush(); });
  std::set<LNNOTEID> inFolder;
  CompletesWithoutFailure([&] {
    LNViewFolder folder;
    ThrowIfNotesError(m_db.GetViewFolder(m_folder.GetName(), &folder));
    ThrowIfNotesError(folder.Open(0));
    ClosedOnExit<LNViewFolder> closed(folder);
    for (LNINT i = 0; i < folder.GetEntryCount(); ++i) inFolder.insert(folder[i].GetNoteID());
  });
  SetErrorText(L"The conversion stopped: " + m_strTargetPath + L" cannot be written. " +
               NotesMessage(status));
  // Nothing of this program's makes an open database unreadable: another program wrote over it.
  if (IsDamage(status)) NoteTargetLost(TargetClosing::DAMAGED);
  std::set<long> notSaved;
  for (const FiledDocument& document : m_unflushed) {
    if (inFolder.count(document.noteId)) {
      ++m_nSavedDocuments;
      continue;
    }
    notSaved.insert(document.item);
    m_notConverted.AddItem(m_strLoopFolder, document.item, document.subject, L"Not saved: " + m_strError);
  }
  // An item that is not saved lacks no part of it: it is counted whole.
  m_notConverted.RemovePartsOf(m_strLoopFolder, notSaved);
  m_unflushed.clear();
  return 0;
}
