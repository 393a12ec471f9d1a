// Contents on their way into the rich edit: RTF told from text, wide RTF made 7-bit, file bytes decoded.
#include "RtfText.h"

#include <gtest/gtest.h>

using namespace richtext;

namespace {

TEST(RtfText, RtfIsToldByItsOpeningAlone) {
  EXPECT_TRUE(LooksLikeRtf(std::wstring(L"{\\rtf1\\ansi hello}")));
  EXPECT_TRUE(LooksLikeRtf(std::wstring(L" \r\n\t{\\rtf1}")));
  EXPECT_TRUE(LooksLikeRtf(std::string("\xEF\xBB\xBF{\\rtf1}")));
  EXPECT_FALSE(LooksLikeRtf(std::wstring(L"Hello {\\rtf1} inside a mail")));
  EXPECT_FALSE(LooksLikeRtf(std::wstring(L"{\\rt")));
  EXPECT_FALSE(LooksLikeRtf(std::wstring()));
  EXPECT_FALSE(LooksLikeRtf(std::string("{\\RTF1}")));
}

TEST(RtfText, CharactersAboveAsciiBecomeUnicodeGroups) {
  EXPECT_EQ(RtfBytesFromWide(L"{\\rtf1 a}"), "{\\rtf1 a}");
  EXPECT_EQ(RtfBytesFromWide(L"{\\rtf1 \u00FC}"), "{\\rtf1 {\\uc1\\u252?}}");
  // Values above 0x7FFF are written as negative numbers, as RTF's signed 16-bit values are.
  EXPECT_EQ(RtfBytesFromWide(L"\uFF21"), "{\\uc1\\u-223?}");
  const std::string bytes = RtfBytesFromWide(L"\u65E5\u672C");
  for (char c : bytes) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << bytes;
  for (char c : bytes) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << bytes;
}

TEST(RtfText, NestingCountsOnlyUnescapedBraces) {
  EXPECT_EQ(RtfNestingDepth("{\\rtf1 {\\b x}}"), 2);
  EXPECT_EQ(RtfNestingDepth("{\\rtf1 \\{ \\} \\\\}"), 1);
  EXPECT_EQ(RtfNestingDepth("}}}{"), 1);
  EXPECT_EQ(RtfNestingDepth(std::string(5000, '{')), 5000);
  EXPECT_EQ(RtfNestingDepth(""), 0);
  EXPECT_EQ(RtfNestingDepth("\\"), 0);
}

TEST(RtfText, FileBytesDecodeByMarkThenUtf8ThenCodePage) {
  EXPECT_EQ(TextFromBytes(std::string("\xFF\xFE"
                                      "h\0i\0",
                                      6)),
            L"hi");
  EXPECT_EQ(TextFromBytes("\xEF\xBB\xBF"
                          "gr\xC3\xBC\xC3\x9F"),
            L"gr\u00FC\u00DF");
  EXPECT_EQ(TextFromBytes("gr\xC3\xBC\xC3\x9F"), L"gr\u00FC\u00DF");
  EXPECT_EQ(TextFromBytes("plain"), L"plain");
  EXPECT_EQ(TextFromBytes(""), L"");
  // Not UTF-8: the system's code page, so nothing is lost.
  EXPECT_EQ(TextFromBytes("caf\xE9").size(), 4u);
  // A lone byte of a UTF-16 text after its mark is dropped, not read past.
  EXPECT_EQ(TextFromBytes(std::string("\xFF\xFE"
                                      "a\0b",
                                      5)),
            L"a");
}

}  // namespace
