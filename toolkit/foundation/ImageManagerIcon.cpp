// Command icons: their forms, the generated faded, shadow and grey pictures, drawing and the archive
// form.
#include "ImageManagerIcon.h"

#include <cmath>
#include <cstring>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "ImageManager.h"
#include "ImagePixels.h"

IMPLEMENT_DYNAMIC(CXTPImageManagerIcon, CCmdTarget)

namespace {

// Luminance as a fraction of kLumaScale: 0.299 R + 0.587 G + 0.114 B over 255, exact in integers so
// that white is exactly 1.
const long long kLumaScale = 255000;

long long Luma(BYTE r, BYTE g, BYTE b) { return 299LL * r + 587LL * g + 114LL * b; }

// Faded: 0.3 x 255 + 0.7 x c, truncated.
BYTE Faded(BYTE c) { return static_cast<BYTE>((c * 7 + 765) / 10); }

// One pixel (BGRA) of the generated disabled form.
void Disable(BYTE* p, COLORREF clrLight, COLORREF clrDark) {
  const long long nLuma = Luma(p[2], p[1], p[0]);
  if (clrLight == static_cast<COLORREF>(-1) || clrDark == static_cast<COLORREF>(-1)) {
    const BYTE g = static_cast<BYTE>(std::sqrt(static_cast<double>(nLuma) / kLumaScale) * 255.0);
    p[0] = p[1] = p[2] = g;
    return;
  }
  auto blend = [nLuma](BYTE dark, BYTE light) {
    return static_cast<BYTE>(((kLumaScale - nLuma) * dark + nLuma * light) / kLumaScale);
  };
  p[2] = blend(GetRValue(clrDark), GetRValue(clrLight));
  p[1] = blend(GetGValue(clrDark), GetGValue(clrLight));
  p[0] = blend(GetBValue(clrDark), GetBValue(clrLight));
}

// Applies fn to every pixel of an alpha bitmap, or to every opaque pixel of an icon, into dest. A
// picture that cannot be changed leaves dest a plain copy of the source.
template <class Fn>
void Generate(const CXTPIconHandle& hSource, CXTPIconHandle& hDest, Fn fn) {
  hDest.Clear();
  if (hSource.IsEmpty()) return;
  if (hSource.IsAlpha()) {
    XTPImagePixels pixels;
    if (ReadImagePixels(hSource.GetBitmap(), pixels)) {
      for (size_t i = 0; i + 3 < pixels.bits.size(); i += 4) fn(&pixels.bits[i]);
      HBITMAP hBitmap = CreateImageBitmap32(pixels);
      if (hBitmap != nullptr) {
        hDest.AttachBitmap(hBitmap);
        return;
      }
    }
  } else {
    XTPIconPixels pixels;
    if (ReadIconPixels(hSource.GetIcon(), pixels)) {
      for (int y = 0; y < pixels.color.cy; ++y) {
        BYTE* pRow = pixels.color.Row(y);
        for (int x = 0; x < pixels.color.cx; ++x) {
          if (pixels.IsOpaque(x, y)) fn(pRow + x * 4);
        }
      }
      HICON hIcon = CreateIconFromPixels(pixels);
      if (hIcon != nullptr) {
        hDest.SetIcon(hIcon);
        return;
      }
    }
  }
  hDest.CopyFrom(hSource);
}

// ---- Archive records ---------------------------------------------------------------------------
// A bitmap record: header length (0 for an empty record), the 40-byte information header and three
// colour masks, the pixel length, the pixels (32-bit, rows as the header's height says).
const DWORD kRecordHeaderLength = sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD);
// Longer headers (a colour table after the masks) are read and passed over, up to this length.
const DWORD kMaxRecordHeaderLength = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

void WriteEmptyRecord(CArchive& ar) { ar << static_cast<DWORD>(0); }

void WriteRecord(CArchive& ar, const XTPImagePixels& pixels) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = pixels.cx;
  header.biHeight = pixels.cy;  // bottom-up, as the system reports bitmaps
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(pixels.bits.size());
  const DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  ar << kRecordHeaderLength;
  ar.Write(&header, sizeof(header));
  ar.Write(masks, sizeof(masks));
  ar << static_cast<DWORD>(pixels.bits.size());
  const size_t cbRow = static_cast<size_t>(pixels.cx) * 4;
  for (int y = pixels.cy - 1; y >= 0; --y) ar.Write(pixels.bits.data() + y * cbRow, static_cast<UINT>(cbRow));
}

// FALSE for an empty record; raises CArchiveException* for a damaged one.
BOOL ReadRecord(CArchive& ar, XTPImagePixels& pixels) {
  DWORD nHeaderLength = 0;
  ar >> nHeaderLength;
  if (nHeaderLength == 0) return FALSE;
  if (nHeaderLength < sizeof(BITMAPINFOHEADER) || nHeaderLength > kMaxRecordHeaderLength)
    AfxThrowArchiveException(CArchiveException::badIndex);
  BYTE headerBytes[kMaxRecordHeaderLength];
  ar.EnsureRead(headerBytes, nHeaderLength);
  BITMAPINFOHEADER header;
  memcpy(&header, headerBytes, sizeof(header));
  const int cx = header.biWidth;
  const int cy = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (header.biBitCount != 32 || header.biPlanes != 1 || header.biHeight == INT_MIN ||
      !IsSaneImageExtent(cx, cy))
    AfxThrowArchiveException(CArchiveException::badIndex);
  DWORD nPixelLength = 0;
  ar >> nPixelLength;
  if (nPixelLength != static_cast<DWORD>(cx) * static_cast<DWORD>(cy) * 4)
    AfxThrowArchiveException(CArchiveException::badIndex);
  pixels.cx = cx;
  pixels.cy = cy;
  pixels.bits.resize(nPixelLength);
  const size_t cbRow = static_cast<size_t>(cx) * 4;
  const bool bBottomUp = header.biHeight > 0;
  for (int i = 0; i < cy; ++i)
    ar.EnsureRead(pixels.Row(bBottomUp ? cy - 1 - i : i), static_cast<UINT>(cbRow));
  return TRUE;
}

void WriteForm(CArchive& ar, const CXTPIconHandle& hForm) {
  if (hForm.IsAlpha()) {
    XTPImagePixels pixels;
    if (ReadImagePixels(hForm.GetBitmap(), pixels)) {
      WriteRecord(ar, pixels);
      WriteEmptyRecord(ar);
      return;
    }
  } else if (!hForm.IsEmpty()) {
    XTPIconPixels pixels;
    if (ReadIconPixels(hForm.GetIcon(), pixels)) {
      WriteRecord(ar, pixels.color);
      WriteRecord(ar, pixels.mask);
      return;
    }
  }
  WriteEmptyRecord(ar);
  WriteEmptyRecord(ar);
}

void ReadForm(CArchive& ar, CXTPIconHandle& hForm) {
  XTPImagePixels color, mask;
  const BOOL bColor = ReadRecord(ar, color);
  const BOOL bMask = ReadRecord(ar, mask);
  hForm.Clear();
  if (!bColor) return;
  if (!bMask) {
    HBITMAP hBitmap = CreateImageBitmap32(color);
    if (hBitmap == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
    hForm.AttachBitmap(hBitmap);
    return;
  }
  if (mask.cx != color.cx || mask.cy != color.cy) AfxThrowArchiveException(CArchiveException::badIndex);
  HBITMAP hColor = CreateImageBitmap32(color);
  HBITMAP hMask = CreateMaskBitmap(mask);
  HICON hIcon = hColor != nullptr && hMask != nullptr
                    ? CreateIconFromBitmaps(hColor, hMask, color.cx, color.cy)
                    : nullptr;
  if (hColor != nullptr) ::DeleteObject(hColor);
  if (hMask != nullptr) ::DeleteObject(hMask);
  if (hIcon == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
  hForm.SetIcon(hIcon);
}

}  // namespace

CXTPImageManagerIcon::CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight,
                                           CXTPImageManagerIconSet* pIconSet)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pIconSet(pIconSet) {}

CXTPImageManagerIcon::~CXTPImageManagerIcon() = default;

CXTPImageManager* CXTPImageManagerIcon::GetImageManager() const {
  if (m_pIconSet != nullptr && m_pIconSet->GetImageManager() != nullptr) return m_pIconSet->GetImageManager();
  return XTPImageManager();
}

BOOL CXTPImageManagerIcon::IsDrawnRightToLeft() const { return GetImageManager()->IsDrawReverted(); }

void CXTPImageManagerIcon::ClearAll() {
  m_hIcon.Clear();
  m_hFaded.Clear();
  m_hShadow.Clear();
  m_hHot.Clear();
  m_hChecked.Clear();
  m_hDisabled.Clear();
  m_hDisabledAuto.Clear();
}

void CXTPImageManagerIcon::Refresh() {
  m_hFaded.Clear();
  m_hShadow.Clear();
  m_hDisabledAuto.Clear();
}

void CXTPImageManagerIcon::SetIcon(const CXTPIconHandle& hIcon) {
  CXTPIconHandle hCopy;
  hCopy.CopyFrom(hIcon);
  ClearAll();
  m_hIcon.Swap(hCopy);
  const CSize szIcon = m_hIcon.GetExtent();
  if (szIcon.cx > 0 && szIcon.cy > 0) {
    m_nWidth = szIcon.cx;
    m_nHeight = szIcon.cy;
  }
  m_bScaled = FALSE;
  if (m_pIconSet != nullptr) m_pIconSet->RemoveScaledIcons();
}

void CXTPImageManagerIcon::SetIcon(const CXTPIconHandle& hIcon, int nWidth, int nHeight) {
  SetIcon(hIcon);
  m_nWidth = nWidth;
  m_nHeight = nHeight;
}

void CXTPImageManagerIcon::SetHotIcon(const CXTPIconHandle& hIcon) {
  Refresh();
  m_hHot.CopyFrom(hIcon);
}

void CXTPImageManagerIcon::SetCheckedIcon(const CXTPIconHandle& hIcon) {
  Refresh();
  m_hChecked.CopyFrom(hIcon);
}

void CXTPImageManagerIcon::SetDisabledIcon(const CXTPIconHandle& hIcon) {
  Refresh();
  m_hDisabled.CopyFrom(hIcon);
}

CXTPIconHandle& CXTPImageManagerIcon::GetHotIcon() { return m_hHot.IsEmpty() ? m_hIcon : m_hHot; }

CXTPIconHandle& CXTPImageManagerIcon::GetCheckedIcon() {
  return m_hChecked.IsEmpty() ? GetHotIcon() : m_hChecked;
}

CXTPIconHandle& CXTPImageManagerIcon::GetDisabledIcon(BOOL bCreate) {
  if (!m_hDisabled.IsEmpty()) return m_hDisabled;
  if (m_hDisabledAuto.IsEmpty() && bCreate) CreateDisabledIcon();
  return m_hDisabledAuto;
}

void CXTPImageManagerIcon::CreateDisabledIcon(COLORREF clrDisabledLight, COLORREF clrDisabledDark) {
  Generate(m_hIcon, m_hDisabledAuto, [=](BYTE* p) { Disable(p, clrDisabledLight, clrDisabledDark); });
}

CXTPIconHandle& CXTPImageManagerIcon::GetFadedIcon() {
  if (m_hFaded.IsEmpty() && !m_hIcon.IsEmpty()) {
    if (!m_hIcon.IsAlpha() && IsLowColorDisplay()) {
      m_hFaded.CopyFrom(m_hIcon);
    } else {
      Generate(m_hIcon, m_hFaded, [](BYTE* p) {
        p[0] = Faded(p[0]);
        p[1] = Faded(p[1]);
        p[2] = Faded(p[2]);
      });
    }
  }
  return m_hFaded;
}

CXTPIconHandle& CXTPImageManagerIcon::GetShadowIcon() {
  if (m_hShadow.IsEmpty()) {
    const COLORREF clrSlot = GetXTPColor(31);
    const BYTE r = static_cast<BYTE>(GetRValue(clrSlot) * 3 / 4);
    const BYTE g = static_cast<BYTE>(GetGValue(clrSlot) * 3 / 4);
    const BYTE b = static_cast<BYTE>(GetBValue(clrSlot) * 3 / 4);
    Generate(GetHotIcon(), m_hShadow, [=](BYTE* p) {
      p[0] = b;
      p[1] = g;
      p[2] = r;
    });
  }
  return m_hShadow;
}

void CXTPImageManagerIcon::Draw(CDC* pDC, CPoint pt) { Draw(pDC, pt, m_hIcon); }

void CXTPImageManagerIcon::Draw(CDC* pDC, CPoint pt, CXTPIconHandle& hIcon, CSize szIcon) {
  if (pDC == nullptr || hIcon.IsEmpty()) return;
  const int cx = szIcon.cx > 0 ? szIcon.cx : m_nWidth;
  int cy = szIcon.cy;
  if (cy <= 0) cy = m_nWidth > 0 ? MulDiv(cx, m_nHeight, m_nWidth) : m_nHeight;
  if (cx <= 0 || cy <= 0) return;
  if (!hIcon.IsAlpha()) {
    if (IsDrawnRightToLeft()) {
      ::DrawIconEx(pDC->GetSafeHdc(), pt.x + cx, pt.y, hIcon.GetIcon(), -cx, cy, 0, nullptr, DI_NORMAL);
    } else {
      ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, hIcon.GetIcon(), cx, cy, 0, nullptr, DI_NORMAL);
    }
    return;
  }
  HBITMAP hPremultiplied = hIcon.PremultiplyBitmap();
  if (hPremultiplied == nullptr) return;
  GetImageManager()->DrawAlphaBitmap(pDC, hPremultiplied, pt, CSize(cx, cy));
}

void CXTPImageManagerIcon::DrawMonochrome(CDC* pDC, CPoint pt, CXTPIconHandle& hIcon, COLORREF clrBrush) {
  if (pDC == nullptr || hIcon.IsEmpty() || hIcon.IsAlpha()) return;
  HBRUSH hBrush = ::CreateSolidBrush(clrBrush);
  if (!IsDrawnRightToLeft()) {
    ::DrawStateW(pDC->GetSafeHdc(), hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon.GetIcon()), 0, pt.x, pt.y,
                 0, 0, DST_ICON | DSS_MONO);
  } else {
    // DrawState cannot mirror: the mirrored icon goes onto a white bitmap first.
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, m_nWidth, m_nHeight);
    ::ReleaseDC(nullptr, hScreen);
    if (hMemDC != nullptr && hBitmap != nullptr) {
      HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
      RECT rc = {0, 0, m_nWidth, m_nHeight};
      ::FillRect(hMemDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      ::DrawIconEx(hMemDC, m_nWidth, 0, hIcon.GetIcon(), -m_nWidth, m_nHeight, 0, nullptr, DI_NORMAL);
      ::SelectObject(hMemDC, hOld);
      ::DrawStateW(pDC->GetSafeHdc(), hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y,
                   m_nWidth, m_nHeight, DST_BITMAP | DSS_MONO);
    }
    if (hBitmap != nullptr) ::DeleteObject(hBitmap);
    if (hMemDC != nullptr) ::DeleteDC(hMemDC);
  }
  ::DeleteObject(hBrush);
}

void CXTPImageManagerIcon::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_nHeight);
    ar << static_cast<DWORD>(nIconFormatVersion);
    WriteForm(ar, m_hIcon);
    WriteForm(ar, m_hDisabled);
    WriteForm(ar, m_hHot);
    WriteForm(ar, m_hChecked);
    return;
  }
  DWORD nHeight = 0, nVersion = 0;
  ar >> nHeight;
  ar >> nVersion;
  if (nHeight == 0 || nHeight > XTP_IMAGE_MAX_EXTENT || nVersion > static_cast<DWORD>(nIconFormatVersion))
    AfxThrowArchiveException(CArchiveException::badSchema);
  CXTPIconHandle hIcon, hDisabled, hHot, hChecked;
  ReadForm(ar, hIcon);
  ReadForm(ar, hDisabled);
  ReadForm(ar, hHot);
  if (nVersion >= 8) ReadForm(ar, hChecked);
  // Everything was read: only now does the icon change.
  ClearAll();
  m_nHeight = static_cast<int>(nHeight);
  m_hIcon.Swap(hIcon);
  m_hDisabled.Swap(hDisabled);
  m_hHot.Swap(hHot);
  m_hChecked.Swap(hChecked);
}
