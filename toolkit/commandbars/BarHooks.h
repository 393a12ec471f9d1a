// What the bars watch while menus are open: the per-thread tracking state (the tracked bars, the modal
// counter, the hot bar) with its thread mouse hook, the per-thread keyboard hook that hands keys to
// registered sinks, and the process-wide registry that subclasses windows for sinks.
// All of it belongs to the user-interface thread that made it.
#pragma once

#include <afxwin.h>

class CXTPCommandBar;

// A receiver of hooked messages. OnHookMessage answers 0 (ask the next sink), 1 (handled: the message
// is consumed and lResult returned) or 2 (stop asking and let the message pass).
class CXTPHookSink {
 public:
  virtual ~CXTPHookSink() = default;
  virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;
};

// The thread's tracking state: one per user-interface thread, made on first use.
class CXTPBarMouseTracker {
 public:
  CXTPBarMouseTracker();
  ~CXTPBarMouseTracker();
  CXTPBarMouseTracker(const CXTPBarMouseTracker&) = delete;
  CXTPBarMouseTracker& operator=(const CXTPBarMouseTracker&) = delete;

  // The calling thread's state.
  static CXTPBarMouseTracker* PASCAL GetThreadState();

  void TrackBar(CXTPCommandBar* pBar);
  void UntrackBar(CXTPCommandBar* pBar);
  // While bars are tracked, the first leaves tracking (which untracks it); a bar that does not leave
  // is dropped from the list, so the loop always ends.
  void CloseAllTracked();
  void CloseUnlocked();
  void LockTracked(BOOL bLock);
  BOOL IsTrackingOther(const CXTPCommandBar* pBar) const;
  BOOL IsTracked(const CXTPCommandBar* pBar) const;
  int GetTrackedCount() const { return static_cast<int>(m_arrTracked.GetSize()); }
  CXTPCommandBar* GetTrackedAt(int nIndex) const { return m_arrTracked[nIndex]; }
  void AddExtraWindow(HWND hWnd);
  void RemoveExtraWindow(HWND hWnd);
  void TrackMouseLeave(HWND hWnd);
  void SetMouseHook(BOOL bSet);
  // Forgets a bar that is going away (tracked list, hot bar).
  void OnBarDestroyed(CXTPCommandBar* pBar);
  // The mouse-wheel handling while popups are open: TRUE when the message was taken.
  BOOL OnMouseWheel(MSG* pMsg);

  int m_nModalCounter = 0;
  CXTPCommandBar* m_pHotBar = nullptr;
  HWND m_hwndHover = nullptr;
  BOOL m_bFullMenus = FALSE;
  BOOL m_bSwallowNextButtonUp = FALSE;
  // Set while a bar tracks the mouse without keyboard selection.
  BOOL m_bMouseTracking = FALSE;
  // Set while any bar of the thread tracks by keyboard.
  BOOL m_bKeyboardMode = FALSE;

 private:
  CArray<CXTPCommandBar*, CXTPCommandBar*> m_arrTracked;
  CArray<HWND, HWND> m_arrExtraWindows;
  HHOOK m_hHookMouse = nullptr;
};

// The thread's keyboard hook: keys go to the sinks, newest first, while any sink is registered.
class CXTPBarKeyboardHook {
 public:
  static CXTPBarKeyboardHook* PASCAL GetThreadState();

  void AddSink(CXTPHookSink* pSink);
  void RemoveSink(CXTPHookSink* pSink);
  BOOL IsActive() const { return m_arrSinks.GetSize() > 0; }

 private:
  CArray<CXTPHookSink*, CXTPHookSink*> m_arrSinks;
  HHOOK m_hHookKeyboard = nullptr;
  HHOOK m_hHookCallWndProc = nullptr;
};

// Process-wide: windows subclassed on behalf of sinks.
class CXTPWindowSubclassHooks {
 public:
  static CXTPWindowSubclassHooks* PASCAL GetInstance();

  void AddSink(HWND hWnd, CXTPHookSink* pSink);
  void RemoveSink(HWND hWnd, CXTPHookSink* pSink);
  void RemoveSinkEverywhere(CXTPHookSink* pSink);

 private:
  struct Record {
    HWND hWnd;
    WNDPROC pfnOldWndProc;
    CArray<CXTPHookSink*, CXTPHookSink*> arrSinks;
  };
  CMap<HWND, HWND, Record*, Record*> m_mapRecords;
};
