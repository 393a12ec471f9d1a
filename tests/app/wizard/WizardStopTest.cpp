// Ending a conversion early, end to end, on PSTs made by the PST builder, with one Notes save made to
// stop until the test lets it go (so that the run is where the test wants it whatever the machine's
// speed): Stop and the close question (the worker waits at the pause gate while the user is asked, Yes
// ends the run, No lets it go on), a Stop that comes when nothing is left to convert, and closing the
// program while a save does not return (the program waits for it, painting, never ends the worker, and
// offers to end the program once the wait lasts too long). Each leaves an NSF that opens with every
// document the run showed and none outside a folder.
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
const wchar_t CLOSE_QUESTION[] = L"Are you sure , you want to close the application?";
const int LARGE_PST_MESSAGES = 20000;
// The save that stops: far from the run's end, so that the run is under way when the user acts.
const char STOPPED_SAVE[] = "notes.save=300";
// A PST of one folder whose last item is the last save of its run.
const int SMALL_PST_MESSAGES = 12;
const char LAST_SAVE[] = "notes.save=12";

class WizardStop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new testsupport::TempDir();
    s_largePst = s_dir->File("large.pst");
    std::string output;
    ASSERT_EQ(RunTool("pstbuild.exe",
                      "bulk " + std::to_string(LARGE_PST_MESSAGES) + " \"" + s_largePst + "\"", &output),
              0u);
    s_smallPst = s_dir->File("small.pst");
    ASSERT_EQ(RunTool("pstbuild.exe",
                      "bulk " + std::to_string(SMALL_PST_MESSAGES) + " \"" + s_smallPst + "\" --folders 1",
                      &output),
              0u);
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  void SetUp() override { DeleteProfile(); }
  void TearDown() override { DeleteProfile(); }

  // Starts the program with hang's save stopping, and a conversion of pst (the large PST by default)
  // into nsfName; returns once that save has stopped.
  HWND StartStoppedConversion(ProgramRun& program, StandInHang& hang, const std::wstring& nsfName,
                              const std::string& pst = s_largePst) {
    if (!program.StartThroughLauncher(hang.Environment())) return nullptr;
    HWND mainWindow = program.WaitForMainWindow();
    if (mainWindow == nullptr) return nullptr;
    if (!StartConversion(mainWindow, program.ProcessId(), Wide(pst), Wide(temp_.Path()), nsfName))
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

  // Alt+F4 through the display, once the keyboard is back on the run's Stop; the close question once it
  // shows.
  static HWND AskToClose(ProgramRun& program, HWND mainWindow) {
    HWND stop = WaitForText(mainWindow, L"Stop", 5000);
    if (stop == nullptr || !WaitForKeyboardOn(stop) || !PressOnDisplay(L"alt+F4")) return nullptr;
    return WaitForMessageBox(program.ProcessId(), CLOSE_QUESTION);
  }

  // Starts a run of the large PST into nsfName whose 300th save stops, asks with ask, and lets the save
  // return: the worker finishes that item and waits at the gate, the bar still on the item it showed.
  void AskMidRun(ProgramRun& program, StandInHang& hang, const std::wstring& nsfName,
                 HWND (*ask)(ProgramRun&, HWND), HWND* mainWindow, HWND* question, long* shown) {
    *mainWindow = StartStoppedConversion(program, hang, nsfName);
    ASSERT_NE(*mainWindow, nullptr) << Utf8(StatusText(*mainWindow));
    *question = ask(program, *mainWindow);
    ASSERT_NE(*question, nullptr);
    *shown = SettledItem(*mainWindow);
    ASSERT_GT(*shown, 0) << Utf8(ItemProgressText(*mainWindow));
    hang.Release();
    ASSERT_TRUE(WaitForWorkerAtGate(program.ProcessId())) << "the run did not wait for the answer";
    EXPECT_EQ(ShownItemNumber(ItemProgressText(*mainWindow)), *shown) << "the run went on under the question";
    EXPECT_TRUE(::IsWindowVisible(*question));
  }

  // Starts a run of the large PST into nsfName whose save hangs, closes with Yes, and returns the wait
  // dialog that then shows.
  void CloseDuringHungSave(ProgramRun& program, StandInHang& hang, const std::wstring& nsfName,
                           HWND* mainWindow, HWND* wait) {
    *mainWindow = StartStoppedConversion(program, hang, nsfName);
    ASSERT_NE(*mainWindow, nullptr) << Utf8(StatusText(*mainWindow));
    HWND question = AskToClose(program, *mainWindow);
    ASSERT_NE(question, nullptr);
    Answer(question, IDYES);
    *wait = WaitForWindow(program.ProcessId(), WAIT_DIALOG_TITLE, 10000);
    ASSERT_NE(*wait, nullptr) << "no wait dialog while the save hangs";
  }

  // Starts a run of the small PST into nsfName whose last save stops, asks with ask, and lets the save
  // return: the run goes on to its end and is held there, with no saving-complete dialog, the frame
  // disabled, the question open and the NSF complete.
  void AskAtTheEnd(ProgramRun& program, StandInHang& hang, const std::wstring& nsfName,
                   HWND (*ask)(ProgramRun&, HWND), HWND* mainWindow, HWND* question) {
    *mainWindow = StartStoppedConversion(program, hang, nsfName, s_smallPst);
    ASSERT_NE(*mainWindow, nullptr) << Utf8(StatusText(*mainWindow));
    *question = ask(program, *mainWindow);
    ASSERT_NE(*question, nullptr);
    hang.Release();
    ASSERT_TRUE(WaitForWorkerAtGate(program.ProcessId())) << "the run did not wait for the answer";
    EXPECT_EQ(WaitForSavingComplete(program.ProcessId(), 0), nullptr) << "the run ended under the question";
    EXPECT_FALSE(::IsWindowEnabled(*mainWindow)) << "the frame was enabled under the question";
    EXPECT_TRUE(IsShown(*question));
    EXPECT_EQ(FiledDocuments(NsfCounts(temp_.File(Utf8(nsfName) + ".nsf"))), SMALL_PST_MESSAGES);
  }

  // The saving-complete dialog and status of a whole run, after which page three offers the way on;
  // its Exit asks the close question.
  static void ExpectCompleteWithTheWayOn(ProgramRun& program, HWND mainWindow) {
    HWND complete = WaitForSavingComplete(program.ProcessId(), 60000);
    ASSERT_NE(complete, nullptr) << "status: " << Utf8(StatusText(mainWindow));
    Answer(complete, IDOK);
    EXPECT_TRUE(WaitForStatus(mainWindow, SAVING_COMPLETE_STATUS, 5000)) << Utf8(StatusText(mainWindow));
    const std::vector<std::wstring> wayOn = {L"Exit", L"Back", L"Next"};
    EXPECT_TRUE(testsupport::PumpUntil([&] { return PageThreeButtons(mainWindow) == wayOn; }, 10000))
        << "page three's buttons: " << Utf8(Joined(PageThreeButtons(mainWindow)));
    EXPECT_TRUE(::IsWindowEnabled(mainWindow));
    Click(WaitForText(mainWindow, L"Exit", 5000));
    HWND question = WaitForMessageBox(program.ProcessId(), CLOSE_QUESTION);
    ASSERT_NE(question, nullptr) << "Exit did not ask to close";
    Answer(question, IDNO);
  }

  static std::wstring Joined(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const std::wstring& text : texts) joined += L"[" + text + L"]";
    return joined;
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
  static std::string s_smallPst;
  testsupport::TempDir temp_;
};

testsupport::TempDir* WizardStop::s_dir = nullptr;
std::string WizardStop::s_largePst;
std::string WizardStop::s_smallPst;

TEST_F(WizardStop, NothingIsSavedWhileTheQuestionIsOpenAndYesEndsTheRunWithWhatItShowed) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr;
  HWND question = nullptr;
  long shown = 0;
  ASSERT_NO_FATAL_FAILURE(AskMidRun(program, hang, L"stopped", AskToStop, &mainWindow, &question, &shown));
  Screenshot(mainWindow, L"wizard_page_three_saving.png");
  Answer(question, IDYES);

  HWND box = WaitForMessageBox(program.ProcessId(), L"Process aborted by user , \r\n", 60000);
  ASSERT_NE(box, nullptr) << "status: " << Utf8(StatusText(mainWindow));
  EXPECT_TRUE(WaitForStatus(mainWindow, ABORTED_STATUS, 5000)) << Utf8(StatusText(mainWindow));
  Screenshot(mainWindow, L"wizard_page_three_aborted.png");
  const std::wstring message = MessageBoxText(box);
  Answer(box, IDOK);

  // Every item up to the one shown is in the NSF, and none after it (the stopped save is in the first
  // folder that has items); the message counts every other item as not converted.
  EXPECT_EQ(FiledDocuments(NsfCounts(temp_.File("stopped.nsf"))), shown);
  EXPECT_EQ(shown + NotConvertedItems(message), LARGE_PST_MESSAGES) << Utf8(message);
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

TEST_F(WizardStop, AStopWhenNothingIsLeftToConvertReportsTheRunComplete) {
  ProgramRun program;
  StandInHang hang(LAST_SAVE);
  HWND mainWindow = nullptr;
  HWND question = nullptr;
  ASSERT_NO_FATAL_FAILURE(AskAtTheEnd(program, hang, L"stopped-at-end", AskToStop, &mainWindow, &question));
  Answer(question, IDYES);
  ExpectCompleteWithTheWayOn(program, mainWindow);
  program.Kill();
}

TEST_F(WizardStop, TheCloseQuestionHoldsARunThatReachesItsEndAndNoLetsItFinish) {
  ProgramRun program;
  StandInHang hang(LAST_SAVE);
  HWND mainWindow = nullptr;
  HWND question = nullptr;
  ASSERT_NO_FATAL_FAILURE(AskAtTheEnd(program, hang, L"close-no", AskToClose, &mainWindow, &question));
  Screenshot(mainWindow, L"wizard_close_question_holds_the_run.png");
  Answer(question, IDNO);
  ExpectCompleteWithTheWayOn(program, mainWindow);
  EXPECT_FALSE(program.WaitForExit(0));
  program.Kill();
}

TEST_F(WizardStop, YesToTheCloseQuestionEndsTheRunWhereItWaitedAndCloses) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr;
  HWND question = nullptr;
  long shown = 0;
  ASSERT_NO_FATAL_FAILURE(AskMidRun(program, hang, L"close-yes", AskToClose, &mainWindow, &question, &shown));
  Answer(question, IDYES);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(60000, &exitCode)) << "the program still runs after Yes";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FiledDocuments(NsfCounts(temp_.File("close-yes.nsf"))), shown);
}

// Stop is asked while the worker makes the NSF; the Outlook Folders dialog that comes meanwhile waits
// for the answer, and after Yes it does not open: the run ends as stopped.
TEST_F(WizardStop, AfterYesToStopTheOutlookFoldersDialogThatWaitedDoesNotOpen) {
  ProgramRun program;
  StandInHang hang("notes.createfromtemplate");
  ASSERT_TRUE(program.StartThroughLauncher(hang.Environment()));
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_TRUE(
      StartConversion(mainWindow, program.ProcessId(), Wide(s_smallPst), Wide(temp_.Path()), L"before"));
  ASSERT_TRUE(hang.WaitUntilStopped()) << Utf8(StatusText(mainWindow));
  HWND question = AskToStop(program, mainWindow);
  ASSERT_NE(question, nullptr);
  hang.Release();
  ASSERT_TRUE(WaitForWorkerAtGate(program.ProcessId())) << "the dialog did not wait for the answer";
  Answer(question, IDYES);
  HWND shown = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] {
        shown = WaitForFolderDialog(program.ProcessId(), 0);
        if (shown == nullptr)
          shown = WaitForMessageBox(program.ProcessId(), L"Process aborted by user , \r\n", 0);
        return shown != nullptr;
      },
      60000))
      << Utf8(StatusText(mainWindow));
  EXPECT_NE(TextOf(shown), L"Outlook Folders") << "the Outlook Folders dialog opened after Yes to Stop";
  program.Kill();
}

TEST_F(WizardStop, ClosingWhileASaveHangsWaitsPaintingAndEndsWithEveryShownDocumentSaved) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr, wait = nullptr;
  ASSERT_NO_FATAL_FAILURE(CloseDuringHungSave(program, hang, L"closed", &mainWindow, &wait));

  // The wait says what it waits for, and the windows keep painting under it.
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

TEST_F(WizardStop, AWaitForASaveThatNeverReturnsOffersToEndTheProgramAndTheNsfOpensAfterIt) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr, wait = nullptr;
  ASSERT_NO_FATAL_FAILURE(CloseDuringHungSave(program, hang, L"ended", &mainWindow, &wait));
  // The offer comes once the wait has lasted its bound, with the keyboard on waiting on.
  HWND exitNow = WaitForText(wait, L"Exit Now", 60000);
  ASSERT_NE(exitNow, nullptr) << "the wait offered no way out: " << Utf8(MessageBoxText(wait));
  EXPECT_NE(MessageBoxText(wait).find(L"click Exit Now to close the software at once"), std::wstring::npos)
      << Utf8(MessageBoxText(wait));
  HWND keepWaiting = FindVisibleChild(wait, L"Button", L"Keep Waiting");
  ASSERT_NE(keepWaiting, nullptr);
  EXPECT_TRUE(WaitForKeyboardOn(keepWaiting)) << "the keyboard is not on Keep Waiting";
  Screenshot(wait, L"wizard_wait_offers_to_end_the_program.png");
  // Enter, the key a waiting user presses, waits on: the offer goes until the wait has lasted as long
  // again.
  ASSERT_TRUE(PressOnDisplay(L"Return"));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsShown(exitNow); }, 10000)) << "Enter did not wait on";
  EXPECT_FALSE(program.WaitForExit(0)) << "Enter ended the program";

  // Exit Now is chosen: Tab to it, then Enter; the program ends with the code of a program that did
  // not close as it should have.
  ASSERT_NE(WaitForText(wait, L"Exit Now", 60000), nullptr) << "the offer did not come again";
  ASSERT_TRUE(WaitForKeyboardOn(keepWaiting));
  ASSERT_TRUE(PressOnDisplay(L"Tab Return"));
  DWORD exitCode = 0;
  ASSERT_TRUE(program.WaitForExit(30000, &exitCode)) << "Exit Now did not end the program";
  EXPECT_EQ(exitCode, 1u);

  // As after a kill: the NSF opens, and every document in it is in a folder.
  std::string counts;
  ASSERT_EQ(RunTool("nsfdump.exe", "counts \"" + temp_.File("ended.nsf") + "\"", &counts), 0u) << counts;
  EXPECT_GT(FiledDocuments(counts), 0) << counts;
  EXPECT_EQ(UnfiledDocuments(counts), 0) << counts;
}

}  // namespace
