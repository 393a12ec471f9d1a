// The mail and journal savers, the distribution list saved as a memo, and the filing every saver ends
// with. The mail saver is also the catch-all for message classes that no other saver takes.
#include "AutomationWrappers.h"
#include "ItemBody.h"
#include "NotesCalls.h"
#include "NotesItemWriters.h"
#include "NotesStore.h"

#include <vector>

namespace {

// The memo's dates are read before its attachments are copied; "PostedDate" is the first of them in the
// years the writer accepts, and none when none is.
void CopyAttachmentsAndPostedDate(CNotesStore& store, RdoMailDispatch* item, LNMailMessage& note) {
  const COleDateTime date57(item->GetDateProperty57());
  const COleDateTime date41(item->GetDateProperty41());
  const COleDateTime date18(item->GetDateProperty18());

  store.CopyAttachments(item->GetAttachments(), note);

  if (!AddPostedDate(date57, note) && !AddPostedDate(date41, note)) AddPostedDate(date18, note);
}

}  // namespace

int CNotesStore::SaveMail(RdoMailDispatch* item) {
  LNMailMessage note;
  try {
    CreateOpenDocument(m_db, &note);
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
    return 0;
  }
  UndoOnFailure removeUnfiled([&] { RemoveUnfiledNote(note); });

  AddTextItem(L"Form", L"Memo", note);
  AddTextItem(L"SendTo", item->GetTo(), note);
  AddTextItem(L"Subject", item->GetSubject(), note);
  AddTextItem(L"From", item->GetSenderName(), note);
  AddTextItem(L"EnterSentTo", item->GetTo(), note);
  // The misspelled names are what converted memos have always carried; the correct ones beside them
  // are what a memo form shows, so the Bcc stays visible.
  AddTextItem(L"BliendCopyTo", item->GetBcc(), note);
  AddTextItem(L"BlindCopyTo", item->GetBcc(), note);
  AddTextItem(L"EnterBliendCopyTo", item->GetBcc(), note);
  AddTextItem(L"EnterBlindCopyTo", item->GetBcc(), note);
  AddTextItem(L"CopyTo", item->GetCc(), note);
  AddTextItem(L"EnterCopyTo", item->GetCc(), note);

  CopyAttachmentsAndPostedDate(*this, item, note);

  WriteMailBody(item, m_bPlainTextBody, note);

  try {
    ThrowIfNotesError(note.Save(0));
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
  }
  FileAndClose(note);
  return 1;
}

CString DistListMemberLine(const CString& name, const CString& address) {
  if (name.IsEmpty() || name == address) return address;
  if (address.IsEmpty()) return name;
  return name + L" <" + address + L">";
}

int CNotesStore::SaveDistList(RdoDistListDispatch* item) {
  // A Notes memo has no place for a list's members but its body, where a reader finds them, one line
  // each. A member that cannot be read stays out of it and is recorded once the memo is filed.
  struct MemberLoss {
    long member;  // 0: all of them
    CString reason;
  };
  std::vector<MemberLoss> losses;
  std::vector<long> written;
  CString lines;
  long count = 0;
  try {
    count = item->GetMemberCount();
  } catch (CException* e) {
    losses.push_back({0, L"The members of the list cannot be read: " + DescribeException(e)});
    e->Delete();
  }
  for (long i = 1; i <= count; ++i) {
    CString line, reason = L"The member has neither a name nor an address in the PST";
    try {
      RdoAddressEntryDispatch member(item->GetMember(i));
      line = DistListMemberLine(member.GetName(), member.GetAddress());
    } catch (CException* e) {
      reason = DescribeException(e);
      e->Delete();
    }
    if (line.IsEmpty()) {
      losses.push_back({i, reason});
      continue;
    }
    lines += (lines.IsEmpty() ? L"" : L"\r\n") + line;
    written.push_back(i);
  }

  LNMailMessage note;
  CreateOpenDocument(m_db, &note);
  UndoOnFailure removeUnfiled([&] { RemoveUnfiledNote(note); });
  AddTextItem(L"Form", L"Memo", note);
  AddTextItem(L"Subject", item->GetSubject(), note);
  AddTextItem(L"From", item->GetSenderName(), note);

  CopyAttachmentsAndPostedDate(*this, item, note);

  CString body = lines;
  const CString notes = item->GetBody();
  if (!notes.IsEmpty()) body += (body.IsEmpty() ? L"" : L"\r\n\r\n") + notes;
  if (!AddTextItem(L"Body", body, note))
    for (long member : written)
      losses.push_back({member, L"The library refused the memo's body that lists it"});

  ThrowIfNotesError(note.Save(0));
  FileAndClose(note);
  for (const MemberLoss& loss : losses)
    m_notConverted.AddMember(m_strLoopFolder, m_nLoopItem, m_strLoopSubject, loss.member, loss.reason);
  return 1;
}

int CNotesStore::SaveJournal(RdoJournalDispatch* item) {
  LNCalendarEntry note;
  CreateOpenDocument(m_db, &note);
  UndoOnFailure removeUnfiled([&] { RemoveUnfiledNote(note); });
  CopyAttachments(item->GetAttachments(), note);

  AddTextItem(L"Form", L"JournalEntry", note);
  AddTextItem(L"Subject", item->GetSubject(), note);
  AddTextItem(L"From", item->GetFrom(), note);
  AddTextItem(L"Categories", item->GetCategories(), note);

  // Dispatch id 18 is the mail wrapper's member; the journal item answers it the same way.
  RdoMailDispatch asMail(item->m_lpDispatch, FALSE);
  const COleDateTime created(asMail.GetDateProperty18());
  const COleDateTime diary(item->GetDateProperty6004000d());
  AddDatetimeItem(L"TimeCreated", OleDateToLNDatetime(created), note);
  AddDatetimeItem(L"DiaryDate", OleDateToLNDatetime(diary), note);

  WriteJournalBody(item, m_bPlainTextBody, note);

  ThrowIfNotesError(note.Save(0, TRUE));
  FileAndClose(note);
  return 1;
}

void CNotesStore::FileAndClose(LNDocument& note) {
  ThrowIfNotesError(m_folder.FolderAddDocument(note));
  ThrowIfNotesError(note.Close());
  m_lastFiledNote = note.GetNoteID();
}

void CNotesStore::RemoveUnfiledNote(LNDocument& note) {
  if (note.GetNoteID() == 0) return;
  StatusOf([&] { return m_db.DeleteDocument(&note); });
}
