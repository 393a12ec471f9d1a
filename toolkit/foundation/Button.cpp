// CXTButton: style flags, colour setters, hot tracking and flicker-free painting. The icon setters
// are in ButtonIcon.cpp.
#include "Button.h"

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "MemDC.h"
#include "SystemResources.h"

namespace {
constexpr UINT_PTR kHotTimer = 1;
constexpr UINT kHotTimerMs = 10;
}  // namespace

IMPLEMENT_DYNAMIC(CXTButton, CButton)

BEGIN_MESSAGE_MAP(CXTButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_WM_LBUTTONDBLCLK()
ON_WM_CREATE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CXTButton::CXTButton(CRuntimeClass* pFactoryClass)
    : CXTThemeStyleHost(pFactoryClass != nullptr ? pFactoryClass : RUNTIME_CLASS(CXTButtonThemeFactory)) {}

CXTButton::~CXTButton() {
  DeleteIcon();
  // The window outlives nothing of ours: its subclassing ends with the CWnd destructor.
}

CXTButtonStyleBase* CXTButton::GetButtonStyle() const {
  return dynamic_cast<CXTButtonStyleBase*>(CXTThemeStyleHost::GetStyle());
}

BOOL CXTButton::PreCreateWindow(CREATESTRUCT& cs) {
  m_bSubclassed = FALSE;
  return CButton::PreCreateWindow(cs);
}

void CXTButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  if (m_bSubclassed) SetOwnerDraw();
}

int CXTButton::OnCreate(LPCREATESTRUCT /*lpCreateStruct*/) {
  const int nResult = static_cast<int>(Default());
  if (nResult == -1) return -1;
  if (!m_bSubclassed) SetOwnerDraw();
  return nResult;
}

BOOL CXTButton::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE) {
    if (CXTThemeStyleBase* pStyle = CXTThemeStyleHost::GetStyle()) pStyle->RefreshStyle();
  }
  return CButton::OnWndMsg(message, wParam, lParam, pResult);
}

void CXTButton::SetOwnerDraw() {
  if (GetSafeHwnd() == nullptr) return;
  const DWORD dwStyle = GetStyle();
  if ((dwStyle & BS_TYPEMASK) != BS_OWNERDRAW)
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwStyle | BS_OWNERDRAW));
}

void CXTButton::RedrawButton(BOOL bRedraw) {
  if (bRedraw && GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

BOOL CXTButton::ChangeStyle(const std::function<void(CXTButtonStyleBase*)>& change) {
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  if (pStyle == nullptr) return FALSE;
  change(pStyle);
  RedrawButton(TRUE);
  return TRUE;
}

void CXTButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (CXTButtonStyleBase* pStyle = GetButtonStyle()) pStyle->DrawButton(lpDrawItemStruct, this);
}

BOOL CXTButton::SetTextAndImagePos(CPoint ptImage, CPoint ptText, BOOL bRedraw) {
  m_ptImage = ptImage;
  m_ptText = ptText;
  m_bUserPosition = TRUE;
  RedrawButton(bRedraw);
  return TRUE;
}

DWORD CXTButton::SetXButtonStyle(DWORD dwStyle, BOOL bRedraw) {
  const DWORD dwOld = m_dwxStyle;
  m_dwxStyle = dwStyle;
  CXTThemeStyleBase* pStyle = nullptr;
  if (dwStyle & XButtonFlatTheme)
    pStyle = new CXTButtonStyleFlat;
  else if (dwStyle & XButtonFlat)
    pStyle = new CXTButtonStyleBase;
  if (pStyle != nullptr) pStyle->m_nTheme = (dwStyle & XButtonFlatTheme) ? 1 : 0;
  SwitchStyle(pStyle);
  RedrawButton(bRedraw);
  return dwOld;
}

BOOL CXTButton::SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText) {
  return ChangeStyle(
      [=](CXTButtonStyleBase* pStyle) { pStyle->SetColors(clrFace, clrLight, clrShadow, clrText); });
}

BOOL CXTButton::SetFaceColor(COLORREF clrFace) {
  return ChangeStyle([=](CXTButtonStyleBase* pStyle) { pStyle->SetFaceColor(clrFace); });
}

COLORREF CXTButton::GetFaceColor() {
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  return pStyle != nullptr ? pStyle->GetFaceColor() : GetSystemResources()->m_clrBtnFace;
}

BOOL CXTButton::SetLightColor(COLORREF clrLight) {
  return ChangeStyle([=](CXTButtonStyleBase* pStyle) { pStyle->SetLightColor(clrLight); });
}

BOOL CXTButton::SetShadowColor(COLORREF clrShadow) {
  return ChangeStyle([=](CXTButtonStyleBase* pStyle) { pStyle->SetShadowColor(clrShadow); });
}

BOOL CXTButton::SetTextColor(COLORREF clrText) {
  return ChangeStyle([=](CXTButtonStyleBase* pStyle) { pStyle->SetTextColor(clrText); });
}

BOOL CXTButton::SetFlatColors(COLORREF clrBorder, COLORREF clrHotFace, COLORREF clrPushedFace) {
  // The scheme style derives from the flat one but is not the flat style.
  auto* pStyle = dynamic_cast<CXTButtonStyleFlat*>(CXTThemeStyleHost::GetStyle());
  if (pStyle == nullptr || dynamic_cast<CXTButtonStyleScheme*>(pStyle) != nullptr) return FALSE;
  pStyle->SetLightColor(clrBorder);
  pStyle->SetShadowColor(clrBorder);
  pStyle->SetHotFaceColor(clrHotFace);
  pStyle->SetPushedFaceColor(clrPushedFace);
  RedrawButton(TRUE);
  return TRUE;
}

void CXTButton::ToggleImages() {
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  if (pStyle == nullptr) return;
  pStyle->SetShowImages(!pStyle->GetShowImages());
  RedrawButton(TRUE);
}

CFont* CXTButton::SetFontEx(CFont* pFont) {
  if (GetSafeHwnd() == nullptr) return nullptr;
  CFont* pOldFont = GetFont();
  SetFont(pFont, TRUE);
  return pOldFont;
}

CString CXTButton::GetButtonText(BOOL bRemoveAmpersands) {
  CString strText;
  if (GetSafeHwnd() != nullptr) GetWindowText(strText);
  if (bRemoveAmpersands) StripMnemonics(strText);
  return strText;
}

CSize CXTButton::GetImageSize() {
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  if (pStyle == nullptr || !pStyle->GetShowImages() || m_pIcon == nullptr) return CSize(0, 0);
  return m_sizeImage;
}

CPoint CXTButton::GetExplicitImagePos() {
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  return pStyle != nullptr && pStyle->GetShowImages() ? m_ptImage : CPoint(0, 0);
}

CPoint CXTButton::GetExplicitTextPos() {
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  return pStyle != nullptr && pStyle->GetShowImages() ? m_ptText : CPoint(0, 0);
}

// ---- Hot tracking --------------------------------------------------------------------------------

void CXTButton::OnMouseMove(UINT nFlags, CPoint point) {
  CButton::OnMouseMove(nFlags, point);
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  if (pStyle != nullptr && pStyle->UsesHotTracking(this)) {
    SetTimer(kHotTimer, kHotTimerMs);
    OnTimer(kHotTimer);
  }
}

void CXTButton::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHotTimer) {
    CButton::OnTimer(nIDEvent);
    return;
  }
  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  if (m_bLBtnDown || !rcWindow.PtInRect(ptCursor)) {
    KillTimer(kHotTimer);
    m_bHot = FALSE;
    if (m_bHotTimer) Invalidate(FALSE);
    m_bHotTimer = FALSE;
    return;
  }
  CXTButtonStyleBase* pStyle = GetButtonStyle();
  if (pStyle != nullptr && pStyle->UsesHotTracking(this) && !m_bHotTimer) {
    m_bHot = TRUE;
    Invalidate(FALSE);
    m_bHotTimer = TRUE;
  }
}

void CXTButton::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!m_bLBtnDown) {
    m_bLBtnDown = TRUE;
    Invalidate(FALSE);
  }
  CButton::OnLButtonDown(nFlags, point);
}

void CXTButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bLBtnDown) {
    m_bLBtnDown = FALSE;
    Invalidate(FALSE);
  }
  CButton::OnLButtonUp(nFlags, point);
}

void CXTButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // A double click counts as a second press.
  SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

// ---- Painting ------------------------------------------------------------------------------------

BOOL CXTButton::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CXTButton::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC memDC(&dc, rcClient, GetXTPColor(COLOR_BTNFACE));
  if (!memDC.IsValid()) return;
  // The system's button procedure draws an owner-draw button by sending WM_DRAWITEM with this DC.
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}
