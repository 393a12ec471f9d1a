// Tool-tip settings: the tip window's kind and configuration, and the relay of an owner's mouse
// messages through its tool hit test.
#include "TipSettings.h"

#include <cstdlib>
#include <cstring>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "SystemQueries.h"
#include "RichTextTipWindow.h"
#include "TipWindow.h"

IMPLEMENT_DYNAMIC(CXTPTipSettings, CCmdTarget)

namespace {

bool IsMoveOrRelease(UINT message) {
  return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
         message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

bool IsKeyOrPress(UINT message) {
  if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return true;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

// The message's window, or the nearest ancestor that asks for the framework's tool tips, is pOwner.
bool IsMessageOfOwner(CWnd* pOwner, HWND hWnd) {
  for (; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && (pWnd->m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) != 0) return pWnd == pOwner;
  }
  return false;
}

LPTSTR HeapCopy(LPCTSTR lpsz) {
  const size_t nLength = wcslen(lpsz);
  LPTSTR pCopy = static_cast<LPTSTR>(malloc((nLength + 1) * sizeof(TCHAR)));
  if (pCopy != nullptr) memcpy(pCopy, lpsz, (nLength + 1) * sizeof(TCHAR));
  return pCopy;
}

}  // namespace

bool IsAnyMouseButtonDown() {
  return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

CXTPTipSettings::CXTPTipSettings() : m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2) {
  DWORD dwVersion = 0;
  if (XTPSystemQueries()->GetComCtlVersion(&dwVersion)) m_dwComCtlVersion = dwVersion;
}

CXTPTipSettings::~CXTPTipSettings() {
  DestroyTipWindow();
  if (m_hRichEditModule != nullptr) ::FreeLibrary(m_hRichEditModule);
}

void CXTPTipSettings::DestroyTipWindow() {
  if (m_pTipWindow != nullptr) {
    if (::IsWindow(m_pTipWindow->m_hWnd)) m_pTipWindow->DestroyWindow();
    delete m_pTipWindow;
    m_pTipWindow = nullptr;
  }
  m_hWndTipOwner = nullptr;
  m_tiLast = TOOLINFO();
}

void CXTPTipSettings::SetTipKind(int nTipKind) {
  if (m_nTipKind == nTipKind) return;
  m_nTipKind = nTipKind;
  DestroyTipWindow();
}

int CXTPTipSettings::GetDelayTime(DWORD dwDuration) const {
  switch (dwDuration) {
    case TTDT_INITIAL:
      return m_nDelayInitial;
    case TTDT_RESHOW:
      return m_nDelayReshow;
    case TTDT_AUTOPOP:
      return m_nDelayAutoPop;
    default:
      return -1;
  }
}

void CXTPTipSettings::SetDelayTime(DWORD dwDuration, int nTime) {
  switch (dwDuration) {
    case TTDT_INITIAL:
      m_nDelayInitial = nTime;
      break;
    case TTDT_RESHOW:
      m_nDelayReshow = nTime;
      break;
    case TTDT_AUTOPOP:
      m_nDelayAutoPop = nTime;
      break;
    default:
      break;
  }
}

COLORREF CXTPTipSettings::GetTipBkColor() const {
  return m_clrTipBack != static_cast<COLORREF>(-1) ? m_clrTipBack : GetXTPColor(COLOR_INFOBK);
}

COLORREF CXTPTipSettings::GetTipTextColor() const {
  return m_clrTipText != static_cast<COLORREF>(-1) ? m_clrTipText : GetXTPColor(COLOR_INFOTEXT);
}

void CXTPTipSettings::DeactivateTip() {
  if (m_pTipWindow != nullptr && ::IsWindow(m_pTipWindow->m_hWnd))
    m_pTipWindow->SendMessage(TTM_ACTIVATE, FALSE);
}

void CXTPTipSettings::ModifyTipStyle(DWORD dwRemove, DWORD dwAdd) {
  const DWORD dwStyle = (m_dwTipStyle | dwAdd) & ~dwRemove;
  if (dwStyle == m_dwTipStyle) return;
  m_dwTipStyle = dwStyle;
  DestroyTipWindow();
}

CWnd* CXTPTipSettings::CreateTipWindow(CWnd* pOwner) {
  if (m_nTipKind == xtpTipPlain || m_nTipKind == xtpTipRichText || m_nTipKind == xtpTipGradient) {
    CXTPTipWindow* pTip = nullptr;
    if (m_nTipKind == xtpTipRichText) {
      if (m_hRichEditModule == nullptr) m_hRichEditModule = ::LoadLibraryW(L"RICHED20.DLL");
      if (m_hRichEditModule == nullptr) m_hRichEditModule = ::LoadLibraryW(L"RICHED32.DLL");
      pTip = new CXTPRichTextTipWindow(this);
    } else if (m_nTipKind == xtpTipGradient) {
      pTip = new CXTPGradientTipWindow(this);
    } else {
      pTip = new CXTPTipWindow(this);
    }
    if (!pTip->Create(pOwner, m_dwTipStyle)) {
      delete pTip;
      return nullptr;
    }
    return pTip;
  }
  DWORD dwStyle = WS_POPUP | m_dwTipStyle | TTS_ALWAYSTIP;
  if (m_nTipKind == xtpTipSystemBalloon) dwStyle |= TTS_BALLOON;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  CWnd* pTip = new CWnd;
  if (!pTip->CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, pOwner->GetSafeHwnd(), nullptr)) {
    delete pTip;
    return nullptr;
  }
  return pTip;
}

BOOL CXTPTipSettings::EnsureTipWindow(CWnd* pOwner) {
  if (m_pTipWindow != nullptr) return TRUE;
  m_pTipWindow = CreateTipWindow(pOwner);
  if (m_pTipWindow == nullptr) return FALSE;
  m_hWndTipOwner = pOwner->GetSafeHwnd();
  CWnd* pTip = m_pTipWindow;
  pTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
  pTip->SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(static_cast<LPRECT>(&m_rcMargins)));
  if (m_clrTipBack != static_cast<COLORREF>(-1)) pTip->SendMessage(TTM_SETTIPBKCOLOR, m_clrTipBack);
  if (m_clrTipText != static_cast<COLORREF>(-1)) pTip->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrTipText);
  if (m_nDelayReshow != -1) pTip->SendMessage(TTM_SETDELAYTIME, TTDT_RESHOW, m_nDelayReshow);
  if (m_nDelayInitial != -1) pTip->SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, m_nDelayInitial);
  if (m_nDelayAutoPop != -1) pTip->SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, m_nDelayAutoPop);
  pTip->SendMessage(TTM_ACTIVATE, FALSE);
  return TRUE;
}

void CXTPTipSettings::RelayEvent(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {pOwner->GetSafeHwnd(), message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {0, 0}};
  ::GetCursorPos(&msg.pt);
  FilterToolTipMessage(pOwner, &msg, TRUE);
}

void CXTPTipSettings::RelayToTip(MSG* pMsg) {
  MSG relay = *pMsg;
  POINT pt = pMsg->pt;
  HWND hWndUnder = reinterpret_cast<HWND>(
      m_pTipWindow->SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&pt)));
  if (hWndUnder != nullptr) {
    relay.hwnd = hWndUnder;
    ::ScreenToClient(hWndUnder, &pt);
    relay.lParam = MAKELPARAM(pt.x, pt.y);
  }
  m_pTipWindow->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

void CXTPTipSettings::FilterToolTipMessage(CWnd* pOwner, MSG* pMsg, BOOL bRelayed) {
  if (pOwner == nullptr || pOwner->GetSafeHwnd() == nullptr || pMsg == nullptr) return;
  const UINT message = pMsg->message;
  if (IsKeyOrPress(message)) {
    if (bRelayed || IsMessageOfOwner(pOwner, pMsg->hwnd)) DeactivateTip();
    return;
  }
  if (!IsMoveOrRelease(message) || IsAnyMouseButtonDown()) return;
  if (!bRelayed && !IsMessageOfOwner(pOwner, pMsg->hwnd)) return;

  const BOOL bActive = IsTopParentActive(pOwner->m_hWnd);
  if (!bActive && m_pTipWindow != nullptr && m_pTipWindow->IsWindowVisible()) {
    DeactivateTip();
    return;
  }
  // A tip made for another top-level window is of no use here.
  if (m_pTipWindow != nullptr &&
      ::GetWindow(m_pTipWindow->m_hWnd, GW_OWNER) != pOwner->GetTopLevelParent()->GetSafeHwnd()) {
    DestroyTipWindow();
  }
  if (!EnsureTipWindow(pOwner)) return;

  CPoint point = pMsg->pt;
  pOwner->ScreenToClient(&point);
  TOOLINFO ti = {};
  XTP_TOOLTIP_TITLEPAIR titlePair = {};
  ti.cbSize = m_bExtendedToolInfo ? XTP_TOOLINFO_TITLE_SIZE : XTP_TOOLINFO_SIZE;
  if (m_bExtendedToolInfo) ti.lParam = reinterpret_cast<LPARAM>(&titlePair);
  const BOOL bHit = pOwner->OnToolHitTest(point, &ti) != -1;
  if (bHit && ti.hwnd == nullptr) ti.hwnd = pOwner->m_hWnd;

  const BOOL bLastValid = m_tiLast.hwnd != nullptr;
  const BOOL bSame = bHit ? bLastValid && ti.hwnd == m_tiLast.hwnd && ti.uId == m_tiLast.uId &&
                                ::EqualRect(&ti.rect, &m_tiLast.rect)
                          : !bLastValid;
  CWnd* pTip = m_pTipWindow;
  if (bSame) {
    if (bHit) RelayToTip(pMsg);
  } else {
    if (bLastValid) pTip->SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&m_tiLast));
    if (!bHit) {
      pTip->SendMessage(TTM_ACTIVATE, FALSE);
    } else {
      TOOLINFO tiAdd = ti;
      tiAdd.uFlags &= ~XTP_TTF_TOOLKITMASK;
      pTip->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tiAdd));
      if (m_nTipKind != xtpTipRichText && (m_dwComCtlVersion > 0x0005004F || m_nTipKind != xtpTipSystem)) {
        if (m_bExtendedToolInfo && titlePair.pszExtendedText != nullptr && titlePair.pszTitle != nullptr) {
          pTip->SendMessage(TTM_SETTITLEW, static_cast<WPARAM>(m_nTitleIcon),
                            reinterpret_cast<LPARAM>(titlePair.pszTitle));
          TOOLINFO tiText = tiAdd;
          tiText.lpszText = titlePair.pszExtendedText;
          pTip->SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tiText));
        } else {
          // No text at all: the system's control keeps an empty title as a title line of its own.
          pTip->SendMessage(TTM_SETTITLEW, 0, 0);
        }
      }
      if ((ti.uFlags & XTP_TTF_SHOWINACTIVE) != 0 || bActive) {
        pTip->SendMessage(TTM_ACTIVATE, TRUE);
        ::SetWindowPos(pTip->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
      }
    }
    RelayToTip(pMsg);
    m_tiLast = TOOLINFO();
    if (bHit) {
      m_tiLast.cbSize = XTP_TOOLINFO_SIZE;
      m_tiLast.uFlags = ti.uFlags & ~XTP_TTF_TOOLKITMASK;
      m_tiLast.hwnd = ti.hwnd;
      m_tiLast.uId = ti.uId;
      m_tiLast.rect = ti.rect;
    }
  }
  // The hit test's strings were allocated for us.
  if (ti.lpszText != LPSTR_TEXTCALLBACK) free(ti.lpszText);
  free(titlePair.pszExtendedText);
  free(titlePair.pszTitle);
}

void PASCAL CXTPTipSettings::FillToolInfo(TOOLINFO* pToolInfo, HWND hWnd, const RECT& rect, UINT_PTR nID,
                                          LPCTSTR lpszText, LPCTSTR lpszTitle, LPCTSTR lpszExtendedText) {
  if (pToolInfo == nullptr || pToolInfo->cbSize < XTP_TOOLINFO_SIZE) return;
  pToolInfo->hwnd = hWnd;
  pToolInfo->rect = rect;
  pToolInfo->uId = nID;
  pToolInfo->lpszText = HeapCopy(lpszText != nullptr ? lpszText : _T(""));
  if (pToolInfo->cbSize != XTP_TOOLINFO_TITLE_SIZE || pToolInfo->lParam == 0) return;
  if (lpszTitle == nullptr || *lpszTitle == 0 || lpszExtendedText == nullptr || *lpszExtendedText == 0)
    return;
  XTP_TOOLTIP_TITLEPAIR* pPair = reinterpret_cast<XTP_TOOLTIP_TITLEPAIR*>(pToolInfo->lParam);
  pPair->pszExtendedText = HeapCopy(lpszExtendedText);
  pPair->pszTitle = HeapCopy(lpszTitle);
}
