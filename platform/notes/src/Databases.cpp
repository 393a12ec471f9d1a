// Databases, their listings and creation from templates, views and folders with their entries.
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "Runtime.h"

namespace fs = std::filesystem;
using namespace lnimpl;

namespace {

DatabaseState* BindDatabase(const ResolvedPath& path, const std::string& server) {
  DatabaseState* state = new DatabaseState;
  state->fullPath = path.full;
  state->displayPath = path.display;
  state->server = server;
  return state;
}

DatabaseState* Attached(DatabaseState* db) {
  if (db == nullptr) Fail(LNERR_NULL_OBJECT);
  return db;
}

NoteState* NewDocumentHandle(DatabaseState* db, uint32_t noteId) {
  NoteState* note = new NoteState;
  note->db = AddRef(db);
  note->record.noteId = noteId;
  return note;
}

FolderState* NewFolderHandle(DatabaseState* db, const lnstore::Design& design) {
  FolderState* folder = new FolderState;
  folder->db = AddRef(db);
  folder->design = design;
  return folder;
}

bool HasExtension(const fs::path& file, const wchar_t* extension) {
  std::wstring ext = file.extension().wstring();
  CharLowerBuffW(&ext[0], static_cast<DWORD>(ext.size()));
  return ext == extension;
}

std::string LowerCopy(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Folder names are backslash paths; a name needs at least one character that is not a backslash.
bool ValidFolderName(const std::string& name) {
  return name.find_first_not_of("\\ ") != std::string::npos && name.size() <= 4000;
}

}  // namespace

// LNNotesSession: databases ------------------------------------------------------------------------

LNSTATUS LNNotesSession::GetDatabase(const LNString& path, LNDatabase* database, const LNString& server) {
  return Guard([&] {
    if (database == nullptr || path.IsNull()) Fail(LNERR_INVALID_ARGUMENT);
    RequireSession();
    CheckFault("notes.getdatabase");
    const std::string serverName = Utf8Of(server);
    const ResolvedPath resolved = ResolvePath(serverName, Utf8Of(path));
    std::error_code ec;
    const fs::path file(Wide(resolved.full));
    if (fs::is_directory(file, ec)) Fail(LNERR_IS_A_DIRECTORY, resolved.full);
    if (!fs::is_regular_file(file, ec)) Fail(LNERR_FILE_NOT_FOUND, resolved.full);
    Reset(database->m_db, BindDatabase(resolved, serverName));
    return LNNOERROR;
  });
}

LNSTATUS LNNotesSession::GetDatabases(LNDatabaseArray* databases, const LNString& server,
                                      const LNString& directory, LNINT type) {
  return Guard([&] {
    if (databases == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    if (type != LNDBTYPE_DATABASE && type != LNDBTYPE_TEMPLATE) Fail(LNERR_INVALID_ARGUMENT, "database type");
    RequireSession();
    CheckFault("notes.getdatabases");
    const std::string serverName = Utf8Of(server);
    const ResolvedPath top = ResolvePath(serverName, Utf8Of(directory));
    std::error_code ec;
    const fs::path root(Wide(top.full));
    if (!fs::is_directory(root, ec)) Fail(LNERR_FILE_NOT_FOUND, top.full);
    const wchar_t* extension = type == LNDBTYPE_TEMPLATE ? L".ntf" : L".nsf";
    std::vector<ResolvedPath> found;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      if (it.depth() > 8) it.disable_recursion_pending();
      if (!it->is_regular_file(ec) || !HasExtension(it->path(), extension)) continue;
      ResolvedPath file;
      file.full = Narrow(it->path().wstring());
      const std::string prefix = LowerCopy(top.base) + "\\";
      file.display = LowerCopy(file.full).compare(0, prefix.size(), prefix) == 0
                         ? file.full.substr(prefix.size())
                         : file.full;
      found.push_back(file);
    }
    std::sort(found.begin(), found.end(), [](const ResolvedPath& a, const ResolvedPath& b) {
      return LowerCopy(a.display) < LowerCopy(b.display);
    });
    HandleList* list = new HandleList;
    for (const ResolvedPath& file : found) list->handles.push_back(BindDatabase(file, serverName));
    Reset(databases->m_list, list);
    return LNNOERROR;
  });
}

LNSTATUS LNNotesSession::CreateDatabaseFromTemplate(const LNString& templatePath,
                                                    const LNString& templateServer,
                                                    const LNString& targetPath, const LNString& targetServer,
                                                    const LNCreateDatabaseOptions& options,
                                                    LNDatabase* newDatabase) {
  return Guard([&] {
    if (templatePath.IsNull() || targetPath.IsNull()) Fail(LNERR_INVALID_ARGUMENT);
    RequireSession();
    CheckFault("notes.createfromtemplate");
    const ResolvedPath source = ResolvePath(Utf8Of(templateServer), Utf8Of(templatePath));
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(Wide(source.full)), ec)) Fail(LNERR_TEMPLATE_NOT_FOUND, source.full);
    lnstore::DatabaseInfo templateInfo;
    std::vector<lnstore::Design> designs;
    {
      std::unique_ptr<lnstore::Store> design = lnstore::Store::Open(source.full, true);
      std::lock_guard<std::recursive_mutex> lock(design->Mutex());
      templateInfo = design->Info();
      designs = design->Designs();
    }
    const std::string targetServerName = Utf8Of(targetServer);
    const ResolvedPath target = ResolvePath(targetServerName, Utf8Of(targetPath));
    lnstore::DatabaseInfo info;
    info.title = Utf8Of(options.GetTitle());
    if (info.title.empty()) info.title = Narrow(fs::path(Wide(target.full)).stem().wstring());
    info.inheritsFrom = templateInfo.templateName.empty() ? templateInfo.title : templateInfo.templateName;
    lnstore::Store::Create(target.full, info, designs).reset();
    if (newDatabase) Reset(newDatabase->m_db, BindDatabase(target, targetServerName));
    return LNNOERROR;
  });
}

// LNDatabase ---------------------------------------------------------------------------------------

LNDatabase::LNDatabase() : m_db(nullptr) {}
LNDatabase::LNDatabase(const LNDatabase& other) : m_db(AddRef(other.m_db)) {}
LNDatabase& LNDatabase::operator=(const LNDatabase& other) {
  Reset(m_db, AddRef(other.m_db));
  return *this;
}
LNDatabase::~LNDatabase() {
  // The last handle on an open database closes it; its flush failure has nobody to go to.
  if (m_db && m_db->refs.load() == 1) {
    std::shared_ptr<lnstore::Store> store;
    {
      std::lock_guard<std::mutex> lock(m_db->mutex);
      store.swap(m_db->store);
    }
    if (store) {
      std::lock_guard<std::recursive_mutex> lock(store->Mutex());
      try {
        store->Flush();
      } catch (const lnstore::Failure&) {
      }
    }
  }
  Release(m_db);
}

LNSTATUS LNDatabase::Open(LNINT flags) {
  return Guard([&] {
    if (flags & ~LNDBOPEN_WRITE) Fail(LNERR_INVALID_ARGUMENT, "open flags");
    Delay("notes.opendatabase");
    DatabaseState* db = Attached(m_db);
    std::lock_guard<std::mutex> lock(db->mutex);
    std::shared_ptr<lnstore::Store> store = db->store ? db->store : AcquireStore(db->fullPath);
    if (flags & LNDBOPEN_WRITE) {
      std::lock_guard<std::recursive_mutex> storeLock(store->Mutex());
      store->CheckWritable();
    }
    db->store = store;
    return LNNOERROR;
  });
}

LNSTATUS LNDatabase::Close() {
  return Guard([&] {
    DatabaseState* db = m_db;
    if (db == nullptr) return LNNOERROR;
    std::shared_ptr<lnstore::Store> store;
    {
      std::lock_guard<std::mutex> lock(db->mutex);
      store.swap(db->store);
    }
    if (!store) return LNNOERROR;
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    store->Flush();
    // The file's last user folds the journal in, so that the file alone holds everything once it is
    // closed. Closing the connection tries once more; a journal that stays is named by
    // GetJournalFilepath.
    if (store.use_count() == 1 && store->HasJournal()) {
      if (FaultHits("notes.fold")) {
        store->KeepJournal();
        Fail(LNERR_DISK_FULL, store->JournalPath() + " cannot be folded into the file");
      }
      const unsigned status = store->FoldJournal();
      if (status != LNNOERROR && status != LNERR_DATABASE_IN_USE)
        Fail(status, store->JournalPath() + " cannot be folded into the file");
    }
    return LNNOERROR;
  });
}

LNString LNDatabase::GetJournalFilepath() const {
  return GuardValue(LNString(), [&] {
    const std::string journal = Attached(m_db)->fullPath + "-wal";
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(journal).c_str(), GetFileExInfoStandard, &data)) return LNString();
    return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0 ? MakeString(journal) : LNString();
  });
}

LNSTATUS LNDatabase::Flush() {
  return Guard([&] {
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    store->Flush();
    return LNNOERROR;
  });
}

LNSTATUS LNDatabase::DeleteDocument(LNDocument* document) {
  return Guard([&] {
    if (document == nullptr || document->m_note == nullptr) Fail(LNERR_NULL_OBJECT);
    NoteState* note = document->m_note;
    if (note->record.noteId == 0) Fail(LNERR_NOTE_NOT_SAVED);
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    if (note->db == nullptr || note->db->fullPath != m_db->fullPath)
      Fail(LNERR_INVALID_ARGUMENT, "the document belongs to another database");
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    store->DeleteNote(note->record.noteId);
    note->record.noteId = 0;
    note->record.unid.clear();
    for (lnstore::AttachmentRecord& attachment : note->record.attachments) attachment.id = 0;
    return LNNOERROR;
  });
}

LNBOOL LNDatabase::IsOpen() const {
  if (m_db == nullptr) return 0;
  std::lock_guard<std::mutex> lock(m_db->mutex);
  return m_db->store ? 1 : 0;
}

LNString LNDatabase::GetFilename() const {
  return GuardValue(LNString(), [&] {
    const std::string& full = Attached(m_db)->fullPath;
    const size_t slash = full.find_last_of("\\/");
    return MakeString(slash == std::string::npos ? full : full.substr(slash + 1));
  });
}

LNString LNDatabase::GetFilepath() const {
  return GuardValue(LNString(), [&] { return MakeString(Attached(m_db)->displayPath); });
}

LNString LNDatabase::GetServer() const {
  return GuardValue(LNString(), [&] { return MakeString(Attached(m_db)->server); });
}

namespace {
lnstore::DatabaseInfo ReadInfo(DatabaseState* db) {
  std::shared_ptr<lnstore::Store> store = Attached(db)->OpenStore();
  std::lock_guard<std::recursive_mutex> lock(store->Mutex());
  return store->Info();
}
}  // namespace

LNString LNDatabase::GetTitle() const {
  return GuardValue(LNString(), [&] { return MakeString(ReadInfo(m_db).title); });
}

LNString LNDatabase::GetTemplateName() const {
  return GuardValue(LNString(), [&] { return MakeString(ReadInfo(m_db).templateName); });
}

LNString LNDatabase::GetInheritsFromTemplateName() const {
  return GuardValue(LNString(), [&] { return MakeString(ReadInfo(m_db).inheritsFrom); });
}

LNSTATUS LNDatabase::CreateFolder(const LNString& name, LNViewFolder* newFolder) {
  return Guard([&] {
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    CheckFault("notes.createfolder");
    const std::string folderName = Utf8Of(name);
    if (!ValidFolderName(folderName)) Fail(LNERR_INVALID_ARGUMENT, "folder name");
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    const lnstore::Design design = store->CreateFolder(folderName);
    if (newFolder) Reset(newFolder->m_folder, NewFolderHandle(m_db, design));
    return LNNOERROR;
  });
}

LNSTATUS LNDatabase::GetViewFolder(const LNString& name, LNViewFolder* viewFolder) const {
  return Guard([&] {
    if (viewFolder == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    CheckFault("notes.getviewfolder");
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    lnstore::Design design;
    if (!store->FindDesign(Utf8Of(name), &design)) Fail(LNERR_FOLDER_NOT_FOUND, Utf8Of(name));
    Reset(viewFolder->m_folder, NewFolderHandle(m_db, design));
    return LNNOERROR;
  });
}

LNSTATUS LNDatabase::GetViewFolders(LNViewFolderArray* viewFolders, LNBOOL includeViews) const {
  return Guard([&] {
    if (viewFolders == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    HandleList* list = new HandleList;
    for (const lnstore::Design& d : store->Designs())
      if (d.folder || includeViews) list->handles.push_back(NewFolderHandle(m_db, d));
    Reset(viewFolders->m_list, list);
    return LNNOERROR;
  });
}

LNBOOL LNDatabase::ViewFolderExists(const LNString& name) const {
  return GuardValue<LNBOOL>(0, [&] {
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    lnstore::Design design;
    return store->FindDesign(Utf8Of(name), &design) ? 1 : 0;
  });
}

LNSTATUS LNDatabase::CreateDocument(LNDocument* document) {
  return Guard([&] {
    if (document == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    Attached(m_db)->OpenStore();
    NoteState* note = NewDocumentHandle(m_db, 0);
    note->open = true;
    Reset(document->m_note, note);
    return LNNOERROR;
  });
}

LNSTATUS LNDatabase::GetDocument(LNNOTEID noteId, LNDocument* document) const {
  return Guard([&] {
    if (document == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    int noteClass = 0;
    if (noteId == 0 || !store->FindNote(noteId, &noteClass) || noteClass != lnstore::kNoteClassDocument)
      Fail(LNERR_NOTE_NOT_FOUND, std::to_string(noteId));
    Reset(document->m_note, NewDocumentHandle(m_db, noteId));
    return LNNOERROR;
  });
}

LNSTATUS LNDatabase::GetDocuments(LNNoteArray* documents) const {
  return Guard([&] {
    if (documents == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    std::shared_ptr<lnstore::Store> store = Attached(m_db)->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    HandleList* list = new HandleList;
    for (uint32_t id : store->DocumentIds()) list->handles.push_back(NewDocumentHandle(m_db, id));
    Reset(documents->m_list, list);
    return LNNOERROR;
  });
}

LNDatabaseArray::LNDatabaseArray() : m_list(new HandleList) {}
LNDatabaseArray::LNDatabaseArray(const LNDatabaseArray& other) : m_list(AddRef(other.m_list)) {}
LNDatabaseArray& LNDatabaseArray::operator=(const LNDatabaseArray& other) {
  Reset(m_list, AddRef(other.m_list));
  return *this;
}
LNDatabaseArray::~LNDatabaseArray() { Release(m_list); }
LNINT LNDatabaseArray::GetCount() const { return static_cast<LNINT>(m_list->handles.size()); }
LNDatabase LNDatabaseArray::operator[](LNINT index) const {
  LNDatabase db;
  if (index >= 0 && static_cast<size_t>(index) < m_list->handles.size())
    db.m_db = AddRef(static_cast<DatabaseState*>(m_list->handles[static_cast<size_t>(index)]));
  else
    Raise(LNERR_INDEX_OUT_OF_RANGE);
  return db;
}

LNCreateDatabaseOptions::LNCreateDatabaseOptions() = default;
void LNCreateDatabaseOptions::SetTitle(const LNString& title) { m_title = title; }
LNString LNCreateDatabaseOptions::GetTitle() const { return m_title; }

LNNoteArray::LNNoteArray() : m_list(new HandleList) {}
LNNoteArray::LNNoteArray(const LNNoteArray& other) : m_list(AddRef(other.m_list)) {}
LNNoteArray& LNNoteArray::operator=(const LNNoteArray& other) {
  Reset(m_list, AddRef(other.m_list));
  return *this;
}
LNNoteArray::~LNNoteArray() { Release(m_list); }
LNINT LNNoteArray::GetCount() const { return static_cast<LNINT>(m_list->handles.size()); }
LNDocument LNNoteArray::operator[](LNINT index) const {
  LNDocument doc;
  if (index >= 0 && static_cast<size_t>(index) < m_list->handles.size())
    doc.m_note = AddRef(static_cast<NoteState*>(m_list->handles[static_cast<size_t>(index)]));
  else
    Raise(LNERR_INDEX_OUT_OF_RANGE);
  return doc;
}

// Views and folders --------------------------------------------------------------------------------

LNViewFolder::LNViewFolder() : m_folder(nullptr) {}
LNViewFolder::LNViewFolder(const LNViewFolder& other) : m_folder(AddRef(other.m_folder)) {}
LNViewFolder& LNViewFolder::operator=(const LNViewFolder& other) {
  Reset(m_folder, AddRef(other.m_folder));
  return *this;
}
LNViewFolder::~LNViewFolder() { Release(m_folder); }

namespace {
FolderState* AttachedFolder(FolderState* folder) {
  if (folder == nullptr) Fail(LNERR_NULL_OBJECT);
  return folder;
}
}  // namespace

LNSTATUS LNViewFolder::Open(LNINT /*flags*/) {
  return Guard([&] {
    FolderState* folder = AttachedFolder(m_folder);
    std::shared_ptr<lnstore::Store> store = folder->db->OpenStore();
    CheckFault("notes.openfolder");
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    folder->entries = store->Entries(folder->design);
    folder->open = true;
    return LNNOERROR;
  });
}

LNSTATUS LNViewFolder::Close() {
  return Guard([&] {
    FolderState* folder = m_folder;
    if (folder == nullptr) return LNNOERROR;
    folder->open = false;
    std::vector<uint32_t>().swap(folder->entries);
    return LNNOERROR;
  });
}

LNString LNViewFolder::GetName() const {
  return GuardValue(LNString(), [&] { return MakeString(AttachedFolder(m_folder)->design.name); });
}

LNBOOL LNViewFolder::IsFolder() const {
  return GuardValue<LNBOOL>(0, [&] { return AttachedFolder(m_folder)->design.folder ? 1 : 0; });
}

LNINT LNViewFolder::GetEntryCount() const {
  return GuardValue<LNINT>(0, [&] {
    FolderState* folder = AttachedFolder(m_folder);
    if (!folder->open) Fail(LNERR_NOTE_NOT_OPEN);
    return static_cast<LNINT>(folder->entries.size());
  });
}

LNSTATUS LNViewFolder::GetEntry(LNINT index, LNVFEntry* entry) const {
  return Guard([&] {
    FolderState* folder = AttachedFolder(m_folder);
    if (entry == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    if (!folder->open) Fail(LNERR_NOTE_NOT_OPEN);
    if (index < 0 || static_cast<size_t>(index) >= folder->entries.size()) Fail(LNERR_INDEX_OUT_OF_RANGE);
    Reset(entry->m_db, AddRef(folder->db));
    entry->m_noteId = folder->entries[static_cast<size_t>(index)];
    return LNNOERROR;
  });
}

LNVFEntry LNViewFolder::operator[](LNINT index) const {
  LNVFEntry entry;
  GetEntry(index, &entry);
  return entry;
}

LNSTATUS LNViewFolder::FolderAddDocument(const LNDocument& document) {
  return Guard([&] {
    FolderState* folder = AttachedFolder(m_folder);
    if (!folder->design.folder) Fail(LNERR_NOT_A_FOLDER, folder->design.name);
    NoteState* note = document.m_note;
    if (note == nullptr) Fail(LNERR_NULL_OBJECT);
    if (note->record.noteId == 0) Fail(LNERR_NOTE_NOT_SAVED);
    std::shared_ptr<lnstore::Store> store = folder->db->OpenStore();
    if (note->db->OpenStore() != store)
      Fail(LNERR_INVALID_ARGUMENT, "the document belongs to another database");
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    // The database says whether the document is new to the folder: looking through the open
    // folder's entries for it would cost in proportion to the folder at every filing.
    if (store->AddToFolder(folder->design.noteId, note->record.noteId) && folder->open)
      folder->entries.push_back(note->record.noteId);
    return LNNOERROR;
  });
}

LNViewFolderArray::LNViewFolderArray() : m_list(new HandleList) {}
LNViewFolderArray::LNViewFolderArray(const LNViewFolderArray& other) : m_list(AddRef(other.m_list)) {}
LNViewFolderArray& LNViewFolderArray::operator=(const LNViewFolderArray& other) {
  Reset(m_list, AddRef(other.m_list));
  return *this;
}
LNViewFolderArray::~LNViewFolderArray() { Release(m_list); }
LNINT LNViewFolderArray::GetCount() const { return static_cast<LNINT>(m_list->handles.size()); }
LNViewFolder LNViewFolderArray::operator[](LNINT index) const {
  LNViewFolder folder;
  if (index >= 0 && static_cast<size_t>(index) < m_list->handles.size())
    folder.m_folder = AddRef(static_cast<FolderState*>(m_list->handles[static_cast<size_t>(index)]));
  else
    Raise(LNERR_INDEX_OUT_OF_RANGE);
  return folder;
}

LNVFEntry::LNVFEntry() : m_db(nullptr), m_noteId(0) {}
LNVFEntry::LNVFEntry(const LNVFEntry& other) : m_db(AddRef(other.m_db)), m_noteId(other.m_noteId) {}
LNVFEntry& LNVFEntry::operator=(const LNVFEntry& other) {
  Reset(m_db, AddRef(other.m_db));
  m_noteId = other.m_noteId;
  return *this;
}
LNVFEntry::~LNVFEntry() { Release(m_db); }
LNNOTEID LNVFEntry::GetNoteID() const { return m_noteId; }

LNSTATUS LNVFEntry::GetDocument(LNDocument* document) const {
  return Guard([&] {
    if (document == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    if (m_db == nullptr) Fail(LNERR_NULL_OBJECT);
    std::shared_ptr<lnstore::Store> store = m_db->OpenStore();
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    int noteClass = 0;
    if (!store->FindNote(m_noteId, &noteClass)) Fail(LNERR_NOTE_NOT_FOUND, std::to_string(m_noteId));
    Reset(document->m_note, NewDocumentHandle(m_db, m_noteId));
    return LNNOERROR;
  });
}
