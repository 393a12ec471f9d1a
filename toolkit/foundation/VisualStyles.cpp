// UxTheme entry points bound by name, with quiet failure where they are missing.
//
// The calls into UxTheme are made directly, without a structured-exception guard: the compiler has
// no __try/__except, and the UxTheme of the systems this runs on reports failures by result codes.
#include "VisualStyles.h"

#include "SystemQueries.h"

namespace {

const char* const kEntryNames[] = {"IsThemeActive",      "IsAppThemed",         "OpenThemeData",
                                   "CloseThemeData",     "DrawThemeBackground", "GetThemeColor",
                                   "GetCurrentThemeName"};

typedef BOOL(WINAPI* PFNISTHEMEACTIVE)();
typedef BOOL(WINAPI* PFNISAPPTHEMED)();
typedef HTHEME(WINAPI* PFNOPENTHEMEDATA)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* PFNCLOSETHEMEDATA)(HTHEME);
typedef HRESULT(WINAPI* PFNDRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* PFNGETTHEMECOLOR)(HTHEME, int, int, int, COLORREF*);
typedef HRESULT(WINAPI* PFNGETCURRENTTHEMENAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

template <class T>
T EntryAs(FARPROC pfn) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(pfn));
}

DWORD ReadComCtlVersion() {
  DWORD dwVersion = 0;
  if (!XTPSystemQueries()->GetComCtlVersion(&dwVersion)) dwVersion = 0;
  return dwVersion;
}

}  // namespace

CXTVisualStyles::CXTVisualStyles() : CXTVisualStyles(L"UxTheme.dll", ReadComCtlVersion()) {}

CXTVisualStyles::CXTVisualStyles(LPCWSTR lpszUxThemeModule, DWORD dwComCtlVersion)
    : m_hUxTheme(::LoadLibraryW(lpszUxThemeModule)), m_dwComCtlVersion(dwComCtlVersion) {}

CXTVisualStyles::~CXTVisualStyles() {
  if (m_hUxTheme != nullptr) ::FreeLibrary(m_hUxTheme);
}

FARPROC CXTVisualStyles::GetEntry(Entry nEntry) {
  if (!m_bLookedUp[nEntry]) {
    if (m_hUxTheme == nullptr) return nullptr;
    m_entries[nEntry] = ::GetProcAddress(m_hUxTheme, kEntryNames[nEntry]);
    m_bLookedUp[nEntry] = TRUE;
  }
  return m_entries[nEntry];
}

BOOL CXTVisualStyles::IsVisualStyleActive() {
  return m_hUxTheme != nullptr && IsThemeActive() && HIWORD(m_dwComCtlVersion) > 5;
}

BOOL CXTVisualStyles::IsThemeActive() {
  auto pfn = EntryAs<PFNISTHEMEACTIVE>(GetEntry(entryIsThemeActive));
  return pfn != nullptr ? pfn() : FALSE;
}

BOOL CXTVisualStyles::IsAppThemed() {
  auto pfn = EntryAs<PFNISAPPTHEMED>(GetEntry(entryIsAppThemed));
  return pfn != nullptr ? pfn() : FALSE;
}

HTHEME CXTVisualStyles::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
  auto pfn = EntryAs<PFNOPENTHEMEDATA>(GetEntry(entryOpenThemeData));
  return pfn != nullptr ? pfn(hWnd, pszClassList) : nullptr;
}

HRESULT CXTVisualStyles::CloseThemeData(HTHEME hTheme) {
  auto pfn = EntryAs<PFNCLOSETHEMEDATA>(GetEntry(entryCloseThemeData));
  return pfn != nullptr ? pfn(hTheme) : E_FAIL;
}

HRESULT CXTVisualStyles::DrawThemeBackground(HTHEME hTheme, HDC hDC, int iPartId, int iStateId,
                                             const RECT* pRect, const RECT* pClipRect) {
  auto pfn = EntryAs<PFNDRAWTHEMEBACKGROUND>(GetEntry(entryDrawThemeBackground));
  return pfn != nullptr ? pfn(hTheme, hDC, iPartId, iStateId, pRect, pClipRect) : E_FAIL;
}

HRESULT CXTVisualStyles::GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                       COLORREF* pColor) {
  auto pfn = EntryAs<PFNGETTHEMECOLOR>(GetEntry(entryGetThemeColor));
  return pfn != nullptr ? pfn(hTheme, iPartId, iStateId, iPropId, pColor) : E_FAIL;
}

HRESULT CXTVisualStyles::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                             LPWSTR pszColorBuff, int cchMaxColorChars, LPWSTR pszSizeBuff,
                                             int cchMaxSizeChars) {
  auto pfn = EntryAs<PFNGETCURRENTTHEMENAME>(GetEntry(entryGetCurrentThemeName));
  return pfn != nullptr ? pfn(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff,
                              cchMaxSizeChars)
                        : E_FAIL;
}

CXTVisualStyles* AFXAPI XTVisualStyles() {
  static CXTVisualStyles visualStyles;
  return &visualStyles;
}

BOOL AFXAPI IsVisualStyleActive() { return XTVisualStyles()->IsVisualStyleActive(); }

namespace {
// UxTheme is loaded and the common-controls version read when the program starts.
[[maybe_unused]] const CXTVisualStyles* g_pBoundAtStart = XTVisualStyles();
}  // namespace
