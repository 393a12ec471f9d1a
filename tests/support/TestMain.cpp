// Entry point of every test executable, with the guards that keep a broken test from hiding: a crash
// fails the run, and a test that hangs is named and ends the program instead of waiting for CTest's
// limit.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#if defined(__GLIBCXX__)
#include <cxxabi.h>
#endif
#include <mutex>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
// A crash must fail the run: left to the system, a crashing test program under Wine may end with
// code 0 after the debugger's report, and CTest would count it as passed.
LONG WINAPI ReportCrashAndFail(EXCEPTION_POINTERS* pInfo) {
  const EXCEPTION_RECORD* pRecord = pInfo != nullptr ? pInfo->ExceptionRecord : nullptr;
  std::fprintf(stderr, "unhandled exception 0x%08lx at %p; the test program stops\n",
               pRecord != nullptr ? static_cast<unsigned long>(pRecord->ExceptionCode) : 0ul,
               pRecord != nullptr ? pRecord->ExceptionAddress : nullptr);
  std::fflush(stderr);
  std::fflush(stdout);
  ::TerminateProcess(::GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

// A hung windowed test usually waits in a window nobody answers: its caption and text say which.
BOOL CALLBACK PrintOwnWindow(HWND hWnd, LPARAM) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(hWnd, &processId);
  if (processId != ::GetCurrentProcessId() || !::IsWindowVisible(hWnd)) return TRUE;
  wchar_t caption[256] = {};
  ::GetWindowTextW(hWnd, caption, 255);
  std::string text = "  window \"";
  char narrow[1024] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, caption, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
  text += narrow;
  text += "\"";
  // A message box's text sits in its static control 0xFFFF.
  if (HWND hText = ::GetDlgItem(hWnd, 0xFFFF)) {
    wchar_t body[512] = {};
    ::GetWindowTextW(hText, body, 511);
    ::WideCharToMultiByte(CP_UTF8, 0, body, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    text += std::string(": ") + narrow;
  }
  std::fprintf(stderr, "%s\n", text.c_str());
  return TRUE;
}
#endif

// Ends the program, naming the test, when one test runs longer than its limit
// (BRINDLE_TEST_HANG_SECONDS, 300 by default). A test waits for the effects it checks; one that
// waits this long is waiting for something that will not come.
class HangWatchdog : public testing::EmptyTestEventListener {
 public:
  explicit HangWatchdog(std::chrono::seconds limit) : m_limit(limit), m_thread([this] { Run(); }) {}
  ~HangWatchdog() override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
  }

  void OnTestStart(const testing::TestInfo& info) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_test = std::string(info.test_suite_name()) + "." + info.name();
    m_deadline = std::chrono::steady_clock::now() + m_limit;
    m_running = true;
    m_changed.notify_all();
  }
  void OnTestEnd(const testing::TestInfo&) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_running = false;
    m_changed.notify_all();
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
      if (!m_running) {
        m_changed.wait(lock);
        continue;
      }
      const auto deadline = m_deadline;
      if (m_changed.wait_until(lock, deadline) != std::cv_status::timeout) continue;
      if (!m_running || m_deadline != deadline || m_quit) continue;
      std::fprintf(stderr, "%s has run for %lld s and is taken as hung; the test program stops\n",
                   m_test.c_str(), static_cast<long long>(m_limit.count()));
#ifdef _WIN32
      ::EnumWindows(PrintOwnWindow, 0);
#endif
      std::fflush(stderr);
      std::fflush(stdout);
      std::_Exit(4);
    }
  }

  const std::chrono::seconds m_limit;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string m_test;
  std::chrono::steady_clock::time_point m_deadline;
  bool m_running = false;
  bool m_quit = false;
  std::thread m_thread;
};

#ifdef _WIN32
// The calls that led here, as module+offset (addr2line -e MODULE 0x140000000+OFFSET for a program).
void PrintStack() {
  void* frames[48] = {};
  const USHORT count = ::RtlCaptureStackBackTrace(1, 48, frames, nullptr);
  for (USHORT i = 0; i < count; ++i) {
    HMODULE hModule = nullptr;
    char name[MAX_PATH] = "?";
    if (::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             static_cast<LPCSTR>(frames[i]), &hModule))
      ::GetModuleFileNameA(hModule, name, MAX_PATH);
    const char* base = std::strrchr(name, '\\');
    std::fprintf(stderr, "  at %s+0x%llx\n", base != nullptr ? base + 1 : name,
                 static_cast<unsigned long long>(static_cast<char*>(frames[i]) -
                                                 reinterpret_cast<char*>(hModule)));
  }
}
#endif

// An exception that leaves a worker thread (or a destructor) ends the program through terminate,
// called where it was thrown: name the test that was running and the calls that threw, which a brief
// log does not show otherwise.
[[noreturn]] void ReportTerminate() {
  const testing::TestInfo* pTest = testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "the program was terminated (an exception nobody caught) during %s%s%s\n",
               pTest != nullptr ? pTest->test_suite_name() : "no test",
               pTest != nullptr ? "." : "", pTest != nullptr ? pTest->name() : "");
#ifdef _WIN32
  PrintStack();
#endif
  std::fflush(stderr);
  std::fflush(stdout);
#if defined(__GLIBCXX__)
  // Names the exception's type, then aborts.
  __gnu_cxx::__verbose_terminate_handler();
#endif
  std::abort();
}

std::chrono::seconds HangLimit() {
  const char* text = std::getenv("BRINDLE_TEST_HANG_SECONDS");
  const long seconds = text != nullptr ? std::strtol(text, nullptr, 10) : 0;
  return std::chrono::seconds(seconds > 0 ? seconds : 300);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // A failing test must report, not wait for someone to dismiss a system error box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportCrashAndFail);
#endif
  std::set_terminate(ReportTerminate);
  testing::InitGoogleTest(&argc, argv);
  testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
  HangWatchdog* pWatchdog = new HangWatchdog(HangLimit());
  listeners.Append(pWatchdog);
  const int result = RUN_ALL_TESTS();
  // Ended here rather than among the static destructors, where joining its thread is not safe.
  delete listeners.Release(pWatchdog);
  return result;
}
