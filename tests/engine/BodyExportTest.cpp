// The rich-text body export: the chunked plain-text read, the RTF temporary file in every export mode,
// the export's failure paths, and the text-file reader with its progress.
#include <filesystem>
#include <fstream>

#include "ReadingTestSupport.h"

using namespace enginetest;

namespace {

bool Exists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// Characters of 1 to 4 bytes, so that chunk ends fall inside them.
std::string ChunkedBody(size_t bytes) {
  std::string body;
  for (int i = 0; body.size() < bytes; ++i)
    body += u8"Line " + std::to_string(i) + u8" caf\u00E9 \u20AC \U0001F4E7\r\n";
  return body;
}

class BodyExport : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    DeleteFileW(GetPreviewRtfPath());
  }
  void TearDown() override {
    DeleteFileW(GetPreviewRtfPath());
    ReadingTest::TearDown();
  }

  LNNOTEID RichNote(const std::string& body) {
    LNDocument note = NewNote();
    AddRichBody(note, body);
    return SaveInto(note, nullptr);
  }

  int Export(LNNOTEID id, int previewForm) {
    LNDocument note = Open(id);
    done_ = -1;
    fileText_ = L"unchanged";
    plainText_.Empty();
    const int result = store_.ExportBodyToRtf(note, &done_, &fileText_, &plainText_, previewForm);
    note.Close();
    return result;
  }

  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.File(name);
    std::ofstream(std::filesystem::path(Wide(path)), std::ios::binary) << bytes;
    return path;
  }

  int done_ = -1;
  CString fileText_;
  CString plainText_;
};

}  // namespace

TEST_F(BodyExport, BodyOfManyChunksReadsBackWholeInOneReadPerChunkAndOneMore) {
  const std::string body = ChunkedBody(3 * LN_RICHTEXT_CHUNK + 123);
  const LNNOTEID id = RichNote(body);
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_EQ(body, Utf8(plainText_));

  // Four chunks: the first read, then four chunk reads. A fault on a sixth read never comes.
  RestartWithFaults("notes.gettext=6");
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_EQ(body, Utf8(plainText_));
  // A failing last read ends the loop with what came before it.
  RestartWithFaults("notes.gettext=5");
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_LT(plainText_.GetLength(), static_cast<int>(Wide(body).size()));
  EXPECT_EQ(0u, body.find(Utf8(plainText_)));
  EXPECT_EQ(1, done_);
}

TEST_F(BodyExport, ShortBodyIsReadInOneCall) {
  const LNNOTEID id = RichNote("short body");
  RestartWithFaults("notes.gettext=2");
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_EQ("short body", Utf8(plainText_));
}

TEST_F(BodyExport, PreviewFormWritesTheFileInAnyModeAndDoesNotReadItBack) {
  store_.m_nExportMode = 0;
  ASSERT_EQ(1, Export(RichNote("Hello {there}"), 1));
  EXPECT_EQ(1, done_);
  EXPECT_EQ("", Utf8(fileText_));
  EXPECT_EQ("Hello {there}", Utf8(plainText_));
  const std::string file = testsupport::ReadFileBytes(Utf8(GetPreviewRtfPath()));
  EXPECT_EQ(0u, file.find("{\\rtf1"));
  EXPECT_NE(std::string::npos, file.find("Hello \\{there\\}"));
  EXPECT_EQ("ch111.rtf", Utf8(GetPreviewRtfPath().Right(9)));
}

TEST_F(BodyExport, ModeTwoReadsTheFileBackWithItsLineEnds) {
  store_.m_nExportMode = 2;
  ASSERT_EQ(1, Export(RichNote("one\r\ntwo"), 0));
  EXPECT_EQ(1, done_);
  const std::string read = Utf8(fileText_);
  EXPECT_NE(std::string::npos, read.find("one\\par\ntwo\\par\n}")) << read;
}

TEST_F(BodyExport, OtherModesWithoutThePreviewFormExportNothing) {
  store_.m_nExportMode = 0;
  ASSERT_EQ(1, Export(RichNote("body"), 0));
  EXPECT_EQ(0, done_);
  EXPECT_EQ("unchanged", Utf8(fileText_));
  EXPECT_EQ("body", Utf8(plainText_));
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(BodyExport, ModeThreeFallsBackToTheDefaultExportWhenTheLibraryFails) {
  store_.m_nExportMode = 3;
  const LNNOTEID id = RichNote("body");
  RestartWithFaults("notes.export=1");
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_EQ(1, done_);
  EXPECT_TRUE(Exists(GetPreviewRtfPath()));
}

TEST_F(BodyExport, FailedExportWritesNoFileButStillGivesThePlainText) {
  const LNNOTEID id = RichNote("body");
  { std::ofstream(std::filesystem::path(static_cast<LPCWSTR>(GetPreviewRtfPath()))) << "old"; }
  RestartWithFaults("notes.export");
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_EQ(0, done_);
  EXPECT_EQ("body", Utf8(plainText_));
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(BodyExport, TextListBodyJoinsItsValuesAndExportsNothing) {
  LNDocument note = NewNote();
  AddText(note, "Body", {"first", "second"});
  ASSERT_EQ(1, Export(SaveInto(note, nullptr), 1));
  EXPECT_EQ("first;second", Utf8(plainText_));
  EXPECT_EQ(0, done_);
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(BodyExport, MissingBodyExportsNothingAndANoteNotOpenFailsTheRefresh) {
  LNDocument note = NewNote();
  AddText(note, "Subject", {"no body"});
  const LNNOTEID id = SaveInto(note, nullptr);
  ASSERT_EQ(1, Export(id, 1));
  EXPECT_EQ(0, done_);
  EXPECT_EQ("", Utf8(plainText_));

  LNDocument closed;
  ASSERT_EQ(LNNOERROR, store_.m_db.GetDocument(id, &closed));
  int done = -1;
  EXPECT_EQ(0, store_.ExportBodyToRtf(closed, &done, nullptr, nullptr, 1));
  EXPECT_EQ(0, done);
}

TEST_F(BodyExport, TextFileReadKeepsLineEndsAndMovesTheBarShortOfTheEnd) {
  RecordingSink bar;
  store_.m_pReadProgress = &bar;
  const std::string path = WriteFile("read.rtf", "{\\rtf1\\par\r\nHello\r\nlast");
  // A file others may only read is read all the same.
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ("{\\rtf1\\par\nHello\nlast", Utf8(store_.ReadTextFileWithProgress(ToCString(path))));
  EXPECT_EQ((std::vector<int>{7, 15, 23}), bar.positions);
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);

  bar.positions.clear();
  EXPECT_EQ("", Utf8(store_.ReadTextFileWithProgress(ToCString(WriteFile("empty.rtf", "")))));
  EXPECT_TRUE(bar.positions.empty());
  EXPECT_EQ("", Utf8(store_.ReadTextFileWithProgress(ToCString(dir_.File("missing.rtf")))));
}

TEST_F(BodyExport, StopEndsTheTextFileReadWithWhatWasRead) {
  RecordingSink bar;
  store_.m_pReadProgress = &bar;
  store_.m_bStop = 1;
  EXPECT_EQ("", Utf8(store_.ReadTextFileWithProgress(ToCString(WriteFile("two.rtf", "a\nb\n")))));
  EXPECT_EQ(1u, bar.positions.size());
}
