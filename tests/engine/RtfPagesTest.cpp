// The RTF detail pages and the contact's text blocks: byte-exact pages, escaping of every value, the
// body inside the page, and the blocks' line counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContactDetails.h"
#include "ItemDetails.h"
#include "NotesStoreTestSupport.h"
#include "RtfPage.h"

using namespace enginetest;

namespace {

// Lines joined with CR LF, as the page constants hold them.
std::string CrLf(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

std::string Row(const std::string& caption, const std::string& value) {
  return R"(\cf1\fs18{\pntext\f2\'B7\tab})" + caption + R"( \cf2\b0 )" + value + R"(\b\fs18\par)" +
         "\r\n\r\n";
}

std::string CalendarHeader() {
  return CrLf(
      {R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fprq2\fcharset0 Arial;}{\f1\fswiss\fcharset0 Arial;}})",
       R"({\colortbl ;\red145\green225\blue84;\red0\green0\blue0;})",
       R"({\*\generator Msftedit 5.41.15.1507;}\viewkind4\uc1\pard\cf1\lang1033\b\f0\fs22 Calender Details \par)",
       R"(\par)", ""});
}

const char kFooter[] = "\\par\r\n\\cf0\\b0\\f1\\fs20\\par\r\n}";

CalendarDetails Meeting() {
  CalendarDetails record;
  record.m_strSubject = L"Team sync";
  record.m_strFrom = L"Ann Lee";
  record.m_strSendTo = L"Bob;Cy";
  record.m_strLocation = L"Room 4";
  record.m_strStartDateTime = L"05/06/2021 09:30:00";
  record.m_strEndDateTime = L"05/06/2021 10:45:00";
  return record;
}

int Lines(const CString& block) {
  int count = 0;
  for (int at = block.Find(L"\r\n"); at >= 0; at = block.Find(L"\r\n", at + 2)) count++;
  return count;
}

}  // namespace

TEST(RtfPages, CalendarPageIsByteExact) {
  const std::string expected = CalendarHeader() + Row("Subject  :", "Team sync") + Row("From  :", "Ann Lee") +
                               Row("Send To  :", "Bob;Cy") + Row("Location  :", "Room 4") +
                               Row("Start Date  :", "05/06/2021 09:30:00") +
                               Row("End Date  :", "05/06/2021 10:45:00") + Row("Attachment  :", "..") +
                               kFooter;
  EXPECT_EQ(expected, Utf8(Meeting().ToRtf()));
}

TEST(RtfPages, EveryValueIsEscapedSoItShowsAsTyped) {
  CalendarDetails record = Meeting();
  record.m_strSubject = L"a{b}c\\d";
  record.m_strFrom = ToCString(u8"Jos\u00E9");
  // U+4F1A and U+8B70: the second is above 0x7FFF and goes as a negative 16-bit number.
  record.m_strSendTo = ToCString(u8"\u4F1A\u8B70");
  record.m_strLocation = L"Room 4\r\nFloor 2\nWing\rB";
  record.m_strAttachments = L"a.txt Size :3 \r\n";
  const std::string expected = CalendarHeader() + Row("Subject  :", R"(a\{b\}c\\d)") +
                               Row("From  :", R"(Jos\u233?)") + Row("Send To  :", R"(\u20250?\u-29840?)") +
                               Row("Location  :", R"(Room 4\line Floor 2\line Wing\line B)") +
                               Row("Start Date  :", "05/06/2021 09:30:00") +
                               Row("End Date  :", "05/06/2021 10:45:00") +
                               Row("Attachment  :", R"(a.txt Size :3 \line )") + kFooter;
  EXPECT_EQ(expected, Utf8(record.ToRtf()));
}

TEST(RtfPages, BodyGoesEscapedInsideThePageBeforeItsClosingBrace) {
  const std::string page = Utf8(Meeting().ToRtf(L"Agenda {draft}\r\nItem 1"));
  const std::string tail = "\\cf0\\b0\\f1\\fs20\\par\r\nAgenda \\{draft\\}\\line Item 1}";
  ASSERT_GE(page.size(), tail.size());
  EXPECT_EQ(tail, page.substr(page.size() - tail.size()));
}

TEST(RtfPages, EmptyFieldsShowTwoDotsAndAValueHoldingPlaceholderWordsStays) {
  const std::string empty = Utf8(ToDoDetails().ToRtf());
  EXPECT_NE(std::string::npos, empty.find(Row("Subject  :", "..")));
  EXPECT_NE(std::string::npos, empty.find(Row("Due Date  :", "..")));
  EXPECT_EQ(std::string::npos, empty.find("CAPTION"));

  JournalDetails journal;
  journal.m_strSubject = L"CAPTION and CELL TEXT and HEADING";
  const std::string page = Utf8(journal.ToRtf());
  EXPECT_NE(std::string::npos, page.find(Row("Subject :", "CAPTION and CELL TEXT and HEADING")));
  EXPECT_NE(std::string::npos, page.find("\\fs22 Journal Details \\par"));
}

TEST(RtfPages, EachKindHasItsHeadingColourAndRows) {
  const std::string todo = Utf8(ToDoDetails().ToRtf());
  EXPECT_NE(std::string::npos, todo.find("{\\colortbl ;\\red174\\green110\\blue44;"));
  EXPECT_NE(std::string::npos, todo.find("To Do Item Details \\par"));
  const std::string journal = Utf8(JournalDetails().ToRtf());
  EXPECT_NE(std::string::npos, journal.find("{\\colortbl ;\\red247\\green179\\blue71;"));
  // The journal's attachments come before its categories.
  EXPECT_LT(journal.find("Attachment :"), journal.find("Categories :"));
  const std::string contact = Utf8(ContactDetails().ToRtf());
  EXPECT_NE(std::string::npos, contact.find("{\\colortbl ;\\red0\\green0\\blue255;"));
  EXPECT_NE(std::string::npos, contact.find("\\fs22 Contact Item\\par"));
  size_t rows = 0;
  for (size_t at = contact.find("\\pntext"); at != std::string::npos; at = contact.find("\\pntext", at + 1))
    rows++;
  EXPECT_EQ(66u, rows);
  EXPECT_NE(std::string::npos, contact.find(Row("Misc Phone2 : ", "..")));
  EXPECT_NE(std::string::npos, contact.find(Row("Attachments : ", "..")));
}

TEST(ContactBlocks, AnEmptyContactStillHasEveryCaptionLine) {
  const ContactDetails empty;
  EXPECT_EQ(22, Lines(empty.TextPart1()));
  EXPECT_EQ(18, Lines(empty.TextPart2()));
  EXPECT_EQ(26, Lines(empty.TextPart3()));
  EXPECT_EQ(0, empty.TextPart1().Find(L"From : \r\nFull Name : \r\nName Helper : \r\n"));
  EXPECT_GE(empty.TextPart1().Find(L"\r\nTitle : \r\n"), 0);
  EXPECT_EQ(0, empty.TextPart2().Find(L"Cell Phone Number : \r\n"));
  EXPECT_EQ(0, empty.TextPart3().Find(L"Office Street Address : \r\n"));
}

TEST(ContactBlocks, ShowValuesUnchangedUnderTheirCaptionsAndAttachmentsLast) {
  ContactDetails contact;
  contact.m_strFullNameInput = L"Ann Lee";
  contact.m_strFullName = L"Ann Lee;A. Lee";
  contact.m_strcountry = L"NZ";
  contact.m_strOfficeZIP = L"6011";
  contact.m_strOtherZip = L"9016";
  contact.m_strAttachments = L"a.txt Size :3 \r\nb.png Size :70 \r\n";
  EXPECT_GE(contact.TextPart1().Find(L"\r\nFull Name : Ann Lee\r\n"), 0);
  const CString block3 = contact.TextPart3();
  EXPECT_GE(block3.Find(L"\r\nFull Name : Ann Lee;A. Lee\r\n"), 0);
  EXPECT_GE(block3.Find(L"\r\nCountry : NZ\r\n"), 0);
  EXPECT_GE(block3.Find(L"Office ZIP : 6011\r\n"), 0);
  EXPECT_GE(block3.Find(L"Other Zip : 9016\r\n"), 0);
  const CString end = L"Attachments : a.txt Size :3 \r\nb.png Size :70 \r\n\r\n";
  EXPECT_EQ(block3.GetLength() - end.GetLength(), block3.Find(end));
}

TEST(RtfEscape, SurrogatePairsGoAsTwoUnitsAndPlainTextStays) {
  EXPECT_EQ("plain text 123", Utf8(EscapeRtfText(L"plain text 123")));
  // U+1F4E7: the pair D83D DCE7.
  EXPECT_EQ(R"(\u-10179?\u-8985?)", Utf8(EscapeRtfText(ToCString(u8"\U0001F4E7"))));
}
