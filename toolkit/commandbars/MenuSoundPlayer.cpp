// The menu sound player's requests.
#include "MenuSoundPlayer.h"

CXTPMenuSoundPlayer* PASCAL CXTPMenuSoundPlayer::GetInstance() {
  static CXTPMenuSoundPlayer player;
  return &player;
}

// The player thread that plays the request comes with the sounds; until then a request is only
// recorded.
void CXTPMenuSoundPlayer::Request(XTPMenuSound kind) {
  if (!m_bEnabled) return;
  ::InterlockedExchange(&m_nRequest, kind);
}

void CXTPMenuSoundPlayer::Stop() { ::InterlockedExchange(&m_nRequest, xtpMenuSoundNone); }
