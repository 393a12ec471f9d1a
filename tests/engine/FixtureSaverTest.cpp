// Every item of the real fixture PSTs saved with the saver of its kind: each one is filed and reads
// back with the form of its kind, its subject and its attachments.
#include "SaverTestSupport.h"

using namespace enginetest;

namespace {

const char* const kFixtures[] = {"pstsdk-sample1-unicode.pst",
                                 "pstsdk-sample2-ansi.pst",
                                 "pstsdk-test-ansi-post.pst",
                                 "pstsdk-test-unicode-post.pst",
                                 "iped-ptbr-mixed.pst",
                                 "javalibpst-dist-list.pst",
                                 "hht-attach-and-inline-ja.pst",
                                 "hht-msg-in-msg-in-msg.pst",
                                 "hht-ansi-cp932.pst",
                                 "hht-contacts-ansi.pst",
                                 "hht-200-recipients.pst",
                                 "hht-unicode-attachment-name.pst",
                                 "hht-hello-cjk.pst",
                                 "hht-three-items.pst",
                                 "aspose-password-reports.pst",
                                 "aspose-outlook-mixed.pst",
                                 "aspose-contacts-72.pst",
                                 "aspose-readers-disagree.pst",
                                 "ost-exchange-sample.ost"};

struct Saved {
  std::string form;
  std::string subject;
  size_t attachments = 0;
};

class FixtureSavers : public SaverTest, public testing::WithParamInterface<const char*> {
 protected:
  void OpenFixture(const std::string& name) {
    ASSERT_TRUE(session_.CreateDispatch(L"Redemption.RDOSession"));
    session_.Logon(COleVariant(L""), COleVariant(0L), COleVariant(0L), COleVariant(1L), COleVariant(0L),
                   COleVariant(0L));
    RdoStoresDispatch stores(session_.GetStores());
    pst_.AttachDispatch(stores.AddPstStore(ToCString(testsupport::FixturePath("pst/" + name)),
                                           COleVariant(1L), COleVariant(L"")));
    ASSERT_TRUE(pst_.m_lpDispatch);
  }

  // Saves every item below folder, as the item loop routes them; what each should read back as.
  void SaveFolder(RdoFolderDispatch& folder) {
    RdoItemsDispatch items(folder.GetItems());
    const long count = items.GetCount();
    for (long i = 1; i <= count; i++) {
      RdoMailDispatch item(items.Item(COleVariant(i)));
      const CString messageClass = item.GetMessageClass();
      Saved expected;
      expected.subject = Utf8(item.GetSubject());
      RdoAttachmentsDispatch attachments(item.GetAttachments());
      expected.attachments = static_cast<size_t>(attachments.GetCount());
      if (messageClass == L"IPM.Appointment") {
        RdoAppointmentDispatch kind(items.Item(COleVariant(i)));
        expected.form = "Appointment";
        store_.SaveAppointment(&kind);
      } else if (messageClass == L"IPM.Task") {
        RdoTaskDispatch kind(items.Item(COleVariant(i)));
        expected.form = "Task";
        store_.SaveTask(&kind);
      } else if (messageClass == L"IPM.Activity") {
        RdoJournalDispatch kind(items.Item(COleVariant(i)));
        expected.form = "JournalEntry";
        store_.SaveJournal(&kind);
      } else if (messageClass == L"IPM.Contact") {
        RdoContactDispatch kind(items.Item(COleVariant(i)));
        expected.form = "Person";
        expected.attachments = 0;
        store_.SaveContact(&kind);
      } else {
        expected.form = "Memo";
        store_.SaveMail(&item);
      }
      expected_.push_back(expected);
    }
    RdoFoldersDispatch children(folder.GetFolders());
    for (RdoFolderDispatch f(children.GetFirst()); f.m_lpDispatch; f.AttachDispatch(children.GetNext()))
      SaveFolder(f);
  }

  static std::string Utf8(const CString& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], length, nullptr, nullptr);
    return utf8;
  }

  std::vector<Saved> expected_;
};

}  // namespace

TEST_P(FixtureSavers, EveryItemIsFiledWithItsFormSubjectAndAttachments) {
  try {
    OpenFixture(GetParam());
    RdoFolderDispatch root(pst_.GetRootFolder());
    SaveFolder(root);
  } catch (CException* e) {
    wchar_t message[512] = L"";
    e->GetErrorMessage(message, 512);
    e->Delete();
    FAIL() << "automation failure: " << CString(message);
  }
  EXPECT_FALSE(expected_.empty());
  const std::vector<LNDocument> notes = Filed();
  ASSERT_EQ(expected_.size(), notes.size());
  for (size_t i = 0; i < notes.size(); i++) {
    EXPECT_EQ(expected_[i].form, Text(notes[i], "Form")) << i;
    EXPECT_EQ(expected_[i].subject, Text(notes[i], "Subject")) << i;
    EXPECT_EQ(expected_[i].attachments, AttachmentNames(notes[i]).size()) << i;
    EXPECT_FALSE(Named(notes[i], "Body").empty()) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(RealFiles, FixtureSavers, testing::ValuesIn(kFixtures));
