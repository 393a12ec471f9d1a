// Folder, folder collection and item collection of the "Redemption.RDOSession" stand-in.
#include "RdoFolder.h"

#include "RdoItem.h"

namespace automation {

FolderNode::Ptr FolderNode::FromSource(std::shared_ptr<PstFolder> folder) {
  auto node = std::make_shared<FolderNode>();
  try {
    node->name = ToWide(folder->Name());
    node->containerClass = ToWide(folder->ContainerClass());
  } catch (const std::exception& error) {
    node->unreadable = Widen(error.what());
  }
  node->source = std::move(folder);
  return node;
}

const std::vector<FolderNode::Ptr>& FolderNode::Children() {
  if (!childrenRead) {
    std::vector<Ptr> read;
    if (source) {
      for (const std::shared_ptr<PstFolder>& child : source->SubFolders()) read.push_back(FromSource(child));
    }
    // Folders added before the first read stay after the stored ones.
    children.insert(children.begin(), read.begin(), read.end());
    childrenRead = true;
  }
  return children;
}

namespace {

// Fields: one of the folder's own properties by its tag (PR_CONTENT_COUNT, 0x36020003, say).
constexpr DISPID kFields = 0x14;

// A stored value as the caller reads it: integers and texts; any other type, and an absent property,
// as VT_EMPTY.
void SetStoredValue(VARIANT* result, const std::optional<PropValue>& value) {
  if (!value) return;
  if (const auto* number = std::get_if<int64_t>(&*value)) {
    SetInteger(result, static_cast<long>(*number));
  } else if (const auto* text = std::get_if<std::u16string>(&*value)) {
    SetText(result, ToWide(*text));
  }
}

}  // namespace

const std::vector<DispatchMember>& RdoFolder::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x0, kGet, L"Name", 0, 0},
      {0x11, kGet, L"Items", 0, 0},
      {0x12, kGet, L"Folders", 0, 0},
      {kFields, kGet, L"Fields", 1, 1},  // a property of the folder's own, by its tag
      {0x6, kMethod, L"Save", 0, 0},
  };
  return kMembers;
}

void RdoFolder::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  if (!node_->unreadable.empty() && member.id != 0x6) throw DispatchError(node_->unreadable);
  switch (member.id) {
    case kFields: {
      const auto tag = static_cast<uint32_t>(args.Integer(0));
      if (node_->source) SetStoredValue(result, node_->source->Property(static_cast<uint16_t>(tag >> 16)));
      return;
    }
    case 0x0:
      SetText(result, node_->name);
      return;
    case 0x11:
      SetObject(result, new RdoItems(context_, node_));
      return;
    case 0x12:
      SetObject(result, new RdoFolders(context_, node_));
      return;
    case 0x6:
      return;  // nothing to save: the stand-in never writes to the file
  }
}

const std::vector<DispatchMember>& RdoFolders::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x4, kMethod, L"Add", 1, 2},
      {0x5, kMethod, L"GetFirst", 0, 0},
      {0x7, kMethod, L"GetNext", 0, 0},
  };
  return kMembers;
}

IDispatch* RdoFolders::FolderAt(size_t index) {
  const std::vector<FolderNode::Ptr>& children = parent_->Children();
  if (index >= children.size()) return nullptr;
  next_ = index + 1;
  return new RdoFolder(context_, children[index]);
}

void RdoFolders::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  switch (member.id) {
    case 0x4: {
      // The folder exists for this session only; the PST is never written.
      std::wstring name = args.Text(0);
      if (name.empty()) throw DispatchError(L"Folders.Add: a folder needs a name");
      auto node = std::make_shared<FolderNode>();
      node->name = name;
      node->containerClass =
          args.Count() > 1 && !args.IsMissing(1) ? args.Text(1) : std::wstring(L"IPF.Note");
      node->childrenRead = true;
      parent_->Children();
      parent_->children.push_back(node);
      SetObject(result, new RdoFolder(context_, node));
      return;
    }
    case 0x5:
      SetObject(result, FolderAt(0));
      return;
    case 0x7:
      SetObject(result, FolderAt(next_));
      return;
  }
}

const std::vector<DispatchMember>& RdoItems::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x1, kGet, L"Count", 0, 0},
      {0x9, kMethod, L"Item", 1, 1},
  };
  return kMembers;
}

size_t RdoItems::Count() { return folder_->source ? folder_->source->MessageCount() : 0; }

void RdoItems::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  switch (member.id) {
    case 0x1:
      if (context_.session->faults.CountCall("rdo.count")) RaiseInjectedFault("rdo.count");
      SetInteger(result, static_cast<long>(Count()));
      return;
    case 0x9: {
      long index = args.Integer(0);
      if (context_.session->faults.CountCall("rdo.item")) RaiseInjectedFault("rdo.item");
      size_t count = Count();
      if (index < 1 || static_cast<size_t>(index) > count)
        throw DispatchError(L"Items.Item: index " + std::to_wstring(index) + L" is out of range (1 to " +
                                std::to_wstring(count) + L")",
                            DISP_E_BADINDEX);
      std::shared_ptr<PstMessage> message = folder_->source->Message(static_cast<size_t>(index - 1));
      if (!message)
        throw DispatchError(L"Items.Item: message " + std::to_wstring(index) + L" cannot be read");
      SetObject(result, new RdoItem(context_, std::move(message)));
      return;
    }
  }
}

}  // namespace automation
