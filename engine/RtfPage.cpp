// RTF detail pages: the page's header, row and footer templates, and escaping of the texts put in.
#include "RtfPage.h"

namespace {

// Colour 1 is the heading and caption colour, colour 2 (black) the values'; fonts 0 and 1 are Arial.
const wchar_t kPageHeader[] =
    L"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
    L"Arial;}{\\f1\\fswiss\\fcharset0 "
    L"Arial;}}\r\n"
    L"{\\colortbl ;\\red0\\green0\\blue255;\\red0\\green0\\blue0;}\r\n"
    L"{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\cf1\\lang1033\\b\\f0\\fs22 "
    L"HEADING\\par\r\n"
    L"\\par\r\n";
const wchar_t kColourPlaceholder[] = L"\\red0\\green0\\blue255";
// The body goes between the footer's last paragraph and its closing brace, in the footer's plain font.
const wchar_t kPageFooter[] = L"\\par\r\n\\cf0\\b0\\f1\\fs20\\par\r\n";
const wchar_t kPageEnd[] = L"}";

}  // namespace

CString EscapeRtfText(const CString& text) {
  CString out;
  const int length = text.GetLength();
  for (int i = 0; i < length; i++) {
    const wchar_t c = text[i];
    switch (c) {
      case L'\\':
        out += L"\\\\";
        break;
      case L'{':
        out += L"\\{";
        break;
      case L'}':
        out += L"\\}";
        break;
      case L'\r':
        if (i + 1 < length && text[i + 1] == L'\n') i++;
        out += L"\\line ";
        break;
      case L'\n':
        out += L"\\line ";
        break;
      default:
        if (c > 0x7F) {
          CString unit;
          unit.Format(L"\\u%d?", static_cast<int>(static_cast<short>(c)));
          out += unit;
        } else {
          out += c;
        }
    }
  }
  return out;
}

CString BuildRtfPage(LPCWSTR heading, LPCWSTR colour, const CString& rows, const CString& body) {
  CString page(kPageHeader);
  if (colour != nullptr) page.Replace(kColourPlaceholder, colour);
  page.Replace(L"HEADING", heading);
  page += L"\r\n";
  page += rows;
  page += kPageFooter;
  page += EscapeRtfText(body);
  page += kPageEnd;
  return page;
}
