// The image editor's picture grid: the picture model (tools, moves, undo and redo) and its painting.
#include "ImageEditorPicture.h"

#include "ButtonImageEditor.h"

#include <ResourceSource.h>
#include <ToolkitResource.h>

#include <vector>

namespace {

// DIB pixels are stored as BGRA; a COLORREF is 0x00BBGGRR.
inline COLORREF PixelColor(DWORD dwPixel) {
  return RGB((dwPixel >> 16) & 0xFF, (dwPixel >> 8) & 0xFF, dwPixel & 0xFF);
}
inline DWORD ColorPixel(COLORREF clr, BYTE nAlpha) {
  return (static_cast<DWORD>(nAlpha) << 24) | (static_cast<DWORD>(GetRValue(clr)) << 16) |
         (static_cast<DWORD>(GetGValue(clr)) << 8) | GetBValue(clr);
}

// The description of a 32-bit picture: bottom-up rows for a positive height, top-down for a negative one.
BITMAPINFO PictureInfo(int cx, int cy) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  return bmi;
}

// The index of a cell in bottom-up rows.
inline int PixelIndex(CSize size, int x, int y) { return (size.cy - 1 - y) * size.cx + x; }

}  // namespace

BEGIN_MESSAGE_MAP(CXTPImageEditorPicture, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CXTPImageEditorPicture::CXTPImageEditorPicture() {
  CXTResourceSource* pResources = GetToolkitResourceManager();
  m_hcurLine = pResources->LoadCursor(XTP_IDC_EDITOR_LINE);
  m_hcurFill = pResources->LoadCursor(XTP_IDC_EDITOR_FILL);
  m_hcurPencil = pResources->LoadCursor(XTP_IDC_EDITOR_PENCIL);
  m_hcurPickColor = pResources->LoadCursor(XTP_IDC_EDITOR_GETCOLOR);
}

CXTPImageEditorPicture::~CXTPImageEditorPicture() {
  if (m_hbmPicture != nullptr) ::DeleteObject(m_hbmPicture);
  if (m_hbmBefore != nullptr) ::DeleteObject(m_hbmBefore);
  FreeList(m_lstUndo);
  FreeList(m_lstRedo);
}

void PASCAL CXTPImageEditorPicture::FreeList(CList<HBITMAP, HBITMAP>& list) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    HBITMAP hbm = list.GetNext(pos);
    if (hbm != nullptr) ::DeleteObject(hbm);
  }
  list.RemoveAll();
}

// ---- Pictures ------------------------------------------------------------------------------------

HBITMAP PASCAL CXTPImageEditorPicture::CreatePicture(CSize size) {
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  BITMAPINFO bmi = PictureInfo(size.cx, size.cy);
  void* pBits = nullptr;
  HBITMAP hbm = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  if (hbm == nullptr || pBits == nullptr) return hbm;
  DWORD* pPixels = static_cast<DWORD*>(pBits);
  const DWORD dwTransparent = ColorPixel(XTP_IMAGEEDITOR_TRANSPARENT, 0);
  for (int i = 0; i < size.cx * size.cy; ++i) pPixels[i] = dwTransparent;
  return hbm;
}

DWORD* PASCAL CXTPImageEditorPicture::GetPixels(HBITMAP hbmPicture, CSize* pSize) {
  DIBSECTION ds = {};
  if (hbmPicture == nullptr || ::GetObject(hbmPicture, sizeof(ds), &ds) != sizeof(ds) ||
      ds.dsBm.bmBitsPixel != 32 || ds.dsBm.bmBits == nullptr)
    return nullptr;
  ::GdiFlush();
  if (pSize != nullptr) *pSize = CSize(ds.dsBm.bmWidth, abs(ds.dsBm.bmHeight));
  return static_cast<DWORD*>(ds.dsBm.bmBits);
}

HBITMAP PASCAL CXTPImageEditorPicture::CopyPicture(HBITMAP hbmPicture) {
  CSize size;
  DWORD* pSource = GetPixels(hbmPicture, &size);
  if (pSource == nullptr) return nullptr;
  HBITMAP hbmCopy = CreatePicture(size);
  DWORD* pTarget = GetPixels(hbmCopy, nullptr);
  if (pTarget != nullptr) memcpy(pTarget, pSource, sizeof(DWORD) * size.cx * size.cy);
  return hbmCopy;
}

void CXTPImageEditorPicture::SetPicture(HBITMAP hbmPicture, BOOL bAlpha) {
  if (m_hbmPicture != nullptr && m_hbmPicture != hbmPicture) ::DeleteObject(m_hbmPicture);
  m_hbmPicture = hbmPicture;
  m_bAlpha = bAlpha;
  Repaint();
}

COLORREF CXTPImageEditorPicture::GetCellColor(CPoint cell) const {
  CSize size;
  const DWORD* pPixels = GetPixels(m_hbmPicture, &size);
  if (pPixels == nullptr || cell.x < 0 || cell.y < 0 || cell.x >= size.cx || cell.y >= size.cy)
    return XTP_IMAGEEDITOR_TRANSPARENT;
  return PixelColor(pPixels[PixelIndex(size, cell.x, cell.y)]);
}

BYTE CXTPImageEditorPicture::GetCellAlpha(CPoint cell) const {
  CSize size;
  const DWORD* pPixels = GetPixels(m_hbmPicture, &size);
  if (pPixels == nullptr || cell.x < 0 || cell.y < 0 || cell.x >= size.cx || cell.y >= size.cy) return 0;
  return static_cast<BYTE>(pPixels[PixelIndex(size, cell.x, cell.y)] >> 24);
}

// ---- Changes ---------------------------------------------------------------------------------------

void CXTPImageEditorPicture::BeginChange() {
  if (m_hbmBefore != nullptr) ::DeleteObject(m_hbmBefore);
  m_hbmBefore = m_hbmPicture;
  m_hbmPicture = m_hbmBefore != nullptr ? CopyPicture(m_hbmBefore) : CreatePicture(m_szPicture);
}

void CXTPImageEditorPicture::CommitChange() {
  if (m_bAlpha) {
    CSize size, sizeBefore;
    DWORD* pPixels = GetPixels(m_hbmPicture, &size);
    const DWORD* pBefore = GetPixels(m_hbmBefore, &sizeBefore);
    if (pPixels != nullptr) {
      for (int i = 0; i < size.cx * size.cy; ++i) {
        const COLORREF clr = PixelColor(pPixels[i]);
        const BOOL bChanged = pBefore == nullptr || sizeBefore != size || PixelColor(pBefore[i]) != clr;
        if (bChanged && clr != XTP_IMAGEEDITOR_TRANSPARENT) pPixels[i] |= 0xFF000000;
      }
    }
  }
  FreeList(m_lstRedo);
  if (m_lstUndo.GetCount() >= nMaxUndo) {
    HBITMAP hbmOldest = m_lstUndo.RemoveHead();
    if (hbmOldest != nullptr) ::DeleteObject(hbmOldest);
  }
  m_lstUndo.AddTail(m_hbmBefore);
  m_hbmBefore = nullptr;
  Repaint();
}

void CXTPImageEditorPicture::SetCell(CPoint cell, COLORREF clr) {
  CSize size;
  DWORD* pPixels = GetPixels(m_hbmPicture, &size);
  if (pPixels == nullptr || cell.x < 0 || cell.y < 0 || cell.x >= size.cx || cell.y >= size.cy) return;
  DWORD& dwPixel = pPixels[PixelIndex(size, cell.x, cell.y)];
  dwPixel = ColorPixel(clr, static_cast<BYTE>(dwPixel >> 24));
}

void CXTPImageEditorPicture::Fill(CPoint cell, COLORREF clr) {
  CSize size;
  DWORD* pPixels = GetPixels(m_hbmPicture, &size);
  if (pPixels == nullptr || cell.x < 0 || cell.y < 0 || cell.x >= size.cx || cell.y >= size.cy) return;
  const COLORREF clrArea = GetCellColor(cell);
  if (clrArea == clr) return;
  // The area of the cell's colour around the cell, neighbours across edges only, as a surface fill.
  std::vector<CPoint> stack{cell};
  while (!stack.empty()) {
    const CPoint pt = stack.back();
    stack.pop_back();
    if (pt.x < 0 || pt.y < 0 || pt.x >= size.cx || pt.y >= size.cy) continue;
    if (PixelColor(pPixels[PixelIndex(size, pt.x, pt.y)]) != clrArea) continue;
    SetCell(pt, clr);
    stack.push_back(CPoint(pt.x + 1, pt.y));
    stack.push_back(CPoint(pt.x - 1, pt.y));
    stack.push_back(CPoint(pt.x, pt.y + 1));
    stack.push_back(CPoint(pt.x, pt.y - 1));
  }
}

void CXTPImageEditorPicture::DrawShape(CPoint cell) {
  if (m_hbmPicture != nullptr) ::DeleteObject(m_hbmPicture);
  m_hbmPicture = m_hbmBefore != nullptr ? CopyPicture(m_hbmBefore) : CreatePicture(m_szPicture);
  if (m_hbmPicture == nullptr || m_pEditor == nullptr) return;
  const COLORREF clr = m_pEditor->GetCurrentColor();
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOldBitmap = ::SelectObject(hDC, m_hbmPicture);
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
  CRect rc(m_ptStart, cell);
  rc.NormalizeRect();
  switch (m_pEditor->GetCurrentTool()) {
    case CXTPButtonImageEditor::toolRectangle: {
      HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
      ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
      ::SelectObject(hDC, hOldBrush);
      break;
    }
    case CXTPButtonImageEditor::toolEllipse: {
      HBRUSH hBrush = ::CreateSolidBrush(XTP_IMAGEEDITOR_TRANSPARENT);
      HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
      ::Ellipse(hDC, rc.left, rc.top, rc.right, rc.bottom);
      ::SelectObject(hDC, hOldBrush);
      ::DeleteObject(hBrush);
      break;
    }
    case CXTPButtonImageEditor::toolLine:
      ::MoveToEx(hDC, m_ptStart.x, m_ptStart.y, nullptr);
      ::LineTo(hDC, cell.x, cell.y);
      break;
    default:
      break;
  }
  ::SelectObject(hDC, hOldPen);
  ::DeleteObject(hPen);
  ::SelectObject(hDC, hOldBitmap);
  ::DeleteDC(hDC);
  // GDI clears the alpha byte of what it draws; the pixels left alone keep the before-picture's alpha.
  CSize size;
  DWORD* pPixels = GetPixels(m_hbmPicture, &size);
  const DWORD* pBefore = GetPixels(m_hbmBefore, nullptr);
  if (pPixels != nullptr && pBefore != nullptr) {
    for (int i = 0; i < size.cx * size.cy; ++i) {
      if ((pPixels[i] & 0xFFFFFF) == (pBefore[i] & 0xFFFFFF)) pPixels[i] = pBefore[i];
    }
  }
}

void CXTPImageEditorPicture::OnToolDown(CPoint cell) {
  if (m_pEditor == nullptr || m_bDrawing) return;
  const COLORREF clrCurrent = m_pEditor->GetCurrentColor();
  switch (m_pEditor->GetCurrentTool()) {
    case CXTPButtonImageEditor::toolFill:
      BeginChange();
      Fill(cell, clrCurrent);
      CommitChange();
      return;
    case CXTPButtonImageEditor::toolPickColor:
      m_pEditor->OnColorPicked(GetCellColor(cell));
      return;
    default:
      break;
  }
  BeginChange();
  m_clrStroke = GetCellColor(cell) == clrCurrent ? XTP_IMAGEEDITOR_TRANSPARENT : clrCurrent;
  m_ptStart = cell;
  m_bDrawing = TRUE;
  if (m_hWnd != nullptr) SetCapture();
  OnToolMove(cell);
}

void CXTPImageEditorPicture::OnToolMove(CPoint cell) {
  if (!m_bDrawing || m_pEditor == nullptr) return;
  if (m_pEditor->GetCurrentTool() == CXTPButtonImageEditor::toolPencil) {
    SetCell(cell, m_clrStroke);
  } else {
    DrawShape(cell);
  }
  Repaint();
}

void CXTPImageEditorPicture::OnToolUp() {
  if (!m_bDrawing) return;
  m_bDrawing = FALSE;
  if (m_hWnd != nullptr && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  CommitChange();
}

void CXTPImageEditorPicture::Clear() {
  BeginChange();
  if (m_hbmPicture != nullptr) ::DeleteObject(m_hbmPicture);
  m_hbmPicture = nullptr;
  CommitChange();
}

void CXTPImageEditorPicture::MovePicture(int dx, int dy) {
  BeginChange();
  CSize size;
  DWORD* pTarget = GetPixels(m_hbmPicture, &size);
  const DWORD* pSource = GetPixels(m_hbmBefore, nullptr);
  if (pTarget != nullptr) {
    const DWORD dwTransparent = ColorPixel(XTP_IMAGEEDITOR_TRANSPARENT, 0);
    for (int y = 0; y < size.cy; ++y) {
      for (int x = 0; x < size.cx; ++x) {
        const int sx = x - dx, sy = y - dy;
        const BOOL bInside = pSource != nullptr && sx >= 0 && sy >= 0 && sx < size.cx && sy < size.cy;
        pTarget[PixelIndex(size, x, y)] = bInside ? pSource[PixelIndex(size, sx, sy)] : dwTransparent;
      }
    }
  }
  CommitChange();
}

void CXTPImageEditorPicture::ReplacePicture(HBITMAP hbmNew, BOOL bAlpha) {
  if (m_hbmBefore != nullptr) ::DeleteObject(m_hbmBefore);
  m_hbmBefore = m_hbmPicture;
  m_hbmPicture = hbmNew;
  m_bAlpha = bAlpha;
  CommitChange();
}

void CXTPImageEditorPicture::Undo() {
  if (m_lstUndo.IsEmpty()) return;
  m_lstRedo.AddTail(m_hbmPicture);
  m_hbmPicture = m_lstUndo.RemoveTail();
  Repaint();
}

void CXTPImageEditorPicture::Redo() {
  if (m_lstRedo.IsEmpty()) return;
  m_lstUndo.AddTail(m_hbmPicture);
  m_hbmPicture = m_lstRedo.RemoveTail();
  Repaint();
}

// ---- Window ----------------------------------------------------------------------------------------

void CXTPImageEditorPicture::LayoutGrid() {
  if (m_hWnd == nullptr) return;
  CRect rc;
  GetClientRect(&rc);
  // A picture larger than the area would give cells of width 0: keep them one pixel at least.
  m_szCell.cx = std::max<LONG>(1, rc.Width() / std::max<LONG>(1, m_szPicture.cx));
  m_szCell.cy = std::max<LONG>(1, rc.Height() / std::max<LONG>(1, m_szPicture.cy));
  SetWindowPos(nullptr, 0, 0, m_szPicture.cx * m_szCell.cx + 1, m_szPicture.cy * m_szCell.cy + 1,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CPoint CXTPImageEditorPicture::CellFromPoint(CPoint point) const {
  return CPoint(point.x / std::max<LONG>(1, m_szCell.cx), point.y / std::max<LONG>(1, m_szCell.cy));
}

void CXTPImageEditorPicture::Repaint() {
  if (m_hWnd != nullptr) Invalidate(FALSE);
  if (m_pEditor != nullptr) m_pEditor->OnPictureChanged();
}

void CXTPImageEditorPicture::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  const int cx = rc.Width(), cy = rc.Height();
  if (cx <= 0 || cy <= 0) return;
  const int nInnerX = std::max(1, cx - 1), nInnerY = std::max(1, cy - 1);
  CSize size;
  const DWORD* pPixels = GetPixels(m_hbmPicture, &size);
  std::vector<DWORD> canvas(static_cast<size_t>(cx) * cy, 0x00FFFFFF);
  for (int y = 0; y < nInnerY; ++y) {
    for (int x = 0; x < nInnerX; ++x) {
      // The checkerboard counts rows from the bottom edge.
      const int yFromBottom = cy - 1 - y;
      const BOOL bGrey = (((x + 3) / 4 + (yFromBottom + 3) / 4) & 1) != 0;
      const int g = bGrey ? 235 : 255;
      DWORD dwOut = static_cast<DWORD>((g << 16) | (g << 8) | g);
      if (pPixels != nullptr) {
        const int px = x * m_szPicture.cx / nInnerX, py = y * m_szPicture.cy / nInnerY;
        if (px < size.cx && py < size.cy) {
          const DWORD dwPixel = pPixels[PixelIndex(size, px, py)];
          const COLORREF clr = PixelColor(dwPixel);
          if (m_bAlpha) {
            const int a = static_cast<int>(dwPixel >> 24);
            const int r = g - a * (g - GetRValue(clr)) / 255, gg = g - a * (g - GetGValue(clr)) / 255,
                      b = g - a * (g - GetBValue(clr)) / 255;
            dwOut = static_cast<DWORD>((r << 16) | (gg << 8) | b);
          } else if (clr != XTP_IMAGEEDITOR_TRANSPARENT) {
            dwOut = dwPixel & 0xFFFFFF;
          }
        }
      }
      canvas[static_cast<size_t>(y) * cx + x] = dwOut;
    }
  }
  BITMAPINFO bmi = PictureInfo(cx, -cy);
  ::SetDIBitsToDevice(dc.GetSafeHdc(), 0, 0, cx, cy, 0, 0, 0, cy, canvas.data(), &bmi, DIB_RGB_COLORS);
  CBrush brFrame(RGB(0, 0, 0));
  dc.FrameRect(&rc, &brFrame);
}

void CXTPImageEditorPicture::OnLButtonDown(UINT, CPoint point) { OnToolDown(CellFromPoint(point)); }

void CXTPImageEditorPicture::OnMouseMove(UINT, CPoint point) {
  if (m_bDrawing) OnToolMove(CellFromPoint(point));
}

void CXTPImageEditorPicture::OnLButtonUp(UINT, CPoint) { OnToolUp(); }

void CXTPImageEditorPicture::OnCaptureChanged(CWnd* pWnd) {
  if (m_bDrawing && pWnd != this) OnToolUp();
  CStatic::OnCaptureChanged(pWnd);
}

BOOL CXTPImageEditorPicture::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  HCURSOR hCursor = m_hcurLine;
  if (m_pEditor != nullptr) {
    switch (m_pEditor->GetCurrentTool()) {
      case CXTPButtonImageEditor::toolPencil:
        hCursor = m_hcurPencil;
        break;
      case CXTPButtonImageEditor::toolFill:
        hCursor = m_hcurFill;
        break;
      case CXTPButtonImageEditor::toolPickColor:
        hCursor = m_hcurPickColor;
        break;
      default:
        break;
    }
  }
  if (hCursor == nullptr) return CStatic::OnSetCursor(pWnd, nHitTest, message);
  ::SetCursor(hCursor);
  return TRUE;
}
