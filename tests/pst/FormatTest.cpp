// The shared format primitives: CRC, the two block encodings, identifiers, and the checksums of a real
// header.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "pst/format/Codec.h"
#include "pst/format/Layout.h"

using namespace pst::format;

TEST(Format, CrcOfKnownInputs) {
  EXPECT_EQ(ComputeCrc("", 0), 0u);
  // No pre- or post-inversion: the CRC of a single zero byte is zero.
  const uint8_t zero = 0;
  EXPECT_EQ(ComputeCrc(&zero, 1), 0u);
  const char* text = "123456789";
  const uint32_t whole = ComputeCrc(text, 9);
  EXPECT_EQ(ComputeCrc(text + 4, 5, ComputeCrc(text, 4)), whole);
}

TEST(Format, PermuteIsABijectionAndRoundTrips) {
  bool seen[256] = {};
  for (int i = 0; i < 256; ++i) {
    EXPECT_FALSE(seen[kPermuteEncode[i]]);
    seen[kPermuteEncode[i]] = true;
    EXPECT_EQ(kPermuteDecode[kPermuteEncode[i]], i);
  }
  std::vector<uint8_t> bytes(300);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  auto copy = bytes;
  EncodePermute(copy.data(), copy.size());
  EXPECT_NE(copy, bytes);
  DecodePermute(copy.data(), copy.size());
  EXPECT_EQ(copy, bytes);
}

TEST(Format, IdentifierHelpers) {
  EXPECT_EQ(NidTypeOf(kNidRootFolder), kNidTypeNormalFolder);
  EXPECT_EQ(FolderTableNid(kNidRootFolder, kNidTypeHierarchyTable), 0x12Du);
  EXPECT_EQ(MakeNid(kNidTypeNormalMessage, 0x10), 0x204u);
  EXPECT_TRUE(HnidIsHid(0x20));
  EXPECT_FALSE(HnidIsHid(0x8025));
  EXPECT_EQ(HidIndexOf(MakeHid(3, 5)), 5u);
  EXPECT_EQ(HidBlockIndexOf(MakeHid(3, 5)), 3u);
  EXPECT_EQ(BidKey(0x25), 0x24u);
  EXPECT_TRUE(BidIsInternal(0x26));
  EXPECT_EQ(BlockDiskSize(0, true), 64u);
  EXPECT_EQ(BlockDiskSize(48, true), 64u);
  EXPECT_EQ(BlockDiskSize(49, true), 128u);
  EXPECT_EQ(BlockDiskSize(kMaxBlockDataUnicode, true), kMaxBlockBytes);
  EXPECT_EQ(BlockDiskSize(kMaxBlockDataAnsi, false), kMaxBlockBytes);
  EXPECT_TRUE(HeapBlockHasBitmap(8));
  EXPECT_TRUE(HeapBlockHasBitmap(136));
  EXPECT_FALSE(HeapBlockHasBitmap(9));
  EXPECT_FALSE(HeapBlockHasBitmap(0));
}

TEST(Format, RealHeadersCarryMatchingChecksums) {
  for (const char* name : {"pst/pstsdk-sample1-unicode.pst", "pst/pstsdk-sample2-ansi.pst"}) {
    std::string bytes = testsupport::ReadFileBytes(testsupport::FixturePath(name));
    ASSERT_GE(bytes.size(), sizeof(HeaderUnicode)) << name;
    HeaderPrefix prefix;
    std::memcpy(&prefix, bytes.data(), sizeof prefix);
    EXPECT_EQ(prefix.dwMagic, kHeaderMagic);
    EXPECT_EQ(ComputeCrc(bytes.data() + kHeaderCrcStart, kHeaderCrcPartialBytes), prefix.dwCrcPartial)
        << name;
    if (prefix.wVer >= kVersionUnicode) {
      HeaderUnicode header;
      std::memcpy(&header, bytes.data(), sizeof header);
      EXPECT_EQ(ComputeCrc(bytes.data() + kHeaderCrcStart, kHeaderCrcFullBytes), header.dwCrcFull);
      EXPECT_EQ(header.bCryptMethod, kCryptPermute);
    } else {
      HeaderAnsi header;
      std::memcpy(&header, bytes.data(), sizeof header);
      EXPECT_EQ(header.bCryptMethod, kCryptPermute);
      EXPECT_EQ(header.bSentinel, kHeaderSentinel);
    }
  }
}

TEST(Format, CyclicMiddleTableIsAnInvolution) {
  bool seen[256] = {};
  for (int i = 0; i < 256; ++i) {
    EXPECT_FALSE(seen[kCyclicSubstitute[i]]) << i;
    seen[kCyclicSubstitute[i]] = true;
    EXPECT_EQ(kCyclicSubstitute[kCyclicSubstitute[i]], i) << i;
  }
}

TEST(Format, CyclicEncodingOfKnownBytes) {
  // Traced by hand through the three tables: key 0 leaves the running key at 0 for the first byte,
  // so 0x00 goes 0x00 -> 0x41 -> 0x50 -> 0xB9.
  uint8_t one = 0;
  CryptCyclic(&one, 1, 0);
  EXPECT_EQ(one, 0xB9);
  // Both halves of the key fold into the running key: 0x00010001 folds to 0, like key 0.
  uint8_t folded = 0;
  CryptCyclic(&folded, 1, 0x00010001u);
  EXPECT_EQ(folded, 0xB9);
  // Key 1, second byte: the running key is 2: 0x00 -> +2 -> 0x13 -> 0x83 -> 0xA4 -> -2 -> 0xA2.
  uint8_t two[2] = {0, 0};
  CryptCyclic(two, 2, 1);
  EXPECT_EQ(two[1], 0xA2);
}

TEST(Format, CyclicRoundTripsAndDependsOnKeyAndPosition) {
  std::vector<uint8_t> bytes(9000, 0x20);
  for (uint32_t key : {0u, 4u, 0x1234u, 0xFFFFFFFCu, 0x80000004u}) {
    auto copy = bytes;
    CryptCyclic(copy.data(), copy.size(), key);
    EXPECT_NE(copy, bytes);
    // The running key steps per byte: a run of equal bytes does not encode to a run.
    EXPECT_NE(copy[0], copy[1]) << key;
    auto other = bytes;
    CryptCyclic(other.data(), other.size(), key + 4);
    EXPECT_NE(copy, other) << key;
    CryptCyclic(copy.data(), copy.size(), key);
    EXPECT_EQ(copy, bytes) << key;
  }
}
