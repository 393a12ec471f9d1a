// Access to the system's shell icon lists, for the wizard's file lists and trees.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

class CShellIconList {
 public:
  virtual ~CShellIconList() {}

  // The system's image list of small or large icons. The list belongs to the system: never destroy it.
  HIMAGELIST GetSystemImageList(BOOL bSmall);
  // The system icon index for a file name. The file need not exist: the icon follows the name's
  // extension. 0 when the shell gives none.
  int GetIconIndex(LPCTSTR lpszFileName, BOOL bSmall);
};
