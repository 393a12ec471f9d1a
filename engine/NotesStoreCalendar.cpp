// The appointment and task savers: calendar entries with their dates.
#include "AutomationWrappers.h"
#include "ItemBody.h"
#include "NotesCalls.h"
#include "NotesItemWriters.h"
#include "NotesStore.h"

int CNotesStore::SaveAppointment(RdoAppointmentDispatch* item) {
  LNCalendarEntry note;
  CreateOpenDocument(m_db, &note);
  UndoOnFailure removeUnfiled([&] { RemoveUnfiledNote(note); });
  CopyAttachments(item->GetAttachments(), note);
  WriteAppointmentBody(item, m_bPlainTextBody, note);

  AddTextItem(L"$IconSwitcher", L"Meeting", note);
  AddTextItem(L"AppointmentType", L"3", note);
  AddTextItem(L"Form", L"Appointment", note);
  AddTextItem(L"Subject", item->GetSubject(), note);
  AddTextItem(L"SendTo", item->GetSendTo(), note);
  AddTextItem(L"From", item->GetFrom(), note);
  AddTextItem(L"From", item->GetStringProperty52(), note);
  AddTextItem(L"Location", item->GetLocation(), note);

  const COleDateTime begin(item->GetDateProperty60040042());
  const COleDateTime end(item->GetDateProperty6004000a());
  LNDatetimeRange range;
  ThrowIfNotesError(range.SetBegin(OleDateToLNDatetime(begin)));
  ThrowIfNotesError(range.SetEnd(OleDateToLNDatetime(end)));
  ThrowIfNotesError(note.SetDatetimeRange(range));

  ThrowIfNotesError(note.Save(0, TRUE));
  FileAndClose(note);
  return 1;
}

int CNotesStore::SaveTask(RdoTaskDispatch* item) {
  LNCalendarEntry note;
  CreateOpenDocument(m_db, &note);
  UndoOnFailure removeUnfiled([&] { RemoveUnfiledNote(note); });
  CopyAttachments(item->GetAttachments(), note);
  WriteTaskBody(item, m_bPlainTextBody, note);

  AddTextItem(L"Form", L"Task", note);
  AddTextItem(L"Subject", item->GetSubject(), note);
  AddTextItem(L"From", item->GetFrom(), note);
  AddTextItem(L"SendTo", item->GetSendTo(), note);

  const COleDateTime start(item->GetDateProperty60040020());
  const COleDateTime due(item->GetDateProperty60040011());
  AddDatetimeItem(L"STARTDATETIME", OleDateToLNDatetime(start), note);
  AddDatetimeItem(L"DueDate", OleDateToLNDatetime(due), note);

  ThrowIfNotesError(note.Save(0, TRUE));
  FileAndClose(note);
  return 1;
}
