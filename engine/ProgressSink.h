// Where the engine reports progress and status while it works: the wizard hands in its progress bars
// and wait dialogs through this interface; a null sink means nothing is drawn.
#pragma once

#include <afx.h>

// A progress window as the engine sees it. Implementations wrap a window of the user-interface thread;
// the engine calls them from worker threads without a lock, as it does with every progress window.
class IProgressSink {
 public:
  virtual ~IProgressSink() {}
  // The status text shown in or beside the bar.
  virtual void SetText(const CString& text) = 0;
  // Position 0 to 100.
  virtual void SetPos(int percent) = 0;
};
