// CWinThread (worker form) and AfxBeginThread.
#include "afxwin.h"
#include "afxdisp.h"
#include "framework/WinThread.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
thread_local CWinThread* t_pThread = nullptr;

// What every framework thread does when its function is done, by return or by AfxEndThread.
void FinishThread(CWinThread* pThread, BOOL bDelete) {
  AfxOleTermThread();
  CWnd::DeleteTempMap();
  CGdiObject::DeleteTempMap();
  CDC::DeleteTempMap();
  CMenu::DeleteTempMap();
  CImageList::DeleteTempMap();
  t_pThread = nullptr;
  if (pThread && bDelete) pThread->Delete();
}
}  // namespace

CWinThread::CWinThread()
    : m_hThread(nullptr),
      m_nThreadID(0),
      m_bAutoDelete(TRUE),
      m_pfnThreadProc(nullptr),
      m_pThreadParams(nullptr),
      m_pMainWnd(nullptr),
      m_pActiveWnd(nullptr),
      m_msgCur() {}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_hThread(nullptr),
      m_nThreadID(0),
      m_bAutoDelete(TRUE),
      m_pfnThreadProc(pfnThreadProc),
      m_pThreadParams(pParam),
      m_pMainWnd(nullptr),
      m_pActiveWnd(nullptr),
      m_msgCur() {}

CWinThread::~CWinThread() {
  if (m_hThread) ::CloseHandle(m_hThread);
  m_hThread = nullptr;
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

void PASCAL CWinThread::SetCurrentThreadObject(CWinThread* pThread) { t_pThread = pThread; }

CWinThread* AFXAPI AfxGetThread() { return t_pThread; }

unsigned __stdcall CWinThread::ThreadEntry(void* pParam) {
  CWinThread* pThread = static_cast<CWinThread*>(pParam);
  t_pThread = pThread;
  UINT code = 0;
  if (pThread->m_pfnThreadProc != nullptr) {
    code = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
  } else {
    // User-interface form: a failed InitInstance still gets its ExitInstance.
    code = static_cast<UINT>(pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance());
  }
  FinishThread(pThread, TRUE);
  return code;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (m_hThread) return FALSE;  // one thread per object
  unsigned id = 0;
  // Always created suspended, so that the handle and id are stored before the thread can run.
  uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                               dwCreateFlags | CREATE_SUSPENDED, &id);
  if (h == 0) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(h);
  m_nThreadID = id;
  if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (pfnThreadProc == nullptr) AfxThrowInvalidArgException();
  CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
  if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete pThread;
    return nullptr;
  }
  ::SetThreadPriority(pThread->m_hThread, nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) pThread->ResumeThread();
  return pThread;
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (pThreadClass == nullptr || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) {
    AfxThrowInvalidArgException();
  }
  CWinThread* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
  if (pThread == nullptr) return nullptr;
  if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    delete pThread;
    return nullptr;
  }
  ::SetThreadPriority(pThread->m_hThread, nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) pThread->ResumeThread();
  return pThread;
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete) {
  FinishThread(t_pThread, bDelete);
  _endthreadex(nExitCode);
  for (;;) {
  }
}
