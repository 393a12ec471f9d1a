// Text decoding: UTF-16 with surrogates, Windows-1252, code page 932 and malformed input.
#include <gtest/gtest.h>

#include <string>

#include "pst/CodePage.h"

using namespace pst;

namespace {

std::string Ansi(const std::string& bytes, uint32_t codePage) {
  return DecodeAnsi(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), codePage);
}

std::string DecodeUtf16(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return Utf16LeToUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(CodePage, Utf16WithSurrogatePairsAndStrays) {
  EXPECT_EQ(DecodeUtf16(u"A\u00e9\u65e5"), "A\xC3\xA9\xE6\x97\xA5");
  EXPECT_EQ(DecodeUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(DecodeUtf16(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(DecodeUtf16(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
  const uint8_t odd[] = {'a', 0, 'b'};
  EXPECT_EQ(Utf16LeToUtf8(odd, 3), "a");
}

TEST(CodePage, Windows1252UpperHalf) {
  EXPECT_EQ(Ansi("\x80\x9F\xE9\xFF", 1252), "\xE2\x82\xAC\xC5\xB8\xC3\xA9\xC3\xBF");
  // Bytes Windows leaves unassigned pass through as the C1 control of the same value.
  EXPECT_EQ(Ansi("\x81", 1252), "\xC2\x81");
  // An unknown code page reads as Windows-1252.
  EXPECT_EQ(Ansi("\x80", 12345), "\xE2\x82\xAC");
  EXPECT_FALSE(IsSupportedCodePage(12345));
  EXPECT_TRUE(IsSupportedCodePage(932));
}

TEST(CodePage, ShiftJisDoubleBytesAndHalfWidthKatakana) {
  // 日本語 タイトル, with half-width ｱ.
  EXPECT_EQ(Ansi("\x93\xfa\x96\x7b\x8c\xea \x83\x5e\x83\x43\x83\x67\x83\x8b\xb1", 932),
            "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE3\x82\xBF\xE3\x82\xA4\xE3\x83\x88\xE3\x83\xAB"
            "\xEF\xBD\xB1");
  // A lead byte at the end, and a lead byte before a byte that cannot trail.
  EXPECT_EQ(Ansi("a\x93", 932), "a\xEF\xBF\xBD");
  EXPECT_EQ(Ansi("\x93 b", 932), "\xEF\xBF\xBD b");
  // The yen sign position stays a backslash, as Windows maps it.
  EXPECT_EQ(Ansi("\\", 932), "\\");
}

TEST(CodePage, Utf8IsCheckedNotTrusted) {
  EXPECT_EQ(Ansi("\xC3\xA9", 65001), "\xC3\xA9");
  EXPECT_EQ(Ansi("\xC3", 65001), "\xEF\xBF\xBD");
  EXPECT_EQ(Ansi("\xE6\x97x", 65001), "\xEF\xBF\xBD\xEF\xBF\xBDx");
  EXPECT_EQ(Ansi("\xFF", 65001), "\xEF\xBF\xBD");
}

TEST(CodePage, Iso2022JpMailText) {
  // "日本 ｱ x": JIS X 0208 between ESC $ B and ESC ( B, half-width katakana after ESC ( I.
  EXPECT_EQ(Ansi("\x1b$BF|K\\\x1b(B \x1b(I1\x1b(B x", 50220), "\xE6\x97\xA5\xE6\x9C\xAC \xEF\xBD\xB1 x");
  EXPECT_EQ(Ansi("\x1b$Bxx", 50220).substr(0, 3), "\xEF\xBF\xBD");
  EXPECT_EQ(Ansi("a\x1b", 50222), "a\xEF\xBF\xBD");
}
