// Durability and sharing: a writer killed between flushes, a reader beside an open writer, nsfdump's
// output, and several threads on one database.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "NoteStore.h"
#include "TestProcess.h"
#include "NotesTestSupport.h"

using namespace notestest;

namespace {

void SaveMemos(LNDatabase& db, int count, const char* folder = nullptr) {
  LNViewFolder target;
  if (folder) {
    ASSERT_EQ(LNNOERROR, db.GetViewFolder(folder, &target));
  }
  for (int i = 0; i < count; ++i) {
    LNDocument doc;
    ASSERT_EQ(LNNOERROR, db.CreateDocument(&doc));
    doc.CreateItem("Form", LNText("Memo"), 8, LNITEMOPTION_APPEND);
    doc.CreateItem("Subject", LNText(Ln("memo " + std::to_string(i))), 8, LNITEMOPTION_APPEND);
    ASSERT_EQ(LNNOERROR, doc.Save(0));
    if (folder) {
      ASSERT_EQ(LNNOERROR, target.FolderAddDocument(doc));
    }
  }
}

// Documents another connection sees, as a separate reader would.
size_t DocumentsSeenByReader(const std::string& path) {
  std::unique_ptr<lnstore::Store> reader = lnstore::Store::Open(path, true);
  std::lock_guard<std::recursive_mutex> lock(reader->Mutex());
  return reader->DocumentIds().size();
}

// Polls without a time assertion: the bound only keeps a broken flush from hanging the run.
bool EventuallySees(const std::string& path, size_t count) {
  for (int i = 0; i < 600; ++i) {
    if (DocumentsSeenByReader(path) == count) return true;
    Sleep(50);
  }
  return false;
}

std::string TextOf(const LNDocument& doc, const char* name) {
  LNText text;
  if (doc.GetItem(name, &text) != LNNOERROR) return "<missing>";
  return Str(text[0]);
}

// Runs the helper that saves `saved` documents into db and starts one more, and kills it there: the
// file is left with the journal of a writer that died. False when the helper did not get that far.
bool KillWriterAfterSaves(const std::string& db, int saved, const std::string& ready) {
  std::wstring cmd = Wide(Quote(ProgramPath("notes_test_helper.exe")) + " write " + Quote(db) + " " +
                          std::to_string(saved) + " " + Quote(ready));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!testsupport::CreateProcessRetrying(&cmd[0], FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  bool isReady = false;
  for (int i = 0; i < 2400 && !isReady; ++i) {
    isReady = GetFileAttributesW(Wide(ready).c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!isReady && WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) break;
  }
  TerminateProcess(pi.hProcess, 9);
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return isReady;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The output of nsfdump counts for the file at path.
std::string Counts(const std::string& path) {
  std::string out;
  EXPECT_EQ(0u, RunProgram(Quote(ProgramPath("nsfdump.exe")) + " counts " + Quote(path), &out)) << path;
  return out;
}

// nsfdump's counts of a copy of the database file alone, made elsewhere, as a user copies a finished
// database without the files beside it.
std::string CountsOfACopyOfTheFileAlone(const std::string& path) {
  testsupport::TempDir elsewhere;
  const std::string copy = elsewhere.File("copy.nsf");
  EXPECT_TRUE(CopyFileW(Wide(path).c_str(), Wide(copy).c_str(), TRUE)) << path;
  return Counts(copy);
}

}  // namespace

TEST(Durability, AWriterKilledBetweenFlushesLeavesEveryFlushedDocumentAndNoHalfDocument) {
  testsupport::TempDir dir;
  NewMailDatabase(dir).Close();
  const std::string db = dir.File("target.nsf");
  // Enough saves for one flush by count, and some more that only the timer may have flushed.
  const int saved = lnstore::Store::kFlushEveryWrites + 44;
  ASSERT_TRUE(KillWriterAfterSaves(db, saved, dir.File("ready")))
      << "the writer did not get to the kill point";

  LNNotesSession session;
  LNDatabase reopened;
  ASSERT_EQ(LNNOERROR, session.GetDatabase(Ln(db), &reopened, ""));
  ASSERT_EQ(LNNOERROR, reopened.Open(0));
  LNNoteArray docs;
  ASSERT_EQ(LNNOERROR, reopened.GetDocuments(&docs));
  EXPECT_GE(docs.GetCount(), lnstore::Store::kFlushEveryWrites);
  EXPECT_LE(docs.GetCount(), saved);
  for (LNINT i = 0; i < docs.GetCount(); ++i) {
    LNDocument doc = docs[i];
    ASSERT_EQ(LNNOERROR, doc.Open(0));
    EXPECT_EQ(std::to_string(i + 1), TextOf(doc, "Index"));
    EXPECT_EQ("end", TextOf(doc, "Last"));
    doc.Close();
  }
  reopened.Close();
}

TEST(Durability, EndingTheSessionFlushesWhatWasSaved) {
  testsupport::TempDir dir;
  NewMailDatabase(dir).Close();
  const std::string db = dir.File("target.nsf");
  EXPECT_EQ(0u, RunProgram(Quote(ProgramPath("notes_test_helper.exe")) + " term " + Quote(db) + " 7"));
  EXPECT_EQ(7u, DocumentsSeenByReader(db));
}

TEST(Durability, AReaderSeesFlushedDocumentsWhileTheWriterKeepsTheDatabaseOpen) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  const std::string path = dir.File("target.nsf");
  SaveMemos(db, lnstore::Store::kFlushEveryWrites);
  EXPECT_EQ(static_cast<size_t>(lnstore::Store::kFlushEveryWrites), DocumentsSeenByReader(path));
  // Saves that reach no count flush on their own a little later, with no further call.
  SaveMemos(db, 5);
  EXPECT_TRUE(EventuallySees(path, lnstore::Store::kFlushEveryWrites + 5));
  // nsfdump, a process of its own, reads the open database too.
  std::string out;
  EXPECT_EQ(0u, RunProgram(Quote(ProgramPath("nsfdump.exe")) + " counts " + Quote(path), &out));
  EXPECT_EQ(std::to_string(lnstore::Store::kFlushEveryWrites + 5) + "\tMemo\t\n", out);
  SaveMemos(db, 2);
  ASSERT_EQ(LNNOERROR, db.Close());
  EXPECT_EQ(static_cast<size_t>(lnstore::Store::kFlushEveryWrites + 7), DocumentsSeenByReader(path));
}

// Two connections on one file, as two programs have them.
class Sharing : public ::testing::Test {
 protected:
  void SetUp() override {
    NewMailDatabase(dir_).Close();
    path_ = dir_.File("target.nsf");
    first_ = lnstore::Store::Open(path_, false);
    second_ = lnstore::Store::Open(path_, false);
  }
  static uint32_t SaveOne(lnstore::Store& store) {
    std::lock_guard<std::recursive_mutex> lock(store.Mutex());
    lnstore::NoteRecord note;
    lnstore::Item form;
    form.name = "Form";
    form.type = lnstore::kTypeTextList;
    form.value = lnstore::EncodeTextList({"Memo"});
    note.items.push_back(form);
    store.SaveNote(&note);
    store.Flush();
    return note.noteId;
  }
  static size_t Documents(lnstore::Store& store) {
    std::lock_guard<std::recursive_mutex> lock(store.Mutex());
    return store.DocumentIds().size();
  }

  testsupport::TempDir dir_;
  std::string path_;
  std::unique_ptr<lnstore::Store> first_, second_;
};

TEST_F(Sharing, AWriteRightAfterReadsStartsFromWhatTheOtherConnectionFlushed) {
  const size_t before = Documents(*first_);
  const uint32_t other = SaveOne(*second_);
  // The first connection's reads still share their read transaction; its write must not build on it.
  const uint32_t own = SaveOne(*first_);
  EXPECT_NE(other, own);
  EXPECT_EQ(before + 2, DocumentsSeenByReader(path_));
  EXPECT_EQ(before + 2, Documents(*first_));
}

TEST_F(Sharing, ReadsSeeTheOtherConnectionsFlushedWritesSoonWithoutAnyWriteOfTheirOwn) {
  const size_t before = Documents(*first_);
  SaveOne(*second_);
  bool seen = false;
  // Polls without a time assertion: the bound only keeps a read transaction that never ends from
  // hanging the run.
  for (int i = 0; i < 600 && !seen; ++i) {
    seen = Documents(*first_) == before + 1;
    if (!seen) Sleep(20);
  }
  EXPECT_TRUE(seen);
}

TEST(Nsfdump, CountsEachFolderAndFormAndDumpsADocument) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  db.CreateFolder("Outlook\\Inbox");
  db.CreateFolder(Ln(u8"Outlook\\Entw\u00FCrfe"));
  SaveMemos(db, 2, "Outlook\\Inbox");
  SaveMemos(db, 1, u8"Outlook\\Entw\u00FCrfe");
  LNViewFolder inbox;
  db.GetViewFolder("Outlook\\Inbox", &inbox);
  LNDocument appointment, task;
  db.CreateDocument(&appointment);
  appointment.CreateItem("Form", LNText("Appointment"), 8, LNITEMOPTION_APPEND);
  appointment.CreateItem("Body", 21, "<b>", 3, 8, LNITEMOPTION_APPEND);
  appointment.CreateItem("Body", LNText(Ln("two\tlines\r\nhere")), 8, LNITEMOPTION_APPEND);
  LNDatetimes when;
  LNDatetime d;
  d.SetDate(1, 2, 2003);
  d.SetTime(4, 5, 6, 0);
  when.Insert(0, d);
  appointment.CreateItem("STARTDATETIME", when, 8, LNITEMOPTION_APPEND);
  appointment.Save(0);
  inbox.FolderAddDocument(appointment);
  db.CreateDocument(&task);
  task.CreateItem("Form", LNText("Task"), 8, LNITEMOPTION_APPEND);
  task.Save(0);
  ASSERT_EQ(LNNOERROR, db.Close());

  const std::string path = dir.File("target.nsf");
  std::string out;
  ASSERT_EQ(0u, RunProgram(Quote(ProgramPath("nsfdump.exe")) + " counts " + Quote(path), &out));
  EXPECT_EQ(
      u8"1\tTask\t\n1\tMemo\tOutlook\\Entw\u00FCrfe\n1\tAppointment\tOutlook\\Inbox\n2\tMemo\tOutlook\\Inbox"
      u8"\n",
      out);

  ASSERT_EQ(0u, RunProgram(Quote(ProgramPath("nsfdump.exe")) + " doc " + Quote(path) + " " +
                               std::to_string(appointment.GetNoteID()),
                           &out));
  const std::string expected = "noteid\t" + std::to_string(appointment.GetNoteID()) + "\nunid\t" +
                               Str(appointment.GetUniversalID()) +
                               "\nitem\tForm\t0x0501\t8\tAppointment\n"
                               "item\tBody\t0x0015\t8\t3\t3C623E\n"
                               "item\tBody\t0x0501\t8\ttwo\\tlines\\r\\nhere\n"
                               "item\tSTARTDATETIME\t0x0400\t8\t01/02/2003 04:05:06\n"
                               "folder\tOutlook\\Inbox\n";
  EXPECT_EQ(expected, out);
  EXPECT_EQ(1u, RunProgram(Quote(ProgramPath("nsfdump.exe")) + " doc " + Quote(path) + " 99999", &out));
  EXPECT_EQ(1u,
            RunProgram(Quote(ProgramPath("nsfdump.exe")) + " counts " + Quote(dir.File("none.nsf")), &out));
}

TEST(Concurrency, SeveralThreadsSaveAndFileIntoOneDatabase) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  db.CreateFolder("Shared");
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&db] {
      LNNotesSession session;
      session.InitThread();
      SaveMemos(db, 60, "Shared");
      session.TermThread();
    });
  for (auto& w : workers) w.join();
  LNViewFolder shared;
  db.GetViewFolder("Shared", &shared);
  shared.Open(0);
  EXPECT_EQ(240, shared.GetEntryCount());
  ASSERT_EQ(LNNOERROR, db.Close());
  EXPECT_EQ(240u, DocumentsSeenByReader(dir.File("target.nsf")));
}

TEST(Durability, ASavedDocumentIsFlushedOnlyWithItsFilingOnceItIsClosed) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  const std::string path = dir.File("target.nsf");
  ASSERT_EQ(LNNOERROR, db.CreateFolder("Filed"));
  LNViewFolder folder;
  ASSERT_EQ(LNNOERROR, db.GetViewFolder("Filed", &folder));
  const size_t before = DocumentsSeenByReader(path);
  LNDocument doc;
  ASSERT_EQ(LNNOERROR, db.CreateDocument(&doc));
  doc.CreateItem("Form", LNText("Memo"), 8, LNITEMOPTION_APPEND);
  ASSERT_EQ(LNNOERROR, doc.Save(0));
  // Well past the flush delay: the save waits for the rest of its document.
  Sleep(4 * lnstore::Store::kFlushDelayMs);
  EXPECT_EQ(before, DocumentsSeenByReader(path));
  ASSERT_EQ(LNNOERROR, folder.FolderAddDocument(doc));
  ASSERT_EQ(LNNOERROR, doc.Close());
  EXPECT_TRUE(EventuallySees(path, before + 1));
  std::unique_ptr<lnstore::Store> reader = lnstore::Store::Open(path, true);
  std::lock_guard<std::recursive_mutex> lock(reader->Mutex());
  lnstore::Design filed;
  ASSERT_TRUE(reader->FindDesign("Filed", &filed));
  EXPECT_EQ(1u, reader->Entries(filed).size());
}

TEST(Durability, ADeletedDocumentLeavesNoNoteAttachmentOrFolderEntry) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  ASSERT_EQ(LNNOERROR, db.CreateFolder("Filed"));
  LNViewFolder folder;
  ASSERT_EQ(LNNOERROR, db.GetViewFolder("Filed", &folder));
  const std::string file = dir.File("part.txt");
  {
    std::ofstream out(file, std::ios::binary);
    out << "part";
  }
  LNDocument doc;
  ASSERT_EQ(LNNOERROR, db.CreateDocument(&doc));
  ASSERT_EQ(LNNOERROR, doc.CreateAttachment(Ln(file), "PART.TXT"));
  ASSERT_EQ(LNNOERROR, doc.Save(0));
  ASSERT_EQ(LNNOERROR, folder.FolderAddDocument(doc));
  const LNNOTEID id = doc.GetNoteID();
  ASSERT_EQ(LNNOERROR, db.DeleteDocument(&doc));
  EXPECT_EQ(0u, doc.GetNoteID());
  LNDocument again;
  EXPECT_EQ(LNERR_NOTE_NOT_FOUND, db.GetDocument(id, &again));
  ASSERT_EQ(LNNOERROR, folder.Open(0));
  EXPECT_EQ(0, folder.GetEntryCount());
  ASSERT_EQ(LNNOERROR, db.Flush());
}

TEST(Durability, ATargetPathThatIsAFolderIsNamedAsOne) {
  testsupport::TempDir dir;
  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.Initialize());
  LNDatabase db;
  EXPECT_EQ(LNERR_IS_A_DIRECTORY, session.GetDatabase(Ln(dir.File("")), &db));
  char text[512];
  LNGetErrorMessageText(LNERR_IS_A_DIRECTORY, text, sizeof text, 0);
  EXPECT_EQ(std::string::npos, std::string(text).find("does not exist")) << text;
}

TEST(Durability, AThreadThatSavedLeavesTheFileAloneHoldingItWhenItEnds) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  ASSERT_EQ(LNNOERROR, db.CreateFolder("Outlook\\Inbox"));
  std::thread worker([&db] {
    LNNotesSession session;
    session.InitThread();
    SaveMemos(db, 40, "Outlook\\Inbox");
    db.Flush();
    session.TermThread();
  });
  worker.join();
  // The database stays open, as the program keeps its target after a conversion.
  ASSERT_TRUE(db.IsOpen());
  EXPECT_EQ("40\tMemo\tOutlook\\Inbox\n", CountsOfACopyOfTheFileAlone(dir.File("target.nsf")));
}

TEST(Durability, AThreadThatOnlyReadLeavesTheFileAloneHoldingWhatItReadWhenItEnds) {
  testsupport::TempDir dir;
  NewMailDatabase(dir).Close();
  const std::string path = dir.File("target.nsf");
  // Saves that a flush by count made safe before the writer died.
  const int saved = lnstore::Store::kFlushEveryWrites;
  const std::string counts = std::to_string(saved) + "\tMemo\t\n";
  ASSERT_TRUE(KillWriterAfterSaves(path, saved, dir.File("ready")));
  // A listing reads the documents that the dead writer left in its journal.
  LNDatabase db;
  LNINT listed = 0;
  std::thread worker([&] {
    LNNotesSession session;
    session.InitThread();
    session.GetDatabase(Ln(path), &db, "");
    db.Open(0);
    LNNoteArray docs;
    db.GetDocuments(&docs);
    listed = docs.GetCount();
    session.TermThread();
  });
  worker.join();
  ASSERT_TRUE(db.IsOpen());
  ASSERT_EQ(saved, listed);
  EXPECT_EQ(counts, CountsOfACopyOfTheFileAlone(path));
}

TEST(Nsfdump, ReadingAFileLeavesItAloneHoldingEverythingAndNoFilesBesideIt) {
  testsupport::TempDir dir;
  NewMailDatabase(dir).Close();
  const std::string path = dir.File("target.nsf");
  EXPECT_EQ("", Counts(path));
  EXPECT_FALSE(Exists(path + "-wal"));
  EXPECT_FALSE(Exists(path + "-shm"));
  // A file that a writer left with its journal, holding what a flush by count made safe.
  const int saved = lnstore::Store::kFlushEveryWrites;
  const std::string counts = std::to_string(saved) + "\tMemo\t\n";
  ASSERT_TRUE(KillWriterAfterSaves(path, saved, dir.File("ready")));
  EXPECT_EQ(counts, Counts(path));
  EXPECT_FALSE(Exists(path + "-wal"));
  EXPECT_FALSE(Exists(path + "-shm"));
  EXPECT_EQ(counts, CountsOfACopyOfTheFileAlone(path));
}
