// The detail readers of the Notes store: one document's main items into the record of its kind.
#include "NotesItemReaders.h"
#include "NotesStore.h"

// Each reader reads the items in the order of its record, the attachment list last, each through its
// getter with a copy of the document handle; a failure a getter lets through leaves the reader.

CalendarDetails CNotesStore::ReadCalendar(LNDocument document, CStringArray* names, CStringArray* sizes) {
  CalendarDetails record;
  record.m_strSubject = GetTextItem(L"Subject", document);
  record.m_strFrom = GetTextItem(L"From", document);
  record.m_strSendTo = GetTextItem(L"SendTo", document);
  record.m_strLocation = GetTextItem(L"Location", document);
  record.m_strStartDateTime = GetDatetimeItem(L"STARTDATETIME", document);
  record.m_strEndDateTime = GetDatetimeItem(L"EndDateTime", document);
  record.m_strAttachments = GetAttachmentList(document, names, sizes);
  return record;
}

ToDoDetails CNotesStore::ReadToDo(LNDocument document, CStringArray* names, CStringArray* sizes) {
  ToDoDetails record;
  record.m_strSubject = GetTextItem(L"Subject", document);
  record.m_strFrom = GetTextItem(L"From", document);
  record.m_strSendTo = GetTextItem(L"SendTo", document);
  record.m_strStartDateTime = GetDatetimeItem(L"STARTDATETIME", document);
  record.m_strDueDate = GetDatetimeItem(L"DueDate", document);
  record.m_strAttachments = GetAttachmentList(document, names, sizes);
  return record;
}

JournalDetails CNotesStore::ReadJournal(LNDocument document, CStringArray* names, CStringArray* sizes) {
  JournalDetails record;
  record.m_strSubject = GetTextItem(L"Subject", document);
  record.m_strFrom = GetTextItem(L"From", document);
  record.m_strTimeCreated = GetDatetimeItem(L"TimeCreated", document);
  record.m_strDiaryDate = GetDatetimeItem(L"DiaryDate", document);
  record.m_strCategories = GetTextItem(L"Categories", document);
  record.m_strAttachments = GetAttachmentList(document, names, sizes);
  return record;
}

MailDetails CNotesStore::ReadMail(LNDocument document, CStringArray* names, CStringArray* sizes) {
  MailDetails record;
  record.m_strSubject = GetTextItem(L"Subject", document);
  record.m_strFrom = GetTextItem(L"From", document);
  record.m_strSendTo = GetTextItem(L"SendTo", document);
  record.m_strDateSent = GetDateSentText(document);
  record.m_strAttachments = GetAttachmentList(document, names, sizes);
  return record;
}

ContactDetails CNotesStore::ReadContact(LNDocument document, CStringArray* names, CStringArray* sizes) {
  ContactDetails record;
  const ContactField* fields = ContactFields();
  for (int i = 0; i < CONTACT_FIELD_COUNT; i++) {
    if (fields[i].item[0] != '\0') record.*fields[i].member = GetTextItem(CString(fields[i].item), document);
  }
  record.m_strAttachments = GetAttachmentList(document, names, sizes);
  return record;
}
