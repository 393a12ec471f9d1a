// The rich-text control through real COM, hosted by the framework's control site: what its two
// members show, that malformed RTF and missing files never bring it down, that a loaded file is let go
// at once, and that a dialog's saved state reaches it.
#include <gtest/gtest.h>
#include <richedit.h>

#include "RichTextControl.h"
#include "RichTextHost.h"
#include "WindowTest.h"

using namespace richtexttest;

namespace {

const wchar_t kDetailPage[] =
    L"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
    L"{\\colortbl ;\\red145\\green225\\blue84;\\red0\\green0\\blue0;}\r\n"
    L"\\viewkind4\\uc1\\pard\\cf1\\lang1033\\b\\f0\\fs22 Calender Details \\par\r\n\\par\r\n"
    L"\\cf1\\fs18{\\pntext\\f2\\'B7\\tab}Subject  : \\cf2\\b0 Budget review\\b\\fs18\\par\r\n"
    L"\\par\r\n\\cf0\\b0\\f1\\fs20\\par\r\n}";

// One shown host with one control, shared by the tests of this file.
class RichTextControl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new RichTextHost;
    ASSERT_TRUE(s_hostWnd->CreateTop(L"Rich text control", 40, 40, 420, 260));
    s_control = new CWnd;
    ASSERT_TRUE(s_hostWnd->CreateRichText(*s_control, CRect(10, 10, 390, 200)));
  }
  static void TearDownTestSuite() {
    if (s_control != nullptr && s_control->GetSafeHwnd() != nullptr) s_control->DestroyWindow();
    delete s_control;
    s_control = nullptr;
    if (s_hostWnd != nullptr && s_hostWnd->GetSafeHwnd() != nullptr) s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
    testsupport::PumpMessages(50);
    EXPECT_EQ(richtext::g_liveObjects.load(), 0);  // nothing of the module's own is left in this process
  }
  void SetUp() override {
    ASSERT_NE(s_control, nullptr);
    ASSERT_NE(EditWindowOf(*s_control), nullptr);
    s_hostWnd->m_events.clear();
  }
  HWND Edit() { return EditWindowOf(*s_control); }

  static RichTextHost* s_hostWnd;
  static CWnd* s_control;
};
RichTextHost* RichTextControl::s_hostWnd = nullptr;
CWnd* RichTextControl::s_control = nullptr;

bool IsBoldAt(HWND edit, int position) {
  ::SendMessageW(edit, EM_SETSEL, position, position + 1);
  CHARFORMAT2W format = {};
  format.cbSize = sizeof format;
  ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  ::SendMessageW(edit, EM_SETSEL, 0, 0);
  return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
}

TEST_F(RichTextControl, IsReadOnlyWithAVerticalScrollBarByDefault) {
  const LONG style = ::GetWindowLongW(Edit(), GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & ES_MULTILINE);
}

TEST_F(RichTextControl, ShowsRtfFormattedAndTellsTheContainer) {
  PutTextRtf(*s_control, kDetailPage);
  const std::wstring shown = ShownText(Edit());
  EXPECT_EQ(shown.find(L"Calender Details"), 0u) << shown;
  EXPECT_NE(shown.find(L"Subject  : Budget review"), std::wstring::npos) << shown;
  EXPECT_EQ(shown.find(L"\\par"), std::wstring::npos) << shown;
  EXPECT_TRUE(IsBoldAt(Edit(), 0));
  EXPECT_FALSE(IsBoldAt(Edit(), static_cast<int>(shown.find(L"Budget"))));
  EXPECT_EQ(s_hostWnd->m_events, std::vector<std::wstring>{L"change"});
  testsupport::PumpMessages(100);
  testsupport::SaveWindowPng(s_hostWnd->m_hWnd, L"richtext_detail_page.png");
}

TEST_F(RichTextControl, TextThatIsNotRtfShowsAsItStands) {
  PutTextRtf(*s_control, L"Hello {world} \\par not a control word\r\nSecond line");
  EXPECT_EQ(ShownText(Edit()), L"Hello {world} \\par not a control word\nSecond line");
  PutTextRtf(*s_control, L"");
  EXPECT_EQ(ShownText(Edit()), L"");
}

TEST_F(RichTextControl, CharactersBeyondTheCodePageSurviveInRtfAndText) {
  PutTextRtf(*s_control, L"{\\rtf1\\ansi\\ansicpg1252 Gr\u00FC\u00DFe \u65E5\u672C\\par}");
  EXPECT_EQ(ShownText(Edit()).substr(0, 8), L"Gr\u00FC\u00DFe \u65E5\u672C");
  PutTextRtf(*s_control, L"Gr\u00FC\u00DFe \u65E5\u672C");
  EXPECT_EQ(ShownText(Edit()), L"Gr\u00FC\u00DFe \u65E5\u672C");
}

TEST_F(RichTextControl, MalformedRtfNeverBringsItDown) {
  const std::wstring deep = L"{\\rtf1 " + std::wstring(5000, L'{') + L"deep";
  const std::wstring cases[] = {
      L"{\\rtf1 unbalanced {{{ text",
      L"{\\rtf1 closed early}}}} and more text",
      L"{\\rtf1 \\bin999999999 x}",
      L"{\\rtf1{\\fonttbl{\\f0",
      L"{\\rtf1 \\u99999999999999 \\'zz \\' \\",
      L"{\\rtf1 {\\*\\unknowndestination {x}} \\pard\\pard\\cell\\row\\trowd\\cellx-5 y}",
      L"{\\rtf",
      deep,
  };
  for (const std::wstring& rtf : cases) {
    PutTextRtf(*s_control, rtf.c_str());
    ASSERT_TRUE(::IsWindow(Edit()));
    ShownText(Edit());
  }
  // The deep document shows as the text it is.
  EXPECT_NE(ShownText(Edit()).find(L"deep"), std::wstring::npos);
  // And the control goes on showing what it is given.
  PutTextRtf(*s_control, L"{\\rtf1 after the damage}");
  EXPECT_EQ(ShownText(Edit()), L"after the damage");
}

TEST_F(RichTextControl, ALongBodyIsShownWhole) {
  std::wstring body;
  for (int i = 0; body.size() < 100000; ++i) body += L"line " + std::to_wstring(i) + L"\r\n";
  PutTextRtf(*s_control, body.c_str());
  const std::wstring shown = ShownText(Edit());
  EXPECT_GT(shown.size(), 90000u);
  EXPECT_NE(shown.find(L"line 9000\n"), std::wstring::npos);
}

TEST_F(RichTextControl, LoadedFileIsLetGoAtOnceAndReplacesThePreviousDocument) {
  const std::wstring first = WriteTempFile(L"richtext-first.rtf", "{\\rtf1\\ansi First body\\par}");
  const std::wstring second = WriteTempFile(L"richtext-second.rtf", "{\\rtf1\\ansi Second body\\par}");
  LoadFile(*s_control, first.c_str(), richtext::kLoadRtf);
  EXPECT_EQ(ShownText(Edit()).substr(0, 10), L"First body");
  // The preview deletes the file before the next document: the control holds no handle on it.
  EXPECT_TRUE(::DeleteFileW(first.c_str()));
  LoadFile(*s_control, second.c_str(), richtext::kLoadRtf);
  const std::wstring shown = ShownText(Edit());
  EXPECT_EQ(shown.find(L"First"), std::wstring::npos) << shown;
  EXPECT_EQ(shown.substr(0, 11), L"Second body");
  EXPECT_TRUE(::DeleteFileW(second.c_str()));
  EXPECT_EQ(s_hostWnd->m_events, (std::vector<std::wstring>{L"change", L"change"}));
}

TEST_F(RichTextControl, FileTypesTextAndRtfThatIsNotRtf) {
  const std::wstring rtf = WriteTempFile(L"richtext-source.rtf", "{\\rtf1 source}");
  LoadFile(*s_control, rtf.c_str(), richtext::kLoadText);
  EXPECT_EQ(ShownText(Edit()), L"{\\rtf1 source}");
  const std::wstring text = WriteTempFile(L"richtext-plain.txt", "plain words, gr\xC3\xBC\xC3\x9F");
  LoadFile(*s_control, text.c_str(), richtext::kLoadRtf);
  EXPECT_EQ(ShownText(Edit()), L"plain words, gr\u00FC\u00DF");
  ::DeleteFileW(rtf.c_str());
  ::DeleteFileW(text.c_str());
}

TEST_F(RichTextControl, AMissingFileOrBadTypeRaisesADispatchExceptionAndKeepsTheContents) {
  PutTextRtf(*s_control, L"kept");
  CString description;
  try {
    LoadFile(*s_control, L"C:\\no such folder\\ch111.rtf", richtext::kLoadRtf);
  } catch (COleDispatchException* e) {
    description = e->m_strDescription;
    e->Delete();
  }
  EXPECT_NE(description.Find(L"ch111.rtf"), -1) << static_cast<LPCTSTR>(description);
  EXPECT_EQ(ShownText(Edit()), L"kept");

  const std::wstring file = WriteTempFile(L"richtext-type.rtf", "{\\rtf1 x}");
  bool refused = false;
  try {
    LoadFile(*s_control, file.c_str(), 7);
  } catch (COleDispatchException* e) {
    refused = e->m_scError == E_INVALIDARG;
    e->Delete();
  }
  EXPECT_TRUE(refused);
  EXPECT_EQ(ShownText(Edit()), L"kept");
  ::DeleteFileW(file.c_str());
}

TEST_F(RichTextControl, MembersAreFoundByName) {
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(
      s_control->GetControlUnknown()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
      S_OK);
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"textrtf"), const_cast<LPOLESTR>(L"LoadFile"),
                      const_cast<LPOLESTR>(L"Text")};
  DISPID ids[3] = {};
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &names[0], 1, 0, &ids[0]), S_OK);
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &names[1], 1, 0, &ids[1]), S_OK);
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &names[2], 1, 0, &ids[2]), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 10);
  EXPECT_EQ(ids[1], 37);
  // The property is write-only; a get is no member.
  VARIANT result;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(dispatch->Invoke(10, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  dispatch->Release();
}

// A child dialog whose template holds the control, with its saved state in DLGINIT.
class CStateDialog : public CDialog {};

TEST_F(RichTextControl, TheDialogsSavedStateReachesTheControl) {
  CStateDialog dialog;
  ASSERT_TRUE(dialog.Create(300, s_hostWnd));
  CWnd* control = dialog.GetDlgItem(kControlId);
  ASSERT_NE(control, nullptr);
  HWND edit = ::GetWindow(control->m_hWnd, GW_CHILD);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(ShownText(edit), L"from resource");
  const LONG style = ::GetWindowLongW(edit, GWL_STYLE);
  EXPECT_FALSE(style & ES_READONLY);
  EXPECT_FALSE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_BORDER);
  dialog.DestroyWindow();
}

}  // namespace
