// Documents round-trip through a database: items of every shape, several items of one name, the
// look-up rule for raw items, date-times, calendar ranges, sent dates and attachments.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "NotesTestSupport.h"

using namespace notestest;

namespace {

LNDatetime Date(int month, int day, int year, int h = -1, int m = 0, int s = 0) {
  LNDatetime d;
  EXPECT_EQ(LNNOERROR, d.SetDate(month, day, year));
  if (h >= 0) {
    EXPECT_EQ(LNNOERROR, d.SetTime(h, m, s, 0));
  }
  return d;
}

std::string TextOf(const LNDocument& doc, const char* name) {
  LNText text;
  if (doc.GetItem(name, &text) != LNNOERROR) return "<missing>";
  LNString joined;
  text.GetText(&joined, ";");
  return Str(joined);
}

std::string DatesOf(const LNDocument& doc, const char* name) {
  LNDatetimes dates;
  if (doc.GetItem(name, &dates) != LNNOERROR) return "<missing>";
  LNString joined;
  dates.GetText(&joined, ";");
  return Str(joined);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(Wide(path)), std::ios::binary);
  out << bytes;
}

}  // namespace

TEST(RoundTrip, DocumentOfEveryShapeReadsBackAfterReopening) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  const std::string binary("MZ\0\x01\xFF\xFE binary \r\n\0 bytes", 24);
  WriteBytes(dir.File("report.bin"), binary);
  const std::wstring html = L"<html><body>Gr\u00FC\u00DFe \U0001F600</body></html>";

  LNNOTEID id = 0;
  std::string unid;
  {
    LNDatabase db = NewMailDatabase(dir);
    LNDocument doc;
    ASSERT_EQ(LNNOERROR, db.CreateDocument(&doc));
    ASSERT_EQ(LNNOERROR, doc.Open(0));
    EXPECT_EQ(0u, doc.GetNoteID());
    doc.CreateItem("Form", LNText("Memo"), 8, LNITEMOPTION_APPEND);
    doc.CreateItem("Subject", LNText(Ln(u8"Gr\u00FC\u00DFe \U0001F600")), 8, LNITEMOPTION_APPEND);
    doc.CreateItem("From", LNText("Alice"), 8, LNITEMOPTION_APPEND);
    doc.CreateItem("From", LNText("alice@example.com"), 8, LNITEMOPTION_APPEND);
    LNText recipients;
    recipients.Append("Bob");
    recipients.Append("");
    recipients.Append("Carol");
    doc.CreateItem("SendTo", recipients, 8, LNITEMOPTION_APPEND);
    LNDatetimes dates;
    dates.Insert(dates.GetDatetimeCount(), Date(3, 4, 2021, 5, 6, 7));
    dates.Insert(dates.GetDatetimeCount(), Date(12, 31, 9999));
    doc.CreateItem("Dates", dates, 8, LNITEMOPTION_APPEND);
    ASSERT_EQ(LNNOERROR, doc.CreateItem("Body", 21, html.data(), static_cast<LNINT>(html.size() * 2), 8,
                                        LNITEMOPTION_APPEND));
    doc.CreateItem("Body", LNText("plain body"), 8, LNITEMOPTION_APPEND);
    ASSERT_EQ(LNNOERROR, doc.CreateAttachment(Ln(dir.File("report.bin")), "Report 1.bin", 1));
    ASSERT_EQ(LNNOERROR, doc.Save(0));
    id = doc.GetNoteID();
    unid = Str(doc.GetUniversalID());
    EXPECT_NE(0u, id);
    EXPECT_EQ(32u, unid.size());
    doc.Close();
    ASSERT_EQ(LNNOERROR, db.Close());
  }
  // The attachment's bytes were copied when it was attached.
  DeleteFileW(Wide(dir.File("report.bin")).c_str());

  LNNotesSession session;
  LNDatabase db;
  ASSERT_EQ(LNNOERROR, session.GetDatabase(Ln(dir.File("target.nsf")), &db, ""));
  ASSERT_EQ(LNNOERROR, db.Open(0));
  LNDocument doc;
  ASSERT_EQ(LNNOERROR, db.GetDocument(id, &doc));
  ASSERT_EQ(LNNOERROR, doc.Open(0));
  EXPECT_EQ(unid, Str(doc.GetUniversalID()));
  EXPECT_EQ("Memo", TextOf(doc, "Form"));
  EXPECT_EQ(u8"Gr\u00FC\u00DFe \U0001F600", TextOf(doc, "subject"));
  EXPECT_EQ("Alice", TextOf(doc, "From"));
  EXPECT_EQ("Bob;;Carol", TextOf(doc, "SendTo"));
  EXPECT_EQ("03/04/2021 05:06:07;12/31/9999", DatesOf(doc, "Dates"));
  EXPECT_EQ(LNITEMTYPE_DATETIMES, doc.GetItemType("Dates"));
  // The HTML mail's Body reads as its text; the raw item keeps its bytes.
  EXPECT_EQ(LNITEMTYPE_TEXT, doc.GetItemType("Body"));
  EXPECT_EQ("plain body", TextOf(doc, "Body"));

  LNItemArray items;
  ASSERT_EQ(LNNOERROR, doc.GetItems(&items));
  ASSERT_EQ(8, items.GetCount());
  EXPECT_EQ("From", Str(items[3].GetName()));
  EXPECT_EQ("From", Str(items[3].GetName()));
  LNItem raw = items[6];
  EXPECT_EQ(LNITEMTYPE_RAW, raw.GetType());
  EXPECT_EQ(8, raw.GetFlags());
  const void* data = nullptr;
  LNINT length = 0;
  ASSERT_EQ(LNNOERROR, raw.GetValue(&data, &length));
  ASSERT_EQ(static_cast<LNINT>(html.size() * 2), length);
  EXPECT_EQ(0, memcmp(data, html.data(), html.size() * 2));

  LNAttachmentArray attachments;
  ASSERT_EQ(LNNOERROR, doc.GetAttachments(&attachments));
  ASSERT_EQ(1, attachments.GetCount());
  EXPECT_EQ("Report 1.bin", Str(attachments[0].GetAttachmentName()));
  EXPECT_EQ(24, attachments[0].GetFileSize());
  ASSERT_EQ(LNNOERROR, attachments[0].Extract(Ln(dir.File("out.bin"))));
  EXPECT_EQ(binary, testsupport::ReadFileBytes(dir.File("out.bin")));
  EXPECT_GE(doc.GetSize(), 24 + static_cast<LNINT>(html.size() * 2));
  doc.Close();
  db.Close();
}

TEST(Items, WithoutTheAppendOptionAWriteReplacesEveryItemOfThatName) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNDocument doc;
  db.CreateDocument(&doc);
  doc.CreateItem("Body", LNText("one"), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("BODY", LNText("two"), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("body", LNText("three"), 8, 0);
  LNItemArray items;
  doc.GetItems(&items);
  ASSERT_EQ(1, items.GetCount());
  EXPECT_EQ("body", Str(items[0].GetName()));
  EXPECT_EQ("three", TextOf(doc, "Body"));
  db.Close();
}

TEST(Items, ARawItemAloneIsSeenAndMissingOrMistypedItemsFail) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNDocument doc;
  db.CreateDocument(&doc);
  doc.CreateItem("Body", 21, "abc", 3, 8, LNITEMOPTION_APPEND);
  EXPECT_TRUE(doc.HasItem("body"));
  EXPECT_EQ(LNITEMTYPE_RAW, doc.GetItemType("Body"));
  LNText text;
  EXPECT_EQ(LNERR_WRONG_ITEM_TYPE, doc.GetItem("Body", &text));
  EXPECT_EQ(LNERR_ITEM_NOT_FOUND, doc.GetItem("Nothing", &text));
  EXPECT_FALSE(doc.HasItem("Nothing"));
  EXPECT_EQ(0, doc.GetItemType("Nothing"));
  EXPECT_EQ(LNERR_INVALID_ARGUMENT, doc.CreateItem("", LNText("x")));
  // Bytes given under the text-list type must be a text list.
  EXPECT_EQ(LNERR_INVALID_ARGUMENT, doc.CreateItem("Odd", LNITEMTYPE_TEXT,
                                                   "\x05\x00"
                                                   "abc",
                                                   5));
  EXPECT_FALSE(doc.HasItem("Odd"));
  db.Close();
}

TEST(Notes, UnsavedClosedOrDetachedNotesReportTheirState) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNViewFolder inbox;
  ASSERT_EQ(LNNOERROR, db.GetViewFolder("($Inbox)", &inbox));
  LNDocument doc;
  db.CreateDocument(&doc);
  EXPECT_EQ(LNERR_NOTE_NOT_SAVED, inbox.FolderAddDocument(doc));
  doc.Close();
  EXPECT_EQ(LNERR_NOTE_NOT_OPEN, doc.CreateItem("A", LNText("x")));
  EXPECT_EQ(LNERR_NOTE_NOT_SAVED, doc.Open(0));
  LNDocument detached;
  EXPECT_EQ(LNERR_NULL_OBJECT, detached.Save(0));
  EXPECT_EQ(LNERR_NOTE_NOT_FOUND, db.GetDocument(4000, &detached));
  db.Close();
  EXPECT_EQ(LNERR_DATABASE_NOT_OPEN, db.CreateDocument(&doc));
  EXPECT_EQ(LNNOERROR, db.Close());
}

TEST(Notes, ACopyOfADocumentHandleIsTheSameOpenNote) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNDocument doc;
  db.CreateDocument(&doc);
  LNDocument copy = doc;
  copy.CreateItem("Subject", LNText("shared"), 8, LNITEMOPTION_APPEND);
  EXPECT_EQ("shared", TextOf(doc, "Subject"));
  LNMailMessage mail(doc);
  EXPECT_TRUE(mail.HasItem("Subject"));
  db.Close();
}

TEST(Notes, MissingAttachmentFileFailsAndNothingIsAttached) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNDocument doc;
  db.CreateDocument(&doc);
  EXPECT_EQ(LNERR_FILE_NOT_FOUND, doc.CreateAttachment(Ln(dir.File("gone.txt")), "gone.txt", 1));
  LNAttachmentArray attachments;
  doc.GetAttachments(&attachments);
  EXPECT_EQ(0, attachments.GetCount());
  WriteBytes(dir.File("empty.txt"), "");
  EXPECT_EQ(LNNOERROR, doc.CreateAttachment(Ln(dir.File("empty.txt")), "", 1));
  doc.GetAttachments(&attachments);
  ASSERT_EQ(1, attachments.GetCount());
  EXPECT_EQ("empty.txt", Str(attachments[0].GetAttachmentName()));
  EXPECT_EQ(0, attachments[0].GetFileSize());
  db.Close();
}

TEST(Datetime, AcceptsEveryRealDateOfTheYears1To9999) {
  ThrowMode off(false);
  LNString text;
  Date(1, 1, 1).GetText(&text);
  EXPECT_EQ("01/01/0001", Str(text));
  Date(12, 31, 9999, 23, 59, 59).GetText(&text);
  EXPECT_EQ("12/31/9999 23:59:59", Str(text));
  Date(2, 29, 2000).GetText(&text);
  EXPECT_EQ("02/29/2000", Str(text));
  Date(1, 1, 4501, 0, 0, 0).GetText(&text);
  EXPECT_EQ("01/01/4501 00:00:00", Str(text));
  LNDatetime d = Date(2, 28, 1900);
  LNINT m = 0, day = 0, y = 0;
  ASSERT_EQ(LNNOERROR, d.GetDate(&m, &day, &y));
  EXPECT_EQ(2, m);
  EXPECT_EQ(28, day);
  EXPECT_EQ(1900, y);
  LNDatetime empty;
  empty.GetText(&text);
  EXPECT_EQ("", Str(text));
  EXPECT_TRUE(empty.IsNull());
}

TEST(Datetime, RefusesImpossibleFieldsAndKeepsItsValue) {
  ThrowMode off(false);
  LNDatetime d = Date(6, 15, 2020, 12, 30, 0);
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetDate(2, 29, 1900));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetDate(13, 1, 2000));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetDate(0, 1, 2000));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetDate(4, 31, 2000));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetDate(1, 1, 0));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetDate(1, 1, 10000));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetTime(24, 0, 0, 0));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetTime(0, 60, 0, 0));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetTime(0, 0, -1, 0));
  EXPECT_EQ(LNERR_INVALID_DATETIME, d.SetTime(0, 0, 0, 100));
  LNString text;
  d.GetText(&text);
  EXPECT_EQ("06/15/2020 12:30:00", Str(text));
  ThrowMode on(true);
  EXPECT_THROW(d.SetDate(2, 30, 2024), LNSTATUS);
}

TEST(Calendar, RangeIsStoredAsStartAndEndDateItems) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNCalendarEntry entry;
  ASSERT_EQ(LNNOERROR, db.CreateDocument(&entry));
  entry.Open(0);
  LNDatetimeRange range;
  range.SetBegin(Date(5, 1, 2023, 9, 0, 0));
  range.SetEnd(Date(5, 1, 2023, 10, 30, 0));
  ASSERT_EQ(LNNOERROR, entry.SetDatetimeRange(range));
  ASSERT_EQ(LNNOERROR, entry.Save(0, 1));
  const LNNOTEID id = entry.GetNoteID();
  entry.Close();
  LNDocument doc;
  ASSERT_EQ(LNNOERROR, db.GetDocument(id, &doc));
  doc.Open(0);
  EXPECT_EQ("05/01/2023 09:00:00", DatesOf(doc, "STARTDATETIME"));
  EXPECT_EQ("05/01/2023 10:30:00", DatesOf(doc, "EndDateTime"));
  db.Close();
}

TEST(MailMessage, DateSentReadsPostedDate) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNMailMessage mail;
  db.CreateDocument(&mail);
  LNDatetime sent;
  EXPECT_EQ(LNERR_ITEM_NOT_FOUND, mail.GetDateSent(&sent));
  LNDatetimes posted;
  posted.Insert(0, Date(7, 8, 2019, 10, 11, 12));
  mail.CreateItem("PostedDate", posted, 8, LNITEMOPTION_APPEND);
  ASSERT_EQ(LNNOERROR, mail.GetDateSent(&sent));
  LNString text;
  sent.GetText(&text);
  EXPECT_EQ("07/08/2019 10:11:12", Str(text));
  db.Close();
}
