// The grid's geometry and scrolling: hit tests, cell rectangles, the scroll bars, line scrolling
// past hidden rows, the wheel, making the last cell visible and automatic column sizes.
#include <gtest/gtest.h>

#include "GridTestHost.h"

#include <string>

namespace {

// 1 fixed row of 20 pixels and 1 fixed column of 30; the other columns 50 wide, rows 20 high.
class GridLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE, WS_CHILD | WS_VISIBLE));
    Shape(6, 4);
  }
  void Shape(int rows, int cols) {
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < rows; ++row) grid.SetRowHeight(row, 20);
    grid.SetColumnWidth(0, 30);
    for (int col = 1; col < cols; ++col) grid.SetColumnWidth(col, 50);
  }
  // The WM_VSCROLL codes the grid posted to itself, removed from the queue.
  std::wstring PostedVScrolls() {
    std::wstring codes;
    MSG msg;
    while (::PeekMessage(&msg, grid.GetSafeHwnd(), WM_VSCROLL, WM_VSCROLL, PM_REMOVE)) {
      codes += static_cast<wchar_t>(L'0' + LOWORD(msg.wParam));
    }
    return codes;
  }

  CTestGrid grid;
  CGridTestHost host;
};

}  // namespace

TEST_F(GridLayout, PointsFindTheirCellsAndRectanglesIncludeTheGridLines) {
  EXPECT_EQ(grid.GetCellFromPt(CPoint(5, 5)), CGridCellId(0, 0));
  EXPECT_EQ(grid.GetCellFromPt(CPoint(29, 19)), CGridCellId(0, 0));
  EXPECT_EQ(grid.GetCellFromPt(CPoint(30, 20)), CGridCellId(1, 1));
  EXPECT_EQ(grid.GetCellFromPt(CPoint(30 + 50 * 2 + 5, 20 + 20 * 3 + 5)), CGridCellId(4, 3));
  EXPECT_EQ(grid.GetCellFromPt(CPoint(30 + 50 * 3 + 1, 25)).col, -1) << "past the last column";
  EXPECT_EQ(grid.GetCellFromPt(CPoint(35, 20 + 20 * 5 + 1)).row, -1) << "below the last row";
  EXPECT_EQ(grid.GetCellFromPt(CPoint(-1, 25)).col, -1);
  EXPECT_EQ(grid.GetCellFromPt(CPoint(5, 25), FALSE).col, -1) << "fixed cells not wanted";

  CRect rect;
  ASSERT_TRUE(grid.GetCellRect(1, 1, rect));
  EXPECT_EQ(rect, CRect(30, 20, 79, 39));
  ASSERT_TRUE(grid.GetCellRect(0, 2, rect));
  EXPECT_EQ(rect, CRect(80, 0, 129, 19));
  EXPECT_FALSE(grid.GetCellRect(6, 1, rect));

  // A hidden row takes no room.
  grid.SetRowHeight(1, 0);
  EXPECT_EQ(grid.GetCellFromPt(CPoint(35, 25)), CGridCellId(2, 1));
}

TEST_F(GridLayout, ScrollBarsShowOnlyWhenTheCellsDoNotFit) {
  EXPECT_FALSE(grid.IsVisibleVScroll());
  EXPECT_FALSE(grid.IsVisibleHScroll());
  EXPECT_EQ(grid.m_nVScrollMax, 0);
  EXPECT_EQ(grid.m_nHScrollMax, 0);

  Shape(40, 12);
  EXPECT_TRUE(grid.IsVisibleVScroll());
  EXPECT_TRUE(grid.IsVisibleHScroll());
  EXPECT_EQ(grid.m_nVScrollMax, 39 * 20 - 1);
  EXPECT_EQ(grid.m_nHScrollMax, 11 * 50 - 1);
  EXPECT_TRUE(grid.GetStyle() & WS_VSCROLL);

  Shape(3, 3);
  EXPECT_FALSE(grid.IsVisibleVScroll());
  EXPECT_FALSE(grid.IsVisibleHScroll());
  EXPECT_EQ(grid.m_nVScrollMax, 0);
}

TEST_F(GridLayout, LineScrollingSkipsHiddenRowsAndStopsAtTheEnds) {
  Shape(60, 12);
  grid.SetRowHeight(1, 0);
  grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 20) << "by the first visible row";
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 3);

  grid.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_GT(grid.GetScrollPos32(SB_HORZ), 0);
  const int atEnd = grid.GetScrollPos32(SB_HORZ);
  grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), atEnd);
  grid.SendMessage(WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 1);
}

TEST_F(GridLayout, EnsureVisibleReachesTheLastCellEvenWhenItIsWiderThanTheWindow) {
  Shape(200, 20);
  grid.SetColumnWidth(19, 1000);
  grid.SetRowHeight(199, 900);
  grid.EnsureVisible(199, 19);
  EXPECT_TRUE(grid.IsCellVisible(199, 19));
  const CGridCellRange visible = grid.GetVisibleNonFixedCellRange();
  EXPECT_EQ(visible.GetMaxRow(), 199);
  EXPECT_EQ(visible.GetMaxCol(), 19);

  grid.EnsureVisible(1, 1);
  EXPECT_EQ(grid.GetTopleftNonFixedCell(), CGridCellId(1, 1));
}

TEST_F(GridLayout, WheelNotchesBecomeLinesOrPages) {
  Shape(100, 4);
  grid.m_nRowsPerWheelNotch = 3;
  grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
  EXPECT_EQ(PostedVScrolls(), L"0") << "180 / 120 = one line up";
  grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  EXPECT_EQ(PostedVScrolls(), L"111111");

  grid.m_nRowsPerWheelNotch = -1;
  grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(PostedVScrolls(), L"2") << "a page up";
  grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(PostedVScrolls(), L"3");
}

TEST(GridWheelSetting, OldSystemsReadTheDesktopKeyAndOthersAskTheSystem) {
  OSVERSIONINFO windows95 = {};
  windows95.dwOSVersionInfoSize = sizeof(windows95);
  windows95.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
  windows95.dwMajorVersion = 4;
  windows95.dwMinorVersion = 0;

  CString key;
  key.Format(_T("Software\\BrindleTests\\GridWheel%lu"), ::GetCurrentProcessId());
  EXPECT_EQ(CGridCtrl::GetMouseScrollLines(&windows95, key), 3) << "no key";
  HKEY hKey;
  ASSERT_EQ(::RegCreateKeyEx(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(CGridCtrl::GetMouseScrollLines(&windows95, key), 3) << "no value";
  const TCHAR seven[] = _T("7");
  ::RegSetValueEx(hKey, _T("WheelScrollLines"), 0, REG_SZ, reinterpret_cast<const BYTE*>(seven),
                  sizeof(seven));
  EXPECT_EQ(CGridCtrl::GetMouseScrollLines(&windows95, key), 7);
  EXPECT_EQ(CGridCtrl::GetMouseScrollLines(nullptr, key), 7) << "an unknown version reads the key too";
  // An unterminated value of the largest size still reads as a number.
  // The character after the 128 written is not a terminator either: the system stores a terminator
  // beyond the count when the data's last character is none and the next one is.
  TCHAR longValue[129];
  for (TCHAR& ch : longValue) ch = _T('9');
  ::RegSetValueEx(hKey, _T("WheelScrollLines"), 0, REG_SZ, reinterpret_cast<const BYTE*>(longValue),
                  128 * sizeof(TCHAR));
  EXPECT_NE(CGridCtrl::GetMouseScrollLines(&windows95, key), 3);
  ::RegCloseKey(hKey);
  ::RegDeleteKey(HKEY_CURRENT_USER, key);

  OSVERSIONINFO windowsNt = windows95;
  windowsNt.dwPlatformId = VER_PLATFORM_WIN32_NT;
  windowsNt.dwMajorVersion = 6;
  windowsNt.dwMinorVersion = 1;
  UINT nSystem = 0;
  ASSERT_TRUE(::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &nSystem, 0));
  EXPECT_EQ(CGridCtrl::GetMouseScrollLines(&windowsNt, key), static_cast<int>(nSystem));
}

TEST_F(GridLayout, AutoSizeFitsTheWidestCellAndSkipsHiddenColumns) {
  grid.SetItemText(0, 2, _T("Size in Bytes"));
  grid.SetItemText(3, 2, _T("a much longer text than the header"));
  CClientDC dc(&grid);
  const int widest = grid.GetCell(3, 2)->GetCellExtent(&dc).cx;
  EXPECT_TRUE(grid.AutoSizeColumn(2));
  EXPECT_EQ(grid.GetColumnWidth(2), widest);

  EXPECT_TRUE(grid.AutoSizeColumn(2, GVS_HEADER));
  EXPECT_EQ(grid.GetColumnWidth(2), grid.GetCell(0, 2)->GetCellExtent(&dc).cx);

  grid.SetColumnWidth(3, 0);
  EXPECT_FALSE(grid.AutoSizeColumn(3));
  EXPECT_EQ(grid.GetColumnWidth(3), 0);
  EXPECT_FALSE(grid.AutoSizeColumn(9));
}
