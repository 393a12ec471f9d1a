// Helpers of the wizard tests.
#include "AppTestSupport.h"

#include "RealInput.h"
#include "TestProcess.h"
#include "UiHandoff.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <shlobj.h>

#include <algorithm>

void PrintTo(const CString& text, std::ostream* os) {
  const int length = text.GetLength();
  std::string utf8(static_cast<size_t>(length) * 3, '\0');
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, static_cast<LPCWSTR>(text), length, utf8.data(),
                                          static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
  *os << '"' << utf8 << '"';
}

namespace apptest {

CString Text(const std::string& utf8) { return CString(testsupport::Wide(utf8).c_str()); }

CString CanonicalPath(const CString& path) {
  WCHAR full[MAX_PATH] = {};
  ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
  CString result(full);
  result.TrimRight(L'\\');
  result.MakeLower();
  return result;
}

CString DocumentsFolder() {
  WCHAR path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

NotesHang::NotesHang(const char* key) : m_key(key) {
  static int count = 0;
  m_name =
      L"BrindleAppTestHang-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  m_release = ::CreateEventW(nullptr, TRUE, FALSE, m_name.c_str());
  m_stopped = ::CreateEventW(nullptr, TRUE, FALSE, (m_name + L"-stopped").c_str());
}

NotesHang::~NotesHang() {
  Release();
  ::CloseHandle(m_release);
  ::CloseHandle(m_stopped);
}

int NotesHang::Start(const std::function<int()>& startSession) {
  ::SetEnvironmentVariableA("STANDIN_HANG", m_key.c_str());
  ::SetEnvironmentVariableW(L"STANDIN_HANG_RELEASE", m_name.c_str());
  const int result = startSession();
  ::SetEnvironmentVariableA("STANDIN_HANG", nullptr);
  ::SetEnvironmentVariableA("STANDIN_HANG_RELEASE", nullptr);
  return result;
}

bool NotesHang::WaitUntilStopped() {
  return testsupport::PumpUntil([this] { return ::WaitForSingleObject(m_stopped, 0) == WAIT_OBJECT_0; },
                                30000);
}

void NotesHang::Release() { ::SetEvent(m_release); }

namespace {

// The visible message box (a #32770 window) that owner owns, or NULL.
HWND FindOwnedMessageBox(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        WCHAR cls[16] = {};
        ::GetClassNameW(hwnd, cls, 16);
        if (::GetWindow(hwnd, GW_OWNER) == s->owner && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

ModalRun::ModalRun(std::wstring title, std::function<void()> call)
    : m_title(std::move(title)), m_thread([this, call] {
        call();
        m_done = true;
      }) {}

ModalRun::~ModalRun() {
  if (m_thread.joinable()) CloseAndJoin();
}

HWND ModalRun::WaitForDialog() { return testsupport::WaitForTopWindow(m_title, 10000); }

void ModalRun::Finish() {
  testsupport::PumpUntil([this] { return m_done.load(); }, 10000);
  CloseAndJoin();
}

void ModalRun::CloseAndJoin() {
  testsupport::PumpUntil(
      [this] {
        if (m_done) return true;
        if (HWND hDlg = ::FindWindowW(nullptr, m_title.c_str())) {
          // A message box left open over the dialog goes first.
          if (HWND hBox = FindOwnedMessageBox(hDlg)) ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
          ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        }
        return m_done.load();
      },
      10000);
  m_thread.join();
}

HWND WaitForOwnedMessageBox(HWND owner) {
  HWND found = nullptr;
  // An owner that is gone (a dialog that took its OK) can own no box: no need to wait out the time.
  testsupport::PumpUntil(
      [&] { return (found = FindOwnedMessageBox(owner)) != nullptr || !::IsWindow(owner); }, 10000);
  return found;
}

CString MessageBoxText(HWND box) { return TextOf(::GetDlgItem(box, 0xFFFF)); }

CString TextOf(HWND hwnd) {
  const int length = static_cast<int>(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::vector<WCHAR> buffer(static_cast<size_t>(length) + 1, 0);
  ::SendMessageW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data());
}

void ClickControl(HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  RECT rc = {};
  ::GetClientRect(control, &rc);
  testsupport::MouseClick(control, rc.right / 2, rc.bottom / 2);
}

bool PressMessageBoxButton(HWND box, int button) {
  // The box takes the foreground once it is up and can be clicked.
  testsupport::PumpUntil([&] { return ::GetForegroundWindow() == box || !::IsWindow(box); }, 10000);
  ClickControl(box, button);
  testsupport::PumpUntil([&] { return !::IsWindow(box); }, 10000);
  return !::IsWindow(box);
}

void DismissMessageBox(HWND box) { PressMessageBoxButton(box, IDOK); }

namespace {

CRect TreeLabelRect(HWND tree, HTREEITEM hItem) {
  RECT rc = {};
  TreeView_GetItemRect(tree, hItem, &rc, TRUE);
  return CRect(rc);
}

}  // namespace

CPoint TreeLabelPoint(HWND tree, HTREEITEM hItem) {
  const CRect rc = TreeLabelRect(tree, hItem);
  return CPoint(rc.left + 6, rc.CenterPoint().y);
}

CPoint TreeCheckBoxPoint(HWND tree, HTREEITEM hItem) {
  const CRect rc = TreeLabelRect(tree, hItem);
  const int y = rc.CenterPoint().y;
  int first = -1, last = -1;
  for (int x = rc.left - 1; x >= 0; --x) {
    TVHITTESTINFO hti = {};
    hti.pt = {x, y};
    if (TreeView_HitTest(tree, &hti) == hItem && (hti.flags & TVHT_ONITEMSTATEICON)) {
      if (last < 0) last = x;
      first = x;
    } else if (last >= 0) {
      break;
    }
  }
  return last < 0 ? CPoint(-1, -1) : CPoint((first + last) / 2, y);
}

void PumpFramework(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
    ::Sleep(10);
  } while (::GetTickCount() - start < milliseconds);
}

bool PumpFrameworkUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (::GetTickCount() - start >= timeoutMs) return done();
    PumpFramework(20);
  }
}

BOOL CRecordingWnd::CreateHost(LPCTSTR title, int x, int y, int width, int height) {
  return CreateEx(
      0,
      AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
      title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr);
}

BOOL CRecordingWnd::CreateHidden(LPCTSTR title) {
  return CreateEx(0, AfxRegisterWndClass(0), title, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr);
}

int CRecordingWnd::Count(UINT message) const {
  return static_cast<int>(std::count_if(m_received.begin(), m_received.end(),
                                        [message](const Received& r) { return r.message == message; }));
}

LRESULT CRecordingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // As the program's frame does: a worker's dialogs, and its other acts, run here.
  if (message == WM_UI_HANDOFF) return CUiHandoff::Receive(wParam, lParam);
  if (message == WM_NCDESTROY) CUiHandoff::DiscardPending(m_hWnd);
  if (message == WM_COMMAND || std::find(m_watched.begin(), m_watched.end(), message) == m_watched.end()) {
    return CWnd::WindowProc(message, wParam, lParam);
  }
  Received received{message, wParam, lParam, CString()};
  if (message == WM_NSF_FOLDER_SELECTED && wParam != 0) received.text = reinterpret_cast<LPCTSTR>(wParam);
  m_received.push_back(received);
  if (m_onMessage) return m_onMessage(message, wParam, lParam);
  return 1;
}

BOOL CRecordingWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  if (std::find(m_watched.begin(), m_watched.end(), static_cast<UINT>(WM_COMMAND)) != m_watched.end()) {
    m_received.push_back(Received{WM_COMMAND, wParam, lParam, CString()});
  }
  return TRUE;
}

}  // namespace apptest
