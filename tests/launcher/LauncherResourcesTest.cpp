// The resources built into Brindle Launcher (read from the program file as data), and its message box.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>
#include <thread>
#include <utility>

#include "LauncherMessageBox.h"
#include "WindowTest.h"
#include "resource.h"

namespace {

std::wstring LauncherFile() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"Brindle Launcher.exe";
}

class LauncherResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(LauncherFile().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  // The bytes of one resource; empty when missing.
  std::string Resource(LPCWSTR type, UINT id) const {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!found) return std::string();
    const void* data = LockResource(LoadResource(module_, found));
    return std::string(static_cast<const char*>(data), SizeofResource(module_, found));
  }
  HMODULE module_ = nullptr;
};

// Reads the parts of a dialog template in order.
class TemplateReader {
 public:
  explicit TemplateReader(const std::string& bytes) : bytes_(bytes) {}
  WORD Word() {
    WORD w = 0;
    if (pos_ + 2 <= bytes_.size()) memcpy(&w, bytes_.data() + pos_, 2);
    pos_ += 2;
    return w;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | (DWORD(Word()) << 16);
  }
  // A string, or an ordinal written as "#n".
  std::wstring SzOrOrd() {
    const WORD first = Word();
    if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
    std::wstring text;
    for (WORD w = first; w != 0 && pos_ <= bytes_.size(); w = Word()) text += wchar_t(w);
    return text;
  }
  void AlignDword() { pos_ = (pos_ + 3) & ~size_t(3); }
  void Skip(size_t n) { pos_ += n; }

 private:
  const std::string& bytes_;
  size_t pos_ = 0;
};

TEST_F(LauncherResources, MainDialogIsAnEmptyExtendedTemplate) {
  const std::string bytes = Resource(RT_DIALOG, IDD_LAUNCHER_DIALOG);
  ASSERT_FALSE(bytes.empty());
  TemplateReader t(bytes);
  EXPECT_EQ(t.Word(), 1);       // dlgVer
  EXPECT_EQ(t.Word(), 0xFFFF);  // signature of DLGTEMPLATEEX
  t.Dword();                    // help id
  EXPECT_EQ(t.Dword(), DWORD(WS_EX_APPWINDOW));
  const DWORD style = t.Dword();
  const DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_EQ(t.Word(), 0);  // no controls
  t.Word();
  t.Word();
  EXPECT_EQ(t.Word(), 148);
  EXPECT_EQ(t.Word(), 65);
  EXPECT_EQ(t.SzOrOrd(), L"");  // menu
  EXPECT_EQ(t.SzOrOrd(), L"");  // class
  EXPECT_EQ(t.SzOrOrd(), L"Brindle for PST to NSF");
  EXPECT_EQ(t.Word(), 8);
  t.Word();  // weight
  t.Word();  // italic, charset
  EXPECT_EQ(t.SzOrOrd(), L"MS Sans Serif");
}

TEST_F(LauncherResources, AboutBoxHasIconTwoLinesAndOk) {
  const std::string bytes = Resource(RT_DIALOG, IDD_ABOUTBOX);
  ASSERT_FALSE(bytes.empty());
  TemplateReader t(bytes);
  const DWORD style = t.Dword();
  const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_EQ(style & WS_VISIBLE, 0u);
  t.Dword();
  const WORD count = t.Word();
  ASSERT_EQ(count, 4);
  t.Word();
  t.Word();
  EXPECT_EQ(t.Word(), 235);
  EXPECT_EQ(t.Word(), 55);
  t.SzOrOrd();
  t.SzOrOrd();
  EXPECT_EQ(t.SzOrOrd(), L"About Brindle for PST to NSF");
  EXPECT_EQ(t.Word(), 8);
  EXPECT_EQ(t.SzOrOrd(), L"MS Sans Serif");

  struct Item {
    std::wstring cls, title;
    WORD x, y, cx, cy, id;
    DWORD style;
  };
  std::vector<Item> items;
  for (WORD i = 0; i < count; ++i) {
    t.AlignDword();
    Item item;
    item.style = t.Dword();
    t.Dword();
    item.x = t.Word();
    item.y = t.Word();
    item.cx = t.Word();
    item.cy = t.Word();
    item.id = t.Word();
    item.cls = t.SzOrOrd();
    item.title = t.SzOrOrd();
    t.Skip(t.Word());
    items.push_back(item);
  }
  // 0x0082 is the static class, 0x0080 the button class.
  EXPECT_EQ(items[0].cls, L"#130");
  EXPECT_EQ(items[0].style & SS_TYPEMASK, DWORD(SS_ICON));
  EXPECT_EQ(items[0].title, L"#128");
  EXPECT_EQ(std::make_pair(items[0].x, items[0].y), std::make_pair(WORD(11), WORD(17)));
  EXPECT_EQ(items[1].title, L"Brindle for PST to NSF Version 1.0");
  EXPECT_TRUE(items[1].style & SS_NOPREFIX);
  EXPECT_EQ(std::make_pair(items[1].x, items[1].y), std::make_pair(WORD(40), WORD(10)));
  EXPECT_EQ(items[1].cx, 119);
  EXPECT_EQ(std::make_pair(items[2].x, items[2].y), std::make_pair(WORD(40), WORD(25)));
  EXPECT_EQ(items[3].cls, L"#128");
  EXPECT_EQ(items[3].title, L"OK");
  EXPECT_EQ(items[3].id, IDOK);
  EXPECT_EQ(items[3].style & BS_TYPEMASK, DWORD(BS_DEFPUSHBUTTON));
  EXPECT_EQ(std::make_pair(items[3].x, items[3].y), std::make_pair(WORD(178), WORD(7)));
  EXPECT_EQ(std::make_pair(items[3].cx, items[3].cy), std::make_pair(WORD(50), WORD(14)));
}

INT_PTR CALLBACK IdleDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(LauncherResources, AboutBoxShowsItsIconAndTexts) {
  HWND about = CreateDialogParamW(module_, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, IdleDialog, 0);
  ASSERT_NE(about, nullptr);
  ShowWindow(about, SW_SHOW);
  EXPECT_EQ(testsupport::WaitForTopWindow(L"About Brindle for PST to NSF"), about);
  testsupport::PumpMessages(200);
  HWND icon = GetWindow(about, GW_CHILD);
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
  wchar_t text[64] = {};
  GetDlgItemTextW(about, IDOK, text, 64);
  EXPECT_STREQ(text, L"OK");
  EXPECT_EQ(testsupport::ClippedChildTexts(about), std::vector<std::wstring>());
  EXPECT_FALSE(testsupport::SaveWindowPng(about, L"launcher-about-box.png").empty());
  DestroyWindow(about);
}

TEST_F(LauncherResources, AboutStringAndSystemMenuCommand) {
  wchar_t text[128] = {};
  ASSERT_GT(LoadStringW(module_, IDS_ABOUTBOX, text, 128), 0);
  EXPECT_STREQ(text, L"&About Brindle for PST to NSF...");
  EXPECT_EQ(IDM_ABOUTBOX & 0xFFF0, IDM_ABOUTBOX);
}

TEST_F(LauncherResources, IconHasFourSizesAtTwoDepths) {
  const std::string group = Resource(RT_GROUP_ICON, IDR_MAINFRAME);
  ASSERT_GE(group.size(), 6u);
  TemplateReader t(group);
  t.Word();
  EXPECT_EQ(t.Word(), 1);  // icons, not cursors
  const WORD count = t.Word();
  std::set<std::pair<int, int>> images;
  for (WORD i = 0; i < count; ++i) {
    const WORD widthHeight = t.Word();
    t.Word();  // colours, reserved
    t.Word();  // planes
    const WORD bits = t.Word();
    t.Dword();  // bytes
    const WORD id = t.Word();
    images.emplace(widthHeight & 0xFF, bits);
    EXPECT_FALSE(Resource(RT_ICON, id).empty());
  }
  EXPECT_EQ(count, 8);
  const std::set<std::pair<int, int>> wanted = {{16, 8},  {24, 8},  {32, 8},  {48, 8},
                                                {16, 32}, {24, 32}, {32, 32}, {48, 32}};
  EXPECT_EQ(images, wanted);
}

TEST_F(LauncherResources, ManifestAsksForCommonControls6AndAdministrator) {
  const std::string manifest = Resource(RT_MANIFEST, 1);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
}

TEST(LauncherVersion, FileAndProductVersionAre8032) {
  const std::wstring file = LauncherFile();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(info->dwFileVersionMS, DWORD(MAKELONG(0, 8)));
  EXPECT_EQ(info->dwFileVersionLS, DWORD(MAKELONG(2, 3)));
  EXPECT_EQ(info->dwProductVersionMS, DWORD(MAKELONG(0, 8)));
  EXPECT_EQ(info->dwProductVersionLS, DWORD(MAKELONG(2, 3)));
}

TEST(LauncherMessageBox, ShowsTextUnderTheProductCaptionWithOneOkButton) {
  int result = 0;
  std::thread shower([&] { result = LauncherMessageBox(L"Line one\r\n\r\n line two", MB_OK); });
  HWND box = testsupport::WaitForTopWindow(L"Brindle for PST to NSF", 10000);
  ASSERT_NE(box, nullptr);
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 256);
  EXPECT_STREQ(text, L"Line one\r\n\r\n line two");
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  shower.join();
  EXPECT_EQ(result, IDOK);
}

}  // namespace
