// The tab window: a child window that shows a tab strip and, beside it, the page window of the
// selected tab; the other pages are hidden. It hosts a tab manager and owns its painter, an image
// manager for the tab icons, an OLE drop target and a tool-tip context.
#pragma once

#include <afxole.h>
#include <afxwin.h>

#include "TabManager.h"
#include "TabPainter.h"

class CXTPImageManager;
class CXTPTipSettings;

// Created and used on the user-interface thread only; its pages are windows of that thread too.
// Selecting a tab (SetCurSel, a click, a key) is the only thing that shows or hides pages, and every
// selection sends the owner (else the parent) WM_NOTIFY with TCN_SELCHANGE and the window's id.
class CXTPTabWnd : public CWnd, public CXTPTabManager {
  DECLARE_DYNAMIC(CXTPTabWnd)

 public:
  CXTPTabWnd();
  ~CXTPTabWnd() override;

  // A child window of pParentWnd; FALSE when it cannot be made (no drop target is registered then).
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // A tab whose page is hwndChild (hidden until its tab is selected), with an image of the image
  // manager (-1 for none). Index 0 selects the new tab; other indexes leave the selection alone.
  CXTPTabManagerItem* InsertItem(int nItem, LPCTSTR lpszItem, HWND hwndChild = nullptr, int nImage = -1);
  using CXTPTabManager::InsertItem;

  // The icons of the tabs (by image index). Owned by the window.
  CXTPImageManager* GetImageManager() const { return m_pImageManager; }
  CXTPTipSettings* GetToolTipContext() const { return m_pToolTipContext; }
  // The page shown now, or NULL.
  HWND GetClientWindow() const { return m_hWndClient; }

  // ---- the manager's operations ----
  void Reposition() override;
  void SetSelectedItem(CXTPTabManagerItem* pItem) override;
  void OnNavigateItem(CXTPTabManagerItem* pItem) override;
  CXTPTabPainter* GetPaintManager() const override { return m_pPaintManager; }
  // Deletes the current painter, takes pPaintManager (with ownership), refreshes and re-lays out.
  void SetPaintManager(CXTPTabPainter* pPaintManager) override;
  void RedrawControl() override;
  BOOL DrawItemIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override;
  void OnItemClick(CXTPTabManagerItem* pItem) override;
  void OnNavigateButton(int nKind) override;
  BOOL HasFocus() const override;
  using CXTPTabManager::OnKeyDown;

  // ---- the window's ----
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

 protected:
  void PreSubclassWindow() override;
  // Every message goes to the tool-tip context first.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The parent shows no focus rectangles now.
  BOOL IsFocusHiddenByParent() const;

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()

  // Selects the tab under a drag that passes over the strip.
  class CTabDropTarget : public COleDropTarget {
   public:
    explicit CTabDropTarget(CXTPTabWnd* pTabWnd) : m_pTabWnd(pTabWnd) {}
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;

   private:
    CXTPTabWnd* m_pTabWnd;
  };

  HWND m_hWndClient = nullptr;
  CXTPTabPainter* m_pPaintManager = nullptr;
  CXTPImageManager* m_pImageManager = nullptr;
  CTabDropTarget* m_pDropTarget = nullptr;
  CXTPTipSettings* m_pToolTipContext = nullptr;
};
