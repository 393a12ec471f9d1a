// The Notes client look-up and the PATH extension of the launcher.
#include "NotesEnvironment.h"

#include <vector>

namespace {

const WCHAR kNotesKey[] = L"SOFTWARE\\Lotus\\Notes";
const WCHAR kPathValue[] = L"path";
const WCHAR kPathVariable[] = L"path";

// The registry value and subkey-name limits of the launcher (260 characters each).
const int kRegistryChars = 260;
// First guess for the size of PATH; a longer PATH is read whole with a second call.
const DWORD kPathChars = 13000;

CString EntryForComparison(CString strEntry) {
  strEntry.MakeUpper();
  strEntry.TrimRight(L'\\');
  return strEntry;
}

}  // namespace

BOOL IsOnPath(const CString& strPath, const CString& strDirectory) {
  const CString strWanted = EntryForComparison(strDirectory);
  if (strWanted.IsEmpty()) return TRUE;
  int nStart = 0;
  while (nStart <= strPath.GetLength()) {
    int nEnd = strPath.Find(L';', nStart);
    if (nEnd < 0) nEnd = strPath.GetLength();
    if (EntryForComparison(strPath.Mid(nStart, nEnd - nStart)) == strWanted) return TRUE;
    nStart = nEnd + 1;
  }
  return FALSE;
}

CNotesEnvironment::CNotesEnvironment(CLauncherSystem& system) : m_system(system) {}

CNotesEnvironment::~CNotesEnvironment() {}

BOOL CNotesEnvironment::ReadNotesPath(CString& strPath) {
  HKEY hKey = nullptr;
  if (m_system.OpenKey(HKEY_LOCAL_MACHINE, kNotesKey, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) return FALSE;
  CString strValue;
  const BOOL bRead = ReadPathValue(hKey, strValue);
  m_system.CloseKey(hKey);
  if (bRead) strPath = strValue;
  return bRead;
}

BOOL CNotesEnvironment::FindNotesInstallations() {
  HKEY hKey = nullptr;
  if (m_system.OpenKey(HKEY_LOCAL_MACHINE, kNotesKey, KEY_READ, &hKey) != ERROR_SUCCESS) return FALSE;
  BOOL bFound = FALSE;
  for (DWORD dwIndex = 0;; ++dwIndex) {
    WCHAR szName[kRegistryChars + 1] = {};
    DWORD cchName = kRegistryChars;
    if (m_system.EnumKey(hKey, dwIndex, szName, &cchName) != ERROR_SUCCESS) break;
    const CString strSubKey = CString(kNotesKey) + L"\\" + szName;
    HKEY hSubKey = nullptr;
    if (m_system.OpenKey(HKEY_LOCAL_MACHINE, strSubKey, KEY_READ, &hSubKey) != ERROR_SUCCESS) continue;
    CString strValue;
    if (ReadPathValue(hSubKey, strValue)) {
      AddToPath(strValue);
      bFound = TRUE;
    }
    m_system.CloseKey(hSubKey);
  }
  m_system.CloseKey(hKey);
  return bFound;
}

void CNotesEnvironment::AddToPath(CString strDirectory) {
  CString strPath;
  // PATH that cannot be read is left as it is rather than replaced by the directory alone.
  if (!ReadPathVariable(strPath)) return;
  if (IsOnPath(strPath, strDirectory)) return;
  strPath.MakeUpper();
  strDirectory.MakeUpper();
  if (strPath.IsEmpty())
    SetPath(strDirectory);
  else
    SetPath(strPath + L";" + strDirectory);
}

void CNotesEnvironment::SetPath(CString strValue) {
  strValue.MakeLower();
  m_system.WriteEnvironmentVariable(kPathVariable, strValue);
}

// Only text (REG_SZ, REG_EXPAND_SZ, taken as stored) that fits the 260-character limit counts; the
// buffer has room for one more character so the text is terminated even when the stored value is not.
BOOL CNotesEnvironment::ReadPathValue(HKEY hKey, CString& strValue) {
  WCHAR szValue[kRegistryChars + 1] = {};
  DWORD dwType = REG_NONE;
  DWORD cbValue = kRegistryChars * sizeof(WCHAR);
  if (m_system.QueryValue(hKey, kPathValue, &dwType, reinterpret_cast<LPBYTE>(szValue), &cbValue) !=
      ERROR_SUCCESS)
    return FALSE;
  if (dwType != REG_SZ && dwType != REG_EXPAND_SZ) return FALSE;
  szValue[kRegistryChars] = L'\0';
  strValue = szValue;
  return TRUE;
}

// An unset PATH reads as empty. FALSE only when the variable keeps changing size under us.
BOOL CNotesEnvironment::ReadPathVariable(CString& strValue) {
  std::vector<WCHAR> buffer(kPathChars + 1);
  for (int nTry = 0; nTry < 4; ++nTry) {
    const DWORD nResult =
        m_system.ReadEnvironmentVariable(kPathVariable, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (nResult < buffer.size()) {
      strValue = CString(buffer.data(), static_cast<int>(nResult));
      return TRUE;
    }
    buffer.assign(nResult, L'\0');
  }
  return FALSE;
}
