// Ending a conversion early, end to end, on a large PST made by the PST builder: Stop (asked, then the
// worker leaves its loops) and closing the program while it converts. Both leave an NSF that opens.
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
const int LARGE_PST_MESSAGES = 20000;

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

  // Starts the program and a conversion of the large PST into nsfName, and waits until items are being
  // saved.
  HWND StartLargeConversion(ProgramRun& program, const std::wstring& nsfName) {
    if (!program.StartThroughLauncher()) return nullptr;
    HWND mainWindow = program.WaitForMainWindow();
    if (mainWindow == nullptr) return nullptr;
    if (!StartConversion(mainWindow, program.ProcessId(), Wide(s_largePst), Wide(temp_.Path()), nsfName))
      return nullptr;
    HWND folders = WaitForFolderDialog(program.ProcessId());
    if (folders == nullptr) return nullptr;
    Answer(folders, IDOK);
    const DWORD start = ::GetTickCount();
    while (StatusText(mainWindow).find(L"Saving Folder : ") != 0) {
      if (::GetTickCount() - start > 60000) return nullptr;
      testsupport::PumpMessages(100);
    }
    // Some documents are in before the run is ended.
    testsupport::PumpMessages(1000);
    return mainWindow;
  }

  static testsupport::TempDir* s_dir;
  static std::string s_largePst;
  testsupport::TempDir temp_;
};

testsupport::TempDir* WizardStop::s_dir = nullptr;
std::string WizardStop::s_largePst;

TEST_F(WizardStop, StopAsksThenEndsTheRunWithTheAbortedTextAndAReadableNsf) {
  ProgramRun program;
  HWND mainWindow = StartLargeConversion(program, L"stopped");
  ASSERT_NE(mainWindow, nullptr) << Utf8(StatusText(mainWindow));
  Screenshot(mainWindow, L"wizard_page_three_saving.png");

  HWND stop = WaitForText(mainWindow, L"Stop", 5000);
  ASSERT_NE(stop, nullptr);
  Click(stop);
  HWND question =
      WaitForMessageBox(program.ProcessId(), L"Are you sure you want to stop the saving process ?");
  ASSERT_NE(question, nullptr);
  const DWORD answered = ::GetTickCount();
  Answer(question, IDYES);

  HWND box = WaitForMessageBox(program.ProcessId(), L"Process aborted by user , \r\n", 10000);
  ASSERT_NE(box, nullptr) << "status: " << Utf8(StatusText(mainWindow));
  EXPECT_LT(::GetTickCount() - answered, 10000u);
  EXPECT_TRUE(WaitForStatus(mainWindow, ABORTED_STATUS, 2000)) << Utf8(StatusText(mainWindow));
  Screenshot(mainWindow, L"wizard_page_three_aborted.png");
  Answer(box, IDOK);

  const long filed = FiledDocuments(NsfCounts(temp_.File("stopped.nsf")));
  EXPECT_GT(filed, 0);
  EXPECT_LT(filed, LARGE_PST_MESSAGES);
  program.Kill();
}

TEST_F(WizardStop, ClosingDuringARunEndsTheProgramSoonWithAReadableNsf) {
  ProgramRun program;
  HWND mainWindow = StartLargeConversion(program, L"closed");
  ASSERT_NE(mainWindow, nullptr);

  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress(VK_F4, {VK_MENU});
  HWND prompt = WaitForMessageBox(program.ProcessId(), L"Are you sure , you want to close the application?");
  ASSERT_NE(prompt, nullptr);
  const DWORD answered = ::GetTickCount();
  Answer(prompt, IDYES);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(15000, &exitCode)) << "the program still runs 15 s after the close";
  EXPECT_LT(::GetTickCount() - answered, 15000u);
  EXPECT_EQ(exitCode, 0u);

  const long filed = FiledDocuments(NsfCounts(temp_.File("closed.nsf")));
  EXPECT_GT(filed, 0);
  EXPECT_LT(filed, LARGE_PST_MESSAGES);
}

}  // namespace
