// Opening, reopening and closing the PST session against the automation stand-ins, including the
// failures the stand-ins inject on request.
#include "EngineComTest.h"
#include "PstSession.h"

#include <fstream>

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

class PstSessionTest : public EngineComTest {
 protected:
  CString SmallPst() {
    pb::Store store;
    store.AddFolder("Inbox").messages.push_back(Mail("hello"));
    return WriteStore(store);
  }

  static bool Contains(const CString& text, LPCWSTR part) { return text.Find(part) >= 0; }
};

}  // namespace

TEST_F(PstSessionTest, OpensAPstAndBindsTheStore) {
  CPstSession session;
  ASSERT_EQ(1, session.ReopenPst(SmallPst()));
  EXPECT_TRUE(session.GetOpenError().IsEmpty());
  ASSERT_TRUE(session.m_session.m_lpDispatch);
  EXPECT_TRUE(session.m_session.GetLoggedOn());
  EXPECT_TRUE(session.m_stores.m_lpDispatch);
  ASSERT_TRUE(session.m_store.m_lpDispatch);
  EXPECT_FALSE(session.m_store.GetName().IsEmpty());
  RdoFolderDispatch root(session.m_store.GetRootFolder());
  EXPECT_TRUE(root.m_lpDispatch);
}

TEST_F(PstSessionTest, StopFlagFailsTheOpenBeforeAnyServerIsCreated) {
  // Were Outlook created, the injected failure would leave its text behind.
  ScopedFaults faults("outlook.create");
  CPstSession session;
  session.m_bStop = 1;
  EXPECT_EQ(0, session.ReopenPst(SmallPst()));
  EXPECT_EQ(0, session.OpenPst(SmallPst()));
  EXPECT_EQ(0, session.RegisterPstWithOutlook(SmallPst()));
  EXPECT_TRUE(session.GetOpenError().IsEmpty());
  EXPECT_FALSE(session.m_session.m_lpDispatch);
}

TEST_F(PstSessionTest, EachInjectedOpenFailureFailsTheOpenAndKeepsItsText) {
  CString pst = SmallPst();
  for (const char* key : {"outlook.create", "outlook.logon", "outlook.addstore", "rdo.create", "rdo.logon",
                          "rdo.stores", "rdo.addpststore"}) {
    ScopedFaults faults(key);
    CPstSession session;
    EXPECT_EQ(0, session.ReopenPst(pst)) << key;
    EXPECT_TRUE(Contains(session.GetOpenError(), L"injected failure"))
        << key << ": " << session.GetOpenError();
    EXPECT_TRUE(Contains(session.GetOpenError(), CString(key))) << key;
    EXPECT_FALSE(session.m_store.m_lpDispatch) << key;
  }
}

TEST_F(PstSessionTest, RedemptionMissingAfterOutlookLeavesNothingBound) {
  ScopedFaults faults("rdo.create");
  CPstSession session;
  EXPECT_EQ(0, session.ReopenPst(SmallPst()));
  EXPECT_FALSE(session.m_session.m_lpDispatch);
  EXPECT_FALSE(session.m_stores.m_lpDispatch);
  EXPECT_FALSE(session.m_store.m_lpDispatch);
}

TEST_F(PstSessionTest, AFileThatIsNoPstFailsWithTheServersReason) {
  std::string path = dir_.File("notes.txt");
  std::ofstream(path) << "this is not a personal folders file, only some text";
  CPstSession session;
  EXPECT_EQ(0, session.ReopenPst(Wide(path)));
  EXPECT_TRUE(Contains(session.GetOpenError(), L"is not a personal folders")) << session.GetOpenError();

  EXPECT_EQ(0, session.ReopenPst(Wide(dir_.File("missing.pst"))));
  EXPECT_TRUE(Contains(session.GetOpenError(), L"does not exist")) << session.GetOpenError();
}

TEST_F(PstSessionTest, ReopenLogsOffAndReleasesTheEarlierSession) {
  pb::Store other;
  other.AddFolder("Elsewhere");
  CString second = WriteStore(other, "second.pst");

  CPstSession session;
  ASSERT_EQ(1, session.ReopenPst(SmallPst()));
  RdoSessionDispatch first = session.m_session;
  LPDISPATCH firstStore = session.m_store.m_lpDispatch;

  ASSERT_EQ(1, session.ReopenPst(second));
  EXPECT_FALSE(first.GetLoggedOn());
  EXPECT_NE(first.m_lpDispatch, session.m_session.m_lpDispatch);
  EXPECT_NE(firstStore, session.m_store.m_lpDispatch);
  CStringArray paths;
  session.GetFolderList(&paths);
  ASSERT_EQ(1, paths.GetSize());
  EXPECT_EQ(CString(L"Elsewhere\\"), paths[0]);
}

TEST_F(PstSessionTest, ReopenAfterAFailedLogonStartsAFreshSession) {
  CPstSession session;
  CString pst = SmallPst();
  {
    ScopedFaults faults("rdo.stores");
    ASSERT_EQ(0, session.ReopenPst(pst));
  }
  ASSERT_TRUE(session.m_session.m_lpDispatch);
  RdoSessionDispatch failed = session.m_session;
  EXPECT_EQ(1, session.ReopenPst(pst));
  EXPECT_TRUE(session.GetOpenError().IsEmpty());
  EXPECT_FALSE(failed.GetLoggedOn());
  EXPECT_NE(failed.m_lpDispatch, session.m_session.m_lpDispatch);
}

TEST_F(PstSessionTest, CloseOnANeverOpenedSessionCallsNothing) {
  CPstSession session;
  session.Close();
  session.Close();
  EXPECT_FALSE(session.m_session.m_lpDispatch);
  EXPECT_FALSE(session.m_stores.m_lpDispatch);
  EXPECT_FALSE(session.m_store.m_lpDispatch);
  EXPECT_FALSE(session.m_currentFolder.m_lpDispatch);
}

TEST_F(PstSessionTest, CloseLogsOffAndReleasesEverything) {
  CPstSession session;
  ASSERT_EQ(1, session.ReopenPst(SmallPst()));
  RdoFolderDispatch folder;
  session.OpenFolderByPath(L"Inbox\\", folder);
  ASSERT_TRUE(folder.m_lpDispatch);
  RdoSessionDispatch kept = session.m_session;
  session.Close();
  EXPECT_FALSE(kept.GetLoggedOn());
  EXPECT_FALSE(session.m_session.m_lpDispatch);
  EXPECT_FALSE(session.m_stores.m_lpDispatch);
  EXPECT_FALSE(session.m_store.m_lpDispatch);
  EXPECT_FALSE(session.m_currentFolder.m_lpDispatch);
}
