// The shortcut manager: shortcut texts by priority, key names, mnemonic matching across keyboard
// layouts, translation, and the stored table.
#include "AcceleratorManager.h"

#include "CommandBars.h"

#include <vector>

IMPLEMENT_DYNAMIC(CXTPAcceleratorManager, CCmdTarget)

static_assert(sizeof(ACCEL) == 6, "stored shortcuts are 6-byte ACCEL records");

namespace {

struct KeyName {
  UINT nKey;
  LPCTSTR lpszName;
};

const KeyName kKeyNames[] = {
    {0x01, _T("Left Button")},   {0x02, _T("Right Button")},  {0x03, _T("Ctrl+Break")},
    {0x04, _T("Middle Button")}, {0x08, _T("Backspace")},     {0x09, _T("Tab")},
    {0x0C, _T("Clear")},         {0x0D, _T("Enter")},         {0x10, _T("Shift")},
    {0x11, _T("Ctrl")},          {0x12, _T("Alt")},           {0x13, _T("Pause")},
    {0x14, _T("Caps Lock")},     {0x1B, _T("Esc")},           {0x20, _T("Space")},
    {0x21, _T("Page Up")},       {0x22, _T("Page Down")},     {0x23, _T("End")},
    {0x24, _T("Home")},          {0x25, _T("Left Arrow")},    {0x26, _T("Up Arrow")},
    {0x27, _T("Right Arrow")},   {0x28, _T("Down Arrow")},    {0x29, _T("Select")},
    {0x2A, _T("Print")},         {0x2B, _T("Execute")},       {0x2C, _T("Snapshot")},
    {0x2D, _T("Ins")},           {0x2E, _T("Del")},           {0x2F, _T("Help")},
    {0x5B, _T("Left Windows")},  {0x5C, _T("Right Windows")}, {0x5D, _T("Application")},
    {0x6A, _T("Num *")},         {0x6B, _T("Num +")},         {0x6C, _T("Separator")},
    {0x6D, _T("Num -")},         {0x6E, _T("Num .")},         {0x6F, _T("Num /")},
    {0x90, _T("Num Lock")},      {0x91, _T("Scrl Lock")},     {0xF6, _T("Attn")},
    {0xF7, _T("Crsel")},         {0xF8, _T("Exsel")},         {0xF9, _T("Ereof")},
    {0xFA, _T("Play")},          {0xFB, _T("Zoom")},          {0xFC, _T("No Name")},
    {0xFD, _T("Pa1")},           {0xFE, _T("Oem Clear")},
};

std::vector<ACCEL> TableEntries(HACCEL hAccel) {
  std::vector<ACCEL> entries;
  if (hAccel == nullptr) return entries;
  const int nCount = ::CopyAcceleratorTable(hAccel, nullptr, 0);
  if (nCount <= 0) return entries;
  entries.resize(static_cast<size_t>(nCount));
  ::CopyAcceleratorTable(hAccel, entries.data(), nCount);
  return entries;
}

HACCEL CopyTable(HACCEL hAccel) {
  std::vector<ACCEL> entries = TableEntries(hAccel);
  return entries.empty() ? nullptr
                         : ::CreateAcceleratorTable(entries.data(), static_cast<int>(entries.size()));
}

}  // namespace

CXTPAcceleratorManager::CXTPAcceleratorManager(CXTPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {
  for (UINT nKey = 0x30; nKey <= 0x39; ++nKey) m_mapKeyNames.SetAt(nKey, CString(static_cast<TCHAR>(nKey)));
  for (UINT nKey = 0x41; nKey <= 0x5A; ++nKey) m_mapKeyNames.SetAt(nKey, CString(static_cast<TCHAR>(nKey)));
  for (const KeyName& name : kKeyNames) m_mapKeyNames.SetAt(name.nKey, name.lpszName);
  for (UINT n = 0; n < 12; ++n) {
    CString str;
    str.Format(_T("F%u"), n + 1);
    m_mapKeyNames.SetAt(0x70 + n, str);
  }
  for (UINT n = 0; n < 10; ++n) {
    CString str;
    str.Format(_T("Num %u"), n);
    m_mapKeyNames.SetAt(0x60 + n, str);
  }
}

CXTPAcceleratorManager::~CXTPAcceleratorManager() {
  if (m_hAccelTable != nullptr) ::DestroyAcceleratorTable(m_hAccelTable);
  if (m_hDefaultAccelTable != nullptr) ::DestroyAcceleratorTable(m_hDefaultAccelTable);
}

CString CXTPAcceleratorManager::GetSystemKeyName(UINT nVirtualKey) const {
  if (nVirtualKey == VK_CANCEL) return CString();
  const UINT nScan = ::MapVirtualKeyEx(nVirtualKey, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0));
  LONG lParam = static_cast<LONG>((nScan << 16) | 1);
  if (nVirtualKey >= 0x21 && nVirtualKey <= 0x2F) lParam |= 0x1000000;
  TCHAR szName[51] = {};
  if (::GetKeyNameText(lParam, szName, 51) <= 0) return CString();
  CString strName(szName);
  strName.MakeLower();
  for (int i = 0; i < strName.GetLength(); ++i) {
    if (::IsCharLower(strName[i])) {
      TCHAR szChar[2] = {strName[i], 0};
      ::CharUpper(szChar);
      strName.SetAt(i, szChar[0]);
      break;
    }
  }
  return strName;
}

CString CXTPAcceleratorManager::GetKeyName(UINT nVirtualKey) {
  CString strName;
  if (m_bUseSystemKeyNameText) strName = GetSystemKeyName(nVirtualKey);
  if (strName.IsEmpty()) m_mapKeyNames.Lookup(nVirtualKey, strName);
  if (strName.IsEmpty() && !m_bUseSystemKeyNameText) strName = GetSystemKeyName(nVirtualKey);
  return strName;
}

CString CXTPAcceleratorManager::FormatShortcut(const ACCEL* pAccel, int* pnPriority) {
  if (pnPriority != nullptr) {
    *pnPriority = (pAccel->fVirt & FCONTROL) ? 3
                  : (pAccel->fVirt & FALT)   ? 2
                  : (pAccel->fVirt & FSHIFT) ? 1
                                             : 4;
  }
  CString strText;
  if (!((pAccel->fVirt & FVIRTKEY) && pAccel->key == VK_CANCEL)) {
    if (pAccel->fVirt & FCONTROL) strText += GetKeyName(VK_CONTROL) + _T("+");
    if (pAccel->fVirt & FSHIFT) strText += GetKeyName(VK_SHIFT) + _T("+");
    if (pAccel->fVirt & FALT) strText += GetKeyName(VK_MENU) + _T("+");
  }
  if (pAccel->key != 0) {
    if (pAccel->fVirt & FVIRTKEY) {
      strText += GetKeyName(pAccel->key);
    } else if (pAccel->key != 27 && pAccel->key != 9) {
      strText += static_cast<TCHAR>(pAccel->key);
    }
  } else if (!strText.IsEmpty()) {
    strText = strText.Left(strText.GetLength() - 1);
  }
  return strText;
}

BOOL CXTPAcceleratorManager::GetShortcutText(int nCmd, CString& strShortcut) {
  HACCEL hAccel = m_hAccelTable;
  if (hAccel == nullptr && m_hDefaultAccelTable == nullptr && m_pCommandBars != nullptr) {
    if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pCommandBars->GetSite()))
      hAccel = pFrame->m_hAccelTable;
  }
  if (hAccel == nullptr) return FALSE;
  BOOL bFound = FALSE, bMatch = FALSE;
  int nBestPriority = 0;
  CString strBest;
  for (const ACCEL& accel : TableEntries(hAccel)) {
    if (static_cast<int>(accel.cmd) != (nCmd & 0xFFFF)) continue;
    int nPriority = 0;
    const CString strText = FormatShortcut(&accel, &nPriority);
    if (strText == strShortcut) bMatch = TRUE;
    if (!bFound || nPriority > nBestPriority) {
      strBest = strText;
      nBestPriority = nPriority;
    }
    bFound = TRUE;
  }
  if (!bFound) {
    strShortcut.Empty();
    return FALSE;
  }
  if (!bMatch) strShortcut = strBest;
  return TRUE;
}

BOOL CXTPAcceleratorManager::IsShortcutAllowed(const ACCEL* pAccel, BOOL) {
  return !((pAccel->fVirt & FVIRTKEY) && pAccel->key == VK_ESCAPE &&
           !(pAccel->fVirt & (FSHIFT | FCONTROL | FALT)) && !m_bAllowEscapeShortcut);
}

void CXTPAcceleratorManager::ResetAccelerators() {
  if (m_hAccelTable != nullptr) ::DestroyAcceleratorTable(m_hAccelTable);
  m_hAccelTable = CopyTable(m_hDefaultAccelTable);
}

void CXTPAcceleratorManager::SetAccelerators(const ACCEL* pAccels, int nCount) {
  HACCEL hNew = pAccels != nullptr && nCount > 0
                    ? ::CreateAcceleratorTable(const_cast<ACCEL*>(pAccels), nCount)
                    : nullptr;
  if (m_hAccelTable != nullptr) ::DestroyAcceleratorTable(m_hAccelTable);
  m_hAccelTable = hNew;
}

void CXTPAcceleratorManager::SetDefaultAccelerators(HACCEL hAccel) {
  if (m_hDefaultAccelTable != nullptr) ::DestroyAcceleratorTable(m_hDefaultAccelTable);
  m_hDefaultAccelTable = hAccel;
  ResetAccelerators();
}

BOOL CXTPAcceleratorManager::TranslateAccelerator(HWND hWnd, MSG* pMsg) {
  return m_nDisableCount < 1 && m_hAccelTable != nullptr && ::TranslateAccelerator(hWnd, m_hAccelTable, pMsg);
}

BOOL CXTPAcceleratorManager::TranslateAccelerator(CWnd* pWnd, MSG* pMsg) {
  return TranslateAccelerator(pWnd->GetSafeHwnd(), pMsg);
}

void CXTPAcceleratorManager::SaveShortcuts(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  if (m_hDefaultAccelTable == nullptr || pApp == nullptr) return;
  std::vector<ACCEL> entries = TableEntries(m_hAccelTable);
  pApp->WriteProfileBinary(lpszProfileName, _T("Accelerators"),
                           entries.empty() ? nullptr : reinterpret_cast<LPBYTE>(entries.data()),
                           static_cast<UINT>(entries.size() * sizeof(ACCEL)));
}

void CXTPAcceleratorManager::LoadShortcuts(LPCTSTR lpszProfileName) {
  CWinApp* pApp = AfxGetApp();
  if (m_hDefaultAccelTable == nullptr || pApp == nullptr) return;
  HKEY hKey = pApp->GetSectionKey(lpszProfileName);
  if (hKey == nullptr) return;
  DWORD dwType = 0, cbData = 0;
  std::vector<ACCEL> entries;
  // An empty blob, one that is not whole records, or one beyond any real table is ignored.
  if (::RegQueryValueEx(hKey, _T("Accelerators"), nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS &&
      dwType == REG_BINARY && cbData > 0 && cbData % sizeof(ACCEL) == 0 && cbData <= 0xFFFF * sizeof(ACCEL)) {
    entries.resize(cbData / sizeof(ACCEL));
    DWORD cbRead = cbData;
    if (::RegQueryValueEx(hKey, _T("Accelerators"), nullptr, &dwType,
                          reinterpret_cast<LPBYTE>(entries.data()), &cbRead) != ERROR_SUCCESS ||
        cbRead != cbData) {
      entries.clear();
    }
  }
  ::RegCloseKey(hKey);
  // A record with flags no table has, or without a key, is no shortcut the program stored.
  const BYTE kKnownFlags = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;
  for (const ACCEL& entry : entries) {
    if ((entry.fVirt & ~kKnownFlags) != 0 || entry.key == 0) {
      entries.clear();
      break;
    }
  }
  if (!entries.empty()) SetAccelerators(entries.data(), static_cast<int>(entries.size()));
}

BOOL PASCAL CXTPAcceleratorManager::IsKeyForChar(UINT nVirtualKey, TCHAR chMnemonic) {
  if (::MapVirtualKey(nVirtualKey, MAPVK_VK_TO_CHAR) == 0 || chMnemonic == 0) return FALSE;
  TCHAR szUpper[2] = {chMnemonic, 0};
  ::CharUpper(szUpper);
  if (static_cast<TCHAR>(nVirtualKey) == chMnemonic || static_cast<TCHAR>(nVirtualKey) == szUpper[0])
    return TRUE;
  HKL arrLayouts[16] = {};
  const int nLayouts = ::GetKeyboardLayoutList(16, arrLayouts);
  if (nLayouts <= 1) return FALSE;
  BYTE keyState[256] = {};
  ::GetKeyboardState(keyState);
  for (int i = 0; i < nLayouts; ++i) {
    WCHAR szChar[4] = {};
    const UINT nScan = ::MapVirtualKeyEx(nVirtualKey, MAPVK_VK_TO_VSC, arrLayouts[i]);
    if (::ToUnicodeEx(nVirtualKey, nScan, keyState, szChar, 1, 0, arrLayouts[i]) != 1) continue;
    if (szChar[0] == chMnemonic) return TRUE;
    TCHAR szCharUpper[2] = {szChar[0], 0};
    ::CharUpper(szCharUpper);
    if (szCharUpper[0] == szUpper[0]) return TRUE;
  }
  return FALSE;
}
