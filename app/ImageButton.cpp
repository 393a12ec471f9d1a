// The image button: images and their masks, hover tracking, the click's actions and the drawing.
#include "ImageButton.h"

#include <shellapi.h>

#include <vector>

#include "TabManagerItem.h"

namespace {

const int kIn = 0;
const int kOut = 1;
const int kDisabled = 2;

// A 32-bit top-down DIB of the bitmap's size, the form the automatic images are read and written in.
BITMAPINFO TopDown32(int nWidth, int nHeight) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = nWidth;
  bmi.bmiHeader.biHeight = -nHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  return bmi;
}

// The bitmap's pixels, or empty when they cannot be read.
std::vector<RGBQUAD> ReadPixels(HBITMAP hBitmap, int nWidth, int nHeight) {
  std::vector<RGBQUAD> pixels(static_cast<size_t>(nWidth) * nHeight);
  BITMAPINFO bmi = TopDown32(nWidth, nHeight);
  HDC hdc = ::GetDC(nullptr);
  const int nRead = ::GetDIBits(hdc, hBitmap, 0, nHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hdc);
  if (nRead != nHeight) pixels.clear();
  return pixels;
}

// A screen-compatible bitmap holding the pixels.
HBITMAP WritePixels(const std::vector<RGBQUAD>& pixels, int nWidth, int nHeight) {
  BITMAPINFO bmi = TopDown32(nWidth, nHeight);
  HDC hdc = ::GetDC(nullptr);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hdc, nWidth, nHeight);
  if (hBitmap != nullptr) ::SetDIBits(hdc, hBitmap, 0, nHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hdc);
  return hBitmap;
}

// A grey (bDarker false) or darker copy of the bitmap; pixels of the transparent colour are kept.
HBITMAP MakeAutoBitmap(HBITMAP hSource, int nWidth, int nHeight, COLORREF crTransColor, BOOL bDarker) {
  std::vector<RGBQUAD> pixels = ReadPixels(hSource, nWidth, nHeight);
  if (pixels.empty()) return nullptr;
  for (RGBQUAD& p : pixels) {
    if (RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) == crTransColor) continue;
    if (bDarker) {
      p.rgbRed = static_cast<BYTE>(p.rgbRed - 0.25 * p.rgbRed);
      p.rgbGreen = static_cast<BYTE>(p.rgbGreen - 0.25 * p.rgbGreen);
      p.rgbBlue = static_cast<BYTE>(p.rgbBlue - 0.25 * p.rgbBlue);
    } else {
      const BYTE level = static_cast<BYTE>(0.299 * p.rgbRed + 0.587 * p.rgbGreen + 0.114 * p.rgbBlue);
      p.rgbRed = p.rgbGreen = p.rgbBlue = level;
    }
  }
  return WritePixels(pixels, nWidth, nHeight);
}

// A monochrome mask, white where the bitmap has the transparent colour; those pixels of the bitmap are
// made black, so that the mask (SRCAND) and then the bitmap (SRCPAINT) draw it without them.
HBITMAP MakeMask(HBITMAP hSource, int nWidth, int nHeight, COLORREF crTransColor) {
  HBITMAP hMask = ::CreateBitmap(nWidth, nHeight, 1, 1, nullptr);
  if (hMask == nullptr) return nullptr;
  HDC hdcSrc = ::CreateCompatibleDC(nullptr);
  HDC hdcMask = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOldSrc = ::SelectObject(hdcSrc, hSource);
  HGDIOBJ hOldMask = ::SelectObject(hdcMask, hMask);
  ::SetBkColor(hdcSrc, crTransColor);
  ::BitBlt(hdcMask, 0, 0, nWidth, nHeight, hdcSrc, 0, 0, SRCCOPY);
  ::SetBkColor(hdcSrc, RGB(255, 255, 255));
  ::SetTextColor(hdcSrc, RGB(0, 0, 0));
  ::BitBlt(hdcSrc, 0, 0, nWidth, nHeight, hdcMask, 0, 0, 0x00220326);  // DSna: source AND NOT mask
  ::SelectObject(hdcSrc, hOldSrc);
  ::SelectObject(hdcMask, hOldMask);
  ::DeleteDC(hdcSrc);
  ::DeleteDC(hdcMask);
  return hMask;
}

BOOL BitmapSize(HBITMAP hBitmap, DWORD* pWidth, DWORD* pHeight) {
  BITMAP bm = {};
  if (hBitmap == nullptr || ::GetObject(hBitmap, sizeof(bm), &bm) == 0) return FALSE;
  *pWidth = static_cast<DWORD>(bm.bmWidth);
  *pHeight = static_cast<DWORD>(bm.bmHeight);
  return TRUE;
}

HBITMAP LoadBitmapResource(int nId) {
  return static_cast<HBITMAP>(
      ::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

BEGIN_MESSAGE_MAP(CImageButton, CButton)
ON_WM_SETCURSOR()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
ON_WM_SYSCOLORCHANGE()
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
ON_WM_ACTIVATE()
ON_WM_ENABLE()
ON_WM_CANCELMODE()
ON_WM_GETDLGCODE()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_ERASEBKGND()
ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
ON_WM_MOUSELEAVE()
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CImageButton::CImageButton()
    : m_bIsFlat(TRUE),
      m_bDrawBorder(TRUE),
      m_bDrawFlatFocus(FALSE),
      m_bAlwaysTrack(TRUE),
      m_bDrawTransparent(FALSE),
      m_bIsDefault(FALSE),
      m_bIsCheckBox(FALSE),
      m_nCheck(0),
      m_nAlign(IMAGE_LEFT),
      m_ptImageMargin(3, 3),
      m_bShowDisabledBitmap(TRUE),
      m_nPressedStyle(0),
      m_bIsPressed(FALSE),
      m_bIsFocused(FALSE),
      m_bIsDisabled(FALSE),
      m_bMouseOnButton(FALSE),
      m_bMenuDisplayed(FALSE),
      m_bFocusDropped(FALSE),
      m_pbmpOldBk(nullptr),
      m_hCursor(nullptr),
      m_hMenu(nullptr),
      m_hCommandWnd(nullptr),
      m_hMenuCallbackWnd(nullptr),
      m_nMenuCallbackMessage(0),
      m_hSoundModule(nullptr),
      m_dwSoundFlags(0),
      m_hWndTipStatusBar(nullptr),
      m_pTipTabItem(nullptr),
      m_bTipInPlaces(FALSE) {
  ResetColors();
}

CImageButton::~CImageButton() {
  if (m_dcBk.m_hDC != nullptr && m_pbmpOldBk != nullptr) m_dcBk.SelectObject(m_pbmpOldBk);
  FreeImages();
  if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
  RestoreTipPlaces();
  if (m_pTipTabItem != nullptr) m_pTipTabItem->InternalRelease();
}

void CImageButton::FreeImages() {
  for (Image& icon : m_icons) {
    if (icon.hIcon != nullptr) ::DestroyIcon(icon.hIcon);
    icon = Image();
  }
  for (Image& bitmap : m_bitmaps) {
    if (bitmap.hBitmap != nullptr) ::DeleteObject(bitmap.hBitmap);
    if (bitmap.hMask != nullptr) ::DeleteObject(bitmap.hMask);
    bitmap = Image();
  }
}

void CImageButton::ResetColors() {
  const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
  m_crColors[COLOR_BK_IN] = m_crColors[COLOR_BK_OUT] = m_crColors[COLOR_BK_FOCUS] = crFace;
  m_crColors[COLOR_FG_IN] = m_crColors[COLOR_FG_OUT] = m_crColors[COLOR_FG_FOCUS] = crText;
}

void CImageButton::PreSubclassWindow() {
  const UINT nType = GetButtonStyle() & BS_TYPEMASK;
  if (nType == BS_DEFPUSHBUTTON) m_bIsDefault = TRUE;
  if (nType & BS_CHECKBOX) m_bIsCheckBox = TRUE;
  ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
  CButton::PreSubclassWindow();
}

BOOL CImageButton::SetBitmaps(int nBitmapIn, COLORREF crTransColorIn, int nBitmapOut,
                              COLORREF crTransColorOut, int nBitmapDisabled) {
  FreeImages();
  Image& in = m_bitmaps[kIn];
  in.hBitmap = LoadBitmapResource(nBitmapIn);
  if (!BitmapSize(in.hBitmap, &in.dwWidth, &in.dwHeight)) {
    FreeImages();
    Invalidate();
    return FALSE;
  }
  Image& out = m_bitmaps[kOut];
  COLORREF crOutTrans = crTransColorOut;
  if (nBitmapOut == AUTO_GREY || nBitmapOut == AUTO_DARKER) {
    out.hBitmap = MakeAutoBitmap(in.hBitmap, static_cast<int>(in.dwWidth), static_cast<int>(in.dwHeight),
                                 crTransColorIn, nBitmapOut == AUTO_DARKER);
    crOutTrans = crTransColorIn;
  } else if (nBitmapOut > 0) {
    out.hBitmap = LoadBitmapResource(nBitmapOut);
  }
  if (out.hBitmap != nullptr && !BitmapSize(out.hBitmap, &out.dwWidth, &out.dwHeight)) out = Image();
  Image& disabled = m_bitmaps[kDisabled];
  if (nBitmapDisabled > 0) disabled.hBitmap = LoadBitmapResource(nBitmapDisabled);
  if (disabled.hBitmap != nullptr && !BitmapSize(disabled.hBitmap, &disabled.dwWidth, &disabled.dwHeight)) {
    disabled = Image();
  }
  // The automatic image is made from the in-image before its transparent pixels are blackened.
  in.hMask =
      MakeMask(in.hBitmap, static_cast<int>(in.dwWidth), static_cast<int>(in.dwHeight), crTransColorIn);
  if (out.hBitmap != nullptr) {
    out.hMask =
        MakeMask(out.hBitmap, static_cast<int>(out.dwWidth), static_cast<int>(out.dwHeight), crOutTrans);
  }
  if (disabled.hBitmap != nullptr) {
    disabled.hMask = MakeMask(disabled.hBitmap, static_cast<int>(disabled.dwWidth),
                              static_cast<int>(disabled.dwHeight), crTransColorIn);
  }
  Invalidate();
  return TRUE;
}

BOOL CImageButton::SetIcons(int nIconIn, int nIconOut) {
  FreeImages();
  const int ids[2] = {nIconIn, nIconOut};
  for (int i = 0; i < 2; ++i) {
    if (ids[i] <= 0) continue;
    HICON hIcon = static_cast<HICON>(
        ::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(ids[i]), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    ICONINFO info = {};
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &info)) {
      if (hIcon != nullptr) ::DestroyIcon(hIcon);
      continue;
    }
    m_icons[i].hIcon = hIcon;
    m_icons[i].dwWidth = info.xHotspot * 2;
    m_icons[i].dwHeight = info.yHotspot * 2;
    if (info.hbmColor != nullptr) BitmapSize(info.hbmColor, &m_icons[i].dwWidth, &m_icons[i].dwHeight);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  }
  Invalidate();
  return m_icons[kIn].hIcon != nullptr;
}

void CImageButton::InitToolTip() {
  if (m_tooltip.m_hWnd != nullptr || m_hWnd == nullptr) return;
  if (!m_tooltip.Create(this)) return;
  m_tooltip.SetMaxTipWidth(400);
  m_tooltip.Activate(FALSE);
}

void CImageButton::SetTooltipText(LPCTSTR lpszText, BOOL bActivate) {
  if (lpszText == nullptr) return;
  InitToolTip();
  if (m_tooltip.m_hWnd == nullptr) return;
  if (m_tooltip.GetToolCount() == 0) {
    CRect rcClient;
    GetClientRect(&rcClient);
    m_tooltip.AddTool(this, lpszText, &rcClient, 1);
  }
  m_tooltip.UpdateTipText(lpszText, this, 1);
  m_tooltip.Activate(bActivate);
  if (m_strTipText == lpszText) return;
  RestoreTipPlaces();
  m_strTipText = lpszText;
  if (m_bMouseOnButton) ShowTipInPlaces();
}

void CImageButton::SetTipTextPlaces(CWnd* pStatusBar, CXTPTabManagerItem* pTabItem) {
  RestoreTipPlaces();
  if (pTabItem != nullptr) pTabItem->InternalAddRef();
  if (m_pTipTabItem != nullptr) m_pTipTabItem->InternalRelease();
  m_pTipTabItem = pTabItem;
  m_hWndTipStatusBar = pStatusBar != nullptr ? pStatusBar->GetSafeHwnd() : nullptr;
  if (m_bMouseOnButton) ShowTipInPlaces();
}

void CImageButton::ShowTipInPlaces() {
  if (m_strTipText.IsEmpty() || m_bTipInPlaces) return;
  const BOOL bStatusBar = m_hWndTipStatusBar != nullptr && ::IsWindow(m_hWndTipStatusBar);
  if (bStatusBar) {
    CWnd::FromHandle(m_hWndTipStatusBar)->GetWindowText(m_strStatusBarBefore);
    ::SetWindowTextW(m_hWndTipStatusBar, m_strTipText);
  }
  if (m_pTipTabItem != nullptr) {
    m_strTabItemBefore = m_pTipTabItem->GetCaption();
    m_pTipTabItem->SetCaption(m_strTipText);
  }
  m_bTipInPlaces = TRUE;
}

void CImageButton::RestoreTipPlaces() {
  if (!m_bTipInPlaces) return;
  m_bTipInPlaces = FALSE;
  if (m_hWndTipStatusBar != nullptr && ::IsWindow(m_hWndTipStatusBar)) {
    CString strShown;
    CWnd::FromHandle(m_hWndTipStatusBar)->GetWindowText(strShown);
    if (strShown == m_strTipText) ::SetWindowTextW(m_hWndTipStatusBar, m_strStatusBarBefore);
  }
  if (m_pTipTabItem != nullptr && m_pTipTabItem->GetCaption() == m_strTipText)
    m_pTipTabItem->SetCaption(m_strTabItemBefore);
}

void CImageButton::SetFlat(BOOL bFlat, BOOL bRepaint) {
  m_bIsFlat = bFlat;
  if (bRepaint && m_hWnd != nullptr) Invalidate();
}

void CImageButton::SetAlign(int nAlign, BOOL bRepaint) {
  if (nAlign < IMAGE_LEFT || nAlign > IMAGE_RIGHT) return;
  m_nAlign = nAlign;
  if (bRepaint && m_hWnd != nullptr) Invalidate();
}

void CImageButton::SetDrawTransparent(BOOL bTransparent, BOOL bRepaint) {
  m_bDrawTransparent = bTransparent;
  if (bRepaint && m_hWnd != nullptr) Invalidate();
}

void CImageButton::SetColor(int nSlot, COLORREF crColor, BOOL bRepaint) {
  if (nSlot < 0 || nSlot >= COLOR_COUNT) return;
  m_crColors[nSlot] = crColor;
  if (bRepaint && m_hWnd != nullptr) Invalidate();
}

void CImageButton::SetSound(LPCTSTR lpszSound, HMODULE hModule, DWORD dwFlags) {
  m_strSound = lpszSound != nullptr ? lpszSound : L"";
  m_hSoundModule = hModule;
  m_dwSoundFlags = dwFlags;
}

BOOL CImageButton::SetPopupMenu(UINT nMenu, HWND hCommandWnd) {
  if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  m_hCommandWnd = nullptr;
  if (nMenu == 0) return TRUE;
  m_hMenu = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(nMenu));
  if (m_hMenu == nullptr) return FALSE;
  m_hCommandWnd = hCommandWnd;
  return TRUE;
}

void CImageButton::SetMenuCallback(HWND hWnd, UINT nMessage) {
  m_hMenuCallbackWnd = hWnd;
  m_nMenuCallbackMessage = nMessage;
}

void CImageButton::SetURL(LPCTSTR lpszURL) { m_strURL = lpszURL != nullptr ? lpszURL : L""; }

void CImageButton::SetBtnCursor(int nCursorId) {
  m_hCursor = nCursorId > 0
                  ? static_cast<HCURSOR>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nCursorId),
                                                     IMAGE_CURSOR, 0, 0, LR_SHARED))
                  : nullptr;
}

void CImageButton::PlayTheSound() {
  if (!m_strSound.IsEmpty()) ::PlaySound(m_strSound, m_hSoundModule, m_dwSoundFlags);
}

BOOL CImageButton::PreTranslateMessage(MSG* pMsg) {
  InitToolTip();
  if (m_tooltip.m_hWnd != nullptr) m_tooltip.RelayEvent(pMsg);
  // A double click counts as a second click.
  if (pMsg->message == WM_LBUTTONDBLCLK) pMsg->message = WM_LBUTTONDOWN;
  return CButton::PreTranslateMessage(pMsg);
}

UINT CImageButton::OnGetDlgCode() {
  UINT nCode = CButton::OnGetDlgCode();
  nCode |= m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
  return nCode;
}

LRESULT CImageButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
  const UINT nNewType = static_cast<UINT>(wParam) & BS_TYPEMASK;
  if (nNewType == BS_DEFPUSHBUTTON) {
    m_bIsDefault = TRUE;
  } else if (nNewType == BS_PUSHBUTTON) {
    m_bIsDefault = FALSE;
  }
  return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
}

LRESULT CImageButton::OnSetCheck(WPARAM wParam, LPARAM /*lParam*/) {
  m_nCheck = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
  Invalidate();
  return 0;
}

LRESULT CImageButton::OnGetCheck(WPARAM /*wParam*/, LPARAM /*lParam*/) { return m_nCheck; }

HBRUSH CImageButton::CtlColor(CDC* /*pDC*/, UINT /*nCtlColor*/) {
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CImageButton::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

BOOL CImageButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hCursor != nullptr) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CImageButton::CancelHover() {
  if (!m_bMouseOnButton) return;
  m_bMouseOnButton = FALSE;
  RestoreTipPlaces();
  Invalidate();
}

void CImageButton::OnDestroy() {
  CancelHover();
  CButton::OnDestroy();
}

void CImageButton::OnMouseMove(UINT nFlags, CPoint point) {
  CButton::OnMouseMove(nFlags, point);
  if (!m_bIsFlat) return;
  // A press that started elsewhere does not light the button up on its way over it.
  if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton) return;
  CPoint ptScreen = point;
  ClientToScreen(&ptScreen);
  const HWND hUnder = ::WindowFromPoint(ptScreen);
  if (hUnder == m_hWnd && (m_bAlwaysTrack || ::GetActiveWindow() != nullptr)) {
    if (!m_bMouseOnButton) {
      m_bMouseOnButton = TRUE;
      ShowTipInPlaces();
      Invalidate();
      PlayTheSound();
      TRACKMOUSEEVENT tme = {};
      tme.cbSize = sizeof(tme);
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = m_hWnd;
      ::TrackMouseEvent(&tme);
    }
  } else {
    CancelHover();
  }
}

void CImageButton::OnMouseLeave() {
  CancelHover();
  CButton::OnMouseLeave();
}

void CImageButton::OnKillFocus(CWnd* pNewWnd) {
  CButton::OnKillFocus(pNewWnd);
  // Disabling a focused window drops the focus to no window before WM_ENABLE arrives.
  m_bFocusDropped = pNewWnd == nullptr;
  CancelHover();
}

void CImageButton::OnCancelMode() {
  CButton::OnCancelMode();
  CancelHover();
}

void CImageButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CButton::OnActivate(nState, pWndOther, bMinimized);
  if (nState == WA_INACTIVE) CancelHover();
}

void CImageButton::OnEnable(BOOL bEnable) {
  CButton::OnEnable(bEnable);
  if (bEnable) return;
  // A disabled button cannot keep the focus; one that does not have it leaves the focus where it is.
  CWnd* pParent = GetParent();
  const HWND hFocus = ::GetFocus();
  const BOOL bHadFocus = hFocus == m_hWnd || (hFocus == nullptr && m_bFocusDropped);
  m_bFocusDropped = FALSE;
  if (pParent != nullptr && bHadFocus) {
    CWnd* pNext = pParent->GetNextDlgTabItem(this);
    if (pNext != nullptr && pNext->m_hWnd != m_hWnd) {
      pNext->SetFocus();
    } else {
      pParent->SetFocus();
    }
  }
  CancelHover();
}

void CImageButton::OnSysColorChange() {
  CButton::OnSysColorChange();
  ResetColors();
  Invalidate();
}

BOOL CImageButton::OnClicked() {
  SetFocus();
  PlayTheSound();
  if (m_bIsCheckBox) {
    m_nCheck = !m_nCheck;
    Invalidate();
  } else if (m_hMenu != nullptr) {
    HMENU hSubMenu = ::GetSubMenu(m_hMenu, 0);
    if (hSubMenu != nullptr) {
      m_bMenuDisplayed = TRUE;
      Invalidate();
      UpdateWindow();
      if (m_hMenuCallbackWnd != nullptr) {
        ::SendMessage(m_hMenuCallbackWnd, m_nMenuCallbackMessage, reinterpret_cast<WPARAM>(hSubMenu),
                      reinterpret_cast<LPARAM>(m_hWnd));
      }
      CRect rcWnd;
      GetWindowRect(&rcWnd);
      const UINT nCommand = static_cast<UINT>(::TrackPopupMenuEx(
          hSubMenu, TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, rcWnd.left, rcWnd.bottom,
          m_hCommandWnd != nullptr ? m_hCommandWnd : m_hWnd, nullptr));
      m_bMenuDisplayed = FALSE;
      Invalidate();
      if (nCommand != 0 && m_hCommandWnd != nullptr) {
        ::PostMessage(m_hCommandWnd, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
      }
    }
  } else if (!m_strURL.IsEmpty()) {
    SHELLEXECUTEINFO sei = {};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.lpVerb = L"open";
    sei.lpFile = m_strURL;
    sei.nShow = SW_MAXIMIZE;
    ::ShellExecuteEx(&sei);
  }
  // The parent gets the click as its command too.
  return FALSE;
}

COLORREF CImageButton::StateColor(BOOL bForeground, BOOL bIsPressed, BOOL bIsFocused) const {
  int nSlot = COLOR_BK_OUT;
  if (m_bMouseOnButton || bIsPressed) {
    nSlot = COLOR_BK_IN;
  } else if (bIsFocused) {
    nSlot = COLOR_BK_FOCUS;
  }
  return m_crColors[nSlot + (bForeground ? 1 : 0)];
}

void CImageButton::PaintParentBackground(CDC* pDC) {
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  CRect rcInParent;
  GetWindowRect(&rcInParent);
  pParent->ScreenToClient(&rcInParent);
  if (m_dcBk.m_hDC == nullptr) {
    CClientDC parentDC(pParent);
    m_dcBk.CreateCompatibleDC(&parentDC);
    m_bmpBk.CreateCompatibleBitmap(&parentDC, rcClient.Width(), rcClient.Height());
    m_pbmpOldBk = m_dcBk.SelectObject(&m_bmpBk);
    m_dcBk.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &parentDC, rcInParent.left, rcInParent.top,
                  SRCCOPY);
  }
  pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_dcBk, 0, 0, SRCCOPY);
}

void CImageButton::OnDrawBackground(CDC* pDC, CRect* pRect) {
  pDC->FillSolidRect(pRect, StateColor(FALSE, m_bIsPressed, m_bIsFocused));
}

void CImageButton::OnDrawBorder(CDC* pDC, CRect* pRect) {
  if (m_bIsFlat) {
    if (!m_bDrawBorder) return;
    if (m_bIsPressed) {
      pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    } else if (m_bMouseOnButton) {
      pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
    return;
  }
  CRect rc = *pRect;
  if (m_bIsPressed) {
    pDC->Draw3dRect(&rc, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DDKSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNSHADOW));
  } else {
    pDC->Draw3dRect(&rc, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  }
}

void CImageButton::PrepareImageRect(BOOL bHasTitle, const CRect& rcItem, CRect* pCaption, BOOL bIsPressed,
                                    DWORD dwWidth, DWORD dwHeight, CRect* pImage) const {
  const int nWidth = static_cast<int>(dwWidth);
  const int nHeight = static_cast<int>(dwHeight);
  *pImage = rcItem;
  switch (m_nAlign) {
    case IMAGE_ABOVE:
      pImage->left += (rcItem.Width() - nWidth) / 2;
      if (bHasTitle) {
        pImage->top += m_ptImageMargin.y;
        pCaption->top += nHeight + m_ptImageMargin.y;
      } else {
        pImage->top += (rcItem.Height() - nHeight) / 2;
      }
      break;
    case IMAGE_RIGHT:
      if (bHasTitle) {
        pImage->left = rcItem.right - nWidth - m_ptImageMargin.x;
        pCaption->right = pImage->left - m_ptImageMargin.x;
      } else {
        pImage->left += (rcItem.Width() - nWidth) / 2;
      }
      pImage->top += (rcItem.Height() - nHeight) / 2;
      break;
    default:
      if (bHasTitle) {
        pImage->left += m_ptImageMargin.x;
        pCaption->left += nWidth + m_ptImageMargin.x;
      } else {
        pImage->left += (rcItem.Width() - nWidth) / 2;
      }
      pImage->top += (rcItem.Height() - nHeight) / 2;
      break;
  }
  if (bIsPressed) {
    if (m_nPressedStyle == 0) {
      pImage->OffsetRect(1, 1);
    } else {
      pImage->OffsetRect(0, 2);
    }
  }
  pImage->right = pImage->left + nWidth;
  pImage->bottom = pImage->top + nHeight;
}

void CImageButton::DrawTheIcon(CDC* pDC, BOOL bHasTitle, const CRect& rcItem, CRect* pCaption,
                               BOOL bIsPressed, BOOL bIsDisabled) {
  int nIndex = kIn;
  if (!(m_bMouseOnButton || bIsPressed) && m_icons[kOut].hIcon != nullptr) nIndex = kOut;
  const Image& icon = m_icons[nIndex];
  CRect rcImage;
  PrepareImageRect(bHasTitle, rcItem, pCaption, bIsPressed, icon.dwWidth, icon.dwHeight, &rcImage);
  pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), icon.hIcon,
                 DST_ICON | (bIsDisabled ? DSS_DISABLED : DSS_NORMAL), static_cast<HBRUSH>(nullptr));
}

void CImageButton::DrawTheBitmap(CDC* pDC, BOOL bHasTitle, const CRect& rcItem, CRect* pCaption,
                                 BOOL bIsPressed, BOOL bIsDisabled) {
  int nIndex = kIn;
  if (bIsDisabled) {
    if (!m_bShowDisabledBitmap || m_bitmaps[kDisabled].hBitmap == nullptr) return;
    nIndex = kDisabled;
  } else if (!(m_bMouseOnButton || bIsPressed) && m_bitmaps[kOut].hBitmap != nullptr) {
    nIndex = kOut;
  }
  const Image& image = m_bitmaps[nIndex];
  CRect rcImage;
  PrepareImageRect(bHasTitle, rcItem, pCaption, bIsPressed, image.dwWidth, image.dwHeight, &rcImage);

  HDC hdcImage = ::CreateCompatibleDC(pDC->m_hDC);
  HGDIOBJ hOld = ::SelectObject(hdcImage, image.hMask);
  const COLORREF crOldBk = pDC->SetBkColor(RGB(255, 255, 255));
  const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
  pDC->BitBlt(rcImage.left, rcImage.top, rcImage.Width(), rcImage.Height(), CDC::FromHandle(hdcImage), 0, 0,
              SRCAND);
  ::SelectObject(hdcImage, image.hBitmap);
  pDC->BitBlt(rcImage.left, rcImage.top, rcImage.Width(), rcImage.Height(), CDC::FromHandle(hdcImage), 0, 0,
              SRCPAINT);
  pDC->SetBkColor(crOldBk);
  pDC->SetTextColor(crOldText);
  ::SelectObject(hdcImage, hOld);
  ::DeleteDC(hdcImage);
}

void CImageButton::DrawTheText(CDC* pDC, LPCTSTR lpszText, const CRect& /*rcItem*/, CRect* pCaption,
                               BOOL bIsPressed, BOOL bIsDisabled) {
  CRect rcCentre = *pCaption;
  pDC->DrawText(lpszText, -1, pCaption, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
  pCaption->OffsetRect((rcCentre.Width() - pCaption->Width()) / 2,
                       (rcCentre.Height() - pCaption->Height()) / 2);
  pDC->SetBkMode(TRANSPARENT);
  if (bIsDisabled) {
    pCaption->OffsetRect(1, 1);
    pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->DrawText(lpszText, -1, pCaption, DT_WORDBREAK | DT_CENTER);
    pCaption->OffsetRect(-1, -1);
    pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    pDC->DrawText(lpszText, -1, pCaption, DT_WORDBREAK | DT_CENTER);
  } else {
    pDC->SetTextColor(StateColor(TRUE, bIsPressed, m_bIsFocused));
    pDC->SetBkColor(StateColor(FALSE, bIsPressed, m_bIsFocused));
    pDC->DrawText(lpszText, -1, pCaption, DT_WORDBREAK | DT_CENTER);
  }
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  m_bIsPressed =
      (lpDIS->itemState & ODS_SELECTED) != 0 || (m_bIsCheckBox && m_nCheck != 0) || m_bMenuDisplayed;
  m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
  m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
  CRect rcItem = lpDIS->rcItem;
  if (rcItem.IsRectEmpty()) return;
  pDC->SetBkMode(TRANSPARENT);

  if (m_bDrawTransparent) {
    PaintParentBackground(pDC);
  } else {
    OnDrawBackground(pDC, &rcItem);
  }
  OnDrawBorder(pDC, &rcItem);

  CString strTitle;
  GetWindowText(strTitle);
  CRect rcCaption = lpDIS->rcItem;
  if (m_icons[kIn].hIcon != nullptr) {
    DrawTheIcon(pDC, !strTitle.IsEmpty(), lpDIS->rcItem, &rcCaption, m_bIsPressed, m_bIsDisabled);
  } else if (m_bitmaps[kIn].hBitmap != nullptr) {
    DrawTheBitmap(pDC, !strTitle.IsEmpty(), lpDIS->rcItem, &rcCaption, m_bIsPressed, m_bIsDisabled);
  }
  if (!strTitle.IsEmpty()) {
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (hFont == nullptr) hFont = ::GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ hOldFont = ::SelectObject(pDC->m_hDC, hFont);
    DrawTheText(pDC, strTitle, lpDIS->rcItem, &rcCaption, m_bIsPressed, m_bIsDisabled);
    ::SelectObject(pDC->m_hDC, hOldFont);
  }
  if (m_bIsFocused && (!m_bIsFlat || m_bDrawFlatFocus)) {
    CRect rcFocus = lpDIS->rcItem;
    rcFocus.DeflateRect(3, 3);
    pDC->DrawFocusRect(&rcFocus);
  }
}
