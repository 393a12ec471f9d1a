// The detail records of the NSF browser's preview: the main items of one calendar entry, to-do,
// journal entry or mail, read by the Notes store's detail readers, and the RTF detail pages built
// from them. The contact's record is ContactDetails.
#pragma once

#include <afx.h>

// Each record is a plain value of texts in the order of its fields; that order is what the readers
// fill and the page builders show. A field whose item the document lacks is "".
//
// ToRtf builds the record's detail page: a heading in the kind's colour and one bulleted row per field
// ("..": an empty field). Every value is escaped for RTF (backslash, braces, characters above 0x7F as
// \uN?, line breaks as \line). body, when given, is the document's plain body text, shown escaped
// below the rows inside the page.

class CalendarDetails {
 public:
  CString m_strSubject;
  CString m_strFrom;
  CString m_strSendTo;
  CString m_strLocation;
  CString m_strStartDateTime;
  CString m_strEndDateTime;
  CString m_strAttachments;

  CString ToRtf(const CString& body = CString()) const;
  // One row of a detail page: the caption, then the value escaped (".." when empty), then CR LF twice.
  // Every record's page builds its rows with it.
  static CString RtfRow(CString caption, CString value);
};

class ToDoDetails {
 public:
  CString m_strSubject;
  CString m_strFrom;
  CString m_strSendTo;
  CString m_strStartDateTime;
  CString m_strDueDate;
  CString m_strAttachments;

  CString ToRtf(const CString& body = CString()) const;
};

// The attachments come before the categories here.
class JournalDetails {
 public:
  CString m_strSubject;
  CString m_strFrom;
  CString m_strTimeCreated;
  CString m_strDiaryDate;
  CString m_strAttachments;
  CString m_strCategories;

  CString ToRtf(const CString& body = CString()) const;
};

// A mail has no detail page: its preview is its body.
class MailDetails {
 public:
  CString m_strSubject;
  CString m_strFrom;
  CString m_strSendTo;
  CString m_strDateSent;
  CString m_strAttachments;
};
