// One tab of a tab strip: its caption, page window, icon, colour and the rectangle the last layout
// gave it. Items belong to a CXTPTabManager; they are shared by reference count.
#pragma once

#include <afxwin.h>

class CXTPTabManager;

// Automatic item colours: 0x01000000 + n (n = 0..7) stands for the n-th colour of the automatic
// table; CXTPTabManager::GetItemColor turns it into RGB.
#define xtpTabColorAutomatic 0x01000000

// Made by CXTPTabManager::InsertItem (or by a caller who hands it over there); released with
// InternalRelease, never deleted directly. User-interface thread only.
class CXTPTabManagerItem : public CCmdTarget {
  DECLARE_DYNCREATE(CXTPTabManagerItem)

 public:
  CXTPTabManagerItem();
  ~CXTPTabManagerItem() override;

  // Stores the text and re-lays out the manager, only when it differs.
  void SetCaption(LPCTSTR lpszCaption);
  // The manager's GetItemCaption (a host may translate captions).
  CString GetCaption() const;
  void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
  CString GetTooltip() const;

  // The manager's GetItemColor: the automatic colours become RGB.
  COLORREF GetColor() const;
  void SetColor(COLORREF clr) { m_clrItem = clr; }

  // Shows or hides the tab header (not the page); re-lays out only on a change. A hidden item takes
  // no room, is not drawn, not hit and skipped by the keys.
  void SetStateFlag(BOOL bVisible);
  BOOL IsVisible() const { return m_bVisible; }
  void SetEnabled(BOOL bEnabled);
  BOOL IsEnabled() const { return m_bEnabled; }

  // The page window shown while this item is selected (tab window only).
  void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
  HWND GetHandle() const { return m_hWnd; }
  // Index in the host's image manager, -1 for none.
  void SetImageIndex(int nImage) { m_nImage = nImage; }
  int GetImageIndex() const { return m_nImage; }
  void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
  DWORD_PTR GetData() const;
  void SetClosable(BOOL bClosable) { m_bClosable = bClosable; }
  BOOL IsClosable() const { return m_bClosable; }

  // = the manager's DeleteItem(GetIndex()); the item may be gone afterwards.
  void Remove();

  int GetIndex() const { return m_nIndex; }
  CRect GetRect() const { return m_rcItem; }
  int GetLength() const { return m_nLength; }
  int GetIdealLength() const { return m_nIdealLength; }
  int GetItemRow() const { return m_nItemRow; }
  CXTPTabManager* GetTabManager() const { return m_pTabManager; }
  BOOL IsSelected() const;
  BOOL IsHighlighted() const;

 protected:
  void Reposition();

  int m_nLength = 0;       // extent along the strip, written by the layout
  int m_nIdealLength = 0;  // extent the content needs, kept beside a shrunk length
  int m_nImage = -1;
  int m_nIndex = -1;
  BOOL m_bEnabled = TRUE;
  BOOL m_bVisible = TRUE;
  HWND m_hWnd = nullptr;
  DWORD_PTR m_dwData = 0;
  CRect m_rcItem;
  CString m_strCaption;
  CString m_strToolTip;
  COLORREF m_clrItem = 0;
  CXTPTabManager* m_pTabManager = nullptr;
  int m_nItemRow = 0;
  BOOL m_bClosable = TRUE;

  friend class CXTPTabManager;
  friend class CXTPTabPainter;
  friend class CXTPTabShapeSet;
};
