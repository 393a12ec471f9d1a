// The rich-text control's host window and its two dispatch calls.
#include "RichText.h"

IMPLEMENT_DYNCREATE(CRichText, CWnd)

namespace {

const DISPID DISPID_TEXT_RTF = 10;
const DISPID DISPID_LOAD_FILE = 37;

}  // namespace

// {3B7C8860-D78F-101B-B9B5-04021C009402}
const CLSID CRichText::CLSID_RICH_TEXT = {
    0x3b7c8860, 0xd78f, 0x101b, {0xb9, 0xb5, 0x04, 0x02, 0x1c, 0x00, 0x94, 0x02}};

BOOL CRichText::Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateControl(CLSID_RICH_TEXT, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CRichText::Create(LPCTSTR /*lpszClassName*/, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, void* /*pContext*/) {
  return Create(lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CRichText::SetTextRTF(LPCTSTR lpszText) {
  static const BYTE params[] = VTS_BSTR;
  InvokeHelper(DISPID_TEXT_RTF, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, params, lpszText);
}

void CRichText::LoadFile(LPCTSTR lpszPath, const VARIANT& fileType) {
  static const BYTE params[] = VTS_BSTR VTS_VARIANT;
  InvokeHelper(DISPID_LOAD_FILE, DISPATCH_METHOD, VT_EMPTY, nullptr, params, lpszPath, &fileType);
}
