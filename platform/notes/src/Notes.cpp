// Notes and documents: items, saving, attachments, mail messages and calendar entries.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Runtime.h"

using namespace lnimpl;

namespace {

// SQLite keeps no value over 1,000,000,000 bytes; a larger one is refused when it is given.
constexpr size_t kLargestValue = 1000000000;

NoteState* OpenNote(NoteState* note) {
  if (note == nullptr) Fail(LNERR_NULL_OBJECT);
  if (!note->open) Fail(LNERR_NOTE_NOT_OPEN);
  return note;
}

// Writes one item. Values that come as bytes (validate) must decode under a type the library reads,
// or reading them back would fail; the typed writers' values are encoded by the library itself.
LNSTATUS WriteItem(NoteState* note, const LNString& name, const lnstore::Item& value, LNINT flags,
                   LNINT options, ItemValue* written, bool validate) {
  return Guard([&] {
    OpenNote(note);
    CheckFault("notes.createitem");
    lnstore::Item item = value;
    item.name = Utf8Of(name);
    if (item.name.empty() || item.name.size() > 0xFFFF) Fail(LNERR_INVALID_ARGUMENT, "item name");
    if (value.value.size() > kLargestValue) Fail(LNERR_INVALID_ARGUMENT, "item value too large");
    try {
      if (validate && item.type == lnstore::kTypeTextList) lnstore::DecodeTextList(item.value);
      if (validate && item.type == lnstore::kTypeTimeList) lnstore::DecodeTimeList(item.value);
    } catch (const lnstore::Failure& failure) {
      Fail(LNERR_INVALID_ARGUMENT, failure.what());
    }
    item.flags = static_cast<uint16_t>(flags);
    auto& items = note->record.items;
    if ((options & LNITEMOPTION_APPEND) == 0) {
      for (size_t i = items.size(); i-- > 0;)
        if (lnstore::SameItemName(items[i].name, item.name))
          items.erase(items.begin() + static_cast<long>(i));
    }
    if (written) written->item = item;
    items.push_back(std::move(item));
    return LNNOERROR;
  });
}

const lnstore::Item& TypedItem(NoteState* note, const LNString& name, int type) {
  const lnstore::Item* item = FindOpenItem(note, Utf8Of(name));
  if (item == nullptr) Fail(LNERR_ITEM_NOT_FOUND, Utf8Of(name));
  if (type >= 0 && item->type != type) Fail(LNERR_WRONG_ITEM_TYPE, Utf8Of(name));
  return *item;
}

void SaveNote(NoteState* note) {
  OpenNote(note);
  CheckFault("notes.save");
  std::shared_ptr<lnstore::Store> store = note->db->OpenStore();
  std::lock_guard<std::recursive_mutex> lock(store->Mutex());
  // The document's later writes (more saves, its filing) join this one before any flush.
  if (!note->flushHold) {
    store->HoldFlush();
    note->flushHold = store;
  }
  store->SaveNote(&note->record);
}

void SetDateItem(NoteState* note, const char* name, const LNDatetime& value) {
  auto& items = note->record.items;
  for (size_t i = items.size(); i-- > 0;)
    if (lnstore::SameItemName(items[i].name, name)) items.erase(items.begin() + static_cast<long>(i));
  lnstore::Item item;
  item.name = name;
  item.type = lnstore::kTypeTimeList;
  item.value = lnstore::EncodeTimeList({{value.GetDayNumber(), value.GetHundredths()}});
  items.push_back(item);
}

bool ReadDateItem(NoteState* note, const char* name, LNDatetime* value) {
  const lnstore::Item* item = FindOpenItem(note, name);
  if (item == nullptr || item->type != lnstore::kTypeTimeList) return false;
  const std::vector<lnstore::DateTime> times = lnstore::DecodeTimeList(item->value);
  if (times.empty()) return false;
  *value = LNDatetime::FromParts(times[0].day, times[0].hundredths);
  return true;
}

}  // namespace

void lnimpl::NoteState::EndFlushHold(bool report) {
  std::shared_ptr<lnstore::Store> store;
  store.swap(flushHold);
  if (!store) return;
  std::lock_guard<std::recursive_mutex> lock(store->Mutex());
  store->ReleaseFlushHold(report);
}

lnimpl::NoteState::~NoteState() {
  try {
    EndFlushHold(false);
  } catch (...) {
  }
  Release(db);
}

// LNNote -------------------------------------------------------------------------------------------

LNNote::LNNote() : m_note(nullptr) {}
LNNote::LNNote(const LNNote& other) : m_note(AddRef(other.m_note)) {}
LNNote& LNNote::operator=(const LNNote& other) {
  Reset(m_note, AddRef(other.m_note));
  return *this;
}
LNNote::~LNNote() { Release(m_note); }

LNSTATUS LNNote::Open(LNINT /*flags*/) {
  return Guard([&] {
    if (m_note == nullptr) Fail(LNERR_NULL_OBJECT);
    if (m_note->open) return LNNOERROR;
    if (m_note->record.noteId == 0) Fail(LNERR_NOTE_NOT_SAVED);
    CheckFault("notes.opennote");
    std::shared_ptr<lnstore::Store> store = m_note->db->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    lnstore::NoteRecord record;
    if (!store->LoadNote(m_note->record.noteId, &record)) Fail(LNERR_NOTE_NOT_FOUND);
    m_note->record = std::move(record);
    m_note->open = true;
    return LNNOERROR;
  });
}

// Closing drops what was not saved; the note keeps its identity and can be opened again. It ends
// the document's writes: a flush that fell due meanwhile is made now, and its failure is reported.
LNSTATUS LNNote::Close() {
  return Guard([&] {
    if (m_note == nullptr) return LNNOERROR;
    m_note->open = false;
    std::vector<lnstore::Item>().swap(m_note->record.items);
    std::vector<lnstore::AttachmentRecord>().swap(m_note->record.attachments);
    m_note->EndFlushHold(true);
    return LNNOERROR;
  });
}

LNBOOL LNNote::IsOpen() const { return m_note && m_note->open ? 1 : 0; }

LNSTATUS LNNote::Save(LNINT /*flags*/) {
  return Guard([&] {
    SaveNote(m_note);
    return LNNOERROR;
  });
}

LNSTATUS LNNote::CreateItem(const LNString& name, const LNText& value, LNINT flags, LNINT options,
                            LNItem* newItem) {
  return WriteItem(m_note, name, value.m_value->item, flags, options, newItem ? newItem->m_value : nullptr,
                   false);
}

LNSTATUS LNNote::CreateItem(const LNString& name, const LNDatetimes& value, LNINT flags, LNINT options,
                            LNItem* newItem) {
  return WriteItem(m_note, name, value.m_value->item, flags, options, newItem ? newItem->m_value : nullptr,
                   false);
}

LNSTATUS LNNote::CreateItem(const LNString& name, const LNRichText& value, LNINT flags, LNINT options,
                            LNItem* newItem) {
  return WriteItem(m_note, name, value.m_value->item, flags, options, newItem ? newItem->m_value : nullptr,
                   false);
}

LNSTATUS LNNote::CreateItem(const LNString& name, LNITEMTYPE type, const void* data, LNINT length,
                            LNINT flags, LNINT options, LNItem* newItem) {
  if (length < 0 || (data == nullptr && length > 0)) return Raise(LNERR_INVALID_ARGUMENT);
  lnstore::Item item;
  item.type = type;
  if (length > 0) item.value.assign(static_cast<const char*>(data), static_cast<size_t>(length));
  return WriteItem(m_note, name, item, flags, options, newItem ? newItem->m_value : nullptr, true);
}

LNBOOL LNNote::HasItem(const LNString& name) const {
  return GuardValue<LNBOOL>(0, [&] { return FindOpenItem(m_note, Utf8Of(name)) ? 1 : 0; });
}

LNITEMTYPE LNNote::GetItemType(const LNString& name) const {
  return GuardValue<LNITEMTYPE>(0, [&] { return TypedItem(m_note, name, -1).type; });
}

LNSTATUS LNNote::GetItem(const LNString& name, LNItem* item) const {
  return Guard([&] {
    if (item == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    item->m_value->item = TypedItem(m_note, name, -1);
    return LNNOERROR;
  });
}

LNSTATUS LNNote::GetItem(const LNString& name, LNText* item) const {
  return Guard([&] {
    if (item == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    item->m_value->item = TypedItem(m_note, name, LNITEMTYPE_TEXT);
    return LNNOERROR;
  });
}

LNSTATUS LNNote::GetItem(const LNString& name, LNDatetimes* item) const {
  return Guard([&] {
    if (item == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    item->m_value->item = TypedItem(m_note, name, LNITEMTYPE_DATETIMES);
    return LNNOERROR;
  });
}

LNSTATUS LNNote::GetItem(const LNString& name, LNRichText* item) const {
  return Guard([&] {
    if (item == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    item->m_value->item = TypedItem(m_note, name, LNITEMTYPE_RICHTEXT);
    return LNNOERROR;
  });
}

LNSTATUS LNNote::GetItems(LNItemArray* items) const {
  return Guard([&] {
    if (items == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    OpenNote(m_note);
    HandleList* list = new HandleList;
    list->items = m_note->record.items;
    Reset(items->m_list, list);
    return LNNOERROR;
  });
}

namespace {

// The whole content of file into *data: one open and, for a file that keeps its size while it is read,
// one read into a buffer of that size (the runtime's buffered reads cost a copy and a call more).
void ReadWholeFile(const std::string& file, std::string* data) {
  HANDLE in = CreateFileW(Wide(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) Fail(LNERR_FILE_NOT_FOUND, file);
  // Closed on every way out, the failures (which throw) included.
  std::unique_ptr<void, decltype(&CloseHandle)> closer(in, &CloseHandle);
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(in, &size) || size.QuadPart < 0) Fail(LNERR_FILE_IO, file);
  if (static_cast<unsigned long long>(size.QuadPart) > kLargestValue)
    Fail(LNERR_FILE_IO, file + " is too large to attach");
  // One byte more than the size, so that a file that grew is seen; it is then read to its end.
  size_t want = static_cast<size_t>(size.QuadPart) + 1;
  size_t have = 0;
  for (;;) {
    data->resize(have + want);
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(want, 1u << 30));
    if (!ReadFile(in, &(*data)[have], ask, &got, nullptr)) {
      data->clear();
      Fail(LNERR_FILE_IO, file);
    }
    have += got;
    // A short read of a file is its end.
    if (got < ask) break;
    if (have > kLargestValue) {
      data->clear();
      Fail(LNERR_FILE_IO, file + " is too large to attach");
    }
    want = 65536;
  }
  data->resize(have);
}

}  // namespace

LNSTATUS LNNote::CreateAttachment(const LNString& path, const LNString& attachmentName, LNBOOL /*compress*/,
                                  LNAttachment* newAttachment) {
  return Guard([&] {
    OpenNote(m_note);
    CheckFault("notes.attach");
    const std::string file = Utf8Of(path);
    lnstore::AttachmentRecord record;
    ReadWholeFile(file, &record.data);
    record.name = Utf8Of(attachmentName);
    if (record.name.empty()) {
      const size_t slash = file.find_last_of("\\/");
      record.name = slash == std::string::npos ? file : file.substr(slash + 1);
    }
    record.size = static_cast<int64_t>(record.data.size());
    m_note->record.attachments.push_back(std::move(record));
    if (newAttachment) {
      AttachmentRef* ref = new AttachmentRef;
      ref->note = AddRef(m_note);
      ref->index = m_note->record.attachments.size() - 1;
      ref->meta.name = m_note->record.attachments.back().name;
      ref->meta.size = m_note->record.attachments.back().size;
      Reset(newAttachment->m_ref, ref);
    }
    return LNNOERROR;
  });
}

LNSTATUS LNNote::GetAttachments(LNAttachmentArray* attachments) const {
  return Guard([&] {
    if (attachments == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    OpenNote(m_note);
    CheckFault("notes.getattachments");
    HandleList* list = new HandleList;
    for (size_t i = 0; i < m_note->record.attachments.size(); ++i) {
      AttachmentRef* ref = new AttachmentRef;
      ref->note = AddRef(m_note);
      ref->index = i;
      ref->meta.id = m_note->record.attachments[i].id;
      ref->meta.name = m_note->record.attachments[i].name;
      ref->meta.size = m_note->record.attachments[i].size;
      list->handles.push_back(ref);
    }
    Reset(attachments->m_list, list);
    return LNNOERROR;
  });
}

LNINT LNNote::GetSize() const {
  return GuardValue<LNINT>(0, [&] {
    OpenNote(m_note);
    int64_t size = static_cast<int64_t>(lnstore::PackItems(m_note->record.items).size());
    for (const auto& a : m_note->record.attachments) size += a.size;
    return static_cast<LNINT>(std::min<int64_t>(size, 0x7FFFFFFF));
  });
}

LNNOTEID LNNote::GetNoteID() const { return m_note ? m_note->record.noteId : 0; }

LNString LNNote::GetUniversalID() const { return m_note ? MakeString(m_note->record.unid) : LNString(); }

// The note object is the open note itself; there is nothing to refresh beyond checking it is open.
LNSTATUS LNNote::RefreshObjectFromNoteHandle() {
  return Guard([&] {
    OpenNote(m_note);
    return LNNOERROR;
  });
}

LNDocument::LNDocument() = default;

LNMailMessage::LNMailMessage() = default;
LNMailMessage::LNMailMessage(const LNDocument& document) : LNDocument(document) {}

LNSTATUS LNMailMessage::GetDateSent(LNDatetime* sent) const {
  return Guard([&] {
    if (sent == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    OpenNote(m_note);
    CheckFault("notes.getdatesent");
    if (!ReadDateItem(m_note, "PostedDate", sent)) Fail(LNERR_ITEM_NOT_FOUND, "PostedDate");
    return LNNOERROR;
  });
}

LNCalendarEntry::LNCalendarEntry() = default;
LNCalendarEntry::LNCalendarEntry(const LNDocument& document) : LNDocument(document) {}

LNSTATUS LNCalendarEntry::SetDatetimeRange(const LNDatetimeRange& range) {
  return Guard([&] {
    OpenNote(m_note);
    SetDateItem(m_note, "STARTDATETIME", range.GetBegin());
    SetDateItem(m_note, "EndDateTime", range.GetEnd());
    return LNNOERROR;
  });
}

LNSTATUS LNCalendarEntry::GetDatetimeRange(LNDatetimeRange* range) const {
  return Guard([&] {
    if (range == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    OpenNote(m_note);
    LNDatetime begin, end;
    if (!ReadDateItem(m_note, "STARTDATETIME", &begin) || !ReadDateItem(m_note, "EndDateTime", &end))
      Fail(LNERR_ITEM_NOT_FOUND, "STARTDATETIME");
    range->SetBegin(begin);
    range->SetEnd(end);
    return LNNOERROR;
  });
}

LNSTATUS LNCalendarEntry::Save(LNINT /*flags*/, LNBOOL /*updateCalendar*/) {
  return Guard([&] {
    SaveNote(m_note);
    return LNNOERROR;
  });
}

// Attachments --------------------------------------------------------------------------------------

LNAttachment::LNAttachment() : m_ref(nullptr) {}
LNAttachment::LNAttachment(const LNAttachment& other) : m_ref(AddRef(other.m_ref)) {}
LNAttachment& LNAttachment::operator=(const LNAttachment& other) {
  Reset(m_ref, AddRef(other.m_ref));
  return *this;
}
LNAttachment::~LNAttachment() { Release(m_ref); }

LNString LNAttachment::GetAttachmentName() const {
  return GuardValue(LNString(), [&] {
    if (m_ref == nullptr) Fail(LNERR_NULL_OBJECT);
    return MakeString(m_ref->meta.name);
  });
}

LNINT LNAttachment::GetFileSize() const {
  return GuardValue<LNINT>(0, [&] {
    if (m_ref == nullptr) Fail(LNERR_NULL_OBJECT);
    CheckFault("notes.getfilesize");
    return static_cast<LNINT>(m_ref->meta.size);
  });
}

LNSTATUS LNAttachment::Extract(const LNString& path) const {
  return Guard([&] {
    if (m_ref == nullptr) Fail(LNERR_NULL_OBJECT);
    NoteState* note = m_ref->note;
    std::string data;
    int64_t id = m_ref->meta.id;
    if (id == 0 && note->open && m_ref->index < note->record.attachments.size()) {
      const lnstore::AttachmentRecord& r = note->record.attachments[m_ref->index];
      if (r.id == 0)
        data = r.data;
      else
        id = r.id;
    }
    if (id != 0) {
      std::shared_ptr<lnstore::Store> store = note->db->OpenStore();
      std::lock_guard<std::recursive_mutex> lock(store->Mutex());
      data = store->AttachmentData(id);
    } else if (data.size() != static_cast<size_t>(m_ref->meta.size)) {
      Fail(LNERR_NOTE_NOT_OPEN, "the unsaved attachment went with its note");
    }
    FILE* out = _wfopen(Wide(Utf8Of(path)).c_str(), L"wb");
    if (out == nullptr) Fail(LNERR_FILE_IO);
    const bool written = std::fwrite(data.data(), 1, data.size(), out) == data.size();
    if (std::fclose(out) != 0 || !written) Fail(LNERR_FILE_IO);
    return LNNOERROR;
  });
}

LNAttachmentArray::LNAttachmentArray() : m_list(new HandleList) {}
LNAttachmentArray::LNAttachmentArray(const LNAttachmentArray& other) : m_list(AddRef(other.m_list)) {}
LNAttachmentArray& LNAttachmentArray::operator=(const LNAttachmentArray& other) {
  Reset(m_list, AddRef(other.m_list));
  return *this;
}
LNAttachmentArray::~LNAttachmentArray() { Release(m_list); }
LNINT LNAttachmentArray::GetCount() const { return static_cast<LNINT>(m_list->handles.size()); }
LNAttachment LNAttachmentArray::operator[](LNINT index) const {
  LNAttachment a;
  if (index >= 0 && static_cast<size_t>(index) < m_list->handles.size())
    a.m_ref = AddRef(static_cast<AttachmentRef*>(m_list->handles[static_cast<size_t>(index)]));
  else
    Raise(LNERR_INDEX_OUT_OF_RANGE);
  return a;
}
