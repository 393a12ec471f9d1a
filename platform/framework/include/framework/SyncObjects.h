// Synchronisation objects: kernel mutexes, events and semaphores, critical sections, and
// CSingleLock, which releases what it holds when it goes out of scope. Creating a kernel object
// that the system refuses throws CResourceException*.
#pragma once

#include "framework/Exception.h"

class CSyncObject : public CObject {
  DECLARE_DYNAMIC(CSyncObject)
 public:
  explicit CSyncObject(LPCWSTR pstrName);
  ~CSyncObject() override;

  operator HANDLE() const { return m_hObject; }
  // TRUE when acquired within dwTimeout milliseconds.
  virtual BOOL Lock(DWORD dwTimeout = INFINITE);
  virtual BOOL Unlock() = 0;
  virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

  HANDLE m_hObject;
};

class CSemaphore : public CSyncObject {
  DECLARE_DYNAMIC(CSemaphore)
 public:
  CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCWSTR pstrName = nullptr,
             LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);
  BOOL Unlock() override { return Unlock(1, nullptr); }
  BOOL Unlock(LONG lCount, LPLONG lprevCount = nullptr) override;
};

class CMutex : public CSyncObject {
  DECLARE_DYNAMIC(CMutex)
 public:
  CMutex(BOOL bInitiallyOwn = FALSE, LPCWSTR lpszName = nullptr,
         LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
  BOOL Unlock() override;
};

class CEvent : public CSyncObject {
  DECLARE_DYNAMIC(CEvent)
 public:
  CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCWSTR lpszName = nullptr,
         LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
  BOOL SetEvent() { return ::SetEvent(m_hObject); }
  BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
  BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
  // For an event, unlocking means nothing: it reports success.
  BOOL Unlock() override { return TRUE; }
};

class CCriticalSection : public CSyncObject {
  DECLARE_DYNAMIC(CCriticalSection)
 public:
  CCriticalSection();
  ~CCriticalSection() override;

  operator CRITICAL_SECTION*() { return &m_sect; }
  BOOL Lock() {
    ::EnterCriticalSection(&m_sect);
    return TRUE;
  }
  // A finite timeout polls; INFINITE waits.
  BOOL Lock(DWORD dwTimeout) override;
  BOOL Unlock() override {
    ::LeaveCriticalSection(&m_sect);
    return TRUE;
  }

  CRITICAL_SECTION m_sect;
};

class CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
  ~CSingleLock() { Unlock(); }
  CSingleLock(const CSingleLock&) = delete;
  CSingleLock& operator=(const CSingleLock&) = delete;

  BOOL Lock(DWORD dwTimeOut = INFINITE);
  BOOL Unlock();
  BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
  BOOL IsLocked() const { return m_bAcquired; }

 protected:
  CSyncObject* m_pObject;
  HANDLE m_hObject;
  BOOL m_bAcquired;
};
