// The in-memory PST source of the automation tests.
#include "FakePst.h"

namespace automationtest {

namespace {
std::optional<PropValue> Find(const std::map<uint16_t, std::pair<uint16_t, PropValue>>& props, uint16_t id) {
  auto it = props.find(id);
  if (it == props.end()) return std::nullopt;
  return it->second.second;
}
std::vector<StoredProperty> All(const std::map<uint16_t, std::pair<uint16_t, PropValue>>& props) {
  std::vector<StoredProperty> out;
  for (const auto& p : props) out.push_back({p.first, p.second.first, p.second.second, std::nullopt});
  return out;
}

// A store view whose destruction leaves the test's store alone.
struct StoreView : automation::PstStore {
  std::shared_ptr<FakeStore> store;
  std::u16string DisplayName() override { return store->DisplayName(); }
  std::shared_ptr<automation::PstFolder> IpmSubtree() override { return store->IpmSubtree(); }
  std::unique_ptr<automation::PstMessage> MessageByEntryId(const std::string& entryId) override {
    return store->MessageByEntryId(entryId);
  }
};
}  // namespace

std::optional<PropValue> FakeAttachment::Property(uint16_t id) { return Find(d_->properties, id); }
std::vector<StoredProperty> FakeAttachment::AllProperties() { return All(d_->properties); }
std::unique_ptr<automation::PstMessage> FakeAttachment::EmbeddedMessage() {
  if (!d_->embedded) return nullptr;
  return std::make_unique<FakeMessage>(d_->embedded);
}

std::optional<PropValue> FakeMessage::Property(uint16_t id) { return Find(d_->properties, id); }

std::optional<PropValue> FakeMessage::NamedProperty(const Guid& set, uint32_t lid) {
  for (const auto& n : d_->named)
    if (n.first.set == set && n.first.lid && *n.first.lid == lid) return n.second.second;
  return std::nullopt;
}

std::optional<PropValue> FakeMessage::NamedProperty(const Guid& set, const std::u16string& name) {
  for (const auto& n : d_->named)
    if (n.first.set == set && !n.first.lid && n.first.name == name) return n.second.second;
  return std::nullopt;
}

std::vector<StoredProperty> FakeMessage::AllProperties() {
  std::vector<StoredProperty> out = All(d_->properties);
  uint16_t next = 0x8000;
  for (const auto& n : d_->named) out.push_back({next++, n.second.first, n.second.second, n.first});
  return out;
}

std::unique_ptr<automation::PstAttachment> FakeMessage::Attachment(size_t index) {
  return std::make_unique<FakeAttachment>(d_->attachments.at(index));
}

automation::PstOpener FakeOpener(std::shared_ptr<FakeStore> store) {
  return [store](const std::wstring& path) -> std::unique_ptr<automation::PstStore> {
    if (path.find(L"missing") != std::wstring::npos) throw automation::SourceError("not a PST file");
    auto view = std::make_unique<StoreView>();
    view->store = store;
    return view;
  };
}

}  // namespace automationtest
