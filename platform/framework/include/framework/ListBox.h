// List and combo boxes: CListBox (owner-draw through reflection), CCheckListBox (a check box on
// every line) and CComboBox. Each wraps the system control of the same kind.
#pragma once

#include "framework/Wnd.h"

// CLBN_CHKCHANGE: sent to the parent (WM_COMMAND, ON_CONTROL) when a line's check changes by
// mouse or keyboard; not sent for SetCheck.
#define CLBN_CHKCHANGE 40

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  CListBox() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
  int GetHorizontalExtent() const { return static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT)); }
  void SetHorizontalExtent(int cxExtent) { SendMessage(LB_SETHORIZONTALEXTENT, cxExtent); }
  int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
  int SetTopIndex(int nIndex) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, nIndex)); }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, nIndex));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return static_cast<int>(SendMessage(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData)));
  }
  void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
  int SetItemDataPtr(int nIndex, void* pData) {
    return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
  }
  int GetItemRect(int nIndex, LPRECT lpRect) const {
    return static_cast<int>(SendMessage(LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect)));
  }
  int GetSel(int nIndex) const { return static_cast<int>(SendMessage(LB_GETSEL, nIndex)); }
  // The text of line nIndex; LB_ERR (and an empty string) when there is no such line.
  int GetText(int nIndex, LPTSTR lpszBuffer) const {
    return static_cast<int>(SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(lpszBuffer)));
  }
  void GetText(int nIndex, CString& rString) const;
  int GetTextLen(int nIndex) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, nIndex)); }
  void SetColumnWidth(int cxWidth) { SendMessage(LB_SETCOLUMNWIDTH, cxWidth); }
  BOOL SetTabStops(int nTabStops, LPINT rgTabStops) {
    return static_cast<BOOL>(SendMessage(LB_SETTABSTOPS, nTabStops, reinterpret_cast<LPARAM>(rgTabStops)));
  }
  int SetItemHeight(int nIndex, UINT cyItemHeight) {
    return static_cast<int>(SendMessage(LB_SETITEMHEIGHT, nIndex, MAKELONG(cyItemHeight, 0)));
  }
  int GetItemHeight(int nIndex) const { return static_cast<int>(SendMessage(LB_GETITEMHEIGHT, nIndex)); }
  // The nearest line to pt (client coordinates); bOutside is TRUE when pt is outside every line.
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
  int GetCaretIndex() const { return static_cast<int>(SendMessage(LB_GETCARETINDEX)); }
  int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) {
    return static_cast<int>(SendMessage(LB_SETCARETINDEX, nIndex, MAKELONG(bScroll, 0)));
  }

  // Single-selection boxes.
  int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, nSelect)); }
  // Multiple-selection boxes.
  int SetSel(int nIndex, BOOL bSelect = TRUE) {
    return static_cast<int>(SendMessage(LB_SETSEL, bSelect, nIndex));
  }
  int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
  int GetSelItems(int nMaxItems, LPINT rgIndex) const {
    return static_cast<int>(SendMessage(LB_GETSELITEMS, nMaxItems, reinterpret_cast<LPARAM>(rgIndex)));
  }
  int GetAnchorIndex() const { return static_cast<int>(SendMessage(LB_GETANCHORINDEX)); }
  void SetAnchorIndex(int nIndex) { SendMessage(LB_SETANCHORINDEX, nIndex); }
  int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);

  int AddString(LPCTSTR lpszItem) {
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
  }
  int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
  int InsertString(int nIndex, LPCTSTR lpszItem) {
    return static_cast<int>(SendMessage(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(lpszItem)));
  }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int Dir(UINT attr, LPCTSTR lpszWildCard) {
    return static_cast<int>(SendMessage(LB_DIR, attr, reinterpret_cast<LPARAM>(lpszWildCard)));
  }
  int FindString(int nStartAfter, LPCTSTR lpszItem) const {
    return static_cast<int>(SendMessage(LB_FINDSTRING, nStartAfter, reinterpret_cast<LPARAM>(lpszItem)));
  }
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, nIndexStart, reinterpret_cast<LPARAM>(lpszFind)));
  }
  int SelectString(int nStartAfter, LPCTSTR lpszItem) {
    return static_cast<int>(SendMessage(LB_SELECTSTRING, nStartAfter, reinterpret_cast<LPARAM>(lpszItem)));
  }

  // Owner-drawn boxes get these through reflection of the parent's messages.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
  virtual int VKeyToItem(UINT nKey, UINT nIndex);
  virtual int CharToItem(UINT nKey, UINT nIndex);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// An owner-drawn list box (LBS_OWNERDRAWFIXED or LBS_OWNERDRAWVARIABLE, with LBS_HASSTRINGS) that
// draws a check box in front of every line. A click on the box or the space bar toggles the
// selected line and notifies the parent with CLBN_CHKCHANGE. Item data set by the caller is kept
// apart from the check state, so GetItemData/SetItemData work as on a plain list box.
class CCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CCheckListBox)
 public:
  CCheckListBox() = default;
  ~CCheckListBox() override;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // BS_CHECKBOX (two states, the default) or BS_AUTO3STATE / BS_3STATE (three).
  void SetCheckStyle(UINT nStyle);
  UINT GetCheckStyle() const { return m_nStyle; }
  // nCheck: 0 unchecked, 1 checked, 2 indeterminate (three-state styles only).
  void SetCheck(int nIndex, int nCheck);
  int GetCheck(int nIndex) const;
  void Enable(int nIndex, BOOL bEnabled = TRUE);
  BOOL IsEnabled(int nIndex) const;
  virtual CRect OnGetCheckPosition(CRect rectItem, CRect rectCheckBox);

  // Called after the check box is drawn, with rcItem to its right and the caller's item data;
  // the default draws the line's text.
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  struct CheckData {
    int nCheck = 0;
    BOOL bEnabled = TRUE;
    DWORD_PTR dwUserData = 0;
  };
  CheckData* GetCheckData(int nIndex) const;
  CheckData* EnsureCheckData(int nIndex);
  // Gives line nIndex its caller's item data back and frees the check state (before deletion).
  void ReleaseCheckData(int nIndex);
  CRect CheckBoxRect(int nIndex, const CRect& rectItem);
  BOOL HitCheckBox(CPoint point, int* pIndex);
  void ToggleAndNotify(int nIndex);

  UINT m_nStyle = BS_CHECKBOX;
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  CComboBox() = default;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
  DWORD GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
  BOOL LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, nMaxChars)); }
  BOOL SetEditSel(int nStartChar, int nEndChar) {
    return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELONG(nStartChar, nEndChar)));
  }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, nIndex));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData)));
  }
  void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
  int SetItemDataPtr(int nIndex, void* pData) {
    return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
  }
  int GetLBText(int nIndex, LPTSTR lpszText) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(lpszText)));
  }
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, nIndex)); }
  int SetItemHeight(int nIndex, UINT cyItemHeight) {
    return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, nIndex, MAKELONG(cyItemHeight, 0)));
  }
  int GetItemHeight(int nIndex) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, nIndex)); }
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, nIndexStart, reinterpret_cast<LPARAM>(lpszFind)));
  }
  int FindString(int nStartAfter, LPCTSTR lpszString) const {
    return static_cast<int>(SendMessage(CB_FINDSTRING, nStartAfter, reinterpret_cast<LPARAM>(lpszString)));
  }
  int SelectString(int nStartAfter, LPCTSTR lpszString) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, nStartAfter, reinterpret_cast<LPARAM>(lpszString)));
  }
  int SetExtendedUI(BOOL bExtended = TRUE) {
    return static_cast<int>(SendMessage(CB_SETEXTENDEDUI, bExtended));
  }
  BOOL GetExtendedUI() const { return static_cast<BOOL>(SendMessage(CB_GETEXTENDEDUI)); }
  void GetDroppedControlRect(LPRECT lprect) const {
    SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(lprect));
  }
  BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
  int SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
  int GetDroppedWidth() const { return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH)); }
  void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
  int GetTopIndex() const { return static_cast<int>(SendMessage(CB_GETTOPINDEX)); }
  int SetTopIndex(int nIndex) { return static_cast<int>(SendMessage(CB_SETTOPINDEX, nIndex)); }

  int AddString(LPCTSTR lpszString) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
  }
  int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
  int InsertString(int nIndex, LPCTSTR lpszString) {
    return static_cast<int>(SendMessage(CB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(lpszString)));
  }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int Dir(UINT attr, LPCTSTR lpszWildCard) {
    return static_cast<int>(SendMessage(CB_DIR, attr, reinterpret_cast<LPARAM>(lpszWildCard)));
  }
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
