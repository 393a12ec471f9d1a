// The file source on a failing disk and on a file that another program changes while it is read: a
// place that cannot be read costs only what it holds, while a file that is gone or changed, or a disk
// that no longer answers, fails as the file itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "ErrorKindOf.h"
#include "MiniPst.h"
#include "TestFiles.h"
#include "pst/Ndb.h"

using namespace pst;
using namespace minipst;

namespace {

constexpr size_t kFileBytes = 200000;

class ReadFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("file.bin");
    content_.resize(kFileBytes);
    for (size_t i = 0; i < content_.size(); ++i) content_[i] = static_cast<uint8_t>(i * 7 + i / 251);
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(content_.data()), static_cast<std::streamsize>(content_.size()));
  }

  // The bytes at offset match the file's; fails the test otherwise.
  void ExpectRead(ByteSource& source, uint64_t offset, size_t size) {
    Bytes got(size);
    source.ReadAt(offset, got.data(), size);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), content_.begin() + static_cast<ptrdiff_t>(offset)))
        << "offset " << offset << ", size " << size;
  }
  ErrorKind FailedRead(ByteSource& source, uint64_t offset, size_t size, std::string* text = nullptr) {
    Bytes got(size);
    return KindOf([&] { source.ReadAt(offset, got.data(), size); }, text);
  }

  testsupport::TempDir dir_;
  std::string path_;
  Bytes content_;
};

}  // namespace

// The window around a bad byte is read in the pieces asked for: only a read that touches the byte
// fails, the same read fails again, and the file goes on being read on both sides of it.
TEST_F(ReadFaultTest, OnlyTheReadsThatTouchAnUnreadableByteFail) {
  auto source = OpenFileSource(path_, ReadFault{20000, 1});
  ExpectRead(*source, 16384, 100);  // the same window as the bad byte
  std::string text;
  EXPECT_EQ(ErrorKind::kUnreadable, FailedRead(*source, 19990, 20, &text));
  EXPECT_EQ(0u, text.find("read error at offset 0x4E16: the disk cannot read these 20 bytes")) << text;
  EXPECT_EQ(ErrorKind::kUnreadable, FailedRead(*source, 19990, 20));
  EXPECT_EQ(ErrorKind::kUnreadable, FailedRead(*source, 20000, 1));
  ExpectRead(*source, 20001, 500);
  ExpectRead(*source, 19000, 1000);
  ExpectRead(*source, 30000, 70000);  // past the window's size
  ExpectRead(*source, 0, 512);
}

// Reads that fail at one place after another with none between that works are a disk that no longer
// answers: the run of failures is bounded, and a read that works starts it anew.
TEST_F(ReadFaultTest, ManyFailedReadsInARowAreTheFileFailing) {
  auto source = OpenFileSource(path_, ReadFault{4096, UINT64_MAX - 4096});
  for (int i = 1; i <= 40; ++i) EXPECT_EQ(ErrorKind::kUnreadable, FailedRead(*source, 4096u * i, 100)) << i;
  ExpectRead(*source, 100, 10);
  for (int i = 1; i <= 63; ++i) EXPECT_EQ(ErrorKind::kUnreadable, FailedRead(*source, 5000u + 2000u * i, 10));
  // Failing again where a read failed before tells nothing new of the disk.
  EXPECT_EQ(ErrorKind::kUnreadable, FailedRead(*source, 4096, 100));
  std::string text;
  EXPECT_EQ(ErrorKind::kIo, FailedRead(*source, 190000, 10, &text));
  EXPECT_NE(std::string::npos, text.find("the last 64 reads of the file, each at another place, all failed"))
      << text;
}

// A volume gone fails every read, the header's too: the first failure is the file's own.
TEST_F(ReadFaultTest, AFileWhoseHeaderNoLongerReadsFailsAtOnce) {
  auto source = OpenFileSource(path_, ReadFault{0, UINT64_MAX});
  std::string text;
  EXPECT_EQ(ErrorKind::kIo, FailedRead(*source, 50000, 100, &text));
  EXPECT_NE(std::string::npos, text.find("not even the file's header can be read any more")) << text;
}

// A file cut short fails as the file, both past its new end and where bytes are still there.
TEST_F(ReadFaultTest, AFileCutShortFailsAsTheFileItself) {
  auto source = OpenFileSource(path_);
  ExpectRead(*source, 0, 1000);
  ASSERT_TRUE(testsupport::CutFileShort(path_, 100000));
  std::string text;
  EXPECT_EQ(ErrorKind::kIo, FailedRead(*source, 150000, 100, &text));
  EXPECT_NE(std::string::npos, text.find("the file is now 100000 bytes long, shorter than the 200000 bytes"))
      << text;
  EXPECT_EQ(ErrorKind::kIo, FailedRead(*source, 50000, 100, &text));
  EXPECT_NE(std::string::npos, text.find("shorter than")) << text;
}

// Bytes written over the file's middle while it is open, its length unchanged: the next read from the
// disk, anywhere, fails as the file, so that no byte of another version passes for the file's.
TEST_F(ReadFaultTest, AFileWrittenInPlaceFailsAtTheNextReadFromTheDisk) {
  ASSERT_TRUE(testsupport::AgeFile(path_));
  auto source = OpenFileSource(path_);
  ExpectRead(*source, 0, 1000);
  ASSERT_TRUE(testsupport::WriteOverFileMiddle(path_, 11));
  ExpectRead(*source, 10, 100);  // held from before the change
  std::string text;
  EXPECT_EQ(ErrorKind::kIo, FailedRead(*source, 150000, 100, &text));
  EXPECT_NE(std::string::npos, text.find("another program wrote to the file after it was opened")) << text;
}

// Through the node database: the block whose bytes cannot be read fails as unreadable, its neighbours
// read, and so does the block again once the disk reads it.
TEST(ReadFaultPstFile, AnUnreadableBlockCostsThatBlockOnly) {
  FileBuilder builder;
  std::vector<uint64_t> bids;
  for (int i = 0; i < 6; ++i) bids.push_back(builder.AddBlock(Bytes(700, static_cast<uint8_t>(i + 1))));
  builder.AddNode(0x21, bids[0]);
  const std::string bytes = builder.Build();
  testsupport::TempDir dir;
  const std::string path = dir.File("blocks.pst");
  {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  PstOptions options;
  options.readFault = {builder.OffsetOfBlock(bids[3]) + 10, 1};
  auto file = PstFile::Open(path, options);
  std::string text;
  EXPECT_EQ(ErrorKind::kUnreadable, KindOf([&] { file->ReadBlock(bids[3]); }, &text));
  EXPECT_EQ(0u, text.find("read error at offset ")) << text;
  for (int i : {0, 1, 2, 4, 5})
    EXPECT_EQ(Bytes(700, static_cast<uint8_t>(i + 1)), *file->ReadBlock(bids[i])) << i;
}
