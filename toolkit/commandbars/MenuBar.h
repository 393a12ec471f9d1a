// CXTPMenuBar: the bar that replaces the frame's own menu. It loads a menu resource into controls and
// takes the menu away from the frame; Alt and F10 put it into keyboard tracking.
#pragma once

#include "ToolBar.h"

class CXTPMenuBar : public CXTPToolBar {
  DECLARE_SERIAL(CXTPMenuBar)

 public:
  CXTPMenuBar();
  ~CXTPMenuBar() override;

  BOOL LoadMenuBar(UINT nIDResource);
  void DoPropExchange(CXTPPropExchange* pPX) override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
  void ResetToolBar() override;
  UINT GetResourceId() const { return m_nIDResource; }
  // Whether the menu sets of documents are held (a bar with document menus is saved even unchanged).
  BOOL HasDocumentMenus() const { return FALSE; }

 protected:
  HMENU m_hMenuDefault = nullptr;
  BOOL m_bOwnMenuDefault = FALSE;
  UINT m_nIDResource = 0;
  UINT m_nIDResourceCurrent = 0;
};
