// The item writers against the Notes library: text and date items, the "PostedDate" year bounds,
// the date fallback, the charset tests and the raw HTML body.
#include "NotesItemWriters.h"
#include "SaverTestSupport.h"

using namespace enginetest;

namespace {

class ItemWriters : public SaverTest {
 protected:
  void SetUp() override {
    SaverTest::SetUp();
    NewNote();
  }
  void NewNote() {
    note_ = LNMailMessage();
    ASSERT_EQ(LNNOERROR, store_.m_db.CreateDocument(&note_));
    ASSERT_EQ(LNNOERROR, note_.Open(0));
  }
  bool Posted(int year, int month, int day) {
    NewNote();
    const bool written = AddPostedDate(COleDateTime(year, month, day, 12, 0, 0), note_);
    EXPECT_EQ(written, !Named(note_, "PostedDate").empty());
    return written;
  }

  LNMailMessage note_;
};

}  // namespace

TEST_F(ItemWriters, TextItemWithAnEmptyValueIsWrittenWithOneEmptyEntry) {
  EXPECT_TRUE(AddTextItem(L"Subject", L"", note_));
  LNText text;
  ASSERT_EQ(LNNOERROR, note_.GetItem(LnOf("Subject"), &text));
  EXPECT_EQ(1, text.GetCount());
  EXPECT_EQ("", Utf8Of(text[0].GetText()));
}

TEST_F(ItemWriters, SecondWriteOfANameAddsAnItemAndReadersSeeTheFirst) {
  AddTextItem(L"From", L"Ann", note_);
  AddTextItem(L"From", L"", note_);
  ASSERT_EQ(2u, Named(note_, "From").size());
  EXPECT_EQ("Ann", Named(note_, "From")[0].value);
  EXPECT_EQ("Ann", Text(note_, "From"));
}

TEST_F(ItemWriters, RefusedTextWriteReturnsFalseWithoutThrowing) {
  StartNotes("notes.createitem");
  NewNote();
  bool written = true;
  EXPECT_NO_THROW(written = AddTextItem(L"Subject", L"x", note_));
  EXPECT_FALSE(written);
  EXPECT_TRUE(Named(note_, "Subject").empty());
}

TEST_F(ItemWriters, RefusedDateWriteIsThrownToTheSaver) {
  StartNotes("notes.createitem");
  NewNote();
  LNDatetime when;
  when.SetDate(1, 2, 2003);
  EXPECT_THROW(AddDatetimeItem(L"DueDate", when, note_), LNSTATUS);
}

TEST_F(ItemWriters, OleDateKeepsItsCalendarFieldsWithoutAZone) {
  AddDatetimeItem(L"DueDate", OleDateToLNDatetime(COleDateTime(2024, 2, 29, 23, 59, 58)), note_);
  EXPECT_EQ("02/29/2024 23:59:58", Date(note_, "DueDate"));
}

TEST_F(ItemWriters, DateTheLibraryRefusesIsReplacedByTheCurrentUtcDate) {
  COleDateTime broken(2024, 1, 1, 0, 0, 0);
  broken.SetStatus(COleDateTime::invalid);
  SYSTEMTIME before;
  GetSystemTime(&before);
  const LNDatetime value = OleDateToLNDatetime(broken);
  SYSTEMTIME after;
  GetSystemTime(&after);
  LNINT month = 0, day = 0, year = 0;
  ASSERT_EQ(LNNOERROR, value.GetDate(&month, &day, &year));
  const bool isBefore = year == before.wYear && month == before.wMonth && day == before.wDay;
  const bool isAfter = year == after.wYear && month == after.wMonth && day == after.wDay;
  EXPECT_TRUE(isBefore || isAfter) << month << "/" << day << "/" << year;
}

TEST_F(ItemWriters, PostedDateIsWrittenOnlyForTheYears1901To3999) {
  EXPECT_FALSE(Posted(1900, 12, 31));
  EXPECT_TRUE(Posted(1901, 1, 1));
  EXPECT_TRUE(Posted(3999, 12, 31));
  EXPECT_FALSE(Posted(4000, 1, 1));
  // The PST's "no date".
  EXPECT_FALSE(Posted(4501, 1, 1));
  NewNote();
  COleDateTime invalid(2005, 1, 1, 0, 0, 0);
  invalid.SetStatus(COleDateTime::invalid);
  EXPECT_FALSE(AddPostedDate(invalid, note_));
}

TEST_F(ItemWriters, CharsetTestsUpperCaseOnlyAsciiAndTakeTheLiteralAnywhere) {
  EXPECT_TRUE(HasUtf8Charset(L"<meta content=\"text/html; charset=utf-8\">"));
  EXPECT_TRUE(HasUtf8Charset(L"CHARSET=UTF-8"));
  EXPECT_FALSE(HasUtf8Charset(L"<meta charset=\"utf-8\">"));
  EXPECT_FALSE(HasUtf8Charset(L"charset = utf-8"));
  EXPECT_TRUE(HasWindows1256Charset(L"charset=windows-1256"));
  EXPECT_FALSE(HasWindows1256Charset(L"windows-1252"));
  // Dotless and dotted i are not ASCII letters: no upper-casing turns them into "I".
  EXPECT_FALSE(HasWindows1256Charset(L"w\x0131ndows-1256"));
}

TEST_F(ItemWriters, HtmlBodyIsOneRawItemOfItsUtf16Characters) {
  const CString html(L'x', 1000);
  EXPECT_TRUE(AddHtmlBodyItem(L"Body", html, note_));
  const std::vector<NoteItem> body = Named(note_, "Body");
  ASSERT_EQ(1u, body.size());
  EXPECT_EQ(LNITEMTYPE_RAW, body[0].type);
  ASSERT_EQ(2000u, body[0].value.size());
  EXPECT_EQ(0, memcmp(static_cast<LPCWSTR>(html), body[0].value.data(), 2000));
}

TEST_F(ItemWriters, HtmlNamingUtf8IsWrittenTwice) {
  EXPECT_TRUE(AddHtmlBodyItem(L"Body", L"<p>plain</p>", note_));
  EXPECT_EQ(1u, Named(note_, "Body").size());
  EXPECT_TRUE(AddHtmlBodyItem(L"Body", L"<meta content='text/html; charset=utf-8'>", note_));
  EXPECT_EQ(3u, Named(note_, "Body").size());
}

TEST_F(ItemWriters, HtmlNamingWindows1256IsRefusedKeepingAnUtf8ItemWrittenBefore) {
  EXPECT_FALSE(AddHtmlBodyItem(L"Body", L"charset=windows-1256", note_));
  EXPECT_TRUE(Named(note_, "Body").empty());
  EXPECT_FALSE(AddHtmlBodyItem(L"Body", L"charset=utf-8 windows-1256", note_));
  EXPECT_EQ(1u, Named(note_, "Body").size());
}

TEST_F(ItemWriters, RefusedHtmlWriteReturnsFalse) {
  StartNotes("notes.createitem");
  NewNote();
  EXPECT_FALSE(AddHtmlBodyItem(L"Body", L"<p>hi</p>", note_));
}
