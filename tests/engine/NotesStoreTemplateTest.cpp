// The template search of a new target NSF, in private installations whose templates each test makes:
// matching by title in any case, the first match, the chooser's list and answers, the second search
// under ALLUSERSPROFILE.
#include <gtest/gtest.h>

#include "NotesStoreTestSupport.h"

using namespace enginetest;

namespace {

class TemplateSearch : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(1, store_.InitSession()); }
  // A template file in the private data directory with the given title.
  void AddTemplate(const std::string& file, const std::string& title) {
    MakeDatabase("stdmail.ntf", install_.Data() + "\\" + file, title);
  }
  std::string Create(const std::string& answer, const std::string& extra = "") {
    std::string output;
    EXPECT_EQ(0u, install_.Run("create \"" + Target() + "\" " + answer + extra, &output));
    return output;
  }
  std::string Target() const { return install_.File("target.nsf"); }
  bool TargetExists() const { return GetFileAttributesW(Wide(Target()).c_str()) != INVALID_FILE_ATTRIBUTES; }

  CNotesStore store_;  // makes the templates through the build's installation
  PrivateInstallation install_;
};

}  // namespace

TEST_F(TemplateSearch, TitleMatchesInAnyCaseAndTheFileNameDoesNot) {
  AddTemplate("a mail (r5).ntf", "Discussion");
  AddTemplate("b.ntf", "My mAiL (r7) copy");
  const std::string out = Create("none");
  EXPECT_EQ("1", ValueOf(out, "result")) << out;
  EXPECT_EQ("My mAiL (r7) copy", ValueOf(out, "inherits"));
  EXPECT_EQ("-", ValueOf(out, "asked"));
  EXPECT_EQ("1", ValueOf(out, "open"));
}

TEST_F(TemplateSearch, FirstMatchInListOrderWinsWithoutAsking) {
  AddTemplate("b.ntf", "Mail (R8)");
  AddTemplate("a.ntf", "Mail (R6)");
  const std::string out = Create("0");
  EXPECT_EQ("1", ValueOf(out, "result")) << out;
  EXPECT_EQ("Mail (R6)", ValueOf(out, "inherits"));
  EXPECT_EQ("-", ValueOf(out, "asked"));
}

TEST_F(TemplateSearch, WithoutAMatchTheChooserGetsTheTitlesAsReadAndItsChoiceIsUsed) {
  AddTemplate("b.ntf", "Zeta Notes");
  AddTemplate("a.ntf", "alpha Journal – ü");
  AddTemplate("c.ntf", "MAIL R8");
  const std::string out = Create("1");
  EXPECT_EQ("1", ValueOf(out, "result")) << out;
  EXPECT_EQ("alpha Journal – ü|Zeta Notes|MAIL R8", ValueOf(out, "asked"));
  EXPECT_EQ("Zeta Notes", ValueOf(out, "inherits"));
  EXPECT_TRUE(TargetExists());
}

TEST_F(TemplateSearch, CancelledChoiceCreatesNothing) {
  AddTemplate("a.ntf", "Discussion");
  const std::string out = Create("cancel");
  EXPECT_EQ("0", ValueOf(out, "result")) << out;
  EXPECT_EQ("User aborted the process", ValueOf(out, "error"));
  EXPECT_EQ("0", ValueOf(out, "open"));
  EXPECT_FALSE(TargetExists());
}

TEST_F(TemplateSearch, ChoiceOutsideTheListCreatesNothing) {
  AddTemplate("a.ntf", "Discussion");
  for (const char* answer : {"-1", "1"}) {
    const std::string out = Create(answer);
    EXPECT_EQ("0", ValueOf(out, "result")) << out;
    EXPECT_EQ("Unable to get Template", ValueOf(out, "error"));
  }
  EXPECT_FALSE(TargetExists());
}

TEST_F(TemplateSearch, NoTemplateAtAllFailsWithoutAsking) {
  const std::string out = Create("0");
  EXPECT_EQ("0", ValueOf(out, "result")) << out;
  EXPECT_EQ("Unable to get Template", ValueOf(out, "error"));
  EXPECT_EQ("-", ValueOf(out, "asked"));
  EXPECT_EQ("0", ValueOf(out, "open"));
  EXPECT_FALSE(TargetExists());
}

TEST_F(TemplateSearch, MissingDataDirectorySearchesTheSharedApplicationData) {
  testsupport::TempDir profile;
  const std::string lotus = profile.File("Application Data\\Lotus");
  ASSERT_TRUE(CreateDirectoryW(Wide(profile.File("Application Data")).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(Wide(lotus).c_str(), nullptr));
  MakeDatabase("stdmail.ntf", lotus + "\\shared.ntf", "Shared Mail (R9)");

  std::string out = Create("none", " dropdata \"allusers=" + profile.Path() + "\"");
  EXPECT_EQ("1", ValueOf(out, "result")) << out;
  EXPECT_EQ("Shared Mail (R9)", ValueOf(out, "inherits"));

  DeleteFileW(Wide(Target()).c_str());
  CreateDirectoryW(Wide(install_.Data()).c_str(), nullptr);
  out = Create("none", " dropdata \"allusers=" + profile.Path() + "\\nowhere\"");
  EXPECT_EQ("0", ValueOf(out, "result")) << out;
  EXPECT_EQ("Unable to get Template", ValueOf(out, "error"));
}
