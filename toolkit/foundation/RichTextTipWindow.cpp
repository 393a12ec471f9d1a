// Rich-text tips: streaming a tool's text into the rich-edit child, finding the tip's width by
// bisection, and rendering the text into the tip.
#include "RichTextTipWindow.h"

#include <richedit.h>

#include <cstring>
#include <string>

#include "TipSettings.h"

IMPLEMENT_DYNAMIC(CXTPRichTextTipWindow, CXTPTipWindow)

namespace {

struct StreamSource {
  const BYTE* pData;
  LONG cbLeft;
};

DWORD CALLBACK ReadStream(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
  StreamSource* pSource = reinterpret_cast<StreamSource*>(dwCookie);
  const LONG cbCopy = cb < pSource->cbLeft ? cb : pSource->cbLeft;
  memcpy(pbBuff, pSource->pData, cbCopy);
  pSource->pData += cbCopy;
  pSource->cbLeft -= cbCopy;
  *pcb = cbCopy;
  return 0;
}

void StreamIn(HWND hWndEdit, UINT nFormat, const void* pData, size_t cbData) {
  StreamSource source = {static_cast<const BYTE*>(pData), static_cast<LONG>(cbData)};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
  ::SendMessageW(hWndEdit, EM_STREAMIN, nFormat, reinterpret_cast<LPARAM>(&stream));
}

// RTF is 8-bit: characters beyond ASCII travel as \uN? escapes.
std::string ToRtfBytes(const CString& strText) {
  std::string bytes;
  for (int i = 0; i < strText.GetLength(); ++i) {
    const wchar_t ch = strText[i];
    if (ch < 0x80) {
      bytes += static_cast<char>(ch);
    } else {
      bytes += "\\u" + std::to_string(static_cast<short>(ch)) + "?";
    }
  }
  return bytes;
}

}  // namespace

BOOL CXTPRichTextTipWindow::Create(CWnd* pOwner, DWORD dwStyle) {
  if (!CXTPTipWindow::Create(pOwner, dwStyle)) return FALSE;
  // The library the settings loaded decides the class: version 2 and later, else version 1.
  LPCWSTR lpszClass = ::GetModuleHandleW(L"RICHED20.DLL") != nullptr ? RICHEDIT_CLASSW : L"RichEdit";
  if (!m_wndRichEdit.CreateEx(0, lpszClass, nullptr, WS_CHILD | ES_READONLY | ES_MULTILINE, 0, 0, 100, 100,
                              m_hWnd, nullptr)) {
    DestroyWindow();
    return FALSE;
  }
  m_wndRichEdit.SendMessage(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  return TRUE;
}

void CXTPRichTextTipWindow::LoadText(const CString& strText) {
  HWND hWndEdit = m_wndRichEdit.m_hWnd;
  m_wndRichEdit.SendMessage(EM_SETBKGNDCOLOR, 0, m_pSettings->GetTipBkColor());
  CHARFORMATW format = {};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.crTextColor = m_pSettings->GetTipTextColor();
  m_wndRichEdit.SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  m_wndRichEdit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetTipFont()->GetSafeHandle()), FALSE);
  const std::string rtf = ToRtfBytes(strText);
  StreamIn(hWndEdit, SF_RTF, rtf.data(), rtf.size());
  if (::GetWindowTextLengthW(hWndEdit) == 0) {
    StreamIn(hWndEdit, SF_TEXT | SF_UNICODE, static_cast<LPCWSTR>(strText),
             static_cast<size_t>(strText.GetLength()) * sizeof(wchar_t));
  }
}

int CXTPRichTextTipWindow::RequestHeight(int nWidth) {
  m_wndRichEdit.SetWindowPos(nullptr, 0, 0, nWidth, 1, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  m_rcRequested.SetRectEmpty();
  m_wndRichEdit.SendMessage(EM_REQUESTRESIZE);
  return m_rcRequested.Height();
}

BOOL CXTPRichTextTipWindow::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
  if (pHeader != nullptr && pHeader->hwndFrom == m_wndRichEdit.m_hWnd && pHeader->code == EN_REQUESTRESIZE) {
    m_rcRequested = reinterpret_cast<const REQRESIZE*>(lParam)->rc;
    *pResult = 0;
    return TRUE;
  }
  return CXTPTipWindow::OnNotify(wParam, lParam, pResult);
}

CSize CXTPRichTextTipWindow::CalcTipSize(const XTPTipTool& tool) {
  const CString strText = GetToolText(tool);
  if (strText.IsEmpty() || m_wndRichEdit.m_hWnd == nullptr) return CSize(0, 0);
  if (IsWindowVisible()) {
    SetWindowPos(
        nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
  }
  if (m_wndRichEdit.IsWindowVisible()) m_wndRichEdit.ShowWindow(SW_HIDE);
  LoadText(strText);

  int nMaxWidth = m_pSettings->GetMaxTipWidth();
  if (nMaxWidth < 0) nMaxWidth = ::GetSystemMetrics(SM_CXSCREEN);
  int nHigh = 2 * nMaxWidth, nLow = 0;
  const int nHeight = RequestHeight(nHigh);
  while (nHigh - nLow > 1) {
    const int nMiddle = (nLow + nHigh) / 2;
    if (RequestHeight(nMiddle) <= nHeight) {
      nHigh = nMiddle;
    } else {
      nLow = nMiddle;
    }
  }
  RequestHeight(nHigh);
  const CRect rcMargins = m_pSettings->GetMargins();
  CSize szTip(nHigh + 2 + rcMargins.left + rcMargins.right + 4,
              m_rcRequested.Height() + 2 + rcMargins.top + rcMargins.bottom + 2);
  // A right-aligned or centred paragraph needs room beyond its measured width.
  const int nAlign = strText.Find(L"\\q");
  if (nAlign >= 0 && nAlign + 2 < strText.GetLength() &&
      (strText[nAlign + 2] == L'r' || strText[nAlign + 2] == L'c'))
    szTip.cx += 5;
  return szTip;
}

void CXTPRichTextTipWindow::DrawTipText(CDC* pDC, const XTPTipTool&, CRect rc) {
  if (m_wndRichEdit.m_hWnd == nullptr) return;
  const CRect rcMargins = m_pSettings->GetMargins();
  rc.left += rcMargins.left + 3;
  rc.top += rcMargins.top + 2;
  const int nLogX = pDC->GetDeviceCaps(LOGPIXELSX), nLogY = pDC->GetDeviceCaps(LOGPIXELSY);
  FORMATRANGE range = {};
  range.hdc = range.hdcTarget = pDC->GetSafeHdc();
  range.rc.left = MulDiv(rc.left, 1440, nLogX);
  range.rc.top = MulDiv(rc.top, 1440, nLogY);
  range.rc.right = MulDiv(rc.right, 1440, nLogX);
  range.rc.bottom = MulDiv(rc.bottom, 1440, nLogY);
  range.rcPage = range.rc;
  range.chrg.cpMin = 0;
  range.chrg.cpMax = -1;
  const LRESULT nFitted = m_wndRichEdit.SendMessage(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  m_wndRichEdit.SendMessage(EM_FORMATRANGE, FALSE, 0);
  // A rich edit that cannot render into another context shows itself in place instead.
  if (nFitted == 0 && m_wndRichEdit.GetWindowTextLength() > 0) {
    // Inside the frame.
    const CRect rcChild(rc.left, rc.top, rc.right - rcMargins.right - 1, rc.bottom - rcMargins.bottom - 1);
    m_wndRichEdit.SetWindowPos(nullptr, rcChild.left, rcChild.top, rcChild.Width(), rcChild.Height(),
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else if (m_wndRichEdit.IsWindowVisible()) {
    m_wndRichEdit.ShowWindow(SW_HIDE);
  }
}
