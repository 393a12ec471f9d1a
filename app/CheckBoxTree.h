// CCheckBoxTree: a tree control with check boxes in which a click on an item's check box gives all
// the item's descendants the state that the item takes.
#pragma once

#include <afxcmn.h>

// Created with TVS_CHECKBOXES by its parent on the parent's thread; only that thread touches it.
class CCheckBoxTree : public CTreeCtrl {
 public:
  CCheckBoxTree() = default;

  // Gives every descendant of hItem the tick bCheck, each child's own descendants before the child.
  void SetChildrenCheck(HTREEITEM hItem, BOOL bCheck);

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

  DECLARE_MESSAGE_MAP()
};
