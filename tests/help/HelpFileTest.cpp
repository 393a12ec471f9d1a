// The help file the build compiles beside the program: a compiled help file whose directory is whole,
// with its contents, index and search, and whose contents and index entries open their topics through
// the system's own reader.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "HelpFile.h"
#include "TestFiles.h"

using namespace helptest;

namespace {

#pragma pack(push, 1)
// The head of the compressed section's reset table: what the section holds once uncompressed.
struct LzxResetTableHeader {
  uint32_t version;
  uint32_t blockCount;
  uint32_t entrySize;
  uint32_t headerLength;
  uint64_t uncompressedLength;
  uint64_t compressedLength;
  uint64_t blockSize;
};
static_assert(sizeof(LzxResetTableHeader) == 0x28, "LZX reset table header");
#pragma pack(pop)

const char RESET_TABLE[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
    "ResetTable";
const char COMPRESSED_CONTENT[] = "::DataSpace/Storage/MSCompressed/Content";

class HelpFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    bytes_ = testsupport::ReadFileBytes(HelpFilePath());
    ASSERT_FALSE(bytes_.empty()) << "no help file beside the program: " << HelpFilePath();
  }
  void TearDown() override { ::CoUninitialize(); }

  std::string bytes_;
};

// The entries of a contents or index file of the help, read through the system's reader.
std::vector<SitemapEntry> SitemapOf(const std::string& stream) {
  std::string text;
  EXPECT_TRUE(ReadHelpStream(HelpFilePath(), stream, &text)) << stream;
  return ParseSitemap(text);
}

TEST_F(HelpFile, IsACompiledHelpFileWithContentsIndexAndSearch) {
  std::vector<ChmEntry> entries;
  uint64_t contentOffset = 0;
  std::string error;
  ASSERT_TRUE(ReadChmDirectory(bytes_, &entries, &contentOffset, &error)) << error;

  std::map<std::string, ChmEntry> byName;
  for (const ChmEntry& entry : entries) byName[entry.name] = entry;
  // The system data the viewer reads (title, window, default topic), the topic table, the contents and
  // the index with their compiled keyword tree, and the full-text search.
  for (const char* name : {"/#SYSTEM", "/#WINDOWS", "/#TOPICS", "/#STRINGS", "/contents.hhc", "/index.hhk",
                           "/$WWKeywordLinks/BTree", "/$FIftiMain", "/welcome.html", "/help.css"})
    EXPECT_EQ(byName.count(name), 1u) << name << " is not in the help file";

  // Every stream lies inside the file (stored ones) or inside the uncompressed section.
  ASSERT_EQ(byName.count(RESET_TABLE), 1u);
  ASSERT_EQ(byName.count(COMPRESSED_CONTENT), 1u);
  const ChmEntry& table = byName[RESET_TABLE];
  LzxResetTableHeader reset;
  ASSERT_EQ(table.section, 0u);
  ASSERT_GE(table.length, sizeof(reset));
  ASSERT_LE(contentOffset + table.offset + sizeof(reset), bytes_.size());
  memcpy(&reset, bytes_.data() + contentOffset + table.offset, sizeof(reset));
  EXPECT_EQ(reset.compressedLength, byName[COMPRESSED_CONTENT].length);
  for (const ChmEntry& entry : entries) {
    if (entry.section == 0) {
      EXPECT_LE(contentOffset + entry.offset + entry.length, bytes_.size()) << entry.name;
    } else {
      EXPECT_EQ(entry.section, 1u) << entry.name;
      EXPECT_LE(entry.offset + entry.length, reset.uncompressedLength) << entry.name;
    }
  }

  // Each topic of the contents is a stream of the file.
  const std::vector<SitemapEntry> contents = SitemapOf("/contents.hhc");
  ASSERT_GE(contents.size(), 7u);
  for (const SitemapEntry& entry : contents) EXPECT_EQ(byName.count("/" + entry.local), 1u) << entry.local;
}

TEST_F(HelpFile, ContentsAndIndexOpenTheirTopicsThroughTheSystemsReader) {
  const std::vector<SitemapEntry> contents = SitemapOf("/contents.hhc");
  const std::vector<SitemapEntry> index = SitemapOf("/index.hhk");
  ASSERT_FALSE(contents.empty());
  ASSERT_FALSE(index.empty());
  EXPECT_EQ(contents.front().local, "welcome.html");

  std::map<std::string, std::string> topics;
  for (const std::vector<SitemapEntry>* list : {&contents, &index}) {
    for (const SitemapEntry& entry : *list) {
      EXPECT_FALSE(entry.name.empty()) << entry.local;
      if (topics.count(entry.local)) continue;
      std::string text;
      EXPECT_TRUE(ReadHelpStream(HelpFilePath(), "/" + entry.local, &text))
          << entry.name << ": " << entry.local;
      EXPECT_NE(text.find("<h1>"), std::string::npos) << entry.local << " has no heading";
      topics[entry.local] = text;
    }
  }

  // The final messages and what is left out can be looked up by the words the program shows.
  auto indexed = [&index](const std::string& name) {
    return std::any_of(index.begin(), index.end(), [&name](const SitemapEntry& e) { return e.name == name; });
  };
  for (const char* name : {"Saving Complete", "Process aborted by user", "Saving cancelled by user",
                           "Outlook is not installed or no profile exist", "Not converted", "Stop", "F1"})
    EXPECT_TRUE(indexed(name)) << name << " is not in the index";

  // The reason the conversion gives for a contact's attachments reads the same in the help.
  ASSERT_EQ(topics.count("not-converted.html"), 1u);
  EXPECT_NE(topics["not-converted.html"].find("\"Contacts are saved without their attachments\""),
            std::string::npos);
}

}  // namespace
