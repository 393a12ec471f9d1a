// The road a user walks, end to end: the launcher starts the program, page one takes a PST, the Save
// Options dialog a new NSF, the Outlook Folders dialog the folders, and page three converts; then Next
// for a second file. Each NSF must hold what the conversion harness writes from the same fixture, and
// hold it in its file alone while the program keeps it open. Beside the road: the About box chosen from
// the menu with the keyboard, and the bars' layout and the user's shortcuts kept from one run to the
// next.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestProcess.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;
using testsupport::Wide;

namespace {

const wchar_t ABOUT_TITLE[] = L"About Brindle for PST to NSF";
// The About box's text (IDC_ABOUT_TEXT of the program's resources).
const int ABOUT_TEXT_ID = 1008;

// Page colours, as COLORREF values read from the screen.
const COLORREF STRIP_COLOUR = 0x0AD3FB;
const COLORREF STEP_PANEL = RGB(255, 255, 255);

// The customize sheet's Keyboard page and its controls (the toolkit's resources).
const int COMMANDS_LIST_ID = 9381;
const int KEYS_LIST_ID = 9383;
const int SHORTCUT_EDIT_ID = 9385;
const int ASSIGN_ID = 9386;
const int RESET_ALL_ID = 9388;

// The "Standard" toolbar of the main window, once it shows; NULL after 10 s.
HWND StandardToolbar(HWND mainWindow) {
  HWND found = nullptr;
  const DWORD start = ::GetTickCount();
  while (found == nullptr && ::GetTickCount() - start < 10000) {
    found =
        FindDescendant(mainWindow, [](HWND hwnd) { return IsShown(hwnd) && TextOf(hwnd) == L"Standard"; });
    if (found == nullptr) testsupport::PumpMessages(100);
  }
  return found;
}

// Alt+F4 and Yes to the close question; true when the program then ended.
bool CloseWithYes(ProgramRun& program, HWND mainWindow) {
  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress(VK_F4, {VK_MENU});
  HWND prompt = WaitForMessageBox(program.ProcessId(), L"Are you sure , you want to close the application?");
  if (prompt == nullptr) return false;
  Answer(prompt, IDYES);
  return program.WaitForExit(15000);
}

// A list box's text at index (the program's own list, read across the process).
std::wstring ListText(HWND list, LRESULT index) {
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Clicks the customize sheet's Close and waits for the sheet to go.
void CloseSheet(HWND sheet) {
  HWND close = FindVisibleChild(sheet, L"Button", L"Close");
  ASSERT_NE(close, nullptr);
  Click(close);
  const DWORD start = ::GetTickCount();
  while (IsShown(sheet) && ::GetTickCount() - start < 5000) testsupport::PumpMessages(50);
  ASSERT_FALSE(IsShown(sheet)) << "the customize sheet stayed";
}

// The road a user takes to the customize sheet: the toolbar's expand button, "Add or Remove Buttons",
// "Customize...", then Ctrl+Tab to the Keyboard page, with File's Export chosen in its command list.
// Returns the page; NULL when the road broke.
HWND OpenKeyboardPageOnExport(HWND mainWindow, DWORD pid, HWND* sheet) {
  HWND toolbar = StandardToolbar(mainWindow);
  if (toolbar == nullptr) return nullptr;
  RECT bar;
  ::GetWindowRect(toolbar, &bar);
  testsupport::BringToFront(mainWindow);
  testsupport::MouseClickAt(bar.right - 7, (bar.top + bar.bottom) / 2);
  HWND expand = WaitForPopup(mainWindow, pid);
  if (expand == nullptr) return nullptr;
  RECT rc;
  ::GetWindowRect(expand, &rc);
  testsupport::MouseClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  HWND addRemove = WaitForPopup(mainWindow, pid, expand);
  if (addRemove == nullptr) return nullptr;
  // "Customize..." is its last item.
  ::GetWindowRect(addRemove, &rc);
  testsupport::MouseClickAt((rc.left + rc.right) / 2, rc.bottom - 12);
  *sheet = WaitForWindow(pid, L"Customize", 10000, L"#32770");
  if (*sheet == nullptr) return nullptr;
  testsupport::KeyPress(VK_TAB, {VK_CONTROL});
  testsupport::KeyPress(VK_TAB, {VK_CONTROL});
  HWND page = nullptr;
  const DWORD start = ::GetTickCount();
  while (page == nullptr && ::GetTickCount() - start < 10000) {
    HWND commands = FindDescendant(
        *sheet, [](HWND hwnd) { return IsShown(hwnd) && ::GetDlgCtrlID(hwnd) == COMMANDS_LIST_ID; });
    page = commands != nullptr ? ::GetParent(commands) : nullptr;
    if (page == nullptr) testsupport::PumpMessages(50);
  }
  if (page == nullptr) return nullptr;
  HWND commands = ::GetDlgItem(page, COMMANDS_LIST_ID);
  Click(commands);
  testsupport::KeyPress(VK_HOME);
  testsupport::KeyPress(VK_DOWN);
  return testsupport::PumpUntil([commands] {
    return ListText(commands, ::SendMessageW(commands, LB_GETCURSEL, 0, 0)) == L"Export";
  })
             ? page
             : nullptr;
}

class WizardRoad : public ::testing::Test {
 protected:
  void SetUp() override { DeleteProfile(); }
  void TearDown() override { DeleteProfile(); }

  // Converts fixture through the wizard into folder\nsfName.nsf and checks it against the harness.
  void ConvertAndCompare(HWND mainWindow, DWORD pid, const std::string& fixture, const std::string& nsfName,
                         bool screenshots) {
    const std::string pst = temp_.File(fixture);
    ASSERT_TRUE(
        ::CopyFileW(Wide(testsupport::FixturePath("pst/" + fixture)).c_str(), Wide(pst).c_str(), FALSE));
    if (screenshots) Screenshot(mainWindow, L"wizard_page_one.png");

    ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(pst), Wide(temp_.Path()), Wide(nsfName)));
    HWND folders = WaitForFolderDialog(pid);
    ASSERT_NE(folders, nullptr) << "the Outlook Folders dialog did not show";
    if (screenshots) Screenshot(folders, L"wizard_outlook_folders.png");
    // The page waits for the dialog: a click on the main window leaves it in front, with the keyboard.
    EXPECT_TRUE(StaysInFrontAfterClickOn(mainWindow, folders));
    if (!KeyEnds(folders, VK_RETURN)) {
      ADD_FAILURE() << "Enter did not end the Outlook Folders dialog";
      Answer(folders, IDOK);
    }

    // The saving-complete dialog (208) shows its text in control 100.
    HWND complete = WaitForWindow(pid, APP_TITLE, 120000, L"#32770",
                                  [](HWND box) { return ::GetDlgItem(box, 100) != nullptr; });
    ASSERT_NE(complete, nullptr) << "no saving-complete dialog; status: "
                                 << testsupport::Utf8(StatusText(mainWindow));
    EXPECT_NE(TextOf(::GetDlgItem(complete, 100)).find(L"Saving Complete"), std::wstring::npos);
    EXPECT_TRUE(WaitForStatus(mainWindow, SAVING_COMPLETE_STATUS, 5000))
        << testsupport::Utf8(StatusText(mainWindow));
    // The page has shown the run's end before the dialog opened over it.
    EXPECT_EQ(WaitForText(mainWindow, L"Stop", 0), nullptr)
        << "Stop still shows under the saving-complete dialog";
    EXPECT_NE(WaitForText(mainWindow, L"Next", 0), nullptr)
        << "Next does not show under the saving-complete dialog";
    if (screenshots) {
      Screenshot(complete, L"wizard_saving_complete.png");
      Screenshot(mainWindow, L"wizard_page_three_done.png");
    }
    // What a user copies elsewhere once the saving is complete, while the program keeps the NSF open:
    // the file alone.
    const std::string copy = temp_.File(nsfName + "-copied-alone.nsf");
    ASSERT_TRUE(::CopyFileW(Wide(temp_.File(nsfName + ".nsf")).c_str(), Wide(copy).c_str(), TRUE));
    EXPECT_TRUE(StaysInFrontAfterClickOn(mainWindow, complete));
    if (!KeyEnds(complete, VK_RETURN)) {
      ADD_FAILURE() << "Enter did not end the saving-complete dialog";
      Answer(complete, IDOK);
    }

    const std::string wizardCounts = NsfCounts(temp_.File(nsfName + ".nsf"));
    const std::string harnessCounts = HarnessCounts(pst, temp_.File(nsfName + "-harness.nsf"));
    EXPECT_GT(FiledDocuments(wizardCounts), 0);
    EXPECT_EQ(wizardCounts, harnessCounts);
    EXPECT_EQ(NsfCounts(copy), wizardCounts);
  }

  testsupport::TempDir temp_;
};

TEST_F(WizardRoad, ConvertsTwoFixturesOneAfterTheOtherLikeTheHarness) {
  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr) << "the launcher did not bring up the main window";

  // Page one's frame, once the program has painted it: the step panel at the left, the yellow strip
  // along the bottom.
  HWND pageOne = nullptr;
  testsupport::PumpUntil(
      [&] {
        pageOne = FindDescendant(mainWindow, [](HWND hwnd) { return ::GetDlgCtrlID(hwnd) == 0xE900; });
        return pageOne != nullptr;
      },
      10000);
  ASSERT_NE(pageOne, nullptr);
  RECT page;
  ::GetClientRect(pageOne, &page);
  const auto panel = [&] { return testsupport::WindowPixel(pageOne, 5, 40) & 0xFFFFFF; };
  const auto strip = [&] {
    return testsupport::WindowPixel(pageOne, page.right - 40, page.bottom - 5) & 0xFFFFFF;
  };
  testsupport::PumpUntil([&] { return panel() == STEP_PANEL && strip() == STRIP_COLOUR; }, 10000);
  EXPECT_EQ(panel(), STEP_PANEL);
  EXPECT_EQ(strip(), STRIP_COLOUR);

  ConvertAndCompare(mainWindow, program.ProcessId(), "hht-three-items.pst", "three-items", true);

  // Next leads back to page one for another file; this one has items in its top folder. After the
  // saving-complete dialog the keyboard is on Next, and Enter presses it.
  HWND next = WaitForText(mainWindow, L"Next", 5000);
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(WaitForKeyboardOn(next)) << "the keyboard is not on Next after the saving-complete dialog";
  ASSERT_TRUE(PressOnDisplay(L"Return"));
  ASSERT_NE(WaitForText(mainWindow, L"Export", 10000), nullptr)
      << "Enter after the run did not go to page one";
  ConvertAndCompare(mainWindow, program.ProcessId(), "pstsdk-test-unicode-post.pst", "top-folder", false);

  // Exit asks first, then the program ends and keeps its bars' layout.
  HWND exitButton = WaitForText(mainWindow, L"Exit", 5000);
  ASSERT_NE(exitButton, nullptr);
  Click(exitButton);
  HWND prompt = WaitForMessageBox(program.ProcessId(), L"Are you sure , you want to close the application?");
  ASSERT_NE(prompt, nullptr);
  Answer(prompt, IDYES);
  DWORD exitCode = 1;
  EXPECT_TRUE(program.WaitForExit(15000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(ProfileKeyExists(L"CommandBars"));
}

// What was not converted is counted by kind in the page's line and in the message: a contact whose
// picture stayed behind is itself converted, so only an attachment is counted.
TEST_F(WizardRoad, WhatWasNotConvertedIsCountedByKindOnThePageAndInTheMessage) {
  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();
  const std::string pst = temp_.File("mixed.pst");
  ASSERT_TRUE(::CopyFileW(Wide(testsupport::FixturePath("pst/iped-ptbr-mixed.pst")).c_str(),
                          Wide(pst).c_str(), FALSE));
  ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(pst), Wide(temp_.Path()), L"mixed"));
  HWND folders = WaitForFolderDialog(pid);
  ASSERT_NE(folders, nullptr);
  Answer(folders, IDOK);

  const std::wstring counts = L"Not converted: 0 folder(s), 0 item(s) and 1 attachment(s)";
  HWND box = WaitForMessageBox(pid, counts, 120000);
  ASSERT_NE(box, nullptr) << "no message naming what was not converted; status: "
                          << testsupport::Utf8(StatusText(mainWindow));
  const std::wstring message = MessageBoxText(box);
  // The count by kind comes ahead of the lines.
  EXPECT_EQ(0u, message.find(counts + L"\r\n1 contact saved without its attachments\r\nContatos\\ item 1 \""))
      << testsupport::Utf8(message);
  EXPECT_NE(std::wstring::npos,
            message.find(L"attachment \"ContactPicture.jpg\": Contacts are saved without their "
                         L"attachments"))
      << testsupport::Utf8(message);
  Screenshot(box, L"wizard_not_converted_counts.png");
  Answer(box, IDOK);
  HWND complete = WaitForWindow(pid, APP_TITLE, 30000, L"#32770",
                                [](HWND dialog) { return ::GetDlgItem(dialog, 100) != nullptr; });
  ASSERT_NE(complete, nullptr);
  Answer(complete, IDOK);
  EXPECT_NE(FindDescendant(mainWindow, [&](HWND hwnd) { return IsShown(hwnd) && TextOf(hwnd) == counts; }),
            nullptr)
      << "the page's line under the status";
  Screenshot(mainWindow, L"wizard_page_three_counts.png");

  HWND exitButton = WaitForText(mainWindow, L"Exit", 5000);
  ASSERT_NE(exitButton, nullptr);
  Click(exitButton);
  HWND prompt = WaitForMessageBox(pid, L"you want to close the application?");
  ASSERT_NE(prompt, nullptr);
  Answer(prompt, IDYES);
  EXPECT_TRUE(program.WaitForExit(15000));
}

// The About box chosen from the Help menu with the keyboard: Alt+H drops the menu with its first
// command selected, Up moves round to About and Enter runs it. The box comes up in front of the main
// window, with the menu gone, and waits for its own keys: Escape closes it.
TEST_F(WizardRoad, AboutChosenWithEnterWaitsUntilEscapeClosesIt) {
  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();

  HWND menu = DropMenu(mainWindow, pid, L'H');
  ASSERT_NE(menu, nullptr) << "the Help menu did not drop";
  testsupport::KeyPress(VK_UP);
  testsupport::KeyPress(VK_RETURN);
  HWND about = WaitForWindow(pid, ABOUT_TITLE, 10000, L"#32770");
  ASSERT_NE(about, nullptr) << "Enter on About showed no About box";
  EXPECT_FALSE(IsShown(menu)) << "the Help menu stayed open";
  EXPECT_EQ(::GetForegroundWindow(), about) << "the About box is not in front";
  // Its text read back: the box answers, and it is still there.
  EXPECT_NE(TextOf(::GetDlgItem(about, ABOUT_TEXT_ID)).find(L"Brindle Software"), std::wstring::npos);
  EXPECT_TRUE(IsShown(about));
  Screenshot(about, L"wizard_about_by_keyboard.png");

  testsupport::KeyPress(VK_ESCAPE);
  const DWORD start = ::GetTickCount();
  while (IsShown(about) && ::GetTickCount() - start < 10000) testsupport::PumpMessages(50);
  EXPECT_FALSE(IsShown(about)) << "Escape did not close the About box";
  EXPECT_TRUE(IsShown(mainWindow));
  program.Kill();
}

// The bars' layout outlives the program: the "Standard" toolbar dragged to the frame's left edge is
// there again at the next start.
TEST_F(WizardRoad, TheToolbarMovedByTheUserIsWhereItWasAtTheNextStart) {
  ProgramRun first;
  ASSERT_TRUE(first.StartThroughLauncher());
  HWND mainWindow = first.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  HWND toolbar = StandardToolbar(mainWindow);
  ASSERT_NE(toolbar, nullptr) << "no toolbar \"Standard\"";
  RECT bar, client;
  ::GetWindowRect(toolbar, &bar);
  EXPECT_GT(bar.right - bar.left, bar.bottom - bar.top) << "the toolbar starts along the top";
  ::GetClientRect(mainWindow, &client);
  ::MapWindowPoints(mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);

  // Its gripper, dropped on the left edge of the frame.
  testsupport::BringToFront(mainWindow);
  testsupport::MouseDrag(bar.left + 4, (bar.top + bar.bottom) / 2, client.left + 5, client.top + 300);
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] {
        ::GetWindowRect(toolbar, &bar);
        return bar.bottom - bar.top > bar.right - bar.left;
      },
      10000))
      << "the toolbar did not dock at the left";
  Screenshot(mainWindow, L"wizard_toolbar_left.png");

  ASSERT_TRUE(CloseWithYes(first, mainWindow));
  EXPECT_TRUE(ProfileKeyExists(L"CommandBars"));

  ProgramRun second;
  ASSERT_TRUE(second.StartThroughLauncher());
  mainWindow = second.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  toolbar = StandardToolbar(mainWindow);
  ASSERT_NE(toolbar, nullptr);
  ::GetWindowRect(toolbar, &bar);
  EXPECT_GT(bar.bottom - bar.top, bar.right - bar.left) << "the toolbar is back along the top";
  Screenshot(mainWindow, L"wizard_toolbar_restored.png");
  second.Kill();
}

// A shortcut the user assigns on the customize sheet's Keyboard page outlives the program: Ctrl+Shift+E
// on Export runs Export at the next start and is listed there; the page's Reset All goes back to the
// frame's own table, which is then what is stored.
TEST_F(WizardRoad, AShortcutAssignedOnTheKeyboardPageIsKeptAndResetGoesBackToTheFramesOwn) {
  ProgramRun first;
  ASSERT_TRUE(first.StartThroughLauncher());
  HWND mainWindow = first.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  HWND sheet = nullptr;
  HWND page = OpenKeyboardPageOnExport(mainWindow, first.ProcessId(), &sheet);
  ASSERT_NE(page, nullptr) << "the Keyboard page with Export chosen did not come";
  Click(::GetDlgItem(page, SHORTCUT_EDIT_ID));
  testsupport::KeyPress('E', {VK_CONTROL, VK_SHIFT});
  ClickItem(page, ASSIGN_ID);
  HWND keys = ::GetDlgItem(page, KEYS_LIST_ID);
  EXPECT_TRUE(testsupport::PumpUntil([keys] { return ListText(keys, 0) == L"Ctrl+Shift+E"; }))
      << "Export's keys: " << testsupport::Utf8(ListText(keys, 0));
  Screenshot(sheet, L"wizard_keyboard_page_assigned.png");
  ASSERT_NO_FATAL_FAILURE(CloseSheet(sheet));
  ASSERT_TRUE(CloseWithYes(first, mainWindow));

  ProgramRun second;
  ASSERT_TRUE(second.StartThroughLauncher());
  mainWindow = second.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = second.ProcessId();
  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress('E', {VK_CONTROL, VK_SHIFT});
  HWND noPst = WaitForMessageBox(pid, L"Please select PST File to export");
  ASSERT_NE(noPst, nullptr) << "Ctrl+Shift+E did not run Export after the restart";
  Answer(noPst, IDOK);
  page = OpenKeyboardPageOnExport(mainWindow, pid, &sheet);
  ASSERT_NE(page, nullptr);
  keys = ::GetDlgItem(page, KEYS_LIST_ID);
  EXPECT_TRUE(testsupport::PumpUntil([keys] { return ListText(keys, 0) == L"Ctrl+Shift+E"; }))
      << "the kept shortcut is listed for Export";

  ClickItem(page, RESET_ALL_ID);
  HWND confirm = WaitForMessageBox(pid, L"Are you sure you want to reset the key assignments?");
  ASSERT_NE(confirm, nullptr);
  Answer(confirm, IDYES);
  EXPECT_TRUE(testsupport::PumpUntil([keys] { return ::SendMessageW(keys, LB_GETCOUNT, 0, 0) == 0; }))
      << "Export has no shortcut in the frame's table";
  ASSERT_NO_FATAL_FAILURE(CloseSheet(sheet));
  ASSERT_TRUE(CloseWithYes(second, mainWindow));

  // What is stored is the frame's own table: Ctrl+O, the open command.
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(PROFILE_KEY) + L"\\CommandBars").c_str(), 0,
                            KEY_READ, &key),
            ERROR_SUCCESS);
  ACCEL stored[4] = {};
  DWORD size = sizeof(stored);
  const LONG read =
      ::RegQueryValueExW(key, L"Accelerators", nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size);
  ::RegCloseKey(key);
  ASSERT_EQ(read, ERROR_SUCCESS);
  ASSERT_EQ(size, sizeof(ACCEL));
  EXPECT_EQ(stored[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(stored[0].key, 'O');
  EXPECT_EQ(stored[0].cmd, 57601);
}

}  // namespace
