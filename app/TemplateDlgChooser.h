// The wizard's answer to the engine's template question: the template selection dialog.
#pragma once

#include "TemplateChooser.h"

// Runs CTemplateDlg modally, without a parent, on the calling thread (the engine's worker thread).
class CTemplateDlgChooser : public ITemplateChooser {
 public:
  // FALSE when the user cancelled, the dialog could not be shown, or the choice is not a row of titles.
  BOOL ChooseTemplate(const CStringArray& titles, int* selected) override;
};
