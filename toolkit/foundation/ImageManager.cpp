// The image manager: icon sets by command id, loading from strips, toolbars and image lists, and
// drawing alpha pictures.
#include "ImageManager.h"

#include <memory>
#include <vector>

#include "ImagePixels.h"
#include "ResourceSource.h"
#include "SystemQueries.h"

IMPLEMENT_DYNAMIC(CXTPImageManager, CCmdTarget)

namespace {

// Which image of a strip each command takes. Without ids the images get ids 0 .. n - 1. With as
// many ids as images, entry j takes image j; otherwise separators (id 0) take no image. Separators
// never get an icon. FALSE when the ids need more images than the strip holds.
struct StripEntry {
  UINT nCommand;
  int nImage;
};

BOOL MapStrip(const UINT* pCommands, int nCount, int nImages, std::vector<StripEntry>& entries) {
  entries.clear();
  if (nImages <= 0) return FALSE;
  if (pCommands == nullptr) {
    const int nTaken = nCount > 0 && nCount < nImages ? nCount : nImages;
    for (int j = 0; j < nTaken; ++j) entries.push_back({static_cast<UINT>(j), j});
    return TRUE;
  }
  if (nCount == nImages) {
    for (int j = 0; j < nCount; ++j) {
      if (pCommands[j] != 0) entries.push_back({pCommands[j], j});
    }
    return TRUE;
  }
  int nImage = 0;
  for (int j = 0; j < nCount; ++j) {
    if (pCommands[j] == 0) continue;
    if (nImage >= nImages) return FALSE;
    entries.push_back({pCommands[j], nImage++});
  }
  return TRUE;
}

// The colour of a bitmap's top-left pixel.
COLORREF TopLeftColor(HBITMAP hBitmap) {
  XTPImagePixels pixels;
  if (!ReadImagePixels(hBitmap, pixels) || pixels.bits.size() < 4) return RGB(192, 192, 192);
  return RGB(pixels.bits[2], pixels.bits[1], pixels.bits[0]);
}

struct ClipboardFormats {
  CLIPFORMAT cfImage;
  CLIPFORMAT cfAlphaBitmap;
  ClipboardFormats()
      : cfImage(static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Dizedo ToolBar Image"))),
        cfAlphaBitmap(static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Alpha Bitmap Image"))) {}
};

// Registered when the program starts.
const ClipboardFormats g_clipboardFormats;

}  // namespace

CXTPImageManager::CXTPImageManager() {
  m_hMsImg32 = ::LoadLibraryW(L"msimg32.dll");
  if (m_hMsImg32 != nullptr)
    m_pfnAlphaBlend =
        reinterpret_cast<PFNALPHABLEND>(reinterpret_cast<void*>(::GetProcAddress(m_hMsImg32, "AlphaBlend")));
}

CXTPImageManager::~CXTPImageManager() {
  RemoveAll();
  if (m_hMsImg32 != nullptr) ::FreeLibrary(m_hMsImg32);
}

CLIPFORMAT PASCAL CXTPImageManager::GetImageClipboardFormat() { return g_clipboardFormats.cfImage; }

CLIPFORMAT PASCAL CXTPImageManager::GetAlphaBitmapClipboardFormat() {
  return g_clipboardFormats.cfAlphaBitmap;
}

BOOL PASCAL CXTPImageManager::IsComCtl6OrLater() {
  DWORD dwVersion = 0;
  return XTPSystemQueries()->GetComCtlVersion(&dwVersion) && HIWORD(dwVersion) > 5;
}

// ---- Sets -------------------------------------------------------------------------------------------

CXTPImageManagerIconSet* CXTPImageManager::GetIconSet(UINT nCommand) const {
  CXTPImageManagerIconSet* pIconSet = nullptr;
  return m_mapImages.Lookup(nCommand, pIconSet) ? pIconSet : nullptr;
}

CXTPImageManagerIconSet* CXTPImageManager::FindIconSet(UINT nCommand) {
  CXTPImageManagerIconSet* pIconSet = GetIconSet(nCommand);
  if (pIconSet == nullptr) {
    pIconSet = new CXTPImageManagerIconSet(nCommand, this);
    m_mapImages.SetAt(nCommand, pIconSet);
  }
  return pIconSet;
}

CXTPImageManagerIcon* CXTPImageManager::GetImage(UINT nCommand, int nWidth) const {
  CXTPImageManagerIconSet* pIconSet = GetIconSet(nCommand);
  return pIconSet != nullptr ? pIconSet->GetIcon(static_cast<UINT>(nWidth > 0 ? nWidth : 0), TRUE) : nullptr;
}

void CXTPImageManager::RemoveIcon(UINT nCommand) {
  CXTPImageManagerIconSet* pIconSet = GetIconSet(nCommand);
  if (pIconSet == nullptr) return;
  m_mapImages.RemoveKey(nCommand);
  pIconSet->InternalRelease();
}

void PASCAL CXTPImageManager::ReleaseIconSets(CIconSetsMap& mapImages) {
  POSITION pos = mapImages.GetStartPosition();
  while (pos != nullptr) {
    UINT nCommand;
    CXTPImageManagerIconSet* pIconSet;
    mapImages.GetNextAssoc(pos, nCommand, pIconSet);
    pIconSet->InternalRelease();
  }
  mapImages.RemoveAll();
}

void CXTPImageManager::RemoveAll() { ReleaseIconSets(m_mapImages); }

void CXTPImageManager::ReplaceAll(CIconSetsMap& mapImages) {
  RemoveAll();
  POSITION pos = mapImages.GetStartPosition();
  while (pos != nullptr) {
    UINT nCommand;
    CXTPImageManagerIconSet* pIconSet;
    mapImages.GetNextAssoc(pos, nCommand, pIconSet);
    m_mapImages.SetAt(nCommand, pIconSet);
  }
  mapImages.RemoveAll();
}

void CXTPImageManager::RefreshAll() {
  POSITION pos = m_mapImages.GetStartPosition();
  while (pos != nullptr) {
    UINT nCommand;
    CXTPImageManagerIconSet* pIconSet;
    m_mapImages.GetNextAssoc(pos, nCommand, pIconSet);
    pIconSet->RefreshAll();
  }
}

// ---- Adding icons -------------------------------------------------------------------------------

void CXTPImageManager::SetIcon(const CXTPIconHandle& hIcon, UINT nIDCommand, CSize szIcon,
                               XTPImageState imageState) {
  if (hIcon.IsEmpty()) return;
  const UINT nWidth = static_cast<UINT>(szIcon.cx > 0 ? szIcon.cx : hIcon.GetExtent().cx);
  FindIconSet(nIDCommand)->SetIcon(hIcon, nWidth, imageState);
}

UINT CXTPImageManager::AddCustomIcon(const CXTPIconHandle& hIcon) {
  if (hIcon.IsEmpty()) return 0;
  const UINT nID = ++m_nCustomID;
  FindIconSet(nID)->SetIcon(hIcon, static_cast<UINT>(hIcon.GetExtent().cx));
  return nID;
}

BOOL CXTPImageManager::SetIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                                XTPImageState imageState) {
  return SetIconsFromBitmap(nIDResourceBitmap, pCommands, nCount, szIcon, imageState);
}

BOOL CXTPImageManager::SetIconsFromToolBar(UINT nIDResourceToolBar, UINT nIDResourceBitmap,
                                           XTPImageState imageState) {
  XT_TOOLBARDATA toolBar;
  if (!GetToolkitResourceManager()->LoadToolBar(&toolBar, nIDResourceToolBar)) return FALSE;
  std::vector<UINT> commands;
  for (INT_PTR i = 0; i < toolBar.arrItems.GetSize(); ++i) {
    if (toolBar.arrItems[i] != 0) commands.push_back(toolBar.arrItems[i]);
  }
  if (commands.empty()) return TRUE;
  return SetIconsFromBitmap(nIDResourceBitmap, commands.data(), static_cast<int>(commands.size()),
                            CSize(0, 0), imageState);
}

BOOL CXTPImageManager::SetIconsFromBitmap(UINT nIDResourceBitmap, const UINT* pCommands, int nCount,
                                          CSize szIcon, XTPImageState imageState) {
  BOOL bAlpha = FALSE;
  HBITMAP hBitmap = LoadAlphaBitmap(nIDResourceBitmap);
  if (hBitmap != nullptr) {
    bAlpha = TRUE;
  } else {
    CBitmap bitmap;
    if (!GetToolkitResourceManager()->LoadBitmap(&bitmap, nIDResourceBitmap)) return FALSE;
    hBitmap = static_cast<HBITMAP>(bitmap.Detach());
  }
  BITMAP bm = {};
  ::GetObjectW(hBitmap, sizeof(bm), &bm);
  BOOL bResult = FALSE;
  if (szIcon.cx == 0 && szIcon.cy == 0) {
    // Each of nCount images spans an equal part of the strip; without a count the size is unknown.
    if (nCount > 0) {
      szIcon = CSize(bm.bmWidth / nCount, bm.bmHeight);
      bResult = AddIconsFromBitmap(hBitmap, pCommands, nCount, szIcon, imageState, bAlpha);
    }
  } else {
    bResult = AddIconsFromBitmap(hBitmap, pCommands, nCount, szIcon, imageState, bAlpha);
  }
  ::DeleteObject(hBitmap);
  return bResult;
}

BOOL CXTPImageManager::AddIconsFromBitmap(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                                          XTPImageState imageState, BOOL bAlpha) {
  BITMAP bm = {};
  if (szIcon.cx <= 0 || hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bm), &bm) == 0) return FALSE;
  if (szIcon.cy <= 0) szIcon.cy = bm.bmHeight;
  if (szIcon.cy <= 0) return FALSE;

  std::vector<StripEntry> entries;
  if (bAlpha) {
    if (bm.bmWidth % szIcon.cx != 0) return FALSE;
    if (!MapStrip(pCommands, nCount, bm.bmWidth / szIcon.cx, entries)) return FALSE;
    XTPImagePixels strip;
    if (!ReadImagePixels(hBitmap, strip)) return FALSE;
    const int nRows = szIcon.cy < strip.cy ? szIcon.cy : strip.cy;
    for (const StripEntry& entry : entries) {
      XTPImagePixels image;
      image.cx = szIcon.cx;
      image.cy = szIcon.cy;
      image.bits.assign(static_cast<size_t>(szIcon.cx) * szIcon.cy * 4, 0);
      for (int y = 0; y < nRows; ++y) {
        memcpy(image.Row(y), strip.Row(y) + static_cast<size_t>(entry.nImage) * szIcon.cx * 4,
               static_cast<size_t>(szIcon.cx) * 4);
      }
      HBITMAP hImage = CreateImageBitmap32(image);
      if (hImage == nullptr) return FALSE;
      CXTPIconHandle hIcon;
      hIcon.AttachBitmap(hImage);
      SetIcon(hIcon, entry.nCommand, szIcon, imageState);
    }
    return TRUE;
  }

  const COLORREF clrMask = m_clrMask != static_cast<COLORREF>(-1) ? m_clrMask : TopLeftColor(hBitmap);
  HIMAGELIST hImageList = ::ImageList_Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, 0, 1);
  if (hImageList == nullptr) return FALSE;
  // The image list blackens masked pixels of what it is given: it gets a copy.
  HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0));
  BOOL bResult = hCopy != nullptr && ::ImageList_AddMasked(hImageList, hCopy, clrMask) != -1 &&
                 MapStrip(pCommands, nCount, ::ImageList_GetImageCount(hImageList), entries);
  if (hCopy != nullptr) ::DeleteObject(hCopy);
  for (size_t i = 0; bResult && i < entries.size(); ++i) {
    HICON hIcon = ::ImageList_GetIcon(hImageList, entries[i].nImage, ILD_NORMAL);
    if (hIcon == nullptr) {
      bResult = FALSE;
      break;
    }
    CXTPIconHandle hHolder;
    hHolder.SetIcon(hIcon);
    SetIcon(hHolder, entries[i].nCommand, szIcon, imageState);
  }
  ::ImageList_Destroy(hImageList);
  return bResult;
}

BOOL CXTPImageManager::AddIconsFromImageList(CImageList* pImageList, const UINT* pCommands, int nCount,
                                             CSize szIcon, XTPImageState imageState) {
  HIMAGELIST hImageList = pImageList != nullptr ? pImageList->GetSafeHandle() : nullptr;
  if (hImageList == nullptr) return FALSE;
  const int nImages = ::ImageList_GetImageCount(hImageList);
  if (szIcon.cx == 0 && szIcon.cy == 0) {
    IMAGEINFO info = {};
    if (nImages == 0 || !::ImageList_GetImageInfo(hImageList, 0, &info)) return FALSE;
    szIcon = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
  }
  std::vector<StripEntry> entries;
  if (!MapStrip(pCommands, nCount, nImages, entries)) return FALSE;
  for (const StripEntry& entry : entries) {
    HICON hIcon = ::ImageList_GetIcon(hImageList, entry.nImage, ILD_NORMAL);
    if (hIcon == nullptr) return FALSE;
    CXTPIconHandle hHolder;
    hHolder.SetIcon(hIcon);
    SetIcon(hHolder, entry.nCommand, szIcon, imageState);
  }
  return TRUE;
}

// ---- Drawing --------------------------------------------------------------------------------------

BOOL CXTPImageManager::DrawAlphaBitmap(CDC* pDC, HBITMAP hBitmap, CPoint ptDest, CSize szDest, CPoint ptSrc,
                                       CSize szSrc) const {
  if (m_pfnAlphaBlend == nullptr || pDC == nullptr || hBitmap == nullptr) return FALSE;
  BITMAP bm = {};
  if (::GetObjectW(hBitmap, sizeof(bm), &bm) == 0) return FALSE;
  if (szSrc.cx <= 0 || szSrc.cy <= 0) szSrc = CSize(bm.bmWidth, bm.bmHeight);
  HDC hMemDC = ::CreateCompatibleDC(pDC->GetSafeHdc());
  if (hMemDC == nullptr) return FALSE;
  HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BOOL bResult = m_pfnAlphaBlend(pDC->GetSafeHdc(), ptDest.x, ptDest.y, szDest.cx, szDest.cy, hMemDC,
                                       ptSrc.x, ptSrc.y, szSrc.cx, szSrc.cy, blend);
  ::SelectObject(hMemDC, hOld);
  ::DeleteDC(hMemDC);
  return bResult;
}

// ---- The global manager ---------------------------------------------------------------------------

namespace {

struct GlobalImageManager {
  CXTPImageManager* pManager = nullptr;
  ~GlobalImageManager() {
    if (pManager != nullptr) pManager->InternalRelease();
  }
};

}  // namespace

CXTPImageManager* AFXAPI XTPImageManager() {
  static GlobalImageManager global;
  if (global.pManager == nullptr) global.pManager = new CXTPImageManager();
  return global.pManager;
}
