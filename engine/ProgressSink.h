// Where the engine reports progress and status while it works: the wizard hands in its progress bars
// and wait dialogs through this interface; a null sink means nothing is drawn.
#pragma once

#include <afx.h>

// A progress window as the engine sees it. Implementations wrap a window of the user-interface thread;
// the engine calls them from worker threads without a lock, so an implementation hands each call over
// to that thread (a private message posted to the window with a record the receiver frees).
class IProgressSink {
 public:
  virtual ~IProgressSink() {}
  // The status text shown in or beside the bar.
  virtual void SetText(const CString& text) = 0;
  // Position 0 to 100.
  virtual void SetPos(int percent) = 0;
  // The running counts of the NSF folder listing: folders and entries found so far and the name of the
  // last folder found. The progress dialog formats them into its wait text; a sink whose window shows
  // no such text ignores them.
  virtual void SetScanProgressText(int /*foldersFound*/, int /*entriesFound*/,
                                   const CString& /*lastFolder*/) {}
};
