// Worker threads and synchronisation: AfxBeginThread with and without auto-deletion, suspension,
// per-thread OLE initialisation, critical sections, mutexes and events through CSingleLock.
#include <afxwin.h>
#include <afxmt.h>
#include <afxdisp.h>

#include <gtest/gtest.h>

namespace {

struct Shared {
  CCriticalSection lock;
  CEvent started{FALSE, TRUE};
  LONG counter = 0;
  CWinThread* seenThread = nullptr;
  BOOL oleFirst = FALSE;
  BOOL oleSecond = FALSE;
};

UINT AFX_CDECL Work(LPVOID p) {
  Shared* shared = static_cast<Shared*>(p);
  shared->seenThread = AfxGetThread();
  shared->oleFirst = AfxOleInit();
  shared->oleSecond = AfxOleInit();
  for (int i = 0; i < 10000; ++i) {
    CSingleLock guard(&shared->lock, TRUE);
    ++shared->counter;
  }
  shared->started.SetEvent();
  return 7;
}

TEST(WorkerThreads, AKeptThreadObjectCanBeJoinedAndReportsItsExitCode) {
  Shared shared;
  CWinThread* thread = AfxBeginThread(Work, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(nullptr, thread);
  thread->m_bAutoDelete = FALSE;
  EXPECT_EQ(THREAD_PRIORITY_NORMAL, thread->GetThreadPriority());
  thread->ResumeThread();
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 10000));
  DWORD code = 0;
  GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(7u, code);
  EXPECT_EQ(thread, shared.seenThread);
  EXPECT_TRUE(shared.oleFirst);
  EXPECT_TRUE(shared.oleSecond);
  EXPECT_EQ(10000, shared.counter);
  delete thread;
}

TEST(WorkerThreads, ThreadsCountingUnderOneLockLoseNoUpdates) {
  Shared shared;
  CWinThread* threads[4];
  for (auto& t : threads) {
    t = AfxBeginThread(Work, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, t);
    t->m_bAutoDelete = FALSE;
    t->ResumeThread();
  }
  for (auto* t : threads) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->m_hThread, 10000));
    delete t;
  }
  EXPECT_EQ(40000, shared.counter);
  EXPECT_EQ(nullptr, AfxGetThread());  // the test's own thread is no framework thread
}

UINT AFX_CDECL SignalOnly(LPVOID p) {
  static_cast<CEvent*>(p)->SetEvent();
  return 0;
}

TEST(WorkerThreads, AnAutoDeletingThreadCleansUpAfterItself) {
  CEvent done;
  CWinThread* thread = AfxBeginThread(SignalOnly, &done);
  ASSERT_NE(nullptr, thread);
  CSingleLock wait(&done);
  EXPECT_TRUE(wait.Lock(10000));
}

UINT AFX_CDECL OleInMultithreadedApartment(LPVOID p) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  *static_cast<BOOL*>(p) = AfxOleInit();
  CoUninitialize();
  return 0;
}

TEST(WorkerThreads, AfxOleInitFailsInAThreadAlreadyInAnotherApartment) {
  BOOL result = TRUE;
  CWinThread* thread =
      AfxBeginThread(OleInMultithreadedApartment, &result, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(nullptr, thread);
  thread->m_bAutoDelete = FALSE;
  thread->ResumeThread();
  WaitForSingleObject(thread->m_hThread, 10000);
  delete thread;
  EXPECT_FALSE(result);
}

TEST(SyncObjects, LocksTimeOutAndReleaseWithTheirScope) {
  CMutex mutex;
  {
    CSingleLock lock(&mutex, TRUE);
    EXPECT_TRUE(lock.IsLocked());
    lock.Unlock();
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Lock(0));
  }
  CEvent manual(FALSE, TRUE);
  CSingleLock waiter(&manual);
  EXPECT_FALSE(waiter.Lock(0));
  manual.SetEvent();
  EXPECT_TRUE(waiter.Lock(0));
  manual.ResetEvent();
  CSemaphore semaphore(1, 2);
  CSingleLock first(&semaphore, TRUE);
  CSingleLock second(&semaphore);
  EXPECT_FALSE(second.Lock(0));
  first.Unlock();
  EXPECT_TRUE(second.Lock(0));
  CCriticalSection section;
  EXPECT_TRUE(section.Lock(0));
  section.Unlock();
}

}  // namespace
