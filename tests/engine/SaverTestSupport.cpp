// The saver tests' target database, PST session and note readers.
#include "SaverTestSupport.h"

#include <cstring>

namespace pb = pstbuilder;

namespace enginetest {

namespace {

const wchar_t kFolderPath[] = L"Outlook\\Inbox\\";

uint32_t U32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; i--) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

// The first value of a text list as the library encodes it: a 16-bit count, then each value as a
// 32-bit length and its bytes.
std::string FirstTextValue(const std::string& encoded) {
  if (encoded.size() < 6 || (static_cast<uint8_t>(encoded[0]) | static_cast<uint8_t>(encoded[1])) == 0)
    return std::string();
  const uint32_t length = U32(encoded, 2);
  return encoded.substr(6, length);
}

}  // namespace

void SaverTest::SetUp() {
  EngineComTest::SetUp();
  nsf_ = dir_.File("target.nsf");
  StartNotes();
}

void SaverTest::TearDown() {
  pst_.ReleaseDispatch();
  if (session_.m_lpDispatch) session_.Logoff();
  session_.ReleaseDispatch();
  store_.m_folder = LNViewFolder();
  store_.Close();
  faults_.reset();
  EngineComTest::TearDown();
}

void SaverTest::StartNotes(const char* notesFaults) {
  faults_.reset();
  faults_.reset(new ScopedFaults(notesFaults));
  store_.m_folder = LNViewFolder();
  ASSERT_EQ(1, store_.InitSession());
  ASSERT_EQ(1, store_.CreateOrOpenDatabase(ToCString(nsf_))) << store_.GetErrorText();
  ASSERT_EQ(1, store_.CreateFolder(kFolderPath)) << store_.GetErrorText();
  ASSERT_EQ(LNNOERROR,
            store_.m_db.GetViewFolder(CStringToLNString(NotesFolderName(kFolderPath)), &store_.m_folder));
  ASSERT_EQ(LNNOERROR, store_.m_folder.Open());
  faults_.reset();
}

void SaverTest::OpenPst(const pb::Store& store, const char* automationFaults) {
  const CString path = WriteStore(store);
  ScopedFaults faults(automationFaults);
  ASSERT_TRUE(session_.CreateDispatch(L"Redemption.RDOSession"));
  session_.Logon(COleVariant(L""), COleVariant(0L), COleVariant(0L), COleVariant(1L), COleVariant(0L),
                 COleVariant(0L));
  RdoStoresDispatch stores(session_.GetStores());
  pst_.AttachDispatch(stores.AddPstStore(path, COleVariant(1L), COleVariant(L"")));
  ASSERT_TRUE(pst_.m_lpDispatch);
}

LPDISPATCH SaverTest::Item(const char* folder, long index) {
  RdoFolderDispatch root(pst_.GetRootFolder());
  RdoFoldersDispatch folders(root.GetFolders());
  for (RdoFolderDispatch f(folders.GetFirst()); f.m_lpDispatch; f.AttachDispatch(folders.GetNext())) {
    if (f.GetName() == ToCString(folder)) {
      RdoItemsDispatch items(f.GetItems());
      return items.Item(COleVariant(index));
    }
  }
  ADD_FAILURE() << "no PST folder " << folder;
  return nullptr;
}

std::vector<LNDocument> SaverTest::Filed() {
  std::vector<LNDocument> documents;
  LNViewFolder folder;
  if (store_.m_db.GetViewFolder(CStringToLNString(NotesFolderName(kFolderPath)), &folder) != LNNOERROR)
    return documents;
  folder.Open();
  for (LNINT i = 0; i < folder.GetEntryCount(); i++) {
    LNDocument document;
    folder[i].GetDocument(&document);
    document.Open();
    documents.push_back(document);
  }
  return documents;
}

int SaverTest::DocumentCount() {
  LNNoteArray all;
  store_.m_db.GetDocuments(&all);
  return all.GetCount();
}

LNDocument SaverTest::OnlyFiled() {
  std::vector<LNDocument> documents = Filed();
  EXPECT_EQ(1u, documents.size());
  return documents.empty() ? LNDocument() : documents.back();
}

std::vector<NoteItem> SaverTest::Items(const LNDocument& note) {
  std::vector<NoteItem> result;
  LNItemArray items;
  if (note.GetItems(&items) != LNNOERROR) return result;
  for (LNINT i = 0; i < items.GetCount(); i++) {
    const LNItem item = items[i];
    NoteItem read;
    read.name = Utf8Of(item.GetName());
    read.type = item.GetType();
    const void* data = nullptr;
    LNINT length = 0;
    item.GetValue(&data, &length);
    const std::string bytes(static_cast<const char*>(data), data ? static_cast<size_t>(length) : 0);
    read.value = read.type == LNITEMTYPE_TEXT ? FirstTextValue(bytes) : bytes;
    result.push_back(read);
  }
  return result;
}

std::vector<NoteItem> SaverTest::Named(const LNDocument& note, const std::string& name) {
  std::vector<NoteItem> result;
  for (const NoteItem& item : Items(note))
    if (item.name == name) result.push_back(item);
  return result;
}

std::string SaverTest::Text(const LNDocument& note, const std::string& name) {
  for (const NoteItem& item : Items(note))
    if (item.name == name && item.type == LNITEMTYPE_TEXT) return item.value;
  return "<missing>";
}

std::string SaverTest::Date(const LNDocument& note, const std::string& name) {
  LNDatetimes dates;
  if (!note.HasItem(LnOf(name)) || note.GetItem(LnOf(name), &dates) != LNNOERROR ||
      dates.GetDatetimeCount() == 0)
    return "<missing>";
  LNString text;
  dates[0].GetText(&text);
  return Utf8Of(text);
}

std::vector<std::string> SaverTest::AttachmentNames(const LNDocument& note) {
  std::vector<std::string> names;
  LNAttachmentArray attachments;
  note.GetAttachments(&attachments);
  for (LNINT i = 0; i < attachments.GetCount(); i++)
    names.push_back(Utf8Of(attachments[i].GetAttachmentName()));
  return names;
}

pb::Message Appointment(const std::string& subject) {
  pb::Message m;
  m.messageClass = "IPM.Appointment";
  m.Subject(subject).Body("agenda of " + subject);
  m.SetNamed(pb::guids::kAppointment, 0x820D, pb::PropValue::SysTime(pb::FileTime(2021, 5, 6, 9, 30)));
  m.SetNamed(pb::guids::kAppointment, 0x820E, pb::PropValue::SysTime(pb::FileTime(2021, 5, 6, 10, 45)));
  m.SetNamed(pb::guids::kAppointment, 0x8208, pb::PropValue::Unicode("Room 4"));
  return m;
}

pb::Message Task(const std::string& subject) {
  pb::Message m;
  m.messageClass = "IPM.Task";
  m.Subject(subject).Body("steps of " + subject);
  m.SetNamed(pb::guids::kTask, 0x8104, pb::PropValue::SysTime(pb::FileTime(2022, 1, 10)));
  m.SetNamed(pb::guids::kTask, 0x8105, pb::PropValue::SysTime(pb::FileTime(2022, 1, 20)));
  return m;
}

pb::Message Journal(const std::string& subject) {
  pb::Message m;
  m.messageClass = "IPM.Activity";
  m.Subject(subject).Body("notes of " + subject);
  m.CreationTime(pb::FileTime(2019, 7, 1, 8));
  m.SetNamed(pb::guids::kLog, 0x8706, pb::PropValue::SysTime(pb::FileTime(2019, 6, 30, 14)));
  return m;
}

pb::Message Contact(const std::string& fullName) {
  pb::Message m;
  m.messageClass = "IPM.Contact";
  m.Subject(fullName);
  m.Set(0x3001, pb::PropValue::Unicode(fullName));
  return m;
}

}  // namespace enginetest
