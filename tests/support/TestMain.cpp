// Entry point of every test executable.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

namespace {

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

}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // A failing test must report, not wait for someone to dismiss a system error box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportCrashAndFail);
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
