// One Notes database file over SQLite: notes with their packed items, attachments, views and folders,
// and the write policy that makes saves cheap and crashes harmless.
//
// Durability rule. Every write (a saved note, a new folder, a document filed into a folder) is
// atomic on its own (a savepoint) and joins the store's open write transaction. That transaction is
// committed at flush points: after kFlushEveryWrites writes, kFlushDelayMs after the first write
// that is not yet flushed (by the store's flush thread, even when no further call comes), and on
// Flush and destruction. A process that dies loses at most the writes since the last flush, never
// part of one, and never anything flushed before. The write lock of the file is held only while
// unflushed writes exist; readers in other connections (WAL) are never blocked and see every
// flushed write. Commits run with WAL and synchronous=NORMAL: a flush survives the death of the
// process at once; after a power failure the file is consistent but may lack the last flushes.
//
// A document's writes are flushed together: while a flush hold is taken (from a document's first
// save until it is closed, after it was filed), a flush that falls due waits for the hold's release,
// so a killed process never leaves a saved document outside its folder. Flush and destruction do not
// wait. A flush that fails (a full disk) loses the writes since the last one; the store then refuses
// every write with that failure until Flush has reported it, so that no write is taken as done after
// the loss.
//
// Journal. Flushes go to the journal beside the file (SQLite's WAL), which is copied into the file
// once it has grown large, when the last connection to the file closes, and when a store opens a file
// whose journal was left beside it. FoldJournal copies it at once, so that the file alone holds every
// flushed write while the store stays open. The copy grows the file: on a full disk it fails, and the
// journal stays beside the file, which is whole only together with it, until a later fold has room.
//
// Reading rule. Reads outside the write transaction share one read transaction, opened by the first
// of them and ended by the next write, by Flush, or kFlushDelayMs after it was opened (by the flush
// thread). A read of its own would take and drop the shared-memory lock of the WAL each time, which
// costs a request to the wineserver under Wine; sharing one makes reading a folder's documents cost
// in proportion to the folder. A reader sees writes of other connections at most kFlushDelayMs late,
// and its own at once.
//
// Thread safety: callers hold Mutex() around every call; the flush thread takes it too.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NoteFormat.h"

struct sqlite3;
struct sqlite3_stmt;

namespace lnstore {

struct DatabaseInfo {
  std::string title;
  std::string templateName;  // design template name when the database is a template
  std::string inheritsFrom;  // template name of the template it was created from
};

// A view or folder. A view chooses documents by form: selection "*" takes all documents, "" none,
// otherwise a ';'-separated list of forms. A folder holds the documents filed into it.
struct Design {
  uint32_t noteId = 0;
  std::string name;
  bool folder = false;
  std::string selection;
};

struct AttachmentRecord {
  int64_t id = 0;  // 0 until saved
  std::string name;
  int64_t size = 0;
  std::string data;  // the bytes, only while unsaved
};

struct NoteRecord {
  uint32_t noteId = 0;  // 0 until saved
  std::string unid;
  int noteClass = kNoteClassDocument;
  std::vector<Item> items;
  std::vector<AttachmentRecord> attachments;
};

class Store {
 public:
  static constexpr int kFlushEveryWrites = 512;
  static constexpr int kFlushDelayMs = 250;

  // An existing database file (UTF-8 path). Failures: LNERR_FILE_NOT_FOUND, LNERR_NOT_A_DATABASE,
  // LNERR_DATABASE_IO. A read-only store refuses every write, yet opens the file for writing when it
  // can: as the file's last connection it then folds a journal left beside the file into it on
  // closing and removes the files beside it, as a writer's last connection does.
  static std::unique_ptr<Store> Open(const std::string& path, bool readOnly);
  // A new database file with the given design, flushed before it returns. It is built under a name of
  // this process's own beside it ("<path>.<process>-<n>.creating", one no file has) and renamed once
  // complete, so that no file of the name exists half made and no other file is touched.
  // LNERR_ALREADY_EXISTS when the file exists; a failure leaves no file behind.
  static std::unique_ptr<Store> Create(const std::string& path, const DatabaseInfo& info,
                                       const std::vector<Design>& designs);
  ~Store();  // flushes; errors are lost here, call Flush first to see them
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  std::recursive_mutex& Mutex() { return mutex_; }
  const std::string& Path() const { return path_; }

  DatabaseInfo Info();
  std::vector<Design> Designs();
  bool FindDesign(const std::string& name, Design* design);
  Design CreateFolder(const std::string& name);  // LNERR_FOLDER_EXISTS when a view or folder has the name
  // Note ids of the view's or folder's documents, in filing or saving order.
  std::vector<uint32_t> Entries(const Design& design);
  // Files the document; false when the folder held it already (filing is once per document).
  bool AddToFolder(uint32_t folderId, uint32_t noteId);
  // Removes the note, its attachments and its folder entries.
  void DeleteNote(uint32_t noteId);

  std::vector<uint32_t> DocumentIds();
  bool LoadNote(uint32_t noteId, NoteRecord* note);  // false when there is no such note
  // The note's class, without reading its items; false when there is no such note.
  bool FindNote(uint32_t noteId, int* noteClass);
  // Writes the items and the unsaved attachments; gives a new note its id and universal id.
  void SaveNote(NoteRecord* note);
  std::string AttachmentData(int64_t attachmentId);

  // Commits what is unflushed. Reports a failure of an earlier flush too, once.
  void Flush();
  // Commits what is unflushed and copies the journal into the file, so that the file alone holds every
  // flushed write. Waits for nobody: while a document is half written (a flush hold) it does nothing,
  // and what readers of other connections still read stays in the journal too. Never throws: a failed
  // commit is kept for Flush as any flush failure is, and a failed copy leaves the journal whole.
  // Returns 0 when the journal is empty after it; LNERR_DATABASE_IN_USE when a half-written document or
  // another connection kept part of it; else the status of the failed commit or copy (LNERR_DISK_FULL).
  unsigned FoldJournal();
  // The journal beside the file, and whether it holds anything (the file is then whole only with it).
  std::string JournalPath() const { return path_ + "-wal"; }
  bool HasJournal() const;
  // Leaves the journal beside the file when the connection closes, as a fold on a full disk does.
  void KeepJournal();
  // Fails with LNERR_DATABASE_IN_USE when another connection holds the write lock for longer than a
  // statement waits for it; takes the lock only for the test.
  void CheckWritable();
  // A document's writes begin (HoldFlush) and end (ReleaseFlushHold); holds nest. The release makes a
  // flush that fell due meanwhile; its failure is thrown when report is set, else kept for Flush.
  void HoldFlush();
  void ReleaseFlushHold(bool report);

 private:
  Store(sqlite3* db, const std::string& path, bool readOnly);
  void Exec(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  void Step(sqlite3_stmt* stmt, const char* what);
  [[noreturn]] void Fail(const std::string& what);
  // The status of the connection's last failure: a full disk, damage, or any other input or output.
  unsigned FailureStatus() const;
  // Keeps failure as the store's failed state and forgets the transaction that SQLite took back.
  void KeepFailure(const Failure& failure);
  void BeginWrite();
  void BeginRead();
  void Written();
  void ArmFlushTimer();
  void CommitLocked();
  void FlushThread();
  uint32_t AllocateNoteId();
  std::string NewUnid();
  void InsertDesign(const Design& design, uint32_t noteId);

  template <typename F>
  void Atomically(F&& body);

  sqlite3* db_;
  std::string path_;
  bool readOnly_;
  std::recursive_mutex mutex_;
  std::map<std::string, sqlite3_stmt*> statements_;
  bool inTransaction_ = false;  // the write transaction is open
  bool inRead_ = false;         // the shared read transaction is open
  int unflushed_ = 0;
  uint32_t nextNoteId_ = 0;
  uint64_t unidCounter_ = 0;
  // The failed state: a flush that failed, kept until Flush reports it.
  unsigned deferredStatus_ = 0;
  std::string deferredWhat_;
  int holds_ = 0;
  bool flushDue_ = false;

  std::mutex timerMutex_;
  std::condition_variable timerWake_;
  bool timerArmed_ = false;
  bool timerStop_ = false;
  std::chrono::steady_clock::time_point armedAt_;
  std::thread flusher_;
};

}  // namespace lnstore
