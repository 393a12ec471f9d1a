// The store's session start and stop, its error texts, the string conversions and the folder name rule.
#include <gtest/gtest.h>

#include "NotesStoreTestSupport.h"

using namespace enginetest;

TEST(NotesStoreSession, StartsTheRuntimeWithLibraryFailuresThrown) {
  LNSetThrowAllErrorsGlobal(0);
  CNotesStore store;
  EXPECT_EQ(2, store.m_nExportMode);
  ASSERT_EQ(1, store.InitSession());
  EXPECT_EQ(1, store.m_bSessionInit);
  EXPECT_EQ(1, LNGetThrowAllErrorsGlobal());
  EXPECT_TRUE(LNNotesSession().IsInitialized());
  EXPECT_EQ(LNNOERROR, store.m_status);
}

TEST(NotesStoreSession, SecondStartClosesTheRunningSessionAndItsDatabaseFirst) {
  testsupport::TempDir dir;
  CNotesStore store;
  ASSERT_EQ(1, store.InitSession());
  ASSERT_EQ(1, store.CreateOrOpenDatabase(Wide(dir.File("first.nsf")).c_str()));
  LNDatabase first = store.m_db;
  ASSERT_TRUE(first.IsOpen());
  ASSERT_EQ(1, store.InitSession());
  EXPECT_FALSE(first.IsOpen());
  EXPECT_EQ(0, store.m_bDbOpen);
  EXPECT_EQ(1, store.m_bSessionInit);
  EXPECT_TRUE(LNNotesSession().IsInitialized());
}

TEST(NotesStoreSession, CloseEndsOnlyWhatTheStoreStartedAndOnlyOnce) {
  CNotesStore idle;
  CNotesStore store;
  ASSERT_EQ(1, store.InitSession());
  idle.Close();  // never started: the running session stays
  EXPECT_TRUE(LNNotesSession().IsInitialized());
  store.Close();
  EXPECT_FALSE(LNNotesSession().IsInitialized());
  EXPECT_EQ(0, store.m_bSessionInit);

  // Someone else starts the runtime again; a second Close of the store must not end it.
  LNNotesSession other;
  ASSERT_EQ(LNNOERROR, other.Initialize(300, 0, nullptr, 1, nullptr));
  store.Close();
  EXPECT_TRUE(LNNotesSession().IsInitialized());
  other.Term(0);
}

TEST(NotesStoreSession, StartFailureSetsItsFixedTextAndLeavesTheStoreUnstarted) {
  CNotesStore store;
  {
    FaultScope faults("automation.logon,notes.init");
    EXPECT_EQ(0, store.InitSession());
  }
  EXPECT_EQ(CString(L"Unable to initlise lotus notes"), store.GetErrorText());
  EXPECT_EQ(0, store.m_bSessionInit);
  EXPECT_EQ(LNERR_SIMULATED_FAULT, store.m_status);
  EXPECT_EQ(1, store.InitSession());
}

TEST(NotesStoreErrorText, SetAndGetKeepTheTextAsGiven) {
  CNotesStore store;
  EXPECT_TRUE(store.GetErrorText().IsEmpty());
  store.SetErrorText(L"Unable to get Template");
  EXPECT_EQ(CString(L"Unable to get Template"), store.GetErrorText());
}

TEST(NotesStoreErrorText, LibraryFailureLeavesTheLibraryMessageNotAFixedText) {
  testsupport::TempDir dir;
  CNotesStore store;
  ASSERT_EQ(1, store.InitSession());
  ASSERT_EQ(1, store.CreateOrOpenDatabase(Wide(dir.File("t.nsf")).c_str()));
  store.SetErrorText(L"before");
  // The database exists, so the open goes straight to the look-up, which the library fails.
  FaultScope faults("notes.getdatabase");
  ASSERT_EQ(1, store.InitSession());
  EXPECT_EQ(0, store.CreateOrOpenDatabase(Wide(dir.File("t.nsf")).c_str()));
  // The library's words alone: the saving page shows them as the status and the path beneath.
  EXPECT_EQ(MessageOf(LNERR_SIMULATED_FAULT), Utf8(store.GetErrorText()));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, store.m_status);
  EXPECT_EQ(0, store.m_bDbOpen);
}

class NotesStrings : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(1, store_.InitSession()); }
  CNotesStore store_;
};

TEST_F(NotesStrings, EmptyTextsStayEmptyBothWays) {
  EXPECT_TRUE(CStringToLNString(CString()).IsNull());
  EXPECT_TRUE(CStringToLNStringCharset1(CString()).IsNull());
  EXPECT_TRUE(LNStringToCString(LNString()).IsEmpty());
}

TEST_F(NotesStrings, TextRoundTripsThroughBothCharacterSets) {
  const std::wstring text = Wide("Grüße aus Köln – 東京 \xF0\x9F\x98\x80 \"quoted\"\\path");
  const LNString native = CStringToLNString(text.c_str());
  EXPECT_EQ(Utf8(text), Str(native));
  EXPECT_EQ(CString(text.c_str()), LNStringToCString(native));
  const LNString body = CStringToLNStringCharset1(text.c_str());
  EXPECT_FALSE(body.IsNull());
  EXPECT_EQ(CString(text.c_str()), LNStringToCString(body));
}

TEST_F(NotesStrings, TextsLongerThanTheFixedBufferConvertWhole) {
  for (int units : {65535, 65536, 65537, 100000}) {
    std::wstring text;
    for (int i = 0; i < units; i++) text += static_cast<wchar_t>(i % 7 == 0 ? 0x00E9 : L'a' + i % 26);
    const CString back = LNStringToCString(CStringToLNString(text.c_str()));
    ASSERT_EQ(units, back.GetLength()) << units;
    EXPECT_EQ(0, wcscmp(text.c_str(), back)) << units;
  }
}

TEST_F(NotesStrings, AnsiBytesFromOutsideTheLibraryReadAsAnsi) {
  const LNString raw("caf\xE9");
  wchar_t expected[8] = {};
  MultiByteToWideChar(CP_ACP, 0, "caf\xE9", 4, expected, 8);
  EXPECT_EQ(CString(expected), LNStringToCString(raw));
}

TEST(NotesFolderName, DropsTheTrailingBackslashAndCutsOnlyPast130Characters) {
  const CString segment(L'x', 20);
  CString path130 = L"Outlook\\";  // 8 characters
  while (path130.GetLength() + 21 <= 130) path130 += segment + L"\\";
  path130 += CString(L'y', 130 - path130.GetLength());
  ASSERT_EQ(130, path130.GetLength());
  EXPECT_EQ(path130, NotesFolderName(path130 + L"\\"));

  const CString path131 = path130 + L"z";
  const CString last = path131.Mid(path131.ReverseFind(L'\\'));
  EXPECT_EQ(last, NotesFolderName(path131 + L"\\"));
  EXPECT_EQ(L'\\', NotesFolderName(path131 + L"\\")[0]);

  // A long name whose only backslash leads it is kept whole.
  const CString leading = L"\\" + CString(L'n', 140);
  EXPECT_EQ(leading, NotesFolderName(leading + L"\\"));
  EXPECT_EQ(CString(L"Outlook\\Inbox"), NotesFolderName(L"Outlook\\Inbox\\"));
  EXPECT_TRUE(NotesFolderName(CString()).IsEmpty());
}
