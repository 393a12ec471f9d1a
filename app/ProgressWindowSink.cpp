// Progress reports into a bar and a text window.
#include "ProgressWindowSink.h"

#include <commctrl.h>

CProgressWindowSink::CProgressWindowSink(HWND hProgress, HWND hText)
    : m_hProgress(hProgress), m_hText(hText) {}

void CProgressWindowSink::SetText(const CString& text) {
  if (m_hText == nullptr || !::IsWindow(m_hText)) return;
  ::SetWindowText(m_hText, text);
  // A progress bar does not repaint for a new text by itself.
  ::InvalidateRect(m_hText, nullptr, FALSE);
}

void CProgressWindowSink::SetPos(int percent) {
  if (m_hProgress == nullptr || !::IsWindow(m_hProgress)) return;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  ::SendMessage(m_hProgress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}
