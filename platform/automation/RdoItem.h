// Items, attachments and list members of the "Redemption.RDOSession" stand-in. One item object answers
// the whole mail set whatever its class; the class decides what the 0x600400xx identifiers mean (a date
// on an appointment, a text on a contact, the members of a distribution list).
#pragma once

#include "DispatchObject.h"
#include "DistListMembers.h"
#include "RdoContext.h"

namespace automation {

// The object behind RdoMailDispatch and the other item wrappers.
class RdoItem : public RdoObject {
 public:
  RdoItem(RdoContext context, std::shared_ptr<PstMessage> message)
      : context_(std::move(context)), message_(std::move(message)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  void CallKindMember(DISPID id, VARIANT* result);
  // A distribution list's members, read once per item object.
  const std::vector<DistListMember>& ListMembers();
  RdoContext context_;
  std::shared_ptr<PstMessage> message_;
  std::optional<std::vector<DistListMember>> members_;
};

// The object behind RdoAddressEntryDispatch: one member of a distribution list.
class RdoAddressEntry : public RdoObject {
 public:
  explicit RdoAddressEntry(AddressEntryText text) : text_(std::move(text)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  AddressEntryText text_;
};

// The object behind RdoAttachmentsDispatch.
class RdoAttachments : public RdoObject {
 public:
  RdoAttachments(RdoContext context, std::shared_ptr<PstMessage> message)
      : context_(std::move(context)), message_(std::move(message)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  RdoContext context_;
  std::shared_ptr<PstMessage> message_;
};

// The object behind RdoAttachmentDispatch.
class RdoAttachment : public RdoObject {
 public:
  RdoAttachment(RdoContext context, std::shared_ptr<PstMessage> owner,
                std::shared_ptr<PstAttachment> attachment)
      : context_(std::move(context)), owner_(std::move(owner)), attachment_(std::move(attachment)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  std::wstring FileName();
  void SaveAsFile(const std::wstring& path);
  RdoContext context_;
  std::shared_ptr<PstMessage> owner_;  // keeps the message the attachment belongs to readable
  std::shared_ptr<PstAttachment> attachment_;
};

// The name an attachment is saved under: the stored name with characters that cannot stand in a
// file name (path separators, drive colons, wildcards, control characters) replaced by '_'.
std::wstring SafeFileName(const std::wstring& name);

}  // namespace automation
