// Which "Body" items a saved document holds for each body format and the "text format" choice, and
// the HTML body's own text, through the mail saver and the stand-in.
#include "SaverTestSupport.h"

using namespace enginetest;
namespace pb = pstbuilder;

namespace {

struct BodyCase {
  const char* what;
  pb::Message message;
  // The "Body" items expected, in order: 'T' text, 'R' raw HTML; without and with the text choice.
  std::string htmlChoice;
  std::string textChoice;
};

std::vector<BodyCase> Cases() {
  std::vector<BodyCase> cases;
  pb::Message plain;
  plain.Subject("plain").Body("plain text").NativeBody(1);
  cases.push_back({"plain", plain, "TT", "TT"});

  pb::Message html;
  html.Subject("html").Body("html text").HtmlUtf8("<html><body><p>html text</p></body></html>").NativeBody(3);
  cases.push_back({"html", html, "RT", "TT"});

  pb::Message utf8;
  utf8.Subject("utf8")
      .Body("caf\xC3\xA9")
      .HtmlUtf8("<html><head><meta content=\"text/html; charset=utf-8\"></head><p>caf\xC3\xA9</p></html>")
      .NativeBody(3);
  cases.push_back({"utf-8 html", utf8, "RRT", "TT"});

  pb::Message arabic;
  const std::string arabicHtml =
      "<html><head><meta content=\"text/html; charset=windows-1256\"></head><p>\xC7\xE1</p></html>";
  arabic.Subject("arabic")
      .Body("arabic text")
      .Html({arabicHtml.begin(), arabicHtml.end()}, 1256)
      .NativeBody(3);
  cases.push_back({"windows-1256 html", arabic, "TT", "TT"});

  pb::Message rich;
  rich.Subject("rich").Body("rich text").Rtf("{\\rtf1\\ansi rich text\\par}").NativeBody(2);
  cases.push_back({"rich text", rich, "T", "TT"});
  return cases;
}

std::string Kinds(const std::vector<NoteItem>& items) {
  std::string kinds;
  for (const NoteItem& item : items)
    kinds += item.type == LNITEMTYPE_RAW ? 'R' : item.type == LNITEMTYPE_TEXT ? 'T' : '?';
  return kinds;
}

class BodySteps : public SaverTest {
 protected:
  // Saves every case's mail with the choice given; the filed documents in case order.
  std::vector<LNDocument> SaveAll(BYTE plainTextBody) {
    pb::Store store;
    pb::Folder& inbox = store.AddFolder("Inbox");
    for (const BodyCase& c : Cases()) inbox.messages.push_back(c.message);
    OpenPst(store);
    store_.m_bPlainTextBody = plainTextBody;
    for (long i = 1; i <= static_cast<long>(inbox.messages.size()); i++) {
      RdoMailDispatch mail(Item("Inbox", i));
      EXPECT_EQ(1, store_.SaveMail(&mail));
    }
    return Filed();
  }
};

}  // namespace

TEST_F(BodySteps, FormatDecidesTheBodyItemsWhenTheTextChoiceIsOff) {
  const std::vector<BodyCase> cases = Cases();
  const std::vector<LNDocument> documents = SaveAll(0);
  ASSERT_EQ(cases.size(), documents.size());
  for (size_t i = 0; i < cases.size(); i++)
    EXPECT_EQ(cases[i].htmlChoice, Kinds(Named(documents[i], "Body"))) << cases[i].what;
}

TEST_F(BodySteps, TextChoiceWritesThePlainBodyTwiceForEveryFormat) {
  const std::vector<BodyCase> cases = Cases();
  const std::vector<LNDocument> documents = SaveAll(1);
  ASSERT_EQ(cases.size(), documents.size());
  for (size_t i = 0; i < cases.size(); i++) {
    EXPECT_EQ(cases[i].textChoice, Kinds(Named(documents[i], "Body"))) << cases[i].what;
    EXPECT_FALSE(Text(documents[i], "Body").empty()) << cases[i].what;
  }
}

TEST_F(BodySteps, HtmlItemHoldsTheHtmlAsUtf16AndThePlainItemItsText) {
  const std::vector<LNDocument> documents = SaveAll(0);
  ASSERT_EQ(5u, documents.size());
  const std::vector<NoteItem> body = Named(documents[2], "Body");
  ASSERT_EQ(3u, body.size());
  const std::wstring html(reinterpret_cast<const wchar_t*>(body[0].value.data()), body[0].value.size() / 2);
  EXPECT_NE(std::wstring::npos, html.find(L"<p>caf\x00E9</p>"));
  EXPECT_EQ(body[0].value, body[1].value);
  EXPECT_EQ("caf\xC3\xA9", body[2].value);
  EXPECT_EQ("arabic text", Text(documents[3], "Body"));
}
