// CXTPMenuSoundPlayer: plays the user's menu sounds ("MenuCommand", "MenuPopup") on a small thread of
// its own so that the menus never wait for a sound. The user-interface thread only writes a request.
#pragma once

#include <afxwin.h>

enum XTPMenuSound {
  xtpMenuSoundNone = 0,
  xtpMenuSoundCommand = 1,
  xtpMenuSoundPopup = 2,
  xtpMenuSoundStop = 3,
};

// One process-wide player. Its thread reads and clears a request word of its own (a small shared
// record, not the player), so a thread that outlives a Stop still finds its word, sees the stop and
// ends by itself; while such a thread is still finishing, requests start no second one (the sound is
// lost, as a request made while a sound plays may be).
class CXTPMenuSoundPlayer {
 public:
  // Plays one system sound alias with PlaySound's flags (the alias is NULL for a purge).
  typedef BOOL(WINAPI* PFNPLAYSOUND)(LPCWSTR pszSound, HMODULE hModule, DWORD dwFlags);

  CXTPMenuSoundPlayer() = default;
  ~CXTPMenuSoundPlayer() { Stop(); }
  CXTPMenuSoundPlayer(const CXTPMenuSoundPlayer&) = delete;
  CXTPMenuSoundPlayer& operator=(const CXTPMenuSoundPlayer&) = delete;

  // The one process-wide player.
  static CXTPMenuSoundPlayer* PASCAL GetInstance();

  // When enabled: starts the thread if there is none, then stores the request (1 "MenuCommand",
  // 2 "MenuPopup").
  void Request(XTPMenuSound kind);
  // Asks the thread to end and waits up to 100 ms for it (handling sent messages meanwhile); the
  // handle is forgotten either way. Nothing happens without a thread.
  void Stop();
  BOOL IsRunning() const { return m_hThread != nullptr; }
  // The function that plays the sounds, for threads started from now on; NULL restores PlaySoundW.
  void SetPlayFunction(PFNPLAYSOUND pfnPlay) { m_pfnPlay = pfnPlay; }

  BOOL m_bEnabled = TRUE;

 private:
  struct Channel;
  static DWORD WINAPI ThreadProc(LPVOID pParam);
  BOOL Start();

  Channel* m_pChannel = nullptr;
  HANDLE m_hThread = nullptr;
  // A stopped thread that had not ended within the wait; no new thread starts until it has.
  HANDLE m_hFinishing = nullptr;
  PFNPLAYSOUND m_pfnPlay = nullptr;
};
