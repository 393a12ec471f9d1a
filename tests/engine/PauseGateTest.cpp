// The workers' pause gate on its own, and the item loop held at it as the saving page's stop question
// holds it: no item is read while the gate is held, No lets the loop go on, Yes ends it before the next
// item.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
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

// The description a waiting thread has, read as someone outside the program reads it.
TEST(PauseGate, AHeldGateKeepsPassUntilTheLastReleaseAndTheWaiterSaysItWaits) {
  CPauseGate gate;
  CPauseGate::CRun run(gate);
  ASSERT_TRUE(gate.Hold());
  ASSERT_TRUE(gate.Hold());
  std::atomic<DWORD> waiter{0};
  Background pass([&] {
    waiter = ::GetCurrentThreadId();
    gate.Pass();
  });
  EXPECT_TRUE(testsupport::WaitUntil([&] { return gate.GetWaitingCount() == 1; }, GENEROUS_MS));
  EXPECT_EQ(testsupport::ThreadDescription(waiter), CPauseGate::WAITING_THREAD_DESCRIPTION);
  EXPECT_FALSE(pass.EndsWithin(HELD_BOUND_MS));
  gate.Release();
  EXPECT_FALSE(pass.EndsWithin(HELD_BOUND_MS)) << "one of two holds is still on";
  gate.Release();
  EXPECT_TRUE(pass.EndsWithin(GENEROUS_MS));
  EXPECT_EQ(gate.GetWaitingCount(), 0);
  // Releases beyond the holds leave the gate open.
  gate.Release();
  EXPECT_FALSE(gate.IsHeld());
}

TEST(PauseGate, AWaitForOneWorkerLetsThatWorkerThroughAndNoOther) {
  CPauseGate gate;
  CPauseGate::CRun waitedFor(gate);
  CPauseGate::CRun other(gate);
  ASSERT_TRUE(gate.Hold());
  std::atomic<DWORD> waitedForThread{0};
  Background passOther([&] {
    gate.Pass();
    other.End();
  });
  Background passWaitedFor([&] {
    waitedForThread = ::GetCurrentThreadId();
    gate.Pass();
    waitedFor.End();
  });
  ASSERT_TRUE(testsupport::WaitUntil([&] { return gate.GetWaitingCount() == 2; }, GENEROUS_MS));
  {
    CPauseGate::CLetThrough letThrough(gate, waitedForThread);
    EXPECT_TRUE(passWaitedFor.EndsWithin(GENEROUS_MS)) << "the worker waited for stayed held";
  }
  EXPECT_FALSE(passOther.EndsWithin(HELD_BOUND_MS)) << "the wait let another worker through";
  EXPECT_TRUE(gate.IsHeld());
  EXPECT_EQ(gate.GetWaitingCount(), 1);
  gate.Release();
  EXPECT_TRUE(passOther.EndsWithin(GENEROUS_MS));
}

TEST(PauseGate, TheEndOfARunWaitsForTheAnswerAndIsNeverAskedAboutAfterwards) {
  CPauseGate gate;
  CPauseGate::CRun run(gate);
  ASSERT_TRUE(gate.Hold());
  {
    Background end([&] { run.End(); });
    EXPECT_FALSE(end.EndsWithin(HELD_BOUND_MS));
    gate.Release();
    EXPECT_TRUE(end.EndsWithin(GENEROUS_MS));
  }
  EXPECT_FALSE(gate.Hold());
  // Two runs: the gate holds while either is counted; a run moved on is counted once.
  CPauseGate::CRun first(gate);
  CPauseGate::CRun second(gate);
  first.End();
  CPauseGate::CRun taken(std::move(second));
  second.End();
  EXPECT_TRUE(gate.Hold());
  gate.Release();
  taken.End();
  EXPECT_FALSE(gate.Hold());
}

TEST(PauseGate, ARunEndsWhenItsWorkerLeavesByAnException) {
  CPauseGate gate;
  CPauseGate::CRun handedOver(gate);
  Background worker([&] {
    try {
      CPauseGate::CRun run(std::move(handedOver));
      throw std::runtime_error("the worker's call failed");
    } catch (const std::runtime_error&) {
    }
  });
  ASSERT_TRUE(worker.EndsWithin(GENEROUS_MS));
  EXPECT_FALSE(gate.Hold()) << "a Stop would ask about a run that is gone";
}

// A worker's dialog and a question about the workers exclude each other, even after the worker's run:
// the dialog waits for a close question's answer, and no question holds the gate while the dialog lasts.
TEST(PauseGate, AWorkersDialogWaitsForAnOpenQuestionAndHoldsOffTheNextOne) {
  CPauseGate gate;
  ASSERT_TRUE(gate.HoldAll()) << "a question about the whole program holds without a run";
  std::atomic<bool> turnTaken{false};
  HANDLE dialogOver = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    Background dialog([&] {
      CPauseGate::CDialogTurn turn(gate);
      turnTaken = true;
      ::WaitForSingleObject(dialogOver, INFINITE);
    });
    EXPECT_TRUE(testsupport::WaitUntil([&] { return gate.GetWaitingCount() == 1; }, GENEROUS_MS));
    EXPECT_FALSE(turnTaken) << "the dialog opened under the question";
    gate.Release();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return turnTaken.load(); }, GENEROUS_MS));
    CPauseGate::CRun run(gate);
    EXPECT_FALSE(gate.HoldAll()) << "a question was asked over the worker's dialog";
    EXPECT_FALSE(gate.Hold());
    EXPECT_FALSE(gate.IsHeld());
    ::SetEvent(dialogOver);
    EXPECT_TRUE(dialog.EndsWithin(GENEROUS_MS));
  }
  ::CloseHandle(dialogOver);
  EXPECT_TRUE(gate.HoldAll()) << "the dialog's end did not give the questions back";
  gate.Release();
}

// A question that a worker's dialog keeps off is told so, and can be asked once the turn is over; one
// refused for want of a run is not.
TEST(PauseGate, AHoldRefusedForADialogsTurnSaysSo) {
  CPauseGate gate;
  BOOL bDialogTurn = TRUE;
  EXPECT_FALSE(gate.Hold(&bDialogTurn));
  EXPECT_FALSE(bDialogTurn) << "no run and no dialog";
  CPauseGate::CRun run(gate);
  {
    CPauseGate::CDialogTurn turn(gate);
    EXPECT_FALSE(gate.Hold(&bDialogTurn));
    EXPECT_TRUE(bDialogTurn);
    bDialogTurn = FALSE;
    EXPECT_FALSE(gate.HoldAll(&bDialogTurn));
    EXPECT_TRUE(bDialogTurn);
  }
  EXPECT_TRUE(gate.Hold(&bDialogTurn));
  gate.Release();
}

// A turn ended early, from another thread, gives the questions back at once, and its destruction
// then ends nothing more: another dialog's turn still keeps the next question off.
TEST(PauseGate, ATurnEndedEarlyGivesTheQuestionsBackOnceOnly) {
  CPauseGate gate;
  CPauseGate::CRun run(gate);
  CPauseGate::CDialogTurn other(gate);
  {
    CPauseGate::CDialogTurn turn(gate);
    std::thread([&] { turn.End(); }).join();
    turn.End();
    BOOL bDialogTurn = FALSE;
    EXPECT_FALSE(gate.Hold(&bDialogTurn)) << "the other dialog's turn ended with this one";
    EXPECT_TRUE(bDialogTurn);
  }
  other.End();
  EXPECT_TRUE(gate.Hold()) << "a turn ended early still kept the question off";
  gate.Release();
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
    CPauseGate::CRun run(store_.m_pause);
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
    run.End();
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
