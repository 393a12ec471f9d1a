// The main frame's conversion driver on a worker thread, as the saving page runs it: a PST written by
// the builder into a new NSF through the Notes library, the Outlook Folders dialog answered with real
// clicks, what the driver reports through its sinks and result codes, the NSF file it leaves, and
// the memory the process keeps from one run to the next.
#include <afxdisp.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "MainFrame.h"
#include "OutlookFoldersDlg.h"
#include "PstRecipe.h"
#include "PstWriter.h"
#include "Recipes.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "lnnotes.h"

namespace {

namespace pb = pstbuilder;

using apptest::Text;

std::string Utf8(const CString& text) { return testsupport::Utf8(static_cast<LPCWSTR>(text)); }

// Stands where a bar or the status line of the saving page would; written from the worker.
class RecordingSink : public IProgressSink {
 public:
  void SetText(const CString& text) override {
    {
      std::lock_guard<std::mutex> lock(m_lock);
      m_texts.push_back(text);
    }
    if (m_onText) m_onText(text);
  }
  // Runs on the worker with every text, as it is shown.
  std::function<void(const CString&)> m_onText;
  void SetPos(int percent) override {
    std::lock_guard<std::mutex> lock(m_lock);
    m_positions.push_back(percent);
  }
  std::vector<CString> Texts() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_texts;
  }
  std::vector<int> Positions() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_positions;
  }
  CString Last() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_texts.empty() ? CString() : m_texts.back();
  }
  void Forget() {
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<CString>().swap(m_texts);
    std::vector<int>().swap(m_positions);
  }

 private:
  std::mutex m_lock;
  std::vector<CString> m_texts;
  std::vector<int> m_positions;
};

class ConversionDriver : public ::testing::Test {
 protected:
  void TearDown() override { ::SetEnvironmentVariableA("STANDIN_FAULTS", nullptr); }

  // Starts the Notes runtime of the frame (faults named now are the ones the library sees).
  void StartNotes(const char* faults = nullptr) {
    ::SetEnvironmentVariableA("STANDIN_FAULTS", faults);
    ASSERT_EQ(1, m_frame.m_notesStore.InitSession()) << Utf8(m_frame.m_notesStore.GetErrorText());
  }

  void UseSource(const pb::Store& pst) {
    const std::string path = m_dir.File("source.pst");
    pb::WritePst(pst, path);
    m_frame.SetSourcePath(Text(path));
  }

  static pb::Store ThreeMailFolders() {
    pb::Store pst;
    const char* names[] = {"Inbox", "Projects", "Archive"};
    for (int f = 0; f < 3; ++f) {
      pb::Folder& folder = pst.AddFolder(names[f]);
      for (int i = 0; i <= f; ++i) {
        pb::Message mail;
        mail.Subject(std::string(names[f]) + " " + std::to_string(i)).Body("body");
        folder.messages.push_back(mail);
      }
    }
    return pst;
  }

  static pb::Store TenMailsInThreeFolders() {
    pb::Store pst;
    for (const char* name : {"Inbox", "Projects", "Archive"}) {
      pb::Folder& folder = pst.AddFolder(name);
      for (int i = 1; i <= 10; ++i)
        folder.messages.push_back(pb::Message().Subject(name + std::to_string(i)).Body("b"));
    }
    return pst;
  }

  // Runs action on the worker once, as the item bar shows the nth "Saving email 3 of 10" of the run.
  void AtThirdItemOfFolder(int nth, const std::function<void()>& action) {
    m_itemBar.m_onText = [this, nth, action, seen = 0](const CString& text) mutable {
      if (text.Find(L"Saving email 3 of 10") == 0 && ++seen == nth) action();
    };
  }

  // Another program removes the NSF at path and its side files.
  static void RemoveNsf(const std::string& path) {
    for (const char* side : {"", "-wal", "-shm"})
      EXPECT_TRUE(testsupport::RemoveAsHostProgram(path + side)) << side;
  }

  // The documents a target line says this run saved and lost: "...: the 10 documents this run saved ...".
  static long LostDocuments(const CString& lines) {
    const int at = lines.Find(L": the ");
    return at >= 0 ? _wtol(static_cast<LPCWSTR>(lines) + at + 6) : -1;
  }

  // Runs the driver on its own thread, as the saving page's worker does (OLE and the Notes thread
  // attached), with the given answer to the Outlook Folders dialog (0: the driver never shows it).
  // beforeAnswer runs on the test's thread while the dialog shows, given the dialog. With targetLines,
  // the worker then ends the use of the NSF as the page's worker does, and its words go there.
  int Convert(int answer, const std::function<void(HWND)>& beforeAnswer = nullptr,
              CString* targetLines = nullptr) {
    int result = -1;
    apptest::ModalRun run(L"Outlook Folders", [&] {
      AfxOleInit();
      LNNotesSession session;
      session.InitThread();
      result = m_frame.ConvertPstToNsf(nullptr, &m_folderBar, &m_itemBar, &m_status);
      m_frame.DeletePstSession();
      if (targetLines != nullptr) *targetLines = m_frame.CloseTarget(result == CONVERSION_DONE);
      session.TermThread();
      AfxOleTermThread();
    });
    if (answer != 0) {
      HWND dialog = run.WaitForDialog();
      EXPECT_NE(dialog, nullptr) << "the Outlook Folders dialog did not show";
      if (dialog != nullptr) {
        testsupport::PumpMessages(200);
        if (beforeAnswer) beforeAnswer(dialog);
        apptest::ClickControl(dialog, answer);
      }
    }
    run.Finish();
    return result;
  }

  // nsfdump's counts of a copy of the file at path taken elsewhere alone, as a user copies a finished
  // NSF without the files beside it.
  static std::string CountsOfACopyOfTheFileAlone(const std::string& path) {
    testsupport::TempDir elsewhere;
    const std::string copy = elsewhere.File("copy.nsf");
    EXPECT_TRUE(::CopyFileW(Text(path), Text(copy), TRUE)) << path;
    std::string counts;
    EXPECT_EQ(0u, testsupport::RunProgram(
                      "\"" + testsupport::SiblingProgramPath("nsfdump.exe") + "\" counts \"" + copy + "\"",
                      &counts));
    return counts;
  }

  long DocumentsIn(const CString& name) {
    try {
      LNViewFolder folder;
      m_frame.m_notesStore.m_db.GetViewFolder(CStringToLNString(name), &folder);
      folder.Open(0);
      return folder.GetEntryCount();
    } catch (LNSTATUS) {
      return -1;
    }
  }

  testsupport::TempDir m_dir;
  CMainFrame m_frame;
  RecordingSink m_folderBar;
  RecordingSink m_itemBar;
  RecordingSink m_status;
};

TEST_F(ConversionDriver, EveryTickedFolderIsSavedWhileTheFolderBarClimbsToOneHundred) {
  StartNotes();
  UseSource(ThreeMailFolders());
  m_frame.SetTargetNsf(Text(m_dir.File("target.NSF")), 0);

  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK)) << Utf8(m_status.Last());

  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_EQ(2, DocumentsIn(L"Outlook\\Projects"));
  EXPECT_EQ(3, DocumentsIn(L"Outlook\\Archive"));

  // The status texts in their order, one "Saving Folder : " per ticked folder (the top one too).
  const std::vector<CString> texts = m_status.Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[0], L"Opening pst file...");
  EXPECT_EQ(texts[1], L"Opening NSF file...");
  EXPECT_EQ(texts[2], L"Getting folder information from pst file...");
  std::vector<CString> saving(texts.begin() + 3, texts.end());
  for (const CString& text : saving) EXPECT_EQ(text.Left(16), L"Saving Folder : ") << Utf8(text);
  EXPECT_EQ(saving.back(), L"Saving Folder : Archive\\");

  // The folder bar starts at 0, then shows 100 * (i + 1) / count before folder i, ending at 100.
  const int count = static_cast<int>(saving.size());
  std::vector<int> expected = {0};
  for (int i = 0; i < count; ++i) expected.push_back(100 * (i + 1) / count);
  EXPECT_EQ(m_folderBar.Positions(), expected);
  EXPECT_EQ(m_folderBar.Texts(), saving);
  EXPECT_TRUE(m_frame.GetNotConverted().IsEmpty());
  EXPECT_EQ(m_frame.m_pPstSession, nullptr);
}

TEST_F(ConversionDriver, CancelInTheFolderDialogEndsWithUserAborted) {
  StartNotes();
  UseSource(ThreeMailFolders());
  m_frame.SetTargetNsf(Text(m_dir.File("cancelled.nsf")), 0);

  EXPECT_EQ(CONVERSION_CANCELLED, Convert(IDCANCEL));
  EXPECT_EQ(m_status.Last(), L"User aborted the process");
  EXPECT_EQ(-1, DocumentsIn(L"Outlook\\Inbox"));
}

TEST_F(ConversionDriver, AFileThatIsNoPstEndsWithResultZeroAndKeepsTheReason) {
  StartNotes();
  const std::string path = m_dir.File("letter.pst");
  FILE* file = nullptr;
  ASSERT_EQ(0, fopen_s(&file, path.c_str(), "wb"));
  fputs("Dear reader, this is a letter and no personal folders file.\n", file);
  fclose(file);
  m_frame.SetSourcePath(Text(path));
  m_frame.SetTargetNsf(Text(m_dir.File("never.nsf")), 0);

  EXPECT_EQ(CONVERSION_PST_FAILED, Convert(0));
  EXPECT_EQ(m_status.Last(), L"Fail to open pst file...");
  EXPECT_FALSE(m_frame.GetPstOpenError().IsEmpty());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(Text(m_dir.File("never.nsf"))));
}

TEST_F(ConversionDriver, ATargetThatCannotBeMadeEndsWithResultThreeAndAlwaysAText) {
  StartNotes();
  UseSource(ThreeMailFolders());
  m_frame.SetTargetNsf(Text(m_dir.File("no such folder\\target.nsf")), 0);

  EXPECT_EQ(CONVERSION_NSF_FAILED, Convert(0));
  const CString status = m_status.Last();
  EXPECT_FALSE(status.IsEmpty());
  EXPECT_NE(status, L"Opening NSF file...");
}

TEST_F(ConversionDriver, AFolderWhoseNotesFolderFailsIsSkippedAndTheNextIsSaved) {
  // The top folder's Notes folder is the first made; the Inbox's the second.
  StartNotes("notes.createfolder=2");
  UseSource(ThreeMailFolders());
  m_frame.SetTargetNsf(Text(m_dir.File("skipped.nsf")), 0);

  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK)) << Utf8(m_status.Last());
  EXPECT_EQ(-1, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_EQ(2, DocumentsIn(L"Outlook\\Projects"));
  EXPECT_EQ(3, DocumentsIn(L"Outlook\\Archive"));
  EXPECT_EQ(1, m_frame.GetNotConvertedCounts().folders);
  EXPECT_EQ(1, m_frame.GetNotConvertedCounts().items) << "the Inbox's one item is counted with it";
  ASSERT_EQ(1, m_frame.GetNotConverted().GetSize());
  EXPECT_EQ(m_frame.GetNotConverted()[0].Left(7), L"Inbox\\\t");
  EXPECT_EQ(m_frame.GetNotConverted()[0].Find(
                L"\t\t1 item not converted: The Notes folder Outlook\\Inbox cannot be "),
            6)
      << Utf8(m_frame.GetNotConverted()[0]);
}

TEST_F(ConversionDriver, APstCutShortDuringTheRunEndsNotCompletedAndCountsEveryItemOfTheTickedFolders) {
  StartNotes();
  pb::Store pst;
  for (const char* name : {"Inbox", "Projects", "Archive"}) {
    pb::Folder& folder = pst.AddFolder(name);
    for (int i = 1; i <= 10; ++i)
      folder.messages.push_back(pb::Message().Subject(name + std::to_string(i)).Body(std::string(6000, 'b')));
  }
  UseSource(pst);
  m_frame.SetTargetNsf(Text(m_dir.File("cut.nsf")), 0);
  // Another program cuts the PST short while the third item of the Inbox is saved.
  const std::string source = m_dir.File("source.pst");
  bool cut = false;
  m_itemBar.m_onText = [&](const CString& text) {
    if (cut || text.Find(L"Saving email 3 of 10") != 0) return;
    cut = testsupport::CutFileShort(source, 4096);
  };

  ASSERT_EQ(CONVERSION_PST_UNREADABLE, Convert(IDOK)) << Utf8(m_status.Last());
  EXPECT_TRUE(cut);
  EXPECT_EQ(0, m_status.Last().Find(L"The conversion did not complete. The PST file can no longer be read: "))
      << Utf8(m_status.Last());
  EXPECT_EQ(2, m_frame.GetStepsDone()) << "the folders' step did not complete";
  const long saved = DocumentsIn(L"Outlook\\Inbox");
  EXPECT_GE(saved, 2);
  EXPECT_EQ(-1, DocumentsIn(L"Outlook\\Projects")) << "no folder is made after the failure";
  const NotConvertedCounts& counts = m_frame.GetNotConvertedCounts();
  EXPECT_EQ(2, counts.folders) << Utf8(counts.Text());
  EXPECT_EQ(30, saved + counts.items) << Utf8(counts.Text());
  EXPECT_EQ(0, counts.uncountedFolders);
}

TEST_F(ConversionDriver, APstWrittenOverDuringTheRunEndsNotCompletedSayingSo) {
  StartNotes();
  pb::Store pst;
  for (const char* name : {"Inbox", "Projects"}) {
    pb::Folder& folder = pst.AddFolder(name);
    for (int i = 1; i <= 10; ++i)
      folder.messages.push_back(pb::Message().Subject(name + std::to_string(i)).Body(std::string(6000, 'b')));
  }
  UseSource(pst);
  m_frame.SetTargetNsf(Text(m_dir.File("overwritten.nsf")), 0);
  const std::string source = m_dir.File("source.pst");
  ASSERT_TRUE(testsupport::AgeFile(source));
  // Another program writes over the middle of the PST, its length unchanged, while the third item of
  // the Inbox is saved.
  bool written = false;
  m_itemBar.m_onText = [&](const CString& text) {
    if (written || text.Find(L"Saving email 3 of 10") != 0) return;
    written = testsupport::WriteOverFileMiddle(source, 16384);
  };

  ASSERT_EQ(CONVERSION_PST_UNREADABLE, Convert(IDOK)) << Utf8(m_status.Last());
  EXPECT_TRUE(written);
  EXPECT_EQ(0, m_status.Last().Find(L"The conversion did not complete. The PST file can no longer be read: "))
      << Utf8(m_status.Last());
  EXPECT_NE(-1, m_status.Last().Find(L"another program wrote to the file after it was opened"))
      << Utf8(m_status.Last());
  const NotConvertedCounts& counts = m_frame.GetNotConvertedCounts();
  EXPECT_EQ(20, DocumentsIn(L"Outlook\\Inbox") + counts.items) << Utf8(counts.Text());
}

TEST_F(ConversionDriver, AStopWhileTheFoldersAreChosenConvertsNoFolderAndStillEndsDone) {
  StartNotes();
  UseSource(ThreeMailFolders());
  m_frame.SetTargetNsf(Text(m_dir.File("stopped.nsf")), 0);

  // The user-interface thread's stop, while the worker waits in its dialog.
  EXPECT_EQ(CONVERSION_DONE, Convert(IDOK, [this](HWND) { m_frame.SetStopFlags(1); }));
  EXPECT_EQ(m_status.Last(), L"Getting folder information from pst file...");
  EXPECT_EQ(-1, DocumentsIn(L"Outlook\\Inbox"));
  // Every folder is left behind with the items the PST states it holds.
  EXPECT_EQ(6, m_frame.GetNotConvertedCounts().items);
  const CStringArray& left = m_frame.GetNotConverted();
  CString all;
  for (INT_PTR i = 0; i < left.GetSize(); ++i) all += left[i] + L"\n";
  EXPECT_NE(-1, all.Find(L"Archive\\\t\t3 items not converted: the conversion was stopped by the user\n"))
      << Utf8(all);
  // The session is gone; a later stop reaches only the flags.
  m_frame.SetStopFlags(0);
  EXPECT_EQ(0, m_frame.m_bStop.load());
}

TEST_F(ConversionDriver, AfterTheRunTheNsfFileAloneHoldsEverySavedDocumentWhileTheTargetStaysOpen) {
  StartNotes();
  UseSource(ThreeMailFolders());
  const std::string target = m_dir.File("target.NSF");
  m_frame.SetTargetNsf(Text(target), 0);

  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK)) << Utf8(m_status.Last());
  // The target stays open in the frame's store until the frame goes.
  ASSERT_TRUE(m_frame.m_notesStore.m_bDbOpen);
  EXPECT_EQ("3\tMemo\tOutlook\\Archive\n1\tMemo\tOutlook\\Inbox\n2\tMemo\tOutlook\\Projects\n",
            CountsOfACopyOfTheFileAlone(target));
}

// A side file that cannot be folded into the NSF (a full disk): the user is told that the NSF holds
// its documents only together with it, with both files named and the documents counted.
TEST_F(ConversionDriver, ASideFileThatCannotBeFoldedInIsNamedWithTheNsfAndItsDocuments) {
  StartNotes("notes.fold");
  UseSource(ThreeMailFolders());
  const std::string target = m_dir.File("target.NSF");
  m_frame.SetTargetNsf(Text(target), 0);

  CString lines;
  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK, nullptr, &lines)) << Utf8(m_status.Last());
  EXPECT_EQ(0, m_frame.m_notesStore.m_bDbOpen);
  const CString nsf = Text(target);
  EXPECT_EQ(0, lines.Find(L"The NSF file " + nsf +
                          L" holds the 6 documents this run saved into it only together with "
                          L"its side file " +
                          nsf +
                          L"-wal: the side file could not be folded into it (The disk is full). Keep the "
                          L"two files together"))
      << Utf8(lines);
}

TEST_F(ConversionDriver, TheSamePstConvertedAgainAndAgainInOneSessionKeepsNoMemory) {
  StartNotes();
  pb::BulkOptions bulk;
  bulk.messages = 2000;
  UseSource(pb::BulkStore(bulk));
  int run = 0;
  auto convert = [&] {
    m_frame.SetTargetNsf(Text(m_dir.File("run" + std::to_string(++run) + ".nsf")), 0);
    ASSERT_EQ(CONVERSION_DONE, Convert(IDOK)) << Utf8(m_status.Last());
    ASSERT_TRUE(m_frame.GetNotConverted().IsEmpty());
    // What the sinks recorded is the test's, not the program's.
    for (RecordingSink* sink : {&m_folderBar, &m_itemBar, &m_status}) sink->Forget();
  };
  // The first run settles what the process keeps once (the automation servers' registration, the
  // Notes library's caches).
  convert();
  const size_t settled = testsupport::HeapBytesInUse();
  for (int i = 0; i < 3; ++i) convert();
  // Each run that kept what the automation servers used while reading the PST (megabytes) would pass
  // this bound on its own.
  EXPECT_LT(testsupport::HeapBytesInUse(), settled + 2 * 1024 * 1024) << "three more runs kept memory";
}

TEST_F(ConversionDriver, SiblingFoldersOfOneNameShowAsOneItemAndAreSavedWhole) {
  StartNotes();
  UseSource(pb::SiblingFoldersStore());
  m_frame.SetTargetNsf(Text(m_dir.File("twins.nsf")), 0);

  int projectItems = -1;
  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK,
                                     [&](HWND dialog) {
                                       HWND tree = ::GetDlgItem(dialog, IDC_FOLDER_TREE);
                                       HTREEITEM hInbox = TreeView_GetChild(tree, TreeView_GetRoot(tree));
                                       TreeView_Expand(tree, hInbox, TVE_EXPAND);
                                       testsupport::PumpMessages(200);
                                       projectItems = 0;
                                       for (HTREEITEM h = TreeView_GetChild(tree, hInbox); h != nullptr;
                                            h = TreeView_GetNextSibling(tree, h))
                                         ++projectItems;
                                       testsupport::SaveWindowPng(dialog, L"driver_sibling_folders.png");
                                     }))
      << Utf8(m_status.Last());
  EXPECT_EQ(1, projectItems);
  EXPECT_EQ(5, DocumentsIn(L"Outlook\\Inbox\\Projects"));
  EXPECT_TRUE(m_frame.GetNotConverted().IsEmpty());
}

TEST_F(ConversionDriver, AttachmentsLeftBehindAreCountedApartFromTheItems) {
  StartNotes();
  pb::Store pst;
  pb::Folder& contacts = pst.AddFolder("Contacts", "IPF.Contact");
  for (int i = 1; i <= 3; ++i) {
    pb::Message contact;
    contact.messageClass = "IPM.Contact";
    contact.Subject("contact " + std::to_string(i)).AttachFile("card.txt", {'h', 'i'});
    contacts.messages.push_back(contact);
  }
  UseSource(pst);
  m_frame.SetTargetNsf(Text(m_dir.File("contacts.nsf")), 0);

  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK)) << Utf8(m_status.Last());
  EXPECT_EQ(3, DocumentsIn(L"Outlook\\Contacts"));
  const NotConvertedCounts& counts = m_frame.GetNotConvertedCounts();
  EXPECT_EQ(0, counts.folders);
  EXPECT_EQ(0, counts.items);
  EXPECT_EQ(3, counts.attachments);
  EXPECT_EQ(counts.Text(), L"Not converted: 0 folder(s), 0 item(s) and 3 attachment(s)");
  EXPECT_EQ(3, m_frame.GetNotConverted().GetSize());
}

TEST_F(ConversionDriver, AListMemberThatCannotBeReadIsNamedAndCountedApart) {
  StartNotes();
  pb::Store pst;
  pb::Message list;
  list.DistList("Team", {pb::OneOffEntryId("Ann Lee", "SMTP", "ann@example.org"), {0, 0, 0, 0, 1, 2, 3}}, {});
  pst.AddFolder("Contacts", "IPF.Contact").messages.push_back(list);
  UseSource(pst);
  m_frame.SetTargetNsf(Text(m_dir.File("lists.nsf")), 0);

  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK)) << Utf8(m_status.Last());
  EXPECT_EQ(1, DocumentsIn(L"Outlook\\Contacts"));
  EXPECT_EQ(m_frame.GetNotConvertedCounts().Text(),
            L"Not converted: 0 folder(s), 0 item(s), 0 attachment(s) and 1 list member(s)");
  ASSERT_EQ(1, m_frame.GetNotConverted().GetSize());
  EXPECT_EQ(m_frame.GetNotConverted()[0],
            L"Contacts\\\titem 1\tTeam\tlist member 2: The member's entry in the list is damaged");
}

}  // namespace

// Another program writes other bytes over the NSF in place while the run writes it, so that the file keeps
// its identity: the run ends saying that the NSF was damaged by another program, and counts what it had
// saved into it as lost; those and the items it counts as not converted add up to every item.
TEST_F(ConversionDriver, AnNsfWrittenOverInPlaceDuringTheRunIsLostAsDamagedWithItsDocumentsCounted) {
  StartNotes();
  UseSource(TenMailsInThreeFolders());
  const std::string target = m_dir.File("over.nsf");
  m_frame.SetTargetNsf(Text(target), 0);
  bool over = false;
  AtThirdItemOfFolder(2, [&] {
    const HANDLE file = ::CreateFileW(Text(target), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size = {};
    if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size)) return;
    const std::string bytes(static_cast<size_t>(size.QuadPart), 'x');
    DWORD written = 0;
    over = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
    ::CloseHandle(file);
  });

  CString lines;
  Convert(IDOK, nullptr, &lines);
  ASSERT_TRUE(over);
  const CString nsf = Text(target);
  EXPECT_TRUE(m_frame.m_notesStore.IsTargetLost());
  // Found as the run writes or as it closes the file, whichever comes first.
  EXPECT_NE(-1,
            m_frame.m_notesStore.GetErrorText().Find(
                L"he NSF file " + nsf +
                L" was damaged by another program while it was being written: it is no longer a database."))
      << Utf8(m_frame.m_notesStore.GetErrorText());
  const long lost = LostDocuments(lines);
  EXPECT_EQ(lines, L"Another program damaged the NSF file " + nsf + L" while it was being written: the " +
                       GroupedNumber(lost) +
                       L" documents this run saved into it are lost with it. Convert the PST "
                       L"file again.");
  EXPECT_GE(lost, 10);
  EXPECT_EQ(30, lost + m_frame.GetNotConvertedCounts().items) << Utf8(m_frame.GetNotConvertedCounts().Text());
}

// An NSF that held documents before the run, removed by another program during it: the documents of this
// run and the file's earlier ones are counted apart, and this run's and the items not converted add up.
TEST_F(ConversionDriver, AnEarlierNsfRemovedDuringTheRunCountsThisRunsDocumentsApartFromItsEarlierOnes) {
  StartNotes();
  UseSource(TenMailsInThreeFolders());
  const std::string target = m_dir.File("earlier.nsf");
  m_frame.SetTargetNsf(Text(target), 0);
  CString earlier;
  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK, nullptr, &earlier)) << Utf8(m_status.Last());

  AtThirdItemOfFolder(1, [&] { RemoveNsf(target); });
  CString lines;
  EXPECT_EQ(CONVERSION_NSF_FAILED, Convert(IDOK, nullptr, &lines));
  const CString nsf = Text(target);
  EXPECT_EQ(0, m_status.Last().Find(L"The conversion stopped: the NSF file " + nsf +
                                    L" was removed by another program while it was being written."))
      << Utf8(m_status.Last());
  EXPECT_EQ(lines,
            L"Another program removed the NSF file " + nsf +
                L" while it was being written: the 10 documents this run saved into it are lost with it, and "
                L"so are the 30 it held before. Convert the PST file again.");
  EXPECT_EQ(20, m_frame.GetNotConvertedCounts().items) << Utf8(m_frame.GetNotConvertedCounts().Text());
}

// An NSF removed by another program while the folders are chosen holds nothing of the run: after a cancel
// the run stays cancelled and says only that; after OK it stops before writing anything, every item
// counted as not converted.
TEST_F(ConversionDriver, AnNsfRemovedWhileTheFoldersAreChosenHeldNothingOfTheRun) {
  StartNotes();
  UseSource(TenMailsInThreeFolders());
  const std::string target = m_dir.File("chosen.nsf");
  m_frame.SetTargetNsf(Text(target), 0);
  CString earlier;
  ASSERT_EQ(CONVERSION_DONE, Convert(IDOK, nullptr, &earlier)) << Utf8(m_status.Last());
  const CString nsf = Text(target);

  CString lines;
  EXPECT_EQ(CONVERSION_CANCELLED, Convert(
                                      IDCANCEL, [&](HWND) { RemoveNsf(target); }, &lines));
  EXPECT_EQ(m_status.Last(), L"User aborted the process");
  EXPECT_FALSE(m_frame.m_notesStore.IsTargetLost()) << "a cancelled run did not fail";
  EXPECT_EQ(lines,
            L"Nothing had been written into the NSF file " + nsf +
                L" when another program removed it. The 30 documents it held before are lost with it.");

  // A new NSF this time.
  EXPECT_EQ(CONVERSION_NSF_FAILED, Convert(
                                       IDOK, [&](HWND) { RemoveNsf(target); }, &lines));
  EXPECT_EQ(m_status.Last(), L"The conversion stopped: the NSF file " + nsf +
                                 L" was removed by another program before anything was written into it.");
  EXPECT_EQ(lines,
            L"Nothing had been written into the NSF file " + nsf + L" when another program removed it.");
  EXPECT_EQ(30, m_frame.GetNotConvertedCounts().items) << Utf8(m_frame.GetNotConvertedCounts().Text());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(nsf));
}
