// The check-box tree: a tick on an item's box carries to its descendants.
#include "CheckBoxTree.h"

BEGIN_MESSAGE_MAP(CCheckBoxTree, CTreeCtrl)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CCheckBoxTree::SetChildrenCheck(HTREEITEM hItem, BOOL bCheck) {
  for (HTREEITEM hChild = GetChildItem(hItem); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
    if (ItemHasChildren(hChild)) SetChildrenCheck(hChild, bCheck);
    SetCheck(hChild, bCheck);
  }
}

// The control's own processing toggles the clicked item's box afterwards, so the descendants end with
// the item's new state.
void CCheckBoxTree::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT uHitFlags = 0;
  HTREEITEM hItem = HitTest(point, &uHitFlags);
  if (hItem != nullptr && (uHitFlags & TVHT_ONITEMSTATEICON) != 0) SetChildrenCheck(hItem, !GetCheck(hItem));
  CTreeCtrl::OnLButtonDown(nFlags, point);
}
