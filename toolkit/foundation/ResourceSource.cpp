// Toolkit resources loaded through the framework's current resource handle.
#include "ResourceSource.h"

#include <memory>

namespace {
const LPCWSTR kToolBarType = MAKEINTRESOURCEW(241);
}  // namespace

BOOL CXTResourceSource::LoadString(CString& str, UINT nID) {
  LPCWSTR pText = nullptr;
  int nLength = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pText), 0);
  if (nLength <= 0 || pText == nullptr) return FALSE;
  str = CString(pText, nLength);
  return TRUE;
}

BOOL CXTResourceSource::LoadMenu(CMenu* pMenu, UINT nID) {
  HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID));
  if (hMenu == nullptr) return FALSE;
  if (!pMenu->Attach(hMenu)) {
    ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CXTResourceSource::LoadToolBar(XT_TOOLBARDATA* pToolBar, UINT nID) {
  HINSTANCE hInst = AfxGetResourceHandle();
  HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(nID), kToolBarType);
  if (hRsrc == nullptr) return FALSE;
  HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
  const WORD* pData = hGlobal != nullptr ? static_cast<const WORD*>(::LockResource(hGlobal)) : nullptr;
  if (pData == nullptr) return FALSE;
  DWORD nWords = ::SizeofResource(hInst, hRsrc) / sizeof(WORD);
  if (nWords < 4 || nWords - 4 < pData[3]) return FALSE;
  pToolBar->wVersion = pData[0];
  pToolBar->wWidth = pData[1];
  pToolBar->wHeight = pData[2];
  pToolBar->arrItems.SetSize(pData[3]);
  for (WORD i = 0; i < pData[3]; ++i) pToolBar->arrItems[i] = pData[4 + i];
  return TRUE;
}

BOOL CXTResourceSource::LoadBitmap(CBitmap* pBitmap, UINT nID) {
  HBITMAP hBitmap = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID));
  if (hBitmap == nullptr) return FALSE;
  if (!pBitmap->Attach(hBitmap)) {
    ::DeleteObject(hBitmap);
    return FALSE;
  }
  return TRUE;
}

HCURSOR CXTResourceSource::LoadCursor(UINT nID) {
  return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID));
}

LPCDLGTEMPLATE CXTResourceSource::LoadDialogTemplate(UINT nID) {
  HINSTANCE hInst = AfxGetResourceHandle();
  HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(nID), RT_DIALOG);
  if (hRsrc == nullptr) return nullptr;
  HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
  return hGlobal != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hGlobal)) : nullptr;
}

int CXTResourceSource::ShowMessageBox(UINT nIDString, UINT nType) {
  CString strMessage;
  GetToolkitResourceManager()->LoadString(strMessage, nIDString);
  return AfxMessageBox(strMessage, nType);
}

CXTResourceSource* AFXAPI GetToolkitResourceManager() {
  static CXTResourceSource resourceSource;
  return &resourceSource;
}
