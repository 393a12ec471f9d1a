// CXTPControls: the ordered list of controls a command bar shows. It makes controls by type, imports
// them from a Windows menu, finds, removes and copies them, keeps the set a built-in bar started with
// (the original set), answers keyboard-navigation and hit-test questions and lays the controls out in
// rows or columns. User-interface thread only.
#pragma once

#include "Control.h"

// Popup chains deeper than this are treated as broken: walks through sub-bars stop there, so a stored
// state whose popups refer to each other cannot make them run without end.
#define XTP_MAX_POPUP_DEPTH 32

// Reference counted; a bar owns one, a collection may also stand alone (original sets, copies).
// Invariant after every change: the control at position i has Index i, Controls this collection and
// Parent this collection's parent bar; the parent bar is then marked for layout.
class CXTPControls : public CCmdTarget {
  DECLARE_DYNCREATE(CXTPControls)

 public:
  CXTPControls();
  ~CXTPControls() override;

  // Makes a control of that type (see the class table in the .cpp), runs SetID(nId) on it (not for
  // plain popups), stores the parameter and the temporary flag and inserts it before nBefore (below 0
  // or past the end appends). The collection holds the new control's only reference.
  CXTPControl* Add(XTPControlType controlType, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                   BOOL bTemporary = FALSE);
  // Takes over the caller's reference to pControl.
  CXTPControl* AddControl(CXTPControl* pControl, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                          BOOL bTemporary = FALSE);
  CXTPControl* AddClone(CXTPControl* pControl, int nBefore = -1, BOOL bRecursive = FALSE);
  // One control from item nIndex of a Windows menu; NULL when the item gives none.
  CXTPControl* ImportMenuItem(CMenu* pMenu, int nIndex);

  void Remove(CXTPControl* pControl);
  void RemoveAt(int nIndex);
  void RemoveAll();

  int GetCount() const { return static_cast<int>(m_arrControls.GetSize()); }
  CXTPControl* GetAt(int nIndex) const;
  CXTPControl* GetFirst() const { return GetAt(0); }
  CXTPControl* GetNext(CXTPControl* pControl) const;

  CXTPControl* FindControl(int nId) const { return FindControl(xtpControlError, nId, FALSE, FALSE); }
  // The first control whose type is controlType (xtpControlError: any), visible when bVisible, with
  // id nId (-1: any); with bRecursive the sub-bars of popups that do not match are searched too.
  CXTPControl* FindControl(XTPControlType controlType, int nId, BOOL bVisible, BOOL bRecursive) const;
  CXTPControl* HitTest(CPoint point) const;
  // Controls whose hide flags are 0 (bStrict) or have no bit other than xtpHideWrap.
  int GetVisibleCount(BOOL bStrict = TRUE) const;
  // The next control in nDirection (+1 or -1) that keyboard navigation may stop at; -1 when none.
  int GetNextNavigable(int nIndex, int nDirection, BOOL bSkipFlagged = TRUE, BOOL bSkipTemporary = FALSE,
                       BOOL bStrictHide = FALSE) const;

  void SetParent(CXTPCommandBar* pParent);
  CXTPCommandBar* GetParent() const { return m_pParent; }
  // The parent bar's manager, else the one set here.
  CXTPCommandBars* GetCommandBars() const;
  void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }

  // A new collection with a clone of every control that is not temporary (and a duplicate of the
  // original set); the caller holds its reference.
  CXTPControls* Duplicate(BOOL bRecursive = FALSE) const;
  // The original set becomes a duplicate of the current controls.
  void SnapshotOriginal();
  CXTPControls* GetOriginalControls() const { return m_pOriginalControls; }
  // Takes over the caller's reference; NULL drops the set.
  void SetOriginalControls(CXTPControls* pControls);
  BOOL IsSameAs(const CXTPControls* pOther, int nDepth = 0) const;
  BOOL IsChangedFromOriginal() const;

  // Sizes (and with LM_COMMIT places) the controls; see the .cpp for the mode bits.
  CSize Layout(CDC* pDC, int nLength, DWORD dwMode, CRect rcBorders, int nMinLength = 0);

  void DoPropExchange(CXTPPropExchange* pPX);
  void RefreshIndexes();

  // Moves a control from one position to another; used by customize drops.
  void MoveBefore(CXTPControl* pControl, int nBefore);
  // Detaches the control array from this collection and gives it to another (the menu bar swaps
  // document menus this way). Both collections keep their own parent.
  void SwapControls(CXTPControls* pOther);

 private:
  struct LayoutItem;
  CXTPControl* InsertAt(CXTPControl* pControl, int nBefore);
  int WrapRows(LayoutItem* pItems, int nCount, int nWidth, DWORD dwMode) const;
  CSize PlaceRows(LayoutItem* pItems, int nCount, DWORD dwMode, CSize szGaps) const;
  CSize WrapAndPlace(LayoutItem* pItems, int nCount, int nWidth, DWORD dwMode, CSize szGaps,
                     int* pnRows) const;
  void AlignAndStretch(LayoutItem* pItems, int nCount, DWORD dwMode, int nLength, CRect rcBorders) const;

  CXTPCommandBar* m_pParent = nullptr;
  CArray<CXTPControl*, CXTPControl*> m_arrControls;
  CXTPCommandBars* m_pCommandBars = nullptr;
  CXTPControls* m_pOriginalControls = nullptr;
};

// Makes a control of a class that may come later: a registered class of that name derived from
// CXTPControl, else a plain button. Used by the type table, the menu import and the stored state.
CXTPControl* AFXAPI XTPCreateControlOfClass(LPCSTR lpszClassName);
