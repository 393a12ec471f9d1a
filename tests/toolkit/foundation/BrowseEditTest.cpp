// CXTEdit and CXTBrowseEdit: the button beside the edit, the file and folder dialogs driven to OK
// and to Cancel with real keys, and the edit menu enabled from the edit's state.
#include <gtest/gtest.h>

#include "BrowseEdit.h"
#include "ControlHost.h"
#include "ResourceSource.h"
#include "TestFiles.h"
#include "ToolkitResource.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <shlobj.h>

#include <atomic>
#include <fstream>

namespace {

class BrowseEditFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host_.CreateHost(L"Browse edit test", 160, 160, 420, 160)); }

  BOOL MakeEdit(CXTBrowseEdit& edit, const CRect& rc, UINT id = 1000) {
    return edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, rc, &host_, id);
  }

  // Runs the browse action while a timer callback drives the system dialog that it opens. A dialog
  // that the driving did not end is cancelled after a few seconds, so that the test fails, not hangs.
  void BrowseWhile(CXTBrowseEdit& edit, std::function<void(HWND)> drive) {
    s_drive = std::move(drive);
    s_seenAt = 0;
    s_stuck = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &BrowseEditFixture::DriveDialog);
    edit.OnBrowse();
    ::KillTimer(nullptr, timer);
    EXPECT_NE(s_seenAt, 0u) << "the dialog was seen";
    EXPECT_FALSE(s_stuck) << "the dialog ended by itself";
  }

  static void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (s_busy) return;
    HWND hDialog = ::FindWindowW(L"#32770", nullptr);
    if (hDialog == nullptr || !::IsWindowVisible(hDialog)) return;
    s_busy = true;
    if (s_seenAt == 0) {
      s_seenAt = ::GetTickCount();
      ::SetForegroundWindow(hDialog);
      testsupport::PumpMessages(300);
      s_drive(hDialog);
    } else if (::GetTickCount() - s_seenAt > 4000) {
      s_stuck = true;
      testsupport::SaveWindowPng(hDialog, L"browse-dialog-stuck.png");
      ::PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
    }
    s_busy = false;
  }

  ControlHost host_;
  static std::function<void(HWND)> s_drive;
  static DWORD s_seenAt;
  static bool s_stuck;
  static bool s_busy;
};

std::function<void(HWND)> BrowseEditFixture::s_drive;
DWORD BrowseEditFixture::s_seenAt = 0;
bool BrowseEditFixture::s_stuck = false;
bool BrowseEditFixture::s_busy = false;

CString WindowText(CWnd& wnd) {
  CString text;
  wnd.GetWindowText(text);
  return text;
}

std::wstring Wide(const std::string& text) {
  std::wstring result(text.size(), L'\0');
  result.resize(
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &result[0], int(result.size())));
  return result;
}

std::wstring Canonical(const std::wstring& path) {
  WCHAR full[MAX_PATH] = {};
  ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  std::wstring result(full);
  while (result.size() > 3 && result.back() == L'\\') result.pop_back();
  for (auto& ch : result) ch = static_cast<wchar_t>(towlower(ch));
  return result;
}

}  // namespace

TEST_F(BrowseEditFixture, ModeZeroMakesNoButtonAndKeepsTheWidth) {
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 210, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, 0));
  EXPECT_FALSE(::IsWindow(edit.GetBrowseButton().GetSafeHwnd()));
  CRect rc;
  edit.GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 200);
}

TEST_F(BrowseEditFixture, TheButtonTakesItsRoomFromTheEditAndFollowsIt) {
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 210, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, BES_XT_CHOOSEFILE));
  CXTBrowseButton& button = edit.GetBrowseButton();
  ASSERT_TRUE(::IsWindow(button.GetSafeHwnd()));
  EXPECT_EQ(button.GetDlgCtrlID(), XT_IDC_BTN_BROWSE);
  EXPECT_EQ(button.GetButtonText(FALSE), CString(L"..."));
  CRect rcEdit, rcButton;
  edit.GetWindowRect(&rcEdit);
  button.GetWindowRect(&rcButton);
  const int gap = ::GetSystemMetrics(SM_CXEDGE);
  EXPECT_EQ(rcEdit.Width() + gap + rcButton.Width(), 200);
  EXPECT_EQ(rcButton.left, rcEdit.right + gap);
  EXPECT_EQ(rcButton.Width(), CXTBrowseEdit::GetButtonWidth());
  EXPECT_EQ(rcButton.top, rcEdit.top);

  edit.EnableWindow(FALSE);
  EXPECT_FALSE(button.IsWindowEnabled());
  edit.EnableWindow(TRUE);
  edit.ShowWindow(SW_HIDE);
  EXPECT_FALSE(button.IsWindowVisible());
  edit.ShowWindow(SW_SHOW);
  edit.SetWindowPos(nullptr, 20, 50, 150, 24, SWP_NOZORDER);
  button.GetWindowRect(&rcButton);
  host_.ScreenToClient(&rcButton);
  EXPECT_EQ(rcButton.left, 20 + 150 + gap);
  EXPECT_EQ(rcButton.top, 50);
  testsupport::SaveWindowPng(host_.m_hWnd, L"browse-edit.png");
}

TEST_F(BrowseEditFixture, TheFileDialogWritesTheChosenPathOnlyOnOk) {
  testsupport::TempDir dir;
  const std::wstring file = Wide(dir.Path()) + L"\\archive.pst";
  std::ofstream(dir.File("archive.pst")).put('x');

  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 380, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, BES_XT_CHOOSEFILE));
  edit.SetDlgFilter(L"PST File(*.pst)|*.pst||");
  edit.SetWindowText(L"unchanged");

  BrowseWhile(edit, [&](HWND) {
    testsupport::TypeUnicode(file);
    testsupport::KeyPress(VK_RETURN);
  });
  EXPECT_EQ(Canonical(std::wstring(WindowText(edit))), Canonical(file));
  EXPECT_EQ(::GetFocus(), edit.m_hWnd) << "the edit takes the focus after browsing";

  edit.SetWindowText(L"unchanged");
  BrowseWhile(edit, [&](HWND) {
    testsupport::TypeUnicode(file);
    testsupport::KeyPress(VK_ESCAPE);
  });
  EXPECT_EQ(WindowText(edit), CString(L"unchanged"));
  EXPECT_FALSE(edit.IsBusy());
}

TEST_F(BrowseEditFixture, TheFolderPickerStartsOnTheEditsFolderAndWritesOnlyOnOk) {
  testsupport::TempDir first;
  testsupport::TempDir second;
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 380, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, BES_XT_CHOOSEDIR));
  edit.SetWindowText(Wide(first.Path()).c_str());

  // Cancel: the text stays.
  BrowseWhile(edit, [&](HWND) { testsupport::KeyPress(VK_ESCAPE); });
  EXPECT_EQ(Canonical(std::wstring(WindowText(edit))), Canonical(Wide(first.Path())));

  // OK at once: the folder the picker started on.
  edit.SetWindowText(Wide(second.Path()).c_str());
  BrowseWhile(edit, [&](HWND hDialog) { ::SendMessageW(hDialog, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(Canonical(std::wstring(WindowText(edit))), Canonical(Wide(second.Path())));
}

TEST(BrowseStartFolder, TheTypedFolderElseItsFolderElseDocumentsNeverTheProgramsFolder) {
  testsupport::TempDir dir;
  const CString folder = Wide(dir.Path()).c_str();
  WCHAR documents[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));

  EXPECT_EQ(CXTBrowseEdit::GetStartFolder(folder), folder);
  EXPECT_EQ(CXTBrowseEdit::GetStartFolder(folder + L"\\archive.pst"), folder) << "a file still to be chosen";
  EXPECT_EQ(CXTBrowseEdit::GetStartFolder(folder + L"/archive.pst"), folder);
  EXPECT_EQ(CXTBrowseEdit::GetStartFolder(L"  " + folder + L"\\archive.pst "), folder);
  EXPECT_EQ(CXTBrowseEdit::GetStartFolder(L"C:\\archive.pst"), L"C:\\");
  for (const CString& nowhere : {CString(), CString(L"archive.pst"), folder + L"\\missing\\archive.pst",
                                 CString(L'a', 5000), CString(L"Please Select existing nsf mail file")}) {
    EXPECT_EQ(CXTBrowseEdit::GetStartFolder(nowhere), CString(documents)) << std::wstring(nowhere.Left(80));
  }
}

TEST_F(BrowseEditFixture, AStartFolderLongerThanAPathIsIgnoredSafely) {
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 380, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, BES_XT_CHOOSEDIR));
  const std::wstring longText(5000, L'a');
  edit.SetWindowText(longText.c_str());
  BrowseWhile(edit, [&](HWND) { testsupport::KeyPress(VK_ESCAPE); });
  EXPECT_EQ(std::wstring(WindowText(edit)), longText);
}

TEST_F(BrowseEditFixture, EditMenuItemsAreEnabledFromTheEditsState) {
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 380, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, 0));
  CMenu menu;
  ASSERT_TRUE(GetToolkitResourceManager()->LoadMenu(&menu, XT_IDM_POPUP));
  CMenu* pPopup = menu.GetSubMenu(1);
  ASSERT_NE(pPopup, nullptr);
  ASSERT_EQ(pPopup->GetMenuItemCount(), 8);
  auto enabled = [&](UINT id) {
    return (pPopup->GetMenuState(id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  };

  if (::OpenClipboard(host_.m_hWnd)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  edit.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pPopup->GetSafeHmenu()), 1);
  EXPECT_FALSE(enabled(ID_EDIT_CUT));
  EXPECT_FALSE(enabled(ID_EDIT_COPY));
  EXPECT_FALSE(enabled(ID_EDIT_CLEAR));
  EXPECT_FALSE(enabled(ID_EDIT_PASTE));
  EXPECT_FALSE(enabled(ID_EDIT_SELECT_ALL));

  edit.SetWindowText(L"C:\\mail\\archive.pst");
  edit.SetSel(0, 4);
  edit.SendMessage(WM_COPY);
  edit.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pPopup->GetSafeHmenu()), 1);
  EXPECT_TRUE(enabled(ID_EDIT_CUT));
  EXPECT_TRUE(enabled(ID_EDIT_COPY));
  EXPECT_TRUE(enabled(ID_EDIT_CLEAR));
  EXPECT_TRUE(enabled(ID_EDIT_PASTE));
  EXPECT_TRUE(enabled(ID_EDIT_SELECT_ALL));

  edit.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
  int start = -1, end = -1;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, edit.GetWindowTextLength());
}

TEST_F(BrowseEditFixture, TheKeyboardContextMenuOpensBelowAndRightOfTheEdit) {
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 380, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, 0));
  edit.SetWindowText(L"text");
  edit.SetFocus();
  std::atomic<bool> seen{false};
  CRect rcMenu;
  static CRect* s_rcMenu;
  static std::atomic<bool>* s_seen;
  s_rcMenu = &rcMenu;
  s_seen = &seen;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND hMenu = ::FindWindowW(L"#32768", nullptr);
    if (hMenu == nullptr || !::IsWindowVisible(hMenu) || *s_seen) return;
    ::GetWindowRect(hMenu, s_rcMenu);
    *s_seen = true;
    ::PostMessageW(hMenu, WM_KEYDOWN, VK_ESCAPE, 0);
    ::EndMenu();
  });
  edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(-1, -1));
  ::KillTimer(nullptr, timer);
  ASSERT_TRUE(seen);
  const CPoint origin = ScreenPoint(&edit, 5, 5);
  EXPECT_EQ(rcMenu.TopLeft(), origin);
}

namespace {

int g_menusSeen = 0;
bool g_menuOpen = false;
CPoint g_clickWhileOpen;

void CALLBACK WatchMenus(HWND, UINT, UINT_PTR, DWORD) {
  HWND hMenu = ::FindWindowW(L"#32768", nullptr);
  const bool open = hMenu != nullptr && ::IsWindowVisible(hMenu);
  if (open && !g_menuOpen) {
    ++g_menusSeen;
    // A person clicks the browse button again while its menu is down.
    if (g_menusSeen == 1) testsupport::MouseClickAt(g_clickWhileOpen.x, g_clickWhileOpen.y);
    if (g_menusSeen > 1) ::EndMenu();
  }
  g_menuOpen = open;
}

}  // namespace

TEST_F(BrowseEditFixture, ClickingTheButtonWhileItsMenuIsOpenDoesNotOpenASecondMenu) {
  CXTBrowseEdit edit;
  ASSERT_TRUE(MakeEdit(edit, CRect(10, 10, 380, 34)));
  ASSERT_TRUE(edit.Initialize(&host_, BES_XT_POPUPMENU, XT_IDM_POPUP, 1));
  CXTBrowseButton& button = edit.GetBrowseButton();
  EXPECT_NE(button.GetBrowseIcon(), nullptr) << "the arrow from the toolkit's strip";
  EXPECT_TRUE(button.GetStyle() & BS_ICON);

  CRect rcButton;
  button.GetWindowRect(&rcButton);
  g_clickWhileOpen = rcButton.CenterPoint();
  g_menusSeen = 0;
  g_menuOpen = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, WatchMenus);
  testsupport::MouseClickAt(g_clickWhileOpen.x, g_clickWhileOpen.y);
  testsupport::PumpUntil([] { return g_menusSeen > 1; }, 1500);
  ::KillTimer(nullptr, timer);
  if (::FindWindowW(L"#32768", nullptr) != nullptr) ::EndMenu();
  EXPECT_EQ(g_menusSeen, 1);
  EXPECT_FALSE(edit.IsBusy());
}
