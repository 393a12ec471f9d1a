// How the document preview asks the user before it reads a very large body. The wizard's prompt runs
// the large-item dialog; tests answer it directly.
#pragma once

#include <afx.h>

class ILargeItemPrompt {
 public:
  virtual ~ILargeItemPrompt() {}
  // Runs the question on the calling thread (the preview runs on the user-interface thread) and returns
  // IDOK or IDCANCEL; *dontShowAgain receives 1 when "Don't show this message again" was ticked, else 0.
  virtual int AskLargeItem(BOOL* dontShowAgain) = 0;
};
