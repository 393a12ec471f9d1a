// Inside the Notes class library: the state behind the public handles, status raising, the session's
// installation (data directory, servers), the fault seam and the process-wide table of open files.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "NoteFormat.h"
#include "NoteStore.h"
#include "lnnotes.h"

namespace lnimpl {

struct RefCounted {
  std::atomic<int> refs{1};
  virtual ~RefCounted() = default;
};

template <typename T>
T* AddRef(T* p) {
  if (p) p->refs.fetch_add(1);
  return p;
}

inline void Release(RefCounted* p) {
  if (p && p->refs.fetch_sub(1) == 1) delete p;
}

// Replaces *slot with value, which the slot takes over.
template <typename T>
void Reset(T*& slot, T* value) {
  T* old = slot;
  slot = value;
  Release(old);
}

// A database handle's target and, while open, its store (shared by every handle on the same file).
struct DatabaseState : RefCounted {
  std::string fullPath;     // UTF-8
  std::string displayPath;  // relative to the data or server directory when inside it
  std::string server;
  std::mutex mutex;  // guards store
  std::shared_ptr<lnstore::Store> store;

  std::shared_ptr<lnstore::Store> OpenStore();  // LNERR_DATABASE_NOT_OPEN when closed
};

struct NoteState : RefCounted {
  DatabaseState* db = nullptr;  // referenced
  lnstore::NoteRecord record;
  bool open = false;
  // The store whose flushes wait for this document: held from its first save until it is closed.
  std::shared_ptr<lnstore::Store> flushHold;
  // Lets the store flush again; its flush failure is thrown when report is set.
  void EndFlushHold(bool report);
  ~NoteState() override;
};

struct FolderState : RefCounted {
  DatabaseState* db = nullptr;  // referenced
  lnstore::Design design;
  bool open = false;
  std::vector<uint32_t> entries;
  ~FolderState() override { Release(db); }
};

struct AttachmentRef : RefCounted {
  NoteState* note = nullptr;  // referenced
  size_t index = 0;
  lnstore::AttachmentRecord meta;  // without the bytes
  ~AttachmentRef() override { Release(note); }
};

struct ItemValue {
  lnstore::Item item;
};

// The contents of an array handle; arrays are filled once and then only read, so copies share them.
struct HandleList : RefCounted {
  std::vector<RefCounted*> handles;
  std::vector<lnstore::Item> items;
  ~HandleList() override {
    for (RefCounted* h : handles) Release(h);
  }
};

// Throws status when throw-all is on (never for LNWARN_MORE_TEXT); returns it otherwise.
LNSTATUS Raise(LNSTATUS status);

// The status of the exception being handled: a store failure's own, else memory or internal.
inline LNSTATUS StatusOfCurrentException() {
  try {
    throw;
  } catch (const lnstore::Failure& failure) {
    return failure.Status();
  } catch (const std::bad_alloc&) {
    return LNERR_OUT_OF_MEMORY;
  } catch (const std::exception&) {
    return LNERR_INTERNAL;
  }
}

// Runs body (returning LNSTATUS), turning store failures and exceptions into statuses, then raises.
template <typename F>
LNSTATUS Guard(F&& body) {
  LNSTATUS status;
  try {
    status = body();
  } catch (const std::exception&) {
    status = StatusOfCurrentException();
  }
  return Raise(status);
}

// As Guard for calls that return a value: a failure gives fallback (or is thrown).
template <typename T, typename F>
T GuardValue(T fallback, F&& body) {
  try {
    return body();
  } catch (const std::exception&) {
    Raise(StatusOfCurrentException());
  }
  return fallback;
}

[[noreturn]] inline void Fail(LNSTATUS status, const std::string& what = std::string()) {
  throw lnstore::Failure(status, what);
}

// The text of a library string as UTF-8: bytes that are not UTF-8 are read as ANSI.
std::string Utf8Of(const LNString& s);
LNString MakeString(const std::string& utf8);
std::wstring Wide(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

// STANDIN_FAULTS ("notes.<key>[=n]", comma-separated; n counts the key's calls from 1, default 1):
// true when this call of the keyed operation is to fail. Writes: init, getdatabase,
// createfromtemplate, createfolder, getviewfolder, createitem, attach, save, fold (a close's fold of
// the journal into the file fails as on a full disk, and the journal stays beside the file). Reads:
// opennote, openfolder, getattachments, getfilesize, gettext (rich text), export, getdatesent.
// Listings: getdatabases.
void LoadFaults();
bool FaultHits(const char* key);
// STANDIN_HANG ("notes.<key>[=n]", read with the faults; the keys of the faults and of the latency):
// the n-th call of the keyed operation (the first by default) stops before it runs, as a call into a
// library or server that no longer answers would, until the event named by STANDIN_HANG_RELEASE is
// set. That event is a manual-reset one, made by whichever side opens it first, so the test may set
// it before or after the call stops; the event of the same name followed by "-stopped" is set once
// the call has stopped. Without a release name nothing stops.
void HangIfKeyed(const char* key);
inline void CheckFault(const char* key) {
  HangIfKeyed(key);
  if (FaultHits(key)) Fail(LNERR_SIMULATED_FAULT, key);
}

// STANDIN_LATENCY ("notes.<key>=<milliseconds>", comma-separated), read with the faults: the keyed
// operation waits that long before it runs, as one on a slow server would. Keys: opendatabase (also a
// key of STANDIN_HANG).
void Delay(const char* key);

// The session.
void RequireSession();  // LNERR_NOT_INITIALIZED
struct ResolvedPath {
  std::string full;
  std::string display;
  std::string base;  // the data or server directory
};
// path inside the server's directory ("" is the local data directory). An empty path is the
// directory itself.
ResolvedPath ResolvePath(const std::string& server, const std::string& path);

// The store of an open file, shared by every handle on it.
std::shared_ptr<lnstore::Store> AcquireStore(const std::string& fullPath);
void FlushAllStores();   // throws the first failure after trying all
void FoldAllJournals();  // Store::FoldJournal on every open file; never throws

lnstore::Item* FindOpenItem(NoteState* note, const std::string& name);

}  // namespace lnimpl
