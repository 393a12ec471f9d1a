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

class CXTPMenuSoundPlayer {
 public:
  // The one process-wide player.
  static CXTPMenuSoundPlayer* PASCAL GetInstance();

  void Request(XTPMenuSound kind);
  void Stop();

  BOOL m_bEnabled = TRUE;

 private:
  volatile LONG m_nRequest = xtpMenuSoundNone;
  HANDLE m_hThread = nullptr;
};
