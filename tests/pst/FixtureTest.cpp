// Every real fixture file opens and walks completely, with the folder and message-class counts
// other readers agree on (libpff, with the right code page; see the cross-check script).
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "TestFiles.h"
#include "pst/Messaging.h"

using namespace pst;

namespace {

struct Expected {
  const char* file;
  int count;
  const char* messageClass;
  const char* folder;
};

const Expected kExpected[] = {
    {"aspose-contacts-72.pst", 72, "IPM.Contact", "Top of Personal Folders/myInbox"},
    {"aspose-outlook-mixed.pst", 1, "IPM.Microsoft.ScheduleData.FreeBusy", "Freebusy Data"},
    {"aspose-outlook-mixed.pst", 1, "IPM.Appointment", "Top of Personal Folders/Calendar"},
    {"aspose-outlook-mixed.pst", 1, "IPM.Contact", "Top of Personal Folders/Contacts"},
    {"aspose-outlook-mixed.pst", 8, "IPM.Note", "Top of Personal Folders/Inbox"},
    {"aspose-outlook-mixed.pst", 6, "IPM.Note", "Top of Personal Folders/Sent Items"},
    {"aspose-password-reports.pst", 7, "IPM.Note", "Top of Personal Folders/Deleted Items"},
    {"aspose-password-reports.pst", 4, "REPORT.IPM.Note.DR", "Top of Personal Folders/Deleted Items"},
    {"aspose-password-reports.pst", 1, "REPORT.IPM.Note.IPNRN", "Top of Personal Folders/Deleted Items"},
    {"aspose-password-reports.pst", 2, "REPORT.IPM.Note.NDR", "Top of Personal Folders/Deleted Items"},
    {"aspose-password-reports.pst", 4, "IPM.Note", "Top of Personal Folders/Inbox"},
    {"aspose-readers-disagree.pst", 9, "IPM.Appointment", "Top of Personal Folders/Calendar"},
    {"aspose-readers-disagree.pst", 21, "IPM.Contact", "Top of Personal Folders/Contacts"},
    {"aspose-readers-disagree.pst", 31, "IPM.Note", "Top of Personal Folders/Sent Items"},
    {"hht-200-recipients.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"hht-ansi-cp932.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"hht-attach-and-inline-ja.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"hht-contacts-ansi.pst", 1, "IPM.Contact", "Outlook データ ファイルのトップ/連絡先 (Contact dedicated)"},
    {"hht-hello-cjk.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"hht-msg-in-msg-in-msg.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"hht-three-items.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"hht-three-items.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ/first"},
    {"hht-three-items.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ/second"},
    {"hht-three-items.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ/third"},
    {"hht-unicode-attachment-name.pst", 1, "IPM.Note", "Outlook データ ファイルのトップ"},
    {"iped-ptbr-mixed.pst", 3, "IPM.Note", "Início de Pastas Particulares/Caixa de Entrada"},
    {"iped-ptbr-mixed.pst", 1, "IPM.Appointment", "Início de Pastas Particulares/Calendar"},
    {"iped-ptbr-mixed.pst", 1, "IPM.Appointment", "Início de Pastas Particulares/Calendário"},
    {"iped-ptbr-mixed.pst", 1, "IPM.Contact", "Início de Pastas Particulares/Contatos"},
    {"iped-ptbr-mixed.pst", 1, "IPM.Note", "Início de Pastas Particulares/Itens Enviados"},
    {"iped-ptbr-mixed.pst", 4, "IPM.Appointment", "Início de Pastas Particulares/Itens Excluídos"},
    {"iped-ptbr-mixed.pst", 2, "IPM.Task", "Início de Pastas Particulares/Tarefas"},
    {"javalibpst-dist-list.pst", 1, "IPM.Microsoft.ScheduleData.FreeBusy", "Freebusy Data"},
    {"javalibpst-dist-list.pst", 1, "IPM.Appointment", "Top of Personal Folders/Calendar"},
    {"javalibpst-dist-list.pst", 1, "IPM.Contact", "Top of Personal Folders/Contacts"},
    {"javalibpst-dist-list.pst", 1, "IPM.DistList", "Top of Personal Folders/Contacts"},
    {"ost-exchange-sample.ost", 1, "IPM.Appointment", "Root - Mailbox/IPM_SUBTREE/Calendar"},
    {"ost-exchange-sample.ost", 4, "IPM.Appointment", "Root - Mailbox/IPM_SUBTREE/Deleted Items"},
    {"ost-exchange-sample.ost", 1, "IPM.Note", "Root - Mailbox/IPM_SUBTREE/Deleted Items"},
    {"ost-exchange-sample.ost", 5, "IPM.Schedule.Meeting.Request",
     "Root - Mailbox/IPM_SUBTREE/Deleted Items"},
    {"ost-exchange-sample.ost", 10, "IPM.Note", "Root - Mailbox/IPM_SUBTREE/Inbox"},
    {"ost-exchange-sample.ost", 1, "IPM.Schedule.Meeting.Request", "Root - Mailbox/IPM_SUBTREE/Inbox"},
    {"ost-exchange-sample.ost", 1, "REPORT.IPM.Note.NotSupportedICal.NDR",
     "Root - Mailbox/IPM_SUBTREE/Inbox"},
    {"ost-exchange-sample.ost", 25, "IPM.Note", "Root - Mailbox/IPM_SUBTREE/Inbox/sub1"},
    {"ost-exchange-sample.ost", 29, "IPM.Note", "Root - Mailbox/IPM_SUBTREE/Inbox/sub2"},
    {"ost-exchange-sample.ost", 6, "IPM.Note", "Root - Mailbox/IPM_SUBTREE/Sent Items"},
    {"ost-exchange-sample.ost", 9, "IPM.Note", "Root - Mailbox/IPM_SUBTREE/Sync Issues"},
    {"pstsdk-sample1-unicode.pst", 1, "IPM.Note", "Top of Outlook data file/Sample1"},
    {"pstsdk-sample2-ansi.pst", 1, "IPM.Note", "Top of Outlook data file/Sample2"},
    {"pstsdk-test-ansi-post.pst", 1, "IPM.Post", "Top of Personal Folders/Folder"},
    {"pstsdk-test-unicode-post.pst", 1, "IPM.Post", "Top of Personal Folders"},
    {"pstsdk-test-unicode-post.pst", 1, "IPM.Post", "Top of Personal Folders/Folder"},
};

const std::set<std::string> kCodePage932 = {"hht-ansi-cp932.pst", "hht-contacts-ansi.pst"};

// folder path -> message class -> count, walking every folder from the root in stored order.
std::map<std::pair<std::string, std::string>, int> Walk(const std::string& name, int* errors) {
  StoreOptions options;
  if (kCodePage932.count(name)) options.defaultCodePage = 932;
  auto store = Store::Open(testsupport::FixturePath("pst/" + name), options);
  std::map<std::pair<std::string, std::string>, int> counts;
  std::vector<std::pair<uint32_t, std::string>> pending{{store->RootFolderNid(), ""}};
  while (!pending.empty()) {
    auto [nid, path] = pending.back();
    pending.pop_back();
    auto folder = store->OpenFolder(nid);
    for (uint32_t child : folder->ChildFolders()) {
      const std::string childName = store->OpenFolder(child)->DisplayName();
      pending.push_back({child, path.empty() ? childName : path + "/" + childName});
    }
    for (uint32_t message : folder->Messages()) {
      try {
        auto opened = store->OpenMessage(message);
        counts[{path, opened->MessageClass()}]++;
        // Read what a converter reads: it must not fail on any fixture.
        opened->Subject();
        opened->BodyText();
        opened->BodyHtml();
        opened->Recipients();
        for (auto& attachment : opened->Attachments()) {
          attachment->FileName();
          if (attachment->IsEmbeddedMessage())
            attachment->OpenEmbeddedMessage()->Subject();
          else
            attachment->OpenData().ReadAll();
        }
      } catch (const PstError& e) {
        ADD_FAILURE() << name << " message " << Hex(message) << ": " << e.what();
        ++*errors;
      }
    }
  }
  return counts;
}

}  // namespace

TEST(Fixtures, EveryFileWalksWithTheAgreedCounts) {
  std::map<std::string, std::map<std::pair<std::string, std::string>, int>> expected;
  for (const auto& e : kExpected) expected[e.file][{e.folder, e.messageClass}] = e.count;
  ASSERT_EQ(expected.size(), 19u);
  for (const auto& [name, counts] : expected) {
    int errors = 0;
    EXPECT_EQ(Walk(name, &errors), counts) << name;
    EXPECT_EQ(errors, 0) << name;
  }
}
