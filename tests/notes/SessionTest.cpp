// The session, its installation, listings of templates and servers, database creation from a
// template, statuses with their texts, throw-all across the library boundary, and the fault seam.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "NotesTestSupport.h"

using namespace notestest;

namespace {

std::string MessageOf(LNSTATUS status) {
  char buf[512];
  LNGetErrorMessageText(status, buf, sizeof buf, 0);
  return buf;
}

std::string LibraryPath() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(GetModuleHandleW(L"lcppn30i.dll"), buf, MAX_PATH * 2);
  std::wstring w(buf, n);
  const int len =
      WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &out[0], len, nullptr, nullptr);
  return out;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(std::filesystem::path(Wide(path)), std::ios::binary);
  out << text;
}

}  // namespace

TEST(Statuses, EveryStatusTheLibraryRaisesHasItsOwnText) {
  const LNSTATUS statuses[] = {
      LNERR_NOT_INITIALIZED,   LNERR_CONFIG_MISSING,     LNERR_DATA_DIRECTORY_MISSING,
      LNERR_FILE_NOT_FOUND,    LNERR_NOT_A_DATABASE,     LNERR_ALREADY_EXISTS,
      LNERR_FOLDER_EXISTS,     LNERR_FOLDER_NOT_FOUND,   LNERR_TEMPLATE_NOT_FOUND,
      LNERR_SERVER_UNKNOWN,    LNERR_INVALID_DATETIME,   LNERR_NOTE_NOT_SAVED,
      LNERR_DATABASE_NOT_OPEN, LNERR_NOTE_NOT_OPEN,      LNERR_NOTE_NOT_FOUND,
      LNERR_ITEM_NOT_FOUND,    LNERR_WRONG_ITEM_TYPE,    LNERR_INVALID_ARGUMENT,
      LNERR_NULL_OBJECT,       LNERR_NOT_A_FOLDER,       LNERR_FILE_IO,
      LNERR_DATABASE_IO,       LNERR_DATABASE_CORRUPT,   LNERR_EXPORT_LIBRARY,
      LNERR_EXPORT_FORMAT,     LNERR_INDEX_OUT_OF_RANGE, LNERR_TRANSLATION,
      LNERR_BUFFER_TOO_SMALL,  LNERR_OUT_OF_MEMORY,      LNERR_SIMULATED_FAULT,
      LNERR_INTERNAL,          LNWARN_MORE_TEXT};
  std::set<std::string> texts;
  for (LNSTATUS s : statuses) {
    const std::string text = MessageOf(s);
    EXPECT_FALSE(text.empty()) << s;
    EXPECT_EQ(std::string::npos, text.find("Unknown")) << s;
    texts.insert(text);
  }
  EXPECT_EQ(sizeof statuses / sizeof statuses[0], texts.size());
  EXPECT_EQ(0xD000014Fu, LNWARN_MORE_TEXT);
}

TEST(Statuses, TextIsCutToTheBufferAndAlwaysTerminated) {
  char buf[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(4, LNGetErrorMessageText(LNERR_FILE_NOT_FOUND, buf, 5, 0));
  EXPECT_STREQ("File", buf);
  EXPECT_EQ(0, LNGetErrorMessageText(LNERR_FILE_NOT_FOUND, buf, 0, 0));
  EXPECT_NE(std::string::npos, MessageOf(0x1234ABCD).find("0x1234ABCD"));
}

TEST(ThrowAll, StatusThrownInsideTheLibraryIsCaughtAsLNSTATUSOnEveryThread) {
  ThrowMode on(true);
  auto attempt = [] {
    LNNotesSession session;
    LNDatabase db;
    try {
      session.GetDatabase("no such database.nsf", &db, "");
    } catch (LNSTATUS status) {
      return status;
    }
    return LNNOERROR;
  };
  EXPECT_EQ(LNERR_FILE_NOT_FOUND, attempt());
  LNSTATUS onWorker = LNNOERROR;
  std::thread worker([&] {
    LNNotesSession session;
    session.InitThread();
    onWorker = attempt();
    session.TermThread();
  });
  worker.join();
  EXPECT_EQ(LNERR_FILE_NOT_FOUND, onWorker);
  // And in a program of its own that links the library by import.
  EXPECT_EQ(0u, RunProgram(Quote(ProgramPath("notes_test_helper.exe")) + " catch"));
}

TEST(ThrowAll, OffFailuresAreReturned) {
  ThrowMode off(false);
  LNNotesSession session;
  LNDatabase db;
  EXPECT_EQ(LNERR_FILE_NOT_FOUND, session.GetDatabase("no such database.nsf", &db, ""));
  EXPECT_EQ(LNERR_NULL_OBJECT, db.Open(0));
}

TEST(Installation, InitializeFailsWithoutConfigurationOrDataDirectory) {
  testsupport::TempDir dir;
  ASSERT_TRUE(CopyFileW(Wide(LibraryPath()).c_str(), Wide(dir.File("lcppn30i.dll")).c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(Wide(ProgramPath("notes_test_helper.exe")).c_str(),
                        Wide(dir.File("notes_test_helper.exe")).c_str(), FALSE));
  const std::string helper = Quote(dir.File("notes_test_helper.exe")) + " init";
  EXPECT_EQ(LNERR_CONFIG_MISSING, RunProgram(helper));
  WriteText(dir.File("notes.cfg"), "Directory=missing data\r\n");
  EXPECT_EQ(LNERR_DATA_DIRECTORY_MISSING, RunProgram(helper));
  WriteText(dir.File("notes.cfg"), "# comment\r\nServer=Nowhere\r\n");
  EXPECT_EQ(LNERR_DATA_DIRECTORY_MISSING, RunProgram(helper));
  CreateDirectoryW(Wide(dir.File("data")).c_str(), nullptr);
  WriteText(dir.File("notes.cfg"), "Directory=data\r\n");
  EXPECT_EQ(LNNOERROR, RunProgram(helper));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, RunProgram(helper, nullptr, "STANDIN_FAULTS=automation.logon,notes.init"));
}

TEST(Listings, TemplatesAreListedInPathOrderWithTheirTitles) {
  LNNotesSession session;
  LNDatabaseArray templates;
  ASSERT_EQ(LNNOERROR, session.GetDatabases(&templates, "", "", LNDBTYPE_TEMPLATE));
  ASSERT_EQ(2, templates.GetCount());
  LNDatabase notebook = templates[0], mail = templates[1];
  EXPECT_EQ("notebook.ntf", Str(notebook.GetFilepath()));
  EXPECT_EQ("stdmail.ntf", Str(mail.GetFilename()));
  ASSERT_EQ(LNNOERROR, mail.Open(0));
  EXPECT_EQ("Mail (R8)", Str(mail.GetTitle()));
  EXPECT_EQ("StdR8Mail", Str(mail.GetTemplateName()));
  mail.Close();
  ASSERT_EQ(LNNOERROR, notebook.Open(0));
  EXPECT_EQ(std::string::npos, Str(notebook.GetTitle()).find("Mail (R"));
  notebook.Close();
  // The second search of the engine names a directory of its own.
  LNDatabaseArray none;
  EXPECT_EQ(LNERR_FILE_NOT_FOUND,
            session.GetDatabases(&none, "", "C:\\no\\such\\directory", LNDBTYPE_TEMPLATE));
  EXPECT_EQ(LNERR_INVALID_ARGUMENT, session.GetDatabases(&none, "", "", 7));
}

TEST(Listings, ServersComeFromTheConfigurationWithTheirDatabases) {
  LNNotesSession session;
  LNText names;
  ASSERT_EQ(LNNOERROR, session.GetServerNames(&names));
  ASSERT_EQ(2, names.GetCount());
  EXPECT_EQ("Mail01/Brindle", Str(names[0]));
  EXPECT_EQ("Apps02/Brindle", Str(names[1].GetText()));

  LNDatabaseArray dbs;
  ASSERT_EQ(LNNOERROR, session.GetDatabases(&dbs, "mail01/brindle", "", LNDBTYPE_DATABASE));
  ASSERT_EQ(2, dbs.GetCount());
  EXPECT_EQ("mail\\jdoe.nsf", Str(dbs[0].GetFilepath()));
  EXPECT_EQ("jdoe.nsf", Str(dbs[0].GetFilename()));
  EXPECT_EQ("names.nsf", Str(dbs[1].GetFilepath()));
  LNDatabase jdoe = dbs[0];
  ASSERT_EQ(LNNOERROR, jdoe.Open(0));
  EXPECT_EQ("John Doe", Str(jdoe.GetTitle()));
  EXPECT_EQ("StdR8Mail", Str(jdoe.GetInheritsFromTemplateName()));
  jdoe.Close();

  LNDatabase byPath;
  EXPECT_EQ(LNNOERROR, session.GetDatabase("mail\\jdoe.nsf", &byPath, "Mail01/Brindle"));
  LNDatabaseArray empty;
  EXPECT_EQ(LNNOERROR, session.GetDatabases(&empty, "Apps02/Brindle", "", LNDBTYPE_DATABASE));
  EXPECT_EQ(0, empty.GetCount());
  EXPECT_EQ(LNERR_SERVER_UNKNOWN, session.GetDatabases(&empty, "Elsewhere/Acme", "", LNDBTYPE_DATABASE));
  EXPECT_EQ(LNERR_SERVER_UNKNOWN, session.GetDatabase("x.nsf", &byPath, "Elsewhere/Acme"));
}

TEST(CreateFromTemplate, CopiesTheDesignAndRecordsTheTemplate) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir, "Archive 2024.nsf");
  EXPECT_EQ("Archive 2024", Str(db.GetTitle()));
  EXPECT_EQ("", Str(db.GetTemplateName()));
  EXPECT_EQ("StdR8Mail", Str(db.GetInheritsFromTemplateName()));
  EXPECT_TRUE(db.ViewFolderExists("($Inbox)"));
  EXPECT_EQ(dir.File("Archive 2024.nsf"), Str(db.GetFilepath()));
  db.Close();

  LNNotesSession session;
  LNCreateDatabaseOptions options;
  options.SetTitle("Titled");
  LNDatabase created;
  ASSERT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate("notebook.ntf", "", Ln(dir.File("b.nsf")), "",
                                                          options, &created));
  ASSERT_EQ(LNNOERROR, created.Open(0));
  EXPECT_EQ("Titled", Str(created.GetTitle()));
  EXPECT_FALSE(created.ViewFolderExists("($Inbox)"));
  created.Close();
}

TEST(CreateFromTemplate, LeavesEveryFileBesideTheNewDatabaseAsItWas) {
  // Files another program keeps beside the target, named as a half-made database might be.
  testsupport::TempDir dir;
  const std::vector<std::string> others = {"m.nsf.creating", "m.nsf.creating-wal", "m.nsf.1-1.creating"};
  for (const std::string& name : others) WriteText(dir.File(name), "another program's " + name);
  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(dir.File("m.nsf")), ""));
  for (const std::string& name : others)
    EXPECT_EQ("another program's " + name, testsupport::ReadFileBytes(dir.File(name))) << name;
  // Nothing of the making stays beside it.
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(dir.File("*").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  std::vector<std::string> names;
  do {
    if (found.cFileName[0] != '.') names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(others.size() + 1, names.size());
}

// The id of a process that ran and has ended.
DWORD EndedProcessId() {
  std::wstring command = Wide(Quote(ProgramPath("notes_test_helper.exe")));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!testsupport::CreateProcessRetrying(&command[0], FALSE, 0, nullptr, nullptr, &startup, &process))
    return 0;
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return process.dwProcessId;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(CreateFromTemplate, RemovesWhatACreationKilledHalfWayLeftOnceItsProcessNoLongerRuns) {
  testsupport::TempDir dir;
  const DWORD ended = EndedProcessId();
  ASSERT_NE(0u, ended);
  const std::string dead = dir.File("m.nsf." + std::to_string(ended) + "-1.creating");
  WriteText(dead, std::string("SQLite format 3\0", 16) + std::string(4080, 'x'));
  for (const char* side : {"-wal", "-shm", "-journal"}) WriteText(dead + side, "what SQLite kept beside it");
  // Killed between claiming the name and SQLite's first write.
  const std::string claimed = dir.File("m.NSF." + std::to_string(ended) + "-2.creating");
  WriteText(claimed, "");
  // A process that runs may still be making its database; a file that SQLite did not write is another
  // program's, whatever its name.
  const std::string running = dir.File("m.nsf." + std::to_string(GetCurrentProcessId()) + "-999.creating");
  WriteText(running, "");
  const std::string foreign = dir.File("m.nsf." + std::to_string(ended) + "-3.creating");
  WriteText(foreign, "another program's file");
  // Another database's building file is not this one's to clear.
  const std::string other = dir.File("other.nsf." + std::to_string(ended) + "-1.creating");
  WriteText(other, "");

  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(dir.File("m.nsf")), ""));
  for (const std::string& gone : {dead, dead + "-wal", dead + "-shm", dead + "-journal", claimed})
    EXPECT_FALSE(Exists(gone)) << gone;
  for (const std::string& kept : {running, foreign, other}) EXPECT_TRUE(Exists(kept)) << kept;
  EXPECT_EQ("another program's file", testsupport::ReadFileBytes(foreign));
}

TEST(CreateFromTemplate, ANameItsDirectoryCannotTakeForTheFileBeingMadeEndsTheCreation) {
  testsupport::TempDir dir;
  // A name of 250 characters: the one the file is made under is longer than a directory entry can be.
  const std::string target = dir.File(std::string(246, 'n') + ".nsf");
  LNNotesSession session;
  const LNSTATUS status = session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(target), "");
  EXPECT_NE(LNNOERROR, status);
  EXPECT_FALSE(Exists(target));
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(dir.File("*").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  int files = 0;
  do {
    if (found.cFileName[0] != '.') ++files;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(0, files);
}

TEST(CreateFromTemplate, RefusesAnExistingTargetAMissingTemplateAndAFileThatIsNoDatabase) {
  testsupport::TempDir dir;
  LNNotesSession session;
  const LNString target = Ln(dir.File("t.nsf"));
  ASSERT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate("stdmail.ntf", "", target, ""));
  EXPECT_EQ(LNERR_ALREADY_EXISTS, session.CreateDatabaseFromTemplate("stdmail.ntf", "", target, ""));
  EXPECT_EQ(LNERR_TEMPLATE_NOT_FOUND,
            session.CreateDatabaseFromTemplate("nothere.ntf", "", Ln(dir.File("u.nsf")), ""));
  EXPECT_EQ(LNERR_FILE_NOT_FOUND,
            session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(dir.File("no dir\\u.nsf")), ""));

  WriteText(dir.File("text.nsf"), "just some text, not a database at all");
  LNDatabase db;
  ASSERT_EQ(LNNOERROR, session.GetDatabase(Ln(dir.File("text.nsf")), &db, ""));
  EXPECT_EQ(LNERR_NOT_A_DATABASE, db.Open(0));
  EXPECT_EQ(LNERR_NOT_A_DATABASE,
            session.CreateDatabaseFromTemplate(Ln(dir.File("text.nsf")), "", Ln(dir.File("v.nsf")), ""));
  EXPECT_EQ(LNERR_DATABASE_NOT_OPEN, db.CreateFolder("x"));
}

TEST(Faults, EachKeyFailsItsNthCall) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  SetEnvironmentVariableA(
      "STANDIN_FAULTS",
      "notes.save=2,notes.createfolder,notes.createitem=3,notes.attach,notes.getviewfolder=2,"
      "notes.getdatabase,notes.createfromtemplate");
  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  LNDocument doc;
  ASSERT_EQ(LNNOERROR, db.CreateDocument(&doc));
  EXPECT_EQ(LNNOERROR, doc.CreateItem("A", LNText("1"), 8, LNITEMOPTION_APPEND));
  EXPECT_EQ(LNNOERROR, doc.CreateItem("B", LNText("2"), 8, LNITEMOPTION_APPEND));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, doc.CreateItem("C", LNText("3"), 8, LNITEMOPTION_APPEND));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, doc.CreateAttachment(Ln(dir.File("target.nsf")), "a", 1));
  EXPECT_EQ(LNNOERROR, doc.Save(0));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, doc.Save(0));
  EXPECT_EQ(LNNOERROR, doc.Save(0));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, db.CreateFolder("F"));
  EXPECT_EQ(LNNOERROR, db.CreateFolder("F"));
  LNViewFolder folder;
  EXPECT_EQ(LNNOERROR, db.GetViewFolder("F", &folder));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, db.GetViewFolder("F", &folder));
  LNDatabase other;
  EXPECT_EQ(LNERR_SIMULATED_FAULT, session.GetDatabase(Ln(dir.File("target.nsf")), &other, ""));
  EXPECT_EQ(LNERR_SIMULATED_FAULT,
            session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(dir.File("c.nsf")), ""));
  SetEnvironmentVariableA("STANDIN_FAULTS", nullptr);
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  EXPECT_EQ(LNNOERROR, doc.Save(0));
  db.Close();
}

TEST(Latency, OpeningADatabaseWaitsAsLongAsTheEnvironmentSays) {
  LNNotesSession session;
  LNDatabaseArray dbs;
  ASSERT_EQ(LNNOERROR, session.GetDatabases(&dbs, "Mail01/Brindle", "", LNDBTYPE_DATABASE));
  ASSERT_GE(dbs.GetCount(), 1);
  LNDatabase db = dbs[0];

  SetEnvironmentVariableA("STANDIN_LATENCY", "notes.opendatabase=400");
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(LNNOERROR, db.Open(0));
  // A lower bound only: the wait is the behaviour, the rest of the open's time is not.
  EXPECT_GE(GetTickCount64() - start, 350u);
  db.Close();
  SetEnvironmentVariableA("STANDIN_LATENCY", nullptr);
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
}
