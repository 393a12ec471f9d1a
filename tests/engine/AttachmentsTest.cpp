// Attachment copying through private temporary files: the Notes name rule, hostile file names,
// attachments that cannot be saved, many and large attachments, and what is left on disk.
#include "AttachmentFiles.h"
#include "SaverTestSupport.h"

#include <fstream>

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

// Text for failure messages and file names.
std::string Narrow(const CString& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &out[0], n, nullptr, nullptr);
  return out;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Temporary folders of this process's attachment copying in the temporary directory, with the number
// of files in them. Other test programs running at the same time copy attachments too, so only
// folders named after our process count.
int LeftoverFolders(int* files = nullptr) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring prefix =
      std::wstring(temp) + L"brindle-att-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  if (files) *files = 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    count++;
    const std::wstring folder = std::wstring(temp) + found.cFileName + L"\\";
    WIN32_FIND_DATAW inside;
    HANDLE list = FindFirstFileW((folder + L"*").c_str(), &inside);
    if (list == INVALID_HANDLE_VALUE) continue;
    do {
      if (files && !(inside.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++*files;
    } while (FindNextFileW(list, &inside));
    FindClose(list);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

// The private folder of this process's attachment copying (the first, when there are several), without
// a trailing backslash; "" when there is none.
std::wstring PrivateFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring prefix =
      std::wstring(temp) + L"brindle-att-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::wstring();
  FindClose(search);
  return std::wstring(temp) + found.cFileName;
}

class Attachments : public SaverTest {
 protected:
  void SetUp() override {
    SaverTest::SetUp();
    leftoverBefore_ = LeftoverFolders();
  }
  void TearDown() override {
    // Every attachment's file is gone once it was attached (or failed); the conversion's folder stays
    // until the store is done with the database.
    int files = -1;
    EXPECT_GE(leftoverBefore_ + 1, LeftoverFolders(&files));
    EXPECT_EQ(0, files);
    store_.Close();
    EXPECT_EQ(leftoverBefore_, LeftoverFolders());
    SaverTest::TearDown();
  }
  // Copies the attachments of the inbox's first message into a new note; the note, not filed.
  LNDocument Copy(const pb::Message& message, const char* automationFaults = "") {
    pb::Store store;
    store.AddFolder("Inbox").messages.push_back(message);
    OpenPst(store, automationFaults);
    RdoMailDispatch mail(Item("Inbox"));
    LNDocument note;
    EXPECT_EQ(LNNOERROR, store_.m_db.CreateDocument(&note));
    note.Open(0);
    store_.CopyAttachments(mail.GetAttachments(), note);
    return note;
  }
  std::string Content(const LNDocument& note, LNINT index) {
    LNAttachmentArray attachments;
    note.GetAttachments(&attachments);
    const std::string path = dir_.File("extracted.bin");
    EXPECT_EQ(LNNOERROR, attachments[index].Extract(LnOf(path)));
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  int leftoverBefore_ = 0;
};

}  // namespace

TEST_F(Attachments, ItemWithoutAttachmentsLeavesTheNoteUnsaved) {
  const LNDocument note = Copy(Mail("plain"));
  EXPECT_TRUE(AttachmentNames(note).empty());
  EXPECT_EQ(0u, note.GetNoteID());
}

TEST_F(Attachments, NamesAreUpperCasedAndRepeatedNamesNumbered) {
  pb::Message mail = Mail("reports");
  mail.AttachFile("Report.doc", Bytes("one"))
      .AttachFile("REPORT.DOC", Bytes("two"))
      .AttachFile("report.doc", Bytes("three"));
  mail.AttachFile("notes.txt", Bytes("n")).AttachFile("r\xC3\xA9sum\xC3\xA9.doc", Bytes("cv"));
  const LNDocument note = Copy(mail);
  const std::vector<std::string> expected = {"REPORT.DOC", "(0)REPORT.DOC", "(1)REPORT.DOC", "NOTES.TXT",
                                             "R\xC3\xA9SUM\xC3\xA9.DOC"};
  EXPECT_EQ(expected, AttachmentNames(note));
  EXPECT_EQ("one", Content(note, 0));
  EXPECT_EQ("two", Content(note, 1));
  EXPECT_EQ("three", Content(note, 2));
  EXPECT_NE(0u, note.GetNoteID());
}

TEST_F(Attachments, HostileNamesNeverReachTheFileSystemOutsideThePrivateFolder) {
  pb::Message mail = Mail("hostile");
  const std::vector<std::string> names = {
      "..\\..\\escape.txt",           "../up.txt",    "CON", "nul.txt", "a:b*c?.txt",
      std::string(300, 'x') + ".txt", "trailing. . ."};
  for (const std::string& name : names) mail.AttachFile(name, Bytes(name));
  const LNDocument note = Copy(mail);
  ASSERT_EQ(names.size(), AttachmentNames(note).size());
  for (size_t i = 0; i < names.size(); i++) EXPECT_EQ(names[i], Content(note, static_cast<LNINT>(i))) << i;
  char temp[MAX_PATH + 1];
  GetTempPathA(MAX_PATH + 1, temp);
  for (const char* stray : {"escape.txt", "up.txt", "..\\escape.txt", "..\\up.txt"})
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(temp) + stray).c_str())) << stray;
}

TEST_F(Attachments, SafeFileNamesKeepTheLastComponentAndAvoidDevices) {
  EXPECT_EQ(CString(L"evil.txt"), SafeAttachmentFileName(L"..\\..\\windows\\evil.txt"));
  EXPECT_EQ(CString(L"evil.txt"), SafeAttachmentFileName(L"/etc/evil.txt"));
  EXPECT_EQ(CString(L"a_b_c_.txt"), SafeAttachmentFileName(L"a:b*c?.txt"));
  EXPECT_EQ(CString(L"_CON"), SafeAttachmentFileName(L"CON"));
  EXPECT_EQ(CString(L"_com1.log"), SafeAttachmentFileName(L"com1.log"));
  EXPECT_EQ(CString(L"attachment"), SafeAttachmentFileName(L".."));
  EXPECT_EQ(CString(L"attachment"), SafeAttachmentFileName(L""));
  const CString longName = SafeAttachmentFileName(CString(L'y', 400) + L".pdf");
  EXPECT_EQ(ATTACHMENT_FILE_NAME_LIMIT, longName.GetLength());
  EXPECT_EQ(CString(L".pdf"), longName.Right(4));
}

TEST_F(Attachments, AttachmentThatCannotBeSavedIsSkippedAndTheOthersKept) {
  pb::Message mail = Mail("partly broken");
  mail.AttachFile("first.txt", Bytes("1")).AttachFile("empty.bin", {}).AttachFile("third.txt", Bytes("3"));
  mail.AttachFile("fourth.txt", Bytes("4"));
  const LNDocument note = Copy(mail, "rdo.saveasfile=3");
  // The empty attachment is a file of no bytes; the third one fails.
  const std::vector<std::string> expected = {"FIRST.TXT", "EMPTY.BIN", "FOURTH.TXT"};
  EXPECT_EQ(expected, AttachmentNames(note));
  EXPECT_EQ("", Content(note, 1));
  EXPECT_EQ("4", Content(note, 2));
  // The one left behind is recorded, with its name and why.
  ASSERT_EQ(1, store_.m_notConverted.GetCount());
  const NotConvertedEntry& lost = store_.m_notConverted.GetAt(0);
  EXPECT_EQ(NotConvertedEntry::ATTACHMENT, lost.kind);
  EXPECT_EQ(CString(L"third.txt"), lost.attachment);
  EXPECT_GE(lost.reason.Find(L"rdo.saveasfile"), 0) << Narrow(lost.reason);
}

TEST_F(Attachments, NotesNamesAreSafeToDetachOnWindows) {
  pb::Message mail = Mail("hostile names");
  const std::string rtl = "RTL\xE2\x80\xAETXT.EXE";  // U+202E, the right-to-left override
  const std::string marks =
      "a\xE2\x80\x8E"
      "b\xE2\x81\xA6"
      "c\xE2\x81\xA9"
      ".doc";  // U+200E, U+2066, U+2069
  const std::vector<std::string> names = {"CON", "AUX", "COM1", "NUL.TXT", std::string(400, 'n') + ".txt",
                                          rtl,   marks};
  for (const std::string& name : names) mail.AttachFile(name, Bytes(name));
  const LNDocument note = Copy(mail);
  const std::vector<std::string> got = AttachmentNames(note);
  ASSERT_EQ(names.size(), got.size());
  EXPECT_EQ("_CON", got[0]);
  EXPECT_EQ("_AUX", got[1]);
  EXPECT_EQ("_COM1", got[2]);
  EXPECT_EQ("_NUL.TXT", got[3]);
  EXPECT_EQ(std::string(251, 'N') + ".TXT", got[4]);
  EXPECT_EQ("RTLTXT.EXE", got[5]);
  EXPECT_EQ("ABC.DOC", got[6]);
  for (size_t i = 0; i < names.size(); i++) EXPECT_EQ(names[i], Content(note, static_cast<LNINT>(i))) << i;
  // Nothing of them was written beside the private folder (device names always "exist": not asked).
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  for (const wchar_t* stray : {L"_CON", L"_NUL.TXT", L"_COM1", L"RTLTXT.EXE", L"RTL\x202ETXT.EXE"})
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((std::wstring(temp) + stray).c_str()));
}

TEST_F(Attachments, NumberedNamesStayWithinTheLimitAndKeepTheExtension) {
  CStringArray used;
  const CString name = NotesAttachmentName(CString(L'z', 300) + L".pdf");
  ASSERT_EQ(NOTES_ATTACHMENT_NAME_LIMIT, name.GetLength());
  used.Add(UniqueAttachmentName(name, used));
  const CString second = UniqueAttachmentName(name, used);
  EXPECT_EQ(NOTES_ATTACHMENT_NAME_LIMIT, second.GetLength());
  EXPECT_EQ(CString(L"(0)ZZZ"), second.Left(6));
  EXPECT_EQ(CString(L".PDF"), second.Right(4));
  EXPECT_EQ(CString(L"attachment"), NotesAttachmentName(L"\x202E"));
}

TEST_F(Attachments, EmbeddedMessageArrivesAsAMsgFile) {
  pb::Message mail = Mail("forward");
  mail.AttachMessage("Original", Mail("original"));
  const LNDocument note = Copy(mail);
  const std::vector<std::string> expected = {"ORIGINAL.MSG"};
  EXPECT_EQ(expected, AttachmentNames(note));
}

TEST_F(Attachments, HundredAttachmentsAreAllCopied) {
  pb::Message mail = Mail("many");
  for (int i = 0; i < 100; i++) mail.AttachFile("part.txt", Bytes(std::to_string(i)));
  const LNDocument note = Copy(mail);
  const std::vector<std::string> names = AttachmentNames(note);
  ASSERT_EQ(100u, names.size());
  EXPECT_EQ("PART.TXT", names[0]);
  EXPECT_EQ("(98)PART.TXT", names[99]);
  EXPECT_EQ("99", Content(note, 99));
}

TEST_F(Attachments, FiftyMegabyteAttachmentArrivesWhole) {
  std::vector<uint8_t> data(50u << 20);
  for (size_t i = 0; i < data.size(); i++) data[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
  pb::Message mail = Mail("large");
  mail.AttachFile("large.bin", data);
  const LNDocument note = Copy(mail);
  ASSERT_EQ(1u, AttachmentNames(note).size());
  const std::string content = Content(note, 0);
  ASSERT_EQ(data.size(), content.size());
  EXPECT_EQ(0, memcmp(data.data(), content.data(), data.size()));
}

TEST_F(Attachments, SaverFailingAfterTheAttachmentsFilesNothingAndLeavesNoDocumentOutsideAFolder) {
  pb::Store store;
  pb::Message mail = Mail("not a task");
  mail.AttachFile("a.txt", Bytes("a"));
  store.AddFolder("Tasks", "IPF.Task").messages.push_back(mail);
  OpenPst(store);
  RdoTaskDispatch item(Item("Tasks"));
  EXPECT_TRUE(ThrowsAutomationError([&] { store_.SaveTask(&item); }));
  EXPECT_TRUE(Filed().empty());
  // The attachment copying had saved the note; the failing saver took it out again.
  LNNoteArray documents;
  ASSERT_EQ(LNNOERROR, store_.m_db.GetDocuments(&documents));
  EXPECT_EQ(0, documents.GetCount());
}

TEST_F(Attachments, SaversOtherThanContactsCarryTheAttachments) {
  pb::Store store;
  pb::Message meeting = Appointment("with agenda");
  meeting.AttachFile("agenda.txt", Bytes("agenda"));
  store.AddFolder("Calendar", "IPF.Appointment").messages.push_back(meeting);
  pb::Message entry = Journal("with log");
  entry.AttachFile("log.txt", Bytes("log"));
  store.AddFolder("Journal", "IPF.Journal").messages.push_back(entry);
  OpenPst(store);
  RdoAppointmentDispatch appointment(Item("Calendar"));
  store_.SaveAppointment(&appointment);
  RdoJournalDispatch journal(Item("Journal"));
  store_.SaveJournal(&journal);
  const std::vector<LNDocument> notes = Filed();
  ASSERT_EQ(2u, notes.size());
  EXPECT_EQ(std::vector<std::string>{"AGENDA.TXT"}, AttachmentNames(notes[0]));
  EXPECT_EQ(std::vector<std::string>{"LOG.TXT"}, AttachmentNames(notes[1]));
}

TEST_F(Attachments, OneFolderServesTheConversionAndGoesWhenTheNextDatabaseOpens) {
  pb::Store store;
  pb::Folder& inbox = store.AddFolder("Inbox");
  for (const char* name : {"first.txt", "second.txt", "third.txt"}) {
    pb::Message mail = Mail(name);
    mail.AttachFile(name, Bytes(name));
    inbox.messages.push_back(mail);
  }
  OpenPst(store);
  int files = -1;
  for (long i = 1; i <= 3; i++) {
    RdoMailDispatch mail(Item("Inbox", i));
    store_.SaveMail(&mail);
    EXPECT_EQ(leftoverBefore_ + 1, LeftoverFolders(&files)) << i;
    EXPECT_EQ(0, files) << i;
    if (i == 2) {
      // Someone empties the temporary directory during the conversion: the next item makes it again.
      const std::wstring folder = PrivateFolder();
      ASSERT_FALSE(folder.empty());
      EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
    }
  }
  const std::vector<LNDocument> notes = Filed();
  ASSERT_EQ(3u, notes.size());
  EXPECT_EQ(std::vector<std::string>{"THIRD.TXT"}, AttachmentNames(notes[2]));
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(ToCString(nsf_))) << store_.GetErrorText();
  EXPECT_EQ(leftoverBefore_, LeftoverFolders());
}

TEST_F(Attachments, FileInTheWayIsLeftAloneAndTheAttachmentSavedBesideIt) {
  pb::Store store;
  pb::Folder& inbox = store.AddFolder("Inbox");
  const char* const names[] = {"first.txt", "held.txt", "held.txt"};
  for (int i = 0; i < 3; i++) {
    pb::Message mail = Mail(names[i]);
    mail.AttachFile(names[i], Bytes("content " + std::to_string(i)));
    inbox.messages.push_back(mail);
  }
  OpenPst(store);
  RdoMailDispatch first(Item("Inbox", 1));
  store_.SaveMail(&first);

  // Another program holds a file of the next attachment's name in the private folder, and keeps
  // others from writing or removing it.
  const std::wstring folder = PrivateFolder();
  ASSERT_FALSE(folder.empty());
  const std::wstring held = folder + L"\\held.txt";
  HANDLE holder =
      CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  DWORD written = 0;
  WriteFile(holder, "theirs", 6, &written, nullptr);

  for (long i = 2; i <= 3; i++) {
    RdoMailDispatch mail(Item("Inbox", i));
    store_.SaveMail(&mail);
  }
  EXPECT_EQ(0, store_.m_notConverted.GetCount());
  const std::vector<LNDocument> notes = Filed();
  ASSERT_EQ(3u, notes.size());
  for (int i = 1; i < 3; i++) {
    EXPECT_EQ(std::vector<std::string>{"HELD.TXT"}, AttachmentNames(notes[i])) << i;
    EXPECT_EQ("content " + std::to_string(i), Content(notes[i], 0)) << i;
  }
  // Their file is untouched.
  LARGE_INTEGER size = {};
  GetFileSizeEx(holder, &size);
  EXPECT_EQ(6, size.QuadPart);
  CloseHandle(holder);
  EXPECT_TRUE(DeleteFileW(held.c_str()));
}
