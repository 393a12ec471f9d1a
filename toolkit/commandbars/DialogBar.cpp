// The dialog bar: its caption strip with the caption control and the close button, the layouts for
// docking and floating, placing the hosted window, resizing by the edges and their hit-testing.
#include "DialogBar.h"

#include "BarTheme.h"
#include "CommandBars.h"
#include "ControlButton.h"
#include "ControlPopup.h"
#include "Controls.h"
#include "PopupBar.h"

#include <ColorTable.h>
#include <DrawHelpers.h>
#include <ScopedFont.h>

#include <algorithm>

namespace {

constexpr DWORD kCaptionControlFlags = 0x1E;
constexpr DWORD kCloseControlFlags = 0x1A;

// The close button: the close glyph of "Marlett" over the theme's button face; running it hides the bar.
class CDialogBarCloseButton : public CXTPControlButton {
 public:
  void Draw(CDC* pDC) override {
    const CRect rc = GetRect();
    GetPaintManager()->DrawControlFace(pDC, rc, GetEnabled(), GetSelected(), GetPressed(), FALSE, FALSE,
                                       xtpBarTop);
    pDC->SetTextColor(GetXTPColor(COLOR_BTNTEXT));
    DrawMarlettGlyph(pDC, rc, kMarlettClose);
  }
  void OnExecute() override {
    if (CXTPCommandBar* pBar = GetParent()) pBar->SetVisible(FALSE);
  }
};

// The caption: the caption text, and the arrow of the caption popup when the popup holds controls.
class CDialogBarCaption : public CXTPControlPopup {
 public:
  BOOL m_bHasPopup = FALSE;

  void Draw(CDC* pDC) override {
    const CRect rc = GetRect();
    COLORREF clrText = GetXTPColor(18);
    if (m_bHasPopup) {
      GetPaintManager()->DrawControlFace(pDC, rc, GetEnabled(), GetSelected(), GetPressed(), FALSE,
                                         GetPopuped(), xtpBarTop);
    }
    CRect rcText(rc.left + 2, rc.top, rc.right - (m_bHasPopup ? 15 : 2), rc.bottom);
    // The caption strip was measured with the theme's caption font; the bar's own font would be the
    // vertical one on a bar docked at a side, which writes the text out of the strip.
    CXTPScopedFont font(pDC, GetPaintManager()->GetSmallCaptionFont());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(clrText);
    CString str = GetCaption();
    pDC->DrawText(str, &rcText, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (m_bHasPopup) {
      const int y = rc.CenterPoint().y;
      const POINT pts[3] = {{rc.right - 13, y - 2}, {rc.right - 5, y - 2}, {rc.right - 9, y + 2}};
      CBrush brush(clrText);
      CPen pen(PS_SOLID, 1, clrText);
      CBrush* pOldBrush = pDC->SelectObject(&brush);
      CPen* pOldPen = pDC->SelectObject(&pen);
      pDC->Polygon(pts, 3);
      pDC->SelectObject(pOldPen);
      pDC->SelectObject(pOldBrush);
    }
  }
  BOOL SetPopuped(BOOL bPopuped) override {
    if (bPopuped && !m_bHasPopup) return FALSE;
    return CXTPControlPopup::SetPopuped(bPopuped);
  }
  void OnClick(BOOL bKeyboard, CPoint pt) override {
    if (m_bHasPopup) CXTPControlPopup::OnClick(bKeyboard, pt);
  }
  // The popup opens below the caption, as under a control of a horizontal bar.
  void AdjustExcludeRect(CRect& rc) override { GetPaintManager()->AdjustExcludeRect(rc, this, FALSE); }
};

}  // namespace

IMPLEMENT_SERIAL(CXTPDialogBar, CXTPToolBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPDialogBar, CXTPToolBar)
ON_WM_NCHITTEST()
ON_WM_SIZE()
END_MESSAGE_MAP()

CXTPDialogBar::CXTPDialogBar() {
  m_pCaptionPopupBar = CXTPPopupBar::CreatePopupBarForCommandBars(nullptr);
  m_bCustomizable = FALSE;
}

CXTPDialogBar::~CXTPDialogBar() {
  if (m_pCaptionPopupBar != nullptr) m_pCaptionPopupBar->InternalRelease();
  m_pCaptionPopupBar = nullptr;
}

void CXTPDialogBar::SetChild(CWnd* pChild) {
  m_hWndChild = pChild != nullptr ? pChild->GetSafeHwnd() : nullptr;
  if (m_hWnd != nullptr) PlaceChild();
}

void CXTPDialogBar::SetCaption(LPCTSTR lpszCaption) {
  m_strCaption = lpszCaption != nullptr ? lpszCaption : _T("");
  DelayLayout();
}

CRect CXTPDialogBar::GetClientBorders() {
  CRect rc = m_rcBorders;
  if (m_bCaptionVisible) {
    CClientDC dc(m_hWnd != nullptr ? this : nullptr);
    CXTPBarTheme* pTheme = GetPaintManager();
    CXTPScopedFont font(&dc, pTheme->GetSmallCaptionFont());
    rc.top += pTheme->DrawDialogBarGripper(&dc, this, FALSE).cy;
  }
  return rc;
}

CSize CXTPDialogBar::CalcLayout(int nLength, DWORD dwMode, int nClientCx, int nClientCy) {
  int cx = nClientCx + m_rcBorders.left + m_rcBorders.right;
  int cy = nClientCy;
  if (!m_bCaptionVisible) {
    m_nCaptionHeight = 0;
    return CSize(cx, cy + m_rcBorders.top + m_rcBorders.bottom);
  }
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetSmallCaptionFont());
  const CSize szCaption = pTheme->DrawDialogBarGripper(&dc, this, FALSE);
  const int h = szCaption.cy;
  m_nCaptionHeight = m_rcBorders.top + h;
  cy = nClientCy + m_rcBorders.top + m_rcBorders.bottom + h;

  if (dwMode & LM_STRETCH) {
    if (dwMode & LM_VERTDOCK) {
      cy = std::max(cy, nLength);
    } else {
      cx = std::max(cx, nLength);
    }
  }
  if (dwMode & LM_HORZ) {
    cx = std::min(cx, nLength);
  } else {
    cy = std::min(cy, nLength);
  }

  int nRight = cx - m_rcBorders.right;
  const int yCentre = m_rcBorders.top + h / 2 - 8;

  CXTPControl* pClose = m_pControls->FindControl(kCloseId);
  if (m_bCloseable && pClose == nullptr) {
    pClose = m_pControls->AddControl(new CDialogBarCloseButton, kCloseId, nullptr, -1, TRUE);
    pClose->SetFlags(kCloseControlFlags);
  }
  if (pClose != nullptr) {
    if (!m_bCloseable) {
      pClose->SetHideFlags(pClose->GetHideFlags() | xtpHideGeneric);
    } else {
      pClose->SetHideFlags(pClose->GetHideFlags() & ~xtpHideGeneric);
      pClose->SetRect(CRect(nRight - 16, yCentre, nRight, yCentre + 16));
      nRight -= 16;
    }
  }

  auto* pCaption = static_cast<CDialogBarCaption*>(m_pControls->FindControl(kCaptionId));
  if (pCaption == nullptr) {
    pCaption = new CDialogBarCaption;
    pCaption->SetCommandBar(m_pCaptionPopupBar);
    m_pControls->AddControl(pCaption, kCaptionId, nullptr, -1, TRUE);
    pCaption->SetFlags(kCaptionControlFlags);
  }
  pCaption->m_bHasPopup = m_bCaptionPopup && m_pCaptionPopupBar->GetControlCount() > 0;
  pCaption->SetRect(CRect(m_rcBorders.left + szCaption.cx, yCentre, nRight, yCentre + 16));
  pCaption->SetCaption(m_strCaption.IsEmpty() ? m_strTitle : m_strCaption);
  return CSize(cx, cy);
}

CSize CXTPDialogBar::CalcDockingLayout(int nLength, DWORD dwMode, int) {
  return CalcLayout(nLength, dwMode, m_szDockingClient.cx, m_szDockingClient.cy);
}

CSize CXTPDialogBar::CalcDynamicLayout(int, DWORD dwMode) {
  return CalcLayout(32000, dwMode, m_szFloatingClient.cx, m_szFloatingClient.cy);
}

int CXTPDialogBar::IsPointInBar(CPoint point, HWND) const {
  CRect rc;
  GetWindowRect(&rc);
  rc.bottom = rc.top + m_nCaptionHeight;
  return rc.PtInRect(point) ? 1 : -2;
}

CXTPCommandBar* CXTPDialogBar::CreateCopy(BOOL bRecursive) {
  CXTPDialogBar* pBar = new CXTPDialogBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

void CXTPDialogBar::OnResize(int nLeft, int nTop, int nRight, int nBottom, int nHitTest) {
  const CRect rc(nLeft, nTop, nRight, nBottom);
  // The limit is on the hosted window's size, so the borders and the caption come off first.
  const CRect rcBorders = GetClientBorders();
  const CSize szClient(rc.Width() - rcBorders.left - rcBorders.right,
                       rc.Height() - rcBorders.top - rcBorders.bottom);
  if (szClient.cx < m_szMinClient.cx || szClient.cy < m_szMinClient.cy) return;
  if (m_barPosition == xtpBarFloating) {
    m_szFloatingClient = szClient;
    CalcDynamicLayout(32000, LM_COMMIT | LM_HORZ);
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
    return;
  }
  if (nHitTest == HTLEFT || nHitTest == HTRIGHT) {
    m_szDockingClient.cx = szClient.cx;
  } else {
    m_szDockingClient.cy = szClient.cy;
  }
  OnRecalcLayout();
}

LRESULT CXTPDialogBar::OnNcHitTest(CPoint point) {
  if (m_bResizable) {
    CRect rc;
    GetWindowRect(&rc);
    rc.DeflateRect(3, 3);
    const BOOL bAbove = point.y <= rc.top;
    const BOOL bBelow = point.y >= rc.bottom;
    const BOOL bLeft = point.x <= rc.left;
    const BOOL bRight = point.x >= rc.right;
    const BOOL bStretched = (m_dwFlags & xtpFlagStretched) != 0;
    switch (m_barPosition) {
      case xtpBarFloating:
        if (bAbove) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (bBelow) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (bLeft) return HTLEFT;
        if (bRight) return HTRIGHT;
        break;
      case xtpBarTop:
        if (bBelow) return HTBOTTOM;
        if (bRight && !bStretched) return HTRIGHT;
        break;
      case xtpBarBottom:
        if (bRight && !bStretched) return HTRIGHT;
        if (bAbove) return HTTOP;
        break;
      case xtpBarLeft:
      case xtpBarPopup:
        if (bBelow && !bStretched) return HTBOTTOM;
        if (bRight) return HTRIGHT;
        break;
      case xtpBarRight:
        if (bBelow && !bStretched) return HTBOTTOM;
        if (bLeft) return HTLEFT;
        break;
      default:
        break;
    }
  }
  return CXTPCommandBar::OnNcHitTest(point);
}

void CXTPDialogBar::OnSize(UINT nType, int cx, int cy) {
  CXTPToolBar::OnSize(nType, cx, cy);
  PlaceChild();
}

void CXTPDialogBar::PlaceChild() {
  if (m_hWndChild == nullptr || !::IsWindow(m_hWndChild) || m_hWnd == nullptr) return;
  CRect rc;
  GetClientRect(&rc);
  const int nTop = m_bCaptionVisible ? m_nCaptionHeight : m_rcBorders.top;
  ::SetWindowPos(m_hWndChild, nullptr, m_rcBorders.left, nTop,
                 std::max(0, static_cast<int>(rc.Width() - m_rcBorders.left - m_rcBorders.right)),
                 std::max(0, static_cast<int>(rc.Height() - nTop - m_rcBorders.bottom)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(m_hWndChild, nullptr, TRUE);
}
