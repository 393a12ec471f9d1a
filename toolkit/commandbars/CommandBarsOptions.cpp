// The command-bars options and their stored form.
#include "CommandBarsOptions.h"

#include "BarTheme.h"
#include "CommandBars.h"
#include "StoredValues.h"

#include <PropExchangeArchive.h>
#include <PropItemEnumerator.h>

IMPLEMENT_DYNAMIC(CXTPCommandBarsOptions, CCmdTarget)

CXTPCommandBarsOptions::CXTPCommandBarsOptions(CXTPCommandBars* pCommandBars)
    : m_pCommandBars(pCommandBars) {}

void CXTPCommandBarsOptions::SetHideCommand(UINT nID, BOOL bHide) {
  if (bHide) {
    m_mapHiddenCommands.SetAt(nID, TRUE);
  } else {
    m_mapHiddenCommands.RemoveKey(nID);
  }
}

BOOL CXTPCommandBarsOptions::IsCommandHidden(UINT nID) const {
  BOOL bValue = FALSE;
  if (m_mapHiddenCommands.GetCount() == 0 || !m_mapHiddenCommands.Lookup(nID, bValue)) return FALSE;
  return !m_mapUsedCommands.Lookup(nID, bValue);
}

BOOL CXTPCommandBarsOptions::IsCommandUsed(UINT nID) const {
  BOOL bValue = FALSE;
  return m_mapUsedCommands.Lookup(nID, bValue);
}

// A set is a serialised blob where the exchange takes blobs, else a section of numbered items. A set
// that does not load whole leaves the one in memory as it was.
BOOL CXTPCommandBarsOptions::ExchangeCommandSet(CXTPPropExchange* pPX, LPCTSTR lpszName,
                                                CXTPCommandIdSet& set) {
  if (pPX->IsAllowBlobValues()) {
    if (pPX->IsStoring()) return PropExchangeSerialize(pPX, lpszName, &set);
    CXTPCommandIdSet loaded;
    if (!PropExchangeSerialize(pPX, lpszName, &loaded)) return FALSE;
    XTPCopyCommandIdSet(set, loaded);
    return TRUE;
  }
  CXTPPropExchangeSection sec(pPX, lpszName);
  long nCount = static_cast<long>(set.GetCount());
  PropExchangeLong(sec, _T("Count"), nCount, 0);
  if (pPX->IsStoring()) {
    int i = 0;
    UINT nKey = 0;
    BOOL bValue = FALSE;
    for (POSITION pos = set.GetStartPosition(); pos != nullptr; ++i) {
      set.GetNextAssoc(pos, nKey, bValue);
      CString strItem;
      strItem.Format(_T("Item%i"), i);
      long nId = static_cast<long>(nKey);
      PropExchangeLong(sec, strItem, nId, 0);
    }
    return TRUE;
  }
  if (nCount < 0 || nCount > XTP_PROPEXCHANGE_MAX_COUNT) return FALSE;
  set.RemoveAll();
  for (long i = 0; i < nCount; ++i) {
    CString strItem;
    strItem.Format(_T("Item%i"), static_cast<int>(i));
    long nId = 0;
    if (PropExchangeLong(sec, strItem, nId, 0)) set.SetAt(static_cast<UINT>(nId), TRUE);
  }
  return TRUE;
}

void CXTPCommandBarsOptions::DoPropExchange(CXTPPropExchange* pPX, BOOL bUserOnly) {
  pPX->UseDefaultOnLoad(FALSE);
  pPX->UseDefaultOnSave(FALSE);
  long nSchema = _XTP_SCHEMA_CURRENT;
  PropExchangeLong(pPX, _T("Schema"), nSchema, _XTP_SCHEMA_CURRENT);
  PropExchangeStoredBool(pPX, _T("AlwaysShowFullMenus"), bAlwaysShowFullMenus, TRUE);
  PropExchangeStoredBool(pPX, _T("ShowFullAfterDelay"), bShowFullAfterDelay, TRUE);
  PropExchangeStoredBool(pPX, _T("ToolBarScreenTips"), bToolBarScreenTips, TRUE);
  PropExchangeStoredBool(pPX, _T("ToolBarAccelTips"), bToolBarAccelTips, FALSE);
  PropExchangeStoredBool(pPX, _T("LargeIcons"), bLargeIcons, FALSE);
  const BOOL bAllSets = pPX->IsLoading() || !pPX->IsAllowDefaultValues();
  if (nSchema > 7 && (bAllSets || m_mapUsedCommands.GetCount() > 0))
    ExchangeCommandSet(pPX, _T("UsedCommands"), m_mapUsedCommands);
  if (nSchema > 7 || bUserOnly) {
    long nAnimation = animationType;
    PropExchangeStoredLong(pPX, _T("Animation"), nAnimation, 0, 0, 5);
    animationType = nAnimation;
  }
  if (bUserOnly) return;

  PropExchangeStoredBool(pPX, _T("SyncFloatingBars"), bSyncFloatingBars, TRUE);
  PropExchangeStoredBool(pPX, _T("ShowExpandButtonAlways"), bShowExpandButtonAlways, TRUE);
  SIZE szValue = szIcons;
  PropExchangeStoredSize(pPX, _T("IconsSize"), szValue, 0, 0, 1, XTP_STORED_ICON_MAX, TRUE);
  szIcons = szValue;
  szValue = szLargeIcons;
  PropExchangeStoredSize(pPX, _T("LargeIconsSize"), szValue, 0, 0, 1, XTP_STORED_ICON_MAX, TRUE);
  szLargeIcons = szValue;
  if (bAllSets || m_mapHiddenCommands.GetCount() > 0)
    ExchangeCommandSet(pPX, _T("HiddenCommands"), m_mapHiddenCommands);
  XTP_COMMANDBARS_ICONSINFO iconsInfo = {FALSE, TRUE, TRUE};
  CXTPBarTheme* pTheme = m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : nullptr;
  if (pTheme != nullptr) iconsInfo = *pTheme->GetIconsInfo();
  PropExchangeStoredBool(pPX, _T("IconsWithShadow"), iconsInfo.bIconsWithShadow, FALSE);
  PropExchangeStoredBool(pPX, _T("UseDisabledIcons"), iconsInfo.bUseDisabledIcons, TRUE);
  PropExchangeStoredBool(pPX, _T("UseFadedIcons"), iconsInfo.bUseFadedIcons, TRUE);
  if (pTheme != nullptr && pPX->IsLoading()) *pTheme->GetIconsInfo() = iconsInfo;

  if (nSchema > 7) {
    PropExchangeStoredBool(pPX, _T("SyncFloatingBars"), bSyncFloatingBars, TRUE);
    PropExchangeStoredBool(pPX, _T("ShowExpandButtonAlways"), bShowExpandButtonAlways, TRUE);
    PropExchangeStoredBool(pPX, _T("DblClickFloat"), bDblClickFloat, FALSE);
    PropExchangeStoredBool(pPX, _T("ShowTextBelowIcons"), bShowTextBelowIcons, FALSE);
    PropExchangeStoredBool(pPX, _T("AltDragCustomization"), bAltDragCustomization, TRUE);
    PropExchangeStoredBool(pPX, _T("AutoHideUnusedPopups"), bAutoHideUnusedPopups, TRUE);
    szValue = szPopupIcons;
    PropExchangeStoredSize(pPX, _T("PopupIconsSize"), szValue, 16, 16, 1, XTP_STORED_ICON_MAX, FALSE);
    szPopupIcons = szValue;
  }
  if (nSchema > 8) {
    long nUse = keyboardCuesUse, nShow = keyboardCuesShow;
    PropExchangeStoredLong(pPX, _T("KeyboardCuesUse"), nUse, 1, 0, 7);
    PropExchangeStoredLong(pPX, _T("KeyboardCuesShow"), nShow, 0, 0, 2);
    keyboardCuesUse = nUse;
    keyboardCuesShow = nShow;
    if (pPX->IsLoading() && m_pCommandBars != nullptr) m_pCommandBars->SetKeyboardCuesShow(keyboardCuesShow);
  }
}

void CXTPCommandBarsOptions::Serialize(CArchive& ar) {
  CXTPPropExchangeArchive px(ar);
  DoPropExchange(&px, FALSE);
}
