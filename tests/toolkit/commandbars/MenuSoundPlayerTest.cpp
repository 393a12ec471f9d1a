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
#include <thread>
#include <vector>

namespace {

// What the fake player heard; while a test holds the sounds, each one plays until it lets them go.
struct FakeSounds {
  std::mutex lock;
  std::vector<std::wstring> played;
  std::atomic<int> nPlaying{0};
  std::atomic<int> nMostAtOnce{0};
  std::atomic<int> nPurges{0};
  // Manual-reset, signalled while the sounds are not held.
  HANDLE hLetGo = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
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
  ::WaitForSingleObject(g_sounds.hLetGo, INFINITE);
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
    ::SetEvent(g_sounds.hLetGo);
    m_player.SetPlayFunction(FakePlaySound);
  }
  void TearDown() override {
    ::SetEvent(g_sounds.hLetGo);
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

TEST_F(MenuSoundPlayerTest, TwoRequestsWhileASoundPlaysYieldTheLaterOnly) {
  ::ResetEvent(g_sounds.hLetGo);
  m_player.Request(xtpMenuSoundPopup);
  ASSERT_TRUE(WaitFor([] { return g_sounds.nPlaying == 1; }));
  m_player.Request(xtpMenuSoundPopup);
  m_player.Request(xtpMenuSoundCommand);
  ::SetEvent(g_sounds.hLetGo);
  ASSERT_TRUE(WaitFor([] { return PlayedCount() == 2; }));
  // Once the player has ended, nothing more was played: the request in between is lost.
  m_player.Stop();
  ASSERT_TRUE(WaitFor([] { return g_sounds.nPurges == 1; }));
  std::lock_guard<std::mutex> guard(g_sounds.lock);
  EXPECT_EQ(g_sounds.played, (std::vector<std::wstring>{L"MenuPopup", L"MenuCommand"}));
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
  ::ResetEvent(g_sounds.hLetGo);
  m_player.Request(xtpMenuSoundCommand);
  ASSERT_TRUE(WaitFor([] { return g_sounds.nPlaying == 1; }));
  // The stop gives up while the sound still plays, however long it plays.
  std::atomic<bool> bStopped{false};
  std::thread stopper([&] {
    m_player.Stop();
    bStopped = true;
  });
  const bool bGaveUp = WaitFor([&] { return bStopped.load(); });
  if (!bGaveUp) ::SetEvent(g_sounds.hLetGo);
  stopper.join();
  ASSERT_TRUE(bGaveUp) << "the stop waited for the sound";
  EXPECT_EQ(g_sounds.nPlaying, 1);
  EXPECT_FALSE(m_player.IsRunning());
  // Requests while it finishes start nothing: only a sound is lost.
  m_player.Request(xtpMenuSoundPopup);
  EXPECT_FALSE(m_player.IsRunning());
  EXPECT_LE(ProcessThreadCount(), nBaseline + 1);
  // It sees the stop after its sound, purges and ends.
  ::SetEvent(g_sounds.hLetGo);
  EXPECT_TRUE(WaitFor([] { return g_sounds.nPurges == 1; }));
  EXPECT_TRUE(WaitFor([nBaseline] { return ProcessThreadCount() <= nBaseline; }));
  // Then a request starts a player again.
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
