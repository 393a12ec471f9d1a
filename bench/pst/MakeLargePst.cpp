// Writes a large Unicode PST for the reader benchmark: N messages in folders of 500 (a contents
// table's row index then fits the writer's one-block heap), each with a subject, a plain body and
// one by-value attachment stored as a data tree. Built by run-bench.sh
// from the tests' small writer; not part of the product.
//   make-large-pst OUTPUT MESSAGES ATTACHMENT-BYTES
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "MiniPst.h"
#include "pst/format/Layout.h"

using namespace minipst;
using namespace pst::format;

namespace {

// Data of any size: one block, or an XBLOCK over blocks (an XXBLOCK is not needed below 8 MB).
uint64_t AddData(FileBuilder& builder, const Bytes& data) {
  const size_t max = kMaxBlockDataUnicode;
  if (data.size() <= max) return builder.AddBlock(data);
  Bytes xblock{kBlockTypeXBlock, 1, 0, 0};
  Append32(xblock, static_cast<uint32_t>(data.size()));
  uint16_t count = 0;
  for (size_t at = 0; at < data.size(); at += max, ++count)
    Append64(xblock,
             builder.AddBlock(Bytes(data.begin() + at, data.begin() + std::min(data.size(), at + max))));
  Put16(xblock, 2, count);
  return builder.AddTreeBlock(xblock);
}

// Table rows packed whole into blocks, as the format wants them in a subnode.
uint64_t AddRows(FileBuilder& builder, const Bytes& rows, size_t rowSize) {
  const size_t perBlock = kMaxBlockDataUnicode / rowSize;
  if (rows.size() <= perBlock * rowSize) return builder.AddBlock(rows);
  Bytes xblock{kBlockTypeXBlock, 1, 0, 0};
  Append32(xblock, static_cast<uint32_t>(rows.size()));
  uint16_t count = 0;
  for (size_t at = 0; at < rows.size(); at += perBlock * rowSize, ++count)
    Append64(xblock, builder.AddBlock(Bytes(rows.begin() + at,
                                            rows.begin() + std::min(rows.size(), at + perBlock * rowSize))));
  Put16(xblock, 2, count);
  return builder.AddTreeBlock(xblock);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make-large-pst OUTPUT MESSAGES ATTACHMENT-BYTES\n");
    return 2;
  }
  const uint32_t messages = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  const size_t attachmentBytes = std::strtoul(argv[3], nullptr, 10);
  FileBuilder builder;
  std::map<uint32_t, Bytes> none;
  const uint32_t perFolder = 500;
  const uint32_t folderCount = (messages + perFolder - 1) / perFolder;
  std::vector<uint32_t> folders;
  for (uint32_t f = 0; f < folderCount; ++f) folders.push_back(MakeNid(kNidTypeNormalFolder, 0x400 + f));

  Bytes entryId(20, 0);
  for (uint8_t b : Le(kNidRootFolder, 4)) entryId.push_back(b);
  builder.AddNode(kNidMessageStore,
                  builder.AddBlock(BuildPropertyContext(
                      {{0x3001, {kPtUnicode, Utf16(u"Benchmark")}}, {0x35E0, {kPtBinary, entryId}}}, &none)));
  // One named property (PidLidLocation), since other readers refuse an empty map.
  const Bytes appointmentGuid{0x02, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                              0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  Bytes nameEntries;
  Append32(nameEntries, 0x8208);
  Append16(nameEntries, 3 << 1);
  Append16(nameEntries, 0);
  builder.AddNode(kNidNameToIdMap,
                  builder.AddBlock(BuildPropertyContext({{0x0001, {kPtLong, Le(251, 4)}},
                                                         {0x0002, {kPtBinary, appointmentGuid}},
                                                         {0x0003, {kPtBinary, nameEntries}},
                                                         {0x0004, {kPtBinary, Bytes(4, 0)}}},
                                                        &none)));
  // The root folder is its own parent, as other readers build their tree from parent links.
  builder.AddNode(kNidRootFolder,
                  builder.AddBlock(BuildPropertyContext({{0x3001, {kPtUnicode, Utf16(u"")}}}, &none)), 0,
                  kNidRootFolder);
  builder.AddNode(FolderTableNid(kNidRootFolder, kNidTypeHierarchyTable),
                  builder.AddBlock(BuildTableContext(
                      {}, std::vector<std::map<uint32_t, Bytes>>(folders.size()), folders)));
  for (uint32_t f = 0; f < folderCount; ++f) {
    std::u16string name = u"Folder ";
    for (char c : std::to_string(f + 1)) name += static_cast<char16_t>(c);
    builder.AddNode(folders[f],
                    builder.AddBlock(BuildPropertyContext({{0x3001, {kPtUnicode, Utf16(name)}}}, &none)), 0,
                    kNidRootFolder);
    builder.AddNode(FolderTableNid(folders[f], kNidTypeHierarchyTable),
                    builder.AddBlock(BuildTableContext({}, {}, {})));
  }

  Bytes attachment(attachmentBytes);
  std::u16string body;
  for (int i = 0; i < 40; ++i) body += u"The quick brown fox jumps over the lazy dog. ";
  std::vector<std::vector<uint32_t>> rowIds(folderCount);
  const uint32_t attachNid = MakeNid(kNidTypeAttachment, 0x1);
  const uint32_t dataNid = MakeNid(kNidTypeLtp, 0x100);
  for (uint32_t m = 0; m < messages; ++m) {
    const uint32_t nid = MakeNid(kNidTypeNormalMessage, 0x1000 + m);
    for (size_t i = 0; i < attachment.size(); ++i) attachment[i] = static_cast<uint8_t>(i * 13 + m);
    // The attachment: its PC, with the data in a subnode of its own.
    std::map<uint32_t, Bytes> attachSub;
    Bytes attachPc = BuildPropertyContext({{0x3705, {kPtLong, Le(1, 4)}},
                                           {0x3707, {kPtUnicode, Utf16(u"data.bin")}},
                                           {0x0E20, {kPtLong, Le(attachment.size(), 4)}},
                                           {0x3701, {kPtBinary, attachment, true}}},
                                          &attachSub);
    const uint64_t attachSl = builder.AddTreeBlock(
        BuildSubnodeBlock({{attachSub.begin()->first, AddData(builder, attachment), 0, 0}}));
    Bytes table =
        BuildTableContext({MakeTag(0x3705, kPtLong)}, {{{MakeTag(0x3705, kPtLong), Le(1, 4)}}}, {attachNid});
    const uint64_t messageSl =
        builder.AddTreeBlock(BuildSubnodeBlock({{kNidAttachmentTable, builder.AddBlock(table), 0, 0},
                                                {attachNid, builder.AddBlock(attachPc), attachSl, 0}}));
    std::u16string subject = u"Message " + std::u16string(1, static_cast<char16_t>(u'A' + m % 26));
    Bytes pc = BuildPropertyContext({{0x001A, {kPtUnicode, Utf16(u"IPM.Note")}},
                                     {0x0037, {kPtUnicode, Utf16(subject)}},
                                     {0x1000, {kPtUnicode, Utf16(body)}},
                                     {0x0E07, {kPtLong, Le(0x10, 4)}}},
                                    &none);
    builder.AddNode(nid, builder.AddBlock(pc), messageSl, folders[m / perFolder]);
    rowIds[m / perFolder].push_back(nid);
  }
  (void)dataNid;
  for (uint32_t f = 0; f < folderCount; ++f) {
    std::map<uint32_t, Bytes> tableSub;
    const uint32_t rowsNid = MakeNid(kNidTypeLtp, 0x80);
    std::vector<std::map<uint32_t, Bytes>> rows(rowIds[f].size());
    Bytes contents = BuildTableContext({}, rows, rowIds[f], rowsNid, &tableSub);
    const size_t rowSize = tableSub[rowsNid].size() / std::max<size_t>(1, rows.size());
    const uint64_t rowsData = AddRows(builder, tableSub[rowsNid], rowSize);
    builder.AddNode(FolderTableNid(folders[f], kNidTypeContentsTable), builder.AddBlock(contents),
                    builder.AddTreeBlock(BuildSubnodeBlock({{rowsNid, rowsData, 0, 0}})));
  }
  const std::string bytes = builder.Build();
  std::ofstream(argv[1], std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::printf("%s: %u messages, %zu bytes\n", argv[1], messages, bytes.size());
  return 0;
}
