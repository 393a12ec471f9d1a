// The servers over real PST and OST files, created by ProgID as the engine creates them: the walk
// by dispatch identifier agrees with pstdump, attachments come out byte-exact, an embedded message
// comes out as a message file.
#include "ComTest.h"
#include "TestProcess.h"
#include "DispatchHelpers.h"
#include "TestFiles.h"

#include "PstRecipe.h"
#include "PstWriter.h"
#include "pst/Messaging.h"

#include <filesystem>
#include <map>
#include <set>

using namespace automationtest;
namespace fs = std::filesystem;

namespace {

std::string Narrow(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

// Registers the file with the Outlook stand-in and opens it in a Redemption session, in the
// engine's order of calls; returns the root folder.
class OpenedPst {
 public:
  explicit OpenedPst(const std::wstring& path) {
    DispPtr app;
    EXPECT_EQ(S_OK, CreateByProgId(L"Outlook.Application", app));
    DispPtr ns = Method(app.get(), 0x110, {Arg::Text(L"MAPI")}).Object();
    EXPECT_EQ(S_OK,
              Method(ns.get(), 0x2105, {Arg::Text(L""), Arg::Text(L""), Arg::Missing(), Arg::Missing()}).hr);
    EXPECT_EQ(S_OK, Method(ns.get(), 0x2119, {Arg::Text(path)}).hr);
    Method(ns.get(), 0x2106);
    Method(app.get(), 0x113);
    EXPECT_EQ(S_OK, CreateByProgId(L"Redemption.RDOSession", session_));
    EXPECT_EQ(S_OK, Method(session_.get(), 0x4,
                           {Arg::Text(L""), Arg::Int(0), Arg::Int(0), Arg::Int(1), Arg::Int(0), Arg::Int(0)})
                        .hr);
    DispPtr stores = Get(session_.get(), 0x6).Object();
    CallResult added = Method(stores.get(), 0x5, {Arg::Text(path), Arg::Int(1), Arg::Text(L"")});
    EXPECT_EQ(S_OK, added.hr) << Narrow(added.description);
    store_ = added.Object();
    if (store_) {
      std::wstring name = Get(store_.get(), 0xA).Text();
      EXPECT_EQ(S_OK, Put(store_.get(), 0xA, Arg::Text(name)).hr);
      EXPECT_EQ(S_OK, Method(store_.get(), 0x6).hr);
      root_ = Get(store_.get(), 0x68).Object();
    }
  }
  ~OpenedPst() {
    root_.reset();
    store_.reset();
    if (session_) Method(session_.get(), 0x12);
  }
  IDispatch* Root() const { return root_.get(); }

 private:
  DispPtr session_, store_, root_;
};

// Walks the folder through COM and, beside it, the same folder through the reader: names, order,
// subjects and classes must agree item by item.
void CountClasses(IDispatch* folder, pst::Store& store, uint32_t nid, const std::string& path,
                  std::map<std::pair<std::string, std::string>, int>& counts) {
  std::unique_ptr<pst::Folder> source = store.OpenFolder(nid);
  std::vector<uint32_t> messages = source->Messages();
  DispPtr items = Get(folder, 0x11).Object();
  long n = Get(items.get(), 0x1).Integer();
  ASSERT_EQ(messages.size(), static_cast<size_t>(n)) << path;
  for (long i = 1; i <= n; ++i) {
    CallResult item = Method(items.get(), 0x9, {Arg::Int(i)});
    ASSERT_EQ(S_OK, item.hr) << path << " item " << i << ": " << Narrow(item.description);
    DispPtr object = item.Object();
    std::unique_ptr<pst::Message> message = store.OpenMessage(messages[i - 1]);
    std::string messageClass = Narrow(Get(object.get(), 0x1E).Text());
    EXPECT_EQ(message->MessageClass(), messageClass) << path << " item " << i;
    EXPECT_EQ(message->Subject(), Narrow(Get(object.get(), 0x0).Text())) << path << " item " << i;
    // Submit, delivery and creation times: the stored UTC time (TZ=UTC here), or the no-date value.
    for (auto date : {std::pair<DISPID, uint16_t>{0x39, 0x0039}, {0x29, 0x0E06}, {0x12, 0x3007}}) {
      std::optional<int64_t> stored = message->Int(date.second);
      double expected = 949998.0;
      // Stored "none" dates lie at or past 4500-01-01.
      if (stored && *stored > 0 && *stored < 0x0CB226862B168000LL) {
        FILETIME ft = {static_cast<DWORD>(*stored), static_cast<DWORD>(*stored >> 32)};
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        st.wMilliseconds = 0;
        SystemTimeToVariantTime(&st, &expected);
      }
      EXPECT_NEAR(expected, Get(object.get(), date.first).Date(), 1.0 / 86400) << path << " item " << i;
    }
    ++counts[{path, messageClass}];
  }
  std::vector<uint32_t> children = source->ChildFolders();
  size_t index = 0;
  DispPtr folders = Get(folder, 0x12).Object();
  for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object(), ++index) {
    ASSERT_LT(index, children.size()) << path;
    std::string name = Narrow(Get(f.get(), 0x0).Text());
    EXPECT_EQ(store.OpenFolder(children[index])->DisplayName(), name) << path;
    CountClasses(f.get(), store, children[index], path + "/" + name, counts);
  }
  EXPECT_EQ(children.size(), index) << path;
}

// The path pstdump prints for the IPM subtree: display names from below the store's root down.
bool FindPath(pst::Store& store, uint32_t nid, uint32_t target, const std::string& path, std::string& found) {
  if (nid == target) {
    found = path;
    return true;
  }
  for (uint32_t child : store.OpenFolder(nid)->ChildFolders()) {
    std::string name = store.OpenFolder(child)->DisplayName();
    if (FindPath(store, child, target, path.empty() ? name : path + "/" + name, found)) return true;
  }
  return false;
}

std::string RunPstdumpCounts(const std::wstring& pstPath) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring exe = fs::path(self).parent_path().wstring() + L"\\pstdump.exe";
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return "<no pipe>";
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"\"" + exe + L"\" counts \"" + pstPath + L"\"";
  PROCESS_INFORMATION pi = {};
  BOOL started = testsupport::CreateProcessRetrying(&command[0], TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(writeEnd);
  std::string out;
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  } else {
    out = "<pstdump did not start>";
  }
  CloseHandle(readEnd);
  return out;
}

class RealPst : public ComTest {};

TEST_F(RealPst, WalkByDispatchIdMatchesPstdumpForEveryFixture) {
  fs::path dir = fs::u8path(testsupport::FixturePath("pst"));
  int files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    std::string ext = entry.path().extension().u8string();
    if (ext != ".pst" && ext != ".ost") continue;
    ++files;
    std::string name = entry.path().filename().u8string();
    SCOPED_TRACE(name);
    auto store = pst::Store::Open(entry.path().u8string());
    std::string prefix;
    std::optional<uint32_t> ipm = store->IpmSubtreeNid();
    if (!ipm) {  // a mailbox's offline file: "Root - Mailbox/IPM_SUBTREE"
      ASSERT_EQ(".ost", ext);
      for (uint32_t top : store->OpenFolder(store->RootFolderNid())->ChildFolders())
        if (store->OpenFolder(top)->DisplayName() == "Root - Mailbox")
          for (uint32_t child : store->OpenFolder(top)->ChildFolders())
            if (store->OpenFolder(child)->DisplayName() == "IPM_SUBTREE") ipm = child;
    }
    ASSERT_TRUE(ipm);
    ASSERT_TRUE(FindPath(*store, store->RootFolderNid(), *ipm, "", prefix));

    std::set<std::string> expected;
    std::string dump = RunPstdumpCounts(entry.path().wstring());
    size_t start = 0;
    while (start < dump.size()) {
      size_t end = dump.find('\n', start);
      std::string line = dump.substr(start, end == std::string::npos ? std::string::npos : end - start);
      start = end == std::string::npos ? dump.size() : end + 1;
      std::string path = line.substr(line.find('\t', line.find('\t') + 1) + 1);
      if (path == prefix || path.rfind(prefix + "/", 0) == 0) expected.insert(line);
    }

    OpenedPst opened(entry.path().wstring());
    ASSERT_TRUE(opened.Root());
    std::map<std::pair<std::string, std::string>, int> counts;
    CountClasses(opened.Root(), *store, *ipm, prefix, counts);
    std::set<std::string> actual;
    for (const auto& c : counts)
      actual.insert(std::to_string(c.second) + "\t" + c.first.second + "\t" + c.first.first);
    EXPECT_FALSE(expected.empty()) << prefix << "\n" << dump;
    EXPECT_EQ(expected, actual);
  }
  EXPECT_GE(files, 19);
}

TEST_F(RealPst, AttachmentsComeOutByteExactAndEmbeddedMessagesAsMessageFiles) {
  testsupport::TempDir dir;
  {
    OpenedPst opened(Widen(testsupport::FixturePath("pst/pstsdk-sample1-unicode.pst")));
    ASSERT_TRUE(opened.Root());
    DispPtr folders = Get(opened.Root(), 0x12).Object();
    DispPtr sample;
    for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object())
      if (Get(f.get(), 0x0).Text() == L"Sample1") sample = std::move(f);
    ASSERT_TRUE(sample);
    DispPtr item = Method(Get(sample.get(), 0x11).Object().get(), 0x9, {Arg::Int(1)}).Object();
    DispPtr attachments = Get(item.get(), 0x49).Object();
    ASSERT_EQ(1, Get(attachments.get(), 0x50).Integer());
    DispPtr attachment = Get(attachments.get(), 0x0, {Arg::Int(1)}).Object();
    EXPECT_EQ(L"leah_thumper.jpg", Get(attachment.get(), 0x68).Text());
    ASSERT_EQ(S_OK, Method(attachment.get(), 0xB, {Arg::Text(Widen(dir.File("a.jpg")))}).hr);
    std::string bytes = testsupport::ReadFileBytes(dir.File("a.jpg"));
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ("\xFF\xD8\xFF", bytes.substr(0, 3));
    EXPECT_EQ("\xFF\xD9", bytes.substr(bytes.size() - 2));
  }
  {
    std::string path = testsupport::FixturePath("pst/hht-msg-in-msg-in-msg.pst");
    auto store = pst::Store::Open(path);
    OpenedPst opened(Widen(path));
    ASSERT_TRUE(opened.Root());
    // Find the one message and its embedded message through COM.
    std::vector<DispPtr> pending;
    pending.push_back(DispPtr(opened.Root()));
    opened.Root()->AddRef();
    DispPtr attachment;
    while (!pending.empty() && !attachment) {
      DispPtr folder = std::move(pending.back());
      pending.pop_back();
      DispPtr items = Get(folder.get(), 0x11).Object();
      if (Get(items.get(), 0x1).Integer() > 0) {
        DispPtr item = Method(items.get(), 0x9, {Arg::Int(1)}).Object();
        DispPtr attachments = Get(item.get(), 0x49).Object();
        if (Get(attachments.get(), 0x50).Integer() > 0)
          attachment = Get(attachments.get(), 0x0, {Arg::Int(1)}).Object();
      }
      DispPtr folders = Get(folder.get(), 0x12).Object();
      for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object())
        pending.push_back(std::move(f));
    }
    ASSERT_TRUE(attachment);
    std::wstring name = Get(attachment.get(), 0x68).Text();
    EXPECT_EQ(L".msg", name.substr(name.size() - 4));
    std::wstring file = Widen(dir.File("embedded.msg"));
    ASSERT_EQ(S_OK, Method(attachment.get(), 0xB, {Arg::Text(file)}).hr);
    IStorage* root = nullptr;
    ASSERT_EQ(S_OK,
              StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &root));
    IStream* subject = nullptr;
    EXPECT_EQ(S_OK, root->OpenStream(L"__substg1.0_0037001F", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                     &subject));
    if (subject) subject->Release();
    // The nested message inside travels as a storage of its own.
    IStorage* attach = nullptr;
    EXPECT_EQ(S_OK, root->OpenStorage(L"__attach_version1.0_#00000000", nullptr,
                                      STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &attach));
    if (attach) {
      IStorage* nested = nullptr;
      EXPECT_EQ(S_OK, attach->OpenStorage(L"__substg1.0_3701000D", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                          nullptr, 0, &nested));
      if (nested) nested->Release();
      attach->Release();
    }
    root->Release();
  }
}

}  // namespace

namespace {

// Where the first OLE-object attachment of a folder tree sits, as positions.
struct OleLocation {
  std::vector<size_t> folders;  // child positions from the IPM subtree down
  long message = 0;             // 1-based
  long attachment = 0;          // 1-based
};

bool FindOleAttachment(pst::Store& store, uint32_t nid, std::vector<size_t>& folders, OleLocation& found) {
  std::unique_ptr<pst::Folder> folder = store.OpenFolder(nid);
  std::vector<uint32_t> messages = folder->Messages();
  for (size_t m = 0; m < messages.size(); ++m) {
    std::vector<std::unique_ptr<pst::Attachment>> attachments = store.OpenMessage(messages[m])->Attachments();
    for (size_t a = 0; a < attachments.size(); ++a) {
      if (attachments[a]->Method() == pst::kAttachOle) {
        found = {folders, static_cast<long>(m + 1), static_cast<long>(a + 1)};
        return true;
      }
    }
  }
  std::vector<uint32_t> children = folder->ChildFolders();
  for (size_t c = 0; c < children.size(); ++c) {
    folders.push_back(c);
    if (FindOleAttachment(store, children[c], folders, found)) return true;
    folders.pop_back();
  }
  return false;
}

TEST_F(RealPst, OleObjectAttachmentComesOutAsItsCompoundFile) {
  std::string path = testsupport::FixturePath("pst/ost-exchange-sample.ost");
  OleLocation where;
  {
    auto store = pst::Store::Open(path);
    uint32_t ipm = 0;
    for (uint32_t top : store->OpenFolder(store->RootFolderNid())->ChildFolders())
      if (store->OpenFolder(top)->DisplayName() == "Root - Mailbox")
        for (uint32_t child : store->OpenFolder(top)->ChildFolders())
          if (store->OpenFolder(child)->DisplayName() == "IPM_SUBTREE") ipm = child;
    std::vector<size_t> folders;
    ASSERT_TRUE(FindOleAttachment(*store, ipm, folders, where));
  }
  OpenedPst opened(Widen(path));
  ASSERT_TRUE(opened.Root());
  DispPtr folder(opened.Root());
  folder->AddRef();
  for (size_t position : where.folders) {
    DispPtr folders = Get(folder.get(), 0x12).Object();
    DispPtr child = Method(folders.get(), 0x5).Object();
    for (size_t i = 0; i < position; ++i) child = Method(folders.get(), 0x7).Object();
    ASSERT_TRUE(child);
    folder = std::move(child);
  }
  DispPtr item = Method(Get(folder.get(), 0x11).Object().get(), 0x9, {Arg::Int(where.message)}).Object();
  DispPtr attachment = Get(Get(item.get(), 0x49).Object().get(), 0x0, {Arg::Int(where.attachment)}).Object();
  ASSERT_TRUE(attachment);
  EXPECT_FALSE(Get(attachment.get(), 0x68).Text().empty());
  testsupport::TempDir dir;
  ASSERT_EQ(S_OK, Method(attachment.get(), 0xB, {Arg::Text(Widen(dir.File("ole.bin")))}).hr);
  EXPECT_EQ(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
            testsupport::ReadFileBytes(dir.File("ole.bin")).substr(0, 8));
}

}  // namespace

namespace {

// The first item of the top-level folder name whose class is messageClass.
DispPtr FirstItemOfClass(IDispatch* root, const std::wstring& name, const std::wstring& messageClass) {
  DispPtr folders = Get(root, 0x12).Object();
  for (DispPtr f = Method(folders.get(), 0x5).Object(); f; f = Method(folders.get(), 0x7).Object()) {
    if (Get(f.get(), 0x0).Text() != name) continue;
    DispPtr items = Get(f.get(), 0x11).Object();
    for (long n = 1; n <= Get(items.get(), 0x1).Integer(); ++n) {
      DispPtr item = Method(items.get(), 0x9, {Arg::Int(n)}).Object();
      if (Get(item.get(), 0x1E).Text() == messageClass) return item;
    }
  }
  return nullptr;
}

// Each member of a list as "name <address> (type)".
std::vector<std::wstring> MemberLines(IDispatch* list) {
  std::vector<std::wstring> lines;
  const long count = Get(list, 0x60040001).Integer();
  for (long i = 1; i <= count; ++i) {
    CallResult member = Method(list, 0x60040003, {Arg::Int(i)});
    DispPtr entry = member.Object();
    if (!entry) {
      lines.push_back(L"failed: " + member.description);
      continue;
    }
    lines.push_back(Get(entry.get(), 0x1).Text() + L" <" + Get(entry.get(), 0x2).Text() + L"> (" +
                    Get(entry.get(), 0x3).Text() + L")");
  }
  return lines;
}

}  // namespace

TEST_F(RealPst, AListOfARealPstNamesEveryMemberWithItsAddress) {
  OpenedPst opened(Widen(testsupport::FixturePath("pst/javalibpst-dist-list.pst")));
  ASSERT_TRUE(opened.Root());
  DispPtr list = FirstItemOfClass(opened.Root(), L"Contacts", L"IPM.DistList");
  ASSERT_TRUE(list);
  // The first member points at the file's contact, the others are addresses typed in.
  const std::vector<std::wstring> expected = {L"contact name 1 <contact1@rjohnson.id.au> (SMTP)",
                                              L"dist name 1 <dist1@rjohnson.id.au> (SMTP)",
                                              L"dist name 2 <dist2@rjohnson.id.au> (SMTP)"};
  EXPECT_EQ(expected, MemberLines(list.get()));
}

TEST_F(RealPst, AListMemberWithoutItsOneOffCopyIsReadFromItsContact) {
  namespace pb = pstbuilder;
  testsupport::TempDir dir;
  pb::Store store;
  pb::Folder& contacts = store.AddFolder("Contacts", "IPF.Contact");
  const pb::Guid address = pb::Guid::Parse("00062004-0000-0000-C000-000000000046");
  pb::Message contact;
  contact.messageClass = "IPM.Contact";
  contact.Subject("Ann Lee").Set(0x3001, pb::PropValue::Unicode("Ann Lee"));
  contact.SetNamed(address, 0x8080, pb::PropValue::Unicode("Ann Lee (work)"))
      .SetNamed(address, 0x8082, pb::PropValue::Unicode("SMTP"))
      .SetNamed(address, 0x8083, pb::PropValue::Unicode("ann@work.example"));
  contacts.messages.push_back(contact);
  // The contact's node id, as the writer gives it; the list written after it leaves it as it is.
  const std::string first = dir.File("contact.pst");
  pb::WritePst(store, first);
  uint32_t nid = 0;
  {
    auto reader = pst::Store::Open(first);
    for (uint32_t folder : reader->OpenFolder(*reader->IpmSubtreeNid())->ChildFolders())
      for (uint32_t message : reader->OpenFolder(folder)->Messages()) nid = message;
  }
  ASSERT_NE(0u, nid);
  pb::Message list;
  list.DistList("Team",
                {pb::WrappedEntryId(0xC3, pb::MessageEntryId(store.recordKey, nid)),
                 pb::WrappedEntryId(
                     0xC3, pb::MessageEntryId(pb::Guid::Parse("0A1B2C3D-0000-4000-8000-000000000001"), nid))},
                {});
  store.Find("Contacts")->messages.push_back(list);
  const std::string second = dir.File("list.pst");
  pb::WritePst(store, second);

  OpenedPst opened(Widen(second));
  ASSERT_TRUE(opened.Root());
  DispPtr found = FirstItemOfClass(opened.Root(), L"Contacts", L"IPM.DistList");
  ASSERT_TRUE(found);
  // An entry id of another store names nothing here, even where its node id would.
  const std::vector<std::wstring> expected = {
      L"Ann Lee (work) <ann@work.example> (SMTP)",
      L"failed: The member's contact or list is not in the PST, and the list keeps no copy of its address"};
  EXPECT_EQ(expected, MemberLines(found.get()));
}
