// What a test PST holds, described in memory: the store, its folder tree, messages with their
// properties, named properties, recipients and attachments. PstWriter turns a Store into a file.
// Strings are UTF-8 here and UTF-16 in the file; dates are FILETIME values (UTC).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "NdbWriter.h"

namespace pstbuilder {

struct Guid {
  std::array<uint8_t, 16> bytes{};  // as stored on disk (first three fields little-endian)
  // "00062002-0000-0000-C000-000000000046"; throws std::invalid_argument on a malformed text.
  static Guid Parse(const std::string& text);
  bool operator<(const Guid& o) const { return bytes < o.bytes; }
  bool operator==(const Guid& o) const { return bytes == o.bytes; }
};

namespace guids {
extern const Guid kPsMapi;
extern const Guid kPsPublicStrings;
extern const Guid kAppointment;
extern const Guid kTask;
extern const Guid kAddress;
extern const Guid kLog;
extern const Guid kCommon;
}  // namespace guids

// A property value in its on-disk form (what the property context stores).
struct PropValue {
  uint16_t type = 0;
  std::vector<uint8_t> data;

  static PropValue Short(int16_t v);
  static PropValue Long(int32_t v);
  static PropValue Bool(bool v);
  static PropValue I8(int64_t v);
  static PropValue Double(double v);
  static PropValue SysTime(uint64_t fileTime);
  static PropValue Unicode(const std::string& utf8);
  static PropValue String8(const std::string& bytes);
  static PropValue Binary(std::vector<uint8_t> bytes);
  static PropValue Clsid(const Guid& guid);
  static PropValue MultiUnicode(const std::vector<std::string>& utf8);
  static PropValue MultiLong(const std::vector<int32_t>& values);
  static PropValue MultiBinary(const std::vector<std::vector<uint8_t>>& values);
};

// A named property: a GUID with a numeric id (LID) or a string name.
struct NamedProperty {
  Guid guid;
  uint32_t lid = 0;
  std::string name;  // non-empty for a string-named property
  bool IsString() const { return !name.empty(); }
  bool operator<(const NamedProperty& o) const;
};

std::vector<uint8_t> Utf16(const std::string& utf8);
// FILETIME of a UTC calendar time.
uint64_t FileTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Entry ids as a distribution list keeps its members: a one-off entry id with
// UTF-16 texts; a member's wrapped entry id (its type byte says what it embeds: 0 a one-off, 3 a contact
// with the address index in bits 4-6, 4 a list); the entry id of a message of a store.
std::vector<uint8_t> OneOffEntryId(const std::string& name, const std::string& addressType,
                                   const std::string& address);
std::vector<uint8_t> WrappedEntryId(uint8_t type, const std::vector<uint8_t>& embedded);
std::vector<uint8_t> MessageEntryId(const Guid& recordKey, uint32_t nid);

struct Message;

struct Recipient {
  int32_t type = 1;  // 1 To, 2 Cc, 3 Bcc
  std::string displayName;
  std::string emailAddress;
  std::string addressType = "SMTP";
  std::map<uint16_t, PropValue> extra;
};

// A by-value attachment (data) or an embedded message (embedded set).
struct Attachment {
  std::string longFileName;
  std::string fileName;
  std::string displayName;
  std::string mimeTag;
  std::vector<uint8_t> data;
  std::shared_ptr<Message> embedded;
  std::map<uint16_t, PropValue> extra;
};

struct Message {
  std::string messageClass = "IPM.Note";
  std::map<uint16_t, PropValue> props;  // by property id; ids 0x8000+ are assigned by the writer
  std::map<NamedProperty, PropValue> named;
  std::vector<Recipient> recipients;
  std::vector<Attachment> attachments;

  Message& Set(uint16_t id, PropValue value);
  Message& SetNamed(const NamedProperty& name, PropValue value);
  Message& SetNamed(const Guid& guid, uint32_t lid, PropValue value);
  Message& Subject(const std::string& text);
  Message& Body(const std::string& text);
  // HTML body bytes in the given code page; PR_INTERNET_CPID says which.
  Message& Html(std::vector<uint8_t> bytes, int32_t codePage);
  Message& HtmlUtf8(const std::string& html);
  // RTF text, stored compressed.
  Message& Rtf(const std::string& rtf);
  // 1 plain, 2 RTF, 3 HTML.
  Message& NativeBody(int32_t format);
  Message& Sender(const std::string& name, const std::string& email);
  // Adds a recipient; the display strings (PR_DISPLAY_TO/CC/BCC) are derived when not set.
  Message& AddRecipient(int32_t type, const std::string& name, const std::string& email);
  Message& SubmitTime(uint64_t fileTime);
  Message& DeliveryTime(uint64_t fileTime);
  Message& CreationTime(uint64_t fileTime);
  Message& Keywords(const std::vector<std::string>& keywords);
  Message& AttachFile(const std::string& longFileName, std::vector<uint8_t> data);
  Message& AttachMessage(const std::string& displayName, Message embedded);
  // A distribution list ("IPM.DistList") named name with these members: their entry ids and, at the
  // same positions, their one-off forms (either list may be empty, and is then left out).
  Message& DistList(const std::string& name, const std::vector<std::vector<uint8_t>>& entryIds,
                    const std::vector<std::vector<uint8_t>>& oneOffEntryIds);
};

struct Folder {
  std::string name;
  std::string containerClass;  // e.g. "IPF.Note"; empty for none
  std::vector<Folder> folders;
  std::vector<Message> messages;
  std::vector<Message> associated;  // folder-associated (hidden) messages
  // Messages made on demand (large files): generator(i) for i < generatedCount, after `messages`.
  size_t generatedCount = 0;
  std::function<Message(size_t)> generator;

  // The new child; the reference lasts until the next child is added to this folder.
  Folder& AddFolder(const std::string& folderName, const std::string& folderClass = "IPF.Note");
  // The first child of that name, or null.
  Folder* Find(const std::string& folderName);
};

struct Store {
  std::string displayName = "Personal Folders";
  std::string ipmSubtreeName = "Top of Personal Folders";
  Encoding encoding = Encoding::Permute;
  Guid recordKey = Guid::Parse("5A1B7C3D-0000-4000-8000-0000B41D1E00");
  // Children of the IPM subtree. A top-level folder named "Deleted Items" is the wastebasket.
  std::vector<Folder> folders;

  // As Folder::AddFolder and Folder::Find, for the IPM subtree's children.
  Folder& AddFolder(const std::string& folderName, const std::string& folderClass = "IPF.Note");
  Folder* Find(const std::string& folderName);
  // Inbox, Sent Items, Calendar, Contacts, Tasks, Journal, Notes and Deleted Items.
  static Store WithStandardFolders();
};

}  // namespace pstbuilder
