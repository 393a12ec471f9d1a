// The single-instance mutex of the program.
#include "SingleInstance.h"

#include <cstdlib>

const wchar_t SINGLE_INSTANCE_MUTEX_NAME[] = L"Global\\{991267F0-DCC6-49b5-9032-DE92275C3187}";

HANDLE g_hSingleInstanceMutex = nullptr;
DWORD g_dwSingleInstanceError = 0;

namespace {

void CloseSingleInstanceMutex() {
  if (g_hSingleInstanceMutex != nullptr) {
    ::CloseHandle(g_hSingleInstanceMutex);
    g_hSingleInstanceMutex = nullptr;
  }
}

}  // namespace

BOOL CreateSingleInstanceMutex(const wchar_t* name) {
  g_hSingleInstanceMutex = ::CreateMutexW(nullptr, FALSE, name);
  g_dwSingleInstanceError = ::GetLastError();
  std::atexit(CloseSingleInstanceMutex);
  return TRUE;
}
