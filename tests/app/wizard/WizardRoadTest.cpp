// The road a user walks, end to end: the launcher starts the program, page one takes a PST, the Save
// Options dialog a new NSF, the Outlook Folders dialog the folders, and page three converts; then Next
// for a second file. Each NSF must hold what the conversion harness writes from the same fixture, and
// hold it in its file alone while the program keeps it open. Beside the road: the About box chosen from
// the menu with the keyboard, and the bars' layout kept from one run to the next.
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
    if (screenshots) {
      Screenshot(complete, L"wizard_saving_complete.png");
      Screenshot(mainWindow, L"wizard_page_three_done.png");
    }
    // What a user copies elsewhere once the saving is complete, while the program keeps the NSF open:
    // the file alone.
    const std::string copy = temp_.File(nsfName + "-copied-alone.nsf");
    ASSERT_TRUE(::CopyFileW(Wide(temp_.File(nsfName + ".nsf")).c_str(), Wide(copy).c_str(), TRUE));
    EXPECT_TRUE(StaysInFrontAfterClickOn(mainWindow, complete));
    if (!KeyEnds(complete, VK_ESCAPE)) {
      ADD_FAILURE() << "Escape did not end the saving-complete dialog";
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
  testsupport::PumpMessages(500);

  // Page one's frame: the step panel at the left, the yellow strip along the bottom.
  RECT client;
  ::GetClientRect(mainWindow, &client);
  HWND pageOne = FindDescendant(mainWindow, [](HWND hwnd) { return ::GetDlgCtrlID(hwnd) == 0xE900; });
  ASSERT_NE(pageOne, nullptr);
  RECT page;
  ::GetClientRect(pageOne, &page);
  EXPECT_EQ(testsupport::WindowPixel(pageOne, 5, 40) & 0xFFFFFF, STEP_PANEL);
  EXPECT_EQ(testsupport::WindowPixel(pageOne, page.right - 40, page.bottom - 5) & 0xFFFFFF, STRIP_COLOUR);

  ConvertAndCompare(mainWindow, program.ProcessId(), "hht-three-items.pst", "three-items", true);

  // Next leads back to page one for another file; this one has items in its top folder.
  HWND next = WaitForText(mainWindow, L"Next", 5000);
  ASSERT_NE(next, nullptr);
  Click(next);
  ASSERT_NE(WaitForText(mainWindow, L"Export", 5000), nullptr);
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
  EXPECT_EQ(0u, message.find(counts + L"\r\nContatos\\ item 1 \"")) << testsupport::Utf8(message);
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
  auto standardToolbar = [](HWND mainWindow) {
    HWND found = nullptr;
    const DWORD start = ::GetTickCount();
    while (found == nullptr && ::GetTickCount() - start < 10000) {
      found =
          FindDescendant(mainWindow, [](HWND hwnd) { return IsShown(hwnd) && TextOf(hwnd) == L"Standard"; });
      if (found == nullptr) testsupport::PumpMessages(100);
    }
    return found;
  };

  ProgramRun first;
  ASSERT_TRUE(first.StartThroughLauncher());
  HWND mainWindow = first.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  HWND toolbar = standardToolbar(mainWindow);
  ASSERT_NE(toolbar, nullptr) << "no toolbar \"Standard\"";
  RECT bar, client;
  ::GetWindowRect(toolbar, &bar);
  EXPECT_GT(bar.right - bar.left, bar.bottom - bar.top) << "the toolbar starts along the top";
  ::GetClientRect(mainWindow, &client);
  ::MapWindowPoints(mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);

  // Its gripper, dropped on the left edge of the frame.
  testsupport::BringToFront(mainWindow);
  testsupport::MouseDrag(bar.left + 4, (bar.top + bar.bottom) / 2, client.left + 5, client.top + 300);
  testsupport::PumpMessages(500);
  ::GetWindowRect(toolbar, &bar);
  ASSERT_GT(bar.bottom - bar.top, bar.right - bar.left) << "the toolbar did not dock at the left";
  Screenshot(mainWindow, L"wizard_toolbar_left.png");

  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress(VK_F4, {VK_MENU});
  HWND prompt = WaitForMessageBox(first.ProcessId(), L"Are you sure , you want to close the application?");
  ASSERT_NE(prompt, nullptr);
  Answer(prompt, IDYES);
  ASSERT_TRUE(first.WaitForExit(15000));
  EXPECT_TRUE(ProfileKeyExists(L"CommandBars"));

  ProgramRun second;
  ASSERT_TRUE(second.StartThroughLauncher());
  mainWindow = second.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  toolbar = standardToolbar(mainWindow);
  ASSERT_NE(toolbar, nullptr);
  ::GetWindowRect(toolbar, &bar);
  EXPECT_GT(bar.bottom - bar.top, bar.right - bar.left) << "the toolbar is back along the top";
  Screenshot(mainWindow, L"wizard_toolbar_restored.png");
  second.Kill();
}

}  // namespace
