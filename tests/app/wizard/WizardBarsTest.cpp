// The main window's bars as a user meets them, driven with real input from outside the program: the
// status bar's message pane says "Ready" from the start and again once the mouse has left a tool button
// whose prompt it showed, and a menu opened from the menu bar closes at a click on the window's caption
// (drawn by the window manager when there is one) and leaves no title highlighted, and the commands of
// page one (Select PST File, Export) are drawn disabled on the toolbar and in the File menu while a
// conversion runs. The frame maximised while a modal dialog is up is laid out to its new size.
#include <gtest/gtest.h>

#include <algorithm>

#include "RealInput.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;

namespace {

const UINT STATUS_BAR_ID = 0xE801;
const wchar_t READY[] = L"Ready";
// The prompt of the toolbar's first button.
const wchar_t SELECT_PST_PROMPT[] = L"Select PST File";

// Waits until the status bar's message pane says text; false (and the last text) after the timeout.
bool WaitForPane(HWND statusBar, const std::wstring& text, std::wstring* shown) {
  return testsupport::PumpUntil(
      [&] {
        *shown = TextOf(statusBar);
        return *shown == text;
      },
      10000);
}

POINT MiddleOf(HWND hwnd) {
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Whether a column range of a window's picture shows any colour: a greyed button or menu item shows none.
bool ShowsColour(HWND hwnd, int fromX, int toX, int fromY, int toY) {
  int width = 0, height = 0;
  const std::vector<COLORREF> pixels = testsupport::WindowPixels(hwnd, &width, &height);
  for (int y = std::max(fromY, 0); y < std::min(toY, height); ++y) {
    for (int x = std::max(fromX, 0); x < std::min(toX, width); ++x) {
      const COLORREF p = pixels[size_t(y) * width + x];
      if (std::max({GetRValue(p), GetGValue(p), GetBValue(p)}) -
              std::min({GetRValue(p), GetGValue(p), GetBValue(p)}) >
          40)
        return true;
    }
  }
  return false;
}

// How page one's commands are drawn: on the toolbar, Select PST File and Export lie left of its
// separator, Help and Buy Online right of it; in the File menu, the icons of Select PST File and
// Export lead its first two rows.
struct CommandsLook {
  bool pageOneButtons;
  bool otherButtons;
  bool pageOneMenuItems;
};

CommandsLook LookOfCommands(HWND mainWindow, DWORD pid) {
  CommandsLook look = {};
  HWND toolbar = WaitForText(mainWindow, L"Standard", 10000);
  RECT bar = {};
  ::GetWindowRect(toolbar, &bar);
  const int width = bar.right - bar.left, height = bar.bottom - bar.top;
  look.pageOneButtons = ShowsColour(toolbar, 0, width * 45 / 100, 0, height);
  look.otherButtons = ShowsColour(toolbar, width * 58 / 100, width - 16, 0, height);
  HWND menuBar = WaitForText(mainWindow, L"Menu Bar", 10000);
  RECT menuRect = {};
  ::GetWindowRect(menuBar, &menuRect);
  testsupport::InputClick(menuRect.left + 22, (menuRect.top + menuRect.bottom) / 2);
  HWND menu = WaitForPopup(mainWindow, pid);
  if (menu == nullptr) return look;
  look.pageOneMenuItems = ShowsColour(menu, 0, 26, 0, 42);
  testsupport::KeyPress(VK_ESCAPE);
  testsupport::PumpUntil([menu] { return !IsShown(menu); }, 5000);
  return look;
}

class WizardBars : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    DeleteProfile();
    s_program = new ProgramRun;
    if (s_program->StartThroughLauncher()) s_mainWindow = s_program->WaitForMainWindow();
  }
  static void TearDownTestSuite() {
    if (s_program != nullptr) s_program->Kill();
    delete s_program;
    s_program = nullptr;
    s_mainWindow = nullptr;
    DeleteProfile();
  }
  void SetUp() override { ASSERT_NE(s_mainWindow, nullptr) << "the main window did not show"; }

  static ProgramRun* s_program;
  static HWND s_mainWindow;
};

ProgramRun* WizardBars::s_program = nullptr;
HWND WizardBars::s_mainWindow = nullptr;

// First in the suite: it reads the pane before anything else was done in the program.
TEST_F(WizardBars, TheStatusBarSaysReadyAtStartAndAgainOnceTheMouseLeftAToolButton) {
  HWND statusBar = ::GetDlgItem(s_mainWindow, STATUS_BAR_ID);
  ASSERT_NE(statusBar, nullptr);
  std::wstring shown;
  EXPECT_TRUE(WaitForPane(statusBar, READY, &shown))
      << "at start the pane says \"" << testsupport::Utf8(shown) << "\"";
  Screenshot(s_mainWindow, L"wizard_bars_ready_at_start.png");

  HWND toolbar = WaitForText(s_mainWindow, L"Standard", 10000);
  ASSERT_NE(toolbar, nullptr);
  // A click on the page's empty middle gives the window the activation, which hovering needs.
  const POINT page = MiddleOf(s_mainWindow);
  testsupport::InputClick(page.x, page.y - 150);
  RECT bar;
  ::GetWindowRect(toolbar, &bar);
  testsupport::InputMoveMouse(bar.left + 30, (bar.top + bar.bottom) / 2);
  ASSERT_TRUE(WaitForPane(statusBar, SELECT_PST_PROMPT, &shown))
      << "hovering the first tool button shows \"" << testsupport::Utf8(shown) << "\"";
  testsupport::InputMoveMouse(page.x, page.y - 150);
  EXPECT_TRUE(WaitForPane(statusBar, READY, &shown))
      << "after the mouse left the bars the pane says \"" << testsupport::Utf8(shown) << "\"";
}

TEST_F(WizardBars, AClickOnTheCaptionClosesTheOpenMenuAndLeavesNoTitleHighlighted) {
  HWND menuBar = WaitForText(s_mainWindow, L"Menu Bar", 10000);
  ASSERT_NE(menuBar, nullptr);
  const POINT page = MiddleOf(s_mainWindow);
  testsupport::InputMoveMouse(page.x, page.y - 150);
  int width = 0, height = 0;
  const std::vector<COLORREF> before = testsupport::WindowPixels(menuBar, &width, &height);
  ASSERT_FALSE(before.empty());

  RECT bar;
  ::GetWindowRect(menuBar, &bar);
  testsupport::InputClick(bar.left + 22, (bar.top + bar.bottom) / 2);
  HWND menu = WaitForPopup(s_mainWindow, s_program->ProcessId());
  ASSERT_NE(menu, nullptr) << "a click on File opened no menu";
  Screenshot(s_mainWindow, L"wizard_bars_file_menu.png");

  // The caption runs just above the client area, drawn by the window manager or by the program.
  RECT client;
  ::GetClientRect(s_mainWindow, &client);
  ::MapWindowPoints(s_mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ASSERT_TRUE(ClickOnDisplay((client.left + client.right) / 2, client.top - 8));
  EXPECT_TRUE(testsupport::PumpUntil([menu] { return !IsShown(menu); }, 10000)) << "the menu stayed open";
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] {
        int w = 0, h = 0;
        return testsupport::WindowPixels(menuBar, &w, &h) == before;
      },
      10000))
      << "the menu bar is not drawn as before the menu: its title stayed highlighted";
  Screenshot(s_mainWindow, L"wizard_bars_after_caption_click.png");
}

// During a conversion Select PST File and Export cannot act: they are drawn disabled, on the toolbar
// and in the File menu, while Help and Buy Online stay as they were. Their own program, whose run
// stops at its last save until the test has looked.
TEST(WizardBarsDuringARun, PageOnesCommandsAreDrawnDisabledWhileAConversionRuns) {
  testsupport::TempDir temp;
  const std::string pst = temp.File("small.pst");
  std::string output;
  ASSERT_EQ(RunTool("pstbuild.exe", "bulk 12 \"" + pst + "\" --folders 1", &output), 0u) << output;
  DeleteProfile();
  StandInHang hang("notes.save=12");
  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher(hang.Environment()));
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();
  testsupport::BringToFront(mainWindow);
  const CommandsLook before = LookOfCommands(mainWindow, pid);
  EXPECT_TRUE(before.pageOneButtons && before.otherButtons && before.pageOneMenuItems)
      << "on page one the commands are not drawn enabled";

  ASSERT_TRUE(
      StartConversion(mainWindow, pid, testsupport::Wide(pst), testsupport::Wide(temp.Path()), L"during"));
  HWND folders = WaitForFolderDialog(pid);
  ASSERT_NE(folders, nullptr);
  Answer(folders, IDOK);
  ASSERT_TRUE(hang.WaitUntilStopped());
  CommandsLook during = {};
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] {
        during = LookOfCommands(mainWindow, pid);
        return !during.pageOneButtons && during.otherButtons && !during.pageOneMenuItems;
      },
      10000))
      << "during the run: Select PST File and Export on the toolbar "
      << (during.pageOneButtons ? "in colour" : "greyed") << ", Help and Buy Online "
      << (during.otherButtons ? "in colour" : "greyed") << ", in the File menu "
      << (during.pageOneMenuItems ? "in colour" : "greyed");
  Screenshot(mainWindow, L"wizard_bars_during_a_run.png");
  program.Kill();
  DeleteProfile();
}

// The frame's caption, double-clicked on the display where the window manager (when one runs) sees it.
void DoubleClickCaption(HWND mainWindow) {
  RECT client = {};
  ::GetClientRect(mainWindow, &client);
  ::MapWindowPoints(mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ASSERT_TRUE(RunOnDisplay(L"mousemove " + std::to_wstring((client.left + client.right) / 2) + L" " +
                           std::to_wstring(client.top - 8) + L" click --repeat 2 --delay 80 1"));
}

// Whether the frame is laid out to its size: its status bar lies along the bottom of its client area,
// as wide as it.
bool LaidOutToItsSize(HWND mainWindow) {
  RECT client = {}, status = {};
  ::GetClientRect(mainWindow, &client);
  ::MapWindowPoints(mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ::GetWindowRect(::GetDlgItem(mainWindow, STATUS_BAR_ID), &status);
  return status.bottom == client.bottom && status.left == client.left && status.right == client.right;
}

// Under a window manager, a double click on the frame's caption maximises it even while a modal dialog
// is up (the manager does it, whatever the program's windows take): the frame then fills the screen's
// work area, laid out to that size, and the dialog keeps the keyboard. Without one the program draws
// the captions, and whether a disabled frame's takes a click is the system's affair.
TEST(WizardBarsMaximise, AFrameMaximisedUnderAModalDialogIsLaidOutToItsNewSize) {
  if (ProgramDrawsCaptions()) GTEST_SKIP() << "no window manager maximises the frame here";
  DeleteProfile();
  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();
  testsupport::BringToFront(mainWindow);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return ::IsZoomed(mainWindow) != FALSE; }, 10000));
  ASSERT_NO_FATAL_FAILURE(DoubleClickCaption(mainWindow));
  ASSERT_TRUE(
      testsupport::PumpUntil([&] { return !::IsZoomed(mainWindow) && LaidOutToItsSize(mainWindow); }, 10000))
      << "the frame was not restored";

  Click(WaitForText(mainWindow, L"Export", 10000));
  HWND box = WaitForMessageBox(pid, L"Please select PST File to export");
  ASSERT_NE(box, nullptr) << "Export without a PST said nothing";
  ASSERT_FALSE(::IsWindowEnabled(mainWindow));
  ASSERT_NO_FATAL_FAILURE(DoubleClickCaption(mainWindow));
  RECT work = {};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] {
        RECT now = {};
        ::GetWindowRect(mainWindow, &now);
        return ::IsZoomed(mainWindow) && now.right - now.left >= work.right - work.left &&
               LaidOutToItsSize(mainWindow);
      },
      10000))
      << "the frame maximised under the dialog is not laid out to its new size";
  Screenshot(mainWindow, L"wizard_bars_maximised_under_a_dialog.png");
  if (!KeyEnds(box, VK_RETURN)) {
    ADD_FAILURE() << "Enter did not end the message box";
    Answer(box, IDOK);
  }
  // Closed as a user closes it: a program ended from outside after the maximise is not always gone at
  // once, and would hold the test's output.
  ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  HWND question = WaitForMessageBox(pid, L"Are you sure , you want to close the application?");
  ASSERT_NE(question, nullptr);
  Answer(question, IDYES);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindow(mainWindow); }, 15000)) << "the program stayed";
  DeleteProfile();
}

}  // namespace
