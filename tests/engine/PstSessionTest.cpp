// Opening, reopening and closing the PST session against the automation stand-ins, including the
// failures the stand-ins inject on request.
#include "EngineComTest.h"
#include "PstSession.h"

#include <fstream>

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

// Text for failure messages and file names.
std::string Narrow(const CString& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &out[0], n, nullptr, nullptr);
  return out;
}

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
  EXPECT_EQ(0, session.ReopenPst(ToCString(path)));
  EXPECT_TRUE(Contains(session.GetOpenError(), L"is not a personal folders")) << session.GetOpenError();

  // A text file and an empty file named .pst: the reason names only the kind of file the program
  // takes, not the offline folders files that page one refuses.
  const std::string text = dir_.File("text.pst");
  std::ofstream(text) << "these are my notes";
  const std::string empty = dir_.File("empty.pst");
  std::ofstream(empty).close();
  for (const std::string& file : {text, empty}) {
    EXPECT_EQ(0, session.ReopenPst(ToCString(file)));
    const CString reason = session.GetOpenError();
    EXPECT_TRUE(Contains(reason, L"is not a personal folders (.pst) file")) << reason;
    EXPECT_FALSE(Contains(reason, L".ost")) << reason;
    EXPECT_FALSE(Contains(reason, L"offline")) << reason;
  }

  EXPECT_EQ(0, session.ReopenPst(ToCString(dir_.File("missing.pst"))));
  EXPECT_TRUE(Contains(session.GetOpenError(), L"does not exist")) << session.GetOpenError();
}

TEST_F(PstSessionTest, ReopenLogsOffAndReleasesTheEarlierSession) {
  pb::Store other;
  other.AddFolder("Elsewhere");
  CString second = WriteStore(other, "second.pst");

  CPstSession session;
  ASSERT_EQ(1, session.ReopenPst(SmallPst()));
  RdoSessionDispatch first = session.m_session;
  // Held, so that the new store cannot be given the released one's address.
  RdoStoreDispatch firstStore = session.m_store;

  ASSERT_EQ(1, session.ReopenPst(second));
  EXPECT_FALSE(first.GetLoggedOn());
  EXPECT_NE(first.m_lpDispatch, session.m_session.m_lpDispatch);
  EXPECT_NE(firstStore.m_lpDispatch, session.m_store.m_lpDispatch);
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

namespace {

// Damages the property context of the folder named name in a PST written without block encoding: its
// heap signature (the two bytes after the first two of the block that holds the name) is zeroed.
bool DamageFolderBlock(const std::string& path, const std::string& name) {
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string wide;
  for (char c : name) wide += std::string{c, '\0'};
  for (size_t at = bytes.find(wide); at != std::string::npos; at = bytes.find(wide, at + 1)) {
    // Blocks start on 64-byte boundaries; a property context's heap starts with 0xEC, 0xBC.
    for (size_t start = at / 64 * 64; start + 64 > at && start >= 64 && at - start < 8192; start -= 64) {
      if (static_cast<uint8_t>(bytes[start + 2]) != 0xEC) continue;
      if (static_cast<uint8_t>(bytes[start + 3]) != 0xBC) break;
      bytes[start + 2] = bytes[start + 3] = 0;
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      return true;
    }
  }
  return false;
}

}  // namespace

TEST_F(PstSessionTest, UnreadableFolderIsRecordedAndItsSiblingsAndTheirSubFoldersStillListed) {
  pb::Store store;
  store.encoding = pb::Encoding::None;
  for (const char* name : {"Alpha", "Brokenfolder", "Gamma"})
    store.AddFolder(name).messages.push_back(Mail("an item"));
  store.folders.back().AddFolder("Delta");
  const CString path = WriteStore(store);
  ASSERT_TRUE(DamageFolderBlock(Narrow(path), "Brokenfolder"));

  CPstSession session;
  ASSERT_EQ(1, session.ReopenPst(path)) << Narrow(session.GetOpenError());
  CStringArray paths;
  EXPECT_EQ(0, session.GetFolderList(&paths));
  std::vector<CString> listed;
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) listed.push_back(paths[i]);
  EXPECT_EQ((std::vector<CString>{L"Alpha\\", L"Gamma\\", L"Gamma\\Delta\\"}), listed);
  ASSERT_EQ(1, session.m_notListed.GetCount());
  const NotConvertedEntry& entry = session.m_notListed.GetAt(0);
  EXPECT_EQ(NotConvertedEntry::FOLDER, entry.kind);
  EXPECT_EQ(CString(), entry.folder);
  EXPECT_TRUE(Contains(entry.reason, L"damaged")) << Narrow(entry.reason);

  // The folder after the damaged one is still reached by its listed path.
  RdoFolderDispatch gamma;
  session.OpenFolderByPath(L"Gamma\\", gamma);
  ASSERT_TRUE(gamma.m_lpDispatch);
  EXPECT_EQ(CString(L"Gamma"), gamma.GetName());
}

TEST_F(PstSessionTest, IncompleteCopyIsRefusedSayingSoWithoutInternalNames) {
  const CString path = SmallPst();
  const std::string file = Narrow(path);
  std::string bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
  }
  CPstSession session;
  EXPECT_EQ(0, session.ReopenPst(path));
  const CString reason = session.GetOpenError();
  EXPECT_TRUE(Contains(reason, L"incomplete")) << Narrow(reason);
  EXPECT_TRUE(Contains(reason, path)) << Narrow(reason);
  for (LPCWSTR internal : {L"AddStore", L"AddPSTStore", L"Items.", L"Folders."})
    EXPECT_FALSE(Contains(reason, internal)) << Narrow(reason);
}
