// The browser page over NSFs converted from fixture PSTs: the folder tree against nsfdump, the rows of
// a clicked folder against nsfdump counts, the preview read back from the rich-text control, Stop,
// re-activation while the enumeration runs, and Export; clicks and keys are real input.
#include <afxdisp.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "2TovinFolderTreeView.h"
#include "AppTestSupport.h"
#include "BrindleEmlConverterGuiView.h"
#include "InProcessWizard.h"
#include "MainFrame.h"
#include "ProcessProgressDlg.h"
#include "PstRecipe.h"
#include "PstWriter.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

namespace {

using testsupport::Utf8;

std::string RunTool(const std::string& program, const std::string& arguments) {
  std::string output;
  EXPECT_EQ(0u, testsupport::RunProgram("\"" + testsupport::SiblingProgramPath(program) + "\" " + arguments,
                                        &output))
      << program << " " << arguments;
  return output;
}

// The views the page lists beside every folder (the same tests as the listing's).
bool ListedView(const std::string& name) {
  for (const char* part : {"$Sent", "$Draft", "$JunkMail", "$ToDo", "$Journal", "$Follow-Up", "My Contacts",
                           "By Diary Date", "By Category", "All Documents", "$All"})
    if (name.find(part) != std::string::npos) return true;
  return name == "($Meetings)";
}

struct Listed {
  int entries;
  int kind;
};

// The folders and views nsfdump sees that the page must list, by tree path ("Outlook\Inbox\").
std::map<std::string, Listed> ExpectedFolders(const std::string& nsf) {
  std::map<std::string, Listed> expected;
  for (const auto& row : testsupport::TabSeparatedRows(RunTool("nsfdump.exe", "folders \"" + nsf + "\""))) {
    if (row.size() != 3) continue;
    const bool folder = row[0] == "folder";
    if (!folder && !ListedView(row[2])) continue;
    const int entries = std::stoi(row[1]);
    expected[row[2] + "\\"] = {entries, GetNotesFolderKind(apptest::Text(row[2]), entries)};
  }
  return expected;
}

// Documents per Notes folder, from nsfdump counts (count TAB form TAB folder).
std::map<std::string, long> DocumentsPerFolder(const std::string& nsf) {
  std::map<std::string, long> documents;
  for (const auto& row : testsupport::TabSeparatedRows(RunTool("nsfdump.exe", "counts \"" + nsf + "\"")))
    if (row.size() == 3) documents[row[2]] += std::stol(row[0]);
  return documents;
}

// A visible message box of this process, found from a helper thread (the page's thread runs the box's
// modal loop meanwhile); NULL after 10 s.
HWND WaitForBox() {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 10000) {
    struct Search {
      HWND found;
    } search{nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
          DWORD pid = 0;
          ::GetWindowThreadProcessId(hwnd, &pid);
          WCHAR cls[16] = {};
          ::GetClassNameW(hwnd, cls, 16);
          if (pid == ::GetCurrentProcessId() && wcscmp(cls, L"#32770") == 0 && ::IsWindowVisible(hwnd) &&
              ::GetDlgItem(hwnd, 0xFFFF) != nullptr) {
            reinterpret_cast<Search*>(lParam)->found = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    ::Sleep(50);
  }
  return nullptr;
}

// Sends message to the page, whose handler shows a message box; a helper reads the box and presses
// answer with real input. The box's text.
CString AnswerBoxOf(CWnd* pPage, UINT message, int answer) {
  CString text;
  std::thread helper([&text, answer] {
    HWND box = WaitForBox();
    if (box == nullptr) return;
    text = apptest::MessageBoxText(box);
    apptest::PressMessageBoxButton(box, answer);
  });
  pPage->SendMessage(message, 0, 0);
  helper.join();
  return text;
}

class BrowserPage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxOleInit();
    AfxEnableControlContainer();
    s_hostWnd = new apptest::CRecordingWnd();
    ASSERT_TRUE(s_hostWnd->CreateHost(L"Folder Selection", 20, 20, 1040, 720));
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
  }

  void SetUp() override {
    ASSERT_EQ(1, m_frame.m_notesStore.InitSession())
        << Utf8(std::wstring(m_frame.m_notesStore.GetErrorText()));
    AfxGetApp()->m_pMainWnd = &m_frame;
  }
  void TearDown() override {
    if (m_page != nullptr && m_page->GetSafeHwnd() != nullptr) m_page->DestroyWindow();
    m_page = nullptr;
    AfxGetApp()->m_pMainWnd = nullptr;
    testsupport::PumpMessages(50);
  }

  // Converts a fixture PST into an NSF of the test's directory; its path.
  std::string Converted(const std::string& fixture) {
    const std::string nsf = m_dir.File(fixture + ".nsf");
    std::string output;
    const DWORD code =
        testsupport::RunProgram("\"" + testsupport::SiblingProgramPath("convert-harness.exe") + "\" \"" +
                                    testsupport::FixturePath("pst/" + fixture) + "\" \"" + nsf + "\"",
                                &output);
    EXPECT_LE(code, 1u) << output;
    return nsf;
  }

  // The page as the main view makes it, browsing nsf.
  void OpenPage(const std::string& nsf) {
    m_frame.SetSourcePath(apptest::Text(nsf));
    m_frame.SetSourceServer(L"");
    m_page = new C2TovinFolderTreeView();
    ASSERT_TRUE(m_page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 660), s_hostWnd,
                               0xE901, nullptr));
    m_page->OnInitialUpdate();
    ASSERT_TRUE(testsupport::BringToFront(s_hostWnd->m_hWnd));
  }
  void Activate() { m_page->SendMessage(WM_WIZARD_PAGE_ACTIVATED, 0, 0); }
  bool WaitForWorkers(DWORD timeoutMs = 60000) {
    return apptest::PumpFrameworkUntil(
        [this] { return !m_page->IsWorkerRunning() && m_page->m_btnNext.IsWindowVisible(); }, timeoutMs);
  }

  void CollectPaths(HTREEITEM hParent, std::map<std::string, HTREEITEM>& paths) {
    CFolderCheckTree& tree = m_page->m_folderTree;
    for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h)) {
      paths[Utf8(std::wstring(tree.GetItemPath(h)))] = h;
      CollectPaths(h, paths);
    }
  }
  std::map<std::string, HTREEITEM> TreePaths() {
    std::map<std::string, HTREEITEM> paths;
    CollectPaths(TVI_ROOT, paths);
    return paths;
  }

  // Clicks an item's label with real input, after making it visible.
  void ClickFolder(HTREEITEM hItem) {
    CFolderCheckTree& tree = m_page->m_folderTree;
    tree.EnsureVisible(hItem);
    testsupport::PumpMessages(50);
    const CPoint pt = apptest::TreeLabelPoint(tree.m_hWnd, hItem);
    testsupport::MouseClick(tree.m_hWnd, pt.x, pt.y);
    testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  }
  void ClickRow(int row) {
    CGridCtrl& grid = m_page->m_mailList.m_grid;
    grid.EnsureVisible(row, 1);
    CRect rc;
    ASSERT_TRUE(grid.GetCellRect(row, 1, &rc));
    testsupport::MouseClick(grid.m_hWnd, rc.CenterPoint().x, rc.CenterPoint().y);
    apptest::PumpFramework(200);
    testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  }
  std::wstring PreviewText() {
    return testsupport::TextWithLineBreaks(
        ::GetWindow(m_page->m_preview.m_dlg.m_richText.GetSafeHwnd(), GW_CHILD));
  }

  static apptest::CRecordingWnd* s_hostWnd;
  testsupport::TempDir m_dir;
  CMainFrame m_frame;
  C2TovinFolderTreeView* m_page = nullptr;
};

apptest::CRecordingWnd* BrowserPage::s_hostWnd = nullptr;

TEST_F(BrowserPage, TreeRowsAndPreviewFollowTheConvertedNsf) {
  const std::string nsf = Converted("aspose-outlook-mixed.pst");
  const std::map<std::string, Listed> expected = ExpectedFolders(nsf);
  const std::map<std::string, long> documents = DocumentsPerFolder(nsf);
  ASSERT_FALSE(expected.empty());
  OpenPage(nsf);
  Activate();
  ASSERT_TRUE(WaitForWorkers());

  // Every listed folder and view is in the tree under its own path, with its kind's image and its
  // entry count; nothing else is but the levels on their way.
  const std::map<std::string, HTREEITEM> paths = TreePaths();
  CFolderCheckTree& tree = m_page->m_folderTree;
  for (const auto& e : expected) {
    const auto found = paths.find(e.first);
    ASSERT_NE(found, paths.end()) << e.first;
    int image = -1, selected = -1;
    tree.GetItemImage(found->second, image, selected);
    EXPECT_EQ(image, e.second.kind) << e.first;
    EXPECT_EQ(static_cast<int>(tree.GetItemData(found->second)), e.second.entries) << e.first;
    EXPECT_TRUE(tree.GetCheck(found->second)) << e.first;
  }
  for (const auto& p : paths) {
    if (p.first.empty()) continue;
    bool onTheWay = false;
    for (const auto& e : expected) onTheWay = onTheWay || e.first.compare(0, p.first.size(), p.first) == 0;
    EXPECT_TRUE(onTheWay) << p.first;
  }
  EXPECT_TRUE(tree.IsWindowEnabled());
  EXPECT_NE(PreviewText().find(L"Please select item to see preview."), std::wstring::npos);

  // Each converted folder: its rows are the documents nsfdump counts in it, and every row previews.
  int previewed = 0;
  std::set<int> kinds;
  for (const auto& d : documents) {
    if (d.first.compare(0, 8, "Outlook\\") != 0) continue;
    const auto item = paths.find(d.first + "\\");
    ASSERT_NE(item, paths.end()) << d.first;
    ClickFolder(item->second);
    ASSERT_TRUE(WaitForWorkers()) << d.first;
    ASSERT_EQ(m_page->m_mailList.GetDocumentRowCount(), d.second) << d.first;
    for (int row = 1; row <= m_page->m_mailList.GetDocumentRowCount() && row <= 3; ++row) {
      ClickRow(row);
      const std::wstring shown = PreviewText();
      EXPECT_EQ(shown.find(L"Please wait"), std::wstring::npos) << d.first << " row " << row;
      // A document without a body shows message 5 in its place.
      if (shown.find(L"Either User Abort preview or no body present") != std::wstring::npos) continue;
      EXPECT_NE(m_page->m_preview.GetPreviewKind(), -1) << d.first << " row " << row << ": " << Utf8(shown);
      kinds.insert(m_page->m_preview.GetPreviewKind());
      if (m_page->m_preview.GetPreviewKind() != 3) {
        EXPECT_TRUE(m_page->m_preview.m_strSubject ==
                    m_page->m_mailList.GetCellText(row, MAIL_COLUMN_SUBJECT))
            << d.first << " row " << row;
      }
      ++previewed;
      if (previewed == 1) testsupport::SaveWindowPng(s_hostWnd->m_hWnd, L"browser_page_mail_selected.png");
    }
  }
  EXPECT_GT(previewed, 0);
  EXPECT_GE(kinds.size(), 2u);
}

TEST_F(BrowserPage, StopAsksThenRaisesTheFlagsAndReactivationRestartsCleanly) {
  const std::string nsf = Converted("hht-three-items.pst");
  OpenPage(nsf);
  Activate();
  // A second activation at once joins the first enumeration before its own: the tree is listed once.
  Activate();
  ASSERT_TRUE(WaitForWorkers());
  const size_t listed = TreePaths().size();
  EXPECT_GT(listed, 1u);
  Activate();
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_EQ(TreePaths().size(), listed);

  // Stop while nothing runs: the question, and on Yes the flags.
  EXPECT_EQ(AnswerBoxOf(m_page, WM_STOP_PROCESS, IDNO), L"Are you sure you want to stop current process ?");
  EXPECT_EQ(m_frame.m_notesStore.m_bStop, 0);
  EXPECT_EQ(AnswerBoxOf(m_page, WM_STOP_PROCESS, IDYES), L"Are you sure you want to stop current process ?");
  EXPECT_EQ(m_frame.m_notesStore.m_bStop, 1);
  // The next folder click starts with the flags down.
  ClickFolder(TreePaths().rbegin()->second);
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_EQ(m_frame.m_notesStore.m_bStop, 0);
}

TEST_F(BrowserPage, ExportWithoutATickedFolderAsksForOne) {
  const std::string nsf = Converted("hht-three-items.pst");
  OpenPage(nsf);
  Activate();
  ASSERT_TRUE(WaitForWorkers());
  CFolderCheckTree& tree = m_page->m_folderTree;
  // Unticking the root unticks everything.
  const CPoint pt = apptest::TreeCheckBoxPoint(tree.m_hWnd, tree.GetRootItem());
  testsupport::MouseClick(tree.m_hWnd, pt.x, pt.y);
  testsupport::PumpMessages(150);
  CStringArray ticked;
  tree.GetCheckedPaths(ticked);
  ASSERT_EQ(ticked.GetSize(), 0);

  EXPECT_EQ(AnswerBoxOf(m_page, WM_EXPORT, IDOK), L"Please select folder");
  EXPECT_TRUE(m_frame.m_arrSelectedFolders.IsEmpty());
}

// Page two in the whole wizard, where the frame's wait dialog is, over a folder whose document reads are
// made to stop at one document: a wait for that listing keeps painting under the wait dialog and ends
// once the read returns, and Stop holds the listing at its next document while it asks.
class BrowserPageWaits : public ::testing::Test {
 protected:
  // The document read that stops (the folder's documents are read in order, one read each).
  static constexpr int STOPPED_READ = 20;
  static constexpr int FOLDER_DOCUMENTS = 60;

  static void SetUpTestSuite() {
    AfxOleInit();
    AfxEnableControlContainer();
    s_dir = new testsupport::TempDir();
    pstbuilder::Store pst;
    pstbuilder::Folder& folder = pst.AddFolder("Inbox");
    for (int i = 1; i <= FOLDER_DOCUMENTS; ++i) {
      pstbuilder::Message mail;
      mail.Subject("mail " + std::to_string(i)).Body("body");
      folder.messages.push_back(mail);
    }
    const std::string pstPath = s_dir->File("inbox.pst");
    pstbuilder::WritePst(pst, pstPath);
    s_nsf = s_dir->File("inbox.nsf");
    std::string output;
    ASSERT_LE(testsupport::RunProgram("\"" + testsupport::SiblingProgramPath("convert-harness.exe") +
                                          "\" \"" + pstPath + "\" \"" + s_nsf + "\"",
                                      &output),
              1u)
        << output;
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(m_wizard.Create(0, 0, 1040, 760));
    m_frame = m_wizard.Frame();
    ASSERT_EQ(1, m_hang.Start([this] { return m_frame->m_notesStore.InitSession(); }));
    m_page = DYNAMIC_DOWNCAST(C2TovinFolderTreeView, m_wizard.View()->GetPage(1));
    ASSERT_NE(m_page, nullptr);
    m_frame->SetSourcePath(apptest::Text(s_nsf));
    m_frame->SetSourceServer(L"");
    ASSERT_TRUE(testsupport::BringToFront(m_frame->m_hWnd));
    m_frame->GoToPage(0);
    ASSERT_TRUE(WaitForWorkers());
  }
  void TearDown() override {
    // The wizard goes after the worker it waits for can end.
    m_hang.Release();
    m_wizard.Destroy();
  }

  bool WaitForWorkers() {
    return apptest::PumpFrameworkUntil(
        [this] { return !m_page->IsWorkerRunning() && m_page->m_btnNext.IsWindowVisible(); }, 60000);
  }

  // Clicks the Inbox in the tree (real input) and waits until its listing stops at the stopped read.
  bool ListInboxUntilTheReadStops() {
    CFolderCheckTree& tree = m_page->m_folderTree;
    HTREEITEM inbox = nullptr;
    for (HTREEITEM h = tree.GetChildItem(tree.GetRootItem()); h != nullptr && inbox == nullptr;
         h = tree.GetNextSiblingItem(h)) {
      for (HTREEITEM c = tree.GetChildItem(h); c != nullptr; c = tree.GetNextSiblingItem(c))
        if (tree.GetItemPath(c) == L"Outlook\\Inbox\\") inbox = c;
    }
    if (inbox == nullptr) return false;
    tree.EnsureVisible(inbox);
    apptest::PumpFramework(50);
    const CPoint pt = apptest::TreeLabelPoint(tree.m_hWnd, inbox);
    testsupport::MouseClick(tree.m_hWnd, pt.x, pt.y);
    return m_hang.WaitUntilStopped();
  }

  apptest::InProcessWizard m_wizard;
  apptest::NotesHang m_hang{"notes.opennote=20"};
  CMainFrame* m_frame = nullptr;
  C2TovinFolderTreeView* m_page = nullptr;
  static testsupport::TempDir* s_dir;
  static std::string s_nsf;
};

testsupport::TempDir* BrowserPageWaits::s_dir = nullptr;
std::string BrowserPageWaits::s_nsf;

TEST_F(BrowserPageWaits, WaitingForAStoppedListingKeepsPaintingUnderTheWaitDialogAndEndsWhenTheReadReturns) {
  ASSERT_TRUE(ListInboxUntilTheReadStops());
  HWND label = m_frame->m_pProgressDlg->m_label.m_hWnd;
  const HWND page = m_page->m_hWnd;
  bool saidWhat = false;
  bool painted = false;
  // The reactivation waits on this thread for the listing; another looks at the windows meanwhile,
  // then lets the read return.
  std::thread onlooker([&] {
    saidWhat = testsupport::PumpUntil(
        [&] { return apptest::TextOf(label) == L"Waiting for the reading of the NSF file to stop..."; },
        10000);
    ::InvalidateRect(page, nullptr, TRUE);
    painted = testsupport::PumpUntil([&] { return !::GetUpdateRect(page, nullptr, FALSE); }, 10000);
    testsupport::SaveWindowPng(m_frame->m_hWnd, L"browser_page_waits_for_a_stopped_listing.png");
    m_hang.Release();
  });
  m_page->SendMessage(WM_WIZARD_PAGE_ACTIVATED, 0, 0);
  onlooker.join();
  EXPECT_TRUE(saidWhat) << "the wait dialog did not say what it waited for";
  EXPECT_TRUE(painted) << "page two did not paint during the wait";
  // The new enumeration runs once the old listing has ended; the frame is usable again after it.
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_TRUE(m_frame->IsWindowEnabled());
  EXPECT_TRUE(apptest::PumpFrameworkUntil([this] { return !m_frame->IsProgressDialogShown(); }, 5000));
}

TEST_F(BrowserPageWaits, StopHoldsTheListingAtItsNextDocumentAndYesEndsItThere) {
  ASSERT_TRUE(ListInboxUntilTheReadStops());
  // The read goes on while the question is open; the listing then waits for the answer.
  std::atomic<bool> listingWaited{false};
  std::thread answerer([this, &listingWaited] {
    HWND box = apptest::WaitForMessageBoxWithText(apptest::kStopQuestion);
    if (box == nullptr) return;
    m_hang.Release();
    // The listing finishes the stopped read, then waits at its next document for the answer.
    listingWaited = testsupport::WaitUntil(
        [this] { return m_frame->m_notesStore.m_pause.GetWaitingCount() == 1; }, 20000);
    apptest::PressMessageBoxButton(box, IDYES);
  });
  m_page->SendMessage(WM_STOP_PROCESS, 0, 0);
  answerer.join();
  EXPECT_TRUE(listingWaited) << "the listing did not wait at its next document";
  ASSERT_TRUE(WaitForWorkers());
  // The document whose read stopped is listed; none after it.
  EXPECT_EQ(m_page->m_mailList.GetDocumentRowCount(), STOPPED_READ);
}

// Another page's worker, as a Domino search is: a counted run that passes the gate and ends.
UINT PassTheGateAndEnd(LPVOID pParam) {
  CPauseGate::CRun run(std::move(*static_cast<CPauseGate::CRun*>(pParam)));
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->m_notesStore.m_pause.Pass();
  return 0;
}

TEST_F(BrowserPageWaits, AWaitForAnotherWorkerUnderAnOpenQuestionLeavesTheListingHeld) {
  ASSERT_TRUE(ListInboxUntilTheReadStops());
  // A question holds the workers; the listing finishes its read and waits at its next document.
  ASSERT_TRUE(m_frame->HoldWorkers());
  m_hang.Release();
  CPauseGate& gate = m_frame->m_notesStore.m_pause;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return gate.GetWaitingCount() == 1; }, 20000));

  CPauseGate::CRun run = m_frame->BeginWorkerRun();
  CWinThread* pOther = AfxBeginThread(PassTheGateAndEnd, &run, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(pOther, nullptr);
  pOther->m_bAutoDelete = FALSE;
  HANDLE hOther = pOther->m_hThread;
  pOther->ResumeThread();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return gate.GetWaitingCount() == 2; }, 20000));
  JoinWorkerThread(m_frame, pOther, hOther, L"Waiting for another worker to stop...");
  EXPECT_EQ(pOther, nullptr);
  EXPECT_TRUE(gate.IsHeld()) << "the wait for one worker opened the question's hold";
  EXPECT_EQ(gate.GetWaitingCount(), 1);

  m_frame->ReleaseWorkers();
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_EQ(m_page->m_mailList.GetDocumentRowCount(), FOLDER_DOCUMENTS);
}

}  // namespace
