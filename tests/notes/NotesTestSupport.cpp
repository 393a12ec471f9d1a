// Helpers of the Notes library tests.
#include "NotesTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace notestest {
namespace {

// Every test runs in one session, started before the first test and ended after the last.
class SessionEnvironment : public testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(LNNOERROR, session_.Initialize(300, 0, nullptr, 1, nullptr)); }
  void TearDown() override { session_.Term(0); }

 private:
  LNNotesSession session_;
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new SessionEnvironment);

}  // namespace

LNDatabase NewMailDatabase(const testsupport::TempDir& dir, const std::string& name) {
  LNNotesSession session;
  LNDatabase db;
  const std::string path = dir.File(name);
  EXPECT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(path), ""));
  EXPECT_EQ(LNNOERROR, session.GetDatabase(Ln(path), &db, ""));
  EXPECT_EQ(LNNOERROR, db.Open(0));
  return db;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }


}  // namespace notestest
