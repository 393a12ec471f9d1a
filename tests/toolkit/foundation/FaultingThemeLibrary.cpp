// FaultingUxTheme.dll: a theme library whose entry points fault on request, for the tests of the
// guard around the visual-style calls. It exports the names the binding looks up.
#include <windows.h>

#include <cstdint>

namespace {

// An address no page maps: a write there is an access violation, as a fault inside the real library
// would be.
volatile std::uintptr_t g_unmapped = 16;
volatile int g_zero = 0;
volatile BOOL g_bAnswerAppThemed = FALSE;

void WriteToNowhere() { *reinterpret_cast<volatile int*>(g_unmapped) = 1; }

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI IsThemeActive() { return TRUE; }

// IsAppThemed faults until a test asks it to answer: a theme then opens its classes and meets the
// faults of the drawing calls.
__declspec(dllexport) BOOL WINAPI IsAppThemed() {
  if (!g_bAnswerAppThemed) WriteToNowhere();
  return TRUE;
}

__declspec(dllexport) void WINAPI AnswerAppThemed(BOOL bAnswer) { g_bAnswerAppThemed = bAnswer; }

// The class list "FAULT" faults; any other gets a handle that stands for nothing.
__declspec(dllexport) HANDLE WINAPI OpenThemeData(HWND, LPCWSTR pszClassList) {
  if (pszClassList != nullptr && lstrcmpW(pszClassList, L"FAULT") == 0) WriteToNowhere();
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7E57));
}

__declspec(dllexport) HRESULT WINAPI CloseThemeData(HANDLE) { return S_OK; }

// iPartId 1 faults. iPartId 2 calls the function that hTheme stands for (a caller's call back into the
// binding, made from inside the library) and then succeeds. Any other part id fills the rectangle.
__declspec(dllexport) HRESULT WINAPI
    DrawThemeBackground(HANDLE hTheme, HDC hDC, int iPartId, int, const RECT* pRect, const RECT*) {
  if (iPartId == 1) WriteToNowhere();
  if (iPartId == 2) reinterpret_cast<void (*)()>(hTheme)();
  if (hDC != nullptr && pRect != nullptr)
    ::FillRect(hDC, pRect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  return S_OK;
}

// iPartId 1 divides by zero; any other part id answers red.
__declspec(dllexport) HRESULT WINAPI GetThemeColor(HANDLE, int iPartId, int, int, COLORREF* pColor) {
  const int nDivisor = iPartId == 1 ? g_zero : 1;
  *pColor = static_cast<COLORREF>(RGB(255, 0, 0) / nDivisor);
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI GetCurrentThemeName(LPWSTR pszFile, int, LPWSTR, int, LPWSTR, int) {
  // Writes through whatever it was given, as a library trusting its caller would.
  pszFile[0] = L'x';
  return S_OK;
}

}  // extern "C"
