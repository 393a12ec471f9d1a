// The workers' pause gate on its own, and the item loop held at it as the saving page's stop question
// holds it: no item is read while the gate is held, No lets the loop go on, Yes ends it before the next
// item.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ItemLoopSupport.h"
#include "PauseGate.h"
#include "TestProcess.h"

using namespace enginetest;

namespace {

// Long enough for a waiter that is not held to go on; a held one never does, however long it is given.
const DWORD HELD_BOUND_MS = 500;
const DWORD GENEROUS_MS = 20000;

// Runs call on a thread of its own; Ended tells whether it has returned.
class Background {
 public:
  explicit Background(std::function<void()> call)
      : m_done(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_thread([this, call] {
          call();
          ::SetEvent(m_done);
        }) {}
  ~Background() {
    m_thread.join();
    ::CloseHandle(m_done);
  }
  bool EndsWithin(DWORD milliseconds) { return ::WaitForSingleObject(m_done, milliseconds) == WAIT_OBJECT_0; }

 private:
  HANDLE m_done;
  std::thread m_thread;
};

TEST(PauseGate, HoldFailsWithoutARunAndHoldsNothing) {
  CPauseGate gate;
  EXPECT_FALSE(gate.Hold());
  EXPECT_FALSE(gate.IsHeld());
  Background pass([&] { gate.Pass(); });
  EXPECT_TRUE(pass.EndsWithin(GENEROUS_MS));
}

TEST(PauseGate, AHeldGateKeepsPassUntilTheLastReleaseOrReleaseAll) {
  CPauseGate gate;
  gate.BeginRun();
  ASSERT_TRUE(gate.Hold());
  ASSERT_TRUE(gate.Hold());
  {
    Background pass([&] { gate.Pass(); });
    EXPECT_TRUE(testsupport::WaitUntil([&] { return gate.GetWaitingCount() == 1; }, GENEROUS_MS));
    EXPECT_FALSE(pass.EndsWithin(HELD_BOUND_MS));
    gate.Release();
    EXPECT_FALSE(pass.EndsWithin(HELD_BOUND_MS)) << "one of two holds is still on";
    gate.Release();
    EXPECT_TRUE(pass.EndsWithin(GENEROUS_MS));
    EXPECT_EQ(gate.GetWaitingCount(), 0);
  }
  ASSERT_TRUE(gate.Hold());
  ASSERT_TRUE(gate.Hold());
  Background pass([&] { gate.Pass(); });
  EXPECT_FALSE(pass.EndsWithin(HELD_BOUND_MS));
  gate.ReleaseAll();
  EXPECT_TRUE(pass.EndsWithin(GENEROUS_MS));
  EXPECT_FALSE(gate.IsHeld());
  // Releases beyond the holds leave the gate open.
  gate.Release();
  EXPECT_FALSE(gate.IsHeld());
  gate.EndRun();
}

TEST(PauseGate, TheEndOfARunWaitsForTheAnswerAndIsNeverAskedAboutAfterwards) {
  CPauseGate gate;
  gate.BeginRun();
  ASSERT_TRUE(gate.Hold());
  {
    Background end([&] { gate.EndRun(); });
    EXPECT_FALSE(end.EndsWithin(HELD_BOUND_MS));
    gate.Release();
    EXPECT_TRUE(end.EndsWithin(GENEROUS_MS));
  }
  EXPECT_FALSE(gate.Hold());
  // Two runs: the gate holds while either is counted.
  gate.BeginRun();
  gate.BeginRun();
  gate.EndRun();
  EXPECT_TRUE(gate.Hold());
  gate.Release();
  gate.EndRun();
  EXPECT_FALSE(gate.Hold());
}

// The item loop's progress, read from the test's thread while the loop runs on its own; holds the
// store's gate when item holdAt is shown, as the stop question does while that item is being saved.
class HoldingSink : public IProgressSink {
 public:
  HoldingSink(CPauseGate& gate, int holdAt)
      : m_gate(gate), m_holdAt(holdAt), m_held(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~HoldingSink() override { ::CloseHandle(m_held); }
  void SetText(const CString&) override {
    if (++m_shown == m_holdAt && m_gate.Hold()) ::SetEvent(m_held);
  }
  void SetPos(int) override {}
  bool WaitUntilHeld() { return ::WaitForSingleObject(m_held, GENEROUS_MS) == WAIT_OBJECT_0; }
  int Shown() const { return m_shown; }

 private:
  CPauseGate& m_gate;
  const int m_holdAt;
  HANDLE m_held;
  std::atomic<int> m_shown{0};
};

class HeldItemLoop : public ItemLoopTest {
 protected:
  // Runs the loop over six mails with the gate held from item 3 on; answer runs on the test's thread
  // once the loop has been held long enough to have gone on if it could. The loop's result.
  int RunHeld(const std::function<void()>& answer) {
    OpenPst(MailFolder("Inbox", 6));
    HoldingSink holding(store_.m_pause, 3);
    store_.m_pItemProgress = &holding;
    EXPECT_EQ(1, store_.CreateFolder(L"Outlook\\Inbox\\"));
    RdoFolderDispatch folder;
    session_.OpenFolderByPath(L"Inbox\\", folder);
    store_.m_pause.BeginRun();
    int result = -1;
    {
      // The loop stays on the thread that opened the PST (its apartment); the question's side runs on
      // another one.
      std::thread question([&] {
        if (!holding.WaitUntilHeld()) return;
        // The loop goes on to its next boundary and waits there: what it has shown by then is all it did.
        m_loopWaited =
            testsupport::WaitUntil([this] { return store_.m_pause.GetWaitingCount() == 1; }, GENEROUS_MS);
        m_shownWhileHeld = holding.Shown();
        answer();
      });
      result = store_.SaveFolderItems(L"Outlook\\Inbox\\", &folder);
      question.join();
    }
    store_.m_pause.EndRun();
    store_.m_pItemProgress = &sink_;
    return result;
  }

  int m_shownWhileHeld = -1;
  bool m_loopWaited = false;
};

TEST_F(HeldItemLoop, NoItemIsReadWhileHeldAndNoLetsTheLoopGoOnToTheEnd) {
  EXPECT_EQ(1, RunHeld([this] { store_.m_pause.Release(); }));
  EXPECT_TRUE(m_loopWaited) << "the loop never waited at the gate";
  // Item 3 was being saved when the gate was held: it is finished, item 4 waits.
  EXPECT_EQ(3, m_shownWhileHeld);
  EXPECT_EQ(6, DocumentsIn(L"Outlook\\Inbox"));
}

TEST_F(HeldItemLoop, YesEndsTheLoopBeforeTheNextItemWithWhatWasShownSaved) {
  EXPECT_EQ(0, RunHeld([this] {
              store_.m_bStop = 1;
              store_.m_pause.Release();
            }));
  EXPECT_TRUE(m_loopWaited) << "the loop never waited at the gate";
  EXPECT_EQ(3, m_shownWhileHeld);
  // What the user last saw is what was saved.
  EXPECT_EQ(3, DocumentsIn(L"Outlook\\Inbox"));
  EXPECT_EQ(0, SkippedCount());
}

}  // namespace
