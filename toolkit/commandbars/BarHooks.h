// What the bars watch while menus are open: the per-thread tracking state (the tracked bars, the modal
// counter, the hot bar) with its thread mouse hook, the per-thread keyboard hook that hands keys to
// registered sinks, and the process-wide registry that subclasses windows for sinks.
// All of it belongs to the user-interface thread that made it.
#pragma once

#include <afxwin.h>

#include <functional>

class CXTPCommandBar;

// A receiver of hooked messages. OnHookMessage answers 0 (ask the next sink), 1 (handled: the message
// is consumed and lResult returned) or 2 (stop asking and let the message pass).
class CXTPHookSink {
 public:
  virtual ~CXTPHookSink() = default;
  virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;
};

// The thread's tracking state: one per user-interface thread, made on first use. Its WH_MOUSE hook
// lives as long as the state: while bars track, it closes them on clicks outside and drops repeated
// mouse moves.
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
  // (one that lost its window, or whose tracking ended elsewhere) is dropped from the list, so the
  // loop always ends.
  void CloseAllTracked();
  // When the first tracked bar is locked (a nested menu runs), every unlocked tracked bar leaves.
  void CloseUnlocked();
  void LockTracked(BOOL bLock);
  BOOL IsTrackingOther(const CXTPCommandBar* pBar) const;
  BOOL IsTracked(const CXTPCommandBar* pBar) const;
  int GetTrackedCount() const { return static_cast<int>(m_arrTracked.GetSize()); }
  CXTPCommandBar* GetTrackedAt(int nIndex) const { return m_arrTracked[nIndex]; }
  // Windows that count as part of the open menus (an edit's drop-down list).
  void AddExtraWindow(HWND hWnd);
  void RemoveExtraWindow(HWND hWnd);
  // Emulates WM_MOUSELEAVE for the window: the previous hover window gets its leave at once, the new
  // one a 50 ms watch (timer 113341) that posts the leave when the cursor is gone.
  void TrackMouseLeave(HWND hWnd);
  void SetMouseHook(BOOL bSet);
  BOOL IsMouseHookSet() const { return m_hHookMouse != nullptr; }
  // Forgets a bar that is going away (tracked list, hot bar).
  void OnBarDestroyed(CXTPCommandBar* pBar);
  // The mouse wheel while popups are open: a scrolling popup scrolls, and the wheel goes nowhere else.
  // TRUE when the message was taken.
  BOOL OnMouseWheel(MSG* pMsg);
  // A message sent to a window of the thread (the call-window-procedure hook). While bars are tracked,
  // the menus close when the application is deactivated, and when a window that holds them (the frame
  // of a tracked bar, or a window that owns that frame) loses the activation, cancels its modes, is
  // moved or resized, or is clicked outside the menus. A window manager draws the frame's caption
  // itself: a click there reaches the program only as the frame's WM_MOUSEACTIVATE, which is then
  // taken as a click where the cursor is.
  void OnSentMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

  int m_nModalCounter = 0;
  CXTPCommandBar* m_pHotBar = nullptr;
  HWND m_hwndHover = nullptr;
  BOOL m_bFullMenus = FALSE;
  BOOL m_bSwallowNextButtonUp = FALSE;
  // Set while a bar tracks the mouse without keyboard selection.
  BOOL m_bMouseTracking = FALSE;
  // Set while any bar of the thread tracks by keyboard.
  BOOL m_bKeyboardMode = FALSE;

  // The keyboard hook notes the release of an Alt that closed the menus; the frame's key-menu command
  // that the release makes right away is then taken without opening the menu bar. TRUE (and the note
  // is gone) when such a release happened a moment ago.
  void NoteAltCloseRelease() {
    m_dwAltCloseTick = ::GetTickCount();
    m_bAltCloseNoted = TRUE;
  }
  BOOL ConsumeAltCloseRelease();

  enum { TID_MOUSELEAVE = 113341 };

 private:
  static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
  static void CALLBACK MouseLeaveTimerProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);
  // TRUE when the message is consumed.
  BOOL OnMouseHook(UINT nMessage, CPoint point);
  void ClickTest(UINT nMessage, CPoint point);
  // Whether hWnd holds tracked bars without being one: the top-level window of a tracked bar, or an
  // owner of that window.
  BOOL IsHostOfTracked(HWND hWnd) const;
  BOOL IsTrackedWindow(HWND hWnd) const;

  CArray<CXTPCommandBar*, CXTPCommandBar*> m_arrTracked;
  CArray<HWND, HWND> m_arrExtraWindows;
  HHOOK m_hHookMouse = nullptr;
  CPoint m_ptLastHook = CPoint(-1, -1);
  DWORD m_dwAltCloseTick = 0;
  BOOL m_bAltCloseNoted = FALSE;
};

// The thread's keyboard hook: keys go to the sinks, newest first, while any sink is registered; the
// call-window-procedure hook closes the menus when the application is deactivated. An Alt press that
// closed the menus keeps the hooks until its release has been seen, so the release opens nothing.
class CXTPBarKeyboardHook {
 public:
  static CXTPBarKeyboardHook* PASCAL GetThreadState();

  // Installs both hooks when missing and appends the sink unless present.
  void AddSink(CXTPHookSink* pSink);
  // Removes the sink; without sinks both hooks go.
  void RemoveSink(CXTPHookSink* pSink);
  BOOL IsActive() const { return m_arrSinks.GetSize() > 0; }
  BOOL IsHookSet() const { return m_hHookKeyboard != nullptr || m_hHookCallWndProc != nullptr; }

  // Runs fnWork once the key that the hook is handing to its sinks has left the input queue; at once
  // when no key is being handed. Until the hook returns, that key is still the first one of the
  // thread's queue, and a modal loop started meanwhile would read it again as its own. A message
  // posted to a message-only window of the thread, which every message loop dispatches, carries the
  // work; work whose message cannot be posted runs at once.
  void RunAfterKey(std::function<void()> fnWork);

 private:
  static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK AfterKeyWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
  void SetHooks(BOOL bSet);
  BOOL HasSink(const CXTPHookSink* pSink) const;

  CArray<CXTPHookSink*, CXTPHookSink*> m_arrSinks;
  HHOOK m_hHookKeyboard = nullptr;
  HHOOK m_hHookCallWndProc = nullptr;
  BOOL m_bAltReleasePending = FALSE;
  int m_nHandlingKey = 0;
  HWND m_hWndAfterKey = nullptr;
};

// Process-wide: windows subclassed on behalf of sinks. Used from the user-interface thread only.
// A sink may unregister itself (or another) while the shared window procedure dispatches to it: the
// dispatch walks a copy, skips sinks gone meanwhile, and a record freed during a dispatch is deleted
// when that dispatch unwinds. The saved window procedure is put back only while ours is still the
// window's; when someone subclassed the window after us, a record without sinks stays and passes
// messages through until WM_NCDESTROY, so the later subclasser is never cut out.
class CXTPWindowSubclassHooks {
 public:
  static CXTPWindowSubclassHooks* PASCAL GetInstance();
  ~CXTPWindowSubclassHooks();

  void AddSink(HWND hWnd, CXTPHookSink* pSink);
  void RemoveSink(HWND hWnd, CXTPHookSink* pSink);
  void RemoveSinkEverywhere(CXTPHookSink* pSink);
  // Whether the window has a record (with or without sinks), and how many sinks it holds.
  BOOL IsSubclassed(HWND hWnd) const;
  int GetSinkCount(HWND hWnd) const;

 private:
  struct Record {
    HWND hWnd;
    WNDPROC pfnOldWndProc;
    CArray<CXTPHookSink*, CXTPHookSink*> arrSinks;
    int nDispatch = 0;
    BOOL bDeletePending = FALSE;
  };
  static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(Record* pRecord, UINT nMessage, WPARAM wParam, LPARAM lParam);
  // Takes the record out of the map: puts the saved procedure back when ours is still installed and
  // deletes the record (later, when a dispatch is running). With bForce (WM_NCDESTROY) it goes even
  // when another procedure was installed after ours.
  void Detach(Record* pRecord, BOOL bForce);
  static BOOL HasSink(const Record* pRecord, const CXTPHookSink* pSink);

  CMap<HWND, HWND, Record*, Record*> m_mapRecords;
};
