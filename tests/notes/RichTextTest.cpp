// Rich text: whole and chunked reads with cursors, the "more text" warning, and export to RTF.
#include <gtest/gtest.h>

#include "NotesTestSupport.h"

using namespace notestest;

namespace {

// A body of several chunks whose characters take 1 to 4 bytes, so that chunk ends fall inside them.
std::string LongBody() {
  std::string body;
  for (int i = 0; body.size() < 3 * LN_RICHTEXT_CHUNK + 123; ++i)
    body += u8"Line " + std::to_string(i) + u8" caf\u00E9 \u20AC \U0001F4E7\r\n";
  return body;
}

LNRichText StoredBody(LNDatabase& db, const std::string& text) {
  LNDocument doc;
  db.CreateDocument(&doc);
  EXPECT_EQ(LNNOERROR, doc.CreateItem("Body", LNRichText(Ln(text)), 8, LNITEMOPTION_APPEND));
  EXPECT_EQ(LNNOERROR, doc.Save(0));
  const LNNOTEID id = doc.GetNoteID();
  doc.Close();
  LNDocument reread;
  db.GetDocument(id, &reread);
  reread.Open(0);
  EXPECT_EQ(LNITEMTYPE_RICHTEXT, reread.GetItemType("Body"));
  EXPECT_EQ(LNNOERROR, reread.RefreshObjectFromNoteHandle());
  LNRichText rt;
  EXPECT_EQ(LNNOERROR, reread.GetItem("Body", &rt));
  return rt;
}

}  // namespace

TEST(RichText, ChunkedReadsReturnMoreTextUntilTheEndEvenWhenThrowingIsOn) {
  ThrowMode on(true);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  const std::string body = LongBody();
  LNRichText rt = StoredBody(db, body);
  EXPECT_EQ(static_cast<LNINT>(body.size()), rt.GetValueSize());

  LNString whole;
  EXPECT_EQ(LNNOERROR, rt.GetText(&whole));
  EXPECT_EQ(body, Str(whole));

  LNRTCursor start, end;
  rt.GetCursor(&start);
  LNString first;
  EXPECT_EQ(LNWARN_MORE_TEXT, rt.GetText(&first, &start));
  EXPECT_LE(first.GetBufLength(), LN_RICHTEXT_CHUNK);

  rt.GetEndCursor(&end);
  std::string gathered;
  int chunks = 0;
  LNSTATUS status;
  do {
    LNString chunk;
    status = rt.GetText(start, end, &chunk, &start);
    gathered += Str(chunk);
    ++chunks;
  } while (status == LNWARN_MORE_TEXT && chunks < 100);
  EXPECT_EQ(LNNOERROR, status);
  EXPECT_EQ(4, chunks);
  EXPECT_EQ(body, gathered);
  db.Close();
}

TEST(RichText, ShortTextFitsOneCursorRead) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNRichText rt = StoredBody(db, "short");
  LNRTCursor start;
  rt.GetCursor(&start);
  LNString text;
  EXPECT_EQ(LNNOERROR, rt.GetText(&text, &start));
  EXPECT_EQ("short", Str(text));
  db.Close();
}

TEST(RichText, ExportsRtfWithTheBuiltInExporterOrTheNamedLibrary) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNRichText rt = StoredBody(db, u8"Hello {world}\r\nsecond \\ line \u00E9");
  LNRTCursor start, end;
  rt.GetCursor(&start);
  rt.GetEndCursor(&end);
  ASSERT_EQ(LNNOERROR, rt.Export(Ln(dir.File("a.rtf")), start, end, "RTF"));
  const std::string rtf = testsupport::ReadFileBytes(dir.File("a.rtf"));
  EXPECT_EQ(0u, rtf.find("{\\rtf1"));
  EXPECT_NE(std::string::npos, rtf.find("Hello \\{world\\}\\par"));
  EXPECT_NE(std::string::npos, rtf.find("second \\\\ line \\u233?"));
  EXPECT_EQ('}', rtf.back());

  ASSERT_EQ(LNNOERROR, rt.Export(Ln(dir.File("b.rtf")), "nxrtf2.dll", start, end, "RTF"));
  EXPECT_EQ(rtf, testsupport::ReadFileBytes(dir.File("b.rtf")));
  EXPECT_EQ(LNERR_EXPORT_LIBRARY, rt.Export(Ln(dir.File("c.rtf")), "other.dll", start, end, "RTF"));
  EXPECT_EQ(LNERR_EXPORT_FORMAT, rt.Export(Ln(dir.File("c.rtf")), start, end, "HTML"));
  EXPECT_EQ(LNERR_FILE_IO, rt.Export(Ln(dir.File("no dir\\c.rtf")), start, end, "RTF"));
  db.Close();
}
