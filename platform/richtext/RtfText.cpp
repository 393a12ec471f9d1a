// Contents of the rich-text control stand-in on their way into the system's rich edit.
#include "RtfText.h"

#include <windows.h>

#include <cstdio>

namespace richtext {
namespace {

template <class Char>
bool OpensWithRtf(const Char* p, size_t n) {
  size_t i = 0;
  while (i < n && (p[i] == ' ' || p[i] == '\t' || p[i] == '\r' || p[i] == '\n')) ++i;
  static const char kOpening[] = "{\\rtf";
  for (size_t k = 0; k + 1 < sizeof kOpening; ++k, ++i) {
    if (i >= n || p[i] != static_cast<Char>(kOpening[k])) return false;
  }
  return true;
}

std::wstring Widen(const char* p, int n, UINT codePage, DWORD flags) {
  if (n <= 0) return std::wstring();
  const int length = ::MultiByteToWideChar(codePage, flags, p, n, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, flags, p, n, &text[0], length);
  return text;
}

}  // namespace

bool LooksLikeRtf(const std::wstring& text) { return OpensWithRtf(text.data(), text.size()); }

bool LooksLikeRtf(const std::string& bytes) {
  size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  return OpensWithRtf(bytes.data() + skip, bytes.size() - skip);
}

std::string RtfBytesFromWide(const std::wstring& rtf) {
  std::string bytes;
  bytes.reserve(rtf.size());
  char escape[32];
  for (wchar_t c : rtf) {
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else {
      // The control word's value is a signed 16-bit number.
      snprintf(escape, sizeof escape, "{\\uc1\\u%d?}", static_cast<int>(static_cast<short>(c)));
      bytes += escape;
    }
  }
  return bytes;
}

int RtfNestingDepth(const std::string& rtf) {
  int depth = 0;
  int deepest = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '\\') {
      ++i;  // the escaped character, whatever it is
    } else if (c == '{') {
      if (++depth > deepest) deepest = depth;
    } else if (c == '}') {
      if (depth > 0) --depth;
    }
  }
  return deepest;
}

std::wstring TextFromBytes(const std::string& bytes) {
  const char* p = bytes.data();
  const size_t n = bytes.size();
  if (n >= 2 && static_cast<unsigned char>(p[0]) == 0xFF && static_cast<unsigned char>(p[1]) == 0xFE) {
    return std::wstring(reinterpret_cast<const wchar_t*>(p + 2), (n - 2) / sizeof(wchar_t));
  }
  if (n >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    return Widen(p + 3, static_cast<int>(n - 3), CP_UTF8, 0);
  }
  std::wstring utf8 = Widen(p, static_cast<int>(n), CP_UTF8, MB_ERR_INVALID_CHARS);
  if (!utf8.empty() || n == 0) return utf8;
  return Widen(p, static_cast<int>(n), CP_ACP, 0);
}

}  // namespace richtext
