// SQLite's Windows files, each wrapped so that a new part of a database's shared memory is stored with
// zeros before SQLite maps it: a full disk fails that write rather than a later write into the view.
#include "SqliteFiles.h"

#include <sqlite3.h>
#include <windows.h>

#include <cstring>
#include <mutex>
#include <string>

namespace lnstore {
namespace {

sqlite3_vfs* g_windows = nullptr;  // SQLite's own Windows files
sqlite3_vfs g_backed;

// A file of g_backed: SQLite's own file follows it in the same block.
struct BackedFile {
  sqlite3_file base;
  sqlite3_file* real;
  // The database's name as SQLite gave it to xOpen, valid until xClose; null for other files.
  const char* database;
};

sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<BackedFile*>(file)->real; }

std::wstring WideOf(const std::string& utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], length);
  return wide;
}

// Writes zeros into the file at path from its end up to size bytes. SQLite's own handle keeps the file
// open, so it exists; parts below its end are mapped already and are not touched.
int StoreZerosUpTo(const std::string& path, sqlite3_int64 size) {
  const HANDLE file =
      CreateFileW(WideOf(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SQLITE_IOERR_SHMSIZE;
  LARGE_INTEGER end;
  int rc = SQLITE_OK;
  if (!GetFileSizeEx(file, &end)) {
    rc = SQLITE_IOERR_SHMSIZE;
  } else if (end.QuadPart < size && SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
    static const char zeros[32768] = {};
    for (sqlite3_int64 at = end.QuadPart; at < size && rc == SQLITE_OK;) {
      const DWORD part = DWORD(size - at < sqlite3_int64(sizeof zeros) ? size - at : sizeof zeros);
      DWORD written = 0;
      const BOOL wrote = WriteFile(file, zeros, part, &written, nullptr);
      if (wrote && written > 0) {
        at += written;
        continue;
      }
      // A write that stores nothing and names no failure is a full disk too.
      const DWORD error = wrote ? ERROR_DISK_FULL : GetLastError();
      rc = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? SQLITE_FULL : SQLITE_IOERR_SHMSIZE;
    }
    // A part that could not be stored whole is given back where the disk lets it: nothing maps it.
    if (rc != SQLITE_OK && SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) SetEndOfFile(file);
  } else if (end.QuadPart < size) {
    rc = SQLITE_IOERR_SHMSIZE;
  }
  CloseHandle(file);
  return rc;
}

int Close(sqlite3_file* file) {
  sqlite3_file* real = Real(file);
  const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
  file->pMethods = nullptr;
  return rc;
}
int Read(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
  return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int Write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
  return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) { return Real(f)->pMethods->xTruncate(Real(f), size); }
int Sync(sqlite3_file* f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); }
int FileSize(sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); }
int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
int Unlock(sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); }
int CheckReservedLock(sqlite3_file* f, int* out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }

// Whether the disk of the database at path has less room than needed.
bool DiskFullFor(const char* database, sqlite3_int64 needed) {
  std::string directory(database);
  const size_t slash = directory.find_last_of("\\/");
  directory = slash == std::string::npos ? std::string(".\\") : directory.substr(0, slash + 1);
  ULARGE_INTEGER available;
  return GetDiskFreeSpaceExW(WideOf(directory).c_str(), &available, nullptr, nullptr) &&
         available.QuadPart < static_cast<unsigned long long>(needed);
}

// A region that the file does not hold yet is stored before SQLite maps it. SQLite makes regions only
// while it holds the journal's write lock, so no other connection stores or maps one meanwhile; the
// first call opens the file, and a first connection empties it there, before any region is stored.
// Setting a file's end on a full disk fails under Wine even when it shortens the file: SQLite's
// failure to empty or size the file is then the full disk's.
int ShmMap(sqlite3_file* f, int region, int regionSize, int extend, void volatile** mapped) {
  sqlite3_file* real = Real(f);
  const char* database = reinterpret_cast<BackedFile*>(f)->database;
  const sqlite3_int64 size = (sqlite3_int64(region) + 1) * regionSize;
  auto named = [&](int rc) {
    return (rc & 0xFF) == SQLITE_IOERR && database != nullptr && DiskFullFor(database, regionSize)
               ? SQLITE_FULL
               : rc;
  };
  int rc = named(real->pMethods->xShmMap(real, region, regionSize, 0, mapped));
  if (rc != SQLITE_OK || *mapped != nullptr || !extend) return rc;
  if (database != nullptr) {
    rc = StoreZerosUpTo(std::string(database) + "-shm", size);
    if (rc != SQLITE_OK) return rc;
  }
  return named(real->pMethods->xShmMap(real, region, regionSize, 1, mapped));
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file* f, int deleteFlag) { return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag); }
int Fetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** pp) {
  if (Real(f)->pMethods->iVersion < 3) {
    *pp = nullptr;
    return SQLITE_OK;
  }
  return Real(f)->pMethods->xFetch(Real(f), offset, amount, pp);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 offset, void* p) {
  if (Real(f)->pMethods->iVersion < 3) return SQLITE_OK;
  return Real(f)->pMethods->xUnfetch(Real(f), offset, p);
}

const sqlite3_io_methods kMethods = {3,
                                     Close,
                                     Read,
                                     Write,
                                     Truncate,
                                     Sync,
                                     FileSize,
                                     Lock,
                                     Unlock,
                                     CheckReservedLock,
                                     FileControl,
                                     SectorSize,
                                     DeviceCharacteristics,
                                     ShmMap,
                                     ShmLock,
                                     ShmBarrier,
                                     ShmUnmap,
                                     Fetch,
                                     Unfetch};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  BackedFile* backed = reinterpret_cast<BackedFile*>(file);
  backed->real = reinterpret_cast<sqlite3_file*>(backed + 1);
  backed->database = name != nullptr && (flags & SQLITE_OPEN_MAIN_DB) ? name : nullptr;
  backed->base.pMethods = nullptr;
  const int rc = g_windows->xOpen(g_windows, name, backed->real, flags, outFlags);
  // SQLite closes a file whose methods are set even when the opening failed.
  if (backed->real->pMethods != nullptr) backed->base.pMethods = &kMethods;
  return rc;
}

}  // namespace

void UseBackedSharedMemory() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_windows = sqlite3_vfs_find(nullptr);
    if (g_windows == nullptr) return;
    g_backed = *g_windows;
    g_backed.szOsFile = int(sizeof(BackedFile)) + g_windows->szOsFile;
    g_backed.zName = "brindle-backed";
    g_backed.pNext = nullptr;
    g_backed.xOpen = Open;
    sqlite3_vfs_register(&g_backed, 1);
  });
}

}  // namespace lnstore
