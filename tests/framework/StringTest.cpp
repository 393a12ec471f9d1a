// CString: sharing and copy-on-write (also across threads), formatting, ASCII-only case mapping,
// searching and editing, direct buffer access and resources.
#include <afx.h>

#include <gtest/gtest.h>

#include <process.h>

#include <vector>

#include "FrameworkTestResource.h"

namespace {

TEST(CStringSharing, CopiesShareOneBufferUntilOneIsChanged) {
  CString a(L"shared text");
  CString b = a;
  EXPECT_EQ(static_cast<LPCWSTR>(a), static_cast<LPCWSTR>(b));
  b.MakeUpper();
  EXPECT_STREQ(L"shared text", a);
  EXPECT_STREQ(L"SHARED TEXT", b);
  EXPECT_NE(static_cast<LPCWSTR>(a), static_cast<LPCWSTR>(b));

  CString c = a;
  c.SetAt(0, L'S');
  EXPECT_STREQ(L"shared text", a);
  EXPECT_STREQ(L"Shared text", c);

  CString d = a;
  LPWSTR buffer = d.GetBuffer(0);
  buffer[0] = L'X';
  d.ReleaseBuffer();
  EXPECT_STREQ(L"shared text", a);
  EXPECT_STREQ(L"Xhared text", d);
}

struct CopyWork {
  const CString* source;
  int rounds;
  int mismatches;
};

unsigned __stdcall CopyAndChange(void* p) {
  CopyWork* work = static_cast<CopyWork*>(p);
  for (int i = 0; i < work->rounds; ++i) {
    CString copy = *work->source;
    CString second(copy);
    second += L"!";
    copy.MakeLower();
    if (copy != L"across threads" || second != L"Across Threads!") ++work->mismatches;
  }
  return 0;
}

TEST(CStringSharing, CopiesMadeAndChangedOnManyThreadsLeaveTheSourceIntact) {
  const CString source(L"Across Threads");
  std::vector<CopyWork> work(4, CopyWork{&source, 20000, 0});
  std::vector<HANDLE> threads;
  for (auto& w : work)
    threads.push_back(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, CopyAndChange, &w, 0, nullptr)));
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE h : threads) CloseHandle(h);
  for (auto& w : work) EXPECT_EQ(0, w.mismatches);
  EXPECT_STREQ(L"Across Threads", source);
  // Every copy is gone: the source is the only owner again and may be changed in place.
  CString last = source;
  last.Empty();
  EXPECT_EQ(14, source.GetLength());
}

TEST(CStringFormat, FormatsTheProgressTextsWithWideStrings) {
  CString s;
  s.Format(L"Saving email %d of %d - ", 3, 120);
  EXPECT_STREQ(L"Saving email 3 of 120 - ", s);
  s.Format(L"(%d)", -7);
  EXPECT_STREQ(L"(-7)", s);
  s.Format(L"%s|%i|%u|%x|%ld|%I64d", L"wide", 42, 4000000000u, 255, 123456L, 9000000000LL);
  EXPECT_STREQ(L"wide|42|4000000000|ff|123456|9000000000", s);
  // A CString argument needs no cast.
  CString arg(L"from a CString");
  s.Format(L"[%s|%s]", arg, static_cast<LPCWSTR>(arg));
  EXPECT_STREQ(L"[from a CString|from a CString]", s);
  CString fromResource;
  fromResource.Format(IDS_TEST_PROGRESS, 1, 2);
  EXPECT_STREQ(L"Saving email 1 of 2 - ", fromResource);
  CString message;
  message.FormatMessage(L"%1 has %2!d! items", arg, 3);
  EXPECT_STREQ(L"from a CString has 3 items", message);
}

TEST(CStringFormat, LongResultsGrowTheBuffer) {
  CString longText(L'x', 5000);
  CString s;
  s.Format(L"%s-%d", static_cast<LPCWSTR>(longText), 1);
  EXPECT_EQ(5002, s.GetLength());
  EXPECT_EQ(L'1', s[5001]);
}

TEST(CStringCase, UpperAndLowerChangeOnlyAsciiLetters) {
  CString s(L"r\u00e9sum\u00e9.doc");
  s.MakeUpper();
  EXPECT_STREQ(L"R\u00e9SUM\u00e9.DOC", s);
  CString t(L"\u00c9COLE Stra\u00dfe");
  t.MakeLower();
  EXPECT_STREQ(L"\u00c9cole stra\u00dfe", t);
}

TEST(CStringCase, CompareNoCaseIgnoresCase) {
  CString s(L"Inbox");
  EXPECT_EQ(0, s.CompareNoCase(L"INBOX"));
  EXPECT_LT(s.CompareNoCase(L"outbox"), 0);
  EXPECT_LT(s.Compare(L"inbox"), 0);
  EXPECT_TRUE(s == L"Inbox");
  EXPECT_TRUE(CString(L"a") < CString(L"b"));
}

TEST(CStringEditing, ExtractionClampsOutOfRangeArguments) {
  CString s(L"C:\\mail\\box.pst");
  EXPECT_STREQ(L"C:\\", s.Left(3));
  EXPECT_STREQ(L"box.pst", s.Mid(s.ReverseFind(L'\\') + 1));
  EXPECT_STREQ(L"mail", s.Mid(3, 4));
  EXPECT_STREQ(L".pst", s.Right(4));
  EXPECT_STREQ(L"", s.Left(-1));
  EXPECT_STREQ(s, s.Left(100));
  EXPECT_STREQ(L"", s.Mid(100));
  EXPECT_STREQ(L"C:", s.Mid(-5, 2));
  EXPECT_STREQ(s, s.Right(1000));
}

TEST(CStringEditing, FindReplaceRemoveInsertDelete) {
  CString s(L"one, two, one");
  EXPECT_EQ(0, s.Find(L"one"));
  EXPECT_EQ(10, s.Find(L"one", 1));
  EXPECT_EQ(-1, s.Find(L"three"));
  EXPECT_EQ(3, s.Find(L','));
  EXPECT_EQ(8, s.ReverseFind(L','));
  EXPECT_EQ(-1, s.Find(L'o', 100));
  EXPECT_EQ(2, s.Replace(L"one", L"three"));
  EXPECT_STREQ(L"three, two, three", s);
  EXPECT_EQ(0, s.Replace(L"", L"x"));
  EXPECT_EQ(2, s.Remove(L','));
  EXPECT_STREQ(L"three two three", s);
  EXPECT_EQ(17, s.Insert(5, L"!!"));
  EXPECT_STREQ(L"three!! two three", s);
  EXPECT_EQ(18, s.Insert(100, L'.'));
  EXPECT_STREQ(L"three!! two three.", s);
  EXPECT_EQ(16, s.Delete(5, 2));
  EXPECT_STREQ(L"three two three.", s);
  EXPECT_EQ(16, s.Delete(50, 3));
  EXPECT_EQ(4, s.Replace(L'e', L'E'));
  EXPECT_STREQ(L"thrEE two thrEE.", s);
}

TEST(CStringEditing, TrimRemovesWhitespaceOrTheGivenCharacters) {
  CString s(L" \t text \r\n");
  s.TrimLeft();
  EXPECT_STREQ(L"text \r\n", s);
  s.TrimRight();
  EXPECT_STREQ(L"text", s);
  CString t(L"xx-core-xx");
  t.Trim(L'x');
  EXPECT_STREQ(L"-core-", t);
  t.Trim(L"-");
  EXPECT_STREQ(L"core", t);
}

TEST(CStringConversion, NarrowTextGoesThroughTheAnsiCodePage) {
  CString s("plain ascii");
  EXPECT_STREQ(L"plain ascii", s);
  CString empty(static_cast<const char*>(nullptr));
  EXPECT_TRUE(empty.IsEmpty());
  CString concatenated = CString(L"a") + L"b" + L'c' + CString("d");
  EXPECT_STREQ(L"abcd", concatenated);
}

TEST(CStringBuffer, GetBufferAndReleaseBufferSetTheLength) {
  CString s;
  LPWSTR p = s.GetBuffer(MAX_PATH);
  DWORD n = GetTempPathW(MAX_PATH, p);
  s.ReleaseBuffer();
  EXPECT_EQ(static_cast<int>(n), s.GetLength());

  CString fixed;
  LPWSTR q = fixed.GetBufferSetLength(3);
  q[0] = L'a';
  q[1] = L'b';
  q[2] = L'c';
  fixed.ReleaseBuffer(2);
  EXPECT_STREQ(L"ab", fixed);

  // A buffer without a terminator is cut at its allocation, never read beyond it.
  CString unterminated;
  LPWSTR r = unterminated.GetBuffer(4);
  for (int i = 0; i <= unterminated.GetAllocLength(); ++i) r[i] = L'z';
  unterminated.ReleaseBuffer();
  EXPECT_EQ(unterminated.GetAllocLength(), unterminated.GetLength());
}

TEST(CStringResources, LoadStringReadsTheModuleStringTable) {
  CString s;
  ASSERT_TRUE(s.LoadString(IDS_TEST_PROGRESS));
  EXPECT_STREQ(L"Saving email %d of %d - ", s);
  CString kept(L"unchanged");
  EXPECT_FALSE(kept.LoadString(IDS_TEST_MISSING));
  EXPECT_STREQ(L"unchanged", kept);
  CString byId(MAKEINTRESOURCEW(IDS_TEST_PROGRESS));
  EXPECT_STREQ(s, byId);
  CString formatted;
  AfxFormatString2(formatted, IDS_TEST_GREETING, L"Ann", L"Bob");
  EXPECT_STREQ(L"Hello, Ann and Bob", formatted);
}

TEST(CStringOutOfRange, IndexOutsideTheTextThrows) {
  CString s(L"abc");
  EXPECT_THROW(s.GetAt(3), CInvalidArgException*);
  try {
    s.SetAt(-1, L'x');
    FAIL();
  } catch (CException* e) {
    e->Delete();
  }
}

}  // namespace
