// The check-box tree of folder paths under one root item, "Outlook Folders": the Outlook Folders
// dialog shows a PST's folders in it, the browser page an NSF's.
#pragma once

#include <afxcmn.h>
#include <afxcoll.h>

#include "FolderTreeSink.h"

// Items are path components; AddPath builds the items of a whole backslash path, ticking every new item
// and its parent, and a tick on an item's check box carries to all its descendants. A click on an
// item's label sends WM_NSF_FOLDER_SELECTED to the window its owner named with SetNotifyWindow (none:
// no message), with the item's path. Space toggles the selected item's box and its descendants with it,
// as a click on the box does.
//
// Threads: the tree is created by its owner on the owner's thread (the user-interface thread for the
// browser page, the conversion worker for the Outlook Folders dialog), and only that thread calls it. A
// worker that fills a tree of another thread hands its calls over with CUiHandoff; AddFolderPath, the
// NSF folder listing's call, does that itself and may come from any thread.
class CFolderCheckTree : public CTreeCtrl, public IFolderTreeSink {
 public:
  CFolderCheckTree();

  // ---- IFolderTreeSink (any thread; applied on the tree's thread, in the order made) ----
  void AddFolderPath(const CString& path, int kind, int entryCount) override;
  // What AddFolderPath does, on the tree's own thread: AddPath with kind as image and data, then the
  // item of the path's last name carries entryCount, is expanded and ticked.
  HTREEITEM AddFolderPathNow(const CString& path, int kind, int entryCount);

  // The text of the root item; every path sits below it.
  static const LPCTSTR ROOT_TEXT;

  // Adds the items of path (components each ended by "\", "Inbox\Sub\") below the root item (made by
  // the first call), each new one with image (as image and selected image) and data; returns the item
  // of the last component: the root item for a path without a backslash. Text after the last backslash
  // is not used.
  HTREEITEM AddPath(CString path, int nImage, int nData);
  // The child of hParent whose text is strComponent (exact case), added at the end when there is none.
  HTREEITEM FindOrAddChild(const CString& strComponent, HTREEITEM hParent, int nImage, int nData);
  // The texts from the root down to hItem, each followed by "\", without the root item's own
  // component: "" for the root item, "Inbox\" for Inbox below it. A folder that is itself named
  // "Outlook Folders" keeps its name.
  CString GetItemPath(HTREEITEM hItem) const;
  // Appends the path of every ticked item, depth first in tree order (a ticked root gives "").
  void GetCheckedPaths(CStringArray& paths) const;
  void CollectChecked(HTREEITEM hParent, CStringArray& paths) const;
  // Gives every descendant of hItem the tick state bCheck.
  void SetChildrenCheck(HTREEITEM hItem, BOOL bCheck);

  // The window that receives WM_NSF_FOLDER_SELECTED; NULL (the default) sends nothing.
  void SetNotifyWindow(HWND hWnd) { m_hWndNotify = hWnd; }
  HWND GetNotifyWindow() const { return m_hWndNotify; }

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnPaint();
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);
  afx_msg void OnNcDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  // The control makes its check-box images at its first paint and then shows every item unticked:
  // made before the first item goes in, the ticks given by AddPath stay as they are.
  void EnsureCheckBoxImages();

  HWND m_hWndNotify;
};
