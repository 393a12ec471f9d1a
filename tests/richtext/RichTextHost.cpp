// The hosting window of the rich-text control tests.
#include "RichTextHost.h"

#include <gtest/gtest.h>

#include <fstream>

#include "RichTextControl.h"
#include "WindowTest.h"

namespace richtexttest {

BEGIN_EVENTSINK_MAP(RichTextHost, CWnd)
ON_EVENT(RichTextHost, kControlId, DISPID_CLICK, OnClick, VTS_NONE)
ON_EVENT(RichTextHost, kControlId, DISPID_MOUSEDOWN, OnMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT(RichTextHost, kControlId, DISPID_KEYDOWN, OnKeyDown, VTS_PI2 VTS_I2)
ON_EVENT(RichTextHost, kControlId, DISPID_KEYPRESS, OnKeyPress, VTS_PI2)
ON_EVENT(RichTextHost, kControlId, 1, OnChange, VTS_NONE)
END_EVENTSINK_MAP()

BOOL RichTextHost::CreateTop(LPCTSTR title, int x, int y, int width, int height) {
  if (!AfxOleInit()) return FALSE;
  return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), title,
                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr);
}

BOOL RichTextHost::CreateRichText(CWnd& control, const RECT& rect) {
  return control.CreateControl(richtext::CLSID_RichTextControl, nullptr, WS_VISIBLE | WS_TABSTOP, rect, this,
                               kControlId);
}

void RichTextHost::OnClick() { m_events.push_back(L"click"); }

void RichTextHost::OnMouseDown(short button, short /*shift*/, long x, long y) {
  m_events.push_back(L"down " + std::to_wstring(button) + L" " + std::to_wstring(x) + L" " +
                     std::to_wstring(y));
}

void RichTextHost::OnKeyDown(short* keyCode, short /*shift*/) {
  m_events.push_back(L"keydown " + std::to_wstring(*keyCode));
  if (m_keyReplacement != -1) *keyCode = m_keyReplacement;
}

void RichTextHost::OnKeyPress(short* keyAscii) {
  m_events.push_back(L"keypress " + std::to_wstring(*keyAscii));
  if (m_keyReplacement != -1) *keyAscii = m_keyReplacement;
}

void RichTextHost::OnChange() { m_events.push_back(L"change"); }

HWND EditWindowOf(CWnd& control) { return ::GetWindow(control.GetSafeHwnd(), GW_CHILD); }

std::wstring ShownText(HWND edit) { return testsupport::TextWithLineBreaks(edit); }

void PutTextRtf(CWnd& control, const CString& text) {
  static const BYTE params[] = VTS_BSTR;
  control.InvokeHelper(richtext::DISPID_RICHTEXT_TEXTRTF, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, params,
                       static_cast<LPCTSTR>(text));
}

void LoadFile(CWnd& control, const CString& path, long type) {
  static const BYTE params[] = VTS_BSTR VTS_VARIANT;
  COleVariant fileType(type, VT_I4);
  control.InvokeHelper(richtext::DISPID_RICHTEXT_LOADFILE, DISPATCH_METHOD, VT_EMPTY, nullptr, params,
                       static_cast<LPCTSTR>(path), static_cast<const VARIANT*>(fileType));
}

std::wstring WriteTempFile(const wchar_t* name, const std::string& bytes) {
  wchar_t directory[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, directory);
  std::wstring path = std::wstring(directory) + name;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return path;
}

}  // namespace richtexttest
