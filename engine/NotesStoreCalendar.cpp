// The appointment and task savers: calendar entries with their dates.
#include "AutomationWrappers.h"
#include "ItemBody.h"
#include "NotesItemWriters.h"
#include "NotesStore.h"

namespace {

void ThrowIfFailed(LNSTATUS status) {
  if (status != LNNOERROR) throw status;
}

}  // namespace

int CNotesStore::SaveAppointment(RdoAppointmentDispatch* item) {
  LNCalendarEntry note;
  ThrowIfFailed(m_db.CreateDocument(&note));
  ThrowIfFailed(note.Open(0));
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
  ThrowIfFailed(range.SetBegin(OleDateToLNDatetime(begin)));
  ThrowIfFailed(range.SetEnd(OleDateToLNDatetime(end)));
  ThrowIfFailed(note.SetDatetimeRange(range));

  ThrowIfFailed(note.Save(0, TRUE));
  ThrowIfFailed(m_folder.FolderAddDocument(note));
  ThrowIfFailed(note.Close());
  return 1;
}

int CNotesStore::SaveTask(RdoTaskDispatch* item) {
  LNCalendarEntry note;
  ThrowIfFailed(m_db.CreateDocument(&note));
  ThrowIfFailed(note.Open(0));
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

  ThrowIfFailed(note.Save(0, TRUE));
  ThrowIfFailed(m_folder.FolderAddDocument(note));
  ThrowIfFailed(note.Close());
  return 1;
}
