// On-disk structures of a personal folders file (PST/OST): header, B-tree pages, blocks, heaps,
// property and table contexts. Plain data shared by the reader and the test-file writer; the logic
// that walks them lives elsewhere. All integers are little-endian on disk and in these structs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pst::format {

static_assert(sizeof(void*) >= 4, "32-bit or wider target");

// ---- File header ---------------------------------------------------------------------------

constexpr uint32_t kHeaderMagic = 0x4E444221;  // "!BDN"
constexpr uint16_t kClientMagicPst = 0x4D53;   // "SM"
constexpr uint16_t kClientMagicOst = 0x4F53;   // "SO"
constexpr uint16_t kVersionAnsiLow = 14;       // wVer of ANSI files
constexpr uint16_t kVersionAnsiHigh = 15;
constexpr uint16_t kVersionUnicode = 23;    // Unicode, 512-byte pages
constexpr uint16_t kVersionUnicode4k = 36;  // Unicode, 4 KiB pages (not written by Outlook PSTs)
constexpr uint16_t kClientVersion = 19;
constexpr uint8_t kHeaderSentinel = 0x80;

enum CryptMethod : uint8_t { kCryptNone = 0, kCryptPermute = 1, kCryptCyclic = 2 };

// The partial CRC covers this many bytes from wMagicClient (offset 8); the full CRC (Unicode only)
// covers kHeaderCrcFullBytes from the same place.
constexpr size_t kHeaderCrcStart = 8;
constexpr size_t kHeaderCrcPartialBytes = 471;
constexpr size_t kHeaderCrcFullBytes = 516;

#pragma pack(push, 1)

struct BrefUnicode {
  uint64_t bid;
  uint64_t ib;
};
static_assert(sizeof(BrefUnicode) == 16, "BREF (Unicode)");

struct BrefAnsi {
  uint32_t bid;
  uint32_t ib;
};
static_assert(sizeof(BrefAnsi) == 8, "BREF (ANSI)");

struct RootUnicode {
  uint32_t dwReserved;
  uint64_t ibFileEof;
  uint64_t ibAMapLast;
  uint64_t cbAMapFree;
  uint64_t cbPMapFree;
  BrefUnicode brefNbt;
  BrefUnicode brefBbt;
  uint8_t fAMapValid;
  uint8_t bReserved;
  uint16_t wReserved;
};
static_assert(sizeof(RootUnicode) == 72, "ROOT (Unicode)");

struct RootAnsi {
  uint32_t dwReserved;
  uint32_t ibFileEof;
  uint32_t ibAMapLast;
  uint32_t cbAMapFree;
  uint32_t cbPMapFree;
  BrefAnsi brefNbt;
  BrefAnsi brefBbt;
  uint8_t fAMapValid;
  uint8_t bReserved;
  uint16_t wReserved;
};
static_assert(sizeof(RootAnsi) == 40, "ROOT (ANSI)");

// Fields common to both header forms.
struct HeaderPrefix {
  uint32_t dwMagic;
  uint32_t dwCrcPartial;
  uint16_t wMagicClient;
  uint16_t wVer;
  uint16_t wVerClient;
  uint8_t bPlatformCreate;
  uint8_t bPlatformAccess;
  uint32_t dwReserved1;
  uint32_t dwReserved2;
};
static_assert(sizeof(HeaderPrefix) == 24, "header prefix");

struct HeaderUnicode {
  HeaderPrefix prefix;
  uint64_t bidUnused;
  uint64_t bidNextP;
  uint32_t dwUnique;
  uint32_t rgnid[32];
  uint64_t qwUnused;
  RootUnicode root;
  uint32_t dwAlign;
  uint8_t rgbFM[128];
  uint8_t rgbFP[128];
  uint8_t bSentinel;
  uint8_t bCryptMethod;
  uint16_t rgbReserved;
  uint64_t bidNextB;
  uint32_t dwCrcFull;
  uint8_t rgbReserved2[3];
  uint8_t bReserved;
  uint8_t rgbReserved3[32];
};
static_assert(sizeof(HeaderUnicode) == 564, "HEADER (Unicode)");
static_assert(offsetof(HeaderUnicode, root) == 180, "ROOT offset (Unicode)");
static_assert(offsetof(HeaderUnicode, bCryptMethod) == 513, "bCryptMethod offset (Unicode)");
static_assert(offsetof(HeaderUnicode, dwCrcFull) == 524, "dwCRCFull offset");

struct HeaderAnsi {
  HeaderPrefix prefix;
  uint32_t bidNextB;
  uint32_t bidNextP;
  uint32_t dwUnique;
  uint32_t rgnid[32];
  RootAnsi root;
  uint8_t rgbFM[128];
  uint8_t rgbFP[128];
  uint8_t bSentinel;
  uint8_t bCryptMethod;
  uint16_t rgbReserved;
  uint64_t ullReserved;
  uint32_t dwReserved;
  uint8_t rgbReserved2[3];
  uint8_t bReserved;
  uint8_t rgbReserved3[32];
};
static_assert(sizeof(HeaderAnsi) == 512, "HEADER (ANSI)");
static_assert(offsetof(HeaderAnsi, root) == 164, "ROOT offset (ANSI)");
static_assert(offsetof(HeaderAnsi, bCryptMethod) == 461, "bCryptMethod offset (ANSI)");

// ---- Pages (B-tree and allocation maps) -----------------------------------------------------

constexpr size_t kPageSize = 512;

enum PageType : uint8_t {
  kPageBbt = 0x80,
  kPageNbt = 0x81,
  kPageFMap = 0x82,
  kPagePMap = 0x83,
  kPageAMap = 0x84,
  kPageFPMap = 0x85,
  kPageDList = 0x86,
};

struct PageTrailerUnicode {
  uint8_t ptype;
  uint8_t ptypeRepeat;
  uint16_t wSig;
  uint32_t dwCrc;
  uint64_t bid;
};
static_assert(sizeof(PageTrailerUnicode) == 16, "PAGETRAILER (Unicode)");

struct PageTrailerAnsi {
  uint8_t ptype;
  uint8_t ptypeRepeat;
  uint16_t wSig;
  uint32_t bid;
  uint32_t dwCrc;
};
static_assert(sizeof(PageTrailerAnsi) == 12, "PAGETRAILER (ANSI)");

// A B-tree page: entries, then this footer, then the page trailer.
struct BtPageFooterUnicode {
  uint8_t cEnt;
  uint8_t cEntMax;
  uint8_t cbEnt;
  uint8_t cLevel;
  uint32_t dwPadding;
};
static_assert(sizeof(BtPageFooterUnicode) == 8, "BTPAGE footer (Unicode)");
constexpr size_t kBtPageEntryBytesUnicode = 488;

struct BtPageFooterAnsi {
  uint8_t cEnt;
  uint8_t cEntMax;
  uint8_t cbEnt;
  uint8_t cLevel;
};
static_assert(sizeof(BtPageFooterAnsi) == 4, "BTPAGE footer (ANSI)");
constexpr size_t kBtPageEntryBytesAnsi = 496;

static_assert(kBtPageEntryBytesUnicode + sizeof(BtPageFooterUnicode) + sizeof(PageTrailerUnicode) ==
                  kPageSize,
              "B-tree page (Unicode)");
static_assert(kBtPageEntryBytesAnsi + sizeof(BtPageFooterAnsi) + sizeof(PageTrailerAnsi) == kPageSize,
              "B-tree page (ANSI)");

struct BtEntryUnicode {
  uint64_t btkey;
  BrefUnicode bref;
};
static_assert(sizeof(BtEntryUnicode) == 24, "BTENTRY (Unicode)");

struct BtEntryAnsi {
  uint32_t btkey;
  BrefAnsi bref;
};
static_assert(sizeof(BtEntryAnsi) == 12, "BTENTRY (ANSI)");

struct BbtEntryUnicode {
  BrefUnicode bref;
  uint16_t cb;
  uint16_t cRef;
  uint32_t dwPadding;
};
static_assert(sizeof(BbtEntryUnicode) == 24, "BBTENTRY (Unicode)");

struct BbtEntryAnsi {
  BrefAnsi bref;
  uint16_t cb;
  uint16_t cRef;
};
static_assert(sizeof(BbtEntryAnsi) == 12, "BBTENTRY (ANSI)");

struct NbtEntryUnicode {
  uint64_t nid;  // only the low 32 bits carry the NID
  uint64_t bidData;
  uint64_t bidSub;
  uint32_t nidParent;
  uint32_t dwPadding;
};
static_assert(sizeof(NbtEntryUnicode) == 32, "NBTENTRY (Unicode)");

struct NbtEntryAnsi {
  uint32_t nid;
  uint32_t bidData;
  uint32_t bidSub;
  uint32_t nidParent;
};
static_assert(sizeof(NbtEntryAnsi) == 16, "NBTENTRY (ANSI)");

// ---- Blocks ----------------------------------------------------------------------------------

constexpr size_t kBlockAlignment = 64;
constexpr size_t kMaxBlockBytes = 8192;  // data, padding and trailer together

struct BlockTrailerUnicode {
  uint16_t cb;
  uint16_t wSig;
  uint32_t dwCrc;
  uint64_t bid;
};
static_assert(sizeof(BlockTrailerUnicode) == 16, "BLOCKTRAILER (Unicode)");

struct BlockTrailerAnsi {
  uint16_t cb;
  uint16_t wSig;
  uint32_t bid;
  uint32_t dwCrc;
};
static_assert(sizeof(BlockTrailerAnsi) == 12, "BLOCKTRAILER (ANSI)");

constexpr size_t kMaxBlockDataUnicode = kMaxBlockBytes - sizeof(BlockTrailerUnicode);  // 8176
constexpr size_t kMaxBlockDataAnsi = kMaxBlockBytes - sizeof(BlockTrailerAnsi);        // 8180

enum BlockType : uint8_t { kBlockTypeXBlock = 0x01, kBlockTypeSlBlock = 0x02 };

// XBLOCK (cLevel 1) and XXBLOCK (cLevel 2): header, then cEnt BIDs (8 or 4 bytes each).
struct XBlockHeader {
  uint8_t btype;
  uint8_t cLevel;
  uint16_t cEnt;
  uint32_t lcbTotal;
};
static_assert(sizeof(XBlockHeader) == 8, "XBLOCK header");

// SLBLOCK (cLevel 0) and SIBLOCK (cLevel 1).
struct SubnodeBlockHeaderUnicode {
  uint8_t btype;
  uint8_t cLevel;
  uint16_t cEnt;
  uint32_t dwPadding;
};
static_assert(sizeof(SubnodeBlockHeaderUnicode) == 8, "SLBLOCK/SIBLOCK header (Unicode)");

struct SubnodeBlockHeaderAnsi {
  uint8_t btype;
  uint8_t cLevel;
  uint16_t cEnt;
};
static_assert(sizeof(SubnodeBlockHeaderAnsi) == 4, "SLBLOCK/SIBLOCK header (ANSI)");

struct SlEntryUnicode {
  uint64_t nid;
  uint64_t bidData;
  uint64_t bidSub;
};
static_assert(sizeof(SlEntryUnicode) == 24, "SLENTRY (Unicode)");

struct SlEntryAnsi {
  uint32_t nid;
  uint32_t bidData;
  uint32_t bidSub;
};
static_assert(sizeof(SlEntryAnsi) == 12, "SLENTRY (ANSI)");

struct SiEntryUnicode {
  uint64_t nid;
  uint64_t bid;
};
static_assert(sizeof(SiEntryUnicode) == 16, "SIENTRY (Unicode)");

struct SiEntryAnsi {
  uint32_t nid;
  uint32_t bid;
};
static_assert(sizeof(SiEntryAnsi) == 8, "SIENTRY (ANSI)");

// ---- Heap-on-node, BTH, property and table contexts -------------------------------------------

constexpr uint8_t kHeapSignature = 0xEC;

enum HeapClient : uint8_t {
  kHeapClientTableContext = 0x7C,
  kHeapClientBth = 0xB5,
  kHeapClientPropertyContext = 0xBC,
};

struct HnHeader {
  uint16_t ibHnpm;
  uint8_t bSig;
  uint8_t bClientSig;
  uint32_t hidUserRoot;
  uint8_t rgbFillLevel[4];
};
static_assert(sizeof(HnHeader) == 12, "HNHDR");

struct HnPageHeader {
  uint16_t ibHnpm;
};
static_assert(sizeof(HnPageHeader) == 2, "HNPAGEHDR");

// Heap blocks 8, 136, 264, ... (every 128th after the 8th) start with this bitmap header.
struct HnBitmapHeader {
  uint16_t ibHnpm;
  uint8_t rgbFillLevel[64];
};
static_assert(sizeof(HnBitmapHeader) == 66, "HNBITMAPHDR");

// Followed by cAlloc + 1 16-bit offsets.
struct HnPageMapHeader {
  uint16_t cAlloc;
  uint16_t cFree;
};
static_assert(sizeof(HnPageMapHeader) == 4, "HNPAGEMAP header");

struct BthHeader {
  uint8_t bType;
  uint8_t cbKey;
  uint8_t cbEnt;
  uint8_t bIdxLevels;
  uint32_t hidRoot;
};
static_assert(sizeof(BthHeader) == 8, "BTHHEADER");

// A property context is a BTH with 2-byte keys (property id) and this 6-byte data part.
struct PcRecord {
  uint16_t wPropId;
  uint16_t wPropType;
  uint32_t dwValueHnid;
};
static_assert(sizeof(PcRecord) == 8, "PC BTH record");

enum TcInfoIndex : int { kTci4b = 0, kTci2b = 1, kTci1b = 2, kTciBm = 3 };

// Followed by cCols column descriptions.
struct TcInfoHeader {
  uint8_t bType;
  uint8_t cCols;
  uint16_t rgib[4];
  uint32_t hidRowIndex;
  uint32_t hnidRows;
  uint32_t hidIndex;
};
static_assert(sizeof(TcInfoHeader) == 22, "TCINFO header");

struct TcColDesc {
  uint32_t tag;
  uint16_t ibData;
  uint8_t cbData;
  uint8_t iBit;
};
static_assert(sizeof(TcColDesc) == 8, "TCOLDESC");

// Named-property map entry. wGuidAndKind: bit 0 set for a string name, upper 15 bits the GUID
// index (1 PS_MAPI, 2 PS_PUBLIC_STRINGS, 3+ the GUID stream's entry index + 3).
struct NameIdEntry {
  uint32_t dwPropertyId;
  uint16_t wGuidAndKind;
  uint16_t wPropIdx;  // property id = 0x8000 + wPropIdx
};
static_assert(sizeof(NameIdEntry) == 8, "NAMEID");

#pragma pack(pop)

// ---- Node and block identifiers ---------------------------------------------------------------

enum NidType : uint32_t {
  kNidTypeHid = 0x00,
  kNidTypeInternal = 0x01,
  kNidTypeNormalFolder = 0x02,
  kNidTypeSearchFolder = 0x03,
  kNidTypeNormalMessage = 0x04,
  kNidTypeAttachment = 0x05,
  kNidTypeSearchUpdateQueue = 0x06,
  kNidTypeSearchCriteriaObject = 0x07,
  kNidTypeAssocMessage = 0x08,
  kNidTypeContentsTableIndex = 0x0A,
  kNidTypeReceiveFolderTable = 0x0B,
  kNidTypeOutgoingQueueTable = 0x0C,
  kNidTypeHierarchyTable = 0x0D,
  kNidTypeContentsTable = 0x0E,
  kNidTypeAssocContentsTable = 0x0F,
  kNidTypeSearchContentsTable = 0x10,
  kNidTypeAttachmentTable = 0x11,
  kNidTypeRecipientTable = 0x12,
  kNidTypeSearchTableIndex = 0x13,
  kNidTypeLtp = 0x1F,
};

constexpr uint32_t kNidMessageStore = 0x21;
constexpr uint32_t kNidNameToIdMap = 0x61;
constexpr uint32_t kNidNormalFolderTemplate = 0xA1;
constexpr uint32_t kNidSearchFolderTemplate = 0xC1;
constexpr uint32_t kNidRootFolder = 0x122;
constexpr uint32_t kNidSearchManagementQueue = 0x1E1;
constexpr uint32_t kNidSearchActivityList = 0x201;
constexpr uint32_t kNidHierarchyTableTemplate = 0x60D;
constexpr uint32_t kNidContentsTableTemplate = 0x60E;
constexpr uint32_t kNidAssocContentsTableTemplate = 0x60F;
constexpr uint32_t kNidSearchContentsTableTemplate = 0x610;
constexpr uint32_t kNidAttachmentTable = 0x671;  // in a message's subnodes
constexpr uint32_t kNidRecipientTable = 0x692;   // in a message's subnodes

constexpr uint32_t NidTypeOf(uint32_t nid) { return nid & 0x1F; }
constexpr uint32_t NidIndexOf(uint32_t nid) { return nid >> 5; }
constexpr uint32_t MakeNid(uint32_t type, uint32_t index) { return (index << 5) | (type & 0x1F); }
// The hierarchy, contents or associated contents table that goes with a folder.
constexpr uint32_t FolderTableNid(uint32_t folderNid, uint32_t tableType) {
  return (folderNid & ~0x1Fu) | tableType;
}

// Bit 0 of a BID is reserved and ignored on lookup; bit 1 marks an internal (tree) block, stored
// without encoding.
constexpr uint64_t BidKey(uint64_t bid) { return bid & ~uint64_t{1}; }
constexpr bool BidIsInternal(uint64_t bid) { return (bid & 2) != 0; }

// HNIDs in property and table contexts: NID type 0 means a heap id, anything else a subnode.
constexpr bool HnidIsHid(uint32_t hnid) { return (hnid & 0x1F) == 0; }
constexpr uint32_t HidIndexOf(uint32_t hid) { return (hid >> 5) & 0x7FF; }
constexpr uint32_t HidBlockIndexOf(uint32_t hid) { return hid >> 16; }
constexpr uint32_t MakeHid(uint32_t blockIndex, uint32_t index) {
  return (blockIndex << 16) | ((index & 0x7FF) << 5);
}

// wSig of pages and blocks.
constexpr uint16_t ComputeSignature(uint64_t ib, uint64_t bid) {
  const uint64_t v = ib ^ bid;
  return static_cast<uint16_t>(static_cast<uint16_t>(v >> 16) ^ static_cast<uint16_t>(v));
}

// Bytes a block with cb data bytes occupies on disk, trailer and padding included.
constexpr size_t BlockDiskSize(size_t cb, bool unicode) {
  const size_t trailer = unicode ? sizeof(BlockTrailerUnicode) : sizeof(BlockTrailerAnsi);
  return (cb + trailer + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
}

// Heap blocks that start with HnBitmapHeader rather than HnPageHeader (block 0 has HnHeader).
constexpr bool HeapBlockHasBitmap(size_t blockIndex) {
  return blockIndex == 8 || (blockIndex > 8 && (blockIndex - 8) % 128 == 0);
}

// ---- Property tags ------------------------------------------------------------------------------

enum PropType : uint16_t {
  kPtUnspecified = 0x0000,
  kPtNull = 0x0001,
  kPtShort = 0x0002,
  kPtLong = 0x0003,
  kPtFloat = 0x0004,
  kPtDouble = 0x0005,
  kPtCurrency = 0x0006,
  kPtAppTime = 0x0007,
  kPtError = 0x000A,
  kPtBoolean = 0x000B,
  kPtObject = 0x000D,
  kPtI8 = 0x0014,
  kPtString8 = 0x001E,
  kPtUnicode = 0x001F,
  kPtSysTime = 0x0040,
  kPtClsid = 0x0048,
  kPtServerId = 0x00FB,
  kPtRestriction = 0x00FD,
  kPtRuleAction = 0x00FE,
  kPtBinary = 0x0102,
  kPtMultiValue = 0x1000,
};

constexpr uint32_t MakeTag(uint16_t id, uint16_t type) { return (uint32_t{id} << 16) | type; }
constexpr uint16_t TagId(uint32_t tag) { return static_cast<uint16_t>(tag >> 16); }
constexpr uint16_t TagType(uint32_t tag) { return static_cast<uint16_t>(tag & 0xFFFF); }

// Size of a fixed-size property type's value, 0 for variable-size types.
constexpr size_t FixedTypeSize(uint16_t type) {
  switch (type & ~kPtMultiValue) {
    case kPtShort:
      return 2;
    case kPtBoolean:
      return 1;
    case kPtLong:
    case kPtFloat:
    case kPtError:
      return 4;
    case kPtDouble:
    case kPtCurrency:
    case kPtAppTime:
    case kPtI8:
    case kPtSysTime:
      return 8;
    case kPtClsid:
      return 16;
    default:
      return 0;
  }
}

}  // namespace pst::format
