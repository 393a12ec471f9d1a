// The host window of the control tests and the application object that records message boxes.
#include "ControlHost.h"

namespace {

std::vector<std::wstring> g_messageBoxes;

class CToolkitTestApp : public CWinApp {
 public:
  CToolkitTestApp() : CWinApp(L"Toolkit foundation tests") {}
  int DoMessageBox(LPCTSTR lpszPrompt, UINT /*nType*/, UINT /*nIDPrompt*/) override {
    g_messageBoxes.emplace_back(lpszPrompt != nullptr ? lpszPrompt : L"");
    return IDOK;
  }
};

CToolkitTestApp theToolkitTestApp;

}  // namespace

std::vector<std::wstring> TakeMessageBoxes() {
  std::vector<std::wstring> result;
  result.swap(g_messageBoxes);
  return result;
}

// Hiding or destroying an active top-level window costs Wine about two seconds (it waits for the X
// server to confirm), so every host is a child of one stage window that lives as long as the program.
HWND Stage() {
  static HWND hStage = nullptr;
  if (hStage == nullptr || !::IsWindow(hStage)) {
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    hStage = ::CreateWindowExW(0, lpszClass, L"Toolkit test stage", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                               0, 0, 900, 700, nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
  }
  return hStage;
}

BOOL ControlHost::CreateHost(LPCTSTR lpszTitle, int x, int y, int cx, int cy) {
  HWND hStage = Stage();
  if (hStage == nullptr) return FALSE;
  LPCTSTR lpszClass =
      AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!CreateEx(0, lpszClass, lpszTitle, WS_CHILD | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, x, y, cx, cy,
                hStage, nullptr))
    return FALSE;
  ::SetForegroundWindow(hStage);
  ::SetFocus(m_hWnd);
  UpdateWindow();
  return TRUE;
}

ControlHost::~ControlHost() {
  if (m_hWnd != nullptr) DestroyWindow();
}

BOOL ControlHost::OnCommand(WPARAM wParam, LPARAM lParam) {
  m_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return CWnd::OnCommand(wParam, lParam);
}

LRESULT ControlHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < 0x8000) m_privateMessages.push_back(message);
  return CWnd::WindowProc(message, wParam, lParam);
}

CPoint ScreenPoint(CWnd* pWnd, int x, int y) {
  CPoint pt(x, y);
  pWnd->ClientToScreen(&pt);
  return pt;
}
