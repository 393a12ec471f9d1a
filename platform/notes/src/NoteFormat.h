// The on-disk shape of a Notes database: a note's items packed into one value, the encodings of text
// lists, date-time lists and rich text inside an item, and the calendar arithmetic of date-times.
// Shared by the library, nsfdump and the template generator; no Windows or SQLite dependency.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lnstore {

// A failure inside the store: the status the library reports and what went wrong, for tools.
class Failure : public std::runtime_error {
 public:
  Failure(unsigned status, const std::string& what) : std::runtime_error(what), status_(status) {}
  unsigned Status() const { return status_; }

 private:
  unsigned status_;
};

enum : uint16_t {
  kTypeRichText = 1,
  kTypeRaw = 21,
  kTypeTimeList = 0x400,
  kTypeTextList = 0x501,
};

enum : int { kNoteClassDocument = 1, kNoteClassDesign = 8 };

struct Item {
  std::string name;  // as written; compared without regard to ASCII case
  uint16_t type = 0;
  uint16_t flags = 0;
  std::string value;  // the encoded value
};

bool SameItemName(const std::string& a, const std::string& b);

// The index of the item a look-up by name sees: the first of that name, passing over raw items when
// another item of the name exists; -1 when there is none.
int FindItem(const std::vector<Item>& items, const std::string& name);

// Packed item list: u32 count, then per item u16 name length, u16 type, u16 flags, u32 value length,
// the name bytes and the value bytes; little-endian.
std::string PackItems(const std::vector<Item>& items);
std::vector<Item> UnpackItems(const std::string& packed);  // throws Failure on damage

// Text list value: u16 count, then per entry u32 length and UTF-8 bytes.
std::string EncodeTextList(const std::vector<std::string>& texts);
std::vector<std::string> DecodeTextList(const std::string& value);
// Adds one entry to an encoded text list in place; false when the list is full (65535 entries).
bool AppendToTextList(std::string* value, const std::string& text);

// Date-time value: day number since 1 January of year 1 (-1 none), hundredths since midnight (-1 none).
struct DateTime {
  int32_t day = -1;
  int32_t hundredths = -1;
};
// Time list value: u16 count, then per entry i32 day and i32 hundredths.
std::string EncodeTimeList(const std::vector<DateTime>& times);
std::vector<DateTime> DecodeTimeList(const std::string& value);

// Proleptic Gregorian calendar, years 1 to 9999.
bool ValidDate(int month, int day, int year);
int32_t DayNumber(int month, int day, int year);  // for a valid date
void DateFromDayNumber(int32_t dayNumber, int* month, int* day, int* year);
// "MM/DD/YYYY HH:MM:SS", each part only when set.
std::string FormatDateTime(const DateTime& value);

// Rich text value: the UTF-8 text, paragraphs separated by CR LF.
std::string RichTextToRtf(const std::string& text);

// UTF-8 / UTF-16. Invalid UTF-8 decodes as U+FFFD; unpaired surrogates encode as U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
// Length of the longest prefix of at most maxBytes that ends on a character boundary.
size_t Utf8Boundary(const std::string& text, size_t from, size_t maxBytes);

}  // namespace lnstore
