// HTML decoding and the HTML-to-text converter of the stand-in servers.
#include "HtmlText.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>

namespace automation {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::wstring LowerW(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

std::wstring Decode(const std::string& bytes, unsigned codePage) {
  if (bytes.empty()) return std::wstring();
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(n, L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
  return out;
}

bool CodePageUsable(unsigned codePage) { return codePage != 0 && IsValidCodePage(codePage); }

// The charset named by <meta charset=...> or <meta http-equiv content="...; charset=...">, read
// from the ASCII-compatible start of the document.
std::string MetaCharset(const std::string& bytes) {
  std::string head = Lower(bytes.substr(0, std::min<size_t>(bytes.size(), 4096)));
  size_t pos = 0;
  while ((pos = head.find("<meta", pos)) != std::string::npos) {
    size_t end = head.find('>', pos);
    std::string tag = head.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    size_t cs = tag.find("charset");
    if (cs != std::string::npos) {
      size_t i = cs + 7;
      while (i < tag.size() && (tag[i] == ' ' || tag[i] == '=' || tag[i] == '"' || tag[i] == '\'')) ++i;
      size_t j = i;
      while (j < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[j])) || tag[j] == '-' ||
                                tag[j] == '_' || tag[j] == ':' || tag[j] == '.'))
        ++j;
      if (j > i) return tag.substr(i, j - i);
    }
    if (end == std::string::npos) break;
    pos = end;
  }
  return std::string();
}

struct Entity {
  const wchar_t* name;
  wchar_t value;
};

const Entity kEntities[] = {
    {L"amp", L'&'},     {L"lt", L'<'},      {L"gt", L'>'},      {L"quot", L'"'},    {L"apos", L'\''},
    {L"nbsp", L' '},    {L"copy", 0xA9},    {L"reg", 0xAE},     {L"trade", 0x2122}, {L"hellip", 0x2026},
    {L"mdash", 0x2014}, {L"ndash", 0x2013}, {L"lsquo", 0x2018}, {L"rsquo", 0x2019}, {L"ldquo", 0x201C},
    {L"rdquo", 0x201D}, {L"bull", 0x2022},  {L"euro", 0x20AC},  {L"pound", 0xA3},   {L"yen", 0xA5},
    {L"cent", 0xA2},    {L"sect", 0xA7},    {L"deg", 0xB0},     {L"middot", 0xB7},  {L"laquo", 0xAB},
    {L"raquo", 0xBB},   {L"times", 0xD7},   {L"divide", 0xF7},  {L"iexcl", 0xA1},   {L"iquest", 0xBF},
    {L"agrave", 0xE0},  {L"aacute", 0xE1},  {L"acirc", 0xE2},   {L"atilde", 0xE3},  {L"auml", 0xE4},
    {L"aring", 0xE5},   {L"aelig", 0xE6},   {L"ccedil", 0xE7},  {L"egrave", 0xE8},  {L"eacute", 0xE9},
    {L"ecirc", 0xEA},   {L"euml", 0xEB},    {L"igrave", 0xEC},  {L"iacute", 0xED},  {L"icirc", 0xEE},
    {L"iuml", 0xEF},    {L"ntilde", 0xF1},  {L"ograve", 0xF2},  {L"oacute", 0xF3},  {L"ocirc", 0xF4},
    {L"otilde", 0xF5},  {L"ouml", 0xF6},    {L"oslash", 0xF8},  {L"ugrave", 0xF9},  {L"uacute", 0xFA},
    {L"ucirc", 0xFB},   {L"uuml", 0xFC},    {L"yacute", 0xFD},  {L"yuml", 0xFF},    {L"szlig", 0xDF},
    {L"Agrave", 0xC0},  {L"Aacute", 0xC1},  {L"Acirc", 0xC2},   {L"Atilde", 0xC3},  {L"Auml", 0xC4},
    {L"Aring", 0xC5},   {L"AElig", 0xC6},   {L"Ccedil", 0xC7},  {L"Egrave", 0xC8},  {L"Eacute", 0xC9},
    {L"Ecirc", 0xCA},   {L"Euml", 0xCB},    {L"Ntilde", 0xD1},  {L"Ouml", 0xD6},    {L"Uuml", 0xDC},
    {L"Oslash", 0xD8},
};

// Decodes the entity starting at html[i] == '&'; appends it and returns the index past it, or
// returns i when it is no entity (the '&' is then kept as text).
size_t DecodeEntity(const std::wstring& html, size_t i, std::wstring& out) {
  // Entity names are short; looking further would make text full of '&' quadratic.
  size_t semi = std::wstring::npos;
  for (size_t k = i + 1; k < html.size() && k <= i + 12; ++k) {
    if (html[k] == L';') {
      semi = k;
      break;
    }
  }
  if (semi == std::wstring::npos || semi == i + 1) return i;
  std::wstring name = html.substr(i + 1, semi - i - 1);
  if (name[0] == L'#') {
    unsigned long code = 0;
    bool hex = name.size() > 1 && (name[1] == L'x' || name[1] == L'X');
    size_t k = hex ? 2 : 1;
    if (k >= name.size()) return i;
    for (; k < name.size(); ++k) {
      wchar_t c = name[k];
      int digit = (c >= L'0' && c <= L'9')          ? c - L'0'
                  : hex && (c >= L'a' && c <= L'f') ? c - L'a' + 10
                  : hex && (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                                    : -1;
      if (digit < 0) return i;
      code = code * (hex ? 16 : 10) + digit;
      if (code > 0x10FFFF) return i;
    }
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) {
      out += static_cast<wchar_t>(0xFFFD);
    } else if (code == 0xA0) {
      out += L' ';
    } else if (code > 0xFFFF) {
      code -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (code >> 10));
      out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<wchar_t>(code);
    }
    return semi + 1;
  }
  for (const Entity& e : kEntities) {
    if (name == e.name) {
      out += e.value;
      return semi + 1;
    }
  }
  std::wstring lowered = LowerW(name);
  for (const Entity& e : kEntities) {
    if (lowered == e.name && std::wcslen(e.name) <= 5) {  // &AMP; &LT; &NBSP; as old mailers write them
      out += e.value;
      return semi + 1;
    }
  }
  return i;
}

// Index of the '<' of "</tag" (any case) at or after `from`; npos when there is none.
size_t FindCloseTag(const std::wstring& html, size_t from, const std::wstring& tag) {
  for (size_t k = html.find(L"</", from); k != std::wstring::npos; k = html.find(L"</", k + 2)) {
    if (k + 2 + tag.size() > html.size()) return std::wstring::npos;
    bool same = true;
    for (size_t j = 0; j < tag.size() && same; ++j) same = std::towlower(html[k + 2 + j]) == tag[j];
    if (same) return k;
  }
  return std::wstring::npos;
}

bool IsBlockTag(const std::wstring& tag) {
  static const wchar_t* const kBlocks[] = {
      L"p",      L"div",    L"h1",  L"h2",      L"h3",     L"h4",         L"h5",      L"h6",
      L"tr",     L"li",     L"ul",  L"ol",      L"table",  L"blockquote", L"hr",      L"pre",
      L"dl",     L"dt",     L"dd",  L"address", L"center", L"form",       L"section", L"article",
      L"header", L"footer", L"nav", L"caption", L"body",   L"html"};
  for (const wchar_t* b : kBlocks)
    if (tag == b) return true;
  return false;
}

class TextBuilder {
 public:
  void Text(wchar_t c, bool preformatted) {
    if (!preformatted && (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f')) {
      pendingSpace_ = !out_.empty() && !AtLineStart();
      return;
    }
    if (preformatted && c == L'\r') return;
    if (preformatted && c == L'\n') {
      Newline();
      return;
    }
    if (pendingSpace_) out_ += L' ';
    pendingSpace_ = false;
    out_ += c;
  }
  void Newline() {
    pendingSpace_ = false;
    out_ += L"\r\n";
  }
  void EnsureLineStart() {
    if (!out_.empty() && !AtLineStart()) Newline();
    pendingSpace_ = false;
  }
  void Tab() {
    pendingSpace_ = false;
    if (!out_.empty() && !AtLineStart()) out_ += L'\t';
  }
  std::wstring Finish() {
    size_t end = out_.find_last_not_of(L" \t\r\n");
    return end == std::wstring::npos ? std::wstring() : out_.substr(0, end + 1);
  }

 private:
  bool AtLineStart() const { return out_.size() >= 1 && out_.back() == L'\n'; }
  std::wstring out_;
  bool pendingSpace_ = false;
};

}  // namespace

unsigned CodePageForCharset(const std::string& charset) {
  std::string c = Lower(charset);
  struct Name {
    const char* name;
    unsigned codePage;
  };
  static const Name kNames[] = {
      {"utf-8", 65001},       {"utf8", 65001},         {"us-ascii", 20127},
      {"ascii", 20127},       {"iso-8859-1", 28591},   {"latin1", 28591},
      {"iso-8859-2", 28592},  {"iso-8859-3", 28593},   {"iso-8859-4", 28594},
      {"iso-8859-5", 28595},  {"iso-8859-6", 28596},   {"iso-8859-7", 28597},
      {"iso-8859-8", 28598},  {"iso-8859-9", 28599},   {"iso-8859-13", 28603},
      {"iso-8859-15", 28605}, {"shift_jis", 932},      {"shift-jis", 932},
      {"sjis", 932},          {"x-sjis", 932},         {"windows-31j", 932},
      {"euc-jp", 20932},      {"iso-2022-jp", 50220},  {"gb2312", 936},
      {"gbk", 936},           {"gb18030", 54936},      {"big5", 950},
      {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"koi8-r", 20866},
      {"koi8-u", 21866},      {"utf-16", 1200},        {"tis-620", 874},
      {"windows-874", 874},
  };
  for (const Name& n : kNames)
    if (c == n.name) return n.codePage;
  if (c.rfind("windows-", 0) == 0 || c.rfind("cp", 0) == 0) {
    const char* digits = c.c_str() + (c[0] == 'w' ? 8 : 2);
    char* end = nullptr;
    unsigned long n = std::strtoul(digits, &end, 10);
    if (end && *end == '\0' && n > 0 && n < 65536) return static_cast<unsigned>(n);
  }
  return 0;
}

std::wstring DecodeHtmlBytes(const std::string& bytes, std::optional<unsigned> codePage) {
  if (codePage && *codePage == 1200 && bytes.size() % 2 == 0) {
    std::wstring out(bytes.size() / 2, L'\0');
    std::memcpy(&out[0], bytes.data(), bytes.size());
    if (!out.empty() && out[0] == 0xFEFF) out.erase(0, 1);
    return out;
  }
  if (codePage && CodePageUsable(*codePage)) return Decode(bytes, *codePage);
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0)
    return Decode(bytes.substr(3), CP_UTF8);
  unsigned named = CodePageForCharset(MetaCharset(bytes));
  if (named == 1200) named = 0;  // a UTF-16 document could not have been read as ASCII
  return Decode(bytes, CodePageUsable(named) ? named : 1252);
}

std::wstring HtmlToPlainText(const std::wstring& html) {
  TextBuilder text;
  int preDepth = 0;
  size_t i = 0;
  const size_t n = html.size();
  while (i < n) {
    wchar_t c = html[i];
    if (c == L'&') {
      std::wstring decoded;
      size_t next = DecodeEntity(html, i, decoded);
      if (next == i) {
        text.Text(L'&', preDepth > 0);
        ++i;
      } else {
        for (wchar_t d : decoded) text.Text(d, true);
        i = next;
      }
      continue;
    }
    if (c != L'<') {
      text.Text(c, preDepth > 0);
      ++i;
      continue;
    }
    if (html.compare(i, 4, L"<!--") == 0) {
      size_t end = html.find(L"-->", i + 4);
      i = end == std::wstring::npos ? n : end + 3;
      continue;
    }
    // A '<' that opens no tag is text.
    if (i + 1 >= n ||
        !(std::iswalpha(html[i + 1]) || html[i + 1] == L'/' || html[i + 1] == L'!' || html[i + 1] == L'?')) {
      text.Text(c, preDepth > 0);
      ++i;
      continue;
    }
    size_t end = i + 1;
    wchar_t quote = 0;
    // A quote opens an attribute value only right after '=', as browsers read it; a stray
    // apostrophe inside a tag must not swallow the rest of the document.
    wchar_t previous = 0;
    while (end < n && (quote || html[end] != L'>')) {
      wchar_t c2 = html[end];
      if (quote && c2 == quote)
        quote = 0;
      else if (!quote && (c2 == L'"' || c2 == L'\'') && previous == L'=')
        quote = c2;
      if (c2 != L' ' && c2 != L'\t' && c2 != L'\r' && c2 != L'\n') previous = c2;
      ++end;
    }
    std::wstring inner = html.substr(i + 1, (end < n ? end : n) - i - 1);
    i = end < n ? end + 1 : n;
    bool closing = !inner.empty() && inner[0] == L'/';
    size_t nameStart = closing ? 1 : 0;
    size_t nameEnd = nameStart;
    while (nameEnd < inner.size() && (std::iswalnum(inner[nameEnd]) || inner[nameEnd] == L':')) ++nameEnd;
    std::wstring tag = LowerW(inner.substr(nameStart, nameEnd - nameStart));
    if (tag.empty()) continue;  // <!DOCTYPE>, <?xml ...?>
    if (!closing && (tag == L"head" || tag == L"script" || tag == L"style" || tag == L"title")) {
      size_t close = FindCloseTag(html, i, tag);
      if (close == std::wstring::npos) {
        i = n;
      } else {
        size_t gt = html.find(L'>', close);
        i = gt == std::wstring::npos ? n : gt + 1;
      }
      continue;
    }
    if (tag == L"br") {
      text.Newline();
    } else if (tag == L"td" || tag == L"th") {
      if (!closing) text.Tab();
    } else if (IsBlockTag(tag)) {
      text.EnsureLineStart();
      if (tag == L"pre") preDepth = std::max(0, preDepth + (closing ? -1 : 1));
    }
  }
  return text.Finish();
}

}  // namespace automation
