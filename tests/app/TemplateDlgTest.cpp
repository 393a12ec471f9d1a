// The template selection dialog and the chooser the engine asks, driven as the engine runs them: from a
// worker thread (with no parent, or on the thread of the main window that the chooser gives it), while
// the test answers from the main thread.
#include "TemplateDlg.h"
#include "TemplateDlgChooser.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "TestProcess.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using apptest::ModalRun;
using apptest::WaitForOwnedMessageBox;

CString ItemText(HWND list, int item) {
  WCHAR buffer[128] = {};
  LVITEMW lvi = {};
  lvi.iSubItem = 0;
  lvi.pszText = buffer;
  lvi.cchTextMax = 128;
  ::SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi));
  return buffer;
}

// The user choosing a row: selected, focused and the selection mark on it.
void ChooseRow(HWND list, int row) {
  LVITEMW lvi = {};
  lvi.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  lvi.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&lvi));
  ::SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
}

// What a list view's column needs beside its text's width to draw the text without an ellipsis.
const int TEXT_MARGINS = 12;

CStringArray* Names(CStringArray& names) {
  names.Add(L"Notes Log (8)");
  names.Add(L"Discussion - Notes & Web (8)");
  names.Add(L"Personal Journal (8)");
  return &names;
}

TEST(TemplateDlg, ListsTheNamesInOrderAndOkReturnsTheChosenRow) {
  CStringArray names;
  CTemplateDlg dlg;
  dlg.m_pTemplateNames = Names(names);
  INT_PTR result = 0;
  ModalRun run(L"Template", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  EXPECT_EQ(::GetWindow(hDlg, GW_OWNER), nullptr);

  HWND list = ::GetDlgItem(hDlg, IDC_TEMPLATE_LIST);
  ASSERT_NE(list, nullptr);
  WCHAR heading[64] = {};
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = heading;
  column.cchTextMax = 64;
  ASSERT_TRUE(::SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(heading, L"Template Name");
  ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ItemText(list, i), names[i]);
  // Every text shows whole: the column holds it with the margins the list draws it within.
  const auto textWidth = [&](const wchar_t* text) {
    return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
  };
  EXPECT_GE(column.cx, textWidth(heading) + TEXT_MARGINS);
  for (int i = 0; i < 3; ++i) {
    RECT label = {LVIR_LABEL, 0, 0, 0};
    ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&label)));
    EXPECT_GE(label.right - label.left, textWidth(names[i]) + TEXT_MARGINS)
        << testsupport::Utf8(std::wstring(names[i]));
  }

  ChooseRow(list, 2);
  EXPECT_EQ(testsupport::ClippedChildTexts(hDlg), std::vector<std::wstring>());
  testsupport::SaveWindowPng(hDlg, L"app_template_dialog.png");
  ::PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
  run.Finish();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_nSelected, 2);
}

TEST(TemplateDlg, RefusesOkWithoutARowAndSaysSo) {
  CStringArray names;
  CTemplateDlg dlg;
  dlg.m_pTemplateNames = &names;
  INT_PTR result = 0;
  ModalRun run(L"Template", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);

  ::PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
  HWND hBox = WaitForOwnedMessageBox(hDlg);
  ASSERT_NE(hBox, nullptr);
  WCHAR text[128] = {};
  ::GetDlgItemTextW(hBox, 0xFFFF, text, 128);
  EXPECT_STREQ(text, L"Please select template");
  ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
  testsupport::PumpUntil([&] { return !::IsWindow(hBox); }, 10000);

  // Still open, nothing chosen; cancelling then gives IDCANCEL.
  testsupport::PumpMessages(100);
  EXPECT_FALSE(run.Done());
  EXPECT_TRUE(::IsWindow(hDlg));
  ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
  run.Finish();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.m_nSelected, -1);
}

TEST(TemplateDlgChooser, GivesTheChosenIndexOrNothingOnCancel) {
  CStringArray titles;
  Names(titles);
  CTemplateDlgChooser chooser;

  int selected = -1;
  BOOL chosen = FALSE;
  {
    ModalRun run(L"Template", [&] { chosen = chooser.ChooseTemplate(titles, &selected); });
    HWND hDlg = run.WaitForDialog();
    ASSERT_NE(hDlg, nullptr);
    ChooseRow(::GetDlgItem(hDlg, IDC_TEMPLATE_LIST), 1);
    ::PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
    run.Finish();
  }
  EXPECT_TRUE(chosen);
  EXPECT_EQ(selected, 1);

  selected = 7;
  {
    ModalRun run(L"Template", [&] { chosen = chooser.ChooseTemplate(titles, &selected); });
    HWND hDlg = run.WaitForDialog();
    ASSERT_NE(hDlg, nullptr);
    ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
    run.Finish();
  }
  EXPECT_FALSE(chosen);
  EXPECT_EQ(selected, 7);
}

// The main window on a user-interface thread of its own, as the program's frame is while the engine's
// worker asks: the chooser's dialog runs there. Records whether a click's release reached it (as a
// disabled window, only through WM_SETCURSOR).
class UiThreadHost {
 public:
  UiThreadHost() {
    m_thread = std::thread([this] { Run(); });
    testsupport::PumpUntil([this] { return m_hWnd.load() != nullptr || m_bEnded.load(); }, 10000);
  }
  ~UiThreadHost() {
    if (HWND hWnd = m_hWnd.load()) ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    m_thread.join();
  }
  UiThreadHost(const UiThreadHost&) = delete;
  UiThreadHost& operator=(const UiThreadHost&) = delete;

  HWND Window() const { return m_hWnd.load(); }
  bool HeardRelease() const { return m_bHeardRelease.load(); }

 private:
  void Run() {
    apptest::CRecordingWnd window;
    window.Watch(WM_SETCURSOR);
    window.m_onMessage = [this](UINT, WPARAM, LPARAM lParam) -> LRESULT {
      if (HIWORD(lParam) == WM_LBUTTONUP) m_bHeardRelease = true;
      return FALSE;
    };
    if (window.CreateHost(L"Main window", 0, 0, 900, 700)) {
      testsupport::BringToFront(window.m_hWnd);
      m_hWnd = window.m_hWnd;
      MSG msg;
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE && msg.hwnd == window.m_hWnd) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      m_hWnd = nullptr;
      window.DestroyWindow();
    }
    m_bEnded = true;
  }

  std::thread m_thread;
  std::atomic<HWND> m_hWnd{nullptr};
  std::atomic<bool> m_bEnded{false};
  std::atomic<bool> m_bHeardRelease{false};
};

// Asked from a worker, the dialog runs on the main window's thread, modal to it.
TEST(TemplateDlgChooser, TheDialogIsModalToTheMainWindowAndTakesTheKeyboardAsItOpens) {
  CStringArray titles;
  Names(titles);
  UiThreadHost host;
  const HWND hMain = host.Window();
  ASSERT_NE(hMain, nullptr);
  CTemplateDlgChooser chooser;
  chooser.m_hWndMain = hMain;

  int selected = 7;
  BOOL chosen = TRUE;
  {
    ModalRun run(L"Template", [&] { chosen = chooser.ChooseTemplate(titles, &selected); });
    HWND hDlg = run.WaitForDialog();
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(::GetWindow(hDlg, GW_OWNER), hMain);
    EXPECT_EQ(::GetWindowThreadProcessId(hDlg, nullptr), ::GetWindowThreadProcessId(hMain, nullptr));
    EXPECT_FALSE(::IsWindowEnabled(hMain));
    // A click on the main window leaves the dialog in front, with the keyboard.
    testsupport::MouseClickAt(60, 600);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return host.HeardRelease(); }, 10000))
        << "the click never reached the main window";
    CRect rc;
    ::GetWindowRect(hDlg, &rc);
    EXPECT_EQ(::GetAncestor(::WindowFromPoint(rc.CenterPoint()), GA_ROOT), hDlg);
    testsupport::KeyPress(VK_ESCAPE);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return run.Done(); }, 5000)) << "Escape did not cancel";
    run.Finish();
  }
  EXPECT_FALSE(chosen);
  EXPECT_EQ(selected, 7);
  EXPECT_TRUE(::IsWindowEnabled(hMain));
}

}  // namespace
