// An in-memory PST source for driving the Redemption stand-in's objects without a file: folders,
// messages with plain and named properties, recipients and attachments, all built by the test.
#pragma once

#include "PstSource.h"
#include "RdoContext.h"

#include <map>

namespace automationtest {

using automation::FileTime;
using automation::Guid;
using automation::PropertyName;
using automation::PropValue;
using automation::StoredProperty;

struct FakeAttachmentData;

struct FakeMessageData {
  std::map<uint16_t, std::pair<uint16_t, PropValue>> properties;  // id -> (type, value)
  std::vector<std::pair<PropertyName, std::pair<uint16_t, PropValue>>> named;
  std::vector<automation::Recipient> recipients;
  std::vector<std::shared_ptr<FakeAttachmentData>> attachments;
  std::optional<std::string> rtf;
  std::optional<std::u16string> htmlFromRtf, plainFromRtf;

  FakeMessageData& Set(uint16_t id, uint16_t type, PropValue value) {
    properties[id] = {type, std::move(value)};
    return *this;
  }
  FakeMessageData& Text(uint16_t id, const std::u16string& s) { return Set(id, automation::kPtUnicode, s); }
  FakeMessageData& Time(uint16_t id, uint64_t ticks) {
    return Set(id, automation::kPtSysTime, FileTime{ticks});
  }
  FakeMessageData& Named(const Guid& set, uint32_t lid, uint16_t type, PropValue value) {
    PropertyName name;
    name.set = set;
    name.lid = lid;
    named.push_back({name, {type, std::move(value)}});
    return *this;
  }
  FakeMessageData& NamedString(const Guid& set, const std::u16string& n, uint16_t type, PropValue value) {
    PropertyName name;
    name.set = set;
    name.name = n;
    named.push_back({name, {type, std::move(value)}});
    return *this;
  }
};

struct FakeAttachmentData {
  std::map<uint16_t, std::pair<uint16_t, PropValue>> properties;
  std::optional<std::string> data;
  std::shared_ptr<FakeMessageData> embedded;
};

class FakeAttachment : public automation::PstAttachment {
 public:
  explicit FakeAttachment(std::shared_ptr<FakeAttachmentData> d) : d_(std::move(d)) {}
  std::optional<PropValue> Property(uint16_t id) override;
  std::vector<StoredProperty> AllProperties() override;
  std::optional<std::string> Data() override { return d_->data; }
  std::unique_ptr<automation::PstMessage> EmbeddedMessage() override;

 private:
  std::shared_ptr<FakeAttachmentData> d_;
};

class FakeMessage : public automation::PstMessage {
 public:
  explicit FakeMessage(std::shared_ptr<FakeMessageData> d) : d_(std::move(d)) {}
  std::optional<PropValue> Property(uint16_t id) override;
  std::optional<PropValue> NamedProperty(const Guid& set, uint32_t lid) override;
  std::optional<PropValue> NamedProperty(const Guid& set, const std::u16string& name) override;
  std::vector<StoredProperty> AllProperties() override;
  std::vector<automation::Recipient> Recipients() override { return d_->recipients; }
  size_t AttachmentCount() override { return d_->attachments.size(); }
  std::unique_ptr<automation::PstAttachment> Attachment(size_t index) override;
  std::optional<std::string> RtfText() override { return d_->rtf; }
  std::optional<std::u16string> HtmlFromRtf() override { return d_->htmlFromRtf; }
  std::optional<std::u16string> PlainTextFromRtf() override { return d_->plainFromRtf; }

 private:
  std::shared_ptr<FakeMessageData> d_;
};

struct FakeFolder : automation::PstFolder {
  std::u16string name;
  std::u16string containerClass = u"IPF.Note";
  std::vector<std::shared_ptr<FakeFolder>> folders;
  std::vector<std::shared_ptr<FakeMessageData>> messages;

  explicit FakeFolder(std::u16string n) : name(std::move(n)) {}
  std::shared_ptr<FakeFolder> Add(const std::u16string& n) {
    folders.push_back(std::make_shared<FakeFolder>(n));
    return folders.back();
  }
  std::shared_ptr<FakeMessageData> AddMessage(const std::u16string& messageClass) {
    messages.push_back(std::make_shared<FakeMessageData>());
    messages.back()->Text(0x001A, messageClass);
    return messages.back();
  }

  std::u16string Name() override { return name; }
  std::u16string ContainerClass() override { return containerClass; }
  std::vector<std::shared_ptr<automation::PstFolder>> SubFolders() override {
    return std::vector<std::shared_ptr<automation::PstFolder>>(folders.begin(), folders.end());
  }
  size_t MessageCount() override { return messages.size(); }
  std::unique_ptr<automation::PstMessage> Message(size_t index) override {
    return std::make_unique<FakeMessage>(messages.at(index));
  }
};

struct FakeStore : automation::PstStore {
  std::shared_ptr<FakeFolder> top = std::make_shared<FakeFolder>(u"Top of Personal Folders");
  // Messages that entry ids name (a distribution list's members point at them).
  std::map<std::string, std::shared_ptr<FakeMessageData>> byEntryId;
  std::u16string DisplayName() override { return u"Personal Folders"; }
  std::shared_ptr<automation::PstFolder> IpmSubtree() override { return top; }
  std::unique_ptr<automation::PstMessage> MessageByEntryId(const std::string& entryId) override {
    auto found = byEntryId.find(entryId);
    if (found == byEntryId.end()) return nullptr;
    return std::make_unique<FakeMessage>(found->second);
  }
};

// An opener that hands out views of `store` (which the test keeps building) for any path.
automation::PstOpener FakeOpener(std::shared_ptr<FakeStore> store);

}  // namespace automationtest
