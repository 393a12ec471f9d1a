// The messaging layer: the message store, its folder tree, messages with recipients, attachments
// and bodies, and the named-property map. Folders and messages are opened on demand by NID and
// hold only their property context; tables and attachment data are read when asked for.
// Everything here reads through the Store's PstFile: one thread per Store. Failures throw PstError
// with the node named, so a caller walking a tree can skip one bad folder or message and go on.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pst/Ltp.h"
#include "pst/Ndb.h"

namespace pst {

struct Guid {
  std::array<uint8_t, 16> bytes{};  // as stored: Data1..Data3 little-endian
  // "{00020329-0000-0000-C000-000000000046}" (braces optional); throws kInvalidArgument.
  static Guid Parse(const std::string& text);
  std::string ToString() const;  // braced, upper case
  bool operator==(const Guid& other) const { return bytes == other.bytes; }
  bool operator<(const Guid& other) const { return bytes < other.bytes; }
};

extern const Guid kPsMapi;
extern const Guid kPsPublicStrings;
extern const Guid kPsetidAppointment;
extern const Guid kPsetidTask;
extern const Guid kPsetidAddress;
extern const Guid kPsetidCommon;
extern const Guid kPsetidLog;
extern const Guid kPsetidNote;

// Common property ids (the tag's upper 16 bits).
namespace prop {
constexpr uint16_t kMessageClass = 0x001A;
constexpr uint16_t kSubject = 0x0037;
constexpr uint16_t kImportance = 0x0017;
constexpr uint16_t kClientSubmitTime = 0x0039;
constexpr uint16_t kSentRepresentingName = 0x0042;
constexpr uint16_t kSenderName = 0x0C1A;
constexpr uint16_t kDisplayBcc = 0x0E02;
constexpr uint16_t kDisplayCc = 0x0E03;
constexpr uint16_t kDisplayTo = 0x0E04;
constexpr uint16_t kMessageDeliveryTime = 0x0E06;
constexpr uint16_t kMessageFlags = 0x0E07;
constexpr uint16_t kMessageSize = 0x0E08;
constexpr uint16_t kRecipientType = 0x0C15;
constexpr uint16_t kBody = 0x1000;
constexpr uint16_t kRtfCompressed = 0x1009;
constexpr uint16_t kHtml = 0x1013;
constexpr uint16_t kNativeBody = 0x1016;
constexpr uint16_t kDisplayName = 0x3001;
constexpr uint16_t kAddressType = 0x3002;
constexpr uint16_t kEmailAddress = 0x3003;
constexpr uint16_t kCreationTime = 0x3007;
constexpr uint16_t kLastModificationTime = 0x3008;
constexpr uint16_t kContentCount = 0x3602;
constexpr uint16_t kSubfolders = 0x360A;
constexpr uint16_t kContainerClass = 0x3613;
constexpr uint16_t kIpmSubtreeEntryId = 0x35E0;
constexpr uint16_t kAttachDataBin = 0x3701;  // PT_BINARY, or PT_OBJECT for embedded/OLE data
constexpr uint16_t kAttachEncoding = 0x3702;
constexpr uint16_t kAttachExtension = 0x3703;
constexpr uint16_t kAttachFilename = 0x3704;
constexpr uint16_t kAttachMethod = 0x3705;
constexpr uint16_t kAttachLongFilename = 0x3707;
constexpr uint16_t kAttachMimeTag = 0x370E;
constexpr uint16_t kAttachContentId = 0x3712;
constexpr uint16_t kAttachSize = 0x0E20;
constexpr uint16_t kInternetCodePage = 0x3FDE;
constexpr uint16_t kMessageCodePage = 0x3FFD;
}  // namespace prop

enum AttachMethod : int32_t {
  kAttachNone = 0,
  kAttachByValue = 1,
  kAttachByReference = 2,
  kAttachByRefResolve = 3,
  kAttachByRefOnly = 4,
  kAttachEmbeddedMessage = 5,
  kAttachOle = 6,
};

struct NamedProperty {
  Guid guid;
  bool isString = false;
  uint32_t lid = 0;
  std::string name;  // UTF-8
};

// The store's map between named properties and the property ids 0x8000-0xFFFE they use.
class NamedPropertyMap {
 public:
  NamedPropertyMap() = default;
  explicit NamedPropertyMap(PstFile& file);
  std::optional<uint16_t> Find(const Guid& guid, uint32_t lid) const;
  std::optional<uint16_t> Find(const Guid& guid, const std::string& utf8Name) const;
  const NamedProperty* NameOf(uint16_t propId) const;
  size_t Size() const { return byId_.size(); }

 private:
  std::map<uint16_t, NamedProperty> byId_;
  std::map<std::pair<Guid, uint32_t>, uint16_t> byLid_;
  std::map<std::pair<Guid, std::string>, uint16_t> byName_;
};

struct StoreOptions {
  // Code page for 8-bit strings when neither the message nor the store names one.
  uint32_t defaultCodePage = 1252;
  PstOptions file;
};

class Store;

// One row of a recipient table, every cell kept.
struct Recipient {
  std::map<uint16_t, PropValue> properties;
  uint32_t codePage = 1252;
  std::string String(uint16_t id) const;  // "" when absent
  int32_t Type() const;                   // PR_RECIPIENT_TYPE: 1 To, 2 Cc, 3 Bcc
};

class Message;

class Attachment {
 public:
  Attachment(Store& store, uint32_t nid, const SubnodeEntry& node, uint32_t codePage);
  uint32_t Nid() const { return nid_; }
  const PropertyContext& Properties() const { return pc_; }
  std::optional<PropValue> Get(uint16_t id) const { return pc_.Get(id); }
  std::string String(uint16_t id) const;
  int32_t Method() const;
  // PR_ATTACH_LONG_FILENAME, else PR_ATTACH_FILENAME, else PR_DISPLAY_NAME; "" when none.
  std::string FileName() const;
  bool IsEmbeddedMessage() const;
  // The attached bytes: by-value data, or an OLE object's stored compound file. Empty stream when
  // the attachment carries no data.
  Stream OpenData() const;
  uint64_t DataSize() const;
  // The embedded message of a PR_ATTACH_METHOD 5 attachment. Throws kNotFound otherwise. A damaged
  // file can nest messages without end: callers that recurse bound the depth.
  std::unique_ptr<Message> OpenEmbeddedMessage() const;

 private:
  std::optional<SubnodeEntry> ObjectNode() const;
  Store& store_;
  uint32_t nid_;
  PropertyContext pc_;
  uint32_t codePage_;
};

class Message {
 public:
  // A top-level message node.
  Message(Store& store, uint32_t nid);
  // A message stored in a subnode (an embedded message); nid is the subnode's.
  Message(Store& store, uint32_t nid, uint64_t bidData, uint64_t bidSub);

  uint32_t Nid() const { return nid_; }
  const PropertyContext& Properties() const { return pc_; }
  // PR_MESSAGE_CODEPAGE, else PR_INTERNET_CPID, else the store's, else the caller's default.
  uint32_t CodePage() const { return codePage_; }

  std::optional<PropValue> Get(uint16_t id) const { return pc_.Get(id); }
  std::string String(uint16_t id) const;  // "" when absent
  std::optional<int64_t> Int(uint16_t id) const;
  std::optional<PropValue> GetNamed(const Guid& guid, uint32_t lid) const;
  std::optional<PropValue> GetNamed(const Guid& guid, const std::string& name) const;

  std::string MessageClass() const { return String(prop::kMessageClass); }
  // PR_SUBJECT without the stored prefix marker (U+0001 and a length character).
  std::string Subject() const;

  std::vector<Recipient> Recipients() const;
  size_t AttachmentCount() const;
  std::vector<std::unique_ptr<Attachment>> Attachments() const;

  // Bodies. Plain: PR_BODY, else de-encapsulated from RTF. HTML: PR_HTML decoded (PR_INTERNET_CPID,
  // else its meta charset, else Windows-1252), else de-encapsulated from RTF. RTF: decompressed.
  // nullopt when the message has no such body.
  std::optional<std::string> BodyText() const;
  std::optional<std::string> BodyHtml() const;
  std::optional<std::string> BodyRtf() const;

 private:
  void ResolveCodePage();
  Store& store_;
  uint32_t nid_;
  PropertyContext pc_;
  uint32_t codePage_ = 1252;
};

class Folder {
 public:
  Folder(Store& store, uint32_t nid);
  uint32_t Nid() const { return nid_; }
  const PropertyContext& Properties() const { return pc_; }
  std::string DisplayName() const;
  std::string ContainerClass() const;
  bool IsSearchFolder() const;
  // Child folder NIDs in stored (hierarchy table) order. A damaged file can link a folder under
  // itself or its descendants: walkers keep the set of folders already visited.
  std::vector<uint32_t> ChildFolders() const;
  // Normal messages in stored order (the contents table's row order, which is not the order of
  // their NIDs); associated (FAI) messages apart.
  std::vector<uint32_t> Messages() const;
  std::vector<uint32_t> AssociatedMessages() const;

 private:
  std::vector<uint32_t> TableRows(uint32_t tableType, bool (*keep)(uint32_t)) const;
  Store& store_;
  uint32_t nid_;
  PropertyContext pc_;
};

class Store {
 public:
  static std::unique_ptr<Store> Open(const std::string& utf8Path, StoreOptions options = {});
  Store(std::unique_ptr<PstFile> file, StoreOptions options = {});

  PstFile& File() { return *file_; }
  const StoreOptions& Options() const { return options_; }
  const PropertyContext& Properties() const { return *pc_; }
  std::string DisplayName() const;
  // The code page for 8-bit strings outside messages (folder names).
  uint32_t CodePage() const { return codePage_; }
  uint32_t RootFolderNid() const;
  // The "Top of Personal Folders" folder named by PR_IPM_SUBTREE_ENTRYID; nullopt when absent.
  std::optional<uint32_t> IpmSubtreeNid() const;

  std::unique_ptr<Folder> OpenFolder(uint32_t nid) { return std::make_unique<Folder>(*this, nid); }
  std::unique_ptr<Message> OpenMessage(uint32_t nid) { return std::make_unique<Message>(*this, nid); }
  // Loaded on first use; an absent or damaged map gives an empty one.
  const NamedPropertyMap& NamedProperties();

 private:
  std::unique_ptr<PstFile> file_;
  StoreOptions options_;
  std::unique_ptr<PropertyContext> pc_;
  uint32_t codePage_ = 1252;
  std::unique_ptr<NamedPropertyMap> named_;
};

// The Windows code page to decode a message's 8-bit strings with, for a code page a property
// names (internet code pages of a language map to that language's Windows code page); 0 when the
// reader cannot decode it.
uint32_t AnsiCodePageFor(uint32_t codePage);

// FILETIME (100 ns since 1601) to "YYYY-MM-DD hh:mm:ss" UTC.
std::string FormatFileTime(int64_t fileTime);

}  // namespace pst
