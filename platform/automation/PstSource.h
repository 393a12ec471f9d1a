// The narrow view of an open PST that the automation servers stand on: stores, folders, messages and
// attachments with raw MAPI properties. The servers decide what each dispatch identifier means; a
// source only answers what the file holds. The PST reader is plugged in behind it (PstReaderSource),
// tests plug in fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace automation {

// MAPI property types used by the servers (the low word of a property tag).
enum PropType : uint16_t {
  kPtShort = 0x0002,
  kPtLong = 0x0003,
  kPtDouble = 0x0005,
  kPtBoolean = 0x000B,
  kPtObject = 0x000D,
  kPtI8 = 0x0014,
  kPtString8 = 0x001E,
  kPtUnicode = 0x001F,
  kPtSysTime = 0x0040,
  kPtClsid = 0x0048,
  kPtBinary = 0x0102,
  kPtMvUnicode = 0x101F,
  kPtMvBinary = 0x1102,
};

// A FILETIME as stored: 100 ns ticks since 1601-01-01 UTC.
struct FileTime {
  uint64_t ticks = 0;
};

// One property value. Integers of every width (and Booleans) arrive as int64_t; strings of either
// stored width arrive decoded as UTF-16; binaries and CLSIDs as bytes; multi-valued strings and
// binaries as lists of those.
using PropValue = std::variant<int64_t, double, FileTime, std::u16string, std::string,
                               std::vector<std::u16string>, std::vector<std::string>>;

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
  bool operator==(const Guid& o) const;
};

extern const Guid kPsMapi;
extern const Guid kPsPublicStrings;
extern const Guid kPsetidAppointment;
extern const Guid kPsetidTask;
extern const Guid kPsetidAddress;
extern const Guid kPsetidLog;

// The name of a named property: a numeric id (LID) or a string, within a property set.
struct PropertyName {
  Guid set{};
  std::optional<uint32_t> lid;
  std::u16string name;
};

// One property as stored, for copying a whole message (the .msg writer).
struct StoredProperty {
  uint16_t id = 0;
  uint16_t type = 0;
  PropValue value;
  std::optional<PropertyName> named;  // set for ids 0x8000 and above
};

struct Recipient {
  int32_t type = 1;  // PR_RECIPIENT_TYPE: 1 To, 2 Cc, 3 Bcc
  std::u16string displayName;
  std::vector<StoredProperty> properties;
};

class PstMessage;

// Attachment methods of PR_ATTACH_METHOD that change what SaveAsFile writes.
enum AttachMethod : int32_t {
  kAttachNone = 0,
  kAttachByValue = 1,
  kAttachEmbeddedMessage = 5,
  kAttachOle = 6,
};

class PstAttachment {
 public:
  virtual ~PstAttachment() = default;
  virtual std::optional<PropValue> Property(uint16_t id) = 0;
  virtual std::vector<StoredProperty> AllProperties() = 0;
  // PR_ATTACH_DATA_BIN (by value) or the stored compound file (OLE); nullopt when there is none.
  virtual std::optional<std::string> Data() = 0;
  // The same content in pieces, so that a large attachment never sits in memory whole: `sink` is
  // called at least once (perhaps with no bytes) when there is content; false when there is none.
  virtual bool ReadData(const std::function<void(const char*, size_t)>& sink) {
    std::optional<std::string> data = Data();
    if (!data) return false;
    sink(data->data(), data->size());
    return true;
  }
  // The nested message of an embedded-message attachment; null for any other method.
  virtual std::unique_ptr<PstMessage> EmbeddedMessage() = 0;
};

// A message. Reads are on demand; a failing read throws SourceError.
class PstMessage {
 public:
  virtual ~PstMessage() = default;
  virtual std::optional<PropValue> Property(uint16_t id) = 0;
  virtual std::optional<PropValue> NamedProperty(const Guid& set, uint32_t lid) = 0;
  virtual std::optional<PropValue> NamedProperty(const Guid& set, const std::u16string& name) = 0;
  virtual std::vector<StoredProperty> AllProperties() = 0;
  virtual std::vector<Recipient> Recipients() = 0;
  virtual size_t AttachmentCount() = 0;
  virtual std::unique_ptr<PstAttachment> Attachment(size_t index) = 0;  // 0-based
  // PR_RTF_COMPRESSED decompressed; the HTML and the plain text carried inside that RTF.
  virtual std::optional<std::string> RtfText() = 0;
  virtual std::optional<std::u16string> HtmlFromRtf() = 0;
  virtual std::optional<std::u16string> PlainTextFromRtf() = 0;
};

// A folder. Children and contents in stored order; associated contents are not listed.
class PstFolder {
 public:
  virtual ~PstFolder() = default;
  virtual std::u16string Name() = 0;
  virtual std::u16string ContainerClass() = 0;
  virtual std::vector<std::shared_ptr<PstFolder>> SubFolders() = 0;
  virtual size_t MessageCount() = 0;
  virtual std::unique_ptr<PstMessage> Message(size_t index) = 0;  // 0-based
  // One of the folder's own properties (its stated content count, say), read apart from its
  // contents, so that it can be told while the list of items cannot be read; nullopt when absent.
  virtual std::optional<PropValue> Property(uint16_t id) {
    (void)id;
    return std::nullopt;
  }
};

class PstStore {
 public:
  virtual ~PstStore() = default;
  virtual std::u16string DisplayName() = 0;
  // The IPM subtree ("Top of Personal Folders"), whose children are Inbox, Calendar, ...
  virtual std::shared_ptr<PstFolder> IpmSubtree() = 0;
  // The message of this store that a Message EntryID names (a distribution list's member points at
  // its contact so); null when the entry id names nothing here.
  virtual std::unique_ptr<PstMessage> MessageByEntryId(const std::string& entryId) {
    (void)entryId;
    return nullptr;
  }
};

// What a source throws when the file cannot be read; the text goes to the caller's EXCEPINFO.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether error, as thrown by a source, is a failure of the file itself rather than of what it holds:
// the file was cut short or written by another program after it was opened, or its disk no longer
// answers, so that nothing more can be read from it. The servers give the caller a code of its own for
// it; damaged data, and a place that the disk cannot read in a file still whole, are no such failure.
bool IsUnreadableFile(const std::exception& error);
// The words a caller reads for error: a failure of the file itself says so first.
std::string DescribeSourceFailure(const std::exception& error);

// Opens a PST or OST file read-only. Throws SourceError with the reader's words on failure.
std::unique_ptr<PstStore> OpenPstStore(const std::wstring& path);

}  // namespace automation
