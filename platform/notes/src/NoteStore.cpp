// The SQLite side of a Notes database: schema, note and design storage, and the flush policy.
#include "NoteStore.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <iterator>
#include <random>

#include "SqliteFiles.h"
#include "SqliteMemory.h"
#include "lnnotes.h"

namespace fs = std::filesystem;

namespace lnstore {
namespace {

const char kFormat[] = "brindle-notes-1";

// The WAL is copied into the file once it holds 2048 pages (32 MiB of 16 KiB pages): each copy waits
// for the disk twice, which a busy disk makes the slowest step of a conversion with attachments.
const char kCheckpointPragma[] = "PRAGMA wal_autocheckpoint=2048";

// How long a statement waits for another connection's lock before it fails.
constexpr int kBusyTimeoutMs = 10000;

const char kSchema[] =
    "CREATE TABLE dbinfo(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    // Universal ids are 128 random bits; nothing looks notes up by them, so they carry no index.
    "CREATE TABLE notes(noteid INTEGER PRIMARY KEY, unid TEXT NOT NULL, class INTEGER NOT NULL,"
    " items BLOB NOT NULL);"
    "CREATE TABLE designs(noteid INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " isfolder INTEGER NOT NULL, selection TEXT NOT NULL);"
    // Folder membership lives with the folder: one row per filed document; the row id keeps the
    // filing order.
    "CREATE TABLE folderentries(id INTEGER PRIMARY KEY, folder INTEGER NOT NULL, noteid INTEGER NOT NULL,"
    " UNIQUE(folder, noteid));"
    "CREATE TABLE attachments(id INTEGER PRIMARY KEY, noteid INTEGER NOT NULL, name TEXT NOT NULL,"
    " size INTEGER NOT NULL, data BLOB NOT NULL);"
    "CREATE INDEX attachments_note ON attachments(noteid);";

// Resets a cached statement when the caller is done with it.
class Statement {
 public:
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~Statement() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  sqlite3_stmt* get() const { return stmt_; }
  void Text(int index, const std::string& s) {
    sqlite3_bind_text(stmt_, index, s.data(), int(s.size()), SQLITE_STATIC);
  }
  void Blob(int index, const std::string& s) {
    sqlite3_bind_blob(stmt_, index, s.empty() ? "" : s.data(), int(s.size()), SQLITE_STATIC);
  }
  void Int(int index, int64_t v) { sqlite3_bind_int64(stmt_, index, v); }
  std::string ColumnText(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, sqlite3_column_bytes(stmt_, col)) : std::string();
  }
  std::string ColumnBlob(int col) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    return p ? std::string(p, sqlite3_column_bytes(stmt_, col)) : std::string();
  }
  int64_t ColumnInt(int col) const { return sqlite3_column_int64(stmt_, col); }

 private:
  sqlite3_stmt* stmt_;
};

// Whether another program holds the file so that it cannot be read here: opened without sharing, or
// locked over its first bytes. SQLite takes either for a damaged or unreadable file.
bool HeldByAnotherProgram(const std::string& path) {
  const std::u16string wide = Utf8ToUtf16(path);
  const std::wstring name(wide.begin(), wide.end());
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  char head[100];
  DWORD got = 0;
  bool locked = !ReadFile(file, head, sizeof head, &got, nullptr) && GetLastError() == ERROR_LOCK_VIOLATION;
  // A shared lock of the first bytes is refused while another program locks them for itself.
  OVERLAPPED start = {};
  if (!locked && !LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, sizeof head, 0, &start))
    locked = GetLastError() == ERROR_LOCK_VIOLATION;
  else if (!locked)
    UnlockFileEx(file, 0, sizeof head, 0, &start);
  CloseHandle(file);
  return locked;
}

std::wstring WideName(const std::string& path) {
  const std::u16string wide = Utf8ToUtf16(path);
  return std::wstring(wide.begin(), wide.end());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(WideName(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files a database is made under until it is complete, "<name>.<process>-<n>.creating", and what
// SQLite may have left beside one.
const char kBuildingSuffix[] = ".creating";
const wchar_t kWideBuildingSuffix[] = L".creating";
const char* const kSideFiles[] = {"", "-journal", "-wal", "-shm"};
// Names tried before the making of a database gives up: far more than one process makes at once.
constexpr unsigned kBuildingNameTries = 1000;

// The name a database is made under until it is complete: one of this process's own, claimed by making
// the file, so that making it never touches a file of another's. Only a name that a file has already
// makes the next one worth trying; any other failure is the directory's and ends the making, named.
std::string ClaimBuildingName(const std::string& path) {
  static std::atomic<unsigned> made{0};
  for (unsigned tries = 1;; ++tries) {
    const std::string name = path + "." + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(made.fetch_add(1) + 1) + kBuildingSuffix;
    const HANDLE file = CreateFileW(WideName(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return name;
    }
    const DWORD error = GetLastError();
    if ((error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) && tries < kBuildingNameTries) continue;
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)
      throw Failure(LNERR_ACCESS_DENIED, path + " cannot be written: access is denied");
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
      throw Failure(LNERR_DISK_FULL, path + " cannot be written: the disk is full");
    throw Failure(LNERR_FILE_IO, path + " cannot be created (error " + std::to_string(error) + ")");
  }
}

// Whether the process of this id runs. One that cannot be asked (another user's) runs.
bool ProcessRuns(DWORD id) {
  if (id == GetCurrentProcessId()) return true;
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

// Removes what a process killed while making a database of this path left beside it: a file
// "<name>.<process>-<n>.creating" whose process no longer runs, with the files SQLite keeps beside it.
// Only a file that is empty or an SQLite database is one this library made, and only one that nobody
// has open (a process of another Windows system on the same share may run under the id) is removed.
void RemoveDeadBuildings(const std::string& path) {
  const fs::path target = fs::u8path(path);
  const std::wstring name = target.filename().wstring();
  const fs::path directory = target.parent_path();
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW((directory / (name + L".*-*.creating")).wstring().c_str(),
                                         FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  const std::wstring suffix = kWideBuildingSuffix;
  do {
    const std::wstring entry = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.size() <= name.size() + suffix.size() ||
        _wcsnicmp(entry.c_str(), name.c_str(), name.size()) != 0 || entry[name.size()] != L'.' ||
        entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    // "<process>-<n>" between the name and the suffix.
    const std::wstring middle = entry.substr(name.size() + 1, entry.size() - name.size() - 1 - suffix.size());
    const size_t dash = middle.find(L'-');
    auto digits = [](const std::wstring& text) {
      return !text.empty() && text.size() <= 10 && std::all_of(text.begin(), text.end(), iswdigit);
    };
    if (dash == std::wstring::npos || !digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1)))
      continue;
    const unsigned long long process = std::stoull(middle.substr(0, dash));
    if (process > 0xFFFFFFFFull || ProcessRuns(DWORD(process))) continue;
    const std::wstring building = (directory / entry).wstring();
    // Held without sharing while its side files go, so that nobody opens it meanwhile.
    const HANDLE file = CreateFileW(building.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    static const char kSqliteHeader[16] = "SQLite format 3";
    char head[sizeof kSqliteHeader];
    DWORD got = 0;
    if (ReadFile(file, head, sizeof head, &got, nullptr) &&
        (got == 0 || (got == sizeof head && std::memcmp(head, kSqliteHeader, sizeof head) == 0))) {
      for (const char* side : kSideFiles) {
        if (!*side) continue;
        const HANDLE sideFile =
            CreateFileW((building + std::wstring(side, side + strlen(side))).c_str(), DELETE, 0, nullptr,
                        OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (sideFile != INVALID_HANDLE_VALUE) CloseHandle(sideFile);
      }
      FILE_DISPOSITION_INFO remove = {TRUE};
      SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
    }
    CloseHandle(file);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

Store::Store(sqlite3* db, const std::string& path, bool readOnly)
    : db_(db), path_(path), readOnly_(readOnly) {}

std::unique_ptr<Store> Store::Open(const std::string& path, bool readOnly) {
  UseOwnSqliteMemory();
  UseBackedSharedMemory();
  std::error_code ec;
  if (!fs::is_regular_file(fs::u8path(path), ec))
    throw Failure(LNERR_FILE_NOT_FOUND, "no database file " + path);
  sqlite3* db = nullptr;
  // Read-only stores too: SQLite opens a file that cannot be written for reading on its own, and only
  // a connection that may write folds the journal into the file when it closes.
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr) !=
      SQLITE_OK) {
    const std::string what = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    if (HeldByAnotherProgram(path))
      throw Failure(LNERR_DATABASE_IN_USE, path + " is held by another program");
    throw Failure(LNERR_DATABASE_IO, "cannot open " + path + ": " + what);
  }
  std::unique_ptr<Store> store(new Store(db, path, readOnly));
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  sqlite3_stmt* stmt = nullptr;
  bool ours = false;
  int rc = sqlite3_prepare_v2(db, "SELECT value FROM dbinfo WHERE key='format'", -1, &stmt, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) {
    const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    ours = v != nullptr && std::string(v) == kFormat;
  }
  sqlite3_finalize(stmt);
  if (!ours) {
    if (HeldByAnotherProgram(path))
      throw Failure(LNERR_DATABASE_IN_USE, path + " is held by another program");
    // Reading a file in its journal's mode makes the journal's index beside it, which a full disk
    // refuses: the file may be whole.
    if (rc == SQLITE_FULL) throw Failure(LNERR_DISK_FULL, path + " cannot be opened: the disk is full");
    throw Failure(LNERR_NOT_A_DATABASE, path + " is not a Notes database");
  }
  if (!readOnly) {
    store->Exec("PRAGMA journal_mode=WAL");
    store->Exec("PRAGMA synchronous=NORMAL");
    store->Exec(kCheckpointPragma);
  }
  // A journal left beside the file (its last connection had no room to fold it in) goes in now, while
  // there may be room; where there still is none it stays, and the file reads as well with it.
  if (store->HasJournal()) {
    std::lock_guard<std::recursive_mutex> lock(store->mutex_);
    store->FoldJournal();
  }
  return store;
}

std::unique_ptr<Store> Store::Create(const std::string& path, const DatabaseInfo& info,
                                     const std::vector<Design>& designs) {
  UseOwnSqliteMemory();
  UseBackedSharedMemory();
  std::error_code ec;
  const fs::path file = fs::u8path(path);
  if (fs::exists(file, ec)) throw Failure(LNERR_ALREADY_EXISTS, path + " already exists");
  if (!fs::is_directory(file.parent_path().empty() ? fs::path(".") : file.parent_path(), ec))
    throw Failure(LNERR_FILE_NOT_FOUND, "no directory for " + path);
  RemoveDeadBuildings(path);
  // The database is made under a name of its own and given its name once complete, so that a process
  // killed while making it never leaves a file of the target's name that does not open.
  const std::string building = ClaimBuildingName(path);
  // The side files first: a process killed meanwhile leaves the file that names them.
  auto removeBuilding = [&] {
    for (size_t i = std::size(kSideFiles); i-- > 0;) fs::remove(fs::u8path(building + kSideFiles[i]), ec);
  };
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(building.c_str(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string what = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    removeBuilding();
    throw Failure(LNERR_FILE_IO, "cannot create " + path + ": " + what);
  }
  std::unique_ptr<Store> store(new Store(db, building, false));
  try {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Large pages: an attachment or a long body fills a few pages instead of many, each a read or
    // write of its own; set before the first write, the file keeps it.
    store->Exec("PRAGMA page_size=16384");
    // Nothing but this connection opens the file while it is made, and a failure removes it: it is
    // written in place, its lock and its undo kept in this process, so that the commit's failure on a
    // full disk is the one failure there is, and no file beside it is made or left.
    store->Exec("PRAGMA locking_mode=EXCLUSIVE");
    store->Exec("PRAGMA journal_mode=MEMORY");
    store->Exec("PRAGMA synchronous=NORMAL");
    store->Exec("BEGIN IMMEDIATE");
    store->inTransaction_ = true;
    store->Exec(kSchema);
    {
      Statement put(store->Prepare("INSERT INTO dbinfo(key, value) VALUES(?, ?)"));
      const std::pair<const char*, std::string> rows[] = {{"format", kFormat},
                                                          {"title", info.title},
                                                          {"templatename", info.templateName},
                                                          {"inheritsfrom", info.inheritsFrom}};
      for (const auto& row : rows) {
        put.Text(1, row.first);
        put.Text(2, row.second);
        if (sqlite3_step(put.get()) != SQLITE_DONE) store->Fail("writing the database information");
        sqlite3_reset(put.get());
      }
    }
    store->nextNoteId_ = 4;
    for (const Design& d : designs) store->InsertDesign(d, store->AllocateNoteId());
    store->CommitLocked();
    // The file says that its users keep their journal beside it; in the file's first page, so the file
    // does not grow.
    {
      Statement mode(store->Prepare("PRAGMA journal_mode=WAL"));
      if (sqlite3_step(mode.get()) != SQLITE_ROW || mode.ColumnText(0) != "wal")
        store->Fail("marking the file for its journal");
    }
    store.reset();
    for (const char* suffix : kSideFiles)
      if (*suffix) fs::remove(fs::u8path(building + suffix), ec);
    if (!MoveFileExW(WideName(building).c_str(), WideName(path).c_str(), MOVEFILE_WRITE_THROUGH))
      throw Failure(GetLastError() == ERROR_ALREADY_EXISTS ? LNERR_ALREADY_EXISTS : LNERR_FILE_IO,
                    "cannot give " + building + " the name " + path);
  } catch (...) {
    store.reset();
    removeBuilding();
    throw;
  }
  // Opening it makes the files beside it; one that cannot (a full disk) takes back the new file and
  // what it made, and leaves any file that was beside the name before.
  const bool hadJournal = FileExists(path + "-wal"), hadShared = FileExists(path + "-shm");
  try {
    return Open(path, false);
  } catch (...) {
    if (!hadJournal) fs::remove(fs::u8path(path + "-wal"), ec);
    if (!hadShared) fs::remove(fs::u8path(path + "-shm"), ec);
    fs::remove(file, ec);
    throw;
  }
}

Store::~Store() {
  {
    std::lock_guard<std::mutex> lock(timerMutex_);
    timerStop_ = true;
  }
  timerWake_.notify_all();
  if (flusher_.joinable()) flusher_.join();
  {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    try {
      CommitLocked();
    } catch (const Failure&) {
      // Nothing can report it here; Flush is the place to see it.
    }
    for (auto& s : statements_) sqlite3_finalize(s.second);
    statements_.clear();
  }
  sqlite3_close(db_);
}

void Store::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string what = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    const Failure failure(FailureStatus(), path_ + ": " + what);
    KeepFailure(failure);
    throw failure;
  }
}

sqlite3_stmt* Store::Prepare(const char* sql) {
  auto found = statements_.find(sql);
  if (found != statements_.end()) return found->second;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
    Fail(std::string("preparing ") + sql);
  statements_[sql] = stmt;
  return stmt;
}

void Store::Step(sqlite3_stmt* stmt, const char* what) {
  const int rc = sqlite3_step(stmt);
  sqlite3_reset(stmt);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) Fail(what);
}

void Store::Fail(const std::string& what) {
  const Failure failure(FailureStatus(), path_ + ": " + what + ": " + sqlite3_errmsg(db_));
  KeepFailure(failure);
  throw failure;
}

unsigned Store::FailureStatus() const {
  switch (sqlite3_errcode(db_)) {
    case SQLITE_FULL:
      return LNERR_DISK_FULL;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return LNERR_DATABASE_IN_USE;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return LNERR_DATABASE_CORRUPT;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return LNERR_ACCESS_DENIED;
    default:
      return LNERR_DATABASE_IO;
  }
}

void Store::KeepFailure(const Failure& failure) {
  // SQLite takes back the whole transaction on some failures (a full disk among them): the writes
  // since the last flush are gone, and the store must not take later writes as joining them.
  if (inTransaction_ && sqlite3_get_autocommit(db_)) {
    inTransaction_ = false;
    unflushed_ = 0;
    if (deferredStatus_ == 0) {
      deferredStatus_ = failure.Status();
      deferredWhat_ = std::string(failure.what()) + " (the writes since the last flush are lost)";
    }
  }
}

// The write transaction is opened lazily, so that no lock is held while nothing is unflushed.
void Store::BeginWrite() {
  if (readOnly_) throw Failure(LNERR_DATABASE_IO, path_ + " is open for reading only");
  if (deferredStatus_ != 0) throw Failure(deferredStatus_, deferredWhat_);
  if (inTransaction_) return;
  // A write starts from the newest state, not from the snapshot of the reads before it.
  if (inRead_) CommitLocked();
  Exec("BEGIN IMMEDIATE");
  inTransaction_ = true;
  unflushed_ = 0;
  // Another process may have written since our last transaction.
  Statement max(Prepare("SELECT COALESCE(MAX(noteid), 0) FROM notes"));
  if (sqlite3_step(max.get()) != SQLITE_ROW) Fail("reading the highest note id");
  nextNoteId_ = static_cast<uint32_t>(max.ColumnInt(0)) + 4;
}

// Deferred: the snapshot is taken by the first read inside the transaction.
void Store::BeginRead() {
  if (inTransaction_ || inRead_) return;
  Exec("BEGIN");
  inRead_ = true;
  ArmFlushTimer();
}

template <typename F>
void Store::Atomically(F&& body) {
  BeginWrite();
  Step(Prepare("SAVEPOINT write_one"), "starting a write");
  try {
    body();
  } catch (...) {
    try {
      Step(Prepare("ROLLBACK TO write_one"), "undoing a failed write");
      Step(Prepare("RELEASE write_one"), "undoing a failed write");
    } catch (const Failure&) {
    }
    throw;
  }
  Step(Prepare("RELEASE write_one"), "ending a write");
  Written();
}

void Store::Written() {
  if (++unflushed_ >= kFlushEveryWrites) {
    if (holds_ > 0) {
      flushDue_ = true;
      return;
    }
    CommitLocked();
    return;
  }
  ArmFlushTimer();
}

// Only the first unflushed write, or the read that opens a read transaction, wakes the flush thread:
// waking it costs a system call each time.
void Store::ArmFlushTimer() {
  {
    std::lock_guard<std::mutex> lock(timerMutex_);
    if (timerArmed_) return;
    timerArmed_ = true;
    armedAt_ = std::chrono::steady_clock::now();
  }
  if (!flusher_.joinable()) flusher_ = std::thread(&Store::FlushThread, this);
  timerWake_.notify_all();
}

void Store::CommitLocked() {
  {
    std::lock_guard<std::mutex> lock(timerMutex_);
    timerArmed_ = false;
  }
  flushDue_ = false;
  if (inRead_) {
    inRead_ = false;
    // Ending a transaction that only read gives nothing up; a failure here leaves nothing behind
    // that a later statement could trip over.
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  if (!inTransaction_) return;
  inTransaction_ = false;
  unflushed_ = 0;
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    const unsigned status = FailureStatus();
    const std::string what = sqlite3_errmsg(db_);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    deferredStatus_ = status;
    deferredWhat_ = path_ + ": flushing failed, the writes since the last flush are lost: " + what;
    throw Failure(deferredStatus_, deferredWhat_);
  }
}

unsigned Store::FoldJournal() {
  if (holds_ > 0) return LNERR_DATABASE_IN_USE;
  try {
    CommitLocked();
  } catch (const Failure& failure) {
    // Kept as the failed state; Flush and the next write report it.
    return failure.Status();
  }
  // Waiting for the readers of other connections could last as long as their reading; without a wait
  // the copy goes as far as they let it.
  sqlite3_busy_timeout(db_, 0);
  const int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
  const unsigned status = rc == SQLITE_OK ? 0u : FailureStatus();
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  return status;
}

bool Store::HasJournal() const {
  const std::u16string wide = Utf8ToUtf16(JournalPath());
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(std::wstring(wide.begin(), wide.end()).c_str(), GetFileExInfoStandard, &data))
    return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

void Store::KeepJournal() { sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr); }

void Store::CheckWritable() {
  if (readOnly_) throw Failure(LNERR_DATABASE_IO, path_ + " is open for reading only");
  // Holding unflushed writes, this connection has the lock already.
  if (inTransaction_) return;
  if (inRead_) CommitLocked();
  Exec("BEGIN IMMEDIATE");
  Exec("ROLLBACK");
}

void Store::HoldFlush() { ++holds_; }

void Store::ReleaseFlushHold(bool report) {
  if (holds_ > 0) --holds_;
  if (holds_ > 0 || !flushDue_) return;
  try {
    CommitLocked();
  } catch (const Failure&) {
    // CommitLocked keeps the failure for Flush and the next write.
    if (report) throw;
  }
}

void Store::FlushThread() {
  std::unique_lock<std::mutex> lock(timerMutex_);
  while (!timerStop_) {
    if (!timerArmed_) {
      timerWake_.wait(lock);
      continue;
    }
    const auto deadline = armedAt_ + std::chrono::milliseconds(kFlushDelayMs);
    if (std::chrono::steady_clock::now() < deadline) {
      timerWake_.wait_until(lock, deadline);
      continue;
    }
    lock.unlock();
    {
      std::lock_guard<std::recursive_mutex> storeLock(mutex_);
      if (holds_ > 0) {
        // A document is half written: the release of its hold makes the flush.
        flushDue_ = true;
        std::lock_guard<std::mutex> timerLock(timerMutex_);
        timerArmed_ = false;
      } else {
        try {
          CommitLocked();
        } catch (const Failure&) {
          // Kept as the failed state; Flush and the next write report it.
        }
      }
    }
    lock.lock();
  }
}

void Store::Flush() {
  CommitLocked();
  if (deferredStatus_ != 0) {
    const unsigned status = deferredStatus_;
    deferredStatus_ = 0;
    throw Failure(status, deferredWhat_);
  }
}

uint32_t Store::AllocateNoteId() {
  if (nextNoteId_ > 0xFFFFFFF0u) throw Failure(LNERR_DATABASE_IO, path_ + ": note ids exhausted");
  const uint32_t id = nextNoteId_;
  nextNoteId_ += 4;
  return id;
}

std::string Store::NewUnid() {
  static std::mt19937_64 random([] {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device() ^
           static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }());
  static std::mutex randomMutex;
  uint64_t a, b;
  {
    std::lock_guard<std::mutex> lock(randomMutex);
    a = random();
    b = random() ^ ++unidCounter_;
  }
  char buf[33];
  std::snprintf(buf, sizeof buf, "%016llX%016llX", static_cast<unsigned long long>(a),
                static_cast<unsigned long long>(b));
  return buf;
}

void Store::InsertDesign(const Design& design, uint32_t noteId) {
  std::vector<Item> items(2);
  items[0].name = "$TITLE";
  items[0].type = kTypeTextList;
  items[0].value = EncodeTextList({design.name});
  items[1].name = "$Flags";
  items[1].type = kTypeTextList;
  items[1].value = EncodeTextList({design.folder ? "F" : ""});
  {
    Statement note(Prepare("INSERT INTO notes(noteid, unid, class, items) VALUES(?, ?, ?, ?)"));
    note.Int(1, noteId);
    const std::string unid = NewUnid();
    note.Text(2, unid);
    note.Int(3, kNoteClassDesign);
    const std::string packed = PackItems(items);
    note.Blob(4, packed);
    if (sqlite3_step(note.get()) != SQLITE_DONE) Fail("writing the design note of " + design.name);
  }
  Statement row(Prepare("INSERT INTO designs(noteid, name, isfolder, selection) VALUES(?, ?, ?, ?)"));
  row.Int(1, noteId);
  row.Text(2, design.name);
  row.Int(3, design.folder ? 1 : 0);
  row.Text(4, design.selection);
  const int rc = sqlite3_step(row.get());
  if (rc == SQLITE_CONSTRAINT)
    throw Failure(LNERR_FOLDER_EXISTS, "a view or folder named " + design.name + " exists");
  if (rc != SQLITE_DONE) Fail("writing the design " + design.name);
}

DatabaseInfo Store::Info() {
  BeginRead();
  DatabaseInfo info;
  Statement q(Prepare("SELECT key, value FROM dbinfo"));
  int rc;
  while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) {
    const std::string key = q.ColumnText(0);
    if (key == "title") info.title = q.ColumnText(1);
    if (key == "templatename") info.templateName = q.ColumnText(1);
    if (key == "inheritsfrom") info.inheritsFrom = q.ColumnText(1);
  }
  if (rc != SQLITE_DONE) Fail("reading the database information");
  return info;
}

std::vector<Design> Store::Designs() {
  BeginRead();
  std::vector<Design> designs;
  Statement q(Prepare("SELECT noteid, name, isfolder, selection FROM designs ORDER BY noteid"));
  int rc;
  while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) {
    Design d;
    d.noteId = static_cast<uint32_t>(q.ColumnInt(0));
    d.name = q.ColumnText(1);
    d.folder = q.ColumnInt(2) != 0;
    d.selection = q.ColumnText(3);
    designs.push_back(d);
  }
  if (rc != SQLITE_DONE) Fail("reading views and folders");
  return designs;
}

bool Store::FindDesign(const std::string& name, Design* design) {
  BeginRead();
  Statement q(Prepare("SELECT noteid, name, isfolder, selection FROM designs WHERE name = ?"));
  q.Text(1, name);
  const int rc = sqlite3_step(q.get());
  if (rc == SQLITE_DONE) return false;
  if (rc != SQLITE_ROW) Fail("looking up the view or folder " + name);
  design->noteId = static_cast<uint32_t>(q.ColumnInt(0));
  design->name = q.ColumnText(1);
  design->folder = q.ColumnInt(2) != 0;
  design->selection = q.ColumnText(3);
  return true;
}

Design Store::CreateFolder(const std::string& name) {
  Design design;
  design.name = name;
  design.folder = true;
  Atomically([&] {
    if (FindDesign(name, &design))
      throw Failure(LNERR_FOLDER_EXISTS, "a view or folder named " + name + " exists");
    design.noteId = AllocateNoteId();
    InsertDesign(design, design.noteId);
  });
  return design;
}

std::vector<uint32_t> Store::Entries(const Design& design) {
  BeginRead();
  std::vector<uint32_t> ids;
  if (design.folder) {
    Statement q(Prepare("SELECT noteid FROM folderentries WHERE folder = ? ORDER BY id"));
    q.Int(1, design.noteId);
    int rc;
    while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) ids.push_back(static_cast<uint32_t>(q.ColumnInt(0)));
    if (rc != SQLITE_DONE) Fail("reading the entries of " + design.name);
    return ids;
  }
  if (design.selection.empty()) return ids;
  std::vector<std::string> forms;
  for (size_t start = 0; start <= design.selection.size();) {
    const size_t end = std::min(design.selection.find(';', start), design.selection.size());
    forms.push_back(design.selection.substr(start, end - start));
    start = end + 1;
  }
  const bool all = design.selection == "*";
  Statement q(Prepare("SELECT noteid, items FROM notes WHERE class = 1 ORDER BY noteid"));
  int rc;
  while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) {
    const uint32_t id = static_cast<uint32_t>(q.ColumnInt(0));
    if (all) {
      ids.push_back(id);
      continue;
    }
    const std::vector<Item> items = UnpackItems(q.ColumnBlob(1));
    const int form = FindItem(items, "Form");
    if (form < 0 || items[form].type != kTypeTextList) continue;
    const std::vector<std::string> values = DecodeTextList(items[form].value);
    if (values.empty()) continue;
    for (const std::string& f : forms)
      if (SameItemName(f, values[0])) {
        ids.push_back(id);
        break;
      }
  }
  if (rc != SQLITE_DONE) Fail("selecting the documents of " + design.name);
  return ids;
}

bool Store::AddToFolder(uint32_t folderId, uint32_t noteId) {
  bool added = false;
  Atomically([&] {
    Statement q(Prepare("INSERT OR IGNORE INTO folderentries(folder, noteid) VALUES(?, ?)"));
    q.Int(1, folderId);
    q.Int(2, noteId);
    if (sqlite3_step(q.get()) != SQLITE_DONE) Fail("filing a document");
    added = sqlite3_changes(db_) == 1;
  });
  return added;
}

void Store::DeleteNote(uint32_t noteId) {
  Atomically([&] {
    const char* statements[] = {"DELETE FROM folderentries WHERE noteid = ?",
                                "DELETE FROM attachments WHERE noteid = ?",
                                "DELETE FROM notes WHERE noteid = ?"};
    for (const char* sql : statements) {
      Statement q(Prepare(sql));
      q.Int(1, noteId);
      if (sqlite3_step(q.get()) != SQLITE_DONE) Fail("removing note " + std::to_string(noteId));
    }
  });
}

std::vector<uint32_t> Store::DocumentIds() {
  BeginRead();
  std::vector<uint32_t> ids;
  Statement q(Prepare("SELECT noteid FROM notes WHERE class = 1 ORDER BY noteid"));
  int rc;
  while ((rc = sqlite3_step(q.get())) == SQLITE_ROW) ids.push_back(static_cast<uint32_t>(q.ColumnInt(0)));
  if (rc != SQLITE_DONE) Fail("listing documents");
  return ids;
}

bool Store::LoadNote(uint32_t noteId, NoteRecord* note) {
  BeginRead();
  {
    Statement q(Prepare("SELECT unid, class, items FROM notes WHERE noteid = ?"));
    q.Int(1, noteId);
    const int rc = sqlite3_step(q.get());
    if (rc == SQLITE_DONE) return false;
    if (rc != SQLITE_ROW) Fail("reading note " + std::to_string(noteId));
    note->noteId = noteId;
    note->unid = q.ColumnText(0);
    note->noteClass = static_cast<int>(q.ColumnInt(1));
    note->items = UnpackItems(q.ColumnBlob(2));
  }
  note->attachments.clear();
  Statement a(Prepare("SELECT id, name, size FROM attachments WHERE noteid = ? ORDER BY id"));
  a.Int(1, noteId);
  int rc;
  while ((rc = sqlite3_step(a.get())) == SQLITE_ROW) {
    AttachmentRecord r;
    r.id = a.ColumnInt(0);
    r.name = a.ColumnText(1);
    r.size = a.ColumnInt(2);
    note->attachments.push_back(std::move(r));
  }
  if (rc != SQLITE_DONE) Fail("reading the attachments of note " + std::to_string(noteId));
  return true;
}

bool Store::FindNote(uint32_t noteId, int* noteClass) {
  BeginRead();
  Statement q(Prepare("SELECT class FROM notes WHERE noteid = ?"));
  q.Int(1, noteId);
  const int rc = sqlite3_step(q.get());
  if (rc == SQLITE_DONE) return false;
  if (rc != SQLITE_ROW) Fail("looking up note " + std::to_string(noteId));
  *noteClass = static_cast<int>(q.ColumnInt(0));
  return true;
}

void Store::SaveNote(NoteRecord* note) {
  uint32_t newId = 0;
  std::string newUnid;
  std::vector<int64_t> attachmentIds;
  Atomically([&] {
    const std::string packed = PackItems(note->items);
    if (note->noteId == 0) {
      newId = AllocateNoteId();
      newUnid = NewUnid();
      Statement q(Prepare("INSERT INTO notes(noteid, unid, class, items) VALUES(?, ?, ?, ?)"));
      q.Int(1, newId);
      q.Text(2, newUnid);
      q.Int(3, note->noteClass);
      q.Blob(4, packed);
      if (sqlite3_step(q.get()) != SQLITE_DONE) Fail("writing a new note");
    } else {
      Statement q(Prepare("UPDATE notes SET items = ? WHERE noteid = ?"));
      q.Blob(1, packed);
      q.Int(2, note->noteId);
      if (sqlite3_step(q.get()) != SQLITE_DONE) Fail("writing note " + std::to_string(note->noteId));
      if (sqlite3_changes(db_) != 1)
        throw Failure(LNERR_NOTE_NOT_FOUND, "note " + std::to_string(note->noteId) + " no longer exists");
    }
    const uint32_t id = note->noteId != 0 ? note->noteId : newId;
    for (const AttachmentRecord& r : note->attachments) {
      if (r.id != 0) continue;
      Statement q(Prepare("INSERT INTO attachments(noteid, name, size, data) VALUES(?, ?, ?, ?)"));
      q.Int(1, id);
      q.Text(2, r.name);
      q.Int(3, r.size);
      q.Blob(4, r.data);
      if (sqlite3_step(q.get()) != SQLITE_DONE) Fail("writing the attachment " + r.name);
      attachmentIds.push_back(sqlite3_last_insert_rowid(db_));
    }
  });
  // Only once the write is in: a failed save leaves the note as it was, ready to be saved again.
  if (note->noteId == 0) {
    note->noteId = newId;
    note->unid = newUnid;
  }
  size_t next = 0;
  for (AttachmentRecord& r : note->attachments) {
    if (r.id != 0) continue;
    r.id = attachmentIds[next++];
    std::string().swap(r.data);
  }
}

std::string Store::AttachmentData(int64_t attachmentId) {
  BeginRead();
  Statement q(Prepare("SELECT data FROM attachments WHERE id = ?"));
  q.Int(1, attachmentId);
  const int rc = sqlite3_step(q.get());
  if (rc == SQLITE_DONE)
    throw Failure(LNERR_NOTE_NOT_FOUND, "attachment " + std::to_string(attachmentId) + " is gone");
  if (rc != SQLITE_ROW) Fail("reading attachment " + std::to_string(attachmentId));
  return q.ColumnBlob(0);
}

}  // namespace lnstore
