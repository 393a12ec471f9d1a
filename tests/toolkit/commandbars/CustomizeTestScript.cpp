// The timer-driven script of the windowed customize tests.
#include "CustomizeTestScript.h"

#include "RealInput.h"
#include "WindowTest.h"

#include <map>
#include <memory>

namespace {
std::map<UINT_PTR, CCustomizeTestScript*>& Scripts() {
  static std::map<UINT_PTR, CCustomizeTestScript*> scripts;
  return scripts;
}
}  // namespace

CCustomizeTestScript::~CCustomizeTestScript() {
  if (m_nTimer != 0) {
    ::KillTimer(nullptr, m_nTimer);
    Scripts().erase(m_nTimer);
  }
}

void CCustomizeTestScript::Step(const std::string& name, std::function<bool()> step, DWORD timeoutMs) {
  m_steps.push_back({name, std::move(step), timeoutMs});
}

void CCustomizeTestScript::Do(const std::string& name, std::function<void()> action) {
  Step(name, [action] {
    action();
    return true;
  });
}

void CCustomizeTestScript::Pause(DWORD milliseconds) {
  auto start = std::make_shared<DWORD>(0);
  Step("pause", [start, milliseconds] {
    if (*start == 0) *start = ::GetTickCount();
    return ::GetTickCount() - *start >= milliseconds;
  });
}

void CCustomizeTestScript::Start(UINT nIntervalMs) {
  m_nCurrent = 0;
  m_dwStepStart = ::GetTickCount();
  m_nTimer = ::SetTimer(nullptr, 0, nIntervalMs, &CCustomizeTestScript::OnTimer);
  Scripts()[m_nTimer] = this;
}

void CALLBACK CCustomizeTestScript::OnTimer(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
  auto it = Scripts().find(nIDEvent);
  if (it != Scripts().end()) it->second->Tick();
}

void CCustomizeTestScript::Tick() {
  // A step that enters a modal loop of its own gets ticks from inside it: those wait.
  if (m_bInTick || Finished()) return;
  m_bInTick = true;
  StepRecord& record = m_steps[m_nCurrent];
  if (record.step()) {
    ++m_nCurrent;
    m_dwStepStart = ::GetTickCount();
  } else if (::GetTickCount() - m_dwStepStart > record.timeoutMs) {
    m_failure = record.name;
    m_nCurrent = m_steps.size();
    if (m_abort) m_abort();
  }
  m_bInTick = false;
}

namespace customizetest {

HWND FindVisibleWindow(LPCWSTR lpszTitle) {
  struct Search {
    LPCWSTR title;
    HWND found;
  } search = {lpszTitle, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        wchar_t text[256] = {};
        ::GetWindowTextW(hWnd, text, 255);
        if (::IsWindowVisible(hWnd) && wcscmp(text, s->title) == 0) {
          s->found = hWnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindMessageBox() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        wchar_t cls[32] = {};
        ::GetClassNameW(hWnd, cls, 31);
        if (::IsWindowVisible(hWnd) && wcscmp(cls, L"#32770") == 0 && ::GetDlgItem(hWnd, 0xFFFF) != nullptr) {
          *reinterpret_cast<HWND*>(lParam) = hWnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

CString WindowText(HWND hWnd) {
  CString str;
  const int nLength = ::GetWindowTextLengthW(hWnd);
  ::GetWindowTextW(hWnd, str.GetBuffer(nLength + 1), nLength + 1);
  str.ReleaseBuffer();
  return str;
}

CString MessageBoxText(HWND hBox) { return WindowText(::GetDlgItem(hBox, 0xFFFF)); }

CPoint WindowCenter(HWND hWnd) {
  RECT rc;
  ::GetWindowRect(hWnd, &rc);
  return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void ClickChild(HWND hDialog, int nID) {
  const CPoint pt = WindowCenter(::GetDlgItem(hDialog, nID));
  testsupport::MouseClickAt(pt.x, pt.y);
}

}  // namespace customizetest
