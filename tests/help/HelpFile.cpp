// The compiled help file read back: its directory, its streams and its contents and index entries.
#include "HelpFile.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "TestProcess.h"
#include "WizardDriver.h"

namespace helptest {

const wchar_t VIEWER_TITLE[] = L"Brindle for PST to NSF Help";

namespace {

// The system's reader of compiled help files (itss.dll), the one the help viewer reads them with. The
// SDK's headers do not declare it; the methods up to the last one called are, in their order.
struct IITStorage : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR* name, DWORD mode, DWORD reserved,
                                                     IStorage** storage) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode,
                                                                 DWORD reserved, IStorage** storage) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes* bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority, DWORD mode,
                                                   SNB exclude, DWORD reserved, IStorage** storage) = 0;
};
const CLSID CLSID_ITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID IID_IITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

#pragma pack(push, 1)
// The file header, version 3.
struct ItsfHeader {
  char signature[4];  // "ITSF"
  uint32_t version;
  uint32_t headerLength;
  uint32_t unknown1;
  uint32_t timestamp;
  uint32_t languageId;
  uint8_t directoryGuid[16];
  uint8_t streamGuid[16];
  uint64_t section0Offset;
  uint64_t section0Length;
  uint64_t directoryOffset;
  uint64_t directoryLength;
  uint64_t contentOffset;
};
static_assert(sizeof(ItsfHeader) == 0x60, "ITSF header");

// The directory header.
struct ItspHeader {
  char signature[4];  // "ITSP"
  uint32_t version;
  uint32_t headerLength;
  uint32_t unknown1;
  uint32_t chunkSize;
  uint32_t density;
  uint32_t depth;
  int32_t rootIndexChunk;
  int32_t firstListingChunk;
  int32_t lastListingChunk;
  int32_t unknown2;
  uint32_t chunkCount;
  uint32_t languageId;
  uint8_t guid[16];
  uint32_t headerLength2;
  int32_t unknown3[3];
};
static_assert(sizeof(ItspHeader) == 0x54, "ITSP header");

// The header of one listing chunk; its entries follow it, its free space ends it.
struct PmglHeader {
  char signature[4];  // "PMGL"
  uint32_t freeSpace;
  uint32_t unknown;
  int32_t previousChunk;
  int32_t nextChunk;
};
static_assert(sizeof(PmglHeader) == 20, "PMGL header");
#pragma pack(pop)

std::string Hex(uint64_t value) {
  char text[32];
  snprintf(text, sizeof(text), "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

// Reads of the file's bytes, each checked against its size.
class Reader {
 public:
  Reader(const std::string& bytes, std::string* error) : bytes_(bytes), error_(error) {}

  template <class T>
  bool Read(uint64_t offset, T* out, const char* what) {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T))
      return Fail(offset, std::string(what) + " (" + std::to_string(sizeof(T)) + " bytes) past the end");
    memcpy(out, bytes_.data() + offset, sizeof(T));
    return true;
  }

  // A 7-bit encoded integer (high bit: more bytes follow) at *offset, before limit.
  bool ReadEncoded(uint64_t* offset, uint64_t limit, uint64_t* value, const char* what) {
    *value = 0;
    for (int n = 0; n < 10; ++n) {
      if (*offset >= limit || *offset >= bytes_.size())
        return Fail(*offset, std::string(what) + " past its chunk");
      const unsigned char byte = static_cast<unsigned char>(bytes_[*offset]);
      ++*offset;
      *value = (*value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return Fail(*offset, std::string(what) + " longer than 10 bytes");
  }

  bool Fail(uint64_t offset, const std::string& what) {
    *error_ = "at offset " + Hex(offset) + ": " + what;
    return false;
  }

  const std::string& Bytes() const { return bytes_; }

 private:
  const std::string& bytes_;
  std::string* error_;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The value of <param name="NAME" value="..."> between begin and end of text (lower: its lower case).
std::string ParamValue(const std::string& text, const std::string& lower, size_t begin, size_t end,
                       const std::string& name) {
  const std::string key = "name=\"" + Lower(name) + "\"";
  const size_t at = lower.find(key, begin);
  if (at == std::string::npos || at >= end) return std::string();
  const size_t value = lower.find("value=\"", at);
  if (value == std::string::npos || value >= end) return std::string();
  const size_t first = value + 7;
  const size_t last = text.find('"', first);
  if (last == std::string::npos || last > end) return std::string();
  return text.substr(first, last - first);
}

}  // namespace

std::string HelpFilePath() { return wizardtest::ProgramDirectory() + "\\Brindle for PST to NSF.chm"; }

bool ReadChmDirectory(const std::string& bytes, std::vector<ChmEntry>* entries, uint64_t* contentOffset,
                      std::string* error) {
  entries->clear();
  Reader reader(bytes, error);
  ItsfHeader itsf;
  if (!reader.Read(0, &itsf, "the file header (ITSF)")) return false;
  if (memcmp(itsf.signature, "ITSF", 4) != 0) return reader.Fail(0, "expected the signature ITSF");
  if (itsf.version != 3 || itsf.headerLength != sizeof(ItsfHeader))
    return reader.Fail(4, "expected version 3 with a header of 0x60 bytes, found version " +
                              std::to_string(itsf.version) + ", header " + Hex(itsf.headerLength));
  if (itsf.contentOffset > bytes.size()) return reader.Fail(0x58, "content offset past the end");
  *contentOffset = itsf.contentOffset;

  ItspHeader itsp;
  if (!reader.Read(itsf.directoryOffset, &itsp, "the directory header (ITSP)")) return false;
  if (memcmp(itsp.signature, "ITSP", 4) != 0)
    return reader.Fail(itsf.directoryOffset, "expected the directory signature ITSP");
  if (itsp.chunkSize < sizeof(PmglHeader) || itsp.chunkCount == 0)
    return reader.Fail(itsf.directoryOffset, "expected chunks, found chunk size " + Hex(itsp.chunkSize) +
                                                 " and " + std::to_string(itsp.chunkCount) + " chunks");
  const uint64_t chunksStart = itsf.directoryOffset + itsp.headerLength;

  // The listing chunks are chained from the first; a chain longer than the chunk count is a loop.
  int32_t chunk = itsp.firstListingChunk;
  for (uint32_t walked = 0; chunk != -1; ++walked) {
    if (chunk < 0 || static_cast<uint32_t>(chunk) >= itsp.chunkCount || walked >= itsp.chunkCount)
      return reader.Fail(chunksStart, "listing chunk " + std::to_string(chunk) + " outside the " +
                                          std::to_string(itsp.chunkCount) + " chunks, or a loop");
    const uint64_t at = chunksStart + static_cast<uint64_t>(chunk) * itsp.chunkSize;
    PmglHeader pmgl;
    if (!reader.Read(at, &pmgl, "a listing chunk (PMGL)")) return false;
    if (memcmp(pmgl.signature, "PMGL", 4) != 0) return reader.Fail(at, "expected the chunk signature PMGL");
    if (pmgl.freeSpace > itsp.chunkSize - sizeof(PmglHeader))
      return reader.Fail(at + 4, "free space larger than the chunk");
    if (at + itsp.chunkSize > bytes.size()) return reader.Fail(at, "chunk past the end of the file");
    const uint64_t end = at + itsp.chunkSize - pmgl.freeSpace;
    uint64_t p = at + sizeof(PmglHeader);
    while (p < end) {
      uint64_t nameLength = 0;
      if (!reader.ReadEncoded(&p, end, &nameLength, "an entry's name length")) return false;
      if (nameLength > end - p) return reader.Fail(p, "an entry's name past its chunk");
      ChmEntry entry;
      entry.name = bytes.substr(static_cast<size_t>(p), static_cast<size_t>(nameLength));
      p += nameLength;
      if (!reader.ReadEncoded(&p, end, &entry.section, "an entry's section") ||
          !reader.ReadEncoded(&p, end, &entry.offset, "an entry's offset") ||
          !reader.ReadEncoded(&p, end, &entry.length, "an entry's length"))
        return false;
      entries->push_back(entry);
    }
    chunk = pmgl.nextChunk;
  }
  return true;
}

bool ReadHelpStream(const std::string& chmPath, const std::string& name, std::string* text) {
  text->clear();
  IITStorage* reader = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ITStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IITStorage,
                                reinterpret_cast<void**>(&reader))))
    return false;
  IStorage* storage = nullptr;
  const HRESULT opened = reader->StgOpenStorage(testsupport::Wide(chmPath).c_str(), nullptr,
                                                STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage);
  reader->Release();
  if (FAILED(opened) || storage == nullptr) return false;
  // The storage's streams are named from its root, without the leading '/'.
  const std::wstring streamName = testsupport::Wide(name[0] == '/' ? name.substr(1) : name);
  IStream* stream = nullptr;
  HRESULT hr = storage->OpenStream(streamName.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
  storage->Release();
  if (FAILED(hr) || stream == nullptr) return false;
  char buffer[4096];
  ULONG read = 0;
  while (SUCCEEDED(hr = stream->Read(buffer, sizeof(buffer), &read)) && read > 0) text->append(buffer, read);
  stream->Release();
  return SUCCEEDED(hr);
}

std::vector<SitemapEntry> ParseSitemap(const std::string& text) {
  std::vector<SitemapEntry> entries;
  const std::string lower = Lower(text);
  size_t at = 0;
  while ((at = lower.find("<object type=\"text/sitemap\"", at)) != std::string::npos) {
    size_t end = lower.find("</object>", at);
    if (end == std::string::npos) end = lower.size();
    SitemapEntry entry;
    entry.name = ParamValue(text, lower, at, end, "Name");
    entry.local = ParamValue(text, lower, at, end, "Local");
    entries.push_back(entry);
    at = end;
  }
  return entries;
}

}  // namespace helptest
