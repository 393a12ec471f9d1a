// Drives the program "Brindle for PST to NSF.exe" from outside its process, as a user does: starts it
// (through the launcher, or directly), finds its windows, clicks and types with real input, reads what
// its windows say, and checks the NSF it wrote with the test tools.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wizardtest {

extern const wchar_t MAIN_TITLE[];
// The title of the program's message boxes and of the saving-complete dialog.
extern const wchar_t APP_TITLE[];
extern const wchar_t SAVING_COMPLETE_STATUS[];
// The program's registry profile, HKEY_CURRENT_USER relative.
extern const wchar_t PROFILE_KEY[];

// The directory of the test programs, where the program and its launcher are built.
std::string ProgramDirectory();
// The program's path.
std::string ProgramPath();

// One run of the program. The destructor ends a program still running (and closes its handles).
class ProgramRun {
 public:
  ProgramRun() = default;
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Starts "Brindle Launcher.exe" from the test's program directory, which starts the program there;
  // extraEnvironment ("NAME=value", one a line, each replacing a variable of that name) reaches the
  // program through the launcher.
  bool StartThroughLauncher(const std::string& extraEnvironment = std::string());
  // Starts exePath itself in workingDir.
  bool StartDirect(const std::string& exePath, const std::string& workingDir,
                   const std::string& extraEnvironment = std::string());
  // The main window once it shows (and the program's process is known); NULL after the timeout.
  HWND WaitForMainWindow(DWORD timeoutMs = 30000);
  // The program's process id (0 until known).
  DWORD ProcessId() const { return pid_; }
  // Waits for the program to end; false after the timeout. exitCode may be null.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  bool Start(const std::string& commandLine, const std::string& workingDir,
             const std::string& extraEnvironment, bool isProgram);
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// A visible top-level window of process pid (any process with 0) with this title and, when given,
// this class, for which match (when given) holds. Waits up to timeoutMs.
HWND WaitForWindow(DWORD pid, const std::wstring& title, DWORD timeoutMs = 10000,
                   const wchar_t* className = nullptr, const std::function<bool(HWND)>& match = nullptr);
// A message box (dialog class) of pid titled APP_TITLE whose text contains part.
HWND WaitForMessageBox(DWORD pid, const std::wstring& part, DWORD timeoutMs = 10000);
// The text of a message box's message.
std::wstring MessageBoxText(HWND box);
// The visible top-level windows of pid, with their classes, titles and messages: what a failure that
// waited for one in vain says.
std::string ShownWindowsOf(DWORD pid);
// True when no window of pid with this title shows within timeoutMs.
bool StaysAway(DWORD pid, const std::wstring& title, DWORD timeoutMs);

std::wstring TextOf(HWND hwnd);
// The first descendant of parent (depth first) for which match holds.
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match);
// A visible descendant of the class with this exact text.
HWND FindVisibleChild(HWND parent, const wchar_t* className, const std::wstring& text);
// Waits until a visible descendant of parent has this exact text; returns it.
HWND WaitForText(HWND parent, const std::wstring& text, DWORD timeoutMs);
bool IsShown(HWND hwnd);

// Real input: brings the window's top-level window to the front and clicks the middle of hwnd.
void Click(HWND hwnd);
// Clicks a dialog's control by id.
void ClickItem(HWND dialog, int id);
// Clicks into an edit, empties it and types text.
void TypeInto(HWND edit, const std::wstring& text);
// Presses a button of a message box or dialog and waits for the box to go.
void Answer(HWND box, int buttonId);
// Clicks the main window beside the dialog, as a user does who looks for it there (real input, no
// window brought forward first); true when the dialog is then still the window in front at its
// middle, still the foreground window, and drawn as the active window.
bool StaysInFrontAfterClickOn(HWND mainWindow, HWND dialog);
// Whether the window's caption shows the active colours, as read from the screen; true whenever a
// window manager draws the captions.
bool CaptionDrawnActive(HWND window);
// Whether Wine shows the program's windows unmanaged, drawing their captions itself: the test set-up
// has it so (the X11 driver's "Managed" value N) on a display without a window manager.
bool ProgramDrawsCaptions();
// Presses keys where a person's keys arrive: on the display (its test extension, through the host's
// xdotool), which hands them to the window that has the display's focus. keys are xdotool's names,
// pressed one after the other ("Tab Return", "alt+F4", "space"). SendInput would not show what a
// person meets: the system gives its keys to the foreground window's thread, whichever window the
// display has given the keyboard to. The keys are pressed after the call returns: the caller waits for
// their effect.
bool PressOnDisplay(const std::wstring& keys);
// Runs the host's xdotool with arguments on the display the program's windows are shown on (keys,
// clicks, requests to the window manager). Wine starts a host program without a handle to it: true once
// it is started, and the caller waits for its effect.
bool RunOnDisplay(const std::wstring& arguments);
// The name of the window that has the display's focus, as the display tells it (the host's xdotool):
// a window's title, a window manager's name for its own window, "" for the root window or when it
// could not be read. Waits for xdotool's answer, which the host's shell writes to a file: Wine gives
// a host program no handle for its output.
std::wstring DisplayFocusTitle();
// Presses key (Enter or Escape), or keys, on the display and waits for the dialog to go; true when it
// went.
bool KeyEnds(HWND dialog, WORD key);
bool KeysEnd(HWND dialog, const std::wstring& keys);
// The window that has the keyboard in the foreground window's input, as the system tells it.
HWND KeyboardWindow();
// Waits until window's top-level window is the foreground window and window has the keyboard there:
// a key a person presses now reaches it. Reads only; it moves nothing.
bool WaitForKeyboardOn(HWND window, DWORD timeoutMs = 10000);
// Clicks at a screen point on the display (its test extension, through the host's xdotool), where a
// window manager sees the click when it draws what lies there (a caption, a border); SendInput hands
// its clicks to the program's windows alone. Returns once the click is under way: the caller waits for
// its effect. False when xdotool could not be started.
bool ClickOnDisplay(int x, int y);
// Runs xdotool with arguments on the display, then has it move the pointer to end, and waits until the
// pointer is there: the commands before are done then. True when they were within timeoutMs.
bool RunOnDisplayUntilPointerAt(const std::wstring& arguments, POINT end, DWORD timeoutMs = 10000);

// Drops a menu of the main window's menu bar as a person does, with Alt and the menu's letter pressed
// on the display once the main window has the keyboard, and returns the menu's popup once it shows;
// NULL when none showed within timeoutMs. The popup is an untitled tool window of the program that
// the main window owns.
HWND DropMenu(HWND mainWindow, DWORD pid, wchar_t letter, DWORD timeoutMs = 10000);
// A popup of the main window's bars (a menu, a submenu, a toolbar's drop-down) that is not except,
// once it shows; NULL when none showed within timeoutMs.
HWND WaitForPopup(HWND mainWindow, DWORD pid, HWND except = nullptr, DWORD timeoutMs = 10000);

// Saves what hwnd shows as a PNG (name without directory) and returns the path.
std::wstring Screenshot(HWND hwnd, const std::wstring& name);

// Runs a program of the test's directory with arguments; exit code, output.
DWORD RunTool(const std::string& program, const std::string& arguments, std::string* output);
// nsfdump counts of an NSF, as text.
std::string NsfCounts(const std::string& nsfPath);
// The total of nsfdump counts over Notes folders (documents filed in a folder).
long FiledDocuments(const std::string& countsText);
// The total of nsfdump counts of documents in no folder.
long UnfiledDocuments(const std::string& countsText);
// convert-harness of pstPath into nsfPath, then nsfdump counts of that NSF.
std::string HarnessCounts(const std::string& pstPath, const std::string& nsfPath);

// The items that a final message counts as not converted, by its line "1,700 items not converted"; -1
// when it has none.
long NotConvertedItems(const std::wstring& message);

// Removes the program's registry profile (start and end of a test).
void DeleteProfile();
bool ProfileKeyExists(const std::wstring& subKey);

// The road of one conversion from page one: types the PST path, presses Export, fills the Save Options
// dialog with a new file nsfName (no extension) in folder and answers the recommendation; false when
// the road broke before.
bool StartConversion(HWND mainWindow, DWORD pid, const std::wstring& pstPath, const std::wstring& folder,
                     const std::wstring& nsfName);
// As StartConversion, into the existing NSF nsfPath ("Save in existing file").
bool StartConversionInto(HWND mainWindow, DWORD pid, const std::wstring& pstPath,
                         const std::wstring& nsfPath);
// What page three's step list shows for each of its three steps, read from the screen by the colour of
// the step's caption: "done" (green, ticked), "current" (red) or "later" (grey); "?" for none of them.
std::vector<std::string> PageThreeSteps(HWND mainWindow);
// The Outlook Folders dialog of pid, once it shows.
HWND WaitForFolderDialog(DWORD pid, DWORD timeoutMs = 30000);
// The page-three status caption's text, as the program's window reports it.
std::wstring StatusText(HWND mainWindow);
// The text of page three's item bar ("Saving email 3 of 9 - subject"); "" when it is not shown.
std::wstring ItemProgressText(HWND mainWindow);
// The item number such a text shows; -1 for any other text.
long ShownItemNumber(const std::wstring& itemText);

// A call of the Notes stand-in that stops until the test releases it (STANDIN_HANG, key as
// "notes.save=200"): the program started with Environment() stops in that call. The destructor
// releases it, so that a program left running can end.
class StandInHang {
 public:
  explicit StandInHang(const std::string& key);
  ~StandInHang();
  StandInHang(const StandInHang&) = delete;
  StandInHang& operator=(const StandInHang&) = delete;

  std::string Environment() const;
  // Waits until the call has stopped; false after the timeout.
  bool WaitUntilStopped(DWORD timeoutMs = 60000);
  void Release();

 private:
  std::string key_;
  std::string name_;
  HANDLE release_ = nullptr;
  HANDLE stopped_ = nullptr;
};
// Waits until the status caption's text is text.
bool WaitForStatus(HWND mainWindow, const std::wstring& text, DWORD timeoutMs);

// How many workers of process pid wait at the program's pause gate: the threads that the gate describes
// as waiting there.
int WorkersAtGate(DWORD pid);
// Waits until a worker of pid waits at the gate; false after the timeout.
bool WaitForWorkerAtGate(DWORD pid, DWORD timeoutMs = 60000);
// The saving-complete dialog of pid (its text in control 100), once it shows; NULL after the timeout.
HWND WaitForSavingComplete(DWORD pid, DWORD timeoutMs);
// The visible buttons of page three, by text, from left to right; of buttons in one place, the one on
// top.
std::vector<std::wstring> PageThreeButtons(HWND mainWindow);

}  // namespace wizardtest
