// Item values: text lists, date-times and their lists, rich text with cursors and RTF export.
#include <windows.h>

#include <cstdio>
#include <fstream>

#include "Runtime.h"

using namespace lnimpl;

namespace {

std::vector<std::string> Texts(const ItemValue* v) { return lnstore::DecodeTextList(v->item.value); }
std::vector<lnstore::DateTime> Times(const ItemValue* v) { return lnstore::DecodeTimeList(v->item.value); }

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += separator;
    out += parts[i];
  }
  return out;
}

bool SameAscii(const std::string& a, const char* b) { return lnstore::SameItemName(a, b); }

}  // namespace

// LNDatetime ---------------------------------------------------------------------------------------

LNDatetime::LNDatetime() : m_day(-1), m_hundredths(-1) {}

LNDatetime LNDatetime::FromParts(LNINT dayNumber, LNINT hundredths) {
  LNDatetime d;
  if (dayNumber >= 0 && dayNumber <= lnstore::DayNumber(12, 31, 9999)) d.m_day = dayNumber;
  if (hundredths >= 0 && hundredths < 24 * 3600 * 100) d.m_hundredths = hundredths;
  return d;
}

LNSTATUS LNDatetime::SetDate(LNINT month, LNINT day, LNINT year) {
  return Guard([&] {
    if (!lnstore::ValidDate(month, day, year)) Fail(LNERR_INVALID_DATETIME);
    m_day = lnstore::DayNumber(month, day, year);
    return LNNOERROR;
  });
}

LNSTATUS LNDatetime::SetTime(LNINT hour, LNINT minute, LNINT second, LNINT hundredths) {
  return Guard([&] {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || hundredths < 0 ||
        hundredths > 99)
      Fail(LNERR_INVALID_DATETIME);
    m_hundredths = ((hour * 60 + minute) * 60 + second) * 100 + hundredths;
    return LNNOERROR;
  });
}

LNSTATUS LNDatetime::GetDate(LNINT* month, LNINT* day, LNINT* year) const {
  return Guard([&] {
    if (m_day < 0) Fail(LNERR_INVALID_DATETIME);
    int m, d, y;
    lnstore::DateFromDayNumber(m_day, &m, &d, &y);
    if (month) *month = m;
    if (day) *day = d;
    if (year) *year = y;
    return LNNOERROR;
  });
}

LNSTATUS LNDatetime::GetTime(LNINT* hour, LNINT* minute, LNINT* second, LNINT* hundredths) const {
  return Guard([&] {
    if (m_hundredths < 0) Fail(LNERR_INVALID_DATETIME);
    const int seconds = m_hundredths / 100;
    if (hour) *hour = seconds / 3600;
    if (minute) *minute = seconds / 60 % 60;
    if (second) *second = seconds % 60;
    if (hundredths) *hundredths = m_hundredths % 100;
    return LNNOERROR;
  });
}

LNBOOL LNDatetime::IsNull() const { return m_day < 0 && m_hundredths < 0 ? 1 : 0; }

LNSTATUS LNDatetime::GetText(LNString* text) const {
  return Guard([&] {
    if (text == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    *text = MakeString(lnstore::FormatDateTime({m_day, m_hundredths}));
    return LNNOERROR;
  });
}

bool LNDatetime::operator==(const LNDatetime& other) const {
  return m_day == other.m_day && m_hundredths == other.m_hundredths;
}

LNDatetimeRange::LNDatetimeRange() = default;
LNSTATUS LNDatetimeRange::SetBegin(const LNDatetime& begin) {
  m_begin = begin;
  return LNNOERROR;
}
LNSTATUS LNDatetimeRange::SetEnd(const LNDatetime& end) {
  m_end = end;
  return LNNOERROR;
}
LNDatetime LNDatetimeRange::GetBegin() const { return m_begin; }
LNDatetime LNDatetimeRange::GetEnd() const { return m_end; }

LNRTCursor::LNRTCursor() : m_position(0) {}
LNINT LNRTCursor::GetPosition() const { return m_position; }
void LNRTCursor::SetPosition(LNINT position) { m_position = position; }

// LNItem -------------------------------------------------------------------------------------------

LNItem::LNItem() : m_value(new ItemValue) {}

LNItem::LNItem(LNITEMTYPE type) : m_value(new ItemValue) {
  m_value->item.type = type;
  if (type == LNITEMTYPE_TEXT) m_value->item.value = lnstore::EncodeTextList({});
  if (type == LNITEMTYPE_DATETIMES) m_value->item.value = lnstore::EncodeTimeList({});
}

LNItem::LNItem(const LNItem& other) : m_value(new ItemValue(*other.m_value)) {}

LNItem& LNItem::operator=(const LNItem& other) {
  if (this != &other) *m_value = *other.m_value;
  return *this;
}

LNItem::~LNItem() { delete m_value; }

LNString LNItem::GetName() const { return MakeString(m_value->item.name); }
LNITEMTYPE LNItem::GetType() const { return m_value->item.type; }
LNINT LNItem::GetFlags() const { return m_value->item.flags; }
LNINT LNItem::GetValueSize() const { return static_cast<LNINT>(m_value->item.value.size()); }

LNSTATUS LNItem::GetValue(const void** data, LNINT* length) const {
  return Guard([&] {
    if (data == nullptr || length == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    *data = m_value->item.value.data();
    *length = static_cast<LNINT>(m_value->item.value.size());
    return LNNOERROR;
  });
}

LNItemArray::LNItemArray() : m_list(new HandleList) {}
LNItemArray::LNItemArray(const LNItemArray& other) : m_list(AddRef(other.m_list)) {}
LNItemArray& LNItemArray::operator=(const LNItemArray& other) {
  Reset(m_list, AddRef(other.m_list));
  return *this;
}
LNItemArray::~LNItemArray() { Release(m_list); }
LNINT LNItemArray::GetCount() const { return static_cast<LNINT>(m_list->items.size()); }
LNItem LNItemArray::operator[](LNINT index) const {
  LNItem item;
  if (index >= 0 && static_cast<size_t>(index) < m_list->items.size())
    item.m_value->item = m_list->items[static_cast<size_t>(index)];
  else
    Raise(LNERR_INDEX_OUT_OF_RANGE);
  return item;
}

// LNText -------------------------------------------------------------------------------------------

LNTextElement::LNTextElement() = default;
LNTextElement::LNTextElement(const LNString& text) : m_text(text) {}
LNString LNTextElement::GetText() const { return m_text; }
LNTextElement::operator LNString() const { return m_text; }

LNText::LNText() : LNItem(LNITEMTYPE_TEXT) {}

LNText::LNText(const LNString& text) : LNItem(LNITEMTYPE_TEXT) { Append(text); }

LNSTATUS LNText::Append(const LNString& text) {
  return Guard([&] {
    if (!lnstore::AppendToTextList(&m_value->item.value, Utf8Of(text)))
      Fail(LNERR_INVALID_ARGUMENT, "too many text values");
    return LNNOERROR;
  });
}

LNINT LNText::GetCount() const {
  return GuardValue<LNINT>(0, [&] { return static_cast<LNINT>(Texts(m_value).size()); });
}

LNTextElement LNText::operator[](LNINT index) const {
  return GuardValue(LNTextElement(), [&] {
    const std::vector<std::string> texts = Texts(m_value);
    if (index < 0 || static_cast<size_t>(index) >= texts.size()) Fail(LNERR_INDEX_OUT_OF_RANGE);
    return LNTextElement(MakeString(texts[static_cast<size_t>(index)]));
  });
}

LNSTATUS LNText::GetText(LNString* text, const LNString& separator) const {
  return Guard([&] {
    if (text == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    *text = MakeString(Join(Texts(m_value), Utf8Of(separator)));
    return LNNOERROR;
  });
}

// LNDatetimes --------------------------------------------------------------------------------------

LNDatetimes::LNDatetimes() : LNItem(LNITEMTYPE_DATETIMES) {}

LNINT LNDatetimes::GetDatetimeCount() const {
  return GuardValue<LNINT>(0, [&] { return static_cast<LNINT>(Times(m_value).size()); });
}

LNSTATUS LNDatetimes::Insert(LNINT position, const LNDatetime& value) {
  return Guard([&] {
    std::vector<lnstore::DateTime> times = Times(m_value);
    if (position < 0 || static_cast<size_t>(position) > times.size()) Fail(LNERR_INDEX_OUT_OF_RANGE);
    if (times.size() >= 0xFFFF) Fail(LNERR_INVALID_ARGUMENT, "too many date-times");
    times.insert(times.begin() + position, lnstore::DateTime{value.GetDayNumber(), value.GetHundredths()});
    m_value->item.value = lnstore::EncodeTimeList(times);
    return LNNOERROR;
  });
}

LNSTATUS LNDatetimes::Append(const LNDatetime& value) { return Insert(GetDatetimeCount(), value); }

LNDatetime LNDatetimes::operator[](LNINT index) const {
  return GuardValue(LNDatetime(), [&] {
    const std::vector<lnstore::DateTime> times = Times(m_value);
    if (index < 0 || static_cast<size_t>(index) >= times.size()) Fail(LNERR_INDEX_OUT_OF_RANGE);
    const lnstore::DateTime& t = times[static_cast<size_t>(index)];
    return LNDatetime::FromParts(t.day, t.hundredths);
  });
}

LNSTATUS LNDatetimes::GetText(LNString* text, const LNString& separator) const {
  return Guard([&] {
    if (text == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    std::vector<std::string> parts;
    for (const lnstore::DateTime& t : Times(m_value)) parts.push_back(lnstore::FormatDateTime(t));
    *text = MakeString(Join(parts, Utf8Of(separator)));
    return LNNOERROR;
  });
}

// LNRichText ---------------------------------------------------------------------------------------

LNRichText::LNRichText() : LNItem(LNITEMTYPE_RICHTEXT) {}

LNRichText::LNRichText(const LNString& text) : LNItem(LNITEMTYPE_RICHTEXT) { Append(text); }

LNSTATUS LNRichText::Append(const LNString& text) {
  return Guard([&] {
    std::string& value = m_value->item.value;
    if (!value.empty()) value += "\r\n";
    value += Utf8Of(text);
    return LNNOERROR;
  });
}

LNINT LNRichText::GetValueSize() const { return static_cast<LNINT>(m_value->item.value.size()); }

LNSTATUS LNRichText::GetCursor(LNRTCursor* start) const {
  return Guard([&] {
    if (start == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    start->SetPosition(0);
    return LNNOERROR;
  });
}

LNSTATUS LNRichText::GetEndCursor(LNRTCursor* end) const {
  return Guard([&] {
    if (end == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    end->SetPosition(static_cast<LNINT>(m_value->item.value.size()));
    return LNNOERROR;
  });
}

namespace {

// One chunk of value from start up to end; the caller counts the call for the fault seam.
LNSTATUS ReadChunk(const std::string& value, const LNRTCursor& start, const LNRTCursor& end, LNString* text,
                   LNRTCursor* next) {
  const LNINT size = static_cast<LNINT>(value.size());
  if (text == nullptr || start.GetPosition() < 0 || start.GetPosition() > size || end.GetPosition() < 0 ||
      end.GetPosition() > size)
    Fail(LNERR_INVALID_ARGUMENT);
  const size_t from = static_cast<size_t>(start.GetPosition());
  const size_t to = static_cast<size_t>(std::max(start.GetPosition(), end.GetPosition()));
  const size_t length = lnstore::Utf8Boundary(value.substr(0, to), from, LN_RICHTEXT_CHUNK);
  *text = MakeString(value.substr(from, length));
  if (next) next->SetPosition(static_cast<LNINT>(from + length));
  return from + length < to ? LNWARN_MORE_TEXT : LNNOERROR;
}

}  // namespace

LNSTATUS LNRichText::GetText(LNString* text, const LNRTCursor* from) const {
  return Guard([&] {
    CheckFault("notes.gettext");
    if (from == nullptr) {
      if (text == nullptr) Fail(LNERR_INVALID_ARGUMENT);
      *text = MakeString(m_value->item.value);
      return LNNOERROR;
    }
    LNRTCursor end;
    end.SetPosition(static_cast<LNINT>(m_value->item.value.size()));
    return ReadChunk(m_value->item.value, *from, end, text, nullptr);
  });
}

LNSTATUS LNRichText::GetText(const LNRTCursor& start, const LNRTCursor& end, LNString* text,
                             LNRTCursor* next) const {
  return Guard([&] {
    CheckFault("notes.gettext");
    return ReadChunk(m_value->item.value, start, end, text, next);
  });
}

LNSTATUS LNRichText::Export(const LNString& path, const LNRTCursor& start, const LNRTCursor& end,
                            const LNString& format) const {
  return Guard([&] {
    const std::string& value = m_value->item.value;
    const LNINT size = static_cast<LNINT>(value.size());
    CheckFault("notes.export");
    if (!SameAscii(Utf8Of(format), "RTF")) Fail(LNERR_EXPORT_FORMAT);
    if (path.IsNull() || start.GetPosition() < 0 || end.GetPosition() > size ||
        start.GetPosition() > end.GetPosition())
      Fail(LNERR_INVALID_ARGUMENT);
    const std::string rtf =
        lnstore::RichTextToRtf(value.substr(static_cast<size_t>(start.GetPosition()),
                                            static_cast<size_t>(end.GetPosition() - start.GetPosition())));
    FILE* out = _wfopen(Wide(Utf8Of(path)).c_str(), L"wb");
    if (out == nullptr) Fail(LNERR_FILE_IO);
    const bool written = std::fwrite(rtf.data(), 1, rtf.size(), out) == rtf.size();
    if (std::fclose(out) != 0 || !written) Fail(LNERR_FILE_IO);
    return LNNOERROR;
  });
}

// The built-in exporter is the RTF export library; asking for it by name is the same export.
LNSTATUS LNRichText::Export(const LNString& path, const LNString& exportLibrary, const LNRTCursor& start,
                            const LNRTCursor& end, const LNString& format) const {
  const std::string library = Utf8Of(exportLibrary);
  if (!library.empty() && !SameAscii(library, "nxrtf2.dll") && !SameAscii(library, "nxrtf2"))
    return Raise(LNERR_EXPORT_LIBRARY);
  return Export(path, start, end, format);
}
