// Statuses and their texts, strings and their translation, the fault seam, the session with its
// installation, and the table of open database files.
#include "Runtime.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace lnimpl {
namespace {

std::atomic<bool> g_throwAll{false};

struct StatusText {
  LNSTATUS status;
  const char* text;
};

const StatusText kStatusTexts[] = {
    {LNNOERROR, "No error"},
    {LNERR_NOT_INITIALIZED, "The Notes session has not been initialized"},
    {LNERR_CONFIG_MISSING, "The Notes configuration file could not be found or read"},
    {LNERR_DATA_DIRECTORY_MISSING, "The Notes data directory does not exist"},
    {LNERR_FILE_NOT_FOUND, "File does not exist"},
    {LNERR_NOT_A_DATABASE, "File is not a database"},
    {LNERR_ALREADY_EXISTS, "Database already exists"},
    {LNERR_FOLDER_EXISTS, "A view or folder with that name already exists"},
    {LNERR_FOLDER_NOT_FOUND, "View or folder not found"},
    {LNERR_TEMPLATE_NOT_FOUND, "Template database not found"},
    {LNERR_SERVER_UNKNOWN, "Server name not known"},
    {LNERR_INVALID_DATETIME, "Invalid date or time"},
    {LNERR_NOTE_NOT_SAVED, "Note has not been saved"},
    {LNERR_DATABASE_NOT_OPEN, "Database is not open"},
    {LNERR_NOTE_NOT_OPEN, "Note is not open"},
    {LNERR_NOTE_NOT_FOUND, "Note not found in the database"},
    {LNERR_ITEM_NOT_FOUND, "Item not found"},
    {LNERR_WRONG_ITEM_TYPE, "Item is not of the requested type"},
    {LNERR_INVALID_ARGUMENT, "Invalid argument"},
    {LNERR_NULL_OBJECT, "Object is not attached to a Notes object"},
    {LNERR_NOT_A_FOLDER, "Documents can only be added to a folder, not to a view"},
    {LNERR_FILE_IO, "File could not be read or written"},
    {LNERR_DATABASE_IO, "Database could not be read or written"},
    {LNERR_DATABASE_CORRUPT, "Database is damaged"},
    {LNERR_EXPORT_LIBRARY, "Export library not found"},
    {LNERR_EXPORT_FORMAT, "Export format not supported"},
    {LNERR_INDEX_OUT_OF_RANGE, "Index out of range"},
    {LNERR_TRANSLATION, "Unsupported character set"},
    {LNERR_BUFFER_TOO_SMALL, "Buffer too small for the translated text"},
    {LNERR_OUT_OF_MEMORY, "Insufficient memory"},
    {LNERR_SIMULATED_FAULT, "Simulated failure (STANDIN_FAULTS)"},
    {LNERR_INTERNAL, "Internal error in the Notes library"},
    {LNERR_DISK_FULL, "The disk is full"},
    {LNERR_ACCESS_DENIED, "The file cannot be written: access is denied"},
    {LNERR_IS_A_DIRECTORY, "The path names a folder, not a database file"},
    {LNERR_DATABASE_IN_USE, "The database is in use by another program"},
    {LNWARN_MORE_TEXT, "More text remains to be read"},
};

// Fault seam: key -> the 1-based call that fails, and the calls counted so far.
std::mutex g_faultMutex;
std::map<std::string, std::pair<long, long>> g_faults;
std::atomic<bool> g_anyFaults{false};
// Latency seam: key -> milliseconds the operation waits.
std::map<std::string, long> g_latencies;
// Hang seam: key -> the 1-based call that stops, and the calls counted so far; the release event's name.
std::map<std::string, std::pair<long, long>> g_hangs;
std::wstring g_hangRelease;
std::atomic<bool> g_anyHangs{false};

// The session: the installation read by Initialize.
struct Session {
  std::mutex mutex;
  bool initialized = false;
  std::string dataDirectory;                                 // UTF-8, full
  std::vector<std::pair<std::string, std::string>> servers;  // name, full directory
};
Session g_session;

std::mutex g_storesMutex;
std::map<std::wstring, std::weak_ptr<lnstore::Store>> g_stores;

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  const size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buf[4096];
  const DWORD n = GetFullPathNameW(path.c_str(), 4096, buf, nullptr);
  if (n == 0 || n >= 4096) Fail(LNERR_INVALID_ARGUMENT, "path too long");
  std::wstring full(buf, n);
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  return full;
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::wstring ModuleDirectory() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleDirectory), &self);
  wchar_t buf[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(self, buf, MAX_PATH * 4);
  std::wstring path(buf, n);
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

}  // namespace

LNSTATUS Raise(LNSTATUS status) {
  if (status != LNNOERROR && status != LNWARN_MORE_TEXT && g_throwAll.load()) throw status;
  return status;
}

std::wstring Wide(const std::string& utf8) {
  const std::u16string w = lnstore::Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

std::string Narrow(const std::wstring& wide) {
  return lnstore::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string Utf8Of(const LNString& s) {
  const std::string bytes(s.GetBuf(), static_cast<size_t>(s.GetBufLength()));
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return bytes;
  const std::u16string decoded = lnstore::Utf8ToUtf16(bytes);
  if (decoded.find(char16_t(0xFFFD)) == std::u16string::npos || lnstore::Utf16ToUtf8(decoded) == bytes)
    return bytes;
  // Not UTF-8: plain ANSI bytes.
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], n);
  return Narrow(wide);
}

LNString MakeString(const std::string& utf8) {
  return LNString(utf8.data(), static_cast<LNINT>(utf8.size()));
}

// The "notes.<key>[=n]" entries of a comma-separated environment variable, keys in lower case; n is
// -1 where the entry gives none. Other stand-ins' keys are passed over.
std::map<std::string, long> ReadKeyedList(const char* variable) {
  std::map<std::string, long> entries;
  // The process environment, not a C runtime's copy of it.
  char list[4096];
  const DWORD n = GetEnvironmentVariableA(variable, list, sizeof list);
  if (n == 0 || n >= sizeof list) return entries;
  const std::string all(list, n);
  size_t start = 0;
  while (start <= all.size()) {
    const size_t end = std::min(all.find(',', start), all.size());
    const std::string entry = Trim(all.substr(start, end - start));
    start = end + 1;
    if (entry.compare(0, 6, "notes.") != 0) continue;
    const size_t eq = entry.find('=');
    const long value = eq != std::string::npos ? std::strtol(entry.c_str() + eq + 1, nullptr, 10) : -1;
    entries[LowerAscii(Trim(entry.substr(0, eq)))] = value;
  }
  return entries;
}

void LoadFaults() {
  std::lock_guard<std::mutex> lock(g_faultMutex);
  g_faults.clear();
  for (const auto& entry : ReadKeyedList("STANDIN_FAULTS"))
    g_faults[entry.first] = {std::max(entry.second, 1L), 0};
  g_anyFaults.store(!g_faults.empty());
  g_latencies.clear();
  for (const auto& entry : ReadKeyedList("STANDIN_LATENCY")) {
    if (entry.second > 0) g_latencies[entry.first] = entry.second;
  }
  g_hangs.clear();
  g_hangRelease.clear();
  wchar_t release[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"STANDIN_HANG_RELEASE", release, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    g_hangRelease.assign(release, n);
    for (const auto& entry : ReadKeyedList("STANDIN_HANG"))
      g_hangs[entry.first] = {std::max(entry.second, 1L), 0};
  }
  g_anyHangs.store(!g_hangs.empty());
}

void HangIfKeyed(const char* key) {
  if (!g_anyHangs.load()) return;
  std::wstring release;
  {
    std::lock_guard<std::mutex> lock(g_faultMutex);
    auto found = g_hangs.find(key);
    if (found == g_hangs.end() || ++found->second.second != found->second.first) return;
    release = g_hangRelease;
  }
  // Nothing else of the library is held here: other threads go on while this call waits.
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, release.c_str());
  if (event == nullptr) return;
  HANDLE stopped = CreateEventW(nullptr, TRUE, FALSE, (release + L"-stopped").c_str());
  if (stopped != nullptr) SetEvent(stopped);
  WaitForSingleObject(event, INFINITE);
  if (stopped != nullptr) CloseHandle(stopped);
  CloseHandle(event);
}

void Delay(const char* key) {
  HangIfKeyed(key);
  long milliseconds = 0;
  {
    std::lock_guard<std::mutex> lock(g_faultMutex);
    auto found = g_latencies.find(key);
    if (found == g_latencies.end()) return;
    milliseconds = found->second;
  }
  Sleep(static_cast<DWORD>(milliseconds));
}

bool FaultHits(const char* key) {
  if (!g_anyFaults.load()) return false;
  std::lock_guard<std::mutex> lock(g_faultMutex);
  auto found = g_faults.find(key);
  if (found == g_faults.end()) return false;
  return ++found->second.second == found->second.first;
}

void RequireSession() {
  std::lock_guard<std::mutex> lock(g_session.mutex);
  if (!g_session.initialized) Fail(LNERR_NOT_INITIALIZED);
}

ResolvedPath ResolvePath(const std::string& server, const std::string& path) {
  std::string base;
  {
    std::lock_guard<std::mutex> lock(g_session.mutex);
    if (!g_session.initialized) Fail(LNERR_NOT_INITIALIZED);
    if (server.empty()) {
      base = g_session.dataDirectory;
    } else {
      for (const auto& s : g_session.servers)
        if (LowerAscii(s.first) == LowerAscii(server)) base = s.second;
      if (base.empty()) Fail(LNERR_SERVER_UNKNOWN, server);
    }
  }
  std::string p = path;
  std::replace(p.begin(), p.end(), '/', '\\');
  if (IsAbsolute(p) && !server.empty()) Fail(LNERR_INVALID_ARGUMENT, "a server path must be relative");
  ResolvedPath r;
  r.base = base;
  r.full = Narrow(FullPath(Wide(IsAbsolute(p) ? p : (p.empty() ? base : base + "\\" + p))));
  const std::string prefix = LowerAscii(base) + "\\";
  if (LowerAscii(r.full).compare(0, prefix.size(), prefix) == 0)
    r.display = r.full.substr(prefix.size());
  else
    r.display = r.full;
  return r;
}

std::shared_ptr<lnstore::Store> AcquireStore(const std::string& fullPath) {
  std::wstring key = Wide(fullPath);
  CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
  std::lock_guard<std::mutex> lock(g_storesMutex);
  auto found = g_stores.find(key);
  if (found != g_stores.end()) {
    if (auto store = found->second.lock()) return store;
  }
  std::shared_ptr<lnstore::Store> store(lnstore::Store::Open(fullPath, false).release());
  g_stores[key] = store;
  return store;
}

namespace {
std::vector<std::shared_ptr<lnstore::Store>> OpenStores() {
  std::vector<std::shared_ptr<lnstore::Store>> open;
  std::lock_guard<std::mutex> lock(g_storesMutex);
  for (auto it = g_stores.begin(); it != g_stores.end();) {
    if (auto store = it->second.lock()) {
      open.push_back(store);
      ++it;
    } else {
      it = g_stores.erase(it);
    }
  }
  return open;
}
}  // namespace

void FlushAllStores() {
  std::unique_ptr<lnstore::Failure> first;
  for (const auto& store : OpenStores()) {
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    try {
      store->Flush();
    } catch (const lnstore::Failure& failure) {
      if (!first) first.reset(new lnstore::Failure(failure));
    }
  }
  if (first) throw *first;
}

void FoldAllJournals() {
  for (const auto& store : OpenStores()) {
    std::lock_guard<std::recursive_mutex> lock(store->Mutex());
    store->FoldJournal();
  }
}

std::shared_ptr<lnstore::Store> DatabaseState::OpenStore() {
  std::lock_guard<std::mutex> lock(mutex);
  if (!store) Fail(LNERR_DATABASE_NOT_OPEN, fullPath);
  return store;
}

lnstore::Item* FindOpenItem(NoteState* note, const std::string& name) {
  if (note == nullptr) Fail(LNERR_NULL_OBJECT);
  if (!note->open) Fail(LNERR_NOTE_NOT_OPEN);
  const int index = lnstore::FindItem(note->record.items, name);
  return index < 0 ? nullptr : &note->record.items[static_cast<size_t>(index)];
}

}  // namespace lnimpl

using namespace lnimpl;

LNSTATUS LNSetThrowAllErrorsGlobal(LNBOOL throwAll) {
  g_throwAll.store(throwAll != 0);
  return LNNOERROR;
}

LNBOOL LNGetThrowAllErrorsGlobal() { return g_throwAll.load() ? 1 : 0; }

LNINT LNGetErrorMessageText(LNSTATUS status, char* buf, LNINT len, LNINT /*reserved*/) {
  if (buf == nullptr || len <= 0) return 0;
  char unknown[64];
  const char* text = nullptr;
  for (const StatusText& entry : kStatusTexts)
    if (entry.status == status) text = entry.text;
  if (text == nullptr) {
    std::snprintf(unknown, sizeof unknown, "Unknown Notes status 0x%08X", status);
    text = unknown;
  }
  const size_t n = std::min(std::strlen(text), static_cast<size_t>(len - 1));
  std::memcpy(buf, text, n);
  buf[n] = '\0';
  return static_cast<LNINT>(n);
}

// LNString -----------------------------------------------------------------------------------------

LNString::LNString() : m_buf(nullptr), m_len(0) {}

LNString::LNString(const char* text) : LNString(text, text ? static_cast<LNINT>(std::strlen(text)) : 0) {}

LNString::LNString(const char* bytes, LNINT length) : m_buf(nullptr), m_len(0) {
  if (bytes == nullptr || length <= 0) return;
  m_buf = new char[static_cast<size_t>(length) + 1];
  std::memcpy(m_buf, bytes, static_cast<size_t>(length));
  m_buf[length] = '\0';
  m_len = length;
}

LNString::LNString(const LNString& other) : LNString(other.m_buf, other.m_len) {}

LNString& LNString::operator=(const LNString& other) {
  if (this != &other) {
    LNString copy(other);
    std::swap(m_buf, copy.m_buf);
    std::swap(m_len, copy.m_len);
  }
  return *this;
}

LNString::~LNString() { delete[] m_buf; }

const char* LNString::GetBuf() const { return m_buf ? m_buf : ""; }
LNINT LNString::GetBufLength() const { return m_len; }
LNBOOL LNString::IsNull() const { return m_len == 0 ? 1 : 0; }

bool LNString::operator==(const LNString& other) const {
  return m_len == other.m_len && std::memcmp(GetBuf(), other.GetBuf(), static_cast<size_t>(m_len)) == 0;
}

bool LNString::operator!=(const LNString& other) const { return !(*this == other); }

LNString& LNString::operator+=(const LNString& other) {
  std::string joined(GetBuf(), static_cast<size_t>(m_len));
  joined.append(other.GetBuf(), static_cast<size_t>(other.m_len));
  *this = MakeString(joined);
  return *this;
}

LNSTATUS LNStringTranslate(const wchar_t* text, LNINT charset, LNString* result, LNINT* resultLength) {
  return Guard([&] {
    if (charset != LNCHARSET_NATIVE && charset != LNCHARSET_BODY) Fail(LNERR_TRANSLATION);
    if (result == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    const std::string utf8 = text ? Narrow(std::wstring(text)) : std::string();
    *result = MakeString(utf8);
    if (resultLength) *resultLength = static_cast<LNINT>(utf8.size());
    return LNNOERROR;
  });
}

LNSTATUS LNStringTranslate(const LNString& text, LNINT charset, LNINT capacityBytes, wchar_t* buffer,
                           LNINT* resultLength) {
  return Guard([&] {
    if (charset != LNCHARSET_NATIVE && charset != LNCHARSET_BODY) Fail(LNERR_TRANSLATION);
    if (buffer == nullptr || capacityBytes < 0) Fail(LNERR_INVALID_ARGUMENT);
    const std::wstring wide = Wide(Utf8Of(text));
    const size_t capacityUnits = static_cast<size_t>(capacityBytes) / sizeof(wchar_t);
    if (wide.size() > capacityUnits) Fail(LNERR_BUFFER_TOO_SMALL);
    std::copy(wide.begin(), wide.end(), buffer);
    if (wide.size() < capacityUnits) buffer[wide.size()] = L'\0';
    if (resultLength) *resultLength = static_cast<LNINT>(wide.size());
    return LNNOERROR;
  });
}

// LNNotesSession -----------------------------------------------------------------------------------

LNNotesSession::LNNotesSession() = default;
LNNotesSession::~LNNotesSession() = default;

// The installation: "notes.cfg" beside the library, lines "Directory=<data directory>" and
// "Server=<name>|<directory>"; relative directories are taken from the library's directory.
LNSTATUS LNNotesSession::Initialize(LNINT /*apiVersion*/, LNINT /*argc*/, char** /*argv*/, LNBOOL /*quiet*/,
                                    const char* /*reserved*/) {
  return Guard([&] {
    LoadFaults();
    CheckFault("notes.init");
    std::lock_guard<std::mutex> lock(g_session.mutex);
    if (g_session.initialized) return LNNOERROR;
    const std::wstring home = ModuleDirectory();
    std::ifstream config(fs::path(home + L"\\notes.cfg"));
    if (!config) Fail(LNERR_CONFIG_MISSING);
    std::string dataDirectory;
    std::vector<std::pair<std::string, std::string>> servers;
    auto absolute = [&](const std::string& dir) {
      return Narrow(FullPath(IsAbsolute(dir) ? Wide(dir) : home + L"\\" + Wide(dir)));
    };
    std::string line;
    while (std::getline(config, line)) {
      line = Trim(line);
      if (line.empty() || line[0] == '#' || line[0] == ';') continue;
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = LowerAscii(Trim(line.substr(0, eq)));
      const std::string value = Trim(line.substr(eq + 1));
      if (key == "directory") {
        dataDirectory = absolute(value);
      } else if (key == "server") {
        const size_t bar = value.find('|');
        if (bar == std::string::npos) continue;
        servers.emplace_back(Trim(value.substr(0, bar)), absolute(Trim(value.substr(bar + 1))));
      }
    }
    std::error_code ec;
    if (dataDirectory.empty() || !fs::is_directory(fs::path(Wide(dataDirectory)), ec))
      Fail(LNERR_DATA_DIRECTORY_MISSING, dataDirectory);
    g_session.dataDirectory = dataDirectory;
    g_session.servers = servers;
    g_session.initialized = true;
    return LNNOERROR;
  });
}

LNSTATUS LNNotesSession::Term(LNINT /*flags*/) {
  return Guard([&] {
    {
      std::lock_guard<std::mutex> lock(g_session.mutex);
      if (!g_session.initialized) return LNNOERROR;
      g_session.initialized = false;
    }
    // Folding commits too; the flush after it reports a failure of either.
    FoldAllJournals();
    FlushAllStores();
    return LNNOERROR;
  });
}

LNSTATUS LNNotesSession::InitThread() {
  return Guard([&] {
    RequireSession();
    return LNNOERROR;
  });
}

// A thread that is done with the library leaves every open file holding alone what was saved to it:
// whoever takes the file next (a copy of it elsewhere) needs nothing beside it, though the databases
// stay open.
LNSTATUS LNNotesSession::TermThread() {
  return Guard([&] {
    FoldAllJournals();
    return LNNOERROR;
  });
}

LNBOOL LNNotesSession::IsInitialized() const {
  std::lock_guard<std::mutex> lock(g_session.mutex);
  return g_session.initialized ? 1 : 0;
}

LNString LNNotesSession::GetDataDirectory() const {
  std::lock_guard<std::mutex> lock(g_session.mutex);
  return MakeString(g_session.dataDirectory);
}

LNSTATUS LNNotesSession::GetServerNames(LNText* names) {
  return Guard([&] {
    if (names == nullptr) Fail(LNERR_INVALID_ARGUMENT);
    std::vector<std::pair<std::string, std::string>> servers;
    {
      std::lock_guard<std::mutex> lock(g_session.mutex);
      if (!g_session.initialized) Fail(LNERR_NOT_INITIALIZED);
      servers = g_session.servers;
    }
    LNText list;
    for (const auto& s : servers) list.Append(MakeString(s.first));
    *names = list;
    return LNNOERROR;
  });
}
