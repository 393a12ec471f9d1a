// The main view and page one in the in-process wizard, under real input: a tool button's tip in the
// status bar and the first tab, a toolbar button's tip window, page one's refusals of what is not a PST file
// and of a path too long for the system, where its file dialog opens, the frame's commands reaching only
// the page that shows, and page numbers out of range.
#include "1TovinWelcomeView.h"
#include "3TovinSaveNsfToPst.h"

#include "AppTestSupport.h"
#include "BrindleEmlConverterGuiView.h"
#include "CommandBars.h"
#include "Controls.h"
#include "InProcessWizard.h"
#include "MainFrame.h"
#include "RealInput.h"
#include "TabManagerItem.h"
#include "TestFiles.h"
#include "TipSettings.h"
#include "ToolBar.h"
#include "WindowTest.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using apptest::InProcessWizard;

const wchar_t kCloseOutlookAdvice[] =
    L"It is recommended to close all instances of Microsoft Outlook and Lotus Notes while saving file(s)";

// Runs action on this thread while a second thread waits for a visible top-level window of this
// process titled title (any message box when title is empty), hands it to onWindow there and presses
// button on it with real input. Returns what the window's text was (a message box's message), or
// "" with seen false when none came within ten seconds. A window that stays is cancelled, so that
// action always returns.
struct Answered {
  bool seen = false;
  CString text;
};
Answered AnswerWindow(const std::function<void()>& action, const std::wstring& title, int button,
                      const std::function<void(HWND)>& onWindow = nullptr) {
  Answered answered;
  std::atomic<bool> done{false};
  std::atomic<bool> seen{false};
  std::thread answerer([&] {
    HWND hWnd = title.empty() ? apptest::WaitForMessageBoxWithText(CString(), 10000)
                              : testsupport::WaitForTopWindow(title, 10000);
    if (hWnd != nullptr) {
      answered.text = title.empty() ? apptest::MessageBoxText(hWnd) : apptest::TextOf(hWnd);
      if (onWindow) onWindow(hWnd);
      testsupport::PumpUntil([&] { return ::GetForegroundWindow() == hWnd; }, 2000);
      apptest::ClickControl(hWnd, button);
      if (!testsupport::PumpUntil([&] { return !::IsWindow(hWnd) || !::IsWindowVisible(hWnd); }, 5000))
        ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
      seen = true;
    }
    while (!done) {
      if (HWND left = apptest::WaitForMessageBoxWithText(CString(), 200))
        ::PostMessageW(left, WM_COMMAND, IDOK, 0);
    }
  });
  action();
  done = true;
  answerer.join();
  answered.seen = seen;
  return answered;
}

// The folder a file dialog shows.
CString FolderOfFileDialog(HWND hDialog) {
  WCHAR folder[MAX_PATH] = {};
  ::SendMessageW(hDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  return folder;
}

// One wizard for the suite (showing a frame is slow under Wine), on page one at the start of each test.
class MainViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_wizard = new InProcessWizard;
    s_wizard->Create(0, 0, 1000, 700);
  }
  static void TearDownTestSuite() {
    delete s_wizard;
    s_wizard = nullptr;
  }
  void SetUp() override {
    testsupport::MouseMoveTo(5, 1000);
    ASSERT_NE(s_wizard->Frame(), nullptr);
    ASSERT_NE(View(), nullptr);
    ASSERT_NE(PageOne(), nullptr);
    ASSERT_EQ(View()->GetSelectedPage(), 0);
    testsupport::BringToFront(Frame()->m_hWnd);
    PageOne()->m_editPst.SetPath(L"");
  }
  void TearDown() override {
    if (View() != nullptr && View()->GetSelectedPage() != 0) Frame()->GoToPage(-1);
    apptest::PumpFramework(50);
  }

  static CMainFrame* Frame() { return s_wizard->Frame(); }
  static CBrindleEmlConverterGuiView* View() { return s_wizard->View(); }
  static C1TovinWelcomeView* PageOne() { return s_wizard->PageOne(); }

  // Clicks the middle of a window with real input and pumps until done holds.
  static bool ClickAndWait(HWND hWnd, const std::function<bool()>& done, DWORD timeoutMs = 15000) {
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    testsupport::MouseClick(hWnd, rc.right / 2, rc.bottom / 2);
    return apptest::PumpFrameworkUntil(done, timeoutMs);
  }
  // Types text into page one's PST field as a person would: click, select all, type.
  static void TypePstPath(const CString& text) {
    CWnd& field = PageOne()->m_editPst;
    testsupport::MouseClick(field.m_hWnd, 20, 10);
    apptest::PumpFrameworkUntil([&] { return ::GetFocus() == field.m_hWnd; });
    // All of it selected from its end (the multi-line field has no select-all key), then removed.
    testsupport::KeyPress(VK_END, {VK_CONTROL});
    testsupport::KeyPress(VK_HOME, {VK_CONTROL, VK_SHIFT});
    testsupport::KeyPress(VK_DELETE);
    if (!text.IsEmpty()) testsupport::TypeUnicode(std::wstring(text));
    apptest::PumpFrameworkUntil([&] { return PageOne()->m_editPst.GetPath() == text; });
    ASSERT_EQ(PageOne()->m_editPst.GetPath(), text);
  }
  // The message the page's Export brings up (answered with OK); "" when none came.
  static CString ExportMessage() {
    HWND hExport = PageOne()->m_btnNext.m_hWnd;
    std::atomic<bool> over{false};
    const Answered answered = AnswerWindow([&] { ClickAndWait(hExport, [&] { return over.load(); }); },
                                           std::wstring(), IDOK, [&](HWND) { over = true; });
    return answered.text;
  }
  // The toolbar control of command id, in the frame's command bars; null when there is none.
  static CXTPControl* ToolbarControl(int nId, CXTPToolBar** ppBar) {
    CXTPCommandBars* pBars = Frame()->GetCommandBars();
    for (int i = 0; pBars != nullptr && i < pBars->GetCount(); ++i) {
      CXTPToolBar* pBar = pBars->GetAt(i);
      CXTPControl* pControl = pBar != nullptr ? pBar->GetControls()->FindControl(nId) : nullptr;
      if (pControl != nullptr) {
        *ppBar = pBar;
        return pControl;
      }
    }
    return nullptr;
  }
  // Shows the saving page (whose activation warns, then fails on no PST) and comes back to page one,
  // as Next and Next again do.
  static void VisitTheSavingPage() {
    C3TovinSaveNsfToPst* pSaving = DYNAMIC_DOWNCAST(C3TovinSaveNsfToPst, View()->GetPage(2));
    ASSERT_NE(pSaving, nullptr);
    const Answered advice = AnswerWindow(
        [&] {
          Frame()->GoToPage(1);
          apptest::PumpFrameworkUntil([&] { return !pSaving->IsWorkerRunning(); }, 30000);
        },
        std::wstring(), IDOK);
    EXPECT_EQ(advice.text, kCloseOutlookAdvice);
    Frame()->GoToPage(-1);
    apptest::PumpFramework(50);
    ASSERT_EQ(View()->GetSelectedPage(), 0);
  }
  // Sends a frame command as its toolbar does, while any message box that comes is recorded and
  // closed: TRUE when none came.
  static bool CommandShowsNoMessage(UINT nId) {
    std::atomic<bool> done{false};
    std::atomic<bool> boxSeen{false};
    std::thread watcher([&] {
      while (!done) {
        if (HWND box = apptest::WaitForMessageBoxWithText(CString(), 100)) {
          boxSeen = true;
          ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
      }
    });
    Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(nId, 0), 0);
    done = true;
    watcher.join();
    return !boxSeen;
  }

  static InProcessWizard* s_wizard;
};

InProcessWizard* MainViewTest::s_wizard = nullptr;

}  // namespace

TEST_F(MainViewTest, AToolButtonsTipShowsInTheStatusBarAndTheFirstTabWhileThePointerIsOverIt) {
  // The buttons learn where to show their tips when a page changes.
  VisitTheSavingPage();
  // The view lays its tool buttons out at zero size; this one is given a place to be pointed at.
  CImageButton& button = View()->m_btnAbout;
  button.SetWindowPos(&CWnd::wndTop, 420, 2, 40, 28, SWP_SHOWWINDOW);
  CXTPTabManagerItem* pFirst = View()->m_wndTabs.GetItem(0);
  ASSERT_NE(pFirst, nullptr);
  const CString strStatusBefore = Frame()->m_wndStatusBar.GetPaneText(0);
  ASSERT_EQ(pFirst->GetCaption(), L"");

  CPoint centre(20, 14);
  button.ClientToScreen(&centre);
  testsupport::MouseMoveTo(centre.x - 2, centre.y);
  testsupport::MouseMoveTo(centre.x, centre.y);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button.IsMouseOver() != FALSE; }));
  EXPECT_EQ(Frame()->m_wndStatusBar.GetPaneText(0), L"About Brindle for PST to NSF");
  EXPECT_EQ(pFirst->GetCaption(), L"About Brindle for PST to NSF");
  apptest::PumpFramework(100);
  testsupport::SaveWindowPng(Frame()->m_hWnd, L"app_main_view_tool_tip.png");

  testsupport::MouseMoveTo(centre.x, centre.y + 300);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button.IsMouseOver() == FALSE; }));
  EXPECT_EQ(Frame()->m_wndStatusBar.GetPaneText(0), strStatusBefore);
  EXPECT_EQ(pFirst->GetCaption(), L"");
  button.MoveWindow(0, 0, 0, 0);
}

TEST_F(MainViewTest, AToolbarButtonsTipIsAsTallAsItsTextAndLeavesTheButtonsCaptionClear) {
  CXTPToolBar* pBar = nullptr;
  CXTPControl* pExport = ToolbarControl(ID_EXPORT, &pBar);
  ASSERT_NE(pExport, nullptr);
  ASSERT_TRUE(pBar->GetShowTextBelowIcons()) << "the caption lies under the icon";
  CRect rcButton = pExport->GetRect();
  pBar->ClientToScreen(&rcButton);
  // The pointer on the icon, where a tip under the pointer would cover the caption.
  const CPoint ptIcon(rcButton.CenterPoint().x, rcButton.top + 12);
  testsupport::MouseMoveTo(ptIcon.x - 2, ptIcon.y);
  testsupport::MouseMoveTo(ptIcon.x, ptIcon.y);
  CXTPTipSettings* pTips = Frame()->GetCommandBars()->GetToolTipContext();
  ASSERT_TRUE(apptest::PumpFrameworkUntil(
      [&] { return pTips->GetTipWindow() != nullptr && pTips->GetTipWindow()->IsWindowVisible(); }));
  CWnd* pTip = pTips->GetTipWindow();
  CRect rcTip;
  pTip->GetWindowRect(&rcTip);
  testsupport::SaveWindowPng(Frame()->m_hWnd, L"app_toolbar_button_tip.png");

  // The text measured in the tip's font within its width, plus its margins and 6.
  CClientDC dc(pTip);
  CFont* pOldFont =
      dc.SelectObject(CFont::FromHandle(reinterpret_cast<HFONT>(pTip->SendMessage(WM_GETFONT))));
  CRect rcText(0, 0, static_cast<int>(pTip->SendMessage(TTM_GETMAXTIPWIDTH)), 0);
  dc.DrawText(pExport->GetTooltip(), rcText, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  dc.SelectObject(pOldFont);
  CRect rcMargins;
  pTip->SendMessage(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(static_cast<LPRECT>(&rcMargins)));
  EXPECT_EQ(rcTip.Height(), rcText.Height() + rcMargins.top + rcMargins.bottom + 6) << "no empty title line";
  CRect rcOver;
  EXPECT_FALSE(rcOver.IntersectRect(rcTip, rcButton)) << "the tip lies clear of the button and its caption";
  EXPECT_GE(rcTip.top, rcButton.bottom);

  testsupport::MouseMoveTo(5, 1000);
  apptest::PumpFrameworkUntil([&] { return !pTip->IsWindowVisible(); });
}

TEST_F(MainViewTest, PageOneRefusesWhatIsNotAPstFileAndStaysWhereItIs) {
  testsupport::TempDir dir;
  const CString folder = apptest::Text(dir.Path());
  std::ofstream(dir.File("notes.txt")) << "not a PST";
  std::ofstream(dir.File("archive.pst.bak")) << "kept as a PST";

  EXPECT_EQ(ExportMessage(), C1TovinWelcomeView::NO_PST_TEXT);
  EXPECT_STREQ(C1TovinWelcomeView::NO_PST_TEXT,
               L"Please select PST File to export by clicking [ Select PST File ] button");

  TypePstPath(folder + L"\\missing.pst");
  EXPECT_EQ(ExportMessage(), L"Please enter valid file");
  TypePstPath(folder);
  EXPECT_EQ(ExportMessage(), L"Please enter valid file") << "a folder is no file";
  TypePstPath(folder + L"\\notes.txt");
  EXPECT_EQ(ExportMessage(), L"Please enter .PST file");
  EXPECT_EQ(View()->GetSelectedPage(), 0);
  EXPECT_TRUE(Frame()->GetSourcePath().IsEmpty()) << "nothing is handed to the frame";

  // ".PST" anywhere in the name passes: the Save Options dialog comes, and Cancel keeps page one. The
  // path is taken without the blanks, tabs and quotes around it (the shell copies a path in quotes).
  TypePstPath(L" \t\"" + folder + L"\\archive.pst.bak\" ");
  const Answered options = AnswerWindow(
      [&] {
        ClickAndWait(PageOne()->m_btnNext.m_hWnd, [&] {
          return PageOne()->m_editNsf.GetPath() == L"Please Select existing nsf mail file";
        });
        // The dialog ran inside the click and is gone once the click's handling returns.
        apptest::PumpFramework(50);
      },
      L"Save Options", IDCANCEL);
  EXPECT_TRUE(options.seen);
  EXPECT_EQ(PageOne()->m_editNsf.GetPath(), L"Please Select existing nsf mail file");
  EXPECT_EQ(View()->GetSelectedPage(), 0);
  EXPECT_TRUE(Frame()->GetSourcePath().IsEmpty());
}

// A path pasted into the one-line field is kept whole however long, and Export says when it is too
// long for the system to open (259 characters are not).
TEST_F(MainViewTest, PageOneKeepsAPastedLongPathWholeAndSaysWhenItIsTooLong) {
  const CString longPath = L"C:\\mail\\" + CString(L'p', 311) + L".pst";
  ASSERT_EQ(longPath.GetLength(), 323);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const size_t bytes = (longPath.GetLength() + 1) * sizeof(wchar_t);
  HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(::GlobalLock(hText), static_cast<LPCWSTR>(longPath), bytes);
  ::GlobalUnlock(hText);
  ::SetClipboardData(CF_UNICODETEXT, hText);
  ::CloseClipboard();

  TypePstPath(L"");
  testsupport::KeyPress('V', {VK_CONTROL});
  apptest::PumpFrameworkUntil([&] { return PageOne()->m_editPst.GetPath() == longPath; });
  EXPECT_EQ(PageOne()->m_editPst.GetPath(), longPath);
  testsupport::SaveWindowPng(PageOne()->m_hWnd, L"page_one_long_path.png");
  EXPECT_EQ(ExportMessage(), C1TovinWelcomeView::PATH_TOO_LONG_TEXT);
  EXPECT_EQ(View()->GetSelectedPage(), 0);

  PageOne()->m_editPst.SetPath(L"C:\\mail\\" + CString(L'p', 247) + L".pst");
  EXPECT_EQ(ExportMessage(), L"Please enter valid file") << "259 characters are a path the system takes";
}

// Tab leaves the multi-line path field for the next of the page's tab stops, in reading order and
// round, Shift+Tab goes back, the path keeps no tab, and Enter presses the focused button.
TEST_F(MainViewTest, TabAndShiftTabMoveThroughPageOnesTabStopsAndEnterPressesAButton) {
  const HWND hField = PageOne()->m_editPst.m_hWnd;
  const HWND hSelect = PageOne()->m_btnSelectPst.m_hWnd;
  const HWND hExport = PageOne()->m_btnNext.m_hWnd;
  PageOne()->m_editPst.SetPath(L"C:\\mail\\archive.pst");
  ASSERT_TRUE(ClickAndWait(hField, [&] { return ::GetFocus() == hField; }));
  auto press = [](std::initializer_list<WORD> modifiers, HWND hExpected) {
    testsupport::KeyPress(VK_TAB, modifiers);
    return apptest::PumpFrameworkUntil([&] { return ::GetFocus() == hExpected; });
  };
  EXPECT_TRUE(press({}, hSelect));
  EXPECT_TRUE(press({}, hExport));
  EXPECT_TRUE(press({}, hField)) << "round to the first";
  EXPECT_TRUE(press({VK_SHIFT}, hExport));
  EXPECT_TRUE(press({VK_SHIFT}, hSelect));
  EXPECT_TRUE(press({VK_SHIFT}, hField));
  EXPECT_EQ(PageOne()->m_editPst.GetPath(), L"C:\\mail\\archive.pst");

  // Enter on a button reached with Tab presses it, as in a dialog: Export checks the path.
  EXPECT_TRUE(press({VK_SHIFT}, hExport));
  std::atomic<bool> over{false};
  const Answered refused = AnswerWindow(
      [&] {
        testsupport::KeyPress(VK_RETURN, {});
        apptest::PumpFrameworkUntil([&] { return over.load(); });
      },
      std::wstring(), IDOK, [&](HWND) { over = true; });
  EXPECT_EQ(refused.text, L"Please enter valid file");
}

TEST_F(MainViewTest, PageOnesFileDialogOpensInTheTypedFolderElseInDocuments) {
  testsupport::TempDir dir;
  const CString folder = apptest::Text(dir.Path());
  CString shown;
  auto openDialog = [&](const std::function<void()> open) {
    shown.Empty();
    return AnswerWindow(open, L"Open", IDCANCEL, [&](HWND hDialog) { shown = FolderOfFileDialog(hDialog); })
        .seen;
  };

  // Ctrl+O on page one browses for the PST.
  TypePstPath(folder + L"\\not there yet.pst");
  EXPECT_TRUE(openDialog([&] {
    testsupport::KeyPress('O', {VK_CONTROL});
    apptest::PumpFrameworkUntil([&] { return !shown.IsEmpty(); }, 15000);
  }));
  EXPECT_EQ(apptest::CanonicalPath(shown), apptest::CanonicalPath(folder));
  EXPECT_EQ(PageOne()->m_editPst.GetPath(), folder + L"\\not there yet.pst") << "Cancel keeps the text";

  // With nothing typed, the page's Select PST File opens in the user's Documents.
  TypePstPath(L"");
  EXPECT_TRUE(
      openDialog([&] { ClickAndWait(PageOne()->m_btnSelectPst.m_hWnd, [&] { return !shown.IsEmpty(); }); }));
  EXPECT_EQ(apptest::CanonicalPath(shown), apptest::CanonicalPath(apptest::DocumentsFolder()));
}

TEST_F(MainViewTest, TheFramesCommandsReachOnlyThePageThatShows) {
  // The toolbar's Export on page one is page one's Export.
  CXTPToolBar* pBar = nullptr;
  CXTPControl* pExport = ToolbarControl(ID_EXPORT, &pBar);
  ASSERT_NE(pExport, nullptr);
  const CPoint ptExport = pExport->GetRect().CenterPoint();
  std::atomic<bool> over{false};
  const Answered answered = AnswerWindow(
      [&] {
        testsupport::MouseClick(pBar->m_hWnd, ptExport.x, ptExport.y);
        apptest::PumpFrameworkUntil([&] { return over.load(); }, 15000);
      },
      std::wstring(), IDOK, [&](HWND) { over = true; });
  EXPECT_EQ(answered.text, C1TovinWelcomeView::NO_PST_TEXT);

  // Past the last page: the last page (the saving page, which warns and then fails on no PST).
  C3TovinSaveNsfToPst* pSaving = DYNAMIC_DOWNCAST(C3TovinSaveNsfToPst, View()->GetPage(2));
  ASSERT_NE(pSaving, nullptr);
  const Answered advice = AnswerWindow(
      [&] {
        Frame()->GoToPage(2);
        apptest::PumpFrameworkUntil([&] { return !pSaving->IsWorkerRunning(); }, 30000);
      },
      std::wstring(), IDOK);
  EXPECT_EQ(advice.text, kCloseOutlookAdvice);
  EXPECT_EQ(View()->GetSelectedPage(), 2);
  EXPECT_EQ(View()->m_pActivePage, pSaving);
  EXPECT_TRUE(pSaving->IsWindowVisible());
  EXPECT_FALSE(PageOne()->IsWindowVisible());

  // There, the frame's Export, Select PST File and (disabled) Open reach no page.
  EXPECT_TRUE(CommandShowsNoMessage(ID_EXPORT));
  EXPECT_TRUE(CommandShowsNoMessage(ID_SELECT_PST_FILE));
  EXPECT_TRUE(CommandShowsNoMessage(ID_FILE_OPEN));
  EXPECT_EQ(View()->GetSelectedPage(), 2);

  // Before the first page: the first page, shown and active again.
  Frame()->GoToPreviousPage(0);
  apptest::PumpFramework(50);
  EXPECT_EQ(View()->GetSelectedPage(), 0);
  EXPECT_EQ(View()->m_pActivePage, PageOne());
  EXPECT_TRUE(PageOne()->IsWindowVisible());
  EXPECT_FALSE(pSaving->IsWindowVisible());
}
