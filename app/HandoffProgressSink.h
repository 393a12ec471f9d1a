// The engine's progress reports from a worker, shown in a window of the user-interface thread through
// the hand-off: the sink keeps the latest position and text, and one posted hand-off at a time carries
// them over to that thread, so a fast loop never floods the window's queue nor waits for it.
#pragma once

#include <afxwin.h>

#include <functional>
#include <mutex>

#include "ProgressSink.h"

// Called from any thread; the show function runs on the receiving window's thread, while that window
// exists (it maps WM_UI_HANDOFF to CUiHandoff::Receive), with the values as they are when it runs.
// The sink must outlive its window's queue: a page holds its sinks as members.
class CHandoffProgressSink : public IProgressSink {
 public:
  struct Update {
    BOOL bPos = FALSE;  // the position changed since the last show
    int nPos = 0;
    BOOL bText = FALSE;  // the text changed since the last show
    CString strText;
  };
  typedef std::function<void(const Update&)> ShowFunction;

  CHandoffProgressSink();

  // The receiving window and what shows an update there. Set before the worker starts.
  void Attach(HWND hWndReceiver, ShowFunction show);

  void SetText(const CString& text) override;
  void SetPos(int percent) override;

  // The latest text given (also when not yet shown).
  CString GetText() const;
  // Forgets the latest text and position, so that a new run starts empty.
  void Reset();

 private:
  void Post();
  void Show();

  HWND m_hWndReceiver;
  ShowFunction m_show;
  mutable std::mutex m_lock;
  Update m_pending;
  CString m_strLatest;
  BOOL m_bPosted;
};
