// What the command bars keep between runs: the options, the placement of every bar, the layout of the
// dock bars and the archive of bars and controls (in the profile, or above 16000 bytes in a hidden file
// in the application-data folder). Every count and length read back is bounded; a damaged state loads
// as defaults and never stops the frame from being created.
#include "CommandBars.h"

#include "BarDragTracker.h"
#include "BarTheme.h"
#include "CommandBarsOptions.h"
#include "DialogBar.h"
#include "DockBar.h"
#include "MenuBar.h"
#include "ToolBar.h"

#include <PropExchangeArchive.h>
#include <PropExchangeRegistry.h>
#include <PropItemEnumerator.h>
#include <ResourceSource.h>
#include <SystemQueries.h>
#include <ToolkitResource.h>

#include <shlobj.h>

#include <vector>

namespace {

// Stored archives larger than this are not read back, and lists with more bars than this are no state
// this program wrote: both keep the memory a damaged or hostile state can claim small.
const DWORD kMaxStoredControlsBytes = XTP_PROPEXCHANGE_MAX_VALUE_BYTES;
const int kMaxStoredBars = 4096;
// Saved screen sizes outside these are no display's: positions are then not scaled by them.
const int kMinScreenExtent = 64;
const int kMaxScreenExtent = 0x7FFF;

// One bar's stored placement.
struct BarState {
  UINT nBarID = 0;
  BOOL bVisible = TRUE;
  BOOL bFloating = FALSE;
  CPoint ptPos = CPoint(-1, -1);
  int nMRUWidth = 0x7FFF;
  int nMRUDockID = 0;
  CRect rcMRUDockPos = CRect(0, 0, 0, 0);
  CPoint ptMRUFloatPos = CPoint(0, 0);
  BOOL bDialogBar = FALSE;
  CSize szDockingClient = CSize(200, 200);
  CSize szFloatingClient = CSize(200, 200);
};

CString SectionName(LPCTSTR lpszProfileName, LPCTSTR lpszFormat) {
  CString str;
  str.Format(lpszFormat, lpszProfileName);
  return str;
}

CString BarSectionName(LPCTSTR lpszProfileName, LPCTSTR lpszFormat, int nIndex) {
  CString str;
  str.Format(lpszFormat, lpszProfileName, nIndex);
  return str;
}

// A bounded read of a binary profile value; FALSE when it is missing, of another type or too large.
BOOL ReadProfileBinary(CWinApp* pApp, LPCTSTR lpszSection, LPCTSTR lpszEntry, std::vector<BYTE>& data) {
  HKEY hKey = pApp->GetSectionKey(lpszSection);
  if (hKey == nullptr) return FALSE;
  DWORD dwType = 0, cbData = 0;
  BOOL bResult = ::RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS &&
                 dwType == REG_BINARY && cbData <= XTP_PROPEXCHANGE_MAX_VALUE_BYTES;
  if (bResult) {
    data.resize(cbData);
    DWORD cbRead = cbData;
    bResult = ::RegQueryValueEx(hKey, lpszEntry, nullptr, &dwType, cbData > 0 ? data.data() : nullptr,
                                &cbRead) == ERROR_SUCCESS &&
              cbRead == cbData;
  }
  ::RegCloseKey(hKey);
  return bResult;
}

// The whole content of a file, when it can be read and is not too large.
BOOL ReadWholeFile(LPCTSTR lpszPath, std::vector<BYTE>& data) {
  HANDLE hFile = ::CreateFile(lpszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return FALSE;
  LARGE_INTEGER size = {};
  BOOL bResult =
      ::GetFileSizeEx(hFile, &size) && size.QuadPart >= 0 && size.QuadPart <= kMaxStoredControlsBytes;
  if (bResult) {
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD dwRead = 0;
    bResult =
        data.empty() || (::ReadFile(hFile, data.data(), static_cast<DWORD>(data.size()), &dwRead, nullptr) &&
                         dwRead == data.size());
  }
  ::CloseHandle(hFile);
  return bResult;
}

// Writes the bytes to a temporary file beside the path and puts it in the path's place only when it
// is complete; the previous file stays when anything fails.
BOOL ReplaceFileContents(const CString& strPath, const BYTE* pData, DWORD nBytes) {
  CString strTemp = strPath + _T(".new");
  ::SetFileAttributes(strTemp, FILE_ATTRIBUTE_NORMAL);
  HANDLE hFile =
      ::CreateFile(strTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return FALSE;
  DWORD dwWritten = 0;
  BOOL bResult = ::WriteFile(hFile, pData, nBytes, &dwWritten, nullptr) && dwWritten == nBytes;
  bResult = ::FlushFileBuffers(hFile) && bResult;
  bResult = ::CloseHandle(hFile) && bResult;
  if (bResult) {
    // A hidden file cannot be replaced by name while it keeps that attribute.
    const DWORD dwOld = ::GetFileAttributes(strPath);
    if (dwOld != INVALID_FILE_ATTRIBUTES) ::SetFileAttributes(strPath, FILE_ATTRIBUTE_NORMAL);
    bResult = ::MoveFileEx(strTemp, strPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!bResult && dwOld != INVALID_FILE_ATTRIBUTES) ::SetFileAttributes(strPath, dwOld);
  }
  if (!bResult) {
    ::DeleteFile(strTemp);
    return FALSE;
  }
  ::SetFileAttributes(strPath, FILE_ATTRIBUTE_HIDDEN);
  return TRUE;
}

void DeleteHiddenFile(const CString& strPath) {
  ::SetFileAttributes(strPath, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFile(strPath);
}

CSize ScreenSize() { return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)); }

}  // namespace

// ---- Options -----------------------------------------------------------------------------------------

void CXTPCommandBars::SaveOptions(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  HKEY hAppKey = pApp != nullptr ? pApp->GetAppRegistryKey() : nullptr;
  if (hAppKey == nullptr) return;
  const CString strSection = SectionName(lpszProfileName, _T("%s-Options"));
  {
    CXTPPropExchangeRegistry px(FALSE, hAppKey, strSection);
    m_pOptions->DoPropExchange(&px, TRUE);
  }
  // "Reset usage data" must stay reset: an empty set leaves no stored set behind.
  if (m_pOptions->m_mapUsedCommands.GetCount() == 0) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyEx(hAppKey, strSection, 0, KEY_WRITE, &hKey) == ERROR_SUCCESS) {
      ::RegDeleteValue(hKey, _T("UsedCommands"));
      ::RegDeleteTree(hKey, _T("UsedCommands"));
      ::RegCloseKey(hKey);
    }
  }
  ::RegCloseKey(hAppKey);
}

void CXTPCommandBars::LoadOptions(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  HKEY hAppKey = pApp != nullptr ? pApp->GetAppRegistryKey() : nullptr;
  if (hAppKey == nullptr) return;
  {
    CXTPPropExchangeRegistry px(TRUE, hAppKey, SectionName(lpszProfileName, _T("%s-Options")));
    m_pOptions->DoPropExchange(&px, TRUE);
  }
  ::RegCloseKey(hAppKey);
}

// ---- Bar lists ---------------------------------------------------------------------------------------

void CXTPCommandBars::GenerateCommandBarList(DWORD& nID, CXTPCommandBarList* pCommandBarList,
                                             XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam) {
  for (int i = 0; i < GetCount(); ++i) {
    CXTPToolBar* pBar = m_arrBars[i];
    BOOL bTake = !pParam->bSaveOnlyCustomized || !pBar->IsBuiltIn() || pBar->IsTearOff();
    if (!bTake && pBar->IsCustomizable()) {
      CXTPMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CXTPMenuBar, pBar);
      bTake = (pMenuBar != nullptr && pMenuBar->HasDocumentMenus()) ||
              pBar->GetControls()->GetOriginalControls() == nullptr ||
              pBar->GetControls()->IsChangedFromOriginal();
    }
    if (bTake) pBar->GenerateCommandBarList(nID, pCommandBarList, pParam);
  }
}

BOOL CXTPCommandBars::SaveCommandBarList(CXTPPropExchange* pPX, CXTPCommandBarList* pCommandBarList) {
  try {
    CXTPPropExchangeSection secBars(pPX, _T("CommandBars"));
    CXTPPropExchangeEnumeratorPtr pEnumerator(secBars->GetEnumerator(_T("CommandBar")));
    POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(pCommandBarList->GetCount()));
    for (int i = 0; i < pCommandBarList->GetCount() && pos != nullptr; ++i) {
      CXTPCommandBar* pBar = pCommandBarList->GetAt(i);
      CXTPPropExchangeSection sec(pEnumerator->GetNext(pos));
      CObject* pObject = pBar;
      if (!sec->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CXTPCommandBar))) return FALSE;
      pBar->DoPropExchange(sec);
    }
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

BOOL CXTPCommandBars::LoadCommandBarList(CXTPPropExchange* pPX, CXTPCommandBarList* pCommandBarList) {
  try {
    CXTPPropExchangeSection secBars(pPX, _T("CommandBars"));
    CXTPPropExchangeEnumeratorPtr pEnumerator(secBars->GetEnumerator(_T("CommandBar")));
    POSITION pos = pEnumerator->GetPosition(0);
    while (pos != nullptr) {
      if (pCommandBarList->GetCount() >= kMaxStoredBars) return FALSE;
      CXTPPropExchangeSection sec(pEnumerator->GetNext(pos));
      CObject* pObject = nullptr;
      if (!sec->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CXTPCommandBar))) return FALSE;
      CXTPCommandBar* pBar = static_cast<CXTPCommandBar*>(pObject);
      // The list owns the bar before it is read, so a damaged record cannot leak it.
      pCommandBarList->AddNew(pBar);
      pBar->m_pCommandBars = this;
      pBar->DoPropExchange(sec);
      pBar->GetControls()->RefreshIndexes();
    }
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

void CXTPCommandBars::RestoreCommandBarList(CXTPCommandBarList* pCommandBarList, BOOL bSilent) {
  for (int i = 0; i < pCommandBarList->GetCount(); ++i) {
    CXTPToolBar* pLoaded = DYNAMIC_DOWNCAST(CXTPToolBar, pCommandBarList->GetAt(i));
    if (pLoaded == nullptr) continue;
    pLoaded->RestoreCommandBarList(pCommandBarList);
    CXTPToolBar* pLive = FindCommandBar(pLoaded->GetBarID());
    if (pLive == pLoaded) continue;
    if (pLive != nullptr) {
      CXTPControls* pLoadedOriginal = pLoaded->GetControls()->GetOriginalControls();
      CXTPControls* pLiveOriginal = pLive->GetControls()->GetOriginalControls();
      BOOL bCopy = FALSE, bKeepLiveOriginal = pLoadedOriginal == nullptr;
      if (pLoadedOriginal == nullptr || pLiveOriginal == nullptr ||
          pLoadedOriginal->IsSameAs(pLiveOriginal)) {
        bCopy = TRUE;
      } else if (!bSilent && pLoaded->GetControls()->IsChangedFromOriginal()) {
        CString strFormat, strMessage;
        GetToolkitResourceManager()->LoadString(strFormat, XTP_IDS_TOOLBAR_CHANGED);
        strMessage.Format(strFormat, static_cast<LPCTSTR>(pLive->GetTitle()));
        if (AfxMessageBox(strMessage, MB_YESNO | MB_ICONQUESTION) == IDNO) {
          bCopy = TRUE;
          bKeepLiveOriginal = TRUE;
        }
      }
      if (!bCopy) continue;
      CXTPControls* pControls = pLoaded->GetControls();
      pControls->InternalAddRef();
      pLoaded->SetControls(new CXTPControls);
      if (bKeepLiveOriginal && pLiveOriginal != nullptr) {
        pLiveOriginal->InternalAddRef();
        pControls->SetOriginalControls(pLiveOriginal);
      }
      pLive->SetControls(pControls);
      pLive->SetTitle(pLoaded->GetTitle());
      pLive->SetCustomizable(pLoaded->IsCustomizable());
      pLive->SetMRUWidth(pLoaded->GetMRUWidth());
      pLive->SetIconSize(pLoaded->GetIconSizeRaw());
      pLive->DelayLayout();
    } else {
      pLoaded->InternalAddRef();
      m_arrBars.Add(pLoaded);
      pLoaded->m_pCommandBars = this;
      pLoaded->EnableDocking(pLoaded->GetFlags());
      XTPBarPosition position = pLoaded->GetPosition();
      if (position > xtpBarFloating) position = xtpBarTop;
      pLoaded->SetBarPosition(xtpBarNone);
      if (!pLoaded->SetPosition(position)) pLoaded->SetPosition(xtpBarTop);
      OnToolBarAdded(pLoaded);
    }
  }
}

// ---- Stored bars -------------------------------------------------------------------------------------

CString CXTPCommandBars::GetControlsFilePath(LPCTSTR lpszProfileName) const {
  if (!m_strControlsFilePath.IsEmpty()) return m_strControlsFilePath;
  CString strFileName(lpszProfileName);
  strFileName.Replace(_T("\\"), _T("_"));
  OSVERSIONINFO info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ::GetVersionEx(&info);
#pragma GCC diagnostic pop
  if (info.dwPlatformId > 1 && info.dwMajorVersion > 4) {
    WCHAR szAppData[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPath(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, szAppData))) {
      CString strAppName = AfxGetAppName() != nullptr ? CString(AfxGetAppName()) : CString();
      if (strAppName.IsEmpty()) strAppName = _T("Brindle");
      CString strDir = CString(szAppData) + _T("\\") + strAppName;
      ::CreateDirectory(strDir, nullptr);
      const DWORD dwAttributes = ::GetFileAttributes(strDir);
      if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return strDir + _T("\\") + strFileName;
    }
  }
  WCHAR szModule[MAX_PATH] = {};
  ::GetModuleFileName(nullptr, szModule, MAX_PATH);
  CString strPath;
  strPath.Format(_T("%s-%s"), szModule, static_cast<LPCTSTR>(strFileName));
  return strPath;
}

void CXTPCommandBars::SaveCommandBars(LPCTSTR lpszProfileName, BOOL bOnlyCustomized) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  SaveBarState(lpszProfileName);
  SaveDockBarsState(lpszProfileName);

  if (m_bCustomizable) {
    const CString strSection = SectionName(lpszProfileName, _T("%s-Controls"));
    XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
    param.bSaveOnlyCustomized = bOnlyCustomized;
    param.pCommandBars = this;
    CXTPCommandBarList list;
    DWORD nID = 0x1000000;
    GenerateCommandBarList(nID, &list, &param);

    CMemFile file(1024);
    BOOL bSaved = FALSE;
    {
      CArchive ar(&file, CArchive::store, 4096);
      CXTPPropExchangeArchive px(ar);
      px.m_dwData = &param;
      bSaved = SaveCommandBarList(&px, &list);
      try {
        if (bSaved) {
          ar.Close();
        } else {
          ar.Abort();
        }
      } catch (CException* e) {
        e->Delete();
        ar.Abort();
        bSaved = FALSE;
      }
    }
    if (!bSaved) {
      pApp->WriteProfileString(strSection, nullptr, nullptr);
    } else {
      const DWORD nBytes = static_cast<DWORD>(file.GetLength());
      BYTE* pData = file.Detach();
      const CString strPath = GetControlsFilePath(lpszProfileName);
      if (nBytes > XTP_CONTROLS_MAX_REGISTRY_BYTES) {
        // The file is complete and in place before the profile names it; a failed write keeps the
        // previous state as it was.
        if (ReplaceFileContents(strPath, pData, nBytes)) {
          pApp->WriteProfileString(strSection, _T("Controls"), strPath);
          pApp->WriteProfileInt(strSection, _T("LoadFromFile"), 1);
        }
      } else {
        pApp->WriteProfileBinary(strSection, _T("Controls"), pData, nBytes);
        pApp->WriteProfileInt(strSection, _T("LoadFromFile"), 0);
        if (::GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES) DeleteHiddenFile(strPath);
      }
      free(pData);
    }
  }
  if (m_pMenuBar != nullptr) m_pMenuBar->RefreshAfterSave();
  m_pOptions->bDirtyState = FALSE;
}

BOOL CXTPCommandBars::LoadControlsBlob(LPCTSTR lpszProfileName, CXTPCommandBarList* pList, BOOL bSilent) {
  CWinApp* pApp = AfxGetApp();
  const CString strSection = SectionName(lpszProfileName, _T("%s-Controls"));
  std::vector<BYTE> data;
  if (pApp->GetProfileInt(strSection, _T("LoadFromFile"), 0) != 0) {
    const CString strPath = pApp->GetProfileString(strSection, _T("Controls"), _T(""));
    if (strPath.IsEmpty() || !ReadWholeFile(strPath, data)) return FALSE;
  } else if (!ReadProfileBinary(pApp, strSection, _T("Controls"), data)) {
    return FALSE;
  }
  if (data.empty()) return FALSE;
  CMemFile file(data.data(), static_cast<UINT>(data.size()));
  XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
  param.bLoadSilent = bSilent;
  param.pCommandBars = this;
  BOOL bLoaded = FALSE;
  {
    CArchive ar(&file, CArchive::load, 4096);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = &param;
    bLoaded = LoadCommandBarList(&px, pList);
    ar.Abort();
  }
  file.Detach();
  return bLoaded;
}

void CXTPCommandBars::LoadCommandBars(LPCTSTR lpszProfileName, BOOL bSilent) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  if (m_bCustomizable) {
    CXTPCommandBarList list;
    if (LoadControlsBlob(lpszProfileName, &list, bSilent)) {
      RestoreCommandBarList(&list, bSilent);
      if (CXTPMenuBar* pMenuBar = DYNAMIC_DOWNCAST(CXTPMenuBar, FindCommandBar(1))) m_pMenuBar = pMenuBar;
    }
  }
  LoadBarState(lpszProfileName);
  RecalcFrameLayout(TRUE);
  m_pOptions->bDirtyState = FALSE;
}

// ---- Bar placement -----------------------------------------------------------------------------------

void CXTPCommandBars::SaveBarState(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  const CString strSummary = SectionName(lpszProfileName, _T("%s-Summary"));
  const int nOldCount =
      std::min(static_cast<int>(pApp->GetProfileInt(strSummary, _T("Bars"), 0)), 2 * GetCount() + 64);
  int nCount = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CXTPToolBar* pBar = m_arrBars[i];
    BarState state;
    state.nBarID = pBar->GetBarID();
    state.bVisible = pBar->IsVisible();
    state.bFloating = pBar->GetPosition() == xtpBarFloating;
    state.nMRUWidth = pBar->GetMRUWidth();
    if (pBar->GetSafeHwnd() != nullptr) {
      CRect rc;
      pBar->GetWindowRect(&rc);
      CPoint pt = rc.TopLeft();
      if (!state.bFloating && pBar->GetDockBar() != nullptr) pBar->GetDockBar()->ScreenToClient(&pt);
      state.ptPos = pt;
    }
    if (CXTPBarDragTracker* pTracker = pBar->GetDragTracker()) {
      state.nMRUDockID = pTracker->m_uMRUDockID;
      state.rcMRUDockPos = pTracker->m_rectMRUDockPos;
      state.ptMRUFloatPos = pTracker->m_ptMRUFloatPos;
    }
    state.bDialogBar = pBar->IsDialogBar();
    if (CXTPDialogBar* pDialogBar = DYNAMIC_DOWNCAST(CXTPDialogBar, pBar)) {
      state.szDockingClient = pDialogBar->GetDockingClientSize();
      state.szFloatingClient = pDialogBar->GetFloatingClientSize();
    }

    const CString strSection = BarSectionName(lpszProfileName, _T("%s-Bar%d"), nCount++);
    pApp->WriteProfileString(strSection, nullptr, nullptr);
    pApp->WriteProfileInt(strSection, _T("BarID"), static_cast<int>(state.nBarID));
    if (!state.bVisible) pApp->WriteProfileInt(strSection, _T("Visible"), 0);
    if (state.bFloating) pApp->WriteProfileInt(strSection, _T("Floating"), 1);
    if (state.ptPos.x != -1) pApp->WriteProfileInt(strSection, _T("XPos"), state.ptPos.x);
    if (state.ptPos.y != -1) pApp->WriteProfileInt(strSection, _T("YPos"), state.ptPos.y);
    if (state.nMRUWidth != 0x7FFF) pApp->WriteProfileInt(strSection, _T("MRUWidth"), state.nMRUWidth);
    pApp->WriteProfileInt(strSection, _T("MRUDockID"), state.nMRUDockID);
    pApp->WriteProfileInt(strSection, _T("MRUDockLeftPos"), state.rcMRUDockPos.left);
    pApp->WriteProfileInt(strSection, _T("MRUDockTopPos"), state.rcMRUDockPos.top);
    pApp->WriteProfileInt(strSection, _T("MRUDockRightPos"), state.rcMRUDockPos.right);
    pApp->WriteProfileInt(strSection, _T("MRUDockBottomPos"), state.rcMRUDockPos.bottom);
    pApp->WriteProfileInt(strSection, _T("MRUFloatXPos"), state.ptMRUFloatPos.x);
    pApp->WriteProfileInt(strSection, _T("MRUFloatYPos"), state.ptMRUFloatPos.y);
    pApp->WriteProfileInt(strSection, _T("DialogBar"), state.bDialogBar);
    if (state.bDialogBar) {
      pApp->WriteProfileInt(strSection, _T("DialogBarDockingClientCx"), state.szDockingClient.cx);
      pApp->WriteProfileInt(strSection, _T("DialogBarDockingClientCy"), state.szDockingClient.cy);
      pApp->WriteProfileInt(strSection, _T("DialogBarFloatingClientCx"), state.szFloatingClient.cx);
      pApp->WriteProfileInt(strSection, _T("DialogBarFloatingClientCy"), state.szFloatingClient.cy);
    }
  }
  for (int k = nCount; k < nOldCount; ++k)
    pApp->WriteProfileString(BarSectionName(lpszProfileName, _T("%s-Bar%d"), k), nullptr, nullptr);
  const CSize szScreen = ScreenSize();
  pApp->WriteProfileInt(strSummary, _T("Bars"), nCount);
  pApp->WriteProfileInt(strSummary, _T("ScreenCX"), szScreen.cx);
  pApp->WriteProfileInt(strSummary, _T("ScreenCY"), szScreen.cy);
}

void CXTPCommandBars::LoadBarState(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  const CString strSummary = SectionName(lpszProfileName, _T("%s-Summary"));
  const int nCount = static_cast<int>(pApp->GetProfileInt(strSummary, _T("Bars"), 0));
  const CSize szSaved(static_cast<int>(pApp->GetProfileInt(strSummary, _T("ScreenCX"), 0)),
                      static_cast<int>(pApp->GetProfileInt(strSummary, _T("ScreenCY"), 0)));
  // More records than twice the live bars is no state this program wrote: the defaults stand.
  const BOOL bCountSane = nCount >= 0 && nCount <= 2 * GetCount() + 1;

  std::vector<BarState> arrStates;
  const CSize szScreen = ScreenSize();
  // A saved screen no display has is no screen the program saw: positions are then taken unscaled.
  const BOOL bSavedSane = szSaved.cx >= kMinScreenExtent && szSaved.cx <= kMaxScreenExtent &&
                          szSaved.cy >= kMinScreenExtent && szSaved.cy <= kMaxScreenExtent;
  const BOOL bScale = szSaved != szScreen && bSavedSane;
  // Every point the program stores lies on the monitors it saved on, which may lie left of or above
  // the primary one: a point is kept within the current virtual screen, short of its right and bottom
  // edges by an icon, so that no bar starts where the user cannot reach it.
  const CRect rcVirtual = XTPSystemQueries()->GetVirtualScreen();
  const CPoint ptMin = rcVirtual.TopLeft();
  const CPoint ptMax(std::max(ptMin.x, rcVirtual.right - ::GetSystemMetrics(SM_CXICON)),
                     std::max(ptMin.y, rcVirtual.bottom - ::GetSystemMetrics(SM_CYICON)));
  auto scalePoint = [&](CPoint pt) {
    if (bScale) {
      pt.x = ::MulDiv(pt.x, szScreen.cx, szSaved.cx);
      pt.y = ::MulDiv(pt.y, szScreen.cy, szSaved.cy);
    }
    pt.x = std::max(ptMin.x, std::min(pt.x, ptMax.x));
    pt.y = std::max(ptMin.y, std::min(pt.y, ptMax.y));
    return pt;
  };
  for (int k = 0; bCountSane && k < nCount; ++k) {
    const CString strSection = BarSectionName(lpszProfileName, _T("%s-Bar%d"), k);
    BarState state;
    auto readInt = [&](LPCTSTR lpszEntry, int nDefault) {
      return static_cast<int>(pApp->GetProfileInt(strSection, lpszEntry, nDefault));
    };
    // A value outside what the program writes takes its default.
    auto readRange = [&](LPCTSTR lpszEntry, int nDefault, int nMin, int nMax) {
      const int nValue = readInt(lpszEntry, nDefault);
      return nValue >= nMin && nValue <= nMax ? nValue : nDefault;
    };
    state.nBarID = static_cast<UINT>(readInt(_T("BarID"), 0));
    state.bVisible = readRange(_T("Visible"), 1, 0, 1);
    state.bFloating = readRange(_T("Floating"), 0, 0, 1);
    state.ptPos = CPoint(readInt(_T("XPos"), -1), readInt(_T("YPos"), -1));
    state.nMRUWidth = readRange(_T("MRUWidth"), 0x7FFF, 0, 0x7FFF);
    state.nMRUDockID = readRange(_T("MRUDockID"), 0, 0, 3);
    state.rcMRUDockPos.SetRect(readInt(_T("MRUDockLeftPos"), 0), readInt(_T("MRUDockTopPos"), 0),
                               readInt(_T("MRUDockRightPos"), 0), readInt(_T("MRUDockBottomPos"), 0));
    state.ptMRUFloatPos = CPoint(readInt(_T("MRUFloatXPos"), 0), readInt(_T("MRUFloatYPos"), 0));
    state.bDialogBar = readRange(_T("DialogBar"), 0, 0, 1);
    state.szDockingClient = CSize(readRange(_T("DialogBarDockingClientCx"), 200, 0, kMaxScreenExtent),
                                  readRange(_T("DialogBarDockingClientCy"), 200, 0, kMaxScreenExtent));
    state.szFloatingClient = CSize(readRange(_T("DialogBarFloatingClientCx"), 200, 0, kMaxScreenExtent),
                                   readRange(_T("DialogBarFloatingClientCy"), 200, 0, kMaxScreenExtent));
    // Only both -1 means "no position"; half of one is a damaged position, placed like any other.
    if (state.ptPos != CPoint(-1, -1)) state.ptPos = scalePoint(state.ptPos);
    state.ptMRUFloatPos = scalePoint(state.ptMRUFloatPos);
    CSize szDock = state.rcMRUDockPos.Size();
    if (szDock.cx < 0 || szDock.cy < 0 || szDock.cx > kMaxScreenExtent || szDock.cy > kMaxScreenExtent)
      szDock = CSize(0, 0);
    const CPoint ptDock = scalePoint(state.rcMRUDockPos.TopLeft());
    state.rcMRUDockPos = CRect(ptDock, szDock);
    arrStates.push_back(state);
  }

  LoadDockBarsState(lpszProfileName);

  for (const BarState& state : arrStates) {
    CXTPToolBar* pBar = FindCommandBar(state.nBarID);
    if (pBar == nullptr) continue;
    if (state.bFloating) {
      FloatCommandBar(pBar);
    } else if (pBar->GetDockBar() == nullptr) {
      DockCommandBar(pBar, state.nMRUDockID);
    }
    if (CXTPBarDragTracker* pTracker = pBar->GetDragTracker()) {
      pTracker->m_uMRUDockID = state.nMRUDockID;
      pTracker->m_rectMRUDockPos = state.rcMRUDockPos;
      pTracker->m_ptMRUFloatPos = state.ptMRUFloatPos;
    }
    CXTPDialogBar* pDialogBar = DYNAMIC_DOWNCAST(CXTPDialogBar, pBar);
    if (pDialogBar != nullptr && state.bDialogBar) {
      pDialogBar->SetDockingClientSize(state.szDockingClient);
      pDialogBar->SetFloatingClientSize(state.szFloatingClient);
    }
    pBar->SetMRUWidth(state.nMRUWidth);
    if (pBar->GetSafeHwnd() == nullptr) continue;
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (state.bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    const BOOL bPlace = state.ptPos != CPoint(-1, -1);
    if (!bPlace) nFlags |= SWP_NOMOVE;
    pBar->SetWindowPos(nullptr, state.ptPos.x, state.ptPos.y, 0, 0, nFlags | SWP_NOSIZE);
    pBar->m_bVisible = state.bVisible;
    if (state.bFloating) pBar->OnRecalcLayout();
  }
}

// ---- Dock-bar layout ---------------------------------------------------------------------------------

void CXTPCommandBars::SaveDockBarsState(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  for (int nSide = 0; nSide < 4; ++nSide) {
    const CString strSection = BarSectionName(lpszProfileName, _T("%s-DockBar%d"), nSide);
    pApp->WriteProfileString(strSection, nullptr, nullptr);
    CXTPDockBar* pDock = m_pDocks[nSide];
    if (pDock == nullptr || pDock->GetEntryCount() <= 1) continue;
    int nWritten = 0;
    BOOL bLastBreak = FALSE;
    for (int i = 0; i < pDock->GetEntryCount(); ++i) {
      CXTPToolBar* pBar = pDock->GetEntry(i);
      // A bar without an id cannot be found again, and 0 stands for a row break.
      if (pBar != nullptr && pBar->GetBarID() == 0) continue;
      const BOOL bBreak = pBar == nullptr;
      if (bBreak && bLastBreak) continue;
      bLastBreak = bBreak;
      CString strEntry;
      strEntry.Format(_T("Bar#%d"), nWritten++);
      pApp->WriteProfileInt(strSection, strEntry, bBreak ? 0 : static_cast<int>(pBar->GetBarID()));
    }
    pApp->WriteProfileInt(strSection, _T("Bars"), nWritten);
  }
  CWnd* pStatusBar = m_pFrame->GetSafeHwnd() != nullptr ? m_pFrame->GetDlgItem(AFX_IDW_STATUS_BAR) : nullptr;
  if (pStatusBar != nullptr && !pStatusBar->IsWindowVisible()) {
    pApp->WriteProfileInt(lpszProfileName, _T("StatusBar"), 0);
  } else {
    pApp->WriteProfileString(lpszProfileName, _T("StatusBar"), nullptr);
  }
}

void CXTPCommandBars::LoadDockBarsState(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  const int nMaxEntries = 2 * GetCount() + 1;
  for (int nSide = 0; nSide < 4; ++nSide) {
    CXTPDockBar* pDock = m_pDocks[nSide];
    if (pDock == nullptr) continue;
    const CString strSection = BarSectionName(lpszProfileName, _T("%s-DockBar%d"), nSide);
    const int nCount = static_cast<int>(pApp->GetProfileInt(strSection, _T("Bars"), 0));
    if (nCount <= 1 || nCount > nMaxEntries) continue;
    for (int i = 0; i < nCount; ++i) {
      CString strEntry;
      strEntry.Format(_T("Bar#%d"), i);
      const UINT nID = pApp->GetProfileInt(strSection, strEntry, 0);
      CXTPToolBar* pBar = nID != 0 ? FindCommandBar(nID) : nullptr;
      if (pBar != nullptr) {
        if (pBar->GetSafeHwnd() == nullptr && !pBar->CreateToolBarWindow(pDock, FALSE)) continue;
        if (pBar->GetSafeHwnd() != nullptr && pBar->GetParent() != pDock)
          pBar->CreateToolBarWindow(pDock, FALSE);
        if (pBar->GetDockBar() != nullptr) pBar->GetDockBar()->RemoveBar(pBar);
        pBar->SetDockBar(pDock);
        pBar->SetBarPosition(pDock->GetDockSide());
      }
      pDock->InsertEntry(std::min(i, pDock->GetEntryCount()), pBar);
    }
    pDock->NormalizeRows();
  }
  if (pApp->GetProfileInt(lpszProfileName, _T("StatusBar"), 1) == 0 && m_pFrame->GetSafeHwnd() != nullptr) {
    if (CWnd* pStatusBar = m_pFrame->GetDlgItem(AFX_IDW_STATUS_BAR)) {
      if (CControlBar* pControlBar = DYNAMIC_DOWNCAST(CControlBar, pStatusBar)) {
        if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pFrame))
          pFrame->ShowControlBar(pControlBar, FALSE, TRUE);
      } else {
        pStatusBar->ShowWindow(SW_HIDE);
      }
    }
  }
}
