// The maker's home page.
#include "HomePage.h"

#include <shellapi.h>

const LPCTSTR MAKER_HOME_PAGE = L"https://www.brindle-software.example/";

BOOL OpenMakerHomePage() {
  const HINSTANCE hResult = ::ShellExecute(nullptr, L"Open", MAKER_HOME_PAGE, nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(hResult) > 32;
}
