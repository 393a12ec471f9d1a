// Where the keyboard is on the road a user takes, end to end: every key goes through the display to
// whatever has its focus, as a person's does, and nothing in the test moves the focus. After each
// dialog of the conversion's worker and each question of the window the keyboard is back on the
// page's control, and the frame has the display's focus; a key pressed with the one that ends a
// worker's dialog is acted on; the worker's dialogs (the template choice too) take it as they open,
// and again when the program is restored; Alt+F4 closes the Outlook Folders dialog.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;
using testsupport::Utf8;
using testsupport::Wide;

namespace {

const wchar_t STOP_QUESTION[] = L"Are you sure you want to stop the saving process ?";
const wchar_t CLOSE_QUESTION[] = L"Are you sure , you want to close the application?";
const wchar_t NEXT_OR_EXIT[] =
    L"Click Next button to convert another file or click Exit button to close the software";
// A run long enough to be under way while the keys are pressed: its 300th save stops until released.
const int RUN_MESSAGES = 2000;
const char STOPPED_SAVE[] = "notes.save=300";
const char SMALL_FIXTURE[] = "pst/hht-three-items.pst";

class WizardKeys : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new testsupport::TempDir();
    s_runPst = s_dir->File("run.pst");
    std::string output;
    ASSERT_EQ(
        RunTool("pstbuild.exe", "bulk " + std::to_string(RUN_MESSAGES) + " \"" + s_runPst + "\"", &output),
        0u)
        << output;
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  void SetUp() override { DeleteProfile(); }
  void TearDown() override { DeleteProfile(); }

  // Starts the program through the launcher; its main window once it shows.
  static HWND Start(ProgramRun& program, const std::string& environment = std::string()) {
    return program.StartThroughLauncher(environment) ? program.WaitForMainWindow() : nullptr;
  }

  // Starts the program (with environment) and a conversion of pst into nsfName: the Outlook Folders
  // dialog once it shows, and the main window in *mainWindow; null when the road broke before.
  HWND StartToFolders(ProgramRun& program, const std::string& environment, const std::string& pst,
                      const std::wstring& nsfName, HWND* mainWindow) {
    *mainWindow = Start(program, environment);
    if (*mainWindow == nullptr ||
        !StartConversion(*mainWindow, program.ProcessId(), Wide(pst), Wide(temp_.Path()), nsfName))
      return nullptr;
    return WaitForFolderDialog(program.ProcessId());
  }

  // The fixture's copy in the test's directory.
  std::string SmallPst() {
    const std::string pst = temp_.File("three.pst");
    ::CopyFileW(Wide(testsupport::FixturePath(SMALL_FIXTURE)).c_str(), Wide(pst).c_str(), FALSE);
    return pst;
  }

  // The program's environment where the data directory's template list cannot be read and the shared
  // one holds no mail template: a run into a new NSF asks for a template.
  std::string TemplateChoiceEnvironment() {
    const std::string shared = temp_.File("shared");
    const std::string lotus = shared + "\\Application Data\\Lotus";
    for (const std::string& dir : {shared, shared + "\\Application Data", lotus})
      EXPECT_TRUE(::CreateDirectoryW(Wide(dir).c_str(), nullptr)) << dir;
    const std::string notebook = ProgramDirectory() + "\\..\\notes\\data\\notebook.ntf";
    EXPECT_TRUE(::CopyFileW(Wide(notebook).c_str(), Wide(lotus + "\\notebook.ntf").c_str(), FALSE))
        << notebook;
    return "STANDIN_FAULTS=notes.getdatabases=1\nALLUSERSPROFILE=" + shared;
  }

  // Starts the program with TemplateChoiceEnvironment (and extraEnvironment) and a run into a new NSF
  // nsfName (no extension) in the test's directory; the template dialog once the worker asks for a
  // template, NULL when the road broke before.
  HWND StartRunThatAsksForATemplate(ProgramRun& program, HWND* mainWindow, const std::wstring& nsfName,
                                    const std::string& extraEnvironment = std::string()) {
    *mainWindow = Start(program, TemplateChoiceEnvironment() + extraEnvironment);
    if (*mainWindow == nullptr) return nullptr;
    const DWORD pid = program.ProcessId();
    if (!StartConversion(*mainWindow, pid, Wide(SmallPst()), Wide(temp_.Path()), nsfName)) return nullptr;
    HWND choice = WaitForWindow(pid, L"Template", 30000, L"#32770");
    EXPECT_NE(choice, nullptr) << Utf8(StatusText(*mainWindow));
    return choice;
  }

  // Enter and Alt+F4 in one burst on a worker's dialog (what names it): the dialog ends, the close
  // question asks, and Yes ends the program.
  static void AltF4WithTheEndingEnterCloses(ProgramRun& program, HWND dialog, const std::string& what) {
    ASSERT_TRUE(KeysEnd(dialog, L"Return alt+F4")) << "Enter did not end " << what;
    HWND question = WaitForMessageBox(program.ProcessId(), CLOSE_QUESTION);
    ASSERT_NE(question, nullptr) << "Alt+F4 pressed as " << what << " ended asked nothing";
    ASSERT_TRUE(KeyEnds(question, VK_RETURN)) << "Yes did not end the close question";
    EXPECT_TRUE(program.WaitForExit(60000)) << "the program still runs after Yes to the close question";
  }

  // Page one's path field.
  static HWND PathField(HWND mainWindow) {
    return FindDescendant(mainWindow, [](HWND hwnd) {
      wchar_t name[16] = L"";
      ::GetClassNameW(hwnd, name, 16);
      return IsShown(hwnd) && wcscmp(name, L"Edit") == 0 && ::GetDlgCtrlID(hwnd) == 1;
    });
  }

  static testsupport::TempDir* s_dir;
  static std::string s_runPst;
  testsupport::TempDir temp_;
};

testsupport::TempDir* WizardKeys::s_dir = nullptr;
std::string WizardKeys::s_runPst;

// After Enter in Outlook Folders the run starts with the keyboard on Stop; after No to the stop and to
// the close question it is on Stop again; after the worker's final message it is on Next, and after
// Next on page one's path field, with its text selected.
TEST_F(WizardKeys, TheKeyboardIsOnThePagesControlAfterEveryDialogOfARun) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr;
  HWND folders = StartToFolders(program, hang.Environment(), s_runPst, L"keys", &mainWindow);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  const DWORD pid = program.ProcessId();
  ASSERT_TRUE(KeyEnds(folders, VK_RETURN)) << "Enter did not end the Outlook Folders dialog";
  ASSERT_TRUE(hang.WaitUntilStopped()) << Utf8(StatusText(mainWindow));

  HWND stop = FindVisibleChild(mainWindow, L"Button", L"Stop");
  ASSERT_NE(stop, nullptr);
  EXPECT_TRUE(WaitForKeyboardOn(stop)) << "the keyboard is not on Stop after the Outlook Folders dialog";
  ASSERT_TRUE(PressOnDisplay(L"space"));
  HWND question = WaitForMessageBox(pid, STOP_QUESTION);
  ASSERT_NE(question, nullptr) << "Space after the Outlook Folders dialog asked nothing";
  Screenshot(question, L"wizard_keys_stop_question.png");
  ASSERT_TRUE(KeysEnd(question, L"Tab Return")) << "No did not end the stop question";

  EXPECT_TRUE(WaitForKeyboardOn(stop)) << "the keyboard is not on Stop after No";
  ASSERT_TRUE(PressOnDisplay(L"alt+F4"));
  question = WaitForMessageBox(pid, CLOSE_QUESTION);
  ASSERT_NE(question, nullptr) << "Alt+F4 during the run asked nothing";
  ASSERT_TRUE(KeysEnd(question, L"Tab Return")) << "No did not end the close question";

  EXPECT_TRUE(WaitForKeyboardOn(stop)) << "the keyboard is not on Stop after No to the close question";
  ASSERT_TRUE(PressOnDisplay(L"space"));
  question = WaitForMessageBox(pid, STOP_QUESTION);
  ASSERT_NE(question, nullptr) << "Space after the close question asked nothing";
  ASSERT_TRUE(KeyEnds(question, VK_RETURN)) << "Yes did not end the stop question";
  hang.Release();

  HWND box = WaitForMessageBox(pid, L"Process aborted by user , \r\n", 60000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  ASSERT_TRUE(KeyEnds(box, VK_RETURN)) << "Enter did not end the worker's message";
  HWND next = WaitForText(mainWindow, L"Next", 10000);
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(WaitForKeyboardOn(next)) << "the keyboard is not on Next after the worker's message";
  ASSERT_TRUE(PressOnDisplay(L"Return"));
  ASSERT_NE(WaitForText(mainWindow, L"Export", 10000), nullptr)
      << "Enter after the run did not go to page one";

  HWND field = PathField(mainWindow);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(WaitForKeyboardOn(field)) << "the path field does not have the keyboard on page one";
  // As in a dialog, the first key types over the path of the run before.
  ASSERT_FALSE(TextOf(field).empty());
  ASSERT_TRUE(PressOnDisplay(L"x"));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return TextOf(field) == L"x"; }, 10000))
      << "the first key on page one did not type over the path field: " << Utf8(TextOf(field));
  Screenshot(mainWindow, L"wizard_keys_page_one_again.png");
  program.Kill();
}

// Keys pressed in one burst, as a quick user does: the key after the one that ends a worker's dialog
// reaches the frame as the frame gets the keyboard back, and is acted on. Space on Stop after Enter in
// Outlook Folders asks the stop question; Alt+F4 after Enter in the worker's final message asks the
// close question.
TEST_F(WizardKeys, AKeyPressedAsAWorkersDialogEndsIsActedOn) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr;
  HWND folders = StartToFolders(program, hang.Environment(), s_runPst, L"burst", &mainWindow);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  const DWORD pid = program.ProcessId();
  ASSERT_TRUE(KeysEnd(folders, L"Return space")) << "Enter did not end the Outlook Folders dialog";
  HWND question = WaitForMessageBox(pid, STOP_QUESTION);
  ASSERT_NE(question, nullptr) << "Space pressed as Outlook Folders ended asked nothing";
  ASSERT_TRUE(KeyEnds(question, VK_RETURN)) << "Yes did not end the stop question";
  hang.Release();

  HWND box = WaitForMessageBox(pid, L"Process aborted by user , \r\n", 60000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  AltF4WithTheEndingEnterCloses(program, box, "the worker's message");
}

// The other bursts of every worker's dialog: Space with the Enter that takes a template asks the stop
// question, Alt+F4 with the Enter that ends Outlook Folders or "Saving Complete" asks the close question.
TEST_F(WizardKeys, EveryWorkersDialogHandsTheKeyPressedWithItsEndToTheFrame) {
  ProgramRun program;
  // The run waits at its second save until the close question has been answered.
  StandInHang hang("notes.save=2");
  HWND mainWindow = nullptr;
  HWND choice = StartRunThatAsksForATemplate(program, &mainWindow, L"bursts", "\n" + hang.Environment());
  ASSERT_NE(choice, nullptr);
  const DWORD pid = program.ProcessId();
  ASSERT_TRUE(KeysEnd(choice, L"Return space")) << "Enter did not take the first template";
  HWND question = WaitForMessageBox(pid, STOP_QUESTION);
  ASSERT_NE(question, nullptr) << "Space pressed as the template dialog ended asked nothing";
  ASSERT_TRUE(KeysEnd(question, L"Tab Return")) << "No did not end the stop question";

  HWND folders = WaitForFolderDialog(pid);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  ASSERT_TRUE(KeysEnd(folders, L"Return alt+F4")) << "Enter did not end the Outlook Folders dialog";
  question = WaitForMessageBox(pid, CLOSE_QUESTION);
  ASSERT_NE(question, nullptr) << "Alt+F4 pressed as Outlook Folders ended asked nothing";
  ASSERT_TRUE(KeysEnd(question, L"Tab Return")) << "No did not end the close question";
  hang.Release();

  HWND complete = WaitForSavingComplete(pid, 60000);
  ASSERT_NE(complete, nullptr) << Utf8(StatusText(mainWindow)) << "; " << ShownWindowsOf(pid);
  AltF4WithTheEndingEnterCloses(program, complete, "\"Saving Complete\"");
}

TEST_F(WizardKeys, AltF4CancelsTheOutlookFoldersDialogAsEscapeDoes) {
  ProgramRun program;
  HWND mainWindow = nullptr;
  HWND folders = StartToFolders(program, std::string(), SmallPst(), L"closed", &mainWindow);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  const DWORD pid = program.ProcessId();
  ASSERT_TRUE(KeysEnd(folders, L"alt+F4")) << "Alt+F4 did not close the Outlook Folders dialog";
  HWND box = WaitForMessageBox(pid, L"Saving cancelled  by user , ", 30000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  EXPECT_EQ(StatusText(mainWindow), L"Saving cancelled by user");
  EXPECT_TRUE(KeyEnds(box, VK_RETURN));
  program.Kill();
}

// The template dialog takes the keyboard as it opens, with the first template chosen: Enter takes
// it, and the run goes on with it.
TEST_F(WizardKeys, TheTemplateChoiceTakesTheKeyboardLikeTheWorkersOtherDialogs) {
  ProgramRun program;
  HWND mainWindow = nullptr;
  HWND choice = StartRunThatAsksForATemplate(program, &mainWindow, L"notebook");
  ASSERT_NE(choice, nullptr);
  const DWORD pid = program.ProcessId();
  Screenshot(choice, L"wizard_keys_template_choice.png");
  ASSERT_TRUE(KeysEnd(choice, L"Return")) << "Enter in the template dialog did not take the first template";
  HWND folders = WaitForFolderDialog(pid);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  ASSERT_TRUE(KeyEnds(folders, VK_RETURN));
  HWND complete = WaitForSavingComplete(pid, 60000);
  ASSERT_NE(complete, nullptr) << Utf8(StatusText(mainWindow));
  EXPECT_TRUE(KeyEnds(complete, VK_RETURN));
  EXPECT_GT(FiledDocuments(NsfCounts(temp_.File("notebook.nsf"))), 0);
  program.Kill();
}

// Escape in the template dialog cancels the run before the NSF is made: the user is told so.
TEST_F(WizardKeys, EscapeInTheTemplateChoiceCancelsTheRunAndLeavesNothingBehind) {
  ProgramRun program;
  HWND mainWindow = nullptr;
  HWND choice = StartRunThatAsksForATemplate(program, &mainWindow, L"none");
  ASSERT_NE(choice, nullptr);
  ASSERT_TRUE(KeyEnds(choice, VK_ESCAPE)) << "Escape did not cancel the template dialog";
  HWND box = WaitForMessageBox(program.ProcessId(), L"Saving cancelled  by user , ", 30000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  const std::wstring target = Wide(temp_.File("none.NSF"));
  EXPECT_EQ(MessageBoxText(box), std::wstring(L"Saving cancelled  by user , \r\n") + NEXT_OR_EXIT +
                                     L"\r\n\r\nNothing is left behind: the new NSF file " + target +
                                     L" was not created.");
  EXPECT_EQ(StatusText(mainWindow), L"Saving cancelled by user");
  EXPECT_EQ(::GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(KeyEnds(box, VK_RETURN));
  program.Kill();
}

// Without a window manager the program's windows take the display's focus themselves: once the Outlook
// Folders dialog has ended, the frame has it again (not the root window, where keys reach the program
// only while the pointer is over it).
TEST_F(WizardKeys, TheFrameHasTheDisplaysFocusAgainAfterTheOutlookFoldersDialog) {
  ProgramRun program;
  StandInHang hang(STOPPED_SAVE);
  HWND mainWindow = nullptr;
  HWND folders = StartToFolders(program, hang.Environment(), s_runPst, L"focus", &mainWindow);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  ASSERT_TRUE(testsupport::PumpUntil([] { return DisplayFocusTitle() == L"Outlook Folders"; }, 10000))
      << "the dialog does not have the display's focus: \"" << Utf8(DisplayFocusTitle()) << "\"";
  ASSERT_TRUE(KeyEnds(folders, VK_RETURN));
  ASSERT_TRUE(hang.WaitUntilStopped()) << Utf8(StatusText(mainWindow));
  EXPECT_TRUE(testsupport::PumpUntil([] { return DisplayFocusTitle() == MAIN_TITLE; }, 10000))
      << "the display's focus is on \"" << Utf8(DisplayFocusTitle()) << "\", not on the frame";
  program.Kill();
}

// The program minimised through the window manager while the Outlook Folders dialog is open, and
// restored with Alt+Tab: the dialog has the keyboard again, and Escape cancels it.
TEST_F(WizardKeys, TheOutlookFoldersDialogHasTheKeyboardAgainWhenTheProgramIsRestored) {
  if (ProgramDrawsCaptions()) GTEST_SKIP() << "no window manager to minimise the program through";
  ProgramRun program;
  HWND mainWindow = nullptr;
  HWND folders = StartToFolders(program, std::string(), SmallPst(), L"restored", &mainWindow);
  ASSERT_NE(folders, nullptr) << Utf8(StatusText(mainWindow));
  const DWORD pid = program.ProcessId();
  ASSERT_TRUE(testsupport::PumpUntil([] { return DisplayFocusTitle() == L"Outlook Folders"; }, 10000))
      << "the dialog does not have the display's focus";
  ASSERT_TRUE(RunOnDisplay(L"search --name \"^Outlook Folders$\" windowminimize"));
  ASSERT_TRUE(testsupport::PumpUntil([] { return DisplayFocusTitle() != L"Outlook Folders"; }, 10000))
      << "the program was not minimised";
  ASSERT_TRUE(PressOnDisplay(L"alt+Tab"));
  EXPECT_TRUE(testsupport::PumpUntil([] { return DisplayFocusTitle() == L"Outlook Folders"; }, 10000))
      << "after the restore the display's focus is on \"" << Utf8(DisplayFocusTitle()) << "\"";
  ASSERT_TRUE(KeyEnds(folders, VK_ESCAPE)) << "Escape did not reach the restored dialog";
  HWND box = WaitForMessageBox(pid, L"Saving cancelled  by user , ", 30000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  program.Kill();
}

// Stop is asked while the worker lists the templates; the template choice that comes meanwhile waits for
// the answer, and after Yes it does not open: the run ends as stopped.
TEST_F(WizardKeys, AfterYesToStopTheTemplateChoiceThatWaitedDoesNotOpen) {
  const std::string environment = TemplateChoiceEnvironment();
  ASSERT_FALSE(HasFailure());
  // The second listing, of the shared templates, stops until released.
  StandInHang hang("notes.getdatabases=2");
  ProgramRun program;
  HWND mainWindow = Start(program, environment + "\n" + hang.Environment());
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();
  ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(SmallPst()), Wide(temp_.Path()), L"stopped"));
  ASSERT_TRUE(hang.WaitUntilStopped()) << Utf8(StatusText(mainWindow));
  HWND stop = FindVisibleChild(mainWindow, L"Button", L"Stop");
  ASSERT_NE(stop, nullptr);
  ASSERT_TRUE(WaitForKeyboardOn(stop));
  ASSERT_TRUE(PressOnDisplay(L"space"));
  HWND question = WaitForMessageBox(pid, STOP_QUESTION);
  ASSERT_NE(question, nullptr);
  hang.Release();
  ASSERT_TRUE(WaitForWorkerAtGate(pid)) << "the template choice did not wait for the answer";
  ASSERT_TRUE(KeyEnds(question, VK_RETURN)) << "Yes did not end the stop question";
  HWND shown = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] {
        shown = WaitForWindow(pid, L"Template", 0, L"#32770");
        if (shown == nullptr) shown = WaitForMessageBox(pid, L"Process aborted by user , \r\n", 0);
        return shown != nullptr;
      },
      60000))
      << Utf8(StatusText(mainWindow));
  EXPECT_NE(TextOf(shown), L"Template") << "the template choice opened after Yes to Stop";
  program.Kill();
}

}  // namespace
