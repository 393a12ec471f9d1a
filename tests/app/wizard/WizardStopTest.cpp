// Ending a conversion early, end to end, on a large PST made by the PST builder, with one Notes save
// made to stop until the test lets it go (so that the run is still under way whatever the machine's
// speed): Stop (the worker waits while the user is asked, Yes ends the run) and closing the program
// while a save does not return (the program waits for it, painting, and never ends the worker). Both
// leave an NSF that opens with every document the run showed.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestProcess.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;
using testsupport::Utf8;
using testsupport::Wide;

namespace {

const wchar_t ABORTED_STATUS[] =
    L"Process aborted by user , Click Next button to convert another file or click Exit button to close the "
    L"software";
const wchar_t WAIT_DIALOG_TITLE[] = L"Please wait while current process finish....";
const int LARGE_PST_MESSAGES = 20000;
// The save that stops: far from the run's end, so that the run is under way when the user acts.
const char STOPPED_SAVE[] = "notes.save=300";

class WizardStop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new testsupport::TempDir();
    s_largePst = s_dir->File("large.pst");
    std::string output;
    ASSERT_EQ(RunTool("pstbuild.exe",
                      "bulk " + std::to_string(LARGE_PST_MESSAGES) + " \"" + s_largePst + "\"", &output),
              0u);
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  void SetUp() override { DeleteProfile(); }
  void TearDown() override { DeleteProfile(); }

  // Starts the program with hang's save stopping, and a conversion of the large PST into nsfName;
  // returns once that save has stopped.
  HWND StartStoppedConversion(ProgramRun& program, StandInHang& hang, const std::wstring& nsfName) {
    if (!program.StartThroughLauncher(hang.Environment())) return nullptr;
    HWND mainWindow = program.WaitForMainWindow();
    if (mainWindow == nullptr) return nullptr;
    if (!StartConversion(mainWindow, program.ProcessId(), Wide(s_largePst), Wide(temp_.Path()), nsfName))
      return nullptr;
    HWND folders = WaitForFolderDialog(program.ProcessId());
    if (folders == nullptr) return nullptr;
    Answer(folders, IDOK);
    return hang.WaitUntilStopped() ? mainWindow : nullptr;
  }

  // Clicks Stop; the question once it shows.
  static HWND AskToStop(ProgramRun& program, HWND mainWindow) {
    HWND stop = WaitForText(mainWindow, L"Stop", 5000);
    if (stop == nullptr) return nullptr;
    Click(stop);
    return WaitForMessageBox(program.ProcessId(), L"Are you sure you want to stop the saving process ?");
  }

  // The item the bar shows once it has settled on one (the worker no longer moves it on).
  static long SettledItem(HWND mainWindow) {
    long shown = -1;
    testsupport::PumpUntil(
        [&] {
          shown = ShownItemNumber(ItemProgressText(mainWindow));
          return shown > 0;
        },
        10000);
    return shown;
  }

  static testsupport::TempDir* s_dir;
  static std::string s_largePst;
  testsupport::TempDir temp_;
};

testsupport::TempDir* WizardStop::s_dir = nullptr;
std::string WizardStop::s_largePst;

TEST_F(WizardStop, NothingIsSavedWhileTheQuestionIsOpenAndYesEndsTheRunWithWhatItShowed) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = StartStoppedConversion(program, hang, L"stopped");
  ASSERT_NE(mainWindow, nullptr) << Utf8(StatusText(mainWindow));
  Screenshot(mainWindow, L"wizard_page_three_saving.png");

  HWND question = AskToStop(program, mainWindow);
  ASSERT_NE(question, nullptr);
  const long shown = SettledItem(mainWindow);
  ASSERT_GT(shown, 0) << Utf8(ItemProgressText(mainWindow));

  // The save goes on; the worker finishes that item and then waits for the answer.
  hang.Release();
  ASSERT_TRUE(WaitForWorkerAtGate(program.ProcessId())) << "the run did not wait for the answer";
  EXPECT_EQ(ShownItemNumber(ItemProgressText(mainWindow)), shown) << "the run went on under the question";
  EXPECT_TRUE(::IsWindowVisible(question));
  Answer(question, IDYES);

  HWND box = WaitForMessageBox(program.ProcessId(), L"Process aborted by user , \r\n", 60000);
  ASSERT_NE(box, nullptr) << "status: " << Utf8(StatusText(mainWindow));
  EXPECT_TRUE(WaitForStatus(mainWindow, ABORTED_STATUS, 5000)) << Utf8(StatusText(mainWindow));
  Screenshot(mainWindow, L"wizard_page_three_aborted.png");
  Answer(box, IDOK);

  // Every item up to the one shown is in the NSF, and none after it (the stopped save is in the first
  // folder that has items).
  EXPECT_EQ(FiledDocuments(NsfCounts(temp_.File("stopped.nsf"))), shown);
  program.Kill();
}

TEST_F(WizardStop, NoLetsTheRunGoOnFromWhereItWaited) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = StartStoppedConversion(program, hang, L"resumed");
  ASSERT_NE(mainWindow, nullptr) << Utf8(StatusText(mainWindow));

  HWND question = AskToStop(program, mainWindow);
  ASSERT_NE(question, nullptr);
  const long shown = SettledItem(mainWindow);
  hang.Release();
  Answer(question, IDNO);
  EXPECT_TRUE(
      testsupport::PumpUntil([&] { return ShownItemNumber(ItemProgressText(mainWindow)) > shown; }, 30000))
      << Utf8(ItemProgressText(mainWindow));
  program.Kill();
}

TEST_F(WizardStop, ClosingWhileASaveHangsWaitsPaintingAndEndsWithEveryShownDocumentSaved) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = StartStoppedConversion(program, hang, L"closed");
  ASSERT_NE(mainWindow, nullptr) << Utf8(StatusText(mainWindow));

  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress(VK_F4, {VK_MENU});
  HWND prompt = WaitForMessageBox(program.ProcessId(), L"Are you sure , you want to close the application?");
  ASSERT_NE(prompt, nullptr);
  Answer(prompt, IDYES);

  // The wait says what it waits for, and the windows keep painting under it.
  HWND wait = WaitForWindow(program.ProcessId(), WAIT_DIALOG_TITLE, 10000);
  ASSERT_NE(wait, nullptr) << "no wait dialog while the save hangs";
  const std::wstring waitText = MessageBoxText(wait);
  EXPECT_NE(waitText.find(L"saving to stop"), std::wstring::npos) << Utf8(waitText);
  const long shown = SettledItem(mainWindow);
  ASSERT_GT(shown, 0);
  HWND page = FindDescendant(mainWindow, [](HWND hwnd) { return ::GetDlgCtrlID(hwnd) == 0xE902; });
  ASSERT_NE(page, nullptr);
  ::InvalidateRect(page, nullptr, TRUE);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !::GetUpdateRect(page, nullptr, FALSE); }, 10000))
      << "page three did not paint while the program waited";
  Screenshot(mainWindow, L"wizard_closing_waits_for_the_save.png");
  EXPECT_FALSE(program.WaitForExit(0)) << "the program ended before the save returned";

  hang.Release();
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(60000, &exitCode)) << "the program still runs after the save returned";
  EXPECT_EQ(exitCode, 0u);
  // The hung item is finished and in the NSF with every item before it; nothing after it was begun.
  EXPECT_EQ(FiledDocuments(NsfCounts(temp_.File("closed.nsf"))), shown);
}

}  // namespace
