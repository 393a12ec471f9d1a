// Strings and their translation to and from UTF-16 with both character sets.
#include <gtest/gtest.h>

#include "NotesTestSupport.h"

using namespace notestest;

TEST(StringTranslate, BothCharacterSetsRoundTripAnyUnicodeText) {
  const std::wstring text = L"Gr\u00FC\u00DFe \u65E5\u672C \U0001F600 \U00010348 end";
  for (LNINT charset : {LNCHARSET_NATIVE, LNCHARSET_BODY}) {
    LNString translated;
    LNINT length = 0;
    ASSERT_EQ(LNNOERROR, LNStringTranslate(text.c_str(), charset, &translated, &length));
    EXPECT_EQ(translated.GetBufLength(), length);
    std::vector<wchar_t> buffer(0x10000, L'\xFFFF');
    LNINT units = 0;
    ASSERT_EQ(LNNOERROR,
              LNStringTranslate(translated, charset, translated.GetBufLength() * 2, buffer.data(), &units));
    EXPECT_EQ(static_cast<LNINT>(text.size()), units);
    EXPECT_EQ(text, std::wstring(buffer.data(), static_cast<size_t>(units)));
  }
}

TEST(StringTranslate, EmptyTextTooSmallBufferAndUnknownCharacterSet) {
  ThrowMode off(false);
  LNString empty;
  LNINT length = -1;
  ASSERT_EQ(LNNOERROR, LNStringTranslate(L"", 0, &empty, &length));
  EXPECT_EQ(0, length);
  EXPECT_STREQ("", empty.GetBuf());
  wchar_t small[4] = {L'x', L'x', L'x', L'x'};
  LNINT units = 0;
  EXPECT_EQ(LNERR_BUFFER_TOO_SMALL, LNStringTranslate(LNString("abcdef"), 0, sizeof small, small, &units));
  EXPECT_EQ(LNNOERROR, LNStringTranslate(LNString("abcd"), 0, sizeof small, small, &units));
  EXPECT_EQ(4, units);
  LNString out;
  EXPECT_EQ(LNERR_TRANSLATION, LNStringTranslate(L"a", 2, &out, &length));
}

TEST(StringTranslate, AStringOfAnsiBytesReadsInTheAnsiCodePage) {
  const char ansi[] = "caf\xE9";
  wchar_t expected[8] = {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi, 4, expected, 8);
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
  LNString s(ansi);
  EXPECT_EQ(4, s.GetBufLength());
  wchar_t buffer[16] = {};
  LNINT units = 0;
  ASSERT_EQ(LNNOERROR, LNStringTranslate(s, 0, sizeof buffer, buffer, &units));
  EXPECT_EQ(std::wstring(expected, static_cast<size_t>(n)), std::wstring(buffer, static_cast<size_t>(units)));
}

TEST(Strings, CopiesAreIndependentAndCompareByBytes) {
  LNString a("abc");
  LNString b = a;
  b += LNString("def");
  EXPECT_STREQ("abc", a.GetBuf());
  EXPECT_STREQ("abcdef", b.GetBuf());
  EXPECT_TRUE(LNString("x") == LNString("x"));
  EXPECT_TRUE(LNString(nullptr).IsNull());
  EXPECT_EQ(3, LNString("a\0b", 3).GetBufLength());
}
