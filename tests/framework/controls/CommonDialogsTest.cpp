// CFileDialog: the filter in the framework's "|" form, the path parts, and a real open dialog
// answered from a second thread as a user would.
#include "afxdlgs.h"

#include "TestFiles.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

std::wstring Wide(const std::string& text) {
  int n = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], n);
  wide.resize(static_cast<size_t>(n) - 1);
  return wide;
}

// Waits for the dialog titled `title`, types `path` as the file name and presses OK.
void AnswerFileDialog(const std::wstring& title, const std::wstring& path, std::atomic<bool>* answered) {
  for (int i = 0; i < 200 && !*answered; i++) {
    HWND hDlg = ::FindWindow(nullptr, title.c_str());
    if (hDlg != nullptr && ::IsWindowVisible(hDlg)) {
      const int kFileNameCombo = 0x47c, kFileNameEdit = 0x480;
      HWND hName = ::GetDlgItem(hDlg, kFileNameCombo);
      if (hName == nullptr) hName = ::GetDlgItem(hDlg, kFileNameEdit);
      if (hName != nullptr) {
        ::SendMessage(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        ::PostMessage(hDlg, WM_COMMAND, IDOK, 0);
        *answered = true;
        return;
      }
    }
    ::Sleep(50);
  }
}

}  // namespace

TEST(CFileDialogSetup, FilterPipesBecomeTerminatorsAndStringsAreCopied) {
  std::wstring name = L"mail.pst";
  CFileDialog dialog(TRUE, L"pst", name.c_str(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     L"PST File(*.pst)|*.pst|All Files (*.*)|*.*||");
  name = L"changed";
  EXPECT_EQ(sizeof(OPENFILENAME), dialog.m_ofn.lStructSize);
  EXPECT_TRUE(dialog.m_ofn.Flags & OFN_FILEMUSTEXIST);
  LPCWSTR filter = dialog.m_ofn.lpstrFilter;
  ASSERT_NE(nullptr, filter);
  EXPECT_STREQ(L"PST File(*.pst)", filter);
  filter += wcslen(filter) + 1;
  EXPECT_STREQ(L"*.pst", filter);
  filter += wcslen(filter) + 1;
  EXPECT_STREQ(L"All Files (*.*)", filter);
  filter += wcslen(filter) + 1;
  EXPECT_STREQ(L"*.*", filter);
  filter += wcslen(filter) + 1;
  EXPECT_EQ(0, filter[0]);
  EXPECT_STREQ(L"mail.pst", dialog.m_ofn.lpstrFile);
  EXPECT_STREQ(L"pst", dialog.m_ofn.lpstrDefExt);

  CFileDialog plain(FALSE);
  EXPECT_EQ(nullptr, plain.m_ofn.lpstrFilter);
  EXPECT_EQ(nullptr, plain.m_ofn.lpstrDefExt);
  EXPECT_TRUE(plain.GetPathName().IsEmpty());
  EXPECT_EQ(nullptr, plain.GetStartPosition());
}

TEST(CFileDialogSetup, PathPartsAndMultipleSelection) {
  CFileDialog dialog(TRUE, nullptr, L"C:\\Mail\\Archive 2003.pst");
  EXPECT_STREQ(L"C:\\Mail\\Archive 2003.pst", dialog.GetPathName());
  EXPECT_STREQ(L"Archive 2003.pst", dialog.GetFileName());
  EXPECT_STREQ(L"pst", dialog.GetFileExt());
  EXPECT_STREQ(L"Archive 2003", dialog.GetFileTitle());
  EXPECT_STREQ(L"C:\\Mail", dialog.GetFolderPath());
  POSITION pos = dialog.GetStartPosition();
  EXPECT_STREQ(L"C:\\Mail\\Archive 2003.pst", dialog.GetNextPathName(pos));
  EXPECT_EQ(nullptr, pos);

  CFileDialog multi(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
  const WCHAR chosen[] = L"C:\\Mail\0a.pst\0b.pst\0";
  memcpy(multi.m_ofn.lpstrFile, chosen, sizeof(chosen));
  pos = multi.GetStartPosition();
  EXPECT_STREQ(L"C:\\Mail\\a.pst", multi.GetNextPathName(pos));
  ASSERT_NE(nullptr, pos);
  EXPECT_STREQ(L"C:\\Mail\\b.pst", multi.GetNextPathName(pos));
  EXPECT_EQ(nullptr, pos);
}

TEST(CFileDialogModal, OpenDialogReturnsTheChosenPath) {
  testsupport::TempDir dir;
  std::wstring path = Wide(dir.File("probe.pst"));
  HANDLE file = ::CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  ::CloseHandle(file);

  CFileDialog dialog(TRUE, L"pst", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, L"PST File(*.pst)|*.pst||");
  dialog.m_ofn.lpstrTitle = L"Framework probe open";
  std::atomic<bool> answered{false};
  std::thread answer(AnswerFileDialog, std::wstring(L"Framework probe open"), path, &answered);
  INT_PTR result = dialog.DoModal();
  answered = true;
  answer.join();
  ASSERT_EQ(IDOK, result);
  EXPECT_EQ(0, lstrcmpi(path.c_str(), dialog.GetPathName()));
  EXPECT_STREQ(L"probe.pst", dialog.GetFileName());
  EXPECT_STREQ(L"pst", dialog.GetFileExt());
}

TEST(CFontDialogModal, OkReportsTheChosenFont) {
  LOGFONT initial = {};
  initial.lfHeight = -16;
  initial.lfWeight = FW_BOLD;
  lstrcpy(initial.lfFaceName, L"Tahoma");
  CFontDialog dialog(&initial, CF_SCREENFONTS | CF_EFFECTS);
  initial.lfWeight = FW_NORMAL;  // the dialog keeps its own copy
  EXPECT_TRUE(dialog.m_cf.Flags & CF_INITTOLOGFONTSTRUCT);
  EXPECT_STREQ(L"Tahoma", dialog.GetFaceName());
  EXPECT_TRUE(dialog.IsBold());

  std::atomic<bool> done{false};
  std::thread user([&done] {
    for (int i = 0; i < 200 && !done; i++) {
      HWND hDlg = ::FindWindow(L"#32770", L"Font");
      if (hDlg != nullptr && ::IsWindowVisible(hDlg)) {
        ::PostMessage(hDlg, WM_COMMAND, IDOK, 0);
        return;
      }
      ::Sleep(50);
    }
  });
  INT_PTR result = dialog.DoModal();
  done = true;
  user.join();
  ASSERT_EQ(IDOK, result);
  // Which face comes back depends on the fonts installed; the choice must reach the object.
  EXPECT_FALSE(dialog.GetFaceName().IsEmpty());
  EXPECT_GT(dialog.GetSize(), 0);
  LOGFONT chosen = {};
  dialog.GetCurrentFont(&chosen);
  EXPECT_STREQ(dialog.GetFaceName(), chosen.lfFaceName);
}

TEST(CPrintDialogSetup, DefaultsEitherNameAPrinterOrGiveNoDC) {
  CPrintDialog dialog(FALSE);
  EXPECT_EQ(sizeof(PRINTDLG), dialog.m_pd.lStructSize);
  EXPECT_TRUE(dialog.PrintAll());
  EXPECT_EQ(-1, dialog.GetFromPage());
  if (dialog.GetDefaults()) {
    EXPECT_FALSE(dialog.GetDeviceName().IsEmpty());
    HDC hDC = dialog.CreatePrinterDC();
    if (hDC != nullptr) ::DeleteDC(hDC);
  } else {
    EXPECT_TRUE(dialog.GetDeviceName().IsEmpty());
    EXPECT_EQ(nullptr, dialog.CreatePrinterDC());
    EXPECT_EQ(1, dialog.GetCopies());
  }
}
