// The dispatch drivers against the stand-in servers created by ProgID: identifiers, kinds and
// types reach the right members, empty drivers do nothing, and failures arrive as exceptions.
#include "AutomationWrappers.h"
#include "EngineComTest.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

DATE Ole(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0) {
  SYSTEMTIME st = {year, month, 0, day, hour, minute, 0, 0};
  DATE date = 0;
  SystemTimeToVariantTime(&st, &date);
  return date;
}

class AutomationWrappers : public EngineComTest {
 protected:
  void SetUp() override {
    EngineComTest::SetUp();
    pb::Store store;
    pb::Folder& inbox = store.AddFolder("Inbox");
    pb::Message mail = Mail("Quarterly figures");
    mail.Sender("Sam Sender", "sam@example.com")
        .AddRecipient(1, "Ann", "ann@example.com")
        .AddRecipient(2, "Cy", "cy@example.com")
        .AddRecipient(3, "Dee", "dee@example.com")
        .SubmitTime(pb::FileTime(2020, 3, 4, 5, 6))
        .AttachFile("figures.txt", {'1', '2', '3'});
    inbox.messages.push_back(mail);
    pb::Message contact;
    contact.messageClass = "IPM.Contact";
    contact.Subject("Ann Example");
    contact.Set(0x3A06, pb::PropValue::Unicode("Ann"));
    contact.Set(0x3A11, pb::PropValue::Unicode("Example"));
    contact.Set(0x3A42, pb::PropValue::SysTime(pb::FileTime(1970, 8, 9)));
    store.AddFolder("Contacts", "IPF.Contact").messages.push_back(contact);
    path_ = WriteStore(store);

    ASSERT_TRUE(session_.CreateDispatch(L"Redemption.RDOSession"));
    session_.Logon(COleVariant(L""), COleVariant(0L), COleVariant(0L), COleVariant(1L), COleVariant(0L),
                   COleVariant(0L));
    stores_.AttachDispatch(session_.GetStores());
    store_.AttachDispatch(stores_.AddPstStore(path_, COleVariant(1L), COleVariant(L"")));
    ASSERT_TRUE(store_.m_lpDispatch);
  }

  void TearDown() override {
    store_.ReleaseDispatch();
    stores_.ReleaseDispatch();
    if (session_.m_lpDispatch) session_.Logoff();
    session_.ReleaseDispatch();
    EngineComTest::TearDown();
  }

  RdoFolderDispatch TopFolder(LPCWSTR name) {
    RdoFolderDispatch root(store_.GetRootFolder());
    RdoFoldersDispatch folders(root.GetFolders());
    for (RdoFolderDispatch f(folders.GetFirst()); f.m_lpDispatch; f.AttachDispatch(folders.GetNext()))
      if (f.GetName() == name) return f;
    return RdoFolderDispatch();
  }

  LPDISPATCH FirstItem(LPCWSTR folderName) {
    RdoFolderDispatch folder = TopFolder(folderName);
    RdoItemsDispatch items(folder.GetItems());
    return items.Item(COleVariant(1L));
  }

  CString path_;
  RdoSessionDispatch session_;
  RdoStoresDispatch stores_;
  RdoStoreDispatch store_;
};

}  // namespace

TEST_F(AutomationWrappers, SessionAndStoreMembersReachTheServer) {
  EXPECT_TRUE(session_.GetLoggedOn());
  CString name = store_.GetName();
  EXPECT_FALSE(name.IsEmpty());
  store_.SetName(L"Renamed");
  EXPECT_EQ(CString(L"Renamed"), store_.GetName());
  store_.CallMethod6();
  session_.Logoff();
  EXPECT_FALSE(session_.GetLoggedOn());
}

TEST_F(AutomationWrappers, FoldersWalkToAnEmptyEndAndTakeNewFolders) {
  RdoFolderDispatch root(store_.GetRootFolder());
  RdoFoldersDispatch folders(root.GetFolders());
  RdoFolderDispatch first(folders.GetFirst());
  EXPECT_EQ(CString(L"Inbox"), first.GetName());
  RdoFolderDispatch second(folders.GetNext());
  EXPECT_EQ(CString(L"Contacts"), second.GetName());
  EXPECT_EQ(nullptr, folders.GetNext());

  RdoFolderDispatch added(folders.Add(L"Archive", COleVariant(L"IPF.Note")));
  ASSERT_TRUE(added.m_lpDispatch);
  EXPECT_EQ(CString(L"Archive"), added.GetName());
  RdoFoldersDispatch below(added.GetFolders());
  EXPECT_EQ(nullptr, below.GetFirst());
  added.CallMethod6();
}

TEST_F(AutomationWrappers, MailMembersReadTextDatesAndAttachments) {
  RdoFolderDispatch inbox = TopFolder(L"Inbox");
  RdoItemsDispatch items(inbox.GetItems());
  EXPECT_EQ(1, items.GetCount());
  RdoMailDispatch mail(items.Item(COleVariant(1L)));
  ASSERT_TRUE(mail.m_lpDispatch);
  EXPECT_EQ(CString(L"Quarterly figures"), mail.GetSubject());
  EXPECT_EQ(CString(L"IPM.Note"), mail.GetMessageClass());
  EXPECT_EQ(CString(L"body of Quarterly figures"), mail.GetBody());
  EXPECT_EQ(CString(L"Sam Sender"), mail.GetSenderName());
  EXPECT_EQ(CString(L"Ann"), mail.GetTo());
  EXPECT_EQ(CString(L"Cy"), mail.GetCc());
  EXPECT_EQ(CString(L"Dee"), mail.GetBcc());
  EXPECT_EQ(1, mail.GetBodyFormat());
  EXPECT_NEAR(Ole(2020, 3, 4, 5, 6), mail.GetDateProperty57(), 1.0 / 86400);

  RdoAttachmentsDispatch attachments(mail.GetAttachments());
  ASSERT_EQ(1, attachments.GetCount());
  RdoAttachmentDispatch attachment(attachments.Item(COleVariant(1L)));
  EXPECT_EQ(CString(L"figures.txt"), attachment.GetFileName());
  std::string copy = dir_.File("copy.txt");
  attachment.SaveAsFile(ToCString(copy));
  EXPECT_EQ("123", testsupport::ReadFileBytes(copy));
}

TEST_F(AutomationWrappers, ContactMembersReadTheirFields) {
  RdoContactDispatch contact(FirstItem(L"Contacts"));
  ASSERT_TRUE(contact.m_lpDispatch);
  EXPECT_EQ(CString(L"Ann Example"), contact.GetSubject());
  EXPECT_EQ(CString(L"Ann"), contact.GetFirstName());
  EXPECT_EQ(CString(L"Example"), contact.GetLastName());
  EXPECT_NEAR(Ole(1970, 8, 9), contact.GetBirthday(), 1.0 / 86400);
  EXPECT_EQ(CString(), contact.GetWebSite());
}

TEST_F(AutomationWrappers, ServerFailuresArriveAsDispatchExceptions) {
  RdoMailDispatch mail(FirstItem(L"Inbox"));
  RdoAttachmentsDispatch attachments(mail.GetAttachments());
  CString description;
  try {
    attachments.Item(COleVariant(5L));
  } catch (COleDispatchException* e) {
    description = e->m_strDescription;
    e->Delete();
  }
  EXPECT_GE(description.Find(L"out of range"), 0) << description;

  // A member of another item kind is refused by the server.
  RdoAppointmentDispatch notAnAppointment(FirstItem(L"Inbox"));
  bool thrown = false;
  try {
    notAnAppointment.GetLocation();
  } catch (CException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
}

TEST_F(AutomationWrappers, EmptyDriversDoNothing) {
  RdoMailDispatch mail;
  EXPECT_EQ(CString(), mail.GetSubject());
  EXPECT_EQ(0.0, mail.GetDateProperty18());
  RdoItemsDispatch items;
  EXPECT_EQ(0, items.GetCount());
  EXPECT_EQ(nullptr, items.Item(COleVariant(1L)));
  RdoFoldersDispatch folders;
  EXPECT_EQ(nullptr, folders.GetFirst());
  RdoSessionDispatch session;
  EXPECT_FALSE(session.GetLoggedOn());
  session.Logoff();
  OutlookApplicationDispatch outlook;
  EXPECT_EQ(nullptr, outlook.GetNamespace(L"MAPI"));
}

TEST_F(AutomationWrappers, OutlookRegistersAPstWithTheProfile) {
  OutlookApplicationDispatch outlook;
  ASSERT_TRUE(outlook.CreateDispatch(L"Outlook.Application"));
  OutlookNameSpaceDispatch nameSpace(outlook.GetNamespace(L"MAPI"));
  ASSERT_TRUE(nameSpace.m_lpDispatch);
  COleVariant missing(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
  nameSpace.Logon(COleVariant(L""), COleVariant(L""), missing, missing);
  nameSpace.AddStore(COleVariant(path_));
  bool refused = false;
  try {
    nameSpace.AddStore(COleVariant(ToCString(dir_.File("nothing-here.pst"))));
  } catch (COleDispatchException* e) {
    refused = e->m_strDescription.Find(L"does not exist") >= 0;
    e->Delete();
  }
  EXPECT_TRUE(refused);
  nameSpace.Logoff();
  outlook.Quit();
}
