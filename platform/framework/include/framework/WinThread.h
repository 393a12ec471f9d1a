// CWinThread, worker form: a thread running a function, started with AfxBeginThread. The object
// deletes itself (closing its handle) when the thread ends if m_bAutoDelete is set; clear that flag
// on a suspended thread to keep m_hThread valid for joining, then delete the object yourself.
// The user-interface form (a CWinThread-derived class started with AfxBeginThread(RUNTIME_CLASS))
// runs InitInstance and then a message loop with idle processing (Run) until WM_QUIT; its members
// are implemented by the window layer (src/window/WinApp.cpp).
#pragma once

#include "framework/CmdTarget.h"
#include "framework/Exception.h"

class CWnd;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  // Starts the thread (suspended with CREATE_SUSPENDED). FALSE when the system refuses.
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  operator HANDLE() const { return m_hThread; }
  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
  }

  // Called when the thread ends: deletes the object when m_bAutoDelete is set.
  virtual void Delete();

  // ---- User-interface form ----
  virtual BOOL InitInstance();
  virtual int Run();
  // Walks the target's windows up to the main window (PreTranslateMessage each) and lets the main
  // window see messages of other top-level windows. TRUE when the message was taken.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  // lCount 0: command-UI updates of the main window and its descendants; 1: temporary objects are
  // freed. Returns TRUE while more idle work remains.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual CWnd* GetMainWnd();

  HANDLE m_hThread;
  DWORD m_nThreadID;
  BOOL m_bAutoDelete;
  AFX_THREADPROC m_pfnThreadProc;
  LPVOID m_pThreadParams;
  CWnd* m_pMainWnd;  // this thread's main window; the application's for the main thread
  CWnd* m_pActiveWnd;
  MSG m_msgCur;

 protected:
  // Makes pThread the object AfxGetThread returns on the calling thread (the application object
  // registers itself for the main thread this way).
  static void PASCAL SetCurrentThreadObject(CWinThread* pThread);

 private:
  static unsigned __stdcall ThreadEntry(void* pParam);
};

// Creates the object and starts fn(pParam) at nPriority. Returns NULL when the thread cannot start.
CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a user-interface thread of the given CWinThread-derived class (DECLARE_DYNCREATE).
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling framework thread from inside its function, cleaning up as a normal return would.
[[noreturn]] void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The framework thread object of the calling thread, or NULL.
CWinThread* AFXAPI AfxGetThread();
