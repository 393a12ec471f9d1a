// How the engine asks the user for a Notes template when none of the installed ones is a mail
// template. The wizard's chooser runs the template selection dialog; tests answer it directly.
#pragma once

#include <afxcoll.h>

class ITemplateChooser {
 public:
  virtual ~ITemplateChooser() {}
  // titles: the template titles as read, in the library's list order. Returns TRUE with *selected set
  // to an index into titles when the user chose one, FALSE when the user cancelled. Called on the
  // worker that creates the database; a chooser that asks the user does so as every dialog of a
  // worker does, once no question about the workers is open (the store's pause gate).
  virtual BOOL ChooseTemplate(const CStringArray& titles, int* selected) = 0;
};
