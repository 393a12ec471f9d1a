// UTF-16 and Windows code page decoding with tables generated from Python's codecs.
#include "pst/CodePage.h"

#include <algorithm>

namespace pst {

namespace {
#include "CodePageTables.inc"

constexpr uint32_t kReplacement = 0xFFFD;

int LeadIndex(uint8_t b) {
  const uint8_t* end = kCp932Leads + sizeof kCp932Leads;
  const uint8_t* it = std::lower_bound(kCp932Leads, end, b);
  return it != end && *it == b ? static_cast<int>(it - kCp932Leads) : -1;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf16LeToUtf8(const uint8_t* data, size_t byteCount) {
  std::string out;
  out.reserve(byteCount / 2);
  const size_t units = byteCount / 2;
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = data[2 * i] | (data[2 * i + 1] << 8);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
      const uint32_t next = data[2 * i + 2] | (data[2 * i + 3] << 8);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, c);
  }
  return out;
}

bool IsSupportedCodePage(uint32_t codePage) {
  return codePage == kCodePageWindows1252 || codePage == kCodePageShiftJis || codePage == kCodePageUtf8 ||
         codePage == 20127 || codePage == 28591 || (codePage >= 50220 && codePage <= 50222);
}

namespace {

uint32_t ShiftJisPair(uint8_t lead, uint8_t trail) {
  const int index = LeadIndex(lead);
  if (index < 0 || trail < kCp932TrailFirst || trail >= kCp932TrailFirst + kCp932TrailCount) return 0;
  return kCp932Double[index * kCp932TrailCount + (trail - kCp932TrailFirst)];
}

// ISO-2022-JP (mail's Japanese): escape sequences switch between ASCII, JIS X 0208 pairs (mapped
// through their Shift-JIS form) and half-width katakana.
std::string DecodeIso2022Jp(const uint8_t* data, size_t size) {
  enum { kAscii, kJis0208, kKatakana } mode = kAscii;
  std::string out;
  for (size_t i = 0; i < size;) {
    const uint8_t b = data[i];
    if (b == 0x1B) {
      const uint8_t a = i + 1 < size ? data[i + 1] : 0, c = i + 2 < size ? data[i + 2] : 0;
      if (a == '$' && (c == 'B' || c == '@')) {
        mode = kJis0208;
      } else if (a == '(' && (c == 'B' || c == 'J')) {
        mode = kAscii;
      } else if (a == '(' && c == 'I') {
        mode = kKatakana;
      } else {
        AppendUtf8(out, kReplacement);
        ++i;
        continue;
      }
      i += 3;
      continue;
    }
    if (b == '\r' || b == '\n') mode = kAscii;
    if (mode == kJis0208 && b >= 0x21 && b <= 0x7E && i + 1 < size) {
      const uint8_t j1 = b, j2 = data[i + 1];
      const uint8_t s1 = static_cast<uint8_t>(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
      const uint8_t s2 = static_cast<uint8_t>(j2 + ((j1 & 1) ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E));
      const uint32_t c = ShiftJisPair(s1, s2);
      AppendUtf8(out, c ? c : kReplacement);
      i += 2;
    } else if (mode == kKatakana && b >= 0x21 && b <= 0x5F) {
      AppendUtf8(out, 0xFF40 + b);
      ++i;
    } else {
      AppendUtf8(out, b < 0x80 ? b : kReplacement);
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string DecodeAnsi(const uint8_t* data, size_t size, uint32_t codePage) {
  std::string out;
  out.reserve(size);
  if (codePage >= 50220 && codePage <= 50222) return DecodeIso2022Jp(data, size);
  if (codePage == kCodePageUtf8) {
    // Re-encoded so that malformed sequences become U+FFFD.
    for (size_t i = 0; i < size;) {
      const uint8_t b = data[i];
      const int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
      bool ok = extra >= 0 && i + extra < size;
      uint32_t c = extra > 0 ? (b & (0x3F >> extra)) : b;
      for (int k = 1; ok && k <= extra; ++k) {
        ok = (data[i + k] & 0xC0) == 0x80;
        c = (c << 6) | (data[i + k] & 0x3F);
      }
      if (!ok) {
        AppendUtf8(out, kReplacement);
        ++i;
        continue;
      }
      AppendUtf8(out, c);
      i += extra + 1;
    }
    return out;
  }
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    if (b < 0x80) {
      out += static_cast<char>(b);
      continue;
    }
    if (codePage == 20127) {
      AppendUtf8(out, kReplacement);
    } else if (codePage == 28591) {
      AppendUtf8(out, b);
    } else if (codePage == kCodePageShiftJis) {
      const int lead = LeadIndex(b);
      if (lead >= 0) {
        // A byte that cannot be a trail byte is not swallowed: it starts the next character.
        uint32_t c = 0;
        if (i + 1 < size && data[i + 1] >= kCp932TrailFirst &&
            data[i + 1] < kCp932TrailFirst + kCp932TrailCount) {
          c = kCp932Double[lead * kCp932TrailCount + (data[i + 1] - kCp932TrailFirst)];
          ++i;
        }
        AppendUtf8(out, c ? c : kReplacement);
      } else {
        const uint32_t c = kCp932Single[b - 0x80];
        AppendUtf8(out, c ? c : kReplacement);
      }
    } else {
      AppendUtf8(out, kCp1252High[b - 0x80]);
    }
  }
  return out;
}

}  // namespace pst
