// The program's Help, end to end under Wine: F1 and the Help command of the main frame open the help
// file in the system's help viewer, which shows its title, contents and index; without the help file
// they say that it is missing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "HelpFile.h"
#include "RealInput.h"
#include "TestFiles.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace helptest;
using namespace wizardtest;
using testsupport::Utf8;
using testsupport::Wide;

namespace {

const wchar_t MISSING_TEXT[] = L"Brindle for PST to NSF.chm file not exist, please reinstall software ";
// Generous bounds: the viewer is a program of its own that Wine starts for the shell.
const DWORD VIEWER_TIMEOUT_MS = 30000;

// Memory in another process, for the common controls' messages whose argument is a pointer: the
// control reads and writes it in its own process.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process),
        address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Valid() const { return address_ != nullptr; }
  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(const void* data, size_t size, size_t offset = 0) {
    return ::WriteProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }
  bool Read(void* data, size_t size, size_t offset = 0) {
    return ::ReadProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_;
  void* address_;
};

const size_t TEXT_CHARS = 260;

// The viewer: its window and its process.
struct Viewer {
  HWND window = nullptr;
  DWORD pid = 0;
  HANDLE process = nullptr;
  ~Viewer() {
    if (process != nullptr) {
      if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 1);
      ::CloseHandle(process);
    }
  }
};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = L"";
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring ImageName(HANDLE process) {
  wchar_t path[MAX_PATH] = L"";
  DWORD size = MAX_PATH;
  if (!::QueryFullProcessImageNameW(process, 0, path, &size)) return std::wstring();
  std::wstring name(path, size);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  std::transform(name.begin(), name.end(), name.begin(), ::towlower);
  return name;
}

// Waits for the viewer's window (by its title, in any process) and opens its process.
bool WaitForViewer(Viewer* viewer) {
  viewer->window = WaitForWindow(0, VIEWER_TITLE, VIEWER_TIMEOUT_MS);
  if (viewer->window == nullptr) return false;
  ::GetWindowThreadProcessId(viewer->window, &viewer->pid);
  viewer->process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE |
                                      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                  FALSE, viewer->pid);
  return viewer->process != nullptr;
}

HWND VisibleChildOfClass(HWND parent, const wchar_t* className) {
  return FindDescendant(
      parent, [className](HWND child) { return ClassOf(child) == className && ::IsWindowVisible(child); });
}

// The texts of a tree's items, depth first.
std::vector<std::wstring> TreeTexts(HWND tree, HANDLE process) {
  std::vector<std::wstring> texts;
  RemoteBuffer remote(process, sizeof(TVITEMW) + TEXT_CHARS * sizeof(wchar_t));
  if (!remote.Valid()) return texts;
  std::vector<HTREEITEM> pending;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  while (item != nullptr || !pending.empty()) {
    if (item == nullptr) {
      item = pending.back();
      pending.pop_back();
      continue;
    }
    TVITEMW request = {};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(TVITEMW)));
    request.cchTextMax = TEXT_CHARS;
    wchar_t text[TEXT_CHARS] = L"";
    if (!remote.Write(&request, sizeof(request)) ||
        !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.At(0))) ||
        !remote.Read(text, sizeof(text), sizeof(TVITEMW)))
      break;
    text[TEXT_CHARS - 1] = L'\0';
    texts.push_back(text);
    HTREEITEM next = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    HTREEITEM child = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    if (child != nullptr) {
      pending.push_back(next);
      next = child;
    }
    item = next;
  }
  return texts;
}

// The texts of a list view's items.
std::vector<std::wstring> ListTexts(HWND list, HANDLE process) {
  std::vector<std::wstring> texts;
  RemoteBuffer remote(process, sizeof(LVITEMW) + TEXT_CHARS * sizeof(wchar_t));
  if (!remote.Valid()) return texts;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW request = {};
    request.iSubItem = 0;
    request.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(LVITEMW)));
    request.cchTextMax = TEXT_CHARS;
    wchar_t text[TEXT_CHARS] = L"";
    if (!remote.Write(&request, sizeof(request))) break;
    ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.At(0)));
    if (!remote.Read(text, sizeof(text), sizeof(LVITEMW))) break;
    text[TEXT_CHARS - 1] = L'\0';
    texts.push_back(text);
  }
  return texts;
}

// The rectangle of a tab control's tab, in the control's client coordinates.
bool TabRect(HWND tabs, HANDLE process, int index, RECT* rect) {
  RemoteBuffer remote(process, sizeof(RECT));
  return remote.Valid() &&
         ::SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.At(0))) &&
         remote.Read(rect, sizeof(RECT));
}

std::vector<std::wstring> NamesOf(const std::vector<SitemapEntry>& entries) {
  std::vector<std::wstring> names;
  for (const SitemapEntry& entry : entries) names.push_back(Wide(entry.name));
  return names;
}

std::string Joined(const std::vector<std::wstring>& texts) {
  std::string joined;
  for (const std::wstring& text : texts) joined += (joined.empty() ? "" : " | ") + Utf8(text);
  return joined;
}

class HelpViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteProfile();
    ::CoInitialize(nullptr);
  }
  void TearDown() override {
    ::CoUninitialize();
    DeleteProfile();
  }

  // The viewer shows the help's title and its contents, and its Index tab the index; pictures of both.
  void CheckViewerShowsTheHelp(Viewer& viewer, const std::wstring& picture) {
    EXPECT_EQ(TextOf(viewer.window), VIEWER_TITLE);
    EXPECT_EQ(ImageName(viewer.process), L"hh.exe");
    testsupport::BringToFront(viewer.window);

    std::string text;
    ASSERT_TRUE(ReadHelpStream(HelpFilePath(), "/contents.hhc", &text));
    const std::vector<std::wstring> contents = NamesOf(ParseSitemap(text));
    ASSERT_TRUE(ReadHelpStream(HelpFilePath(), "/index.hhk", &text));
    const std::vector<std::wstring> index = NamesOf(ParseSitemap(text));

    HWND tree = nullptr;
    std::vector<std::wstring> shown;
    testsupport::PumpUntil(
        [&] {
          tree = VisibleChildOfClass(viewer.window, WC_TREEVIEWW);
          if (tree != nullptr) shown = TreeTexts(tree, viewer.process);
          return shown == contents;
        },
        VIEWER_TIMEOUT_MS);
    ASSERT_NE(tree, nullptr) << "the viewer shows no contents";
    EXPECT_EQ(Joined(shown), Joined(contents));
    Screenshot(viewer.window, picture + L"_contents.png");

    // The Index tab, clicked as a person does.
    HWND tabs = VisibleChildOfClass(viewer.window, WC_TABCONTROLW);
    ASSERT_NE(tabs, nullptr);
    RECT indexTab = {};
    ASSERT_TRUE(TabRect(tabs, viewer.process, 1, &indexTab));
    testsupport::MouseClick(tabs, (indexTab.left + indexTab.right) / 2, (indexTab.top + indexTab.bottom) / 2);
    HWND list = nullptr;
    testsupport::PumpUntil(
        [&] {
          list = VisibleChildOfClass(viewer.window, WC_LISTVIEWW);
          if (list != nullptr) shown = ListTexts(list, viewer.process);
          return !shown.empty() &&
                 std::all_of(index.begin(), index.end(), [&shown](const std::wstring& name) {
                   return std::find(shown.begin(), shown.end(), name) != shown.end();
                 });
        },
        VIEWER_TIMEOUT_MS);
    ASSERT_NE(list, nullptr) << "the viewer shows no index";
    EXPECT_EQ(shown.size(), index.size()) << Joined(shown);
    EXPECT_NE(std::find(shown.begin(), shown.end(), L"Not converted"), shown.end()) << Joined(shown);
    Screenshot(viewer.window, picture + L"_index.png");
  }

  // Closes the viewer as a person does (Alt+F4); its program ends.
  void CloseViewer(Viewer& viewer) {
    testsupport::BringToFront(viewer.window);
    testsupport::KeyPress(VK_F4, {VK_MENU});
    EXPECT_EQ(::WaitForSingleObject(viewer.process, VIEWER_TIMEOUT_MS), static_cast<DWORD>(WAIT_OBJECT_0))
        << "the viewer did not end";
  }

  // Help > Help from the keyboard: Alt+H drops the Help menu with its first command selected, and
  // Enter runs it.
  void RunHelpCommand(HWND mainWindow, DWORD pid) {
    HWND popup = DropMenu(mainWindow, pid, L'H');
    ASSERT_NE(popup, nullptr) << "the Help menu did not drop";
    testsupport::KeyPress(VK_RETURN);
    testsupport::PumpUntil([popup] { return !::IsWindowVisible(popup); }, 10000);
  }
};

TEST_F(HelpViewer, F1AndTheHelpCommandOpenTheHelpFileInTheViewer) {
  // Started as a user starts it: the launcher starts the program in the program's directory, where the
  // build put the help file.
  ProgramRun program;
  ASSERT_TRUE(program.StartThroughLauncher());
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);

  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress(VK_F1);
  {
    Viewer viewer;
    ASSERT_TRUE(WaitForViewer(&viewer)) << "F1 opened no help viewer";
    CheckViewerShowsTheHelp(viewer, L"help_viewer_f1");
    CloseViewer(viewer);
  }
  EXPECT_TRUE(StaysAway(program.ProcessId(), APP_TITLE, 0)) << "no message box";

  RunHelpCommand(mainWindow, program.ProcessId());
  {
    Viewer viewer;
    ASSERT_TRUE(WaitForViewer(&viewer)) << "the Help command opened no help viewer";
    CheckViewerShowsTheHelp(viewer, L"help_viewer_command");
    CloseViewer(viewer);
  }
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
  program.Kill();
}

TEST_F(HelpViewer, WithoutTheHelpFileHelpSaysItIsMissing) {
  // The program looks for its help in the directory it was started in: here one without it.
  testsupport::TempDir directory;
  ProgramRun program;
  ASSERT_TRUE(program.StartDirect(ProgramPath(), directory.Path()));
  HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();

  RunHelpCommand(mainWindow, pid);
  HWND box = WaitForMessageBox(pid, L"Brindle for PST to NSF.chm file not exist", 10000);
  ASSERT_NE(box, nullptr) << "the Help command said nothing";
  EXPECT_EQ(MessageBoxText(box), MISSING_TEXT);
  Screenshot(box, L"help_missing.png");
  Answer(box, IDOK);

  testsupport::BringToFront(mainWindow);
  testsupport::KeyPress(VK_F1);
  box = WaitForMessageBox(pid, L"Brindle for PST to NSF.chm file not exist", 10000);
  ASSERT_NE(box, nullptr) << "F1 said nothing";
  EXPECT_EQ(MessageBoxText(box), MISSING_TEXT);
  Answer(box, IDOK);

  EXPECT_TRUE(StaysAway(0, VIEWER_TITLE, 1000)) << "a viewer opened without a help file";
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
  program.Kill();
}

}  // namespace
