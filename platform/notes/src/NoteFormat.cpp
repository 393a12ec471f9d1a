// Encodings of notes, items and item values, and the calendar arithmetic of date-times.
#include "NoteFormat.h"

#include <cstdio>
#include <cstring>

#include "lnnotes.h"

namespace lnstore {
namespace {

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Bounds-checked reading of a packed value; every overrun names the offset and what was expected.
class Reader {
 public:
  Reader(const std::string& data, const char* what) : data_(data), what_(what) {}
  uint16_t U16() {
    Need(2, "16-bit field");
    uint16_t v = static_cast<uint8_t>(data_[pos_]) | (static_cast<uint8_t>(data_[pos_ + 1]) << 8);
    pos_ += 2;
    return v;
  }
  uint32_t U32() {
    Need(4, "32-bit field");
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return v;
  }
  std::string Bytes(size_t n) {
    Need(n, "bytes");
    std::string s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  void ExpectEnd() {
    if (pos_ != data_.size())
      throw Failure(LNERR_DATABASE_CORRUPT, std::string("corrupt ") + what_ + ": " +
                                                std::to_string(data_.size() - pos_) +
                                                " stray bytes at offset " + std::to_string(pos_));
  }

 private:
  void Need(size_t n, const char* field) {
    if (data_.size() - pos_ < n)
      throw Failure(LNERR_DATABASE_CORRUPT, std::string("corrupt ") + what_ + ": " + field + " of " +
                                                std::to_string(n) + " bytes runs past the end at offset " +
                                                std::to_string(pos_));
  }
  const std::string& data_;
  const char* what_;
  size_t pos_ = 0;
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

int32_t DaysBeforeYear(int year) {
  const int32_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

}  // namespace

bool SameItemName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

int FindItem(const std::vector<Item>& items, const std::string& name) {
  int firstRaw = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!SameItemName(items[i].name, name)) continue;
    if (items[i].type != kTypeRaw) return static_cast<int>(i);
    if (firstRaw < 0) firstRaw = static_cast<int>(i);
  }
  return firstRaw;
}

std::string PackItems(const std::vector<Item>& items) {
  std::string out;
  size_t total = 4;
  for (const Item& item : items) total += 10 + item.name.size() + item.value.size();
  out.reserve(total);
  PutU32(out, static_cast<uint32_t>(items.size()));
  for (const Item& item : items) {
    PutU16(out, static_cast<uint16_t>(item.name.size()));
    PutU16(out, item.type);
    PutU16(out, item.flags);
    PutU32(out, static_cast<uint32_t>(item.value.size()));
    out += item.name;
    out += item.value;
  }
  return out;
}

std::vector<Item> UnpackItems(const std::string& packed) {
  Reader in(packed, "item list");
  const uint32_t count = in.U32();
  if (count > packed.size() / 10)
    throw Failure(LNERR_DATABASE_CORRUPT, "corrupt item list: " + std::to_string(count) + " items in " +
                                              std::to_string(packed.size()) + " bytes");
  std::vector<Item> items(count);
  for (Item& item : items) {
    const uint16_t nameLength = in.U16();
    item.type = in.U16();
    item.flags = in.U16();
    const uint32_t valueLength = in.U32();
    item.name = in.Bytes(nameLength);
    item.value = in.Bytes(valueLength);
  }
  in.ExpectEnd();
  return items;
}

std::string EncodeTextList(const std::vector<std::string>& texts) {
  std::string out;
  PutU16(out, static_cast<uint16_t>(texts.size()));
  for (const std::string& t : texts) {
    PutU32(out, static_cast<uint32_t>(t.size()));
    out += t;
  }
  return out;
}

bool AppendToTextList(std::string* value, const std::string& text) {
  if (value->size() < 2) *value = EncodeTextList({});
  const uint16_t count = static_cast<uint8_t>((*value)[0]) | (static_cast<uint8_t>((*value)[1]) << 8);
  if (count == 0xFFFF) return false;
  (*value)[0] = static_cast<char>((count + 1) & 0xFF);
  (*value)[1] = static_cast<char>((count + 1) >> 8);
  PutU32(*value, static_cast<uint32_t>(text.size()));
  *value += text;
  return true;
}

std::vector<std::string> DecodeTextList(const std::string& value) {
  if (value.empty()) return {};
  Reader in(value, "text list");
  const uint16_t count = in.U16();
  std::vector<std::string> texts;
  texts.reserve(count);
  for (uint16_t i = 0; i < count; ++i) texts.push_back(in.Bytes(in.U32()));
  in.ExpectEnd();
  return texts;
}

std::string EncodeTimeList(const std::vector<DateTime>& times) {
  std::string out;
  PutU16(out, static_cast<uint16_t>(times.size()));
  for (const DateTime& t : times) {
    PutU32(out, static_cast<uint32_t>(t.day));
    PutU32(out, static_cast<uint32_t>(t.hundredths));
  }
  return out;
}

std::vector<DateTime> DecodeTimeList(const std::string& value) {
  if (value.empty()) return {};
  Reader in(value, "date-time list");
  const uint16_t count = in.U16();
  std::vector<DateTime> times(count);
  for (DateTime& t : times) {
    t.day = static_cast<int32_t>(in.U32());
    t.hundredths = static_cast<int32_t>(in.U32());
  }
  in.ExpectEnd();
  return times;
}

bool ValidDate(int month, int day, int year) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(month, year);
}

int32_t DayNumber(int month, int day, int year) {
  int32_t n = DaysBeforeYear(year) + kDaysBeforeMonth[month - 1] + (day - 1);
  if (month > 2 && IsLeap(year)) ++n;
  return n;
}

void DateFromDayNumber(int32_t dayNumber, int* month, int* day, int* year) {
  int y = static_cast<int>(dayNumber / 366) + 1;
  while (DaysBeforeYear(y + 1) <= dayNumber) ++y;
  int32_t rest = dayNumber - DaysBeforeYear(y);
  int m = 1;
  while (m < 12 && rest >= DaysInMonth(m, y)) {
    rest -= DaysInMonth(m, y);
    ++m;
  }
  *year = y;
  *month = m;
  *day = static_cast<int>(rest) + 1;
}

std::string FormatDateTime(const DateTime& value) {
  char buf[48];
  std::string out;
  if (value.day >= 0) {
    int m, d, y;
    DateFromDayNumber(value.day, &m, &d, &y);
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", m, d, y);
    out += buf;
  }
  if (value.hundredths >= 0) {
    const int seconds = value.hundredths / 100;
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    uint32_t c = s[i];
    size_t len = 1;
    uint32_t min = 0;
    if (c < 0x80) {
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, c &= 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, c &= 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, c &= 0x07, min = 0x10000;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    bool ok = i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80)
        ok = false;
      else
        c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (!ok || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 3 / 2 + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

size_t Utf8Boundary(const std::string& text, size_t from, size_t maxBytes) {
  if (from >= text.size()) return 0;
  size_t len = std::min(maxBytes, text.size() - from);
  if (from + len == text.size()) return len;
  // Back off continuation bytes so that the next chunk starts on a character.
  size_t cut = len;
  while (cut > 0 && (static_cast<unsigned char>(text[from + cut]) & 0xC0) == 0x80) --cut;
  return cut == 0 ? len : cut;
}

std::string RichTextToRtf(const std::string& text) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  const std::u16string wide = Utf8ToUtf16(text);
  for (size_t i = 0; i < wide.size(); ++i) {
    const char16_t c = wide[i];
    if (c == '\r') continue;
    if (c == '\n') {
      out += "\\par\r\n";
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c >= 0x20 && c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      out += ' ';
    } else {
      // RTF's \u takes a signed 16-bit value; surrogate pairs are written as two units.
      out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    }
  }
  out += "\\par\r\n}";
  return out;
}

}  // namespace lnstore
