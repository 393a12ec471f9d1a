// The menu sound player: its thread, the request word it polls and the stop that never leaves two
// players at once.
#include "MenuSoundPlayer.h"

#include <mmsystem.h>

// The word the user-interface thread writes and the player thread reads and clears, with the
// references of both; the last one to let go frees it.
struct CXTPMenuSoundPlayer::Channel {
  volatile LONG nRequest = xtpMenuSoundNone;
  volatile LONG nRefs = 2;
  PFNPLAYSOUND pfnPlay = nullptr;

  void Release() {
    if (::InterlockedDecrement(&nRefs) == 0) delete this;
  }
};

namespace {

BOOL WINAPI PlaySystemSound(LPCWSTR pszSound, HMODULE hModule, DWORD dwFlags) {
  return ::PlaySoundW(pszSound, hModule, dwFlags);
}

// Waits for the handle up to dwTimeout milliseconds, handling messages other threads send meanwhile.
BOOL WaitPumpingSent(HANDLE hHandle, DWORD dwTimeout) {
  const DWORD dwStart = ::GetTickCount();
  for (;;) {
    const DWORD dwSpent = ::GetTickCount() - dwStart;
    if (dwSpent >= dwTimeout) return ::WaitForSingleObject(hHandle, 0) == WAIT_OBJECT_0;
    const DWORD dwResult =
        ::MsgWaitForMultipleObjects(1, &hHandle, FALSE, dwTimeout - dwSpent, QS_SENDMESSAGE);
    if (dwResult == WAIT_OBJECT_0) return TRUE;
    if (dwResult != WAIT_OBJECT_0 + 1) return ::WaitForSingleObject(hHandle, 0) == WAIT_OBJECT_0;
    MSG msg;
    ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

CXTPMenuSoundPlayer* PASCAL CXTPMenuSoundPlayer::GetInstance() {
  static CXTPMenuSoundPlayer player;
  return &player;
}

void CXTPMenuSoundPlayer::Request(XTPMenuSound kind) {
  if (!m_bEnabled) return;
  if (m_hThread == nullptr && !Start()) return;
  ::InterlockedExchange(&m_pChannel->nRequest, kind);
}

BOOL CXTPMenuSoundPlayer::Start() {
  if (m_hFinishing != nullptr) {
    if (::WaitForSingleObject(m_hFinishing, 0) != WAIT_OBJECT_0) return FALSE;
    ::CloseHandle(m_hFinishing);
    m_hFinishing = nullptr;
  }
  Channel* pChannel = new Channel;
  pChannel->pfnPlay = m_pfnPlay != nullptr ? m_pfnPlay : PlaySystemSound;
  HANDLE hThread = ::CreateThread(nullptr, 0, ThreadProc, pChannel, CREATE_SUSPENDED, nullptr);
  if (hThread == nullptr) {
    // The next request tries again.
    delete pChannel;
    return FALSE;
  }
  ::SetThreadPriority(hThread, THREAD_PRIORITY_BELOW_NORMAL);
  m_pChannel = pChannel;
  m_hThread = hThread;
  ::ResumeThread(hThread);
  return TRUE;
}

void CXTPMenuSoundPlayer::Stop() {
  if (m_hThread == nullptr) return;
  ::InterlockedExchange(&m_pChannel->nRequest, xtpMenuSoundStop);
  if (WaitPumpingSent(m_hThread, 100)) {
    ::CloseHandle(m_hThread);
  } else {
    // Still playing: it sees the stop after the sound and ends by itself.
    if (m_hFinishing != nullptr) ::CloseHandle(m_hFinishing);
    m_hFinishing = m_hThread;
  }
  m_hThread = nullptr;
  m_pChannel->Release();
  m_pChannel = nullptr;
}

DWORD WINAPI CXTPMenuSoundPlayer::ThreadProc(LPVOID pParam) {
  Channel* pChannel = static_cast<Channel*>(pParam);
  const DWORD dwFlags = SND_ALIAS | SND_NODEFAULT | SND_NOWAIT;
  for (;;) {
    const LONG nRequest = pChannel->nRequest;
    if (nRequest == xtpMenuSoundStop) break;
    if (nRequest == xtpMenuSoundCommand || nRequest == xtpMenuSoundPopup) {
      pChannel->pfnPlay(nRequest == xtpMenuSoundCommand ? L"MenuCommand" : L"MenuPopup", nullptr, dwFlags);
      // Cleared only when nothing replaced it meanwhile, so a stop is never lost.
      ::InterlockedCompareExchange(&pChannel->nRequest, xtpMenuSoundNone, nRequest);
    }
    ::Sleep(5);
  }
  pChannel->pfnPlay(nullptr, nullptr, SND_PURGE);
  pChannel->Release();
  return 0;
}
