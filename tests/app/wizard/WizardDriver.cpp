// The program driven from outside, with real input.
#include "WizardDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "TestFiles.h"
#include "TestProcess.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace wizardtest {

const wchar_t MAIN_TITLE[] = L"Brindle for PST to NSF ver 8.07.01";
const wchar_t APP_TITLE[] = L"Brindle for PST to NSF";
const wchar_t SAVING_COMPLETE_STATUS[] =
    L"Saving Complete , Click Next button to convert another file or click Exit button to close the software";
const wchar_t PROFILE_KEY[] = L"Software\\Local AppWizard-Generated Applications\\Brindle for PST to NSF";

namespace {

const UINT PAGE_ONE_ID = 0xE900;
const UINT PAGE_THREE_ID = 0xE902;
const int ITEM_BAR_ID = 59395;

void Pump(DWORD milliseconds) { testsupport::PumpMessages(milliseconds); }

// The description the program's pause gate gives a thread while it waits there.
const wchar_t GATE_WAITING_DESCRIPTION[] = L"Brindle worker waiting at the pause gate";

struct FindState {
  DWORD pid;
  const std::wstring* title;
  const wchar_t* className;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM lParam) {
  FindState* state = reinterpret_cast<FindState*>(lParam);
  if (!::IsWindowVisible(hwnd)) return TRUE;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (state->pid != 0 && pid != state->pid) return TRUE;
  if (TextOf(hwnd) != *state->title) return TRUE;
  if (state->className != nullptr) {
    wchar_t name[64] = L"";
    ::GetClassNameW(hwnd, name, 64);
    if (wcscmp(name, state->className) != 0) return TRUE;
  }
  if (*state->match && !(*state->match)(hwnd)) return TRUE;
  state->found = hwnd;
  return FALSE;
}

struct DescendantState {
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
  DescendantState* state = reinterpret_cast<DescendantState*>(lParam);
  if ((*state->match)(hwnd)) {
    state->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = L"";
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

// The host's program that presses keys and clicks on the X display the program's windows are shown on.
const wchar_t DISPLAY_KEYS_PROGRAM[] = L"Z:\\usr\\bin\\xdotool";

}  // namespace

bool RunOnDisplay(const std::wstring& arguments) {
  if (::GetFileAttributesW(DISPLAY_KEYS_PROGRAM) == INVALID_FILE_ATTRIBUTES) {
    ADD_FAILURE() << "xdotool is missing (scripts/setup.sh installs it)";
    return false;
  }
  std::wstring command = L"xdotool " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(DISPLAY_KEYS_PROGRAM, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    ADD_FAILURE() << "xdotool did not start: " << ::GetLastError();
    return false;
  }
  if (info.hThread != nullptr) ::CloseHandle(info.hThread);
  if (info.hProcess != nullptr) ::CloseHandle(info.hProcess);
  return true;
}

bool PressOnDisplay(const std::wstring& keys) { return RunOnDisplay(L"key " + keys); }

std::wstring DisplayFocusTitle() {
  static int count = 0;
  // A file of the host's own temporary folder, written whole before it is given its name.
  const std::string name =
      "/tmp/brindle-focus-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++count);
  std::string windowsName = "Z:" + name;
  std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
  std::wstring command = testsupport::Wide("sh -c \"xdotool getwindowfocus getwindowname > " + name +
                                           ".part 2>/dev/null; mv " + name + ".part " + name + "\"");
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(L"Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    ADD_FAILURE() << "the host's shell did not start: " << ::GetLastError();
    return std::wstring();
  }
  if (info.hThread != nullptr) ::CloseHandle(info.hThread);
  if (info.hProcess != nullptr) ::CloseHandle(info.hProcess);
  const std::wstring file = testsupport::Wide(windowsName);
  if (!testsupport::PumpUntil([&] { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; },
                              10000)) {
    ADD_FAILURE() << "xdotool did not tell the display's focus";
    return std::wstring();
  }
  std::string title = testsupport::ReadFileBytes(windowsName);
  ::DeleteFileW(file.c_str());
  while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
  return testsupport::Wide(title);
}

namespace {

HWND PageWindow(HWND mainWindow, UINT id) {
  return FindDescendant(mainWindow,
                        [id](HWND hwnd) { return static_cast<UINT>(::GetDlgCtrlID(hwnd)) == id; });
}

}  // namespace

std::string ProgramDirectory() {
  const std::string sibling = testsupport::SiblingProgramPath("x");
  return sibling.substr(0, sibling.size() - 2);
}

std::string ProgramPath() { return ProgramDirectory() + "\\Brindle for PST to NSF.exe"; }

ProgramRun::~ProgramRun() {
  if (process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) Kill();
  if (process_ != nullptr) ::CloseHandle(process_);
}

bool ProgramRun::Start(const std::string& commandLine, const std::string& workingDir,
                       const std::string& extraEnvironment, bool isProgram) {
  std::wstring command = testsupport::Wide(commandLine);
  std::wstring directory = testsupport::Wide(workingDir);
  std::vector<wchar_t> environment;
  if (!extraEnvironment.empty()) {
    LPWCH block = ::GetEnvironmentStringsW();
    for (LPWCH p = block; *p != L'\0'; p += wcslen(p) + 1)
      environment.insert(environment.end(), p, p + wcslen(p) + 1);
    ::FreeEnvironmentStringsW(block);
    // One "NAME=value" a line; a variable given here replaces the one of the same name.
    std::wistringstream lines(testsupport::Wide(extraEnvironment));
    for (std::wstring line; std::getline(lines, line);) {
      if (line.empty()) continue;
      const std::wstring name = line.substr(0, line.find(L'=') + 1);
      for (size_t at = 0; at < environment.size();) {
        const size_t length = wcslen(&environment[at]) + 1;
        if (_wcsnicmp(&environment[at], name.c_str(), name.size()) == 0) {
          environment.erase(environment.begin() + at, environment.begin() + at + length);
        } else {
          at += length;
        }
      }
      environment.insert(environment.end(), line.begin(), line.end());
      environment.push_back(L'\0');
    }
    environment.push_back(L'\0');
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!testsupport::CreateProcessRetrying(&command[0], FALSE, CREATE_UNICODE_ENVIRONMENT,
                                          environment.empty() ? nullptr : environment.data(),
                                          directory.c_str(), &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  if (isProgram) {
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  } else {
    // The launcher ends at once; the program it started is found by its window.
    ::WaitForSingleObject(info.hProcess, 30000);
    ::CloseHandle(info.hProcess);
  }
  return true;
}

bool ProgramRun::StartThroughLauncher(const std::string& extraEnvironment) {
  const std::string dir = ProgramDirectory();
  return Start("\"" + dir + "\\Brindle Launcher.exe\"", dir, extraEnvironment, false);
}

bool ProgramRun::StartDirect(const std::string& exePath, const std::string& workingDir,
                             const std::string& extraEnvironment) {
  return Start("\"" + exePath + "\"", workingDir, extraEnvironment, true);
}

HWND ProgramRun::WaitForMainWindow(DWORD timeoutMs) {
  HWND hwnd = WaitForWindow(pid_, MAIN_TITLE, timeoutMs);
  if (hwnd != nullptr && process_ == nullptr) {
    ::GetWindowThreadProcessId(hwnd, &pid_);
    process_ =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid_);
  }
  return hwnd;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (process_ == nullptr) return true;
  if (::WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) ::GetExitCodeProcess(process_, exitCode);
  return true;
}

void ProgramRun::Kill() {
  if (process_ == nullptr) return;
  ::TerminateProcess(process_, 99);
  ::WaitForSingleObject(process_, 10000);
}

HWND WaitForWindow(DWORD pid, const std::wstring& title, DWORD timeoutMs, const wchar_t* className,
                   const std::function<bool(HWND)>& match) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    FindState state = {pid, &title, className, &match, nullptr};
    ::EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&state));
    if (state.found != nullptr) return state.found;
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    Pump(50);
  }
}

HWND WaitForMessageBox(DWORD pid, const std::wstring& part, DWORD timeoutMs) {
  return WaitForWindow(pid, APP_TITLE, timeoutMs, L"#32770",
                       [&part](HWND box) { return MessageBoxText(box).find(part) != std::wstring::npos; });
}

std::wstring MessageBoxText(HWND box) {
  // The message is the box's static text; the dialogs of the program keep theirs in id 100.
  std::wstring text;
  FindDescendant(box, [&text](HWND child) {
    if (ClassOf(child) == L"Static") {
      const std::wstring part = TextOf(child);
      if (!part.empty()) text += (text.empty() ? L"" : L"\n") + part;
    }
    return false;
  });
  return text;
}

std::string ShownWindowsOf(DWORD pid) {
  struct Listing {
    DWORD pid;
    std::wstring text;
  } listing = {pid, L""};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lParam) {
        Listing& list = *reinterpret_cast<Listing*>(lParam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner != list.pid || !::IsWindowVisible(hwnd)) return TRUE;
        list.text += L"\n  [" + ClassOf(hwnd) + L"] \"" + TextOf(hwnd) + L"\"";
        const std::wstring message = MessageBoxText(hwnd);
        if (ClassOf(hwnd) == L"#32770" && !message.empty()) list.text += L": " + message;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&listing));
  return "the program's windows:" + testsupport::Utf8(listing.text.empty() ? L" none shown" : listing.text);
}

bool StaysAway(DWORD pid, const std::wstring& title, DWORD timeoutMs) {
  return WaitForWindow(pid, title, timeoutMs) == nullptr;
}

std::wstring TextOf(HWND hwnd) {
  const LRESULT length = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(copied));
  return text;
}

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match) {
  DescendantState state = {&match, nullptr};
  ::EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

bool IsShown(HWND hwnd) {
  RECT rc;
  return ::IsWindowVisible(hwnd) && ::GetWindowRect(hwnd, &rc) && rc.right > rc.left && rc.bottom > rc.top;
}

HWND FindVisibleChild(HWND parent, const wchar_t* className, const std::wstring& text) {
  return FindDescendant(
      parent, [&](HWND hwnd) { return IsShown(hwnd) && ClassOf(hwnd) == className && TextOf(hwnd) == text; });
}

HWND WaitForText(HWND parent, const std::wstring& text, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    HWND found = FindDescendant(parent, [&](HWND hwnd) { return IsShown(hwnd) && TextOf(hwnd) == text; });
    if (found != nullptr) return found;
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    Pump(50);
  }
}

void Click(HWND hwnd) {
  HWND top = ::GetAncestor(hwnd, GA_ROOT);
  testsupport::BringToFront(top);
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  testsupport::MouseClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  Pump(100);
}

void ClickItem(HWND dialog, int id) { Click(::GetDlgItem(dialog, id)); }

void TypeInto(HWND edit, const std::wstring& text) {
  Click(edit);
  testsupport::KeyPress('A', {VK_CONTROL});
  testsupport::KeyPress(VK_DELETE);
  testsupport::TypeUnicode(text);
  Pump(100);
}

void Answer(HWND box, int buttonId) {
  ClickItem(box, buttonId);
  const DWORD start = ::GetTickCount();
  while (::IsWindow(box) && ::IsWindowVisible(box) && ::GetTickCount() - start < 5000) Pump(50);
}

bool StaysInFrontAfterClickOn(HWND mainWindow, HWND dialog) {
  RECT main, box;
  ::GetWindowRect(mainWindow, &main);
  ::GetWindowRect(dialog, &box);
  // The step list's foot at the left, which no dialog of the road covers and no click changes.
  testsupport::MouseClickAt(main.left + 100, main.bottom - 100);
  Pump(500);
  const POINT middle = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  return ::GetAncestor(::WindowFromPoint(middle), GA_ROOT) == dialog && ::GetForegroundWindow() == dialog &&
         CaptionDrawnActive(dialog);
}

bool ProgramDrawsCaptions() {
  wchar_t value[8] = L"";
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", RRF_RT_REG_SZ, nullptr,
                     value, &size) != ERROR_SUCCESS)
    return false;
  return value[0] == L'N' || value[0] == L'n';
}

bool CaptionDrawnActive(HWND window) {
  // A window manager draws the captions of the windows it manages, in its own colours, and shows the
  // one it has given the keyboard to as active.
  if (!ProgramDrawsCaptions()) return true;
  RECT rect;
  ::GetWindowRect(window, &rect);
  // Right of the title's text and left of the close button, in the caption's middle row.
  const int width = rect.right - rect.left;
  const int x = width * 3 / 5;
  const int y = ::GetSystemMetrics(SM_CYDLGFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
  const COLORREF shown = testsupport::WindowPixel(window, x, y);
  // The caption runs from its colour at the left to its gradient colour at the right.
  auto along = [x, width](int colour, int gradient) {
    const COLORREF from = ::GetSysColor(colour), to = ::GetSysColor(gradient);
    auto channel = [x, width](int a, int b) { return a + (b - a) * x / width; };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
  };
  auto distance = [shown](COLORREF colour) {
    return std::abs(GetRValue(shown) - GetRValue(colour)) + std::abs(GetGValue(shown) - GetGValue(colour)) +
           std::abs(GetBValue(shown) - GetBValue(colour));
  };
  return distance(along(COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION)) <
         distance(along(COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION));
}

bool KeyEnds(HWND dialog, WORD key) {
  const wchar_t* name = key == VK_RETURN ? L"Return" : key == VK_ESCAPE ? L"Escape" : nullptr;
  if (name == nullptr) {
    ADD_FAILURE() << "no display name for key " << key;
    return false;
  }
  return KeysEnd(dialog, name);
}

bool KeysEnd(HWND dialog, const std::wstring& keys) {
  if (!PressOnDisplay(keys)) return false;
  const DWORD start = ::GetTickCount();
  while (::IsWindow(dialog) && ::IsWindowVisible(dialog)) {
    if (::GetTickCount() - start > 5000) return false;
    Pump(50);
  }
  return true;
}

HWND KeyboardWindow() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

bool WaitForKeyboardOn(HWND window, DWORD timeoutMs) {
  return testsupport::PumpUntil(
      [window] {
        return ::GetForegroundWindow() == ::GetAncestor(window, GA_ROOT) && KeyboardWindow() == window;
      },
      timeoutMs);
}

bool ClickOnDisplay(int x, int y) {
  return RunOnDisplay(L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" click 1");
}

bool RunOnDisplayUntilPointerAt(const std::wstring& arguments, POINT end, DWORD timeoutMs) {
  auto pointerAtEnd = [end] {
    POINT cursor = {};
    return ::GetCursorPos(&cursor) && cursor.x == end.x && cursor.y == end.y;
  };
  // A pointer already at the end would say the commands were done before they ran.
  if (pointerAtEnd() && !testsupport::MouseMoveTo(end.x + 1, end.y)) return false;
  return RunOnDisplay(arguments + L" mousemove " + std::to_wstring(end.x) + L" " + std::to_wstring(end.y)) &&
         testsupport::PumpUntil(pointerAtEnd, timeoutMs);
}

HWND DropMenu(HWND mainWindow, DWORD pid, wchar_t letter, DWORD timeoutMs) {
  // As a person does: once the window shows that it has the keyboard (on a bare display, its caption
  // drawn active), the keys go through the display.
  const bool ready = testsupport::PumpUntil(
      [mainWindow] {
        const HWND keyboard = KeyboardWindow();
        return ::GetForegroundWindow() == mainWindow && keyboard != nullptr &&
               (keyboard == mainWindow || ::IsChild(mainWindow, keyboard)) && CaptionDrawnActive(mainWindow);
      },
      timeoutMs);
  if (!ready || !PressOnDisplay(std::wstring(L"alt+") + static_cast<wchar_t>(towlower(letter))))
    return nullptr;
  return WaitForPopup(mainWindow, pid, nullptr, timeoutMs);
}

HWND WaitForPopup(HWND mainWindow, DWORD pid, HWND except, DWORD timeoutMs) {
  // Tool tips and the thin drop shadows of a popup are owned tool windows too; a popup of one item is
  // some 24 pixels tall.
  const int kMinPopupSide = 16;
  return WaitForWindow(pid, L"", timeoutMs, nullptr, [mainWindow, except](HWND hwnd) {
    RECT rect = {};
    ::GetWindowRect(hwnd, &rect);
    return hwnd != except && ::GetWindow(hwnd, GW_OWNER) == mainWindow &&
           (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0 &&
           ClassOf(hwnd) != TOOLTIPS_CLASSW && rect.bottom - rect.top > kMinPopupSide &&
           rect.right - rect.left > kMinPopupSide;
  });
}

std::wstring Screenshot(HWND hwnd, const std::wstring& name) {
  return testsupport::SaveWindowPng(hwnd, name);
}

DWORD RunTool(const std::string& program, const std::string& arguments, std::string* output) {
  return testsupport::RunProgram("\"" + testsupport::SiblingProgramPath(program) + "\" " + arguments, output);
}

std::string NsfCounts(const std::string& nsfPath) {
  std::string output;
  RunTool("nsfdump.exe", "counts \"" + nsfPath + "\"", &output);
  return output;
}

namespace {

long CountedDocuments(const std::string& countsText, bool filed) {
  long total = 0;
  for (const auto& row : testsupport::TabSeparatedRows(countsText)) {
    if (row.size() == 3 && row[2].empty() != filed) total += std::stol(row[0]);
  }
  return total;
}

}  // namespace

long FiledDocuments(const std::string& countsText) { return CountedDocuments(countsText, true); }

long UnfiledDocuments(const std::string& countsText) { return CountedDocuments(countsText, false); }

std::string HarnessCounts(const std::string& pstPath, const std::string& nsfPath) {
  std::string ignored;
  RunTool("convert-harness.exe", "\"" + pstPath + "\" \"" + nsfPath + "\"", &ignored);
  return NsfCounts(nsfPath);
}

void DeleteProfile() { ::RegDeleteTreeW(HKEY_CURRENT_USER, PROFILE_KEY); }

bool ProfileKeyExists(const std::wstring& subKey) {
  HKEY key = nullptr;
  const std::wstring path = std::wstring(PROFILE_KEY) + L"\\" + subKey;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

namespace {

// Page one's PST path and Export, the Save Options dialog filled by fill, and the recommendation
// answered; false when the road broke before.
bool StartConversionWith(HWND mainWindow, DWORD pid, const std::wstring& pstPath,
                         const std::function<void(HWND)>& fill) {
  HWND pageOne = PageWindow(mainWindow, PAGE_ONE_ID);
  if (pageOne == nullptr) return false;
  HWND field = FindDescendant(pageOne, [](HWND hwnd) {
    return IsShown(hwnd) && ClassOf(hwnd) == L"Edit" && ::GetDlgCtrlID(hwnd) == 1;
  });
  HWND exportButton = FindVisibleChild(pageOne, L"Button", L"Export");
  if (field == nullptr || exportButton == nullptr) return false;
  TypeInto(field, pstPath);
  Click(exportButton);

  HWND options = WaitForWindow(pid, L"Save Options", 10000, L"#32770");
  if (options == nullptr) return false;
  fill(options);
  Answer(options, IDOK);

  HWND advice = WaitForMessageBox(pid, L"It is recommended to close all instances", 10000);
  if (advice == nullptr) return false;
  Answer(advice, IDOK);
  return true;
}

// The Save Options dialog's controls.
const int NSF_FOLDER_ID = 1000;
const int NSF_FILE_NAME_ID = 1001;
const int NSF_EXISTING_PATH_ID = 1002;
const int SAVE_EXISTING_FILE_ID = 1005;

// The step list's caption colours (COLORREF), and a step caption's rectangle in the page (the list's
// margin 10, row height 70).
const COLORREF STEP_CAPTION_DONE = 0x005B00;
const COLORREF STEP_CAPTION_CURRENT = 0x0000FF;
const COLORREF STEP_CAPTION_LATER = 0x888888;
RECT StepCaptionRect(int step) { return {50, 70 * step + 20, 180, 40 + 70 * step}; }

}  // namespace

bool StartConversion(HWND mainWindow, DWORD pid, const std::wstring& pstPath, const std::wstring& folder,
                     const std::wstring& nsfName) {
  return StartConversionWith(mainWindow, pid, pstPath, [&](HWND options) {
    TypeInto(::GetDlgItem(options, NSF_FILE_NAME_ID), nsfName);
    TypeInto(::GetDlgItem(options, NSF_FOLDER_ID), folder);
  });
}

bool StartConversionInto(HWND mainWindow, DWORD pid, const std::wstring& pstPath,
                         const std::wstring& nsfPath) {
  return StartConversionWith(mainWindow, pid, pstPath, [&](HWND options) {
    ClickItem(options, SAVE_EXISTING_FILE_ID);
    TypeInto(::GetDlgItem(options, NSF_EXISTING_PATH_ID), nsfPath);
  });
}

std::vector<std::string> PageThreeSteps(HWND mainWindow) {
  HWND pageThree = PageWindow(mainWindow, PAGE_THREE_ID);
  int width = 0, height = 0;
  const std::vector<COLORREF> pixels =
      pageThree != nullptr ? testsupport::WindowPixels(pageThree, &width, &height) : std::vector<COLORREF>();
  std::vector<std::string> steps;
  for (int step = 0; step < 3; ++step) {
    const RECT rect = StepCaptionRect(step);
    std::string shown = "?";
    for (int y = rect.top; y < rect.bottom && y < height; ++y) {
      for (int x = rect.left; x < rect.right && x < width; ++x) {
        const COLORREF colour = pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
        if (colour == STEP_CAPTION_DONE) shown = "done";
        if (colour == STEP_CAPTION_CURRENT) shown = "current";
        if (colour == STEP_CAPTION_LATER && shown == "?") shown = "later";
      }
    }
    steps.push_back(shown);
  }
  return steps;
}

HWND WaitForFolderDialog(DWORD pid, DWORD timeoutMs) {
  return WaitForWindow(pid, L"Outlook Folders", timeoutMs, L"#32770");
}

std::wstring ItemProgressText(HWND mainWindow) {
  HWND pageThree = PageWindow(mainWindow, PAGE_THREE_ID);
  if (pageThree == nullptr) return std::wstring();
  // The item bar; the read bar shares its id but is never placed on the screen.
  HWND bar = FindDescendant(pageThree,
                            [](HWND hwnd) { return ::GetDlgCtrlID(hwnd) == ITEM_BAR_ID && IsShown(hwnd); });
  return bar != nullptr ? TextOf(bar) : std::wstring();
}

long ShownItemNumber(const std::wstring& itemText) {
  const std::wstring head = L"Saving email ";
  if (itemText.compare(0, head.size(), head) != 0) return -1;
  return std::wcstol(itemText.c_str() + head.size(), nullptr, 10);
}

long NotConvertedItems(const std::wstring& message) {
  const size_t end = message.find(L" items not converted");
  if (end == std::wstring::npos) return -1;
  size_t start = end;
  while (start > 0 && (iswdigit(message[start - 1]) || message[start - 1] == L',')) --start;
  std::wstring digits;
  for (size_t i = start; i < end; ++i)
    if (message[i] != L',') digits += message[i];
  return digits.empty() ? -1 : std::stol(digits);
}

StandInHang::StandInHang(const std::string& key) : key_(key) {
  static int count = 0;
  const std::wstring name =
      L"BrindleWizardHang-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  name_ = testsupport::Utf8(name);
  release_ = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  stopped_ = ::CreateEventW(nullptr, TRUE, FALSE, (name + L"-stopped").c_str());
}

StandInHang::~StandInHang() {
  Release();
  if (release_ != nullptr) ::CloseHandle(release_);
  if (stopped_ != nullptr) ::CloseHandle(stopped_);
}

std::string StandInHang::Environment() const {
  return "STANDIN_HANG=" + key_ + "\nSTANDIN_HANG_RELEASE=" + name_;
}

bool StandInHang::WaitUntilStopped(DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (::WaitForSingleObject(stopped_, 0) != WAIT_OBJECT_0) {
    if (::GetTickCount() - start > timeoutMs) return false;
    Pump(50);
  }
  return true;
}

void StandInHang::Release() {
  if (release_ != nullptr) ::SetEvent(release_);
}

std::wstring StatusText(HWND mainWindow) {
  HWND pageThree = PageWindow(mainWindow, PAGE_THREE_ID);
  if (pageThree == nullptr) return std::wstring();
  // The status caption is the page's centred static with its image centred too.
  HWND caption = FindDescendant(pageThree, [](HWND hwnd) {
    return ClassOf(hwnd) == L"Static" && (::GetWindowLongW(hwnd, GWL_STYLE) & SS_CENTERIMAGE) != 0;
  });
  return caption != nullptr ? TextOf(caption) : std::wstring();
}

int WorkersAtGate(DWORD pid) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int waiting = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == pid &&
        testsupport::ThreadDescription(entry.th32ThreadID) == GATE_WAITING_DESCRIPTION)
      ++waiting;
  }
  ::CloseHandle(snapshot);
  return waiting;
}

bool WaitForWorkerAtGate(DWORD pid, DWORD timeoutMs) {
  return testsupport::PumpUntil([pid] { return WorkersAtGate(pid) > 0; }, timeoutMs);
}

HWND WaitForSavingComplete(DWORD pid, DWORD timeoutMs) {
  return WaitForWindow(pid, APP_TITLE, timeoutMs, L"#32770",
                       [](HWND box) { return ::GetDlgItem(box, 100) != nullptr; });
}

std::vector<std::wstring> PageThreeButtons(HWND mainWindow) {
  std::vector<std::pair<LONG, std::wstring>> placed;
  HWND pageThree = PageWindow(mainWindow, PAGE_THREE_ID);
  if (pageThree == nullptr) return {};
  FindDescendant(pageThree, [&](HWND hwnd) {
    if (ClassOf(hwnd) != L"Button" || !IsShown(hwnd)) return false;
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    for (const auto& other : placed) {
      if (other.first == rc.left) return false;
    }
    placed.emplace_back(rc.left, TextOf(hwnd));
    return false;
  });
  std::sort(placed.begin(), placed.end());
  std::vector<std::wstring> texts;
  for (const auto& button : placed) texts.push_back(button.second);
  return texts;
}

bool WaitForStatus(HWND mainWindow, const std::wstring& text, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (StatusText(mainWindow) != text) {
    if (::GetTickCount() - start > timeoutMs) return false;
    Pump(100);
  }
  return true;
}

}  // namespace wizardtest
