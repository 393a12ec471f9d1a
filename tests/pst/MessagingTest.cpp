// The messaging layer on real files: folder order, named properties of each item kind, nested
// messages, recipients, attachments, bodies and code pages; and a walk that survives a bad message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "TestFiles.h"
#include "pst/Messaging.h"
#include "pst/format/Layout.h"

using namespace pst;

namespace {

std::unique_ptr<Store> OpenFixture(const std::string& name, uint32_t codePage = 1252) {
  StoreOptions options;
  options.defaultCodePage = codePage;
  return Store::Open(testsupport::FixturePath("pst/" + name), options);
}

std::unique_ptr<Folder> FolderByPath(Store& store, const std::vector<std::string>& path) {
  auto folder = store.OpenFolder(store.RootFolderNid());
  for (const auto& name : path) {
    std::unique_ptr<Folder> next;
    for (uint32_t child : folder->ChildFolders()) {
      auto candidate = store.OpenFolder(child);
      if (candidate->DisplayName() == name) next = std::move(candidate);
    }
    if (!next) {
      ADD_FAILURE() << "no folder " << name;
      return nullptr;
    }
    folder = std::move(next);
  }
  return folder;
}

std::vector<std::string> ChildNames(Store& store, const Folder& folder) {
  std::vector<std::string> names;
  for (uint32_t child : folder.ChildFolders()) names.push_back(store.OpenFolder(child)->DisplayName());
  return names;
}

const char* const kTop =
    "Outlook \xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF "
    "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\xAE\xE3\x83\x88\xE3\x83\x83\xE3\x83\x97";

}  // namespace

TEST(Messaging, FoldersComeInStoredOrderAndTheIpmSubtreeIsNamed) {
  auto store = OpenFixture("hht-three-items.pst");
  auto top = FolderByPath(*store, {kTop});
  ASSERT_TRUE(top);
  ASSERT_TRUE(store->IpmSubtreeNid().has_value());
  EXPECT_EQ(*store->IpmSubtreeNid(), top->Nid());
  const auto names = ChildNames(*store, *top);
  // first, second and third were created in that order, after the default folders.
  auto at = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
  EXPECT_LT(at("first"), at("second"));
  EXPECT_LT(at("second"), at("third"));
  EXPECT_LT(static_cast<size_t>(at("third")), names.size());
  EXPECT_EQ(top->Messages().size(), 1u);
  EXPECT_FALSE(top->IsSearchFolder());
}

TEST(Messaging, AssociatedContentsAreKeptApart) {
  auto store = OpenFixture("ost-exchange-sample.ost");
  size_t normal = 0, associated = 0;
  std::vector<uint32_t> pending{store->RootFolderNid()};
  while (!pending.empty()) {
    auto folder = store->OpenFolder(pending.back());
    pending.pop_back();
    for (uint32_t child : folder->ChildFolders()) pending.push_back(child);
    normal += folder->Messages().size();
    for (uint32_t nid : folder->AssociatedMessages()) {
      EXPECT_EQ(format::NidTypeOf(nid), format::kNidTypeAssocMessage);
      ++associated;
    }
  }
  EXPECT_EQ(normal, 92u);
  EXPECT_GE(associated, 14u);
}

TEST(Messaging, AppointmentContactAndTaskNamedProperties) {
  auto store = OpenFixture("aspose-outlook-mixed.pst");
  auto calendar = FolderByPath(*store, {"Top of Personal Folders", "Calendar"});
  ASSERT_TRUE(calendar);
  auto appointment = store->OpenMessage(calendar->Messages().at(0));
  EXPECT_EQ(appointment->MessageClass(), "IPM.Appointment");
  auto start = appointment->GetNamed(kPsetidAppointment, 0x820D);
  auto end = appointment->GetNamed(kPsetidAppointment, 0x820E);
  auto location = appointment->GetNamed(kPsetidAppointment, 0x8208);
  ASSERT_TRUE(start && end && location);
  EXPECT_EQ(FormatFileTime(start->AsInt()), "2011-06-22 05:30:00");
  EXPECT_EQ(FormatFileTime(end->AsInt()), "2011-06-22 06:00:00");
  EXPECT_EQ(location->AsUtf8(appointment->CodePage()), "Room 5");

  auto contacts = FolderByPath(*store, {"Top of Personal Folders", "Contacts"});
  ASSERT_TRUE(contacts);
  auto contact = store->OpenMessage(contacts->Messages().at(0));
  EXPECT_EQ(contact->String(prop::kDisplayName), "Saqib Razzaq");
  EXPECT_EQ(contact->String(0x3A06), "Saqib");  // PR_GIVEN_NAME
  auto email = contact->GetNamed(kPsetidAddress, 0x8083);
  ASSERT_TRUE(email);
  EXPECT_EQ(email->AsUtf8(contact->CodePage()), "saqib.razzaq@xp.local");
  EXPECT_FALSE(contact->GetNamed(kPsetidAddress, 0x7FFF).has_value());

  auto tasksStore = OpenFixture("iped-ptbr-mixed.pst");
  auto tasks = FolderByPath(*tasksStore, {"In\xC3\xAD"
                                          "cio de Pastas Particulares",
                                          "Tarefas"});
  ASSERT_TRUE(tasks);
  auto task = tasksStore->OpenMessage(tasks->Messages().at(0));
  EXPECT_EQ(task->MessageClass(), "IPM.Task");
  EXPECT_EQ(task->Subject(), "Lavar o carro do Senhor Miyazaki");
  auto due = task->GetNamed(kPsetidTask, 0x8105);
  ASSERT_TRUE(due);
  EXPECT_EQ(FormatFileTime(due->AsInt()), "2021-04-28 00:00:00");
}

TEST(Messaging, NamedPropertiesByStringName) {
  auto store = OpenFixture("aspose-readers-disagree.pst");
  auto id = store->NamedProperties().Find(kPsPublicStrings, std::string("Keywords"));
  ASSERT_TRUE(id.has_value());
  const NamedProperty* named = store->NamedProperties().NameOf(*id);
  ASSERT_NE(named, nullptr);
  EXPECT_TRUE(named->isString);
  EXPECT_EQ(named->name, "Keywords");
  EXPECT_FALSE(store->NamedProperties().Find(kPsPublicStrings, std::string("NoSuchName")).has_value());
}

TEST(Messaging, EmbeddedMessagesNestTwoLevels) {
  auto store = OpenFixture("hht-msg-in-msg-in-msg.pst");
  auto top = FolderByPath(*store, {kTop});
  ASSERT_TRUE(top);
  auto outer = store->OpenMessage(top->Messages().at(0));
  EXPECT_EQ(outer->Subject(), "I have sub attachments!");
  auto attachments = outer->Attachments();
  ASSERT_EQ(attachments.size(), 2u);
  const Attachment* embedded = nullptr;
  for (auto& a : attachments)
    if (a->IsEmbeddedMessage()) embedded = a.get();
  ASSERT_NE(embedded, nullptr);
  EXPECT_EQ(embedded->Method(), kAttachEmbeddedMessage);
  auto middle = embedded->OpenEmbeddedMessage();
  EXPECT_EQ(middle->Subject(), "I have attachments!");
  bool foundInner = false;
  for (auto& a : middle->Attachments()) {
    if (!a->IsEmbeddedMessage()) continue;
    auto inner = a->OpenEmbeddedMessage();
    EXPECT_EQ(inner->Subject(),
              "Microsoft Outlook \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 "
              "\xE3\x83\xA1\xE3\x83\x83\xE3\x82\xBB\xE3\x83\xBC\xE3\x82\xB8");
    EXPECT_EQ(inner->Recipients().size(), 1u);
    foundInner = true;
  }
  EXPECT_TRUE(foundInner);
  // A by-value attachment is not a message.
  for (auto& a : attachments)
    if (!a->IsEmbeddedMessage()) {
      EXPECT_THROW(a->OpenEmbeddedMessage(), PstError);
    }
}

TEST(Messaging, TwoHundredRecipientsWithTypesAndNames) {
  auto store = OpenFixture("hht-200-recipients.pst");
  auto top = FolderByPath(*store, {kTop});
  ASSERT_TRUE(top);
  auto message = store->OpenMessage(top->Messages().at(0));
  auto recipients = message->Recipients();
  ASSERT_EQ(recipients.size(), 200u);
  for (const auto& r : recipients) {
    EXPECT_FALSE(r.String(prop::kDisplayName).empty());
    EXPECT_GE(r.Type(), 1);
    EXPECT_LE(r.Type(), 3);
  }
}

TEST(Messaging, AnsiStringsUseTheCallersCodePage) {
  auto japanese = OpenFixture("hht-ansi-cp932.pst", 932);
  auto top = FolderByPath(*japanese, {kTop});
  ASSERT_TRUE(top);
  auto message = japanese->OpenMessage(top->Messages().at(0));
  EXPECT_EQ(
      message->Subject(),
      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E Non Unicode \xE3\x82\xBF\xE3\x82\xA4\xE3\x83\x88\xE3\x83\xAB");
  // Read as Windows-1252 the same bytes give other text, and the folder is not found by name.
  auto western = OpenFixture("hht-ansi-cp932.pst");
  EXPECT_NE(ChildNames(*western, *western->OpenFolder(western->RootFolderNid()))[0], kTop);
}

TEST(Messaging, AttachmentsByValueWithNamesAndBytes) {
  auto store = OpenFixture("hht-unicode-attachment-name.pst");
  auto top = FolderByPath(*store, {kTop});
  ASSERT_TRUE(top);
  auto message = store->OpenMessage(top->Messages().at(0));
  auto attachments = message->Attachments();
  ASSERT_EQ(attachments.size(), 3u);
  bool sawError = false;
  for (auto& a : attachments) {
    EXPECT_EQ(a->Method(), kAttachByValue);
    const std::string name = a->FileName();
    if (name.find("\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC Error") == 0) sawError = true;
    Stream data = a->OpenData();
    ASSERT_GT(data.Size(), 8u);
    uint8_t signature[4];
    data.Read(0, signature, 4);
    EXPECT_EQ(std::memcmp(signature, "\x89PNG", 4), 0) << name;
    EXPECT_EQ(a->DataSize(), data.ReadAll().size());
  }
  EXPECT_TRUE(sawError);

  auto sample = OpenFixture("pstsdk-sample2-ansi.pst");
  auto folder = FolderByPath(*sample, {"Top of Outlook data file", "Sample2"});
  ASSERT_TRUE(folder);
  auto jpegMessage = sample->OpenMessage(folder->Messages().at(0));
  auto jpegAttachments = jpegMessage->Attachments();
  ASSERT_EQ(jpegAttachments.size(), 1u);
  auto& jpeg = jpegAttachments[0];
  EXPECT_EQ(jpeg->FileName(), "leah_thumper.jpg");
  std::vector<uint8_t> bytes = jpeg->OpenData().ReadAll();
  EXPECT_EQ(bytes.size(), 93142u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
}

TEST(Messaging, OleAttachmentsGiveTheirCompoundFile) {
  auto store = OpenFixture("ost-exchange-sample.ost");
  size_t ole = 0;
  std::vector<uint32_t> pending{store->RootFolderNid()};
  while (!pending.empty()) {
    auto folder = store->OpenFolder(pending.back());
    pending.pop_back();
    for (uint32_t child : folder->ChildFolders()) pending.push_back(child);
    for (uint32_t nid : folder->Messages()) {
      for (auto& a : store->OpenMessage(nid)->Attachments()) {
        if (a->Method() != kAttachOle) continue;
        ++ole;
        uint8_t signature[8];
        Stream data = a->OpenData();
        ASSERT_GE(data.Size(), 8u);
        data.Read(0, signature, 8);
        EXPECT_EQ(std::memcmp(signature, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), 0);
      }
    }
  }
  EXPECT_EQ(ole, 12u);
}

TEST(Messaging, HtmlBodyRecoveredFromRtfOnlyMessage) {
  auto store = OpenFixture("hht-attach-and-inline-ja.pst");
  auto top = FolderByPath(*store, {kTop});
  ASSERT_TRUE(top);
  auto message = store->OpenMessage(top->Messages().at(0));
  EXPECT_FALSE(message->Get(prop::kHtml).has_value());
  auto rtf = message->BodyRtf();
  ASSERT_TRUE(rtf);
  EXPECT_EQ(rtf->rfind("{\\rtf1\\ansi\\ansicpg932\\fromhtml1", 0), 0u);
  auto html = message->BodyHtml();
  ASSERT_TRUE(html);
  EXPECT_EQ(html->rfind("<html", 0), 0u);
  EXPECT_NE(html->find("</html>"), std::string::npos);
  EXPECT_NE(html->find("cid:image001.png"), std::string::npos);
}

TEST(Messaging, DamagedMessageDoesNotStopTheWalk) {
  std::string bytes = testsupport::ReadFileBytes(testsupport::FixturePath("pst/aspose-contacts-72.pst"));
  ASSERT_FALSE(bytes.empty());
  uint32_t victim = 0;
  {
    Store store(std::make_unique<PstFile>(MemorySource(bytes)));
    auto folder = FolderByPath(store, {"Top of Personal Folders", "myInbox"});
    ASSERT_TRUE(folder);
    victim = folder->Messages().at(10);
    NodeEntry node = store.File().GetNode(victim);
    BlockEntry block;
    ASSERT_TRUE(store.File().FindBlock(node.bidData, &block));
    bytes[block.ib + 20] ^= 0x5A;
  }
  Store store(std::make_unique<PstFile>(MemorySource(bytes)));
  auto folder = FolderByPath(store, {"Top of Personal Folders", "myInbox"});
  ASSERT_TRUE(folder);
  size_t good = 0;
  for (uint32_t nid : folder->Messages()) {
    try {
      EXPECT_EQ(store.OpenMessage(nid)->MessageClass(), "IPM.Contact");
      ++good;
    } catch (const PstError& e) {
      EXPECT_EQ(nid, victim);
      EXPECT_EQ(e.Kind(), ErrorKind::kCorrupt);
      EXPECT_NE(std::string(e.what()).find("corrupt block"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(good, 71u);
}

TEST(Messaging, TruncatedFileGivesWhatIsThereAndTruncationErrors) {
  std::string bytes = testsupport::ReadFileBytes(testsupport::FixturePath("pst/aspose-contacts-72.pst"));
  ASSERT_FALSE(bytes.empty());
  bytes.resize(bytes.size() * 3 / 4);
  std::unique_ptr<Store> store;
  try {
    store = std::make_unique<Store>(std::make_unique<PstFile>(MemorySource(bytes)));
  } catch (const PstError& e) {
    // The store's own nodes may lie in the lost part; then that is what the error says.
    EXPECT_EQ(e.Kind(), ErrorKind::kTruncated) << e.what();
    return;
  }
  EXPECT_TRUE(store->File().Info().truncated);
  size_t read = 0, truncated = 0;
  try {
    auto folder = FolderByPath(*store, {"Top of Personal Folders", "myInbox"});
    ASSERT_TRUE(folder);
    for (uint32_t nid : folder->Messages()) {
      try {
        store->OpenMessage(nid)->MessageClass();
        ++read;
      } catch (const PstError& e) {
        EXPECT_EQ(e.Kind(), ErrorKind::kTruncated) << e.what();
        ++truncated;
      }
    }
  } catch (const PstError& e) {
    EXPECT_EQ(e.Kind(), ErrorKind::kTruncated) << e.what();
  }
  EXPECT_TRUE(read + truncated == 0 || read + truncated == 72u) << read << " + " << truncated;
}
