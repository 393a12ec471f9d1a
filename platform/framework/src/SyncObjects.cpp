// Synchronisation objects.
#include "afxmt.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)

CSyncObject::CSyncObject(LPCWSTR) : m_hObject(nullptr) {}

CSyncObject::~CSyncObject() {
  if (m_hObject) ::CloseHandle(m_hObject);
  m_hObject = nullptr;
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
  DWORD rc = ::WaitForSingleObject(m_hObject, dwTimeout);
  // An abandoned mutex is still acquired.
  return rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
}

BOOL CSyncObject::Unlock(LONG, LPLONG) { return TRUE; }

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCWSTR pstrName,
                       LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName) {
  if (lMaxCount <= 0 || lInitialCount < 0 || lInitialCount > lMaxCount) AfxThrowInvalidArgException();
  m_hObject = ::CreateSemaphoreW(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
  if (!m_hObject) AfxThrowResourceException();
}

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lprevCount) {
  return ::ReleaseSemaphore(m_hObject, lCount, lprevCount);
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCWSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName) {
  m_hObject = ::CreateMutexW(lpsaAttribute, bInitiallyOwn, lpszName);
  if (!m_hObject) AfxThrowResourceException();
}

BOOL CMutex::Unlock() { return ::ReleaseMutex(m_hObject); }

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCWSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName) {
  m_hObject = ::CreateEventW(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
  if (!m_hObject) AfxThrowResourceException();
}

CCriticalSection::CCriticalSection() : CSyncObject(nullptr) { ::InitializeCriticalSection(&m_sect); }

CCriticalSection::~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }

BOOL CCriticalSection::Lock(DWORD dwTimeout) {
  if (dwTimeout == INFINITE) return Lock();
  ULONGLONG start = ::GetTickCount64();
  for (;;) {
    if (::TryEnterCriticalSection(&m_sect)) return TRUE;
    if (::GetTickCount64() - start >= dwTimeout) return FALSE;
    ::Sleep(1);
  }
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject), m_hObject(pObject ? pObject->m_hObject : nullptr), m_bAcquired(FALSE) {
  if (!pObject) AfxThrowInvalidArgException();
  if (bInitialLock) Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut) {
  if (m_bAcquired) return TRUE;  // a second Lock would deadlock a mutex-free object or double-count
  m_bAcquired = m_pObject->Lock(dwTimeOut);
  return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
  if (m_bAcquired) m_bAcquired = !m_pObject->Unlock();
  return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount) {
  if (m_bAcquired) m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
  return !m_bAcquired;
}
