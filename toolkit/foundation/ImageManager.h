// The image manager: the icons of commands by command id and width. Toolbars, menus, buttons and
// tabs draw command images only through it; icons come from toolbar bitmaps, icon resources, image
// lists, the clipboard and the stored command-bar state.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxole.h>

#include "ImageManagerIconSet.h"

class CXTPPropExchange;

// Reference counted (the creator holds one reference). One global manager (XTPImageManager) lives
// from first use to exit; bars, tab windows and the customize sheet may hold managers of their own.
// User-interface thread only. Loads report FALSE and leave the icons as they were.
class CXTPImageManager : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPImageManager)

 public:
  // Command id -> icon set; bucket = id / 16 modulo 17.
  typedef CMap<UINT, UINT, CXTPImageManagerIconSet*, CXTPImageManagerIconSet*> CIconSetsMap;

  CXTPImageManager();
  ~CXTPImageManager() override;

  // ---- Adding icons ----
  // An icon resource for one command: every image of the icon group whose size is (cx, cy) (every
  // image when both are 0), else the single icon resource at (cx, cy). FALSE at the first image
  // that cannot be loaded.
  BOOL SetIcons(UINT nIDResourceIcon, UINT nIDCommand, int cx, int cy,
                XTPImageState imageState = xtpImageNormal);
  // A bitmap strip for a list of commands: SetIconsFromBitmap.
  BOOL SetIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                XTPImageState imageState = xtpImageNormal);
  // A toolbar resource (type 241) and its bitmap: the non-zero ids in order, each image sized by
  // the bitmap (width / count).
  BOOL SetIconsFromToolBar(UINT nIDResourceToolBar, UINT nIDResourceBitmap,
                           XTPImageState imageState = xtpImageNormal);
  BOOL SetIconsFromToolBar(UINT nIDResourceToolBar, XTPImageState imageState = xtpImageNormal) {
    return SetIconsFromToolBar(nIDResourceToolBar, nIDResourceToolBar, imageState);
  }
  // A bitmap resource (an alpha bitmap when it is 32 bits per pixel): size 0 x 0 means the
  // bitmap's height and its width / nCount. Without ids the images get the ids 0 .. n - 1.
  BOOL SetIconsFromBitmap(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                          XTPImageState imageState = xtpImageNormal);
  // A strip bitmap (the caller keeps it). Ordinary bitmaps go through a 24-bit masked image list
  // whose mask colour is the top-left pixel; alpha strips are split into width-wide images. When
  // nCount equals the number of images, entry j takes image j; otherwise separators (id 0) take no
  // image. Ids never run past the images the strip holds.
  BOOL AddIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                          XTPImageState imageState, BOOL bAlpha);
  // nCount 0 without ids means every image; size 0 x 0 the size of image 0. Each icon is stored as
  // a copy. FALSE when an icon cannot be taken.
  BOOL AddIconsFromImageList(CImageList* pImageList, const UINT* pCommands, int nCount, CSize szIcon,
                             XTPImageState imageState = xtpImageNormal);
  // One picture for one command in a state (an owned copy is kept).
  void SetIcon(const CXTPIconHandle& hIcon, UINT nIDCommand, CSize szIcon = CSize(0, 0),
               XTPImageState imageState = xtpImageNormal);
  // Stores the picture under a new id (the custom-id counter + 1) and returns the id; 0 for no picture.
  UINT AddCustomIcon(const CXTPIconHandle& hIcon);

  // ---- Finding and drawing ----
  // The icon of the command at that width (scaled copies allowed); none without a set.
  CXTPImageManagerIcon* GetImage(UINT nCommand, int nWidth = 16) const;
  CXTPImageManagerIconSet* GetIconSet(UINT nCommand) const;
  // The set, added empty when missing.
  CXTPImageManagerIconSet* FindIconSet(UINT nCommand);
  CIconSetsMap* GetImages() { return &m_mapImages; }
  BOOL IsEmpty() const { return m_mapImages.IsEmpty(); }
  void RemoveIcon(UINT nCommand);
  void RemoveAll();
  // Drops every scaled copy and generated form; after colour or theme changes.
  void RefreshAll();

  // Mask colour of ordinary strips; -1 (unset) takes each strip's top-left pixel.
  COLORREF GetMaskColor() const { return m_clrMask; }
  // Icons drawn mirrored for right-to-left layouts.
  BOOL IsDrawReverted() const { return m_bDrawReverted; }
  void DrawReverted(BOOL bDrawReverted) { m_bDrawReverted = bDrawReverted; }
  // Whether msimg32's AlphaBlend is bound: without it alpha pictures are neither loaded from icons
  // nor drawn.
  BOOL IsAlphaIconsSupported() const { return m_pfnAlphaBlend != nullptr; }
  // Source-over, constant alpha 255, per-pixel alpha of a premultiplied 32-bit bitmap; FALSE (and
  // nothing drawn) without AlphaBlend.
  BOOL DrawAlphaBitmap(CDC* pDC, HBITMAP hBitmap, CPoint ptDest, CSize szDest, CPoint ptSrc = CPoint(0, 0),
                       CSize szSrc = CSize(0, 0)) const;

  // ---- Storage ----
  // "IconSet" items, each with "ID" and the set's exchange. Loading reads into new sets and swaps
  // them in only when everything was read; damaged data raises CArchiveException* and leaves the
  // icons as they were.
  void DoPropExchange(CXTPPropExchange* pPX);
  void Serialize(CArchive& ar) override;
  // One command's set: "CheckSum" "CXTPImageManagerIcons", then "Icon" items with "Width" and
  // "Data". A wrong check sum raises CArchiveException* (badClass); a damaged item raises it too;
  // either way the set is left as it was.
  void ExchangeIconSet(UINT nCommand, CXTPPropExchange* pPX);

  // ---- Clipboard ----
  // Puts the command's set on the clipboard as "Dizedo ToolBar Image". The caller has the clipboard
  // open (and emptied); FALSE when the id has no set or the data could not be made.
  BOOL CopyIconToClipboard(UINT nCommand);
  // Reads a "Dizedo ToolBar Image" offered by the data object into a new set under a new custom id;
  // the id, or 0 when the format is missing or the data is damaged.
  UINT PasteIconFromClipboard(COleDataObject* pData);
  static CLIPFORMAT PASCAL GetImageClipboardFormat();
  static CLIPFORMAT PASCAL GetAlphaBitmapClipboardFormat();

  // ---- Loading pictures ----
  // An icon resource (a group or a single image) at (cx, cy): a 32-bit image becomes an alpha bitmap
  // when AlphaBlend is bound, anything else an icon. FALSE when it cannot be loaded.
  BOOL LoadIconResource(UINT nIDResource, int cx, int cy, CXTPIconHandle& hIcon) const;
  // A 32-bit bitmap resource whose data covers its pixels, as a new top-down DIB section; else NULL.
  static HBITMAP PASCAL LoadAlphaBitmap(UINT nIDResource);
  static BOOL PASCAL IsAlphaBitmapResource(UINT nIDResource);
  // A bitmap file whose information header says 32 bits per pixel, as a DIB section; else NULL.
  static HBITMAP PASCAL LoadAlphaBitmapFile(LPCTSTR lpszFileName);
  // The first 32-bit image of an icon file of width cx (any width when 0), as a DIB section; else NULL.
  static HBITMAP PASCAL LoadAlphaIconFile(LPCTSTR lpszFileName, int cx);
  // comctl32's major version is above 5.
  static BOOL PASCAL IsComCtl6OrLater();

  // The first custom id is this + 1.
  static const UINT nFirstCustomID = 68266;

 protected:
  // A picture of an icon resource image (icon header and pixels, as RT_ICON holds it).
  BOOL LoadIconImage(const BYTE* pData, DWORD cbData, int cx, int cy, CXTPIconHandle& hIcon) const;
  // Loads one set's icons into pSet (empty); raises CArchiveException* on damaged data.
  void LoadIconSet(CXTPImageManagerIconSet* pSet, CXTPPropExchange* pPX);
  void StoreIconSet(CXTPImageManagerIconSet* pSet, CXTPPropExchange* pPX);
  void ReplaceAll(CIconSetsMap& mapImages);
  // Releases every set of the map and empties it.
  static void PASCAL ReleaseIconSets(CIconSetsMap& mapImages);

  typedef BOOL(WINAPI* PFNALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

  CIconSetsMap m_mapImages;
  COLORREF m_clrMask = static_cast<COLORREF>(-1);
  UINT m_nCustomID = nFirstCustomID;
  HMODULE m_hMsImg32 = nullptr;
  PFNALPHABLEND m_pfnAlphaBlend = nullptr;
  BOOL m_bDrawReverted = FALSE;
};

// The global manager, made on first use and destroyed at exit; every icon without a set's manager
// draws with it.
CXTPImageManager* AFXAPI XTPImageManager();
