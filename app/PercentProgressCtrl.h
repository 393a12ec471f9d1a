// A progress bar of the wizard that paints its own percentage followed by its window text
// ("45% Saving"), over a white-to-green gradient.
#pragma once

#include <afxcmn.h>

// Used like any progress control (SetRange, SetPos, SetWindowText); the text is repainted with the
// bar. User-interface thread only, like the window it wraps.
class CPercentProgressCtrl : public CProgressCtrl {
 public:
  CPercentProgressCtrl();

  // What the bar shows: the percent of the position against the range's upper bound, "% ", then the
  // window text. An upper bound below 1 shows 0.
  CString GetPercentText() const;
  // The percent shown: position * 100 / upper bound, 0 when the upper bound is below 1.
  int GetPercent() const;

  // Draw the text from the left edge instead of centred (only when there is a window text).
  BOOL m_bTextLeft;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

  DECLARE_MESSAGE_MAP()
};
