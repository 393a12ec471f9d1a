// The hang seam: the keyed call stops until the test sets the release event, holding nothing of the
// library meanwhile; the calls before and after it go through.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "NotesTestSupport.h"

using namespace notestest;

namespace {

const wchar_t RELEASE_EVENT[] = L"BrindleNotesHangTestRelease";

LNSTATUS SaveNewDocument(LNDatabase& db, const char* subject) {
  LNDocument doc;
  LNSTATUS status = db.CreateDocument(&doc);
  if (status == LNNOERROR) status = doc.CreateItem("Subject", LNText(subject), 8, LNITEMOPTION_APPEND);
  if (status == LNNOERROR) status = doc.Save(0);
  doc.Close();
  return status;
}

TEST(HangFault, TheKeyedCallWaitsForTheReleaseWhileOtherCallsGoOn) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  // Made before the session reads it: the stand-in opens the same event.
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, RELEASE_EVENT);
  ASSERT_NE(release, nullptr);
  ::SetEnvironmentVariableA("STANDIN_HANG", "notes.save=2");
  ::SetEnvironmentVariableW(L"STANDIN_HANG_RELEASE", RELEASE_EVENT);
  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  ::SetEnvironmentVariableA("STANDIN_HANG", nullptr);
  ::SetEnvironmentVariableA("STANDIN_HANG_RELEASE", nullptr);

  EXPECT_EQ(LNNOERROR, SaveNewDocument(db, "first"));
  HANDLE stopped = ::CreateEventW(nullptr, TRUE, FALSE, (std::wstring(RELEASE_EVENT) + L"-stopped").c_str());
  EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(stopped, 0));
  HANDLE saved = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  LNSTATUS secondStatus = LNERR_SIMULATED_FAULT;
  std::thread second([&] {
    secondStatus = SaveNewDocument(db, "second");
    ::SetEvent(saved);
  });
  ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(stopped, 20000)) << "the second save did not stop";
  EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(saved, 500)) << "the second save did not wait";
  // The stopped call holds no lock of the library: another thread saves meanwhile.
  EXPECT_EQ(LNNOERROR, SaveNewDocument(db, "third"));
  EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(saved, 0));

  ::SetEvent(release);
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(saved, 20000));
  second.join();
  EXPECT_EQ(LNNOERROR, secondStatus);
  // Only the second call stops: the fourth goes through at once.
  ::ResetEvent(release);
  EXPECT_EQ(LNNOERROR, SaveNewDocument(db, "fourth"));
  ::CloseHandle(saved);
  ::CloseHandle(stopped);
  ::CloseHandle(release);
}

TEST(HangFault, WithoutAReleaseNameNothingStops) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  ::SetEnvironmentVariableA("STANDIN_HANG", "notes.save");
  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  ::SetEnvironmentVariableA("STANDIN_HANG", nullptr);
  EXPECT_EQ(LNNOERROR, SaveNewDocument(db, "first"));
}

}  // namespace
