// Long paths where the user meets them: page one's Select PST File dialog, which must keep the
// program up whatever is typed into its name box, refusing a name too long for the system with a
// message while it stays open, and taking one that fits.
#include <gtest/gtest.h>

#include <dlgs.h>

#include "RealInput.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;
using testsupport::Wide;

namespace {

// A copy of the fixture named name at a path of exactly `length` characters under dir, in folders of
// 100 characters (made through the system's "\\?\" form, which takes paths the plain calls refuse).
std::wstring FixtureAtPathOfLength(const std::string& dir, const std::wstring& name, size_t length) {
  std::wstring path = Wide(dir);
  wchar_t letter = L'a';
  while (length - path.size() - 1 - name.size() > 101) {
    path += L"\\" + std::wstring(100, letter++);
    ::CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
  }
  path += L"\\" + std::wstring(length - path.size() - 1 - name.size(), L'x') + name;
  EXPECT_TRUE(::CopyFileW(Wide(testsupport::FixturePath("pst/hht-three-items.pst")).c_str(),
                          (L"\\\\?\\" + path).c_str(), FALSE));
  return path;
}

// The window that has the keyboard focus in the thread of window, or NULL.
HWND FocusOfThread(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// Replaces the text of the dialog's name box with typed keys: a click into it, its text selected from
// the end, then the text. True once the box shows it.
bool TypeIntoNameBox(HWND nameBox, const std::wstring& text) {
  RECT rc;
  ::GetWindowRect(nameBox, &rc);
  // Left of the drop-down button.
  testsupport::MouseClickAt(rc.left + 20, (rc.top + rc.bottom) / 2);
  if (!testsupport::PumpUntil([&] {
        HWND focus = FocusOfThread(nameBox);
        return focus == nameBox || ::IsChild(nameBox, focus);
      })) {
    return false;
  }
  testsupport::KeyPress(VK_END);
  testsupport::KeyPress(VK_HOME, {VK_SHIFT});
  testsupport::TypeUnicode(text);
  return testsupport::PumpUntil([&] { return TextOf(nameBox) == text; }, 15000);
}

// Page one's path field, once it shows.
HWND PathField(HWND mainWindow) {
  return FindDescendant(mainWindow, [](HWND hwnd) {
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    return IsShown(hwnd) && std::wstring(name) == L"Edit" && ::GetDlgCtrlID(hwnd) == 1;
  });
}

}  // namespace

TEST(WizardPaths, TheFileDialogRefusesANameTooLongForTheSystemStaysOpenAndTakesOneThatFits) {
  DeleteProfile();
  testsupport::TempDir temp;
  const std::wstring tooLong = FixtureAtPathOfLength(temp.Path(), L"long.pst", 273);
  const std::wstring fits = FixtureAtPathOfLength(temp.Path(), L"fits.pst", MAX_PATH - 1);

  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  HWND select = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] { return (select = FindVisibleChild(mainWindow, L"Button", L"Select PST File")) != nullptr; },
      10000));
  Click(select);
  HWND dialog = WaitForWindow(program.ProcessId(), L"Open", 10000, L"#32770");
  ASSERT_NE(dialog, nullptr) << "no file dialog";
  HWND nameBox = ::GetDlgItem(dialog, cmb13);
  if (nameBox == nullptr) nameBox = ::GetDlgItem(dialog, edt1);
  ASSERT_NE(nameBox, nullptr);

  ASSERT_TRUE(TypeIntoNameBox(nameBox, tooLong));
  testsupport::KeyPress(VK_RETURN);
  HWND refusal = WaitForMessageBox(program.ProcessId(), L"too long");
  ASSERT_NE(refusal, nullptr) << "no message; the program " << (program.WaitForExit(0) ? "ended" : "runs");
  EXPECT_NE(MessageBoxText(refusal).find(L"at most 259 characters"), std::wstring::npos);
  Screenshot(refusal, L"file_dialog_name_too_long.png");
  Answer(refusal, IDOK);
  EXPECT_FALSE(program.WaitForExit(0)) << "the program ended";
  ASSERT_TRUE(IsShown(dialog)) << "the dialog closed";
  EXPECT_EQ(TextOf(nameBox), tooLong);

  ASSERT_TRUE(TypeIntoNameBox(nameBox, fits));
  testsupport::KeyPress(VK_RETURN);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsShown(dialog); }, 10000)) << "the dialog stayed";
  HWND field = PathField(mainWindow);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return TextOf(field) == fits; }, 10000))
      << testsupport::Utf8(TextOf(field));
  DeleteProfile();
}

// A path copied with its line's end, as from a terminal or a list, and pasted into page one's field with
// Ctrl+V: the field takes the path without the line break, and Export goes on to the Save Options.
TEST(WizardPaths, APathPastedWithItsLineEndIsTakenWithoutIt) {
  DeleteProfile();
  testsupport::TempDir temp;
  const std::wstring pst = Wide(temp.File("pasted.pst"));
  ASSERT_TRUE(
      ::CopyFileW(Wide(testsupport::FixturePath("pst/hht-three-items.pst")).c_str(), pst.c_str(), FALSE));

  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  HWND field = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil([&] { return (field = PathField(mainWindow)) != nullptr; }, 10000));

  const std::wstring copied = pst + L"\r\n";
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, (copied.size() + 1) * sizeof(wchar_t));
  memcpy(::GlobalLock(data), copied.c_str(), (copied.size() + 1) * sizeof(wchar_t));
  ::GlobalUnlock(data);
  ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, data), nullptr);
  ::CloseClipboard();

  Click(field);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return FocusOfThread(field) == field; }, 10000));
  testsupport::KeyPress('V', {VK_CONTROL});
  EXPECT_TRUE(testsupport::PumpUntil([&] { return TextOf(field) == pst; }, 10000))
      << testsupport::Utf8(TextOf(field));
  HWND exportButton = FindVisibleChild(mainWindow, L"Button", L"Export");
  ASSERT_NE(exportButton, nullptr);
  Click(exportButton);
  HWND options = WaitForWindow(program.ProcessId(), L"Save Options", 15000, L"#32770");
  EXPECT_NE(options, nullptr) << "Export did not take the pasted path";
  program.Kill();
  DeleteProfile();
}
