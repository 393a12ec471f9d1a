// The RTF detail pages of the calendar, to-do and journal records, and the row builder every page
// shares.
#include "ItemDetails.h"

#include "RtfPage.h"

namespace {

// A bullet (0xB7) and a tab, the caption in colour 1 and bold, the value in colour 2 and not bold.
const wchar_t kRowTemplate[] =
    L"\\cf1\\fs18{\\pntext\\f2\\'B7\\tab}CAPTION \\cf2\\b0 CELL TEXT\\b\\fs18\\par\r\n";

}  // namespace

CString CalendarDetails::RtfRow(CString caption, CString value) {
  if (value.IsEmpty()) value = L"..";
  CString row(kRowTemplate);
  // The caption goes in first, so a value that holds the word CAPTION stays as it is.
  row.Replace(L"CAPTION", caption);
  row.Replace(L"CELL TEXT", EscapeRtfText(value));
  return row + L"\r\n";
}

// "Calender" is the heading converted documents have always been shown with.
CString CalendarDetails::ToRtf(const CString& body) const {
  CString rows;
  rows += RtfRow(L"Subject  :", m_strSubject);
  rows += RtfRow(L"From  :", m_strFrom);
  rows += RtfRow(L"Send To  :", m_strSendTo);
  rows += RtfRow(L"Location  :", m_strLocation);
  rows += RtfRow(L"Start Date  :", m_strStartDateTime);
  rows += RtfRow(L"End Date  :", m_strEndDateTime);
  rows += RtfRow(L"Attachment  :", m_strAttachments);
  return BuildRtfPage(L"Calender Details ", L"\\red145\\green225\\blue84", rows, body);
}

CString ToDoDetails::ToRtf(const CString& body) const {
  CString rows;
  rows += CalendarDetails::RtfRow(L"Subject  :", m_strSubject);
  rows += CalendarDetails::RtfRow(L"From  :", m_strFrom);
  rows += CalendarDetails::RtfRow(L"Send To  :", m_strSendTo);
  rows += CalendarDetails::RtfRow(L"Start Date  :", m_strStartDateTime);
  rows += CalendarDetails::RtfRow(L"Due Date  :", m_strDueDate);
  rows += CalendarDetails::RtfRow(L"Attachment  :", m_strAttachments);
  return BuildRtfPage(L"To Do Item Details ", L"\\red174\\green110\\blue44", rows, body);
}

CString JournalDetails::ToRtf(const CString& body) const {
  CString rows;
  rows += CalendarDetails::RtfRow(L"Subject :", m_strSubject);
  rows += CalendarDetails::RtfRow(L"From :", m_strFrom);
  rows += CalendarDetails::RtfRow(L"Date Created :", m_strTimeCreated);
  rows += CalendarDetails::RtfRow(L"Diary Date :", m_strDiaryDate);
  rows += CalendarDetails::RtfRow(L"Attachment :", m_strAttachments);
  rows += CalendarDetails::RtfRow(L"Categories :", m_strCategories);
  return BuildRtfPage(L"Journal Details ", L"\\red247\\green179\\blue71", rows, body);
}
