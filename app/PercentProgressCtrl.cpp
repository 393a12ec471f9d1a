// The percent progress bar's painting.
#include "PercentProgressCtrl.h"

#include "DrawHelpers.h"
#include "MemDC.h"
#include "SystemResources.h"

BEGIN_MESSAGE_MAP(CPercentProgressCtrl, CProgressCtrl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPercentProgressCtrl::CPercentProgressCtrl() : m_bTextLeft(FALSE) {}

int CPercentProgressCtrl::GetPercent() const {
  const int pos = GetPos();
  int lower = 0;
  int upper = 0;
  GetRange(lower, upper);
  if (upper < 1) return 0;
  // 64-bit so that a 32-bit range near its top does not overflow the multiplication.
  return static_cast<int>(static_cast<long long>(pos) * 100 / upper);
}

CString CPercentProgressCtrl::GetPercentText() const {
  CString text;
  GetWindowText(text);
  CString shown;
  shown.Format(L"%d", GetPercent());
  return shown + L"% " + text;
}

void CPercentProgressCtrl::OnPaint() {
  CPaintDC paintDC(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC dc(&paintDC, rcClient);

  dc.Rectangle(&rcClient);
  CRect rcInside(1, 1, rcClient.right - 1, rcClient.bottom - 1);
  dc.FillSolidRect(&rcInside, RGB(255, 255, 255));

  const int percent = GetPercent();
  const int filled = static_cast<int>(rcInside.right * percent * 0.01);
  if (percent >= 1 && filled >= 1) {
    CRect rcFilled(rcInside.left, rcInside.top, filled, rcInside.bottom);
    DrawGradientRect(&dc, &rcFilled, RGB(255, 255, 255), RGB(0, 255, 0), TRUE);
  }

  CString windowText;
  GetWindowText(windowText);
  const CString shown = GetPercentText();
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CFont* pOldFont = dc.SelectObject(&GetSystemResources()->m_fontRegular);
  CRect rcText = rcClient;
  if (m_bTextLeft && !windowText.IsEmpty()) {
    rcText.left = 5;
    dc.DrawText(shown, &rcText, DT_WORDBREAK | DT_NOPREFIX);
  } else {
    dc.DrawText(shown, &rcText, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
  dc.SelectObject(pOldFont);
}

// The whole client area is painted in OnPaint; erasing first would only flicker.
BOOL CPercentProgressCtrl::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }
