// The mail and journal savers, and the filing every saver ends with. The mail saver is also the
// catch-all for message classes that no other saver takes.
#include "AutomationWrappers.h"
#include "ItemBody.h"
#include "NotesCalls.h"
#include "NotesItemWriters.h"
#include "NotesStore.h"

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

  const COleDateTime date57(item->GetDateProperty57());
  const COleDateTime date41(item->GetDateProperty41());
  const COleDateTime date18(item->GetDateProperty18());

  CopyAttachments(item->GetAttachments(), note);

  if (!AddPostedDate(date57, note) && !AddPostedDate(date41, note)) AddPostedDate(date18, note);

  WriteMailBody(item, m_bPlainTextBody, note);

  try {
    ThrowIfNotesError(note.Save(0));
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
  }
  FileAndClose(note);
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
