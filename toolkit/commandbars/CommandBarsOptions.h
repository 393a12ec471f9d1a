// CXTPCommandBarsOptions: the user-visible settings of one manager's command bars, and the sets of
// hidden (rarely used) and used commands, with their stored form.
#pragma once

#include "Control.h"

class CXTPCommandBarsOptions : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPCommandBarsOptions)

 public:
  explicit CXTPCommandBarsOptions(CXTPCommandBars* pCommandBars = nullptr);

  // The options as keys: all of them, or with bUserOnly the eight up to "Animation". Values that are
  // missing leave the fields as they are.
  void DoPropExchange(CXTPPropExchange* pPX, BOOL bUserOnly = FALSE);
  void Serialize(CArchive& ar) override;
  void ResetUsageData() { m_mapUsedCommands.RemoveAll(); }
  // Marks a command hidden (rarely used) or shown again.
  void SetHideCommand(UINT nID, BOOL bHide = TRUE);
  void SetCommandUsed(UINT nID) { m_mapUsedCommands.SetAt(nID, TRUE); }
  BOOL IsCommandHidden(UINT nID) const;
  BOOL IsCommandUsed(UINT nID) const;

  BOOL bAlwaysShowFullMenus = TRUE;
  BOOL bShowFullAfterDelay = TRUE;
  BOOL bToolBarScreenTips = TRUE;
  BOOL bToolBarAccelTips = FALSE;
  BOOL bLargeIcons = FALSE;
  BOOL bSyncFloatingBars = TRUE;
  BOOL bShowExpandButtonAlways = TRUE;
  BOOL bDblClickFloat = FALSE;
  BOOL bShowTextBelowIcons = FALSE;
  BOOL bAltDragCustomization = TRUE;
  BOOL bAutoHideUnusedPopups = TRUE;
  BOOL bDirtyState = FALSE;
  int animationType = 0;
  int keyboardCuesUse = 1;
  BOOL bShowStatusBarTexts = TRUE;
  CSize szIcons = CSize(0, 0);
  CSize szLargeIcons = CSize(0, 0);
  CSize szPopupIcons = CSize(16, 16);
  CXTPCommandIdSet m_mapHiddenCommands;
  CXTPCommandIdSet m_mapUsedCommands;

 protected:
  CXTPCommandBars* m_pCommandBars;

 public:
  int keyboardCuesShow = 0;

 private:
  BOOL ExchangeCommandSet(CXTPPropExchange* pPX, LPCTSTR lpszName, CXTPCommandIdSet& set);
};

// Bits of "KeyboardCuesUse".
enum XTPKeyboardCuesUse {
  xtpKeyboardCuesUseMenuOnly = 0,
  xtpKeyboardCuesUseAll = 1,
  xtpKeyboardCuesUseNone = 2,
  xtpKeyboardCuesUseNoImplicit = 4,
};
