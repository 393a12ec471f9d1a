// The menu sound player with a fake player in place of PlaySound: requests and their sounds, stops with
// and without a thread, a stopped thread that is still playing, and never more than one player thread.
#include <gtest/gtest.h>

#include <MenuSoundPlayer.h>
#include <TestProcess.h>

#include <tlhelp32.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

// What the fake player heard, and how long each sound takes.
struct FakeSounds {
  std::mutex lock;
  std::vector<std::wstring> played;
  std::atomic<int> nPlaying{0};
  std::atomic<int> nMostAtOnce{0};
  std::atomic<int> nPurges{0};
  std::atomic<DWORD> dwPlayMs{0};
} g_sounds;

BOOL WINAPI FakePlaySound(LPCWSTR pszSound, HMODULE, DWORD dwFlags) {
  if (pszSound == nullptr) {
    EXPECT_EQ(dwFlags, DWORD(0x40));
    g_sounds.nPurges++;
    return TRUE;
  }
  EXPECT_EQ(dwFlags, DWORD(0x12002));
  const int nNow = ++g_sounds.nPlaying;
  int nMost = g_sounds.nMostAtOnce;
  while (nNow > nMost && !g_sounds.nMostAtOnce.compare_exchange_weak(nMost, nNow)) {
  }
  {
    std::lock_guard<std::mutex> guard(g_sounds.lock);
    g_sounds.played.push_back(pszSound);
  }
  ::Sleep(g_sounds.dwPlayMs);
  --g_sounds.nPlaying;
  return TRUE;
}

int ProcessThreadCount() {
  HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  int nCount = 0;
  for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore; bMore = ::Thread32Next(hSnapshot, &entry)) {
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) nCount++;
  }
  ::CloseHandle(hSnapshot);
  return nCount;
}

bool WaitFor(const std::function<bool()>& done) { return testsupport::WaitUntil(done, 3000); }

size_t PlayedCount() {
  std::lock_guard<std::mutex> guard(g_sounds.lock);
  return g_sounds.played.size();
}

class MenuSoundPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      std::lock_guard<std::mutex> guard(g_sounds.lock);
      g_sounds.played.clear();
    }
    g_sounds.nMostAtOnce = 0;
    g_sounds.nPurges = 0;
    g_sounds.dwPlayMs = 0;
    m_player.SetPlayFunction(FakePlaySound);
  }
  void TearDown() override {
    m_player.Stop();
    // A thread left finishing a long sound ends by itself.
    WaitFor([] { return g_sounds.nPlaying == 0; });
  }
  CXTPMenuSoundPlayer m_player;
};

TEST_F(MenuSoundPlayerTest, RequestsPlayTheirSystemSounds) {
  m_player.Request(xtpMenuSoundPopup);
  ASSERT_TRUE(WaitFor([] { return PlayedCount() == 1; }));
  m_player.Request(xtpMenuSoundCommand);
  ASSERT_TRUE(WaitFor([] { return PlayedCount() == 2; }));
  std::lock_guard<std::mutex> guard(g_sounds.lock);
  EXPECT_EQ(g_sounds.played[0], L"MenuPopup");
  EXPECT_EQ(g_sounds.played[1], L"MenuCommand");
}

TEST_F(MenuSoundPlayerTest, StoppingWithoutAThreadDoesNothingAndTwiceIsHarmless) {
  EXPECT_FALSE(m_player.IsRunning());
  m_player.Stop();
  m_player.Request(xtpMenuSoundCommand);
  EXPECT_TRUE(m_player.IsRunning());
  m_player.Stop();
  m_player.Stop();
  EXPECT_FALSE(m_player.IsRunning());
  EXPECT_TRUE(WaitFor([] { return g_sounds.nPurges == 1; }));
}

TEST_F(MenuSoundPlayerTest, TwoRequestsWhileASoundPlaysYieldAtMostTheLater) {
  g_sounds.dwPlayMs = 150;
  m_player.Request(xtpMenuSoundCommand);
  ASSERT_TRUE(WaitFor([] { return g_sounds.nPlaying == 1; }));
  m_player.Request(xtpMenuSoundPopup);
  m_player.Request(xtpMenuSoundCommand);
  ::Sleep(500);
  std::lock_guard<std::mutex> guard(g_sounds.lock);
  ASSERT_LE(g_sounds.played.size(), 2u);
  if (g_sounds.played.size() == 2) {
    EXPECT_EQ(g_sounds.played[1], L"MenuCommand");
  }
}

TEST_F(MenuSoundPlayerTest, ARequestAfterAStopStartsANewThreadAndThereIsNeverASecondOne) {
  const int nBaseline = ProcessThreadCount();
  for (int nCycle = 0; nCycle < 5; ++nCycle) {
    m_player.Request(xtpMenuSoundPopup);
    ASSERT_TRUE(m_player.IsRunning());
    ASSERT_TRUE(WaitFor([nCycle] { return PlayedCount() == static_cast<size_t>(nCycle + 1); }));
    EXPECT_LE(ProcessThreadCount(), nBaseline + 1) << "cycle " << nCycle;
    m_player.Stop();
    EXPECT_FALSE(m_player.IsRunning());
  }
  EXPECT_TRUE(WaitFor([nBaseline] { return ProcessThreadCount() <= nBaseline; }));
  EXPECT_EQ(g_sounds.nMostAtOnce, 1);
}

TEST_F(MenuSoundPlayerTest, AThreadStoppedWhilePlayingEndsByItselfAndNoSecondPlayerStartsMeanwhile) {
  const int nBaseline = ProcessThreadCount();
  g_sounds.dwPlayMs = 400;
  m_player.Request(xtpMenuSoundCommand);
  ASSERT_TRUE(WaitFor([] { return g_sounds.nPlaying == 1; }));
  // The stop gives up after 100 ms while the sound still plays.
  const DWORD dwStart = ::GetTickCount();
  m_player.Stop();
  EXPECT_LT(::GetTickCount() - dwStart, 300u);
  EXPECT_FALSE(m_player.IsRunning());
  // Requests while it finishes start nothing: only a sound is lost.
  m_player.Request(xtpMenuSoundPopup);
  EXPECT_FALSE(m_player.IsRunning());
  EXPECT_LE(ProcessThreadCount(), nBaseline + 1);
  // It sees the stop after its sound, purges and ends.
  EXPECT_TRUE(WaitFor([] { return g_sounds.nPurges == 1; }));
  EXPECT_TRUE(WaitFor([nBaseline] { return ProcessThreadCount() <= nBaseline; }));
  // Then a request starts a player again.
  g_sounds.dwPlayMs = 0;
  m_player.Request(xtpMenuSoundPopup);
  EXPECT_TRUE(m_player.IsRunning());
  EXPECT_TRUE(WaitFor([] { return PlayedCount() == 2; }));
  EXPECT_EQ(g_sounds.nMostAtOnce, 1);
}

TEST_F(MenuSoundPlayerTest, ADisabledPlayerIgnoresRequests) {
  m_player.m_bEnabled = FALSE;
  m_player.Request(xtpMenuSoundCommand);
  EXPECT_FALSE(m_player.IsRunning());
  m_player.m_bEnabled = TRUE;
}

}  // namespace
