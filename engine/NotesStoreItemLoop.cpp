// The item loop of the Notes store: walks one PST folder's items, shows the progress of each, and hands
// every item to the saver of its kind, which files it into the current Notes folder.
#include "NotesStore.h"

#include "AutomationWrappers.h"

namespace {

enum ItemKind {
  KIND_OTHER = -1,
  KIND_APPOINTMENT = 0,
  KIND_TASK = 1,
  KIND_MAIL = 2,
  KIND_JOURNAL = 3,
  KIND_CONTACT = 4
};

CString DescribeException(CException* e) {
  WCHAR text[1024] = L"";
  if (!e->GetErrorMessage(text, _countof(text)) || !text[0]) return L"automation call failed";
  return text;
}

// Runs call; a failure of any kind becomes its description (empty: no failure). The wrappers throw
// the framework's exceptions, the Notes library its statuses.
template <class Call>
CString Guarded(Call call) {
  try {
    call();
    return CString();
  } catch (CException* e) {
    CString text = DescribeException(e);
    e->Delete();
    return text;
  } catch (LNSTATUS status) {
    CString text;
    text.Format(L"Notes status 0x%04X", static_cast<unsigned>(status));
    return text;
  } catch (...) {
    return L"unexpected failure";
  }
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
  return KIND_OTHER;
}

int CNotesStore::SaveFolderItems(CString path, RdoFolderDispatch* folder) {
  const CString name = NotesFolderName(path);
  // A folder that cannot be looked up or opened ends this folder only; the conversion goes on.
  try {
    m_status = m_db.GetViewFolder(CStringToLNString(name), &m_folder);
    if (m_status != LNNOERROR) return 0;
    m_status = m_folder.Open(0);
    if (m_status != LNNOERROR) return 0;
  } catch (LNSTATUS status) {
    m_status = status;
    return 0;
  } catch (CException* e) {
    e->Delete();
    return 0;
  } catch (...) {
    return 0;
  }
  if (!folder || !folder->m_lpDispatch) return 1;

  RdoItemsDispatch items;
  long count = 0;
  const CString itemsFailure = Guarded([&] {
    items.AttachDispatch(folder->GetItems());
    if (items.m_lpDispatch) count = items.GetCount();
  });
  if (!itemsFailure.IsEmpty()) {
    if (m_pSkippedItems) m_pSkippedItems->Add(L"0\t\titems of the folder cannot be read: " + itemsFailure);
    return 1;
  }
  if (!items.m_lpDispatch) return 1;

  for (long n = 1; n <= count; ++n) {
    if (m_bStop) return 0;

    RdoMailDispatch item;
    CString failure = Guarded([&] { item.AttachDispatch(FetchItem(items, n)); });
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

    int kind = KIND_OTHER;
    if (failure.IsEmpty()) failure = Guarded([&] { kind = GetItemKind(item.GetMessageClass()); });
    if (failure.IsEmpty()) failure = Guarded([&] { SaveItemOfKind(*this, kind, items, n, item); });
    if (!failure.IsEmpty() && m_pSkippedItems) {
      CString line;
      line.Format(L"%d\t", static_cast<int>(n));
      m_pSkippedItems->Add(line + subject + L"\t" + failure);
    }
  }
  return 1;
}
