// The flat edit: hot tracking and its border painted through its style.
#include "FlatEdit.h"

#include "ColorTable.h"
#include "MemDC.h"

namespace {

constexpr UINT_PTR kHotTimer = 1000;
constexpr UINT kHotTimerMs = 10;

}  // namespace

IMPLEMENT_DYNAMIC(CXTFlatEdit, CEdit)

BEGIN_MESSAGE_MAP(CXTFlatEdit, CEdit)
ON_WM_NCPAINT()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CXTFlatEdit::CXTFlatEdit() : CXTThemeStyleHost(RUNTIME_CLASS(CXTFlatEditThemeFactory)) {}
CXTFlatEdit::~CXTFlatEdit() = default;

int CXTFlatEdit::GetFrameState() {
  if (GetSafeHwnd() == nullptr) return xtFlatNormal;
  return m_bHot || ::GetFocus() == m_hWnd ? xtFlatHot : xtFlatNormal;
}

void CXTFlatEdit::OnNcPaint() {
  CWindowDC dc(this);
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  CRect rcClient;
  GetClientRect(&rcClient);
  ClientToScreen(&rcClient);
  rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
  rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
  dc.ExcludeClipRect(&rcClient);
  const BOOL bEnabled = IsWindowEnabled();
  CXTMemDC memDC(&dc, rcWindow, GetXTPColor(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
  if (!memDC.IsValid()) return;
  if (auto* pStyle = dynamic_cast<CXTFlatEditStyle*>(CXTThemeStyleHost::GetStyle()))
    pStyle->DrawBorders(&memDC, rcWindow, GetFrameState(), bEnabled);
}

void CXTFlatEdit::OnMouseMove(UINT nFlags, CPoint point) {
  SetTimer(kHotTimer, kHotTimerMs);
  OnTimer(kHotTimer);
  CEdit::OnMouseMove(nFlags, point);
}

void CXTFlatEdit::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHotTimer) {
    CEdit::OnTimer(nIDEvent);
    return;
  }
  CPoint pt;
  ::GetCursorPos(&pt);
  CRect rc;
  GetWindowRect(&rc);
  const BOOL bHot = rc.PtInRect(pt);
  if (!bHot) KillTimer(kHotTimer);
  if (bHot != m_bHot) {
    m_bHot = bHot;
    SendMessage(WM_NCPAINT);
  }
}

void CXTFlatEdit::OnSetFocus(CWnd* pOldWnd) {
  CEdit::OnSetFocus(pOldWnd);
  SendMessage(WM_NCPAINT);
}

void CXTFlatEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  SendMessage(WM_NCPAINT);
}
