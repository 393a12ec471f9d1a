// Compressed RTF and the bodies Outlook wraps in RTF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pst/Error.h"
#include "pst/Rtf.h"

using namespace pst;

namespace {

std::vector<uint8_t> Header(uint32_t compSize, uint32_t rawSize, uint32_t magic) {
  std::vector<uint8_t> out;
  for (uint32_t v : {compSize, rawSize, magic, 0u})
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return out;
}

// Sets COMPSIZE to what follows it, then decompresses.
std::string Decompress(std::vector<uint8_t> bytes) {
  if (bytes.size() >= 16 && bytes[0] == 0 && bytes[1] == 0) {
    const uint32_t size = static_cast<uint32_t>(bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(size >> (8 * i));
  }
  auto out = DecompressRtf(bytes.data(), bytes.size());
  return std::string(out.begin(), out.end());
}

}  // namespace

TEST(CompressedRtf, PublishedExampleDecompresses) {
  const std::vector<uint8_t> example = {
      0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xf1, 0xc5, 0xc7, 0xa7, 0x03,
      0x00, 0x0a, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32, 0x35, 0x42, 0x32, 0x0a, 0xf3, 0x20, 0x68, 0x65,
      0x6c, 0x09, 0x00, 0x20, 0x62, 0x77, 0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f, 0xa0};
  EXPECT_EQ(Decompress(example), "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
}

TEST(CompressedRtf, LiteralsBackReferencesAndTheEndMarker) {
  // "abc" as literals, then one reference copying 6 bytes from where "abc" went (offset 207),
  // overlapping its own output; then the end marker (a reference to the write position).
  std::vector<uint8_t> data = Header(0, 9, 0x75465A4C);
  data.insert(data.end(), {0x18, 'a', 'b', 'c', 0x0C, 0xF4, 0x0D, 0x80});
  EXPECT_EQ(Decompress(data), "abcabcabc");
  // Output stops at the stated raw size even when the stream goes on.
  std::vector<uint8_t> shorter = Header(0, 4, 0x75465A4C);
  shorter.insert(shorter.end(), {0x08, 'a', 'b', 'c', 0x0C, 0xF4});
  EXPECT_EQ(Decompress(shorter), "abca");
}

TEST(CompressedRtf, StoredFormAndDamagedHeaders) {
  std::vector<uint8_t> stored = Header(0, 5, 0x414C454D);
  for (char c : std::string("{\\rtf}")) stored.push_back(static_cast<uint8_t>(c));
  EXPECT_EQ(Decompress(stored), "{\\rtf");
  EXPECT_THROW(Decompress({1, 2, 3}), PstError);
  EXPECT_THROW(Decompress(Header(0, 5, 0x12345678)), PstError);
  // A stream that ends in the middle of a reference gives what was decoded so far.
  std::vector<uint8_t> cut = Header(0, 50, 0x75465A4C);
  cut.insert(cut.end(), {0x02, 'x', 0x0C});
  EXPECT_EQ(Decompress(cut), "x");
}

TEST(RtfBody, HtmlIsRecoveredFromHtmlTagsAndVisibleText) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
      "{\\*\\htmltag19 <html>}{\\*\\htmltag2 \\par }\\htmlrtf {\\htmlrtf0 Hello\\htmlrtf }\\htmlrtf0 "
      "{\\*\\htmltag84 <b>}x\\'e9{\\*\\htmltag92 </b>}\\htmlrtf \\par\\htmlrtf0 {\\*\\htmltag27 </html>}}";
  bool html = false;
  EXPECT_EQ(DeencapsulateRtf(rtf, &html), "<html>\r\nHello<b>x\xC3\xA9</b></html>");
  EXPECT_TRUE(html);
}

TEST(RtfBody, TextFromTextRtfWithCodePageAndUnicodeEscapes) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg932\\fromtext \\deff0{\\fonttbl{\\f0 MS Gothic;}}"
      "{\\*\\generator Test;}\\f0 \\'93\\'fa\\'96\\'7b\\par line2\\tab x\\u8364?\\{\\}}";
  bool html = true;
  EXPECT_EQ(DeencapsulateRtf(rtf, &html), "\xE6\x97\xA5\xE6\x9C\xAC\r\nline2\tx\xE2\x82\xAC{}");
  EXPECT_FALSE(html);
}

TEST(RtfBody, MalformedRtfNeverFails) {
  bool html = false;
  for (const std::string rtf : {"", "{", "}}}}", "\\", "{\\rtf1 \\'", "{\\rtf1 \\'zz}", "{\\u-", "{\\*"}) {
    EXPECT_NO_THROW(DeencapsulateRtf(rtf, &html)) << rtf;
  }
  // Nesting far past any real document still pairs its braces.
  const std::string deep =
      "{\\rtf1\\fromtext " + std::string(5000, '{') + "x" + std::string(5000, '}') + "y}";
  EXPECT_EQ(DeencapsulateRtf(deep, &html), "xy");
}
