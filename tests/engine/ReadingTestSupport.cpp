// The reading tests' target database and document writers.
#include "ReadingTestSupport.h"

#include <filesystem>
#include <fstream>

namespace enginetest {

void ReadingTest::SetUp() {
  nsf_ = dir_.File("browsed.nsf");
  ASSERT_EQ(1, store_.InitSession());
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(ToCString(nsf_))) << store_.GetErrorText();
}

void ReadingTest::TearDown() {
  store_.m_folder = LNViewFolder();
  store_.Close();
}

void ReadingTest::RestartWithFaults(const char* faults) {
  {
    FaultScope scope(faults);
    ASSERT_EQ(1, store_.InitSession());
  }
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(ToCString(nsf_))) << store_.GetErrorText();
}

LNDocument ReadingTest::NewNote() {
  LNDocument note;
  EXPECT_EQ(LNNOERROR, store_.m_db.CreateDocument(&note));
  return note;
}

void ReadingTest::AddText(LNDocument& note, const char* name, std::initializer_list<std::string> values) {
  LNText text;
  for (const std::string& value : values) text.Append(Ln(value));
  EXPECT_EQ(LNNOERROR, note.CreateItem(LNString(name), text, 8, LNITEMOPTION_APPEND));
}

void ReadingTest::AddDates(LNDocument& note, const char* name, std::initializer_list<LNDatetime> values) {
  LNDatetimes dates;
  for (const LNDatetime& value : values) dates.Append(value);
  EXPECT_EQ(LNNOERROR, note.CreateItem(LNString(name), dates, 8, LNITEMOPTION_APPEND));
}

void ReadingTest::AddRichBody(LNDocument& note, const std::string& text) {
  EXPECT_EQ(LNNOERROR, note.CreateItem(LNString("Body"), LNRichText(Ln(text)), 8, LNITEMOPTION_APPEND));
}

void ReadingTest::AddAttachment(LNDocument& note, const std::string& name, size_t size) {
  const std::string path = dir_.File("attachment.bin");
  {
    std::ofstream out(std::filesystem::path(Wide(path)), std::ios::binary);
    out << std::string(size, 'x');
  }
  EXPECT_EQ(LNNOERROR, note.CreateAttachment(Ln(path), Ln(name), 1));
}

LNNOTEID ReadingTest::SaveInto(LNDocument& note, const char* folder) {
  EXPECT_EQ(LNNOERROR, note.Save(0));
  if (folder) {
    LNViewFolder target;
    if (!store_.m_db.ViewFolderExists(LNString(folder))) store_.m_db.CreateFolder(LNString(folder));
    EXPECT_EQ(LNNOERROR, store_.m_db.GetViewFolder(LNString(folder), &target));
    EXPECT_EQ(LNNOERROR, target.FolderAddDocument(note));
  }
  const LNNOTEID id = note.GetNoteID();
  note.Close();
  return id;
}

LNDocument ReadingTest::Open(LNNOTEID noteId) {
  LNDocument note;
  EXPECT_EQ(LNNOERROR, store_.m_db.GetDocument(noteId, &note));
  EXPECT_EQ(LNNOERROR, note.Open(0));
  return note;
}

LNDatetime ReadingTest::When(int month, int day, int year, int hour, int minute) {
  LNDatetime value;
  value.SetDate(month, day, year);
  if (hour >= 0) value.SetTime(hour, minute, 0, 0);
  return value;
}

}  // namespace enginetest
