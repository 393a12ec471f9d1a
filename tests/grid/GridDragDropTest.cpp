// OLE drag and drop between two grids with the real mouse: a plain drop moves the text and the
// source cuts it, a drop with Ctrl copies; near the target's edges the target scrolls.
#include "GridInputFixture.h"
#include "TestProcess.h"

#include <atomic>
#include <thread>

// The target grid, telling the thread that moves the mouse what the drag loop has shown it: the cell
// the drag was last over, and whether Ctrl was down then.
class CDropTargetGrid : public CTestGrid {
 public:
  DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override {
    Seen(dwKeyState, point);
    return CTestGrid::OnDragEnter(pDataObject, dwKeyState, point);
  }
  DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override {
    Seen(dwKeyState, point);
    return CTestGrid::OnDragOver(pDataObject, dwKeyState, point);
  }
  bool IsOver(int row, int col) const { return m_nOver == row * 100 + col; }
  bool CtrlSeen() const { return m_bCtrl; }

 private:
  void Seen(DWORD dwKeyState, CPoint point) {
    const CGridCellId cell = GetCellFromPt(point, FALSE);
    m_nOver = cell.row * 100 + cell.col;
    if (dwKeyState & MK_CONTROL) m_bCtrl = true;
  }
  std::atomic<int> m_nOver{-1};
  std::atomic<bool> m_bCtrl{false};
};

class GridDragDrop : public GridInput {
 protected:
  void SetUp() override {
    GridInput::SetUp();
    grid.MoveWindow(0, 0, 225, 260);
    ASSERT_TRUE(target.Create(CRect(235, 0, 460, 260), &host, 101, WS_CHILD | WS_VISIBLE));
    target.SetRowCount(8);
    target.SetColumnCount(3);
    target.SetFixedRowCount(1);
    target.SetFixedColumnCount(1);
    for (int row = 0; row < 8; ++row) target.SetRowHeight(row, 20);
    target.SetColumnWidth(0, 30);
    // Commas would split the texts into cells on the way in.
    grid.SetItemText(1, 1, _T("pear"));
    grid.SetItemText(1, 2, _T("fig"));
    grid.SetItemText(2, 1, _T("lime"));
    grid.SetItemText(3, 1, _T("kiwi"));
    grid.EnableDragAndDrop(TRUE);
    target.EnableDragAndDrop(TRUE);
    PumpGridMessages(30);
  }
  void TearDown() override {
    target.DestroyWindow();
    GridInput::TearDown();
  }
  CPoint TargetCellPoint(int row, int col) {
    CRect rect;
    target.GetCellRect(row, col, rect);
    CPoint point = rect.CenterPoint();
    target.ClientToScreen(&point);
    return point;
  }
  // Presses on the source cell, starts the drag and lets a second thread carry it to the target
  // cell (row, col) and drop it there, with Ctrl held when asked. The second thread goes on once the
  // drag loop has shown each step taken: the loop's own window holds the mouse, the target saw the
  // drag over the cell, and then Ctrl.
  void DragTo(CPoint from, int row, int col, bool withCtrl) {
    const CPoint to = TargetCellPoint(row, col);
    testsupport::MouseMoveTo(from.x, from.y);
    testsupport::MouseButton(true);
    PumpGridMessages(60);
    const DWORD dwThread = ::GetCurrentThreadId();
    const HWND hGrid = grid.GetSafeHwnd();
    std::atomic<bool> dropped{false};
    std::thread mover([=, &dropped] {
      testsupport::WaitUntil(
          [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            return ::GetGUIThreadInfo(dwThread, &info) && info.hwndCapture != nullptr &&
                   info.hwndCapture != hGrid;
          },
          10000);
      testsupport::MouseMoveInSteps(from + CPoint(8, 0), to, 8);
      testsupport::WaitUntil([&] { return target.IsOver(row, col); }, 10000);
      // Ctrl goes down after the last move: the display's own mouse events would otherwise bring
      // the system's key state back to what the display knows, without Ctrl.
      if (withCtrl) {
        testsupport::KeyDown(VK_CONTROL);
        testsupport::WaitUntil([&] { return target.CtrlSeen(); }, 10000);
      }
      testsupport::MouseButton(false);
      if (withCtrl) testsupport::KeyUp(VK_CONTROL);
      dropped = true;
    });
    // The first move past the drag threshold starts the drag; the drag loop runs inside this pump
    // until the drop.
    testsupport::MouseMoveTo(from.x + 8, from.y);
    PumpGridUntil([&] { return dropped.load(); }, 40000);
    mover.join();
    PumpGridMessages(100);
  }

  CDropTargetGrid target;
};

TEST_F(GridDragDrop, APlainDropMovesTheTextIntoTheOtherGrid) {
  grid.SetSelectedRange(1, 1, 1, 2);
  DragTo(CellPoint(1, 1), 3, 1, false);
  EXPECT_EQ(target.GetItemText(3, 1), _T("pear"));
  EXPECT_EQ(target.GetItemText(3, 2), _T("fig"));
  EXPECT_EQ(grid.GetItemText(1, 1), _T("")) << "moved: the source cut it";
  EXPECT_EQ(grid.GetItemText(1, 2), _T(""));
  EXPECT_EQ(host.Count(GVN_BEGINDRAG), 1);
  EXPECT_EQ(grid.MouseMode(), 0);
  EXPECT_FALSE(target.GetItemState(3, 1) & GVIS_DROPHILITED) << "the highlight is gone after the drop";
}

TEST_F(GridDragDrop, ADropWithCtrlCopies) {
  grid.SetSelectedRange(2, 1, 3, 1);
  DragTo(CellPoint(2, 1), 4, 2, true);
  EXPECT_EQ(target.GetItemText(4, 2), _T("lime"));
  EXPECT_EQ(target.GetItemText(5, 2), _T("kiwi"));
  EXPECT_EQ(grid.GetItemText(2, 1), _T("lime")) << "copied: the source keeps it";
  EXPECT_EQ(grid.GetItemText(3, 1), _T("kiwi"));
}

TEST_F(GridDragDrop, AClickOnTheSelectionWithoutMovingIsAClickNotADrag) {
  grid.SetSelectedRange(1, 1, 2, 2);
  Click(CellPoint(2, 2));
  EXPECT_EQ(host.Count(GVN_BEGINDRAG), 0);
  const GridNotification* click = host.Last(NM_CLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->row, 2);
  EXPECT_EQ(grid.GetSelectedCount(), 0) << "the click let the selection go";
}

TEST_F(GridDragDrop, AGridWithoutDragAndDropTakesNoDrop) {
  target.EnableDragAndDrop(FALSE);
  grid.SetSelectedRange(1, 1, 1, 1);
  DragTo(CellPoint(1, 1), 3, 1, false);
  EXPECT_EQ(target.GetItemText(3, 1), _T(""));
  EXPECT_EQ(grid.GetItemText(1, 1), _T("pear")) << "nothing moved";
}

TEST_F(GridInput, TheDropTargetScrollsInTheEdgeBandAndLeavesTheRestToTheGrid) {
  Shape(60, 5);
  CGridDropTarget& dropTarget = grid.m_DropTarget;
  EXPECT_TRUE(dropTarget.IsRegistered());
  EXPECT_EQ(dropTarget.OnDragScroll(&host, 0, CPoint(50, 50)), static_cast<DROPEFFECT>(DROPEFFECT_NONE));
  EXPECT_EQ(dropTarget.OnDragScroll(&grid, 0, CPoint(100, 100)), static_cast<DROPEFFECT>(DROPEFFECT_MOVE));
  EXPECT_EQ(dropTarget.OnDragScroll(&grid, MK_CONTROL, CPoint(100, 100)),
            static_cast<DROPEFFECT>(DROPEFFECT_COPY));

  CRect client;
  grid.GetClientRect(client);
  const CPoint bottomBand(100, client.bottom - 3);
  EXPECT_TRUE(dropTarget.OnDragScroll(&grid, 0, bottomBand) & DROPEFFECT_SCROLL);
  ::Sleep(COleDropTarget::nScrollDelay + COleDropTarget::nScrollInterval);
  dropTarget.OnDragScroll(&grid, 0, bottomBand);
  EXPECT_GT(grid.GetTopleftNonFixedCell().row, 1);
}
