// The messaging layer of the test-file writer.
#include "PstWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "LtpWriter.h"
#include "NamedPropertyMap.h"
#include "PropertyIds.h"

namespace pstbuilder {

namespace fmt = pst::format;

namespace {

constexpr uint32_t kNidIpmSubtree = fmt::MakeNid(fmt::kNidTypeNormalFolder, 0x401);
constexpr uint32_t kNidSearchRoot = fmt::MakeNid(fmt::kNidTypeNormalFolder, 0x402);
constexpr uint32_t kNidDeletedItems = fmt::MakeNid(fmt::kNidTypeNormalFolder, 0x403);
constexpr uint32_t kFirstUserFolderIndex = 0x404;
constexpr uint32_t kFirstMessageIndex = 0x10000;
constexpr uint32_t kFirstAssocMessageIndex = 0x8000;

constexpr int32_t kMsgFlagRead = 0x01;
constexpr int32_t kMsgFlagHasAttach = 0x10;
constexpr int32_t kAttachByValue = 1;
constexpr int32_t kAttachEmbeddedMsg = 5;

uint32_t Tag(uint16_t id, uint16_t type) { return fmt::MakeTag(id, type); }

const std::vector<uint32_t>& ContentsColumns() {
  static const std::vector<uint32_t> cols = {
      Tag(prop::kImportance, fmt::kPtLong),
      Tag(prop::kMessageClass, fmt::kPtUnicode),
      Tag(prop::kSensitivity, fmt::kPtLong),
      Tag(prop::kSubject, fmt::kPtUnicode),
      Tag(prop::kClientSubmitTime, fmt::kPtSysTime),
      Tag(prop::kSentRepresentingName, fmt::kPtUnicode),
      Tag(prop::kMessageToMe, fmt::kPtBoolean),
      Tag(prop::kMessageCcMe, fmt::kPtBoolean),
      Tag(prop::kConversationTopic, fmt::kPtUnicode),
      Tag(prop::kSenderName, fmt::kPtUnicode),
      Tag(prop::kDisplayCc, fmt::kPtUnicode),
      Tag(prop::kDisplayTo, fmt::kPtUnicode),
      Tag(prop::kMessageDeliveryTime, fmt::kPtSysTime),
      Tag(prop::kMessageFlags, fmt::kPtLong),
      Tag(prop::kMessageSize, fmt::kPtLong),
      Tag(prop::kMessageStatus, fmt::kPtLong),
      Tag(prop::kLastModificationTime, fmt::kPtSysTime),
  };
  return cols;
}

const std::vector<uint32_t>& HierarchyColumns() {
  static const std::vector<uint32_t> cols = {
      Tag(prop::kDisplayName, fmt::kPtUnicode),     Tag(prop::kContentCount, fmt::kPtLong),
      Tag(prop::kContentUnreadCount, fmt::kPtLong), Tag(prop::kSubfolders, fmt::kPtBoolean),
      Tag(prop::kContainerClass, fmt::kPtUnicode),  Tag(prop::kAssocContentCount, fmt::kPtLong),
  };
  return cols;
}

const std::vector<uint32_t>& RecipientColumns() {
  static const std::vector<uint32_t> cols = {
      Tag(prop::kRecipientType, fmt::kPtLong),   Tag(prop::kResponsibility, fmt::kPtBoolean),
      Tag(prop::kObjectType, fmt::kPtLong),      Tag(prop::kRowid, fmt::kPtLong),
      Tag(prop::kDisplayName, fmt::kPtUnicode),  Tag(prop::kAddressType, fmt::kPtUnicode),
      Tag(prop::kEmailAddress, fmt::kPtUnicode), Tag(prop::kDisplayType, fmt::kPtLong),
      Tag(prop::kSmtpAddress, fmt::kPtUnicode),  Tag(0x5FF6, fmt::kPtUnicode),
  };
  return cols;
}

const std::vector<uint32_t>& AttachmentColumns() {
  static const std::vector<uint32_t> cols = {
      Tag(prop::kAttachSize, fmt::kPtLong), Tag(prop::kAttachFilename, fmt::kPtUnicode),
      Tag(prop::kAttachMethod, fmt::kPtLong), Tag(prop::kRenderingPosition, fmt::kPtLong)};
  return cols;
}

TableRow RowFrom(uint32_t rowId, const std::map<uint16_t, PropValue>& props,
                 const std::vector<uint32_t>& columns) {
  TableRow row;
  row.rowId = rowId;
  for (uint32_t tag : columns) {
    auto it = props.find(fmt::TagId(tag));
    if (it != props.end() && it->second.type == fmt::TagType(tag)) row.values[tag] = it->second;
  }
  return row;
}

std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.find_first_of("/\\", dot) != std::string::npos) return {};
  return name.substr(dot);
}

class Writer {
 public:
  Writer(const Store& store, const std::string& path) : store_(store), ndb_(path, store.encoding) {}

  void Run();

 private:
  struct FolderRow {
    uint32_t nid;
    std::map<uint16_t, PropValue> props;
  };
  FolderRow WriteFolder(const Folder& folder, uint32_t nid, uint32_t parent);
  FolderRow WriteFolderNodes(uint32_t nid, uint32_t parent, const std::string& name, const std::string& cls,
                             const std::vector<FolderRow>& children, const std::vector<TableRow>& contents,
                             const std::vector<TableRow>& associated);
  // Builds a message's property context and subnodes into `node`; returns its properties.
  std::map<uint16_t, PropValue> BuildMessage(NodeBuilder& node, const Message& message);
  TableRow WriteTopMessage(const Message& message, uint32_t nid, uint32_t folderNid);
  void WriteEmptyTable(uint32_t nid, const std::vector<uint32_t>& columns);
  std::vector<uint8_t> EntryId(uint32_t nid) const;

  const Store& store_;
  NdbWriter ndb_;
  NamedPropertyMap names_;
  uint32_t nextFolderIndex_ = kFirstUserFolderIndex;
  uint32_t nextMessageIndex_ = kFirstMessageIndex;
  uint32_t nextAssocIndex_ = kFirstAssocMessageIndex;
  bool hasWastebasket_ = false;
};

// A folder's entry id in this store: four flag bytes, the store's record key, the folder's NID.
std::vector<uint8_t> Writer::EntryId(uint32_t nid) const {
  std::vector<uint8_t> id(24, 0);
  std::memcpy(id.data() + 4, store_.recordKey.bytes.data(), 16);
  std::memcpy(id.data() + 20, &nid, 4);
  return id;
}

void Writer::WriteEmptyTable(uint32_t nid, const std::vector<uint32_t>& columns) {
  NodeBuilder node(ndb_, fmt::kHeapClientTableContext);
  BuildTableContext(node, columns, {});
  const SubnodeRef ref = node.Finish(nid);
  ndb_.AddNode(nid, ref.bidData, ref.bidSub, 0);
}

std::map<uint16_t, PropValue> Writer::BuildMessage(NodeBuilder& node, const Message& message) {
  std::map<uint16_t, PropValue> props = message.props;
  for (const auto& [name, value] : message.named) props[names_.IdFor(name)] = value;
  props[prop::kMessageClass] = PropValue::Unicode(message.messageClass);

  // Display strings derived from the recipient table unless the recipe sets them.
  const uint16_t displayIds[] = {prop::kDisplayTo, prop::kDisplayCc, prop::kDisplayBcc};
  for (int type = 1; type <= 3; ++type) {
    if (props.count(displayIds[type - 1])) continue;
    std::string joined;
    for (const auto& r : message.recipients)
      if (r.type == type) joined += (joined.empty() ? "" : "; ") + r.displayName;
    props[displayIds[type - 1]] = PropValue::Unicode(joined);
  }

  // Recipient table.
  std::vector<TableRow> recipientRows;
  std::vector<uint32_t> recipientColumns = RecipientColumns();
  for (size_t i = 0; i < message.recipients.size(); ++i) {
    const Recipient& r = message.recipients[i];
    std::map<uint16_t, PropValue> rp = r.extra;
    rp[prop::kRecipientType] = PropValue::Long(r.type);
    rp[prop::kResponsibility] = PropValue::Bool(false);
    rp[prop::kObjectType] = PropValue::Long(6);
    rp[prop::kRowid] = PropValue::Long(static_cast<int32_t>(i));
    rp[prop::kDisplayName] = PropValue::Unicode(r.displayName);
    rp[prop::kAddressType] = PropValue::Unicode(r.addressType);
    rp[prop::kEmailAddress] = PropValue::Unicode(r.emailAddress);
    rp[prop::kDisplayType] = PropValue::Long(0);
    if (r.addressType == "SMTP") rp[prop::kSmtpAddress] = PropValue::Unicode(r.emailAddress);
    rp[0x5FF6] = PropValue::Unicode(r.displayName);
    for (const auto& [id, v] : r.extra) recipientColumns.push_back(Tag(id, v.type));
    TableRow row;
    row.rowId = static_cast<uint32_t>(i);
    for (const auto& [id, v] : rp) row.values[Tag(id, v.type)] = v;
    recipientRows.push_back(std::move(row));
  }
  {
    NodeBuilder table(ndb_, fmt::kHeapClientTableContext);
    BuildTableContext(table, recipientColumns, recipientRows);
    node.AddSubnode(table.Finish(fmt::kNidRecipientTable));
  }

  // Attachments, each a property context among the message's subnodes.
  uint64_t size = 0;
  std::vector<TableRow> attachmentRows;
  for (size_t i = 0; i < message.attachments.size(); ++i) {
    const Attachment& a = message.attachments[i];
    const uint32_t nid = fmt::MakeNid(fmt::kNidTypeAttachment, static_cast<uint32_t>(0x401 + i));
    NodeBuilder an(ndb_, fmt::kHeapClientPropertyContext);
    std::map<uint16_t, PropValue> ap = a.extra;
    ap[prop::kAttachNumber] = PropValue::Long(static_cast<int32_t>(i));
    ap[prop::kRenderingPosition] = PropValue::Long(-1);
    if (!a.displayName.empty()) ap[prop::kDisplayName] = PropValue::Unicode(a.displayName);
    if (!a.longFileName.empty()) ap[prop::kAttachLongFilename] = PropValue::Unicode(a.longFileName);
    const std::string shortName = a.fileName.empty() ? a.longFileName : a.fileName;
    if (!shortName.empty()) ap[prop::kAttachFilename] = PropValue::Unicode(shortName);
    const std::string ext = Extension(a.longFileName.empty() ? shortName : a.longFileName);
    if (!ext.empty()) ap[prop::kAttachExtension] = PropValue::Unicode(ext);
    if (!a.mimeTag.empty()) ap[prop::kAttachMimeTag] = PropValue::Unicode(a.mimeTag);
    int32_t attachSize = 0;
    if (a.embedded) {
      NodeBuilder en(ndb_, fmt::kHeapClientPropertyContext);
      const auto embeddedProps = BuildMessage(en, *a.embedded);
      const uint32_t embeddedNid = an.NewSubnodeNid(fmt::kNidTypeNormalMessage);
      an.AddSubnode(en.Finish(embeddedNid));
      std::memcpy(&attachSize, embeddedProps.at(prop::kMessageSize).data.data(), 4);
      std::vector<uint8_t> object(8);
      std::memcpy(object.data(), &embeddedNid, 4);
      std::memcpy(object.data() + 4, &attachSize, 4);
      ap[prop::kAttachDataBinary] = PropValue{fmt::kPtObject, object};
      ap[prop::kAttachMethod] = PropValue::Long(kAttachEmbeddedMsg);
    } else {
      ap[prop::kAttachDataBinary] = PropValue::Binary(a.data);
      ap[prop::kAttachMethod] = PropValue::Long(kAttachByValue);
      attachSize = static_cast<int32_t>(a.data.size());
    }
    ap[prop::kAttachSize] = PropValue::Long(attachSize);
    size += static_cast<uint32_t>(attachSize);
    BuildPropertyContext(an, ap);
    node.AddSubnode(an.Finish(nid));
    attachmentRows.push_back(RowFrom(nid, ap, AttachmentColumns()));
    if (!a.longFileName.empty())
      attachmentRows.back().values[Tag(prop::kAttachFilename, fmt::kPtUnicode)] =
          PropValue::Unicode(a.longFileName);
  }
  if (!message.attachments.empty()) {
    NodeBuilder table(ndb_, fmt::kHeapClientTableContext);
    BuildTableContext(table, AttachmentColumns(), attachmentRows);
    node.AddSubnode(table.Finish(fmt::kNidAttachmentTable));
  }

  if (!props.count(prop::kMessageFlags))
    props[prop::kMessageFlags] =
        PropValue::Long(kMsgFlagRead | (message.attachments.empty() ? 0 : kMsgFlagHasAttach));
  if (!props.count(prop::kImportance)) props[prop::kImportance] = PropValue::Long(1);
  for (const auto& [id, v] : props) size += v.data.size();
  props[prop::kMessageSize] = PropValue::Long(static_cast<int32_t>(std::min<uint64_t>(size, 0x7FFFFFFF)));
  BuildPropertyContext(node, props);
  return props;
}

TableRow Writer::WriteTopMessage(const Message& message, uint32_t nid, uint32_t folderNid) {
  NodeBuilder node(ndb_, fmt::kHeapClientPropertyContext);
  const auto props = BuildMessage(node, message);
  const SubnodeRef ref = node.Finish(nid);
  ndb_.AddNode(nid, ref.bidData, ref.bidSub, folderNid);
  return RowFrom(nid, props, ContentsColumns());
}

Writer::FolderRow Writer::WriteFolderNodes(uint32_t nid, uint32_t parent, const std::string& name,
                                           const std::string& cls, const std::vector<FolderRow>& children,
                                           const std::vector<TableRow>& contents,
                                           const std::vector<TableRow>& associated) {
  std::map<uint16_t, PropValue> props;
  props[prop::kDisplayName] = PropValue::Unicode(name);
  props[prop::kContentCount] = PropValue::Long(static_cast<int32_t>(contents.size()));
  props[prop::kContentUnreadCount] = PropValue::Long(0);
  props[prop::kSubfolders] = PropValue::Bool(!children.empty());
  props[prop::kAssocContentCount] = PropValue::Long(static_cast<int32_t>(associated.size()));
  if (!cls.empty()) props[prop::kContainerClass] = PropValue::Unicode(cls);

  NodeBuilder pc(ndb_, fmt::kHeapClientPropertyContext);
  BuildPropertyContext(pc, props);
  const SubnodeRef pcRef = pc.Finish(nid);
  ndb_.AddNode(nid, pcRef.bidData, pcRef.bidSub, parent);

  std::vector<TableRow> hierarchy;
  for (const auto& child : children) hierarchy.push_back(RowFrom(child.nid, child.props, HierarchyColumns()));
  const std::pair<uint32_t, const std::vector<TableRow>*> tables[] = {
      {fmt::kNidTypeHierarchyTable, &hierarchy},
      {fmt::kNidTypeContentsTable, &contents},
      {fmt::kNidTypeAssocContentsTable, &associated},
  };
  for (const auto& [type, rows] : tables) {
    NodeBuilder tc(ndb_, fmt::kHeapClientTableContext);
    BuildTableContext(tc, type == fmt::kNidTypeHierarchyTable ? HierarchyColumns() : ContentsColumns(),
                      *rows);
    const uint32_t tableNid = fmt::FolderTableNid(nid, type);
    const SubnodeRef ref = tc.Finish(tableNid);
    ndb_.AddNode(tableNid, ref.bidData, ref.bidSub, 0);
  }
  return {nid, props};
}

Writer::FolderRow Writer::WriteFolder(const Folder& folder, uint32_t nid, uint32_t parent) {
  std::vector<FolderRow> children;
  for (const auto& child : folder.folders) {
    if (nextFolderIndex_ >= (1u << 27)) throw std::invalid_argument("too many folders");
    const uint32_t childNid = fmt::MakeNid(fmt::kNidTypeNormalFolder, nextFolderIndex_++);
    children.push_back(WriteFolder(child, childNid, nid));
  }
  std::vector<TableRow> contents, associated;
  auto next = [&](uint32_t& index, uint32_t type) {
    if (index >= (1u << 27)) throw std::invalid_argument("too many messages");
    return fmt::MakeNid(type, index++);
  };
  for (const auto& m : folder.messages)
    contents.push_back(WriteTopMessage(m, next(nextMessageIndex_, fmt::kNidTypeNormalMessage), nid));
  for (size_t i = 0; i < folder.generatedCount; ++i)
    contents.push_back(
        WriteTopMessage(folder.generator(i), next(nextMessageIndex_, fmt::kNidTypeNormalMessage), nid));
  for (const auto& m : folder.associated)
    associated.push_back(WriteTopMessage(m, next(nextAssocIndex_, fmt::kNidTypeAssocMessage), nid));
  return WriteFolderNodes(nid, parent, folder.name, folder.containerClass, children, contents, associated);
}

void Writer::Run() {
  // The IPM subtree's children; "Deleted Items" at the top level keeps its well-known node.
  std::vector<FolderRow> ipmChildren;
  for (const auto& folder : store_.folders) {
    uint32_t nid;
    if (folder.name == "Deleted Items" && !hasWastebasket_) {
      nid = kNidDeletedItems;
      hasWastebasket_ = true;
    } else {
      nid = fmt::MakeNid(fmt::kNidTypeNormalFolder, nextFolderIndex_++);
    }
    ipmChildren.push_back(WriteFolder(folder, nid, kNidIpmSubtree));
  }
  const FolderRow ipm =
      WriteFolderNodes(kNidIpmSubtree, fmt::kNidRootFolder, store_.ipmSubtreeName, "", ipmChildren, {}, {});
  const FolderRow search =
      WriteFolderNodes(kNidSearchRoot, fmt::kNidRootFolder, "Search Root", "", {}, {}, {});
  WriteFolderNodes(fmt::kNidRootFolder, fmt::kNidRootFolder, "", "", {ipm, search}, {}, {});

  // Templates of empty tables, as a new file carries them.
  WriteEmptyTable(fmt::kNidHierarchyTableTemplate, HierarchyColumns());
  WriteEmptyTable(fmt::kNidContentsTableTemplate, ContentsColumns());
  WriteEmptyTable(fmt::kNidAssocContentsTableTemplate, ContentsColumns());
  WriteEmptyTable(fmt::kNidSearchContentsTableTemplate, ContentsColumns());
  WriteEmptyTable(fmt::kNidAttachmentTable, AttachmentColumns());
  WriteEmptyTable(fmt::kNidRecipientTable, RecipientColumns());

  {
    NodeBuilder map(ndb_, fmt::kHeapClientPropertyContext);
    BuildPropertyContext(map, names_.Properties());
    const SubnodeRef ref = map.Finish(fmt::kNidNameToIdMap);
    ndb_.AddNode(fmt::kNidNameToIdMap, ref.bidData, ref.bidSub, 0);
  }
  {
    std::map<uint16_t, PropValue> props;
    props[prop::kRecordKey] =
        PropValue::Binary(std::vector<uint8_t>(store_.recordKey.bytes.begin(), store_.recordKey.bytes.end()));
    props[prop::kDisplayName] = PropValue::Unicode(store_.displayName);
    props[prop::kIpmSubtreeEntryId] = PropValue::Binary(EntryId(kNidIpmSubtree));
    props[prop::kFinderEntryId] = PropValue::Binary(EntryId(kNidSearchRoot));
    int32_t valid = 0x1 | 0x80;  // IPM subtree, finder
    if (hasWastebasket_) {
      props[prop::kIpmWastebasketEntryId] = PropValue::Binary(EntryId(kNidDeletedItems));
      valid |= 0x8;
    }
    props[prop::kValidFolderMask] = PropValue::Long(valid);
    props[prop::kPstPassword] = PropValue::Long(0);
    NodeBuilder pc(ndb_, fmt::kHeapClientPropertyContext);
    BuildPropertyContext(pc, props);
    const SubnodeRef ref = pc.Finish(fmt::kNidMessageStore);
    ndb_.AddNode(fmt::kNidMessageStore, ref.bidData, ref.bidSub, 0);
  }
  ndb_.Finish();
}

}  // namespace

void WritePst(const Store& store, const std::string& path) {
  Writer writer(store, path);
  writer.Run();
}

}  // namespace pstbuilder
