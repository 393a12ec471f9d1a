// The launcher's message box.
#include "LauncherMessageBox.h"

int LauncherMessageBox(CString strText, UINT nType) {
  return ::MessageBoxW(nullptr, strText, L"Brindle for PST to NSF", nType);
}
