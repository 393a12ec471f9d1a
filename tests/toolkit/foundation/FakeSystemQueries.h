// A scripted system for the toolkit: colours, depth, visual style and cursors chosen by the test.
// Installed for the life of the object.
#pragma once

#include <map>
#include <string>

#include "ColorTable.h"
#include "SystemQueries.h"

class FakeSystemQueries : public CXTPSystemQueries {
 public:
  FakeSystemQueries() { previous_ = CXTPSystemQueries::SetSystemQueries(this); }
  // The shared colour table is computed again from the real system: colours taken from the fake
  // would otherwise stay in it for every later test of the program.
  ~FakeSystemQueries() override {
    CXTPSystemQueries::SetSystemQueries(previous_);
    GetColorTable()->RefreshColors();
  }

  COLORREF GetSysColor(int nIndex) override {
    ++sysColorCalls;
    auto it = colors.find(nIndex);
    return it != colors.end() ? it->second : ::GetSysColor(nIndex);
  }
  int GetDeviceBitsPerPixel(HDC) override { return bitsPerPixel; }
  BOOL IsThemeActive() override { return themeActive; }
  HRESULT GetCurrentThemeName(LPWSTR pszFile, int cchFile, LPWSTR pszColor, int cchColor) override {
    if (!themeNameAvailable) return E_FAIL;
    lstrcpynW(pszFile, themeFile.c_str(), cchFile);
    lstrcpynW(pszColor, themeColor.c_str(), cchColor);
    return S_OK;
  }
  BOOL GetThemeClassColor(LPCWSTR, int, int, int, COLORREF* pColor) override {
    if (treeBorder == COLORREF(-1)) return FALSE;
    *pColor = treeBorder;
    return TRUE;
  }
  BOOL GetComCtlVersion(DWORD* pdwVersion) override {
    ++comCtlCalls;
    if (comCtlVersion == 0) return FALSE;
    *pdwVersion = comCtlVersion;
    return TRUE;
  }
  HCURSOR LoadSystemCursor(LPCWSTR lpszCursor) override {
    if (lpszCursor == IDC_HAND && !hasHandCursor) return nullptr;
    return CXTPSystemQueries::LoadSystemCursor(lpszCursor);
  }

  std::map<int, COLORREF> colors;
  int bitsPerPixel = 32;
  BOOL themeActive = FALSE;
  BOOL themeNameAvailable = TRUE;
  std::wstring themeFile;
  std::wstring themeColor;
  COLORREF treeBorder = COLORREF(-1);
  DWORD comCtlVersion = MAKELONG(81, 5);
  BOOL hasHandCursor = TRUE;
  int sysColorCalls = 0;
  int comCtlCalls = 0;

 private:
  CXTPSystemQueries* previous_;
};
