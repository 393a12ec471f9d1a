// Wrappers of the common controls: tree and list views, header, progress bar, animation, tool
// tips, tabs, spin buttons, status bar, toolbar, rebar and rich edit. Create registers the
// control's class with the common-controls library first.
#pragma once

#include "framework/ImageList.h"
#include "framework/Wnd.h"

#include <commctrl.h>
#include <richedit.h>

class CEdit;
class CHeaderCtrl;

// ---- Tree view -----------------------------------------------------------------------------------
class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)
 public:
  CTreeCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Items. The text forms insert under hParent after hInsertAfter (TVI_FIRST, TVI_LAST, TVI_SORT).
  HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
  HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                       UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem)));
  }
  BOOL DeleteAllItems() {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
  }
  BOOL GetItem(TVITEM* pItem) const {
    return static_cast<BOOL>(SendMessage(TVM_GETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
  }
  BOOL SetItem(TVITEM* pItem) {
    return static_cast<BOOL>(SendMessage(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
  }
  BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
               UINT nStateMask, LPARAM lParam);
  CString GetItemText(HTREEITEM hItem) const;
  BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
  BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
  BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  BOOL ItemHasChildren(HTREEITEM hItem) const;
  // TRUE when the item's state image is the checked one (TVS_CHECKBOXES).
  BOOL GetCheck(HTREEITEM hItem) const;
  BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);

  // Navigation.
  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const {
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
  }
  HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
  HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
  UINT GetVisibleCount() const { return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT)); }

  // Operations.
  BOOL Select(HTREEITEM hItem, UINT nCode) {
    return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
  }
  BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
  BOOL SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
  BOOL SelectSetFirstVisible(HTREEITEM hItem) { return Select(hItem, TVGN_FIRSTVISIBLE); }
  BOOL Expand(HTREEITEM hItem, UINT nCode) {
    return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
  }
  BOOL EnsureVisible(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem)));
  }
  BOOL SortChildren(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(hItem)));
  }
  // bTextOnly: the label's rectangle rather than the whole line.
  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const {
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
  }
  CEdit* EditLabel(HTREEITEM hItem);
  CEdit* GetEditControl() const;
  BOOL EndEditLabelNow(BOOL fCancelWithoutSave) {
    return static_cast<BOOL>(SendMessage(TVM_ENDEDITLABELNOW, fCancelWithoutSave));
  }

  // Appearance. SetImageList returns the previous list (a temporary unless someone owns it).
  CImageList* GetImageList(int nImageList) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageList);
  UINT GetIndent() const { return static_cast<UINT>(SendMessage(TVM_GETINDENT)); }
  void SetIndent(UINT nIndent) { SendMessage(TVM_SETINDENT, nIndent); }
  SHORT GetItemHeight() const { return static_cast<SHORT>(SendMessage(TVM_GETITEMHEIGHT)); }
  SHORT SetItemHeight(SHORT cyHeight) { return static_cast<SHORT>(SendMessage(TVM_SETITEMHEIGHT, cyHeight)); }
  COLORREF SetBkColor(COLORREF clr) { return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, clr)); }
  COLORREF SetTextColor(COLORREF clr) { return static_cast<COLORREF>(SendMessage(TVM_SETTEXTCOLOR, 0, clr)); }
};

// ---- List view -----------------------------------------------------------------------------------
class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
 public:
  CListCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Columns.
  int InsertColumn(int nCol, const LVCOLUMN* pColumn) {
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMN, nCol, reinterpret_cast<LPARAM>(pColumn)));
  }
  // nWidth -1 leaves the width to the control; nSubItem -1 means "none given".
  int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, nCol)); }
  BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const {
    return static_cast<BOOL>(SendMessage(LVM_GETCOLUMN, nCol, reinterpret_cast<LPARAM>(pColumn)));
  }
  BOOL SetColumn(int nCol, const LVCOLUMN* pColumn) {
    return static_cast<BOOL>(SendMessage(LVM_SETCOLUMN, nCol, reinterpret_cast<LPARAM>(pColumn)));
  }
  int GetColumnWidth(int nCol) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol)); }
  BOOL SetColumnWidth(int nCol, int cx) {
    return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)));
  }
  CHeaderCtrl* GetHeaderCtrl() const;

  // Items. Each InsertItem returns the new index or -1.
  int InsertItem(const LVITEM* pItem) {
    return static_cast<int>(SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(pItem)));
  }
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                 LPARAM lParam);
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, nItem)); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
  int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
  void SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, nItems); }
  BOOL GetItem(LVITEM* pItem) const {
    return static_cast<BOOL>(SendMessage(LVM_GETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
  }
  BOOL SetItem(const LVITEM* pItem) {
    return static_cast<BOOL>(SendMessage(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(pItem)));
  }
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
               UINT nStateMask, LPARAM lParam);
  CString GetItemText(int nItem, int nSubItem) const;
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  UINT GetItemState(int nItem, UINT nMask) const {
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, nItem, nMask));
  }
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  BOOL SetItemState(int nItem, LVITEM* pItem) {
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(pItem)));
  }
  // TRUE when the item's check box is ticked (LVS_EX_CHECKBOXES).
  BOOL GetCheck(int nItem) const;
  BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
  int GetNextItem(int nItem, int nFlags) const {
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0)));
  }
  UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
  int SetSelectionMark(int iIndex) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, iIndex)); }
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  int HitTest(LVHITTESTINFO* pHitTestInfo) const {
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
  }
  int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const {
    return static_cast<int>(SendMessage(LVM_FINDITEM, nStart, reinterpret_cast<LPARAM>(pFindInfo)));
  }
  BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
    return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, nItem, MAKELPARAM(bPartialOK, 0)));
  }
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
    return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, dwData, reinterpret_cast<LPARAM>(pfnCompare)));
  }
  BOOL RedrawItems(int nFirst, int nLast) {
    return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, nFirst, nLast));
  }
  BOOL Update(int nItem) { return static_cast<BOOL>(SendMessage(LVM_UPDATE, nItem)); }
  BOOL Scroll(CSize size) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, size.cx, size.cy)); }
  int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
  int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
  CEdit* EditLabel(int nItem);
  CEdit* GetEditControl() const;

  // Appearance.
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
  DWORD SetExtendedStyle(DWORD dwNewStyle) {
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle));
  }
  CImageList* GetImageList(int nImageList) const;
  // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE. Returns the previous list.
  CImageList* SetImageList(CImageList* pImageList, int nImageList);
  HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageList) {
    return reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_SETIMAGELIST, nImageList, reinterpret_cast<LPARAM>(hImageList)));
  }
  COLORREF GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
  BOOL SetBkColor(COLORREF cr) { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, cr)); }
  COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
  BOOL SetTextColor(COLORREF cr) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, cr)); }
  COLORREF GetTextBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)); }
  BOOL SetTextBkColor(COLORREF cr) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, cr)); }
};

// ---- Header --------------------------------------------------------------------------------------
class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)
 public:
  CHeaderCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
  BOOL GetItem(int nPos, HDITEM* pHeaderItem) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEM, nPos, reinterpret_cast<LPARAM>(pHeaderItem)));
  }
  BOOL SetItem(int nPos, HDITEM* pHeaderItem) {
    return static_cast<BOOL>(SendMessage(HDM_SETITEM, nPos, reinterpret_cast<LPARAM>(pHeaderItem)));
  }
  int InsertItem(int nPos, HDITEM* phdi) {
    return static_cast<int>(SendMessage(HDM_INSERTITEM, nPos, reinterpret_cast<LPARAM>(phdi)));
  }
  BOOL DeleteItem(int nPos) { return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, nPos)); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect)));
  }
  BOOL Layout(HDLAYOUT* pHeaderLayout) {
    return static_cast<BOOL>(SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(pHeaderLayout)));
  }
  int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) {
    return static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(pHeaderHitTestInfo)));
  }
  CImageList* SetImageList(CImageList* pImageList);
};

// ---- Progress bar --------------------------------------------------------------------------------
class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  CProgressCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
  void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
  void GetRange(int& nLower, int& nUpper) const;
  int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
  // Each returns the previous position.
  int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos)); }
  int OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, nPos)); }
  int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, nStep)); }
  int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
  COLORREF SetBarColor(COLORREF clrBar) {
    return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, clrBar));
  }
  COLORREF SetBkColor(COLORREF clrNew) {
    return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, clrNew));
  }
};

// ---- Animation -----------------------------------------------------------------------------------
class CAnimateCtrl : public CWnd {
  DECLARE_DYNAMIC(CAnimateCtrl)
 public:
  CAnimateCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // An AVI resource of the resource module (AfxGetResourceHandle), or a file.
  BOOL Open(LPCTSTR lpszFileName);
  BOOL Open(UINT nID);
  // Frames nFrom..nTo (0xFFFF or -1: the last), nRep times (-1: until Stop).
  BOOL Play(UINT nFrom, UINT nTo, UINT nRep) {
    return static_cast<BOOL>(SendMessage(ACM_PLAY, nRep, MAKELPARAM(nFrom, nTo)));
  }
  BOOL Stop() { return static_cast<BOOL>(SendMessage(ACM_STOP)); }
  BOOL Close() { return static_cast<BOOL>(SendMessage(ACM_OPEN, 0, 0)); }
  BOOL Seek(UINT nTo) { return Play(nTo, nTo, 1); }
};

// ---- Tool tips -----------------------------------------------------------------------------------
class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
 public:
  CToolTipCtrl() = default;
  // A pop-up tool-tip window owned by pParentWnd.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
  // A tool for pWnd: the whole window (nIDTool 0) or the rectangle lpRectTool with id nIDTool.
  // lpszText LPSTR_TEXTCALLBACK asks the parent with TTN_NEEDTEXT.
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
  BOOL GetToolInfo(TOOLINFO& toolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFO lpToolInfo) {
    SendMessage(TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(lpToolInfo));
  }
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
  int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
  int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
  void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
  void SetDelayTime(DWORD dwDuration, int iTime) {
    SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
  }
  int GetDelayTime(DWORD dwDuration) const {
    return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration));
  }
  void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
  void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
  void Pop() { SendMessage(TTM_POP); }
  void Update() { SendMessage(TTM_UPDATE); }

 private:
  void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

// ---- Tabs ----------------------------------------------------------------------------------------
class CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)
 public:
  CTabCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  LONG InsertItem(int nItem, TCITEM* pTabCtrlItem) {
    return static_cast<LONG>(SendMessage(TCM_INSERTITEM, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
  }
  LONG InsertItem(int nItem, LPCTSTR lpszItem);
  LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, nItem)); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
  BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const {
    return static_cast<BOOL>(SendMessage(TCM_GETITEM, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
  }
  BOOL SetItem(int nItem, TCITEM* pTabCtrlItem) {
    return static_cast<BOOL>(SendMessage(TCM_SETITEM, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
  }
  int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
  BOOL GetItemRect(int nItem, LPRECT lpRect) const {
    return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(lpRect)));
  }
  int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
  int SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, nItem)); }
  int GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
  void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, nItem); }
  // bLarger: from a display rectangle to the window rectangle, else the other way.
  void AdjustRect(BOOL bLarger, LPRECT lpRect) {
    SendMessage(TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect));
  }
  int HitTest(TCHITTESTINFO* pHitTestInfo) const {
    return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
  }
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;
  CSize SetItemSize(CSize size) {
    return CSize(static_cast<DWORD>(SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy))));
  }
  int GetRowCount() const { return static_cast<int>(SendMessage(TCM_GETROWCOUNT)); }
};

// ---- Spin button ---------------------------------------------------------------------------------
class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  CSpinButtonCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
  void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, nLower, nUpper); }
  void GetRange32(int& nLower, int& nUpper) const {
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
  }
  int SetPos(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
  int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
  CWnd* SetBuddy(CWnd* pWndBuddy);
  CWnd* GetBuddy() const;
  int SetBase(int nBase) { return static_cast<int>(SendMessage(UDM_SETBASE, nBase)); }
  BOOL SetAccel(int nAccel, UDACCEL* pAccel) {
    return static_cast<BOOL>(SendMessage(UDM_SETACCEL, nAccel, reinterpret_cast<LPARAM>(pAccel)));
  }
};

// ---- Status bar ----------------------------------------------------------------------------------
class CStatusBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CStatusBarCtrl)
 public:
  CStatusBarCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL SetParts(int nParts, int* pWidths) {
    return static_cast<BOOL>(SendMessage(SB_SETPARTS, nParts, reinterpret_cast<LPARAM>(pWidths)));
  }
  int GetParts(int nParts, int* pParts) const {
    return static_cast<int>(SendMessage(SB_GETPARTS, nParts, reinterpret_cast<LPARAM>(pParts)));
  }
  BOOL SetText(LPCTSTR lpszText, int nPane, int nType) {
    return static_cast<BOOL>(SendMessage(SB_SETTEXT, nPane | nType, reinterpret_cast<LPARAM>(lpszText)));
  }
  CString GetText(int nPane, int* pType = nullptr) const;
  int GetTextLength(int nPane, int* pType = nullptr) const;
  BOOL GetRect(int nPane, LPRECT lpRect) const {
    return static_cast<BOOL>(SendMessage(SB_GETRECT, nPane, reinterpret_cast<LPARAM>(lpRect)));
  }
  void SetSimple(BOOL bSimple = TRUE) { SendMessage(SB_SIMPLE, bSimple); }
  BOOL IsSimple() const { return static_cast<BOOL>(SendMessage(SB_ISSIMPLE)); }
  void SetMinHeight(int nMin) { SendMessage(SB_SETMINHEIGHT, nMin); }
  BOOL SetIcon(int nPane, HICON hIcon) {
    return static_cast<BOOL>(SendMessage(SB_SETICON, nPane, reinterpret_cast<LPARAM>(hIcon)));
  }
  BOOL GetBorders(int* pBorders) const {
    return static_cast<BOOL>(SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(pBorders)));
  }
};

// ---- Toolbar -------------------------------------------------------------------------------------
class CToolBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolBarCtrl)
 public:
  CToolBarCtrl() = default;
  // Sets the button structure size the control needs before any button is added.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetButtonStructSize(int nSize) { SendMessage(TB_BUTTONSTRUCTSIZE, nSize); }
  BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons) {
    return static_cast<BOOL>(SendMessage(TB_ADDBUTTONS, nNumButtons, reinterpret_cast<LPARAM>(lpButtons)));
  }
  BOOL InsertButton(int nIndex, LPTBBUTTON lpButton) {
    return static_cast<BOOL>(SendMessage(TB_INSERTBUTTON, nIndex, reinterpret_cast<LPARAM>(lpButton)));
  }
  BOOL DeleteButton(int nIndex) { return static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, nIndex)); }
  int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
  BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const {
    return static_cast<BOOL>(SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(lpButton)));
  }
  int GetButtonInfo(UINT nID, TBBUTTONINFO* ptbbi) const {
    return static_cast<int>(SendMessage(TB_GETBUTTONINFO, nID, reinterpret_cast<LPARAM>(ptbbi)));
  }
  BOOL SetButtonInfo(UINT nID, TBBUTTONINFO* ptbbi) {
    return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFO, nID, reinterpret_cast<LPARAM>(ptbbi)));
  }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return static_cast<BOOL>(SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect)));
  }
  BOOL GetRect(UINT nID, LPRECT lpRect) const {
    return static_cast<BOOL>(SendMessage(TB_GETRECT, nID, reinterpret_cast<LPARAM>(lpRect)));
  }
  UINT CommandToIndex(UINT nID) const { return static_cast<UINT>(SendMessage(TB_COMMANDTOINDEX, nID)); }
  BOOL EnableButton(int nID, BOOL bEnable = TRUE) {
    return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, nID, MAKELPARAM(bEnable, 0)));
  }
  BOOL CheckButton(int nID, BOOL bCheck = TRUE) {
    return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, nID, MAKELPARAM(bCheck, 0)));
  }
  BOOL PressButton(int nID, BOOL bPress = TRUE) {
    return static_cast<BOOL>(SendMessage(TB_PRESSBUTTON, nID, MAKELPARAM(bPress, 0)));
  }
  BOOL HideButton(int nID, BOOL bHide = TRUE) {
    return static_cast<BOOL>(SendMessage(TB_HIDEBUTTON, nID, MAKELPARAM(bHide, 0)));
  }
  BOOL IsButtonEnabled(int nID) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, nID)); }
  BOOL IsButtonChecked(int nID) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONCHECKED, nID)); }
  int GetState(int nID) const { return static_cast<int>(SendMessage(TB_GETSTATE, nID)); }
  BOOL SetState(int nID, UINT nState) {
    return static_cast<BOOL>(SendMessage(TB_SETSTATE, nID, MAKELPARAM(nState, 0)));
  }
  BOOL SetButtonSize(CSize size) {
    return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)));
  }
  BOOL SetBitmapSize(CSize size) {
    return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)));
  }
  void AutoSize() { SendMessage(TB_AUTOSIZE); }
  DWORD SetExtendedStyle(DWORD dwExStyle) {
    return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, dwExStyle));
  }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE)); }
  int HitTest(LPPOINT ppt) const {
    return static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(ppt)));
  }
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;
  CImageList* SetDisabledImageList(CImageList* pImageList);
  CImageList* SetHotImageList(CImageList* pImageList);
};

// ---- Rebar ---------------------------------------------------------------------------------------
class CReBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CReBarCtrl)
 public:
  CReBarCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }
  BOOL GetBandInfo(UINT uBand, REBARBANDINFO* prbbi) const {
    return static_cast<BOOL>(SendMessage(RB_GETBANDINFO, uBand, reinterpret_cast<LPARAM>(prbbi)));
  }
  BOOL SetBandInfo(UINT uBand, REBARBANDINFO* prbbi) {
    return static_cast<BOOL>(SendMessage(RB_SETBANDINFO, uBand, reinterpret_cast<LPARAM>(prbbi)));
  }
  BOOL InsertBand(UINT uIndex, REBARBANDINFO* prbbi) {
    return static_cast<BOOL>(SendMessage(RB_INSERTBAND, uIndex, reinterpret_cast<LPARAM>(prbbi)));
  }
  BOOL DeleteBand(UINT uBand) { return static_cast<BOOL>(SendMessage(RB_DELETEBAND, uBand)); }
  UINT GetBarHeight() const { return static_cast<UINT>(SendMessage(RB_GETBARHEIGHT)); }
  UINT GetRowCount() const { return static_cast<UINT>(SendMessage(RB_GETROWCOUNT)); }
  BOOL GetRect(UINT uBand, LPRECT prc) const {
    return static_cast<BOOL>(SendMessage(RB_GETRECT, uBand, reinterpret_cast<LPARAM>(prc)));
  }
  BOOL SetBarInfo(REBARINFO* prbi) {
    return static_cast<BOOL>(SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(prbi)));
  }
  void MinimizeBand(UINT uBand) { SendMessage(RB_MINIMIZEBAND, uBand); }
  void MaximizeBand(UINT uBand) { SendMessage(RB_MAXIMIZEBAND, uBand); }
  BOOL ShowBand(UINT uBand, BOOL fShow = TRUE) {
    return static_cast<BOOL>(SendMessage(RB_SHOWBAND, uBand, fShow));
  }
  int IDToIndex(UINT uBandID) const { return static_cast<int>(SendMessage(RB_IDTOINDEX, uBandID)); }
};

// ---- Rich edit -----------------------------------------------------------------------------------
// The rich edit control of the system library (AfxInitRichEdit loads it).
class CRichEditCtrl : public CWnd {
  DECLARE_DYNAMIC(CRichEditCtrl)
 public:
  CRichEditCtrl() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void SetSel(long nStartChar, long nEndChar);
  void SetSel(CHARRANGE& cr) { SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }
  void GetSel(long& nStartChar, long& nEndChar) const;
  void GetSel(CHARRANGE& cr) const { SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }
  CString GetSelText() const;
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
    SendMessage(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText));
  }
  long GetTextLength() const { return static_cast<long>(::GetWindowTextLength(m_hWnd)); }
  void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }
  DWORD SetEventMask(DWORD dwEventMask) {
    return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, dwEventMask));
  }
  DWORD GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
  COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr) {
    return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, bSysColor, cr));
  }
  BOOL SetDefaultCharFormat(CHARFORMAT& cf) {
    cf.cbSize = sizeof(cf);
    return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
  }
  BOOL SetSelectionCharFormat(CHARFORMAT& cf) {
    cf.cbSize = sizeof(cf);
    return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
  }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) {
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, bReadOnly));
  }
  int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
  void LineScroll(int nLines, int nChars = 0) { SendMessage(EM_LINESCROLL, nChars, nLines); }
  long StreamIn(int nFormat, EDITSTREAM& es) {
    return static_cast<long>(SendMessage(EM_STREAMIN, nFormat, reinterpret_cast<LPARAM>(&es)));
  }
  long StreamOut(int nFormat, EDITSTREAM& es) {
    return static_cast<long>(SendMessage(EM_STREAMOUT, nFormat, reinterpret_cast<LPARAM>(&es)));
  }
  BOOL CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
  BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }
  void Clear() { SendMessage(WM_CLEAR); }
};
