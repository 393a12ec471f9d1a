// Theme-data handles over the UxTheme binding.
#include "ThemeHandle.h"

CXTThemeHandle::CXTThemeHandle(CXTVisualStyles* pStyles)
    : m_pStyles(pStyles != nullptr ? pStyles : XTVisualStyles()) {}

CXTThemeHandle::~CXTThemeHandle() { CloseThemeData(); }

void CXTThemeHandle::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
  CloseThemeData();
  m_hTheme = m_pStyles->OpenThemeData(hWnd, pszClassList);
}

void CXTThemeHandle::CloseThemeData() {
  if (m_hTheme != nullptr) m_pStyles->CloseThemeData(m_hTheme);
  m_hTheme = nullptr;
}

BOOL CXTThemeHandle::IsAppThemed() { return m_hTheme != nullptr && m_pStyles->IsAppThemed(); }

HRESULT CXTThemeHandle::DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                            const RECT* pClipRect) {
  return m_pStyles->DrawThemeBackground(m_hTheme, hDC, iPartId, iStateId, pRect, pClipRect);
}

HRESULT CXTThemeHandle::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor) {
  return m_pStyles->GetThemeColor(m_hTheme, iPartId, iStateId, iPropId, pColor);
}

HRESULT CXTThemeHandle::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
  return m_pStyles->GetCurrentThemeName(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars,
                                        pszSizeBuff, cchMaxSizeChars);
}
