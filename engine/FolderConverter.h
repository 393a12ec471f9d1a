// Joins the PST session and the Notes store for one folder: opens the PST folder by its path and has
// the store's item loop save its items into the Notes folder "Outlook\" + path.
#pragma once

#include <afx.h>

class CNotesStore;
class CPstSession;

// Lives as long as the main frame; the conversion driver sets both borrowed pointers before every
// call, since the PST session is made anew for each conversion. Runs on the conversion worker only.
class CFolderConverter {
 public:
  CFolderConverter();
  virtual ~CFolderConverter();

  // Saves the items of the PST folder at path (as listed by the session, ending with a backslash)
  // into the Notes folder that the driver created for "Outlook\" + path; when sibling folders of one
  // name share the path, the items of every one of them, in listing order, numbered on through them.
  // The empty path stands for the store's top folder, whose items go to the Notes folder "Outlook". A
  // folder that cannot be reached hands nothing to the item loop and is recorded in the store's
  // m_notConverted. Never throws: a failure ends this folder only.
  void ConvertFolder(CString path);

  CNotesStore* m_pStore;
  CPstSession* m_pSession;

 private:
  CFolderConverter(const CFolderConverter&) = delete;
  CFolderConverter& operator=(const CFolderConverter&) = delete;
};
