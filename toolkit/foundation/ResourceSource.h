// The toolkit's resource manager: the one way toolkit code loads its own resources (ids 9000 to
// 9999), from the module the framework currently loads resources from.
#pragma once

#include <afxwin.h>

// A toolbar resource (type 241): 16-bit version, image width and height, then the command ids of the
// items (0 for a separator). The bars build their controls and images from it.
struct XT_TOOLBARDATA {
  WORD wVersion = 0;
  WORD wWidth = 0;
  WORD wHeight = 0;
  CArray<UINT, UINT> arrItems;
};

// One per process, made on first use, destroyed at exit. User-interface thread only.
class CXTResourceSource {
 public:
  CXTResourceSource() = default;
  virtual ~CXTResourceSource() = default;
  CXTResourceSource(const CXTResourceSource&) = delete;
  CXTResourceSource& operator=(const CXTResourceSource&) = delete;

  // FALSE when the id has no string.
  virtual BOOL LoadString(CString& str, UINT nID);
  // Attaches the loaded menu; FALSE when there is none.
  virtual BOOL LoadMenu(CMenu* pMenu, UINT nID);
  // Reads the toolbar resource; FALSE when it is missing or shorter than its item count says.
  virtual BOOL LoadToolBar(XT_TOOLBARDATA* pToolBar, UINT nID);
  // Attaches the loaded bitmap; FALSE when there is none.
  virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nID);
  // The cursor, or NULL.
  virtual HCURSOR LoadCursor(UINT nID);
  // The locked dialog template (it lives as long as the module), or NULL.
  virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nID);
  // Resources come from the program's own module: there is no library to free.
  virtual void FreeResourceLibrary() {}

  // Loads string nIDString and shows it in the framework's message box with nType; the button pressed.
  int ShowMessageBox(UINT nIDString, UINT nType = MB_OK);
};

CXTResourceSource* AFXAPI GetToolkitResourceManager();
