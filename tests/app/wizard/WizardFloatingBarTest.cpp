// The "Standard" toolbar floated off the main window, driven from outside the program with real
// input: a modal dialog keeps it from taking clicks and shows it disabled, every dialog stays in front
// of it (a worker's too), it stays in front of the frame after a click on the frame, after a dialog and
// after a restart, a double click docks it back where it was, and the banner at the right end of the
// bars stays whole in its place wherever the bar goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RealInput.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;
using testsupport::Wide;

namespace {

const wchar_t TOOLBAR_TITLE[] = L"Standard";
const wchar_t MENU_BAR_TITLE[] = L"Menu Bar";
const wchar_t SAVE_OPTIONS_TITLE[] = L"Save Options";
const wchar_t CLOSE_QUESTION[] = L"Are you sure , you want to close the application?";
const wchar_t ADVICE[] = L"It is recommended to close all instances";
// Save Options' fields for a new NSF.
const int NSF_FOLDER_ID = 1000;
const int NSF_FILE_NAME_ID = 1001;
// The main view (the framework's first pane), the banner's picture and its bitmap.
const UINT MAIN_VIEW_ID = 0xE900;
const int BANNER_PICTURE_ID = 1026;
const int BANNER_BITMAP_ID = 225;
// The banner's place in the frame's client area: at the right end, this far down, this big.
const int BANNER_WIDTH = 180;
const int BANNER_HEIGHT = 51;
const int BANNER_TOP = 25;

// What the screen shows in a rectangle (screen coordinates), row by row; the screen is read without
// moving any window.
std::vector<COLORREF> ScreenPixels(const RECT& rc) {
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  std::vector<COLORREF> colours;
  if (width <= 0 || height <= 0) return colours;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
  ::GdiFlush();
  const DWORD* pixels = static_cast<const DWORD*>(bits);
  colours.assign(pixels, pixels + size_t(width) * height);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return colours;
}

RECT WindowRect(HWND hwnd) {
  RECT rc = {};
  ::GetWindowRect(hwnd, &rc);
  return rc;
}

// The middle half of a rectangle.
RECT Middle(const RECT& rc) {
  const int dx = (rc.right - rc.left) / 4, dy = (rc.bottom - rc.top) / 4;
  return {rc.left + dx, rc.top + dy, rc.right - dx, rc.bottom - dy};
}

// The dark strokes of a picture (its lettering and signs), pixel by pixel: what stays of it whatever
// light colour its background is drawn in.
std::vector<bool> Strokes(const std::vector<COLORREF>& pixels) {
  std::vector<bool> strokes(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    const DWORD p = pixels[i];
    strokes[i] = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) < 3 * 128;
  }
  return strokes;
}

// Whether two pictures of one size show the same strokes, give or take one pixel of a hundred.
bool SameStrokes(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  if (a.size() != b.size() || a.empty()) return false;
  const std::vector<bool> sa = Strokes(a), sb = Strokes(b);
  size_t differing = 0;
  for (size_t i = 0; i < sa.size(); ++i) differing += sa[i] != sb[i] ? 1 : 0;
  return differing * 100 <= sa.size();
}

// What the screen shows there once it no longer changes (a window just moved or shown repaints).
std::vector<COLORREF> SettledPixels(const RECT& rc) {
  std::vector<COLORREF> shown = ScreenPixels(rc);
  testsupport::PumpUntil([&] {
    std::vector<COLORREF> now = ScreenPixels(rc);
    const bool same = now == shown;
    shown.swap(now);
    return same;
  });
  return shown;
}

// Saves what the screen shows of the main window, once it has settled, as a PNG; nothing is brought
// forward for it.
void SaveScreenOf(HWND mainWindow, const std::wstring& name) {
  RECT rc = WindowRect(mainWindow);
  const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::IntersectRect(&rc, &rc, &screen);
  const std::vector<COLORREF> pixels = SettledPixels(rc);
  HBITMAP bitmap = ::CreateBitmap(rc.right - rc.left, rc.bottom - rc.top, 1, 32, pixels.data());
  testsupport::SaveBitmapPng(bitmap, name);
  ::DeleteObject(bitmap);
}

// The middle of a window's rectangle.
POINT Centre(HWND hwnd) {
  const RECT rc = WindowRect(hwnd);
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A tip that pid shows, once it shows; NULL after the timeout.
HWND WaitForTip(DWORD pid, DWORD timeoutMs) {
  HWND tip = nullptr;
  testsupport::PumpUntil(
      [&] {
        tip = nullptr;
        for (HWND hwnd = ::GetTopWindow(nullptr); hwnd != nullptr && tip == nullptr;
             hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
          wchar_t name[32] = L"";
          ::GetClassNameW(hwnd, name, 32);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(hwnd, &owner);
          if (owner == pid && ::IsWindowVisible(hwnd) && wcscmp(name, L"tooltips_class32") == 0) tip = hwnd;
        }
        return tip != nullptr;
      },
      timeoutMs);
  return tip;
}

// How far apart two colours are, channel by channel.
int ColourDistance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

// How a floating bar shows on the screen: its caption's colour nearer the active or the inactive
// caption's, and whether any of its buttons shows a colour (a greyed one shows none).
struct BarLook {
  bool captionActive;
  bool colouredButtons;
};

BarLook LookOf(HWND bar) {
  const RECT rc = WindowRect(bar);
  // The caption's middle, right of the title; below it, the buttons.
  const std::vector<COLORREF> caption =
      ScreenPixels({(rc.left + rc.right) / 2, rc.top + 6, (rc.left + rc.right) / 2 + 1, rc.top + 7});
  const std::vector<COLORREF> buttons = ScreenPixels({rc.left + 4, rc.top + 22, rc.right - 4, rc.bottom - 4});
  BarLook look = {false, false};
  if (caption.size() == 1) {
    // The screen's pixels come as 0x00RRGGBB.
    const COLORREF shown = RGB(GetBValue(caption[0]), GetGValue(caption[0]), GetRValue(caption[0]));
    look.captionActive = ColourDistance(shown, ::GetSysColor(COLOR_ACTIVECAPTION)) <
                         ColourDistance(shown, ::GetSysColor(COLOR_INACTIVECAPTION));
  }
  for (COLORREF p : buttons) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (std::max({r, g, b}) - std::min({r, g, b}) > 40) look.colouredButtons = true;
  }
  return look;
}

// Waits until the bar shows enabled (caption active, buttons in colour) or disabled (caption inactive,
// buttons greyed); false when it does not.
bool ShowsEnabled(HWND bar, bool enabled) {
  return testsupport::PumpUntil([&] {
    const BarLook look = LookOf(bar);
    return look.captionActive == enabled && look.colouredButtons == enabled;
  });
}

// The floating bar's second button, Export, for the bar's rectangle.
POINT ExportButton(const RECT& floating) {
  return {floating.left + (floating.right - floating.left) * 41 / 100,
          floating.top + (floating.bottom - floating.top) * 55 / 100};
}

// The step list's foot, where a resting pointer lights nothing up that a test compares.
POINT RestPoint(HWND mainWindow) {
  const RECT main = WindowRect(mainWindow);
  return {main.left + 60, main.bottom - 60};
}

void RestPointer(HWND mainWindow) {
  const POINT rest = RestPoint(mainWindow);
  testsupport::MouseMoveTo(rest.x, rest.y);
}

// The banner's bitmap (225) as the program carries it, row by row; 180 x 51.
std::vector<COLORREF> BannerBitmap() {
  std::vector<COLORREF> pixels;
  HMODULE program = ::LoadLibraryExW(Wide(ProgramPath()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (program == nullptr) return pixels;
  HBITMAP bitmap = static_cast<HBITMAP>(
      ::LoadImageW(program, MAKEINTRESOURCEW(BANNER_BITMAP_ID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP info = {};
  if (bitmap != nullptr && ::GetObjectW(bitmap, sizeof(info), &info) != 0) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    pixels.resize(size_t(info.bmWidth) * info.bmHeight);
    HDC screen = ::GetDC(nullptr);
    if (::GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS) !=
        info.bmHeight)
      pixels.clear();
    ::ReleaseDC(nullptr, screen);
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  ::FreeLibrary(program);
  return pixels;
}

// Asks the display's window manager, through the host's xdotool, what a task bar would: arguments as
// "windowminimize". The caller waits for the effect, or gives the point where the pointer then goes,
// and the call returns once the request is made.
void AskWindowManager(const std::wstring& action, const POINT* doneAt = nullptr) {
  const std::wstring request = L"search --name \"^Brindle for PST to NSF ver\" " + action;
  if (doneAt == nullptr)
    ASSERT_TRUE(RunOnDisplay(request));
  else
    ASSERT_TRUE(RunOnDisplayUntilPointerAt(request, *doneAt)) << "the window manager was not asked";
}

// A point of window's caption, as the program draws it, that answers hitCode; {-1, -1} when none.
POINT CaptionPoint(HWND window, LRESULT hitCode) {
  const RECT rc = WindowRect(window);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  for (int y = std::max(0L, rc.top); y < rc.top + 40 && y < rc.bottom; y += 2) {
    for (int x = std::min(static_cast<int>(rc.right), screenWidth) - 1; x > rc.left && x >= 0; --x) {
      if (::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hitCode) return {x, y};
    }
  }
  return {-1, -1};
}

// Minimizes the main window and restores it, as a person does: with the caption's buttons the program
// draws, or through the window manager that draws them.
void MinimizeAndRestore(HWND mainWindow) {
  if (ProgramDrawsCaptions()) {
    const POINT minimize = CaptionPoint(mainWindow, HTMINBUTTON);
    ASSERT_GE(minimize.x, 0) << "no minimize button";
    testsupport::MouseClickAt(minimize.x, minimize.y);
  } else {
    ASSERT_NO_FATAL_FAILURE(AskWindowManager(L"windowminimize"));
  }
  ASSERT_TRUE(testsupport::PumpUntil([&] { return ::IsIconic(mainWindow) != FALSE; }, 10000))
      << "not minimized";
  if (ProgramDrawsCaptions()) {
    // The minimized window is its caption alone; a double click on its title restores it.
    const RECT icon = WindowRect(mainWindow);
    POINT title = {icon.left + 30, (icon.top + icon.bottom) / 2};
    ASSERT_EQ(::SendMessageW(mainWindow, WM_NCHITTEST, 0, MAKELPARAM(title.x, title.y)), HTCAPTION);
    testsupport::MouseClickAt(title.x, title.y);
    testsupport::MouseClickAt(title.x, title.y);
  } else {
    ASSERT_NO_FATAL_FAILURE(AskWindowManager(L"windowactivate"));
  }
  ASSERT_TRUE(
      testsupport::PumpUntil([&] { return !::IsIconic(mainWindow) && ::IsWindowVisible(mainWindow); }, 10000))
      << "not restored";
}

class WizardFloatingBar : public ::testing::Test {
 protected:
  void SetUp() override { DeleteProfile(); }
  void TearDown() override { DeleteProfile(); }

  // Starts the program through the launcher; the main window, or a failure.
  void Start(ProgramRun& program) {
    ASSERT_TRUE(program.StartThroughLauncher());
    mainWindow_ = program.WaitForMainWindow();
    ASSERT_NE(mainWindow_, nullptr) << "the main window did not show";
    pid_ = program.ProcessId();
  }

  // The docked toolbar, once it shows.
  HWND DockedToolbar() {
    HWND found = nullptr;
    testsupport::PumpUntil(
        [&] {
          found = FindDescendant(mainWindow_,
                                 [](HWND hwnd) { return IsShown(hwnd) && TextOf(hwnd) == TOOLBAR_TITLE; });
          return found != nullptr;
        },
        10000);
    return found;
  }

  // Floats the docked toolbar as a person does, dragging its gripper into the page, and moves it by
  // its caption so that its top-left corner is at `to`. Returns the bar, now a window of its own.
  HWND FloatToolbar(POINT to) {
    HWND bar = DockedToolbar();
    if (bar == nullptr) return nullptr;
    const RECT docked = WindowRect(bar);
    const RECT main = WindowRect(mainWindow_);
    const POINT drop = {(main.left + main.right) / 2, (main.top + main.bottom) / 2};
    testsupport::MouseDrag(docked.left + 4, (docked.top + docked.bottom) / 2, drop.x, drop.y);
    // The bar leaves its dock bar before it goes where it was dropped.
    RECT floating = {};
    if (!testsupport::PumpUntil(
            [&] {
              floating = WindowRect(bar);
              return ::GetAncestor(bar, GA_PARENT) == ::GetDesktopWindow() && ::PtInRect(&floating, drop);
            },
            10000))
      return nullptr;
    const POINT grip = {floating.left + 20, floating.top + 6};
    testsupport::MouseDrag(grip.x, grip.y, grip.x + to.x - floating.left, grip.y + to.y - floating.top);
    if (!testsupport::PumpUntil([&] {
          const RECT moved = WindowRect(bar);
          return moved.left == to.x && moved.top == to.y;
        }))
      return nullptr;
    RestPointer(mainWindow_);
    return bar;
  }

  // Whether the screen shows, in the middle of the bar, what it showed when the bar was floated.
  bool ShowsBar(HWND bar, const std::vector<COLORREF>& middle) {
    return ::IsWindowVisible(bar) && ScreenPixels(Middle(WindowRect(bar))) == middle;
  }

  HWND Banner() {
    return FindDescendant(mainWindow_,
                          [](HWND hwnd) { return ::GetDlgItem(hwnd, BANNER_PICTURE_ID) != nullptr; });
  }

  // The banner's rectangle as it should be: at the right end of the frame's client area, 25 down.
  RECT BannerPlace() {
    RECT client;
    ::GetClientRect(mainWindow_, &client);
    POINT origin = {client.right - BANNER_WIDTH, BANNER_TOP};
    ::ClientToScreen(mainWindow_, &origin);
    return {origin.x, origin.y, origin.x + BANNER_WIDTH, origin.y + BANNER_HEIGHT};
  }

  // Whether the banner is in its place, no page lies under it and the screen shows all of its picture,
  // the background's colour aside (the toolkit's colours decide it).
  bool BannerWholeInPlace(HWND banner, const std::vector<COLORREF>& picture) {
    const RECT place = BannerPlace(), shown = WindowRect(banner);
    RECT page = WindowRect(PageView()), overlap;
    return ::EqualRect(&place, &shown) && !::IntersectRect(&overlap, &page, &place) &&
           SameStrokes(ScreenPixels(place), picture);
  }

  HWND PageView() { return ::GetDlgItem(mainWindow_, MAIN_VIEW_ID); }

  // Page one's field for the PST path (the page lays its other fields out in an empty rectangle).
  HWND PathField() {
    return FindDescendant(mainWindow_, [](HWND hwnd) {
      wchar_t name[16] = L"";
      ::GetClassNameW(hwnd, name, 16);
      const RECT rc = WindowRect(hwnd);
      return IsShown(hwnd) && std::wstring(name) == L"Edit" && ::GetDlgCtrlID(hwnd) == 1 &&
             !::IsRectEmpty(&rc);
    });
  }

  // A copy of the three-item PST in the test's folder; "" when it could not be made.
  std::string ThreeItemPst() {
    const std::string pst = temp_.File("three-items.pst");
    return ::CopyFileW(Wide(testsupport::FixturePath("pst/hht-three-items.pst")).c_str(), Wide(pst).c_str(),
                       FALSE)
               ? pst
               : std::string();
  }

  // Starts the program with a copy of the three-item PST made and the toolbar floated above the page,
  // away from where dialogs open.
  void StartWithBarAboveThePage(ProgramRun& program, std::string* pst, HWND* bar) {
    ASSERT_NO_FATAL_FAILURE(Start(program));
    *pst = ThreeItemPst();
    ASSERT_FALSE(pst->empty());
    const RECT main = WindowRect(mainWindow_);
    *bar = FloatToolbar({main.left + 250, main.top + 150});
    ASSERT_NE(*bar, nullptr) << "the toolbar did not float";
  }

  // Page one's Export pressed with a click, after the PST path is typed into its empty field when one
  // is given: Save Options comes.
  HWND OpenSaveOptions(const std::wstring& pstPath) {
    HWND field = PathField();
    HWND exportButton = FindVisibleChild(mainWindow_, L"Button", L"Export");
    if (field == nullptr || exportButton == nullptr) return nullptr;
    if (!pstPath.empty()) {
      const RECT rc = WindowRect(field);
      testsupport::MouseClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
      testsupport::TypeUnicode(pstPath);
      if (!testsupport::PumpUntil([&] { return TextOf(field) == pstPath; })) return nullptr;
    }
    const RECT rc = WindowRect(exportButton);
    testsupport::MouseClickAt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    return WaitForWindow(pid_, SAVE_OPTIONS_TITLE, 10000, L"#32770");
  }

  // Save Options, from page one with the PST path typed, filled for a new NSF nsfName in the test's
  // folder and ended with OK, and the advice that follows ended with Enter on the display: the Outlook
  // Folders dialog, which a worker runs, once it shows.
  HWND OpenOutlookFolders(const std::wstring& pstPath, const std::wstring& nsfName) {
    HWND options = OpenSaveOptions(pstPath);
    if (options == nullptr) return nullptr;
    const std::pair<int, std::wstring> fields[] = {{NSF_FILE_NAME_ID, nsfName},
                                                   {NSF_FOLDER_ID, Wide(temp_.Path())}};
    for (const auto& field : fields) {
      HWND edit = ::GetDlgItem(options, field.first);
      const POINT at = Centre(edit);
      testsupport::MouseClickAt(at.x, at.y);
      testsupport::KeyPress('A', {VK_CONTROL});
      testsupport::TypeUnicode(field.second);
      if (!testsupport::PumpUntil([&] { return TextOf(edit) == field.second; })) return nullptr;
    }
    const POINT ok = Centre(::GetDlgItem(options, IDOK));
    testsupport::MouseClickAt(ok.x, ok.y);
    HWND advice = WaitForMessageBox(pid_, ADVICE);
    if (advice == nullptr || !KeyEnds(advice, VK_RETURN)) return nullptr;
    return WaitForFolderDialog(pid_);
  }

  // Clicks page one's PST path field on the display, which gives it the keyboard, and waits until the
  // field has it and the screen has taken the click in.
  bool ClickPathField() {
    HWND field = PathField();
    if (field == nullptr) return false;
    const RECT rc = WindowRect(field);
    const POINT inField = {rc.left + 30, (rc.top + rc.bottom) / 2};
    HWND clicked = ::WindowFromPoint(inField);
    if (!ClickOnDisplay(inField.x, inField.y)) return false;
    const bool took = testsupport::PumpUntil([&] {
      GUITHREADINFO info = {};
      info.cbSize = sizeof(info);
      return ::GetGUIThreadInfo(::GetWindowThreadProcessId(mainWindow_, nullptr), &info) &&
             info.hwndFocus == clicked;
    });
    RestPointer(mainWindow_);
    SettledPixels(WindowRect(mainWindow_));
    return took;
  }

  // Closes the program after a click on its page, which gives it the keyboard: Alt+F4, and Yes.
  bool CloseWithYes(ProgramRun& program) {
    const RECT main = WindowRect(mainWindow_);
    testsupport::MouseClickAt(main.left + 60, main.bottom - 60);
    testsupport::KeyPress(VK_F4, {VK_MENU});
    HWND question = WaitForMessageBox(pid_, CLOSE_QUESTION);
    if (question == nullptr) return false;
    Answer(question, IDYES);
    return program.WaitForExit(15000);
  }

  HWND mainWindow_ = nullptr;
  DWORD pid_ = 0;
  testsupport::TempDir temp_;
};

// Save Options, run from page one, keeps the floating bar from taking clicks: a click on its Export
// opens no second Save Options, and the dialog stays in front of the bar where they overlap. Once the
// dialog has gone the same click opens Save Options.
TEST_F(WizardFloatingBar, AClickOnTheFloatingBarWhileSaveOptionsIsOpenDoesNothing) {
  ProgramRun program;
  ASSERT_NO_FATAL_FAILURE(Start(program));
  const std::string pst = ThreeItemPst();
  ASSERT_FALSE(pst.empty());

  // Save Options as it shows with nothing over it, in the middle of the screen.
  HWND options = OpenSaveOptions(Wide(pst));
  ASSERT_NE(options, nullptr) << "Save Options did not come";
  const RECT dialog = WindowRect(options);
  // The dialog's left strip: labels and the group's frame, nothing that blinks.
  const RECT strip = {dialog.left + 8, (dialog.top + dialog.bottom) / 2 - 20, dialog.left + 56,
                      (dialog.top + dialog.bottom) / 2 + 20};
  const std::vector<COLORREF> stripAlone = SettledPixels(strip);
  Answer(options, IDCANCEL);

  // The bar left of the dialog, under its left strip.
  HWND bar = FloatToolbar({dialog.left - 200, (dialog.top + dialog.bottom) / 2 - 40});
  ASSERT_NE(bar, nullptr) << "the toolbar did not float";
  const RECT floating = WindowRect(bar);
  ASSERT_GT(floating.right, strip.right) << "the bar does not reach under the dialog";
  // Its second button.
  const POINT exportButton = ExportButton(floating);
  ASSERT_LT(exportButton.x, dialog.left);

  options = OpenSaveOptions(L"");
  ASSERT_NE(options, nullptr) << "Save Options did not come again";
  EXPECT_FALSE(::IsWindowEnabled(bar)) << "the bar takes input under Save Options";
  testsupport::MouseClickAt(exportButton.x, exportButton.y);
  EXPECT_EQ(WaitForWindow(pid_, SAVE_OPTIONS_TITLE, 2000, L"#32770",
                          [options](HWND hwnd) { return hwnd != options; }),
            nullptr)
      << "the bar's Export opened Save Options again";
  EXPECT_TRUE(::IsWindowVisible(options));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ScreenPixels(strip) == stripAlone; }))
      << "the bar lies over Save Options";
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_under_save_options.png");
  Answer(options, IDCANCEL);

  // The same click, with the dialog gone, is the bar's Export.
  ASSERT_TRUE(testsupport::PumpUntil([bar] { return ::IsWindowEnabled(bar) != FALSE; }))
      << "the bar stays disabled";
  testsupport::MouseClickAt(exportButton.x, exportButton.y);
  options = WaitForWindow(pid_, SAVE_OPTIONS_TITLE, 10000, L"#32770");
  ASSERT_NE(options, nullptr) << "the click was not on the bar's Export";
  Answer(options, IDCANCEL);
  program.Kill();
}

// The floating bar stays in front of the frame after a click on the frame, and after the program is
// started again with the bar floating where it was left, also when a window manager raises the frame.
TEST_F(WizardFloatingBar, TheFloatingBarStaysInFrontAfterAClickOnTheFrameAndAfterARestart) {
  ProgramRun first;
  ASSERT_NO_FATAL_FAILURE(Start(first));
  // Above page one's field for the PST path.
  HWND field = PathField();
  ASSERT_NE(field, nullptr);
  const RECT fieldRect = WindowRect(field);
  HWND bar = FloatToolbar({fieldRect.left + 100, fieldRect.top - 120});
  ASSERT_NE(bar, nullptr) << "the toolbar did not float";
  const RECT floating = WindowRect(bar);
  const std::vector<COLORREF> middle = SettledPixels(Middle(floating));

  // A click into the field, which takes the keyboard from the page.
  const POINT inField = {fieldRect.left + 30, (fieldRect.top + fieldRect.bottom) / 2};
  HWND clicked = ::WindowFromPoint(inField);
  testsupport::MouseClickAt(inField.x, inField.y);
  ASSERT_TRUE(testsupport::PumpUntil([&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(mainWindow_, nullptr), &info) &&
           info.hwndFocus == clicked;
  })) << "the field did not take the keyboard";
  RestPointer(mainWindow_);
  // Once the screen has taken the click in: the bar shows, and stays shown.
  SettledPixels(WindowRect(mainWindow_));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ShowsBar(bar, middle); }, 10000))
      << "the bar went behind the frame at a click on it";
  ASSERT_TRUE(CloseWithYes(first)) << "the program did not end";

  ProgramRun second;
  ASSERT_NO_FATAL_FAILURE(Start(second));
  bar = WaitForWindow(pid_, TOOLBAR_TITLE, 10000);
  ASSERT_NE(bar, nullptr) << "the bar does not float after the restart";
  const RECT restored = WindowRect(bar);
  EXPECT_TRUE(::EqualRect(&restored, &floating));
  RestPointer(mainWindow_);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ShowsBar(bar, middle); }, 10000))
      << "the bar is behind the frame after the restart";
  // A window manager raises the frame at a click on its title bar, and at any other request to bring
  // the frame forward: the bar stays in front of it.
  if (!ProgramDrawsCaptions()) {
    const POINT rest = RestPoint(mainWindow_);
    ASSERT_NO_FATAL_FAILURE(AskWindowManager(L"windowraise", &rest));
    SettledPixels(WindowRect(mainWindow_));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return ShowsBar(bar, middle); }, 10000))
        << "the bar went behind the frame when the window manager raised it after the restart";
  }
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_after_restart.png");
  second.Kill();
}

// A double click on the floating bar's caption docks it back in its own row under the menu bar, at the
// place it was taken from, and the menu bar keeps the whole width.
TEST_F(WizardFloatingBar, ADoubleClickedFloatingBarDocksBackUnderTheFullWidthMenuBar) {
  ProgramRun program;
  ASSERT_NO_FATAL_FAILURE(Start(program));
  HWND menuBar =
      FindDescendant(mainWindow_, [](HWND hwnd) { return IsShown(hwnd) && TextOf(hwnd) == MENU_BAR_TITLE; });
  ASSERT_NE(menuBar, nullptr);
  HWND docked = DockedToolbar();
  ASSERT_NE(docked, nullptr);
  const RECT menu = WindowRect(menuBar), place = WindowRect(docked);
  ASSERT_GE(place.top, menu.bottom);

  const RECT main = WindowRect(mainWindow_);
  HWND bar = FloatToolbar({(main.left + main.right) / 2, (main.top + main.bottom) / 2});
  ASSERT_NE(bar, nullptr) << "the toolbar did not float";
  const RECT floating = WindowRect(bar);
  testsupport::InputDoubleClick(floating.left + 20, floating.top + 6);
  ASSERT_TRUE(
      testsupport::PumpUntil([bar] { return ::GetAncestor(bar, GA_PARENT) != ::GetDesktopWindow(); }, 10000))
      << "the double click did not dock the bar";
  EXPECT_TRUE(testsupport::PumpUntil([&] {
    const RECT back = WindowRect(bar), menuNow = WindowRect(menuBar);
    return ::EqualRect(&back, &place) && ::EqualRect(&menuNow, &menu);
  })) << "the bar is not back in its place under the menu bar";
  RECT client;
  ::GetClientRect(mainWindow_, &client);
  EXPECT_EQ(WindowRect(menuBar).right - WindowRect(menuBar).left, client.right) << "the menu bar shrank";
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_docked_back.png");
  program.Kill();
}

// The banner at the right end of the bars stays whole in its place, with no page under it, after the
// frame was minimized and restored with the bar floating, and with the bar docked at the right.
TEST_F(WizardFloatingBar, TheBannerStaysWholeInItsPlaceWhereverTheBarGoes) {
  ProgramRun program;
  ASSERT_NO_FATAL_FAILURE(Start(program));
  HWND banner = Banner();
  ASSERT_NE(banner, nullptr);
  // The picture the banner shows: its bitmap, as the program carries it.
  const std::vector<COLORREF> whole = BannerBitmap();
  ASSERT_EQ(whole.size(), size_t(BANNER_WIDTH * BANNER_HEIGHT));
  RestPointer(mainWindow_);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return BannerWholeInPlace(banner, whole); }, 10000))
      << "with the bar docked at the top";

  const RECT main = WindowRect(mainWindow_);
  HWND bar = FloatToolbar({(main.left + main.right) / 2, (main.top + main.bottom) / 2});
  ASSERT_NE(bar, nullptr) << "the toolbar did not float";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return BannerWholeInPlace(banner, whole); }))
      << "with the bar floating";
  ASSERT_NO_FATAL_FAILURE(MinimizeAndRestore(mainWindow_));
  RestPointer(mainWindow_);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return BannerWholeInPlace(banner, whole); }, 10000))
      << "after the frame was minimized and restored";
  SaveScreenOf(mainWindow_, L"wizard_banner_after_restore.png");

  // Docked at the right, by its caption dropped on the frame's right edge.
  RECT client;
  ::GetClientRect(mainWindow_, &client);
  ::MapWindowPoints(mainWindow_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const RECT floating = WindowRect(bar);
  testsupport::MouseDrag(floating.left + 20, floating.top + 6, client.right - 3,
                         (client.top + client.bottom) / 2);
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] {
        return ::GetAncestor(bar, GA_PARENT) != ::GetDesktopWindow() && WindowRect(bar).right == client.right;
      },
      10000))
      << "the bar did not dock at the right";
  RestPointer(mainWindow_);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return BannerWholeInPlace(banner, whole); }))
      << "with the bar docked at the right";
  SaveScreenOf(mainWindow_, L"wizard_banner_bar_docked_right.png");
  program.Kill();
}

// A worker runs the Outlook Folders and "Saving Complete" dialogs, with the main window as their owner:
// a click on the floating bar that lies under one of them, as on a bar under any dialog of the
// program, leaves the dialog in front where they overlap, and the bar's buttons do not react.
TEST_F(WizardFloatingBar, AClickOnTheFloatingBarUnderAWorkersDialogLeavesTheDialogInFront) {
  ProgramRun program;
  ASSERT_NO_FATAL_FAILURE(Start(program));
  const std::string pst = ThreeItemPst();
  ASSERT_FALSE(pst.empty());
  // Left of the screen's middle, where the dialogs open, with its left end clear of them.
  HWND docked = DockedToolbar();
  ASSERT_NE(docked, nullptr);
  const LONG barWidth = WindowRect(docked).right - WindowRect(docked).left;
  HWND bar = FloatToolbar(
      {::GetSystemMetrics(SM_CXSCREEN) / 2 - barWidth - 110, ::GetSystemMetrics(SM_CYSCREEN) / 2 - 40});
  ASSERT_NE(bar, nullptr) << "the toolbar did not float";
  const RECT floating = WindowRect(bar);
  const POINT exportButton = ExportButton(floating);
  auto clickTheBarUnder = [&](HWND dialog, const char* name) {
    const RECT shown = WindowRect(dialog);
    RECT overlap;
    ASSERT_TRUE(::IntersectRect(&overlap, &floating, &shown)) << "the bar does not reach under " << name;
    ::InflateRect(&overlap, -4, -4);
    ASSERT_LT(exportButton.x, shown.left);
    const std::vector<COLORREF> dialogAlone = SettledPixels(overlap);
    ASSERT_TRUE(ClickOnDisplay(exportButton.x, exportButton.y));
    EXPECT_TRUE(StaysAway(pid_, SAVE_OPTIONS_TITLE, 2000)) << "the bar's Export reacted under " << name;
    EXPECT_TRUE(testsupport::PumpUntil([&] { return SettledPixels(overlap) == dialogAlone; }))
        << "the bar lies over " << name;
  };

  HWND folders = OpenOutlookFolders(Wide(pst), L"folders");
  ASSERT_NE(folders, nullptr) << "Outlook Folders did not come";
  ASSERT_NO_FATAL_FAILURE(clickTheBarUnder(folders, "Outlook Folders"));
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_under_outlook_folders.png");
  ASSERT_TRUE(KeyEnds(folders, VK_RETURN)) << "Enter did not end Outlook Folders";
  HWND complete = WaitForSavingComplete(pid_, 60000);
  ASSERT_NE(complete, nullptr) << "Saving Complete did not come";
  ASSERT_NO_FATAL_FAILURE(clickTheBarUnder(complete, "Saving Complete"));
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_under_saving_complete.png");
  program.Kill();
}

// The bar is clicked while Save Options keeps it from taking input, with the pointer left on it, and
// Save Options is ended with Escape: the bar, enabled again, shows its tip. A click on the frame then,
// which raises the frame on a display without a window manager, leaves the bar in front of it.
TEST_F(WizardFloatingBar, TheFloatingBarStaysInFrontOfTheFrameClickedAfterADialogWhileItShowsATip) {
  ProgramRun program;
  std::string pst;
  HWND bar = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWithBarAboveThePage(program, &pst, &bar));
  const std::vector<COLORREF> middle = SettledPixels(Middle(WindowRect(bar)));

  HWND options = OpenSaveOptions(Wide(pst));
  ASSERT_NE(options, nullptr) << "Save Options did not come";
  const RECT floating = WindowRect(bar);
  const POINT exportButton = ExportButton(floating);
  ASSERT_TRUE(ClickOnDisplay(exportButton.x, exportButton.y));
  ASSERT_TRUE(KeysEnd(options, L"Escape")) << "Escape did not end Save Options";
  // The hand on the mouse moves a little.
  ASSERT_TRUE(RunOnDisplayUntilPointerAt(L"", {exportButton.x + 2, exportButton.y + 1}));
  ASSERT_NE(WaitForTip(pid_, 10000), nullptr) << "the bar showed no tip";

  ASSERT_TRUE(ClickPathField()) << "the field did not take the keyboard";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ShowsBar(bar, middle); }, 10000))
      << "the bar went behind the frame";
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_after_dialog_and_tip.png");
  program.Kill();
}

// While Save Options runs, the floating bar it keeps from taking input shows so: its caption in the
// inactive caption's colour, its buttons greyed. Once the dialog has ended it shows enabled again.
TEST_F(WizardFloatingBar, AFloatingBarThatAModalDialogDisablesIsDrawnDisabled) {
  ProgramRun program;
  std::string pst;
  HWND bar = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWithBarAboveThePage(program, &pst, &bar));
  ASSERT_TRUE(ShowsEnabled(bar, true)) << "the bar does not show enabled";

  HWND options = OpenSaveOptions(Wide(pst));
  ASSERT_NE(options, nullptr) << "Save Options did not come";
  RestPointer(mainWindow_);
  EXPECT_TRUE(ShowsEnabled(bar, false))
      << "under Save Options the caption is drawn " << (LookOf(bar).captionActive ? "active" : "inactive")
      << " and the buttons " << (LookOf(bar).colouredButtons ? "in colour" : "greyed");
  SaveScreenOf(mainWindow_, L"wizard_floating_bar_disabled.png");

  ASSERT_TRUE(KeysEnd(options, L"Escape")) << "Escape did not end Save Options";
  EXPECT_TRUE(ShowsEnabled(bar, true)) << "after Save Options the bar does not show enabled again";
  program.Kill();
}

}  // namespace
