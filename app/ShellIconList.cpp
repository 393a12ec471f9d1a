// The shell icon lists through SHGetFileInfo.
#include "ShellIconList.h"

#include <shellapi.h>

HIMAGELIST CShellIconList::GetSystemImageList(BOOL bSmall) {
  SHFILEINFOW info = {};
  UINT flags = SHGFI_SYSICONINDEX;
  if (bSmall) flags |= SHGFI_SMALLICON;
  return reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(L"c:\\", 0, &info, sizeof(info), flags));
}

int CShellIconList::GetIconIndex(LPCTSTR lpszFileName, BOOL bSmall) {
  if (lpszFileName == nullptr) return 0;
  SHFILEINFOW info = {};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES;
  if (bSmall) flags |= SHGFI_SMALLICON;
  ::SHGetFileInfoW(lpszFileName, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags);
  return info.iIcon;
}
