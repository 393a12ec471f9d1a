// Progress reports handed over to a window's thread, latest values only.
#include "HandoffProgressSink.h"

#include <utility>

#include "UiHandoff.h"

CHandoffProgressSink::CHandoffProgressSink() : m_hWndReceiver(nullptr), m_bPosted(FALSE) {}

void CHandoffProgressSink::Attach(HWND hWndReceiver, ShowFunction show) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_hWndReceiver = hWndReceiver;
  m_show = std::move(show);
}

void CHandoffProgressSink::SetText(const CString& text) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_pending.bText = TRUE;
    m_pending.strText = text;
    m_strLatest = text;
  }
  Post();
}

void CHandoffProgressSink::SetPos(int percent) {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    m_pending.bPos = TRUE;
    m_pending.nPos = percent < 0 ? 0 : percent > 100 ? 100 : percent;
  }
  Post();
}

CString CHandoffProgressSink::GetText() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_strLatest;
}

void CHandoffProgressSink::Reset() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_pending = Update();
  m_strLatest.Empty();
}

void CHandoffProgressSink::Post() {
  HWND hWnd;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    // One hand-off is on its way: it shows whatever is latest when it runs.
    if (m_bPosted || m_hWndReceiver == nullptr) return;
    m_bPosted = TRUE;
    hWnd = m_hWndReceiver;
  }
  if (!CUiHandoff::Run(hWnd, [this] { Show(); })) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bPosted = FALSE;
  }
}

void CHandoffProgressSink::Show() {
  Update update;
  ShowFunction show;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    update = m_pending;
    m_pending.bPos = FALSE;
    m_pending.bText = FALSE;
    m_bPosted = FALSE;
    show = m_show;
  }
  if (show && (update.bPos || update.bText)) show(update);
}
