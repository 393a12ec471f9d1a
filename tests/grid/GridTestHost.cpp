// The grid tests' host window and message pump.
#include "GridTestHost.h"

CGridTestHost::~CGridTestHost() {
  if (::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CGridTestHost::Create(CGridCtrl* pGrid, int x, int y, int cx, int cy, BOOL bVisible, DWORD dwGridStyle) {
  return CreateFrame(x, y, cx, cy, bVisible) && CreateGrid(pGrid, dwGridStyle);
}

BOOL CGridTestHost::CreateFrame(int x, int y, int cx, int cy, BOOL bVisible) {
  CRect rect(x, y, x + cx, y + cy);
  const DWORD dwStyle = WS_POPUP | WS_CLIPCHILDREN | (bVisible ? WS_VISIBLE : 0);
  ::AdjustWindowRectEx(rect, dwStyle, FALSE, WS_EX_TOOLWINDOW);
  if (!CreateEx(WS_EX_TOOLWINDOW,
                AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                _T("Grid test"), dwStyle, rect.left, rect.top, rect.Width(), rect.Height(), nullptr,
                nullptr)) {
    return FALSE;
  }
  return TRUE;
}

BOOL CGridTestHost::CreateGrid(CGridCtrl* pGrid, DWORD dwGridStyle) {
  m_pGrid = pGrid;
  notifications.clear();
  cacheHints.clear();
  commands = 0;
  nextControlRequests = 0;
  beginEditAnswer = 0;
  endEditAnswer = 0;
  onDisplayRequest = nullptr;
  CRect client;
  GetClientRect(client);
  return pGrid->Create(client, this, 100, dwGridStyle);
}

int CGridTestHost::Count(UINT code) const {
  int n = 0;
  for (const GridNotification& note : notifications) n += note.code == code ? 1 : 0;
  return n;
}

const GridNotification* CGridTestHost::Last(UINT code) const {
  for (auto it = notifications.rbegin(); it != notifications.rend(); ++it) {
    if (it->code == code) return &*it;
  }
  return nullptr;
}

BOOL CGridTestHost::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
  if (m_pGrid == nullptr || pHdr->hwndFrom != m_pGrid->GetSafeHwnd()) {
    return CWnd::OnNotify(wParam, lParam, pResult);
  }
  *pResult = 0;
  switch (pHdr->code) {
    case GVN_GETDISPINFO:
      if (onDisplayRequest) onDisplayRequest(reinterpret_cast<GV_DISPINFO*>(lParam));
      return TRUE;
    case GVN_ODCACHEHINT:
      cacheHints.push_back(reinterpret_cast<GV_CACHEHINT*>(lParam)->range);
      return TRUE;
    default:
      break;
  }
  const auto* pView = reinterpret_cast<NM_GRIDVIEW*>(lParam);
  GridNotification note{pHdr->code, pView->iRow, pView->iColumn, 0, CString()};
  if (pView->iRow >= 0 && !m_pGrid->GetVirtualMode()) note.rowData = m_pGrid->GetItemData(pView->iRow, 0);
  notifications.push_back(note);
  if (pHdr->code == GVN_BEGINLABELEDIT) *pResult = beginEditAnswer;
  if (pHdr->code == GVN_ENDLABELEDIT) *pResult = endEditAnswer;
  return TRUE;
}

BOOL CGridTestHost::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_pGrid != nullptr && reinterpret_cast<HWND>(lParam) == m_pGrid->GetSafeHwnd()) {
    ++commands;
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

LRESULT CGridTestHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NEXTDLGCTL) ++nextControlRequests;
  return CWnd::WindowProc(message, wParam, lParam);
}

void PumpGridMessages(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
      }
    }
    ::Sleep(5);
  } while (::GetTickCount() - start < milliseconds);
}

bool PumpGridUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (::GetTickCount() - start >= timeoutMs) return done();
    PumpGridMessages(10);
  }
}
