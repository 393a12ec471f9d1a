// The controls that fill a bar from the running application: placeholder buttons that, before every
// layout of their bar, replace the temporary items after them with fresh ones and hide themselves
// (open MDI windows, toolbars, OLE verbs, recent files, tab-group actions), and the label that a
// paint theme draws with a caption background. Each is small, so they share this file pair.
// User-interface thread only.
#pragma once

#include "ControlButton.h"

class CRecentFileList;

// Placeholders refuse to be dropped on anything but a popup bar.
class CXTPControlListPlaceholder : public CXTPControlButton {
  DECLARE_DYNAMIC(CXTPControlListPlaceholder)

 public:
  BOOL CanCustomizeDrop(CXTPCommandBar* pCommandBar, CPoint point, DROPEFFECT& dropEffect,
                        BOOL bExtra = FALSE) override;

  // The numbered caption of list items: "&" doubled; 1 to 9 "&n text", 10 "1&0 text", above 10
  // "n text", 0 the text alone.
  static CString PASCAL FormatNumberedCaption(const CString& strText, int nNumber);

 protected:
  // Removes the controls right after this one for which bGenerated answers TRUE.
  template <class Pred>
  void RemoveGenerated(Pred bGenerated);
  // Inserts a temporary item after the last inserted one.
  CXTPControl* InsertItem(int& nPosition, int nId, LPCTSTR lpszParameter = nullptr);
};

class CXTPControlWindowList : public CXTPControlListPlaceholder {
  DECLARE_SERIAL(CXTPControlWindowList)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;

  // The first id of MDI child windows (0xFF00, or what an application's first activation report
  // shows it uses) and the most windows listed.
  static UINT s_nFirstMDIChild;
  static int s_nItemCount;
};

class CXTPControlToolbars : public CXTPControlListPlaceholder {
  DECLARE_SERIAL(CXTPControlToolbars)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;

  // One check item per closeable toolbar with a context menu (Tag = its index in the manager),
  // inserted at nIndex onward; then, when asked and customizable, "&Customize..." (35001).
  static void PASCAL FillToolbarsList(CXTPCommandBar* pBar, int nIndex, int nCommandId, BOOL bAddCustomize);
};

class CXTPControlOleItems : public CXTPControlListPlaceholder {
  DECLARE_SERIAL(CXTPControlOleItems)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
};

class CXTPControlRecentFileList : public CXTPControlListPlaceholder {
  DECLARE_SERIAL(CXTPControlRecentFileList)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
  // The application's recent-file list, or NULL.
  virtual CRecentFileList* GetRecentFileList();
  virtual int GetFirstRecentId() { return ID_FILE_MRU_FILE1; }
};

class CXTPControlWorkspaceActions : public CXTPControlListPlaceholder {
  DECLARE_SERIAL(CXTPControlWorkspaceActions)

 public:
  void OnCalcDynamicSize(DWORD dwMode) override;
};

class CXTPControlLabel : public CXTPControl {
  DECLARE_SERIAL(CXTPControlLabel)

 public:
  CXTPControlLabel();
  int GetSelected() const override { return 0; }
  BOOL IsLabel() const override { return TRUE; }
};
