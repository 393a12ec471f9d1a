// The document preview of every kind, the large-item prompt, and the preview's failure paths: no
// library status ever reaches its caller.
#include <filesystem>
#include <fstream>

#include "ReadingTestSupport.h"

using namespace enginetest;

namespace {

bool Exists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

class DocumentPreview : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    store_.SetLargeItemPrompt(&prompt_);
    DeleteFileW(GetPreviewRtfPath());
  }
  void TearDown() override {
    DeleteFileW(GetPreviewRtfPath());
    ReadingTest::TearDown();
  }

  CString Preview(LNNOTEID id) {
    names_.RemoveAll();
    sizes_.RemoveAll();
    kind_ = 99;
    return store_.PreviewDocument(id, &kind_, &names_, &sizes_);
  }

  // A document of the given kind-deciding item, with a subject and a body.
  LNNOTEID Document(const char* kindItem, const std::string& body, bool richBody = false) {
    LNDocument note = NewNote();
    if (kindItem) AddText(note, kindItem, {"x"});
    AddText(note, "Subject", {"Subject of it"});
    if (richBody)
      AddRichBody(note, body);
    else
      AddText(note, "Body", {body});
    return SaveInto(note, nullptr);
  }

  static std::string Large(size_t bytes) { return std::string(bytes, 'b'); }

  ScriptedPrompt prompt_;
  CStringArray names_, sizes_;
  int kind_ = 99;
};

}  // namespace

TEST_F(DocumentPreview, EveryKindGetsItsPageWithItsBodyInsideAndItsKindCode) {
  struct Case {
    const char* kindItem;
    int kind;
    const char* heading;
  };
  for (const Case& c : {Case{"Location", PREVIEW_CALENDAR, "Calender Details "},
                        Case{"DueDate", PREVIEW_TODO, "To Do Item Details "},
                        Case{"MiddleInitial", PREVIEW_CONTACT, "Contact Item"},
                        Case{"DiaryDate", PREVIEW_JOURNAL, "Journal Details "}}) {
    const std::string page = Utf8(Preview(Document(c.kindItem, "Body {text}")));
    EXPECT_EQ(c.kind, kind_) << c.heading;
    EXPECT_EQ(0u, page.find("{\\rtf1")) << c.heading;
    EXPECT_NE(std::string::npos, page.find(std::string("\\fs22 ") + c.heading + "\\par")) << c.heading;
    const std::string end = "\\par\r\nBody \\{text\\}}";
    EXPECT_EQ(page.size() - end.size(), page.rfind(end)) << c.heading;
  }
}

TEST_F(DocumentPreview, MailIsItsBodyAloneWithItsAttachmentLists) {
  LNDocument note = NewNote();
  AddText(note, "Subject", {"Figures"});
  AddText(note, "Body", {"first", "second"});
  AddAttachment(note, "a.txt", 3);
  AddAttachment(note, "b.txt", 70);
  const LNNOTEID id = SaveInto(note, nullptr);
  EXPECT_EQ("first;second", Utf8(Preview(id)));
  EXPECT_EQ(PREVIEW_MAIL, kind_);
  ASSERT_EQ(2, names_.GetSize());
  ASSERT_EQ(2, sizes_.GetSize());
  EXPECT_EQ("b.txt", Utf8(names_[1]));
  EXPECT_EQ(" Size :70 ", Utf8(sizes_[1]));
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(DocumentPreview, BodyOfAnotherTypeIsNotRead) {
  LNDocument note = NewNote();
  AddText(note, "Location", {"Room 4"});
  LNDatetimes dates;
  dates.Append(When(1, 1, 2020));
  note.CreateItem(LNString("Body"), dates, 8, LNITEMOPTION_APPEND);
  const std::string page = Utf8(Preview(SaveInto(note, nullptr)));
  EXPECT_EQ(PREVIEW_CALENDAR, kind_);
  const std::string end = "\\fs20\\par\r\n}";
  EXPECT_EQ(page.size() - end.size(), page.rfind(end));
}

TEST_F(DocumentPreview, RichBodyUpToTheLimitIsReadWithoutAsking) {
  EXPECT_EQ(Large(LARGE_PREVIEW_BYTES), Utf8(Preview(Document(nullptr, Large(LARGE_PREVIEW_BYTES), true))));
  EXPECT_EQ(0, prompt_.asked);
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(DocumentPreview, LargeMailBodyAcceptedIsExportedAndReadInChunks) {
  const std::string body = Large(LARGE_PREVIEW_BYTES + 1) + "\r\nend";
  EXPECT_EQ(body, Utf8(Preview(Document(nullptr, body, true))));
  EXPECT_EQ(1, prompt_.asked);
  EXPECT_EQ(PREVIEW_MAIL, kind_);
  EXPECT_TRUE(Exists(GetPreviewRtfPath()));
  EXPECT_EQ(1, store_.m_bShowLargePreview);
  EXPECT_EQ(1, store_.m_bAskLargePreview);
}

TEST_F(DocumentPreview, LargeBodyDeclinedLeavesAMailEmptyAndAContactItsPage) {
  prompt_.answer = IDCANCEL;
  const std::string body = Large(LARGE_PREVIEW_BYTES + 1);
  EXPECT_EQ("", Utf8(Preview(Document(nullptr, body, true))));
  EXPECT_EQ(PREVIEW_MAIL, kind_);
  const std::string page = Utf8(Preview(Document("MiddleInitial", body, true)));
  EXPECT_EQ(PREVIEW_CONTACT, kind_);
  EXPECT_EQ(0u, page.find("{\\rtf1"));
  EXPECT_EQ(std::string::npos, page.find("bbbb"));
  EXPECT_EQ(2, prompt_.asked);
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(DocumentPreview, LargeBodyOfAnotherKindAcceptedGoesIntoItsPage) {
  const std::string page = Utf8(Preview(Document("DiaryDate", Large(LARGE_PREVIEW_BYTES + 1), true)));
  EXPECT_EQ(PREVIEW_JOURNAL, kind_);
  EXPECT_NE(std::string::npos, page.find("\\par\r\n" + Large(LARGE_PREVIEW_BYTES + 1) + "}"));
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(DocumentPreview, DontShowAgainKeepsTheAnswerForTheRestOfTheRun) {
  prompt_.answer = IDCANCEL;
  prompt_.dontShow = TRUE;
  const LNNOTEID id = Document(nullptr, Large(LARGE_PREVIEW_BYTES + 100), true);
  EXPECT_EQ("", Utf8(Preview(id)));
  EXPECT_EQ(0, store_.m_bAskLargePreview);
  EXPECT_EQ(0, store_.m_bShowLargePreview);
  prompt_.answer = IDOK;
  EXPECT_EQ("", Utf8(Preview(id)));
  EXPECT_EQ(1, prompt_.asked);
}

TEST_F(DocumentPreview, WithoutAPromptTheKeptAnswerStands) {
  store_.SetLargeItemPrompt(nullptr);
  const std::string body = Large(LARGE_PREVIEW_BYTES + 1);
  EXPECT_EQ(body, Utf8(Preview(Document(nullptr, body, true))));
}

TEST_F(DocumentPreview, StopReturnsAtOnceAndDeletesNothing) {
  const LNNOTEID id = Document("Location", "body");
  { std::ofstream(std::filesystem::path(static_cast<LPCWSTR>(GetPreviewRtfPath()))) << "{\\rtf1 earlier}"; }
  store_.m_bStop = 1;
  EXPECT_EQ("", Utf8(Preview(id)));
  EXPECT_EQ(PREVIEW_NONE, kind_);
  EXPECT_TRUE(Exists(GetPreviewRtfPath()));
  store_.m_bStop = 0;
  Preview(id);
  EXPECT_FALSE(Exists(GetPreviewRtfPath()));
}

TEST_F(DocumentPreview, ADocumentThatCannotBeFoundOrOpenedGivesNothing) {
  EXPECT_EQ("", Utf8(Preview(999999)));
  EXPECT_EQ(PREVIEW_NONE, kind_);
  const LNNOTEID id = Document("Location", "body");
  RestartWithFaults("notes.opennote");
  EXPECT_EQ("", Utf8(Preview(id)));
  EXPECT_EQ(PREVIEW_NONE, kind_);
  EXPECT_NE("", Utf8(Preview(id)));
  // A store with no database open.
  store_.m_db.Close();
  EXPECT_EQ("", Utf8(Preview(id)));
}

TEST_F(DocumentPreview, BodyThatCannotBeReadLeavesThePageWithoutIt) {
  LNDocument note = NewNote();
  AddText(note, "DueDate", {"x"});
  AddRichBody(note, "the body");
  const LNNOTEID id = SaveInto(note, nullptr);
  RestartWithFaults("notes.gettext");
  const std::string page = Utf8(Preview(id));
  EXPECT_EQ(PREVIEW_TODO, kind_);
  EXPECT_EQ(0u, page.find("{\\rtf1"));
  EXPECT_EQ(std::string::npos, page.find("the body"));
}

TEST_F(DocumentPreview, AttachmentsOrSentDateThatCannotBeReadStillGiveThePreview) {
  LNDocument note = NewNote();
  AddText(note, "Body", {"mail body"});
  AddDates(note, "PostedDate", {When(1, 2, 2003)});
  AddAttachment(note, "a.txt", 3);
  const LNNOTEID id = SaveInto(note, nullptr);
  RestartWithFaults("notes.getattachments,notes.getdatesent");
  EXPECT_EQ("mail body", Utf8(Preview(id)));
  EXPECT_EQ(PREVIEW_MAIL, kind_);
  EXPECT_EQ(0, names_.GetSize());
}
