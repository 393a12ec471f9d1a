// The fixture of the grid's real-input tests: a shown grid in the foreground with one fixed row
// (20 pixels) and one fixed column (30), other cells 60 by 20, texts "r,c", and helpers that
// point at cells on the screen. The window is made once per suite (showing one takes the system
// a while); each test gets a new grid in it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "GridTestHost.h"
#include "RealInput.h"
#include "WindowTest.h"

class GridInput : public ::testing::Test {
 protected:
  static constexpr int kLeft = 120;
  static constexpr int kTop = 120;

  static void SetUpTestSuite() {
    s_pHost = new CGridTestHost;
    s_pHost->CreateFrame(kLeft, kTop, 460, 260, TRUE);
  }
  static void TearDownTestSuite() {
    delete s_pHost;
    s_pHost = nullptr;
  }

  void SetUp() override {
    // The mouse starts away from the grid, so the test's first move is a move.
    testsupport::MouseMoveTo(5, 5);
    ASSERT_TRUE(::IsWindow(host.GetSafeHwnd()));
    ASSERT_TRUE(host.CreateGrid(&grid, WS_CHILD | WS_VISIBLE));
    Shape(8, 5);
    ASSERT_TRUE(testsupport::BringToFront(host.GetSafeHwnd()));
    grid.SetFocus();
    PumpGridMessages(30);
  }
  void TearDown() override {
    // A press a failed test left must not reach the next one.
    if (::GetAsyncKeyState(VK_LBUTTON) < 0) testsupport::MouseButton(false);
    ::ClipCursor(nullptr);
    grid.DestroyWindow();
    PumpGridMessages(10);
  }

  void Shape(int rows, int cols) {
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < rows; ++row) {
      grid.SetRowHeight(row, 20);
      for (int col = 0; col < cols; ++col) {
        CString text;
        text.Format(_T("%d,%d"), row, col);
        grid.SetItemText(row, col, text);
      }
    }
    grid.SetColumnWidth(0, 30);
    for (int col = 1; col < cols; ++col) grid.SetColumnWidth(col, 60);
    grid.SetModified(FALSE);
  }

  // A point of the cell in screen coordinates: its centre moved by (dx, dy).
  CPoint CellPoint(int row, int col, int dx = 0, int dy = 0) {
    CRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, rect));
    CPoint point = rect.CenterPoint() + CPoint(dx, dy);
    grid.ClientToScreen(&point);
    return point;
  }
  // The screen point of a client point of the grid.
  CPoint ScreenPoint(int x, int y) {
    CPoint point(x, y);
    grid.ClientToScreen(&point);
    return point;
  }
  void Click(const CPoint& point, bool right = false) {
    testsupport::MouseClickAt(point.x, point.y, right);
    PumpGridMessages(60);
  }
  void ClickWith(WORD modifier, const CPoint& point) {
    testsupport::KeyDown(modifier);
    testsupport::MouseClickAt(point.x, point.y);
    testsupport::KeyUp(modifier);
    PumpGridMessages(60);
  }
  // Moves the cursor and waits until it is there, or as near as a confined cursor can get.
  void MoveAndSettle(const CPoint& to) {
    testsupport::MouseMoveTo(to.x, to.y);
    RECT clip;
    ::GetClipCursor(&clip);
    const CPoint reachable(std::max(clip.left, std::min(clip.right - 1, to.x)),
                           std::max(clip.top, std::min(clip.bottom - 1, to.y)));
    PumpGridUntil(
        [&] {
          POINT at;
          return ::GetCursorPos(&at) && CPoint(at) == reachable;
        },
        500);
  }
  // Press at `from`, move to `to` in five steps, each seen by the grid before the next, release.
  void Drag(const CPoint& from, const CPoint& to) {
    MoveAndSettle(from);
    testsupport::MouseButton(true);
    PumpGridMessages(30);
    const int steps = 5;
    for (int i = 1; i <= steps; ++i) {
      MoveAndSettle(CPoint(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
      PumpGridMessages(20);
    }
    testsupport::MouseButton(false);
  }
  void Key(WORD virtualKey, std::initializer_list<WORD> modifiers = {}) {
    testsupport::KeyPress(virtualKey, modifiers);
    PumpGridMessages(60);
  }
  // Two clicks at one place must be further apart than a double click.
  void WaitPastDoubleClick() { PumpGridMessages(::GetDoubleClickTime() + 60); }

  static inline CGridTestHost* s_pHost = nullptr;
  CTestGrid grid;
  CGridTestHost& host = *s_pHost;
};
