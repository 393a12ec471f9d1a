// The item preview pane with the rich-text control registered in the test prefix: messages in their
// colours, a document's body read back from the control (preview text, exported body file, plain text,
// malformed RTF), its attachments last-first below the header, and the control's clicks with real input.
#include "ItemPreviewPane.h"

#include "AppTestSupport.h"
#include "NotesStore.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>
#include <vector>

namespace {

using apptest::CRecordingWnd;

const wchar_t kCalendarPage[] =
    L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl ;\\red145\\green225\\blue84;}"
    L"\\pard\\cf1\\b\\f0\\fs22 Calender Details \\par\\b0 Subject  : Budget review\\par}";

// What the rich-text control shows, line breaks as "\n".
std::wstring ShownText(HWND edit) { return testsupport::TextWithLineBreaks(edit); }

CHARFORMAT2W FormatAt(HWND edit, int position) {
  ::SendMessageW(edit, EM_SETSEL, position, position + 1);
  CHARFORMAT2W format = {};
  format.cbSize = sizeof format;
  ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  ::SendMessageW(edit, EM_SETSEL, 0, 0);
  return format;
}

// Pixels of the header picture's place (48 x 48 at (20, 10)) that are not the header's white.
int PicturePixels(HWND pane) {
  int width = 0, height = 0;
  const std::vector<COLORREF> pixels = testsupport::WindowPixels(pane, &width, &height);
  int count = 0;
  for (int y = 10; y < 58 && y < height; ++y) {
    for (int x = 20; x < 68 && x < width; ++x) {
      if (pixels[static_cast<size_t>(y) * width + x] != RGB(255, 255, 255)) ++count;
    }
  }
  return count;
}

class ItemPreviewPaneTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The control is hosted in the framework's control site, which needs OLE on this thread.
    AfxOleInit();
    AfxEnableControlContainer();
    s_hostWnd = new CRecordingWnd;
    s_hostWnd->CreateHost(L"Item preview pane", 40, 40, 620, 460);
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_hostWnd->m_hWnd, nullptr);
    ::DeleteFileW(GetPreviewRtfPath());
    ASSERT_TRUE(pane_.Create(0x50010800, CRect(10, 10, 590, 410), s_hostWnd, 1));
    testsupport::PumpMessages(50);
    ASSERT_NE(pane_.m_dlg.m_richText.GetSafeHwnd(), nullptr) << "the rich-text control is not registered";
  }
  void TearDown() override {
    pane_.DestroyWindow();
    ::DeleteFileW(GetPreviewRtfPath());
  }

  HWND Edit() { return ::GetWindow(pane_.m_dlg.m_richText.GetSafeHwnd(), GW_CHILD); }
  CRect RectInPane(CWnd& wnd) {
    CRect rc;
    wnd.GetWindowRect(&rc);
    pane_.ScreenToClient(&rc);
    return rc;
  }
  void ShowDocument(int kind, const CString& previewText, const CStringArray& names,
                    const CStringArray& infos) {
    pane_.SetSender(L"Ann Archer");
    pane_.SetSubject(L"Budget\treview");
    pane_.SetDate(L"03/04/2024 10:15:00");
    pane_.SetPreviewText(previewText);
    pane_.SetPreviewKind(kind);
    pane_.ShowItem(previewText, names, infos);
    pane_.Invalidate();
    testsupport::PumpMessages(100);
  }

  static CRecordingWnd* s_hostWnd;
  CItemPreviewPane pane_;
};

CRecordingWnd* ItemPreviewPaneTest::s_hostWnd = nullptr;

TEST_F(ItemPreviewPaneTest, MessagesShowCentredBoldInTheirColourWithoutHeaderOrList) {
  pane_.ShowMessage(CItemPreviewPane::MESSAGE_SELECT_ITEM);
  testsupport::PumpMessages(50);
  std::wstring shown = ShownText(Edit());
  const size_t at = shown.find(L"Please select item to see preview.");
  ASSERT_NE(at, std::wstring::npos) << shown;
  EXPECT_NE(shown.find(L"Item can be Email , Journal , Task , Calender , To Do list..."), std::wstring::npos);
  EXPECT_EQ(shown.find(L"pardpar"), std::wstring::npos) << shown;
  CHARFORMAT2W format = FormatAt(Edit(), static_cast<int>(at));
  EXPECT_EQ(format.crTextColor, RGB(0, 0, 255));
  EXPECT_TRUE(format.dwEffects & CFE_BOLD);
  EXPECT_EQ(format.yHeight, 280);  // 14 points
  EXPECT_STREQ(format.szFaceName, L"Courier New");
  PARAFORMAT2 para = {};
  para.cbSize = sizeof para;
  ::SendMessageW(Edit(), EM_SETSEL, static_cast<WPARAM>(at), static_cast<LPARAM>(at));
  ::SendMessageW(Edit(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para));
  EXPECT_EQ(para.wAlignment, PFA_CENTER);
  EXPECT_EQ(pane_.GetPreviewKind(), -1);
  EXPECT_FALSE(pane_.HasAttachments());
  EXPECT_EQ(RectInPane(pane_.m_attachList).Width(), 0);
  EXPECT_EQ(RectInPane(pane_.m_dlg).top, 70);

  pane_.ShowMessage(CItemPreviewPane::MESSAGE_NO_ITEM);
  testsupport::PumpMessages(50);
  shown = ShownText(Edit());
  ASSERT_NE(shown.find(L"No Item present in folder please select another folder"), std::wstring::npos)
      << shown;
  format = FormatAt(Edit(), static_cast<int>(shown.find(L"No Item")));
  EXPECT_EQ(format.crTextColor, RGB(255, 0, 0));
  testsupport::SaveWindowPng(s_hostWnd->m_hWnd, L"item_preview_message.png");

  // Every message composes head + text + tail, the text unescaped; numbers outside 0-6 show nothing.
  const CString blueHead =
      L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}{\\colortbl "
      L";\\red0\\green0\\blue255;}"
      L"{\\*\\generator Msftedit "
      L"5.41.15.1507;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs20\\par\\pard\\qc\\cf1\\b\\fs28";
  CString redHead = blueHead;
  redHead.Replace(L"\\red0\\green0\\blue255", L"\\red255\\green0\\blue0");
  const CString tail = L"\\cf0\\b0\\fs20\\par\\pardpar}";
  EXPECT_EQ(CItemPreviewPane::MessageRtf(6), blueHead + L"Please wait while filling list" + tail);
  EXPECT_EQ(CItemPreviewPane::MessageRtf(1), redHead + L"No folder found in file..." + tail);
  EXPECT_EQ(CItemPreviewPane::MessageRtf(3), blueHead +
                                                 L"Please select item to see preview. \r\n Item can be Email "
                                                 L", Journal , Task , Calender , To Do list... " +
                                                 tail);
  EXPECT_TRUE(CItemPreviewPane::MessageRtf(7).IsEmpty());
  EXPECT_TRUE(CItemPreviewPane::MessageRtf(-1).IsEmpty());
}

TEST_F(ItemPreviewPaneTest, DocumentWithAttachmentsListsThemLastFirstAboveItsBody) {
  CStringArray names, infos;
  for (const wchar_t* name : {L"agenda.txt", L"budget.xls", L"photo.jpg"}) names.Add(name);
  for (const wchar_t* info : {L"(1 KB)", L"(20 KB)", L"(300 KB)"}) infos.Add(info);
  ShowDocument(1, kCalendarPage, names, infos);

  const std::wstring shown = ShownText(Edit());
  EXPECT_EQ(shown.find(L"Calender Details"), 0u) << shown;
  EXPECT_NE(shown.find(L"Subject  : Budget review"), std::wstring::npos) << shown;
  EXPECT_TRUE(::IsWindowVisible(pane_.m_dlg.m_richText.m_hWnd));
  EXPECT_FALSE(::IsWindowVisible(pane_.m_dlg.m_placeholder.m_hWnd));

  ASSERT_TRUE(pane_.HasAttachments());
  ASSERT_EQ(pane_.m_attachList.GetItemCount(), 3);
  EXPECT_EQ(pane_.m_attachList.GetItemText(0, 0), L"photo.jpg (300 KB)");
  EXPECT_EQ(pane_.m_attachList.GetItemText(1, 0), L"budget.xls (20 KB)");
  EXPECT_EQ(pane_.m_attachList.GetItemText(2, 0), L"agenda.txt (1 KB)");
  EXPECT_EQ(RectInPane(pane_.m_attachList), CRect(0, 70, 580, 110));
  EXPECT_EQ(RectInPane(pane_.m_dlg), CRect(0, 110, 580, 400));
  // The list shows the system's image list and leaves it alone.
  EXPECT_TRUE(pane_.m_attachList.GetStyle() & LVS_SHAREIMAGELISTS);
  EXPECT_NE(pane_.m_attachList.GetImageList(LVSIL_SMALL), nullptr);
  EXPECT_EQ(pane_.m_arrAttachNames.GetSize(), 3);

  // The header: the kind's picture at (20, 10), the rule at y = 68.
  EXPECT_GT(PicturePixels(pane_.m_hWnd), 200);
  EXPECT_EQ(testsupport::WindowPixel(pane_.m_hWnd, 300, 68), RGB(0xAC, 0xC0, 0xCD));
  testsupport::SaveWindowPng(s_hostWnd->m_hWnd, L"item_preview_calendar.png");

  // A message afterwards takes the picture and the list away.
  pane_.ShowMessage(CItemPreviewPane::MESSAGE_GENERATING);
  pane_.SetSubject(L"");
  pane_.SetSender(L"");
  pane_.SetDate(L"");
  pane_.UpdateWindow();
  testsupport::PumpMessages(50);
  EXPECT_EQ(PicturePixels(pane_.m_hWnd), 0);
  EXPECT_EQ(RectInPane(pane_.m_dlg).top, 70);
}

TEST_F(ItemPreviewPaneTest, AnExportedBodyFileIsShownAndLetGoAtOnce) {
  const CString path = GetPreviewRtfPath();
  {
    const char body[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Exported \\b large\\b0  body\\par}";
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, body, sizeof body - 1, &written, nullptr);
    ::CloseHandle(file);
  }
  CStringArray none;
  ShowDocument(0, L"short text that the file replaces", none, none);
  const std::wstring shown = ShownText(Edit());
  EXPECT_NE(shown.find(L"Exported large body"), std::wstring::npos) << shown;
  EXPECT_EQ(shown.find(L"replaces"), std::wstring::npos) << shown;
  // The next preview deletes the file first: nothing may hold it open.
  EXPECT_TRUE(::DeleteFileW(path)) << ::GetLastError();

  // The next document has no file: its own text shows, never the previous body.
  ShowDocument(0, L"Plain mail text with {braces} and \\par kept as typed", none, none);
  const std::wstring next = ShownText(Edit());
  EXPECT_NE(next.find(L"Plain mail text with {braces} and \\par kept as typed"), std::wstring::npos) << next;
  EXPECT_EQ(next.find(L"Exported"), std::wstring::npos) << next;
  EXPECT_FALSE(pane_.HasAttachments());
  EXPECT_EQ(RectInPane(pane_.m_dlg).top, 70);
}

TEST_F(ItemPreviewPaneTest, NoBodyShowsMessageFiveAndMalformedRtfDoesNotBringItDown) {
  CStringArray none;
  ShowDocument(3, L"", none, none);
  std::wstring shown = ShownText(Edit());
  EXPECT_NE(shown.find(L"Either User Abort preview or no body present"), std::wstring::npos) << shown;

  for (const wchar_t* broken :
       {L"{\\rtf1 {{{{ never closed", L"{\\rtf1\\ansi\\'zz\\u-99999999999 x}", L"{\\rtf", L"{\\rtf1}}}}}}"}) {
    ShowDocument(0, broken, none, none);
    ASSERT_NE(Edit(), nullptr);
    EXPECT_TRUE(::IsWindow(Edit()));
  }
  // Nesting far beyond any real document.
  CString deep = L"{\\rtf1 ";
  for (int i = 0; i < 5000; ++i) deep += L"{";
  deep += L"deep";
  ShowDocument(0, deep, none, none);
  EXPECT_TRUE(::IsWindow(Edit()));
  pane_.ShowMessage(CItemPreviewPane::MESSAGE_FILLING);
  shown = ShownText(Edit());
  EXPECT_NE(shown.find(L"Please wait while filling list"), std::wstring::npos) << shown;
}

TEST_F(ItemPreviewPaneTest, AClickInTheBodyMovesTheFocusAwayButNotOneOnTheScrollBar) {
  CString lines;
  for (int i = 0; i < 80; ++i) {
    CString line;
    line.Format(L"Line %d of a long mail body\r\n", i);
    lines += line;
  }
  CStringArray none;
  ShowDocument(0, lines, none, none);
  ASSERT_TRUE(testsupport::BringToFront(s_hostWnd->m_hWnd));
  CRect rcControl;
  pane_.m_dlg.m_richText.GetWindowRect(&rcControl);

  ::SetFocus(Edit());
  testsupport::MouseClickAt(rcControl.left + 60, rcControl.top + 40);
  apptest::PumpFramework(200);
  EXPECT_EQ(::GetFocus(), pane_.m_dlg.m_focusButton.m_hWnd);
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);

  // The scroll bar: the press scrolls and the focus stays where it was.
  ::SetFocus(Edit());
  testsupport::MouseClickAt(rcControl.right - 8, rcControl.bottom - 30);
  apptest::PumpFramework(200);
  EXPECT_NE(::GetFocus(), pane_.m_dlg.m_focusButton.m_hWnd);
  const int firstLine = static_cast<int>(::SendMessageW(Edit(), EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(firstLine, 0);
}

}  // namespace
