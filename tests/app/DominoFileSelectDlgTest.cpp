// The Domino file selection dialog against the Notes installation's configured servers, run modally on
// the test's main thread as page one runs it, and driven with real input from a second thread: servers
// by name and by search, the databases of a clicked server, Add reaching page one's list, and a slow
// search that refuses to close, goes on after a Stop answered No, and ends early after a Yes.
#include "DominoFileSelectDlg.h"

#include <atomic>
#include <thread>
#include <vector>

#include "1TovinWelcomeView.h"
#include "AppTestSupport.h"
#include "InProcessWizard.h"
#include "MainFrame.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

using apptest::ClickControl;
using apptest::InProcessWizard;
using apptest::PressMessageBoxButton;
using apptest::TextOf;
using apptest::WaitForMessageBoxWithText;

const wchar_t kTitle[] = L"Domino Server File Selection";
const wchar_t kSearchQuestion[] =
    L"The enumeration of server information can take several minutes\r\n\r\nDo you want to enumerate the "
    L"server now?";
using apptest::kStopQuestion;
const wchar_t kFilesAdded[] =
    L"Selected Files are added, If you want to select files from other Domino Server then click on that "
    L"Domino Server Name in the list or click on Finish button to proceed with the Migration process";

std::vector<CString> ListTexts(HWND list) {
  std::vector<CString> texts;
  const int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i) {
    WCHAR buffer[512] = {};
    ListView_GetItemText(list, i, 0, buffer, 512);
    texts.push_back(buffer);
  }
  return texts;
}

std::vector<bool> ListChecks(HWND list) {
  std::vector<bool> checks;
  for (int i = 0; i < ListView_GetItemCount(list); ++i)
    checks.push_back(ListView_GetCheckState(list, i) != 0);
  return checks;
}

// Answers the message box the dialog shows next, which must say text.
void Answer(const CString& text, int button) {
  HWND box = WaitForMessageBoxWithText(CString(), 10000);
  ASSERT_NE(box, nullptr) << "no message box for: " << static_cast<LPCTSTR>(text);
  EXPECT_EQ(apptest::MessageBoxText(box), text);
  PressMessageBoxButton(box, button);
}

class DominoFileSelectDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_wizard = new InProcessWizard;
    s_wizard->Create(0, 0, 1000, 720);
  }
  static void TearDownTestSuite() {
    delete s_wizard;
    s_wizard = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_wizard->Frame(), nullptr);
    ASSERT_NE(s_wizard->PageOne(), nullptr);
    s_wizard->PageOne()->m_listFiles.DeleteAllItems();
    testsupport::MouseMoveTo(5, 1000);
  }
  void TearDown() override {
    s_wizard->Frame()->SetStopFlags(0);
    SetLatency(nullptr);
    // A session started with a stopping call is not kept for the next test.
    s_wizard->Frame()->m_notesStore.InitSession();
  }

  // Opening a database waits this long (null: not at all) from the next session start on.
  void SetLatency(const char* value) {
    if (value == nullptr && m_latencySet == false) return;
    SetEnvironmentVariableA("STANDIN_LATENCY", value);
    m_latencySet = value != nullptr;
    ASSERT_EQ(s_wizard->Frame()->m_notesStore.InitSession(), 1);
  }

  // Runs the dialog on this thread as page one does (through its command when viaPage, else directly)
  // while drive works it from a second thread; whatever drive leaves open is closed afterwards.
  INT_PTR Run(const std::function<void(HWND)>& drive, bool viaPage = false) {
    std::atomic<bool> done{false};
    std::thread driver([&] {
      HWND dlg = testsupport::WaitForTopWindow(kTitle, 10000);
      EXPECT_NE(dlg, nullptr);
      if (dlg != nullptr) drive(dlg);
      while (!done) {
        if (HWND box = WaitForMessageBoxWithText(CString(), 100)) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        if (HWND left = ::FindWindowW(nullptr, kTitle)) ::PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
      }
    });
    INT_PTR result = -1;
    if (viaPage) {
      s_wizard->PageOne()->SendMessage(WM_COMMAND, 500, 0);
    } else {
      CDominoFileSelectDlg dlg;
      dlg.m_pSourcePage = s_wizard->PageOne();
      result = dlg.DoModal();
    }
    done = true;
    driver.join();
    return result;
  }

  // Driver-side helpers.
  static HWND Item(HWND dlg, int id) { return ::GetDlgItem(dlg, id); }
  static bool IsIdle(HWND dlg) {
    return ::IsWindowVisible(Item(dlg, IDC_SEARCH_SERVERS)) &&
           !::IsWindowVisible(Item(dlg, IDC_STOP_SEARCH)) && ::IsWindowEnabled(Item(dlg, IDC_DOMINO_SERVERS));
  }
  static bool WaitIdle(HWND dlg, DWORD timeoutMs = 15000) {
    return testsupport::PumpUntil([&] { return IsIdle(dlg); }, timeoutMs);
  }
  static void AddServerByName(HWND dlg, const wchar_t* name) {
    // Keys typed while the dialog is still getting its focus back from a message box go astray: the
    // field is typed into again until it holds the name.
    HWND edit = Item(dlg, IDC_DOMINO_SERVER_NAME);
    for (int attempt = 0; attempt < 3 && TextOf(edit) != name; ++attempt) {
      ClickControl(dlg, IDC_DOMINO_SERVER_NAME);
      testsupport::PumpMessages(100);
      testsupport::KeyPress(VK_END);
      testsupport::KeyPress(VK_HOME, {VK_SHIFT});
      testsupport::TypeUnicode(name);
      testsupport::PumpUntil([&] { return TextOf(edit) == name; }, 2000);
    }
    // The click has been handled once the server is listed or a message box says why it is not.
    HWND servers = Item(dlg, IDC_DOMINO_SERVERS);
    const int before = ListView_GetItemCount(servers);
    ClickControl(dlg, IDC_ADD_SERVER);
    testsupport::PumpUntil(
        [&] {
          return ListView_GetItemCount(servers) != before ||
                 WaitForMessageBoxWithText(CString(), 0) != nullptr;
        },
        5000);
  }
  static void ClickRow(HWND list, int row) {
    RECT rc = {};
    ListView_GetItemRect(list, row, &rc, LVIR_LABEL);
    testsupport::MouseClick(list, rc.left + 10, (rc.top + rc.bottom) / 2);
  }
  static int RowOf(HWND list, const CString& text) {
    const std::vector<CString> texts = ListTexts(list);
    for (size_t i = 0; i < texts.size(); ++i) {
      if (texts[i] == text) return static_cast<int>(i);
    }
    return -1;
  }
  // Clicks the row of a server that has databases and waits for the search it starts to end.
  static void ListDatabasesOf(HWND dlg, const CString& server) {
    const int row = RowOf(Item(dlg, IDC_DOMINO_SERVERS), server);
    ASSERT_GE(row, 0);
    ClickRow(Item(dlg, IDC_DOMINO_SERVERS), row);
    // The search may end before the driver sees it start: its rows say it ran.
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return ListView_GetItemCount(Item(dlg, IDC_DOMINO_DATABASES)) > 0; }, 15000));
    ASSERT_TRUE(WaitIdle(dlg));
  }

  // Adds the server by name, clicks its row and waits until the database search it starts shows Stop.
  static bool StartDatabaseSearch(HWND dlg, const wchar_t* server) {
    AddServerByName(dlg, server);
    ClickRow(Item(dlg, IDC_DOMINO_SERVERS), 0);
    return testsupport::PumpUntil([&] { return ::IsWindowVisible(Item(dlg, IDC_STOP_SEARCH)) != FALSE; });
  }

  static InProcessWizard* s_wizard;
  bool m_latencySet = false;
};

InProcessWizard* DominoFileSelectDlgTest::s_wizard = nullptr;

TEST_F(DominoFileSelectDlgTest, ServerNamesAreAddedUpperCasedOnceAndEnterOrEscapeEndNothing) {
  const INT_PTR result = Run([](HWND dlg) {
    EXPECT_EQ(TextOf(Item(dlg, IDC_SEARCH_STATUS)), L"");
    EXPECT_FALSE(::IsWindowVisible(Item(dlg, IDC_STOP_SEARCH)));
    EXPECT_EQ(testsupport::ClippedChildTexts(dlg), std::vector<std::wstring>());
    ClickControl(dlg, IDC_ADD_SERVER);
    Answer(L"Please provide domino server name to add", IDOK);

    AddServerByName(dlg, L"mail01/brindle");
    EXPECT_EQ(ListTexts(Item(dlg, IDC_DOMINO_SERVERS)), std::vector<CString>{L"MAIL01/BRINDLE"});
    AddServerByName(dlg, L"Mail01/Brindle");
    Answer(L"MAIL01/BRINDLE Domino Server already exist in the list", IDOK);
    AddServerByName(dlg, L"apps02/brindle");
    EXPECT_EQ(ListTexts(Item(dlg, IDC_DOMINO_SERVERS)),
              (std::vector<CString>{L"APPS02/BRINDLE", L"MAIL01/BRINDLE"}));
    testsupport::SaveWindowPng(dlg, L"app_domino_dialog.png");

    testsupport::KeyPress(VK_RETURN);
    testsupport::KeyPress(VK_ESCAPE);
    testsupport::PumpMessages(300);
    EXPECT_TRUE(::IsWindowVisible(dlg));
    ClickControl(dlg, IDC_FINISH);
    testsupport::PumpUntil([&] { return !::IsWindow(dlg); }, 5000);
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(DominoFileSelectDlgTest, NoToTheSearchQuestionLeavesTheDialogIdle) {
  Run([](HWND dlg) {
    ClickControl(dlg, IDC_SEARCH_SERVERS);
    HWND box = WaitForMessageBoxWithText(kSearchQuestion);
    ASSERT_NE(box, nullptr);
    // Locked while the question is open.
    EXPECT_FALSE(::IsWindowEnabled(Item(dlg, IDC_DOMINO_SERVERS)));
    EXPECT_FALSE(::IsWindowEnabled(Item(dlg, IDC_FINISH)));
    EXPECT_TRUE(::IsWindowVisible(Item(dlg, IDC_STOP_SEARCH)));
    EXPECT_FALSE(::IsWindowVisible(Item(dlg, IDC_SEARCH_SERVERS)));
    PressMessageBoxButton(box, IDNO);
    EXPECT_TRUE(WaitIdle(dlg, 3000));
    for (int id : {IDC_DOMINO_SERVER_NAME, IDC_FINISH, IDC_ADD_DATABASES, IDC_ADD_SERVER, IDC_SEARCH_SERVERS,
                   IDC_SEARCH_ANIMATION, IDC_DOMINO_DATABASES, IDC_DOMINO_SERVERS}) {
      EXPECT_TRUE(::IsWindowEnabled(Item(dlg, id))) << id;
    }
    EXPECT_EQ(ListView_GetItemCount(Item(dlg, IDC_DOMINO_SERVERS)), 0);
    EXPECT_EQ(TextOf(Item(dlg, IDC_SEARCH_STATUS)), L"");
  });
}

TEST_F(DominoFileSelectDlgTest, ASearchListsEveryKnownServerOnce) {
  Run([](HWND dlg) {
    AddServerByName(dlg, L"apps02/brindle");
    for (int search = 0; search < 2; ++search) {
      ClickControl(dlg, IDC_SEARCH_SERVERS);
      Answer(kSearchQuestion, IDYES);
      ASSERT_TRUE(WaitIdle(dlg));
      EXPECT_EQ(ListTexts(Item(dlg, IDC_DOMINO_SERVERS)),
                (std::vector<CString>{L"MAIL01/BRINDLE", L"APPS02/BRINDLE"}));
      EXPECT_EQ(TextOf(Item(dlg, IDC_SEARCH_STATUS)), L"");
    }
  });
}

TEST_F(DominoFileSelectDlgTest, AddGivesPageOneTheTickedFilesOfTheServerWhoseFilesAreListed) {
  Run(
      [](HWND dlg) {
        HWND servers = Item(dlg, IDC_DOMINO_SERVERS);
        HWND databases = Item(dlg, IDC_DOMINO_DATABASES);
        AddServerByName(dlg, L"mail01/brindle");
        AddServerByName(dlg, L"apps02/brindle");
        ListDatabasesOf(dlg, L"MAIL01/BRINDLE");
        // Last first, all ticked.
        EXPECT_EQ(ListTexts(databases), (std::vector<CString>{L"names.nsf", L"mail\\jdoe.nsf"}));
        EXPECT_EQ(ListChecks(databases), (std::vector<bool>{true, true}));

        ClickControl(dlg, IDC_UNSELECT_ALL);
        EXPECT_TRUE(testsupport::PumpUntil([&] {
          return ListChecks(databases) == std::vector<bool>{false, false};
        })) << "Unselect All left ticks";
        ClickControl(dlg, IDC_ADD_DATABASES);
        Answer(L"Please select file from the list", IDOK);
        ClickControl(dlg, IDC_SELECT_ALL);
        EXPECT_TRUE(testsupport::PumpUntil([&] {
          return ListChecks(databases) == std::vector<bool>{true, true};
        })) << "Select All left a file unticked";

        // The selection moves to the other server by keyboard, which starts no search: the files
        // listed are still Mail01's.
        ClickControl(dlg, IDC_DOMINO_SERVER_NAME);
        for (int i = 0; i < 3; ++i) testsupport::KeyPress(VK_TAB);
        testsupport::PumpMessages(100);
        ASSERT_EQ(::GetFocus(), nullptr);  // another thread's focus is not visible here
        testsupport::KeyPress(VK_HOME);
        EXPECT_TRUE(testsupport::PumpUntil([&] {
          return ListView_GetSelectionMark(servers) == RowOf(servers, L"APPS02/BRINDLE");
        })) << "Home did not select the first server";
        EXPECT_EQ(ListView_GetItemCount(databases), 2);

        ClickControl(dlg, IDC_ADD_DATABASES);
        Answer(kFilesAdded, IDOK);
        // Again: the dialog stays, and page one lists each file once.
        ClickControl(dlg, IDC_ADD_DATABASES);
        Answer(kFilesAdded, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dlg));

        // A click beside the rows clears the files and starts nothing.
        RECT rc = {};
        ::GetClientRect(servers, &rc);
        testsupport::MouseClick(servers, rc.right / 2, rc.bottom - 8);
        EXPECT_TRUE(testsupport::PumpUntil([&] { return ListView_GetItemCount(databases) == 0; }))
            << "the files stayed";
        EXPECT_TRUE(IsIdle(dlg));
        EXPECT_EQ(WaitForMessageBoxWithText(CString(), 300), nullptr);
        ClickControl(dlg, IDC_FINISH);
      },
      true);
  CListCtrl& files = s_wizard->PageOne()->m_listFiles;
  ASSERT_EQ(files.GetItemCount(), 2);
  EXPECT_EQ(files.GetItemText(0, 0), L"mail\\jdoe.nsf");
  EXPECT_EQ(files.GetItemText(1, 0), L"names.nsf");
  EXPECT_EQ(files.GetItemText(0, 1), L"MAIL01/BRINDLE");
  EXPECT_EQ(files.GetItemText(1, 1), L"MAIL01/BRINDLE");
}

TEST_F(DominoFileSelectDlgTest, AServerWithoutDatabasesShowsTheStoresText) {
  Run([](HWND dlg) {
    AddServerByName(dlg, L"apps02/brindle");
    ClickRow(Item(dlg, IDC_DOMINO_SERVERS), 0);
    Answer(L"No file found in selected server", IDOK);
    EXPECT_TRUE(WaitIdle(dlg));
    EXPECT_EQ(ListView_GetItemCount(Item(dlg, IDC_DOMINO_DATABASES)), 0);
  });
}

TEST_F(DominoFileSelectDlgTest, ASlowSearchRefusesToCloseAndGoesOnAfterAStopAnsweredNo) {
  SetLatency("notes.opendatabase=1500");
  Run([](HWND dlg) {
    ASSERT_TRUE(StartDatabaseSearch(dlg, L"mail01/brindle"));
    EXPECT_EQ(TextOf(Item(dlg, IDC_SEARCH_STATUS)), L"Please wait while finding NSF file in server");
    for (int id : {IDC_DOMINO_SERVER_NAME, IDC_FINISH, IDC_ADD_DATABASES, IDC_ADD_SERVER,
                   IDC_DOMINO_DATABASES, IDC_DOMINO_SERVERS}) {
      EXPECT_FALSE(::IsWindowEnabled(Item(dlg, id))) << id;
    }
    testsupport::SaveWindowPng(dlg, L"app_domino_dialog_searching.png");

    testsupport::BringToFront(dlg);
    testsupport::KeyPress(VK_F4, {VK_MENU});
    Answer(L"Please wait while serching finish", IDOK);
    EXPECT_TRUE(::IsWindowVisible(dlg));

    ClickControl(dlg, IDC_STOP_SEARCH);
    Answer(kStopQuestion, IDNO);
    ASSERT_TRUE(WaitIdle(dlg));
    EXPECT_EQ(ListView_GetItemCount(Item(dlg, IDC_DOMINO_DATABASES)), 2);
  });
  EXPECT_EQ(s_wizard->Frame()->m_bStop, 0);
}

TEST_F(DominoFileSelectDlgTest, StopHoldsTheSearchAtItsNextDatabaseAndYesKeepsTheFilesFoundSoFar) {
  // The first database's open stops until the test lets it go.
  apptest::NotesHang hang("notes.opendatabase=1");
  ASSERT_EQ(1, hang.Start([] { return s_wizard->Frame()->m_notesStore.InitSession(); }));
  Run([&hang](HWND dlg) {
    ASSERT_TRUE(StartDatabaseSearch(dlg, L"mail01/brindle"));
    ASSERT_TRUE(hang.WaitUntilStopped());
    ClickControl(dlg, IDC_STOP_SEARCH);
    HWND box = WaitForMessageBoxWithText(kStopQuestion);
    ASSERT_NE(box, nullptr);
    // The open goes on while the question is open; the search then waits for the answer at the gate.
    hang.Release();
    EXPECT_TRUE(testsupport::PumpUntil(
        [] { return s_wizard->Frame()->m_notesStore.m_pause.GetWaitingCount() == 1; }, 20000))
        << "the search did not wait for the answer";
    EXPECT_EQ(ListView_GetItemCount(Item(dlg, IDC_DOMINO_DATABASES)), 0)
        << "the search ended under the question";
    PressMessageBoxButton(box, IDYES);
    ASSERT_TRUE(WaitIdle(dlg));
    EXPECT_EQ(ListTexts(Item(dlg, IDC_DOMINO_DATABASES)), std::vector<CString>{L"mail\\jdoe.nsf"});
    EXPECT_EQ(WaitForMessageBoxWithText(CString(), 500), nullptr);
  });
  EXPECT_EQ(s_wizard->Frame()->m_bStop, 1);
  EXPECT_EQ(s_wizard->Frame()->m_notesStore.m_bStop, 1);
}

TEST_F(DominoFileSelectDlgTest, EndingTheDialogDuringAStoppedSearchWaitsPaintingUntilTheSearchEnds) {
  apptest::NotesHang hang("notes.opendatabase=1");
  ASSERT_EQ(1, hang.Start([] { return s_wizard->Frame()->m_notesStore.InitSession(); }));
  const HWND label = s_wizard->Frame()->m_pProgressDlg->m_label.m_hWnd;
  const HWND pageOne = s_wizard->PageOne()->m_hWnd;
  bool saidWhat = false;
  bool painted = false;
  bool ended = false;
  Run([&](HWND dlg) {
    ASSERT_TRUE(StartDatabaseSearch(dlg, L"mail01/brindle"));
    ASSERT_TRUE(hang.WaitUntilStopped());
    // Ended from outside, as the program's end ends it: its window goes, and it waits for the search.
    ::PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    saidWhat = testsupport::PumpUntil(
        [&] { return TextOf(label) == L"Waiting for the search of the Domino server to stop..."; }, 10000);
    ::InvalidateRect(pageOne, nullptr, TRUE);
    painted = testsupport::PumpUntil([&] { return !::GetUpdateRect(pageOne, nullptr, FALSE); }, 10000);
    hang.Release();
    ended = testsupport::PumpUntil([&] { return !::IsWindow(dlg); }, 20000);
  });
  EXPECT_TRUE(saidWhat) << "the wait dialog did not say what it waited for";
  EXPECT_TRUE(painted) << "page one did not paint during the wait";
  EXPECT_TRUE(ended);
  EXPECT_TRUE(s_wizard->Frame()->IsWindowEnabled());
}

}  // namespace
