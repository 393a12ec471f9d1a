// One command icon at one width: its normal, hot, checked and disabled pictures and the faded,
// shadow and grey pictures generated from them on demand; drawn and stored by the image manager.
#pragma once

#include <afxwin.h>

#include "IconHandle.h"

class CXTPImageManager;
class CXTPImageManagerIconSet;

// Icon states passed to the image manager's add operations.
enum XTPImageState {
  xtpImageNormal = 0,
  xtpImageDisabled = 1,
  xtpImageHot = 2,
  xtpImageChecked = 3,
};

// Reference counted (the creator holds one reference; InternalRelease to 0 deletes it). An icon in a
// set belongs to that set; a free icon (a button's) has no set and draws with the global manager's
// settings. User-interface thread only.
class CXTPImageManagerIcon : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPImageManagerIcon)

 public:
  CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight, CXTPImageManagerIconSet* pIconSet = nullptr);
  ~CXTPImageManagerIcon() override;

  UINT GetID() const { return m_nID; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  CSize GetExtent() const { return CSize(m_nWidth, m_nHeight); }
  BOOL IsScaled() const { return m_bScaled; }
  // The normal picture is a 32-bit alpha bitmap.
  BOOL IsAlpha() const { return m_hIcon.IsAlpha(); }
  CXTPImageManagerIconSet* GetIconSet() const { return m_pIconSet; }
  // The set's manager, else the global one.
  CXTPImageManager* GetImageManager() const;

  // Clears all seven forms and keeps an owned copy of hIcon as the normal form; width and height
  // come from the picture, the scaled flag is cleared and the owning set drops its scaled copies.
  void SetIcon(const CXTPIconHandle& hIcon);
  // The same with the size given (a picture of a different extent is drawn scaled to it).
  void SetIcon(const CXTPIconHandle& hIcon, int nWidth, int nHeight);
  // Each keeps an owned copy and drops the generated forms.
  void SetHotIcon(const CXTPIconHandle& hIcon);
  void SetCheckedIcon(const CXTPIconHandle& hIcon);
  void SetDisabledIcon(const CXTPIconHandle& hIcon);

  CXTPIconHandle& GetIcon() { return m_hIcon; }
  // The hot form, else the normal one.
  CXTPIconHandle& GetHotIcon();
  // The checked form, else GetHotIcon.
  CXTPIconHandle& GetCheckedIcon();
  // The disabled form, else the generated one (made now with the grey rule when bCreate).
  CXTPIconHandle& GetDisabledIcon(BOOL bCreate = TRUE);
  BOOL HasDisabledIcon() const { return !m_hDisabled.IsEmpty(); }
  // Made on first request from the normal form (faded) and from GetHotIcon (shadow).
  CXTPIconHandle& GetFadedIcon();
  CXTPIconHandle& GetShadowIcon();
  // Makes the generated disabled form now: each pixel's luminance L blends dark to light, or with
  // either colour -1, becomes the grey sqrt(L) x 255.
  void CreateDisabledIcon(COLORREF clrDisabledLight = static_cast<COLORREF>(-1),
                          COLORREF clrDisabledDark = static_cast<COLORREF>(-1));
  // Drops the generated forms (faded, shadow, generated disabled) so that they are made anew.
  void Refresh();

  // Draws the normal form at its own size.
  void Draw(CDC* pDC, CPoint pt);
  // Draws a form at szIcon; a width of 0 takes the icon's, a height of 0 keeps the icon's proportions.
  void Draw(CDC* pDC, CPoint pt, CXTPIconHandle& hIcon, CSize szIcon = CSize(0, 0));
  // The form's silhouette in one colour; an alpha form draws nothing.
  void DrawMonochrome(CDC* pDC, CPoint pt, CXTPIconHandle& hIcon, COLORREF clrBrush);

  // The archive form: height, format version, then the normal, disabled, hot and checked forms as
  // pairs of bitmap records. Loading validates every length and size; damaged data raises
  // CArchiveException* and leaves the icon as it was.
  void Serialize(CArchive& ar) override;

  // The format version written by Serialize.
  static const int nIconFormatVersion = 16;

 protected:
  friend class CXTPImageManagerIconSet;
  void SetScaled(BOOL bScaled) { m_bScaled = bScaled; }
  void SetIconSet(CXTPImageManagerIconSet* pIconSet) { m_pIconSet = pIconSet; }
  void ClearAll();
  // The forms drawn or generated ask whether the manager mirrors its icons.
  BOOL IsDrawnRightToLeft() const;

  UINT m_nID;
  int m_nWidth;
  int m_nHeight;
  CXTPIconHandle m_hIcon;
  CXTPIconHandle m_hFaded;
  CXTPIconHandle m_hShadow;
  CXTPIconHandle m_hHot;
  CXTPIconHandle m_hChecked;
  CXTPIconHandle m_hDisabled;
  CXTPIconHandle m_hDisabledAuto;
  BOOL m_bScaled = FALSE;
  CXTPImageManagerIconSet* m_pIconSet;
};
