// CXTPTabClientWnd: the tabbed workspace of a multiple-document frame. It subclasses the frame's MDI
// client window; every MDI child is a tab, the tabs live in one or more groups that split the client
// area side by side or one below the other, the user moves tabs between groups, opens new groups and
// drags the splitters between them. All groups draw through one painter. While the workspace is off
// everything goes to the MDI client's default handling. Created, attached and used on the frame's
// user-interface thread only; the splitter drag runs a local message loop there.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include "TabManager.h"
#include "TabPainter.h"

class CXTPTabClientWnd : public CWnd {
  DECLARE_DYNAMIC(CXTPTabClientWnd)

 public:
  // One tab group: a window-less tab manager over a rectangle of the client window.
  class CGroup : public CXTPTabManager {
   public:
    explicit CGroup(CXTPTabClientWnd* pClient) : m_pClient(pClient) {}

    void Reposition() override;
    CXTPTabPainter* GetPaintManager() const override { return m_pClient->m_pPaintManager; }
    void RedrawControl() override;
    BOOL DrawItemIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override;
    // A click on a tab activates its window; the activation selects the tab.
    void OnItemClick(CXTPTabManagerItem* pItem) override;
    // Windows-less groups draw no focus.
    BOOL HasFocus() const override { return FALSE; }

    CRect m_rcGroup;
    CRect m_rcSplitter;
    double m_dSize = 0;

   private:
    CXTPTabClientWnd* m_pClient;
  };

  CXTPTabClientWnd();
  ~CXTPTabClientWnd() override;

  // Subclasses the frame's MDI client and shows its children as tabs. FALSE when the frame has no
  // MDI client or the workspace is attached already.
  BOOL Attach(CMDIFrameWnd* pFrame);
  // Gives the MDI client back to its default handling; the children get their frames again.
  void Detach();
  BOOL IsAttached() const { return m_bEnabled; }

  // Rebuilds the tabs; with bRecalcFrame the frame lays itself out again around the client.
  void Refresh(BOOL bRecalcFrame = FALSE);
  // The tab of an MDI child, or NULL.
  CXTPTabManagerItem* FindTabOfWindow(HWND hWnd) const;
  // Brings the next tab's window of pItem's group to the top, else the previous one's.
  void ActivateNeighbour(CXTPTabManagerItem* pItem);
  // The workspace commands: move to the previous or next group, open a horizontal or vertical group.
  void DoWorkspaceAction(UINT nID);
  BOOL IsWorkspaceActionEnabled(UINT nID) const;
  // Drags the splitter after group nGroup from point (client coordinates); not for the last group.
  void TrackGroupSplitter(int nGroup, CPoint point);

  int GetGroupCount() const { return static_cast<int>(m_arrGroups.GetSize()); }
  CGroup* GetGroup(int nGroup) const;
  CGroup* GetActiveGroup() const;
  BOOL IsHorizontalGroups() const { return m_bHorizontalGroups; }
  void SetLiveTracking(BOOL bLive) { m_bLiveTracking = bLive; }
  BOOL IsLiveTracking() const { return m_bLiveTracking; }
  int GetSplitterSize() const { return m_nSplitterSize; }
  CXTPTabPainter* GetPaintManager() const { return m_pPaintManager; }
  // Turns the tab workspace on or off (the children keep their tabs' order).
  void ShowWorkspace(BOOL bShow);
  BOOL IsWorkspaceShown() const { return m_bShowTabs; }

  // The split of two groups' shared extent for a splitter at nPosition. Group sizes are doubles so
  // that repeated splitting keeps the proportions; an empty union gives the first group nothing.
  static void SplitSizes(double& dSizeA, double& dSizeB, int nSplitterSize, int nPosition, int nUnionStart,
                         int nUnionLength, BOOL bRightToLeft);

 protected:
  // Maps the MDI children to tabs and groups, then lays the groups out.
  virtual void UpdateContents();
  // After the default handling of an activation while the tabs are shown.
  virtual void OnMDIActivated(LRESULT /*lResult*/) {}
  // Client painting while the workspace is off.
  virtual void OnClientDraw(CDC* pDC);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void RepositionGroups();
  void PaintWorkspace(CDC* pDC);
  int HitTestSplitter(CPoint point) const;
  CGroup* HitTestGroup(CPoint point) const;
  CGroup* FindGroupOfItem(CXTPTabManagerItem* pItem, int* pnIndex = nullptr) const;
  void MoveItem(CXTPTabManagerItem* pItem, CGroup* pTarget);
  void StripChildFrame(HWND hWndChild) const;
  void ApplySplitterPosition(int nGroup, int nPosition);
  HWND GetActiveChild() const;

  afx_msg void OnWorkspaceCommand(UINT nID);
  afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  CArray<CGroup*, CGroup*> m_arrGroups;
  CMDIFrameWnd* m_pFrame = nullptr;
  BOOL m_bEnabled = FALSE;
  BOOL m_bRefreshing = FALSE;
  BOOL m_bItemsChanged = FALSE;
  BOOL m_bGroupsChanged = FALSE;
  // Set while the workspace itself closes or activates windows, so that it does not react twice.
  BOOL m_bLockActivate = FALSE;
  CXTPTabPainter* m_pPaintManager = nullptr;
  BOOL m_bHorizontalGroups = FALSE;
  HCURSOR m_hCursorHoriz = nullptr;
  HCURSOR m_hCursorVert = nullptr;
  BOOL m_bShowTabs = TRUE;
  BOOL m_bLiveTracking = FALSE;
  int m_nSplitterSize = 4;
  CGroup* m_pActiveGroup = nullptr;
};
