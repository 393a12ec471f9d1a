// The engine's progress reports shown in the wizard's windows: a progress bar and a text window.
#pragma once

#include <afxwin.h>

#include "ProgressSink.h"

// Holds the windows' handles, not their framework objects, because the engine reports from its worker
// threads; the calls reach the windows' own thread as messages. Either window may be null (that part
// is not shown). The text window may be the bar itself (a CPercentProgressCtrl shows its window text).
// The windows must outlive the sink's use.
class CProgressWindowSink : public IProgressSink {
 public:
  CProgressWindowSink(HWND hProgress, HWND hText);

  void SetText(const CString& text) override;
  void SetPos(int percent) override;

 private:
  HWND m_hProgress;
  HWND m_hText;
};
