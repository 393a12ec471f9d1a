// A top-level window owning one grid for the grid's tests: it records the notifications the grid
// sends, answers the label-edit and display requests as a test tells it, and pumps messages the
// way the program's loop does (pre-translation included).
#pragma once

#include <afxole.h>

#include "GridCtrl.h"

#include <functional>
#include <vector>

// A grid whose protected options and state the tests read and set.
class CTestGrid : public CGridCtrl {
 public:
  using CGridCtrl::CGridCtrl;
  using CGridCtrl::GetScrollPos32;
  using CGridCtrl::IsVisibleHScroll;
  using CGridCtrl::IsVisibleVScroll;
  using CGridCtrl::m_DropTarget;
  using CGridCtrl::m_MouseMode;
  using CGridCtrl::m_nHScrollMax;
  using CGridCtrl::m_nRowsPerWheelNotch;
  using CGridCtrl::m_nVScrollMax;
  using CGridCtrl::OnFixedRowClick;
  int MouseMode() const { return m_MouseMode; }
  // The key that ended the last in-place edit, as the editor reported it (-1 before any).
  LPARAM lastEditorKey = -1;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr->idFrom == IDC_INPLACE_CONTROL && pHdr->code == static_cast<UINT>(GVN_ENDLABELEDIT)) {
      lastEditorKey = reinterpret_cast<GV_DISPINFO*>(lParam)->item.lParam;
    }
    return CGridCtrl::OnNotify(wParam, lParam, pResult);
  }
};

struct GridNotification {
  UINT code;
  int row;
  int col;
  LPARAM rowData;  // GetItemData(row, 0) when the notification arrived
  CString text;    // the item text of an end-label-edit from the in-place editor
};

class CGridTestHost : public CWnd {
 public:
  CGridTestHost() = default;
  ~CGridTestHost() override;

  // A top-level window with its client area of cx by cy at (x, y) in screen coordinates, and the
  // grid (control id 100) filling it.
  BOOL Create(CGridCtrl* pGrid, int x, int y, int cx, int cy, BOOL bVisible,
              DWORD dwGridStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP);
  // The two halves of Create: the window once, then a grid in it (the previous grid's window must
  // be gone by then), with the records emptied.
  BOOL CreateFrame(int x, int y, int cx, int cy, BOOL bVisible);
  BOOL CreateGrid(CGridCtrl* pGrid, DWORD dwGridStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP);

  std::vector<GridNotification> notifications;
  std::vector<CGridCellRange> cacheHints;
  int commands = 0;             // WM_COMMAND from the grid
  int nextControlRequests = 0;  // WM_NEXTDLGCTL: the grid asked its dialog to move the focus on
  LRESULT beginEditAnswer = 0;
  LRESULT endEditAnswer = 0;
  std::function<void(GV_DISPINFO*)> onDisplayRequest;

  // How many notifications with code arrived, and the last of them (null when none).
  int Count(UINT code) const;
  const GridNotification* Last(UINT code) const;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CGridCtrl* m_pGrid = nullptr;
};

// Pumps this thread's messages for about `milliseconds`, offering each to the framework's
// pre-translation first as the program's message loop does.
void PumpGridMessages(DWORD milliseconds);
// Pumps until `done` or the timeout; returns the last result of `done`.
bool PumpGridUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
