// Framework exceptions: thrown as pointers, TRY/CATCH deleting what it caught unless re-thrown,
// Delete leaving the shared memory exception alone, and the messages.
// Built lean on purpose: the framework headers must give every user the same member names.
#define WIN32_LEAN_AND_MEAN
#include <afx.h>

#include <gtest/gtest.h>

namespace {

int g_liveExceptions = 0;

class CCountedException : public CException {
 public:
  CCountedException() { ++g_liveExceptions; }
  ~CCountedException() override { --g_liveExceptions; }
};

TEST(FrameworkExceptions, CatchBlocksOfTheMacrosDeleteTheException) {
  g_liveExceptions = 0;
  bool caught = false;
  TRY { THROW(new CCountedException); }
  CATCH(CCountedException, e) {
    caught = true;
    EXPECT_EQ(1, g_liveExceptions);
  }
  END_CATCH
  EXPECT_TRUE(caught);
  EXPECT_EQ(0, g_liveExceptions);

  // A handler may still delete the exception itself.
  TRY { THROW(new CCountedException); }
  CATCH_ALL(e) { e->Delete(); }
  END_CATCH_ALL
  EXPECT_EQ(0, g_liveExceptions);
}

TEST(FrameworkExceptions, ThrowLastPassesTheExceptionOnAlive) {
  g_liveExceptions = 0;
  try {
    TRY { THROW(new CCountedException); }
    CATCH(CFileException, e) { ADD_FAILURE() << "wrong handler"; }
    AND_CATCH(CException, e) { THROW_LAST(); }
    END_CATCH
  } catch (CException* outer) {
    EXPECT_EQ(1, g_liveExceptions);
    outer->Delete();
  }
  EXPECT_EQ(0, g_liveExceptions);
}

TEST(FrameworkExceptions, TheSharedMemoryExceptionSurvivesDelete) {
  CMemoryException* first = nullptr;
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* e) {
    first = e;
    e->Delete();
  }
  try {
    AfxThrowMemoryException();
  } catch (CException* e) {
    EXPECT_EQ(first, e);
    WCHAR message[64];
    EXPECT_TRUE(e->GetErrorMessage(message, 64));
    EXPECT_STREQ(L"Out of memory.", message);
    e->Delete();
  }
}

TEST(FrameworkExceptions, MessagesAreTruncatedToTheCallersBuffer) {
  CArchiveException e(CArchiveException::endOfFile, L"doc.dat");
  WCHAR small[8];
  UINT help = 99;
  EXPECT_TRUE(e.GetErrorMessage(small, 8, &help));
  EXPECT_EQ(7u, wcslen(small));
  EXPECT_EQ(0u, help);
  CUserException quiet;
  WCHAR none[8] = L"x";
  EXPECT_FALSE(quiet.GetErrorMessage(none, 8));
  EXPECT_STREQ(L"", none);
  EXPECT_EQ(CFileException::accessDenied, CFileException::OsErrorToException(ERROR_ACCESS_DENIED));
  EXPECT_EQ(CFileException::diskFull, CFileException::OsErrorToException(ERROR_DISK_FULL));
  EXPECT_EQ(CFileException::genericException, CFileException::OsErrorToException(12345));
  CFile unopened;
  EXPECT_TRUE(unopened.GetFileTitle().IsEmpty());
}

}  // namespace
