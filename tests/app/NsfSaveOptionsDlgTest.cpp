// The Save Options dialog: its checks in their order with their messages, for a new and an existing
// NSF, and the dialog itself driven with real input on a thread of its own.
#include "NsfSaveOptionsDlg.h"

#include "AppTestSupport.h"
#include "TestFiles.h"
#include "ToolkitResource.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <fstream>

namespace {

using apptest::ModalRun;

const wchar_t kInvalidName[] =
    L"Please enter valid File Name \r\n(Make sure following character does not exist \\/:*?\"<>|) ";

using apptest::Text;

void Touch(const CString& path) {
  HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
}

class NsfSaveOptionsChecks : public ::testing::Test {
 protected:
  CString Folder() const { return Text(dir_.Path()); }
  testsupport::TempDir dir_;
};

TEST_F(NsfSaveOptionsChecks, ANewFileIsCheckedInOrder) {
  CString full;
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(L"", L"mail", &full), L"Please enter folder path");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder() + L"\\missing", L"mail", &full),
            L"Please enter valid folder path");
  // A file is no folder.
  Touch(Folder() + L"\\plain.txt");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder() + L"\\plain.txt", L"mail", &full),
            L"Please enter valid folder path");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), L"", &full), L"Please enter file name");
  for (const wchar_t* bad : {L"a\\b", L"a/b", L"a:b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b"}) {
    EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), bad, &full), kInvalidName) << bad;
  }
  // The name check comes before the existence test: "plain.txt/" would name an existing path.
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), L"plain.txt/", &full), kInvalidName);

  Touch(Folder() + L"\\taken.nsf");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), L"taken", &full),
            L"The file already exists, Please provide a different file name");

  full.Empty();
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), L"mail", &full), L"");
  EXPECT_EQ(full, Folder() + L"\\mail.nsf");
  CString withSlash;
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder() + L"\\", L"mail", &withSlash), L"");
  EXPECT_EQ(withSlash, full);
}

// A name that ends in ".nsf" (in any case) is the file's whole name.
TEST_F(NsfSaveOptionsChecks, ANameEndingInNsfGetsNoSecondExtension) {
  CString full;
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), L"dup.NSF", &full), L"");
  EXPECT_EQ(full, Folder() + L"\\dup.NSF");
  Touch(Folder() + L"\\taken.nsf");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), L"taken.nsf", &full),
            L"The file already exists, Please provide a different file name");
  // A name typed with the dots or blanks the system drops from a file's name ends in ".nsf" too.
  EXPECT_EQ(CNsfSaveOptionsDlg::FileNameOf(L"first.NSF. "), L"first.NSF");
  EXPECT_EQ(CNsfSaveOptionsDlg::FileNameOf(L" first. .\r\n"), L"first");
  EXPECT_EQ(CNsfSaveOptionsDlg::FileNameOf(L"..."), L"");
  // Page one's target path.
  EXPECT_EQ(CNsfSaveOptionsDlg::NewFilePath(L"C:\\mail", L"dup.nsf", L".NSF"), L"C:\\mail\\dup.nsf");
  EXPECT_EQ(CNsfSaveOptionsDlg::NewFilePath(L"C:\\mail\\", L"dup.nsf.old", L".NSF"),
            L"C:\\mail\\dup.nsf.old.NSF");
}

TEST_F(NsfSaveOptionsChecks, ANewPathOf256IsAcceptedAnd257Refused) {
  const int fixed = Folder().GetLength() + 1 + 4;  // backslash and ".nsf"
  CString full;
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), CString(L'n', 256 - fixed), &full), L"");
  EXPECT_EQ(full.GetLength(), 256);
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), CString(L'n', 257 - fixed), &full),
            L"The file name is too large to process, Please provide a different file name");
}

TEST_F(NsfSaveOptionsChecks, AnExistingFileIsCheckedInOrder) {
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(L""), L"Please enter file path");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\" + CString(L'n', MAX_PATH) + L".nsf"),
            CNsfSaveOptionsDlg::PATH_TOO_LONG_TEXT);
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\missing.nsf"), L"Please enter valid file");
  ::CreateDirectoryW(Folder() + L"\\folder.nsf", nullptr);
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\folder.nsf"), L"Please enter valid file");
  Touch(Folder() + L"\\mail.txt");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\mail.txt"), L"Please enter .NSF file");
  // ".NSF" anywhere in the upper-cased path.
  Touch(Folder() + L"\\mail.nsf.old");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\mail.nsf.old"), L"");
  Touch(Folder() + L"\\MAIL.NSF");
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\MAIL.NSF"), L"");
}

// The system takes these names for its devices in any folder and with any extension: they are
// refused as names that cannot be used, not as files that exist.
TEST_F(NsfSaveOptionsChecks, ADeviceNameIsRefusedAsANameThatCannotBeUsed) {
  CString full;
  for (const wchar_t* name : {L"CON", L"NUL", L"com1.nsf", L"Lpt9", L"aux .nsf", L"PRN.mail"}) {
    EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), name, &full), CNsfSaveOptionsDlg::RESERVED_NAME_TEXT)
        << name;
  }
  for (const wchar_t* name : {L"CONTACTS", L"com10", L"nul-mail", L"LPT"}) {
    EXPECT_EQ(CNsfSaveOptionsDlg::CheckNewFile(Folder(), name, &full), L"") << name;
  }
  EXPECT_EQ(CNsfSaveOptionsDlg::CheckExistingFile(Folder() + L"\\nul.nsf"),
            CNsfSaveOptionsDlg::RESERVED_NAME_TEXT);
}

// The focus of the dialog's thread while the dialog is the foreground window (where typed keys go),
// else NULL.
HWND KeyboardFocus(HWND hDlg) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (::GetForegroundWindow() != hDlg ||
      !::GetGUIThreadInfo(::GetWindowThreadProcessId(hDlg, nullptr), &info))
    return nullptr;
  return info.hwndFocus;
}

// The run's dialog once it takes input: the foreground window, with the focus on one of its controls.
HWND WaitForReadyDialog(ModalRun& run) {
  HWND hDlg = run.WaitForDialog();
  if (hDlg == nullptr) return nullptr;
  const bool ready = testsupport::PumpUntil([&] {
    HWND focus = KeyboardFocus(hDlg);
    return focus != nullptr && ::IsChild(hDlg, focus);
  });
  return ready ? hDlg : nullptr;
}

// Types into an edit of the dialog in place of its text: a real click gives it the focus, its text is
// selected, then the keys.
void TypeInto(HWND hDlg, int id, const CString& text) {
  HWND edit = ::GetDlgItem(hDlg, id);
  apptest::ClickControl(hDlg, id);
  // Under load the click can take a while to move the focus; typed keys go to the focus of the
  // foreground window's thread.
  testsupport::PumpUntil([&] { return KeyboardFocus(hDlg) == edit; });
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  testsupport::TypeUnicode(std::wstring(text));
  testsupport::PumpUntil([&] { return apptest::TextOf(edit) == text; });
}

// Clicks one of the two options and waits until the dialog shows that choice in full: its thread
// checks the option and then enables and disables the edits one at a time, and a state read in
// between would show parts of both choices.
void ChooseOption(HWND hDlg, int optionId) {
  const bool existing = optionId == IDC_SAVE_EXISTING_FILE;
  const int otherId = existing ? IDC_SAVE_NEW_FILE : IDC_SAVE_EXISTING_FILE;
  const auto enabled = [&](int id) { return ::IsWindowEnabled(::GetDlgItem(hDlg, id)) != FALSE; };
  apptest::ClickControl(hDlg, optionId);
  testsupport::PumpUntil([&] {
    return ::IsDlgButtonChecked(hDlg, optionId) == BST_CHECKED &&
           ::IsDlgButtonChecked(hDlg, otherId) == BST_UNCHECKED &&
           enabled(IDC_NSF_EXISTING_PATH) == existing && enabled(IDC_NSF_FOLDER) != existing &&
           enabled(IDC_NSF_FILE_NAME) != existing;
  });
}

// Clicks OK and returns the text of the message box that comes (dismissed), or "" when none came.
CString OkMessage(HWND hDlg) {
  apptest::ClickControl(hDlg, IDOK);
  HWND hBox = apptest::WaitForOwnedMessageBox(hDlg);
  if (hBox == nullptr) return CString();
  const CString text = apptest::MessageBoxText(hBox);
  apptest::DismissMessageBox(hBox);
  return text;
}

TEST_F(NsfSaveOptionsChecks, TheDialogTakesANewFileWithTheTextFormatFlag) {
  CNsfSaveOptionsDlg dlg;
  INT_PTR result = 0;
  ModalRun run(L"Save Options", [&] { result = dlg.DoModal(); });
  HWND hDlg = WaitForReadyDialog(run);
  ASSERT_NE(hDlg, nullptr);
  EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_SAVE_NEW_FILE), static_cast<UINT>(BST_CHECKED));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_NSF_EXISTING_PATH)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_NSF_FOLDER)));

  EXPECT_STREQ(OkMessage(hDlg), L"Please enter folder path");
  // Taken without the blanks and quotes around them, the name without the dots the system drops.
  TypeInto(hDlg, IDC_NSF_FOLDER, L" \"" + Folder() + L"\"  ");
  TypeInto(hDlg, IDC_NSF_FILE_NAME, L" mail2024.NSF. ");
  apptest::ClickControl(hDlg, IDC_TEXT_FORMAT);
  // So that the picture shows the box checked.
  testsupport::PumpUntil([&] { return ::IsDlgButtonChecked(hDlg, IDC_TEXT_FORMAT) == BST_CHECKED; });
  EXPECT_EQ(testsupport::ClippedChildTexts(hDlg), std::vector<std::wstring>());
  testsupport::SaveWindowPng(hDlg, L"app_nsf_save_options.png");
  EXPECT_STREQ(OkMessage(hDlg), L"");
  run.Finish();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_strFolder, Folder());
  EXPECT_EQ(dlg.m_strFileName, L"mail2024.NSF");
  EXPECT_EQ(dlg.m_strExistingPath, L"");
  EXPECT_EQ(dlg.m_bTextFormat, 1);
}

TEST_F(NsfSaveOptionsChecks, TheDialogTakesAnExistingFile) {
  Touch(Folder() + L"\\archive.nsf");
  CNsfSaveOptionsDlg dlg;
  INT_PTR result = 0;
  ModalRun run(L"Save Options", [&] { result = dlg.DoModal(); });
  HWND hDlg = WaitForReadyDialog(run);
  ASSERT_NE(hDlg, nullptr);

  ChooseOption(hDlg, IDC_SAVE_EXISTING_FILE);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_NSF_EXISTING_PATH)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_NSF_FOLDER)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_NSF_FILE_NAME)));
  EXPECT_EQ(::IsDlgButtonChecked(hDlg, IDC_SAVE_NEW_FILE), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_STREQ(OkMessage(hDlg), L"Please enter file path");
  ::SetDlgItemTextW(hDlg, IDC_NSF_EXISTING_PATH, L"\"" + Folder() + L"\\archive.nsf\"\t");
  EXPECT_STREQ(OkMessage(hDlg), L"");
  run.Finish();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_strExistingPath, Folder() + L"\\archive.nsf");
  EXPECT_EQ(dlg.m_strFolder, L"");
  EXPECT_EQ(dlg.m_strFileName, L"");
  EXPECT_EQ(dlg.m_bTextFormat, 0);
}

// The browse button beside an edit of the dialog (the edit's right neighbour at its height).
HWND BrowseButtonOf(HWND hDlg, int editId) {
  RECT rcEdit = {};
  ::GetWindowRect(::GetDlgItem(hDlg, editId), &rcEdit);
  HWND found = nullptr;
  for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    RECT rc = {};
    ::GetWindowRect(hChild, &rc);
    if (::GetDlgCtrlID(hChild) == XT_IDC_BTN_BROWSE && rc.top == rcEdit.top && rc.left >= rcEdit.right)
      found = hChild;
  }
  return found;
}

// Clicks a browse button of the dialog and returns the window it opens (owned by the dialog).
HWND Browse(HWND hDlg, int editId) {
  HWND hButton = BrowseButtonOf(hDlg, editId);
  if (hButton == nullptr) return nullptr;
  RECT rc = {};
  ::GetClientRect(hButton, &rc);
  testsupport::MouseClick(hButton, rc.right / 2, rc.bottom / 2);
  return apptest::WaitForOwnedMessageBox(hDlg);
}

// Clicks the folder picker's OK once its tree has the folder selected that OK takes, and waits until
// the picker has gone.
void TakePickedFolder(HWND hPicker) {
  HWND tree = ::FindWindowExW(hPicker, nullptr, WC_TREEVIEWW, nullptr);
  testsupport::PumpUntil([&] {
    return TreeView_GetSelection(tree) != nullptr && ::IsWindowEnabled(::GetDlgItem(hPicker, IDOK));
  });
  apptest::ClickControl(hPicker, IDOK);
  testsupport::PumpUntil([&] { return !::IsWindow(hPicker); });
}

TEST_F(NsfSaveOptionsChecks, TheBrowseDialogsOpenInTheTypedFolderElseInDocuments) {
  CNsfSaveOptionsDlg dlg;
  ModalRun run(L"Save Options", [&] { dlg.DoModal(); });
  HWND hDlg = WaitForReadyDialog(run);
  ASSERT_NE(hDlg, nullptr);

  // Nothing typed: the folder picker opens on Documents, and OK at once takes it.
  HWND hPicker = Browse(hDlg, IDC_NSF_FOLDER);
  ASSERT_NE(hPicker, nullptr);
  TakePickedFolder(hPicker);
  testsupport::PumpUntil([&] { return !apptest::TextOf(::GetDlgItem(hDlg, IDC_NSF_FOLDER)).IsEmpty(); },
                         5000);
  EXPECT_EQ(apptest::CanonicalPath(apptest::TextOf(::GetDlgItem(hDlg, IDC_NSF_FOLDER))),
            apptest::CanonicalPath(apptest::DocumentsFolder()));

  // A folder still to be made: the picker opens on the folder it would go in.
  ::SetDlgItemTextW(hDlg, IDC_NSF_FOLDER, Folder() + L"\\new mail");
  hPicker = Browse(hDlg, IDC_NSF_FOLDER);
  ASSERT_NE(hPicker, nullptr);
  TakePickedFolder(hPicker);
  testsupport::PumpUntil(
      [&] { return apptest::TextOf(::GetDlgItem(hDlg, IDC_NSF_FOLDER)) != Folder() + L"\\new mail"; }, 5000);
  EXPECT_EQ(apptest::CanonicalPath(apptest::TextOf(::GetDlgItem(hDlg, IDC_NSF_FOLDER))),
            apptest::CanonicalPath(Folder()));

  // The existing file's dialog opens in the folder of the path typed, and Cancel keeps the text.
  ChooseOption(hDlg, IDC_SAVE_EXISTING_FILE);
  TypeInto(hDlg, IDC_NSF_EXISTING_PATH, Folder() + L"\\archive.nsf");
  HWND hFiles = Browse(hDlg, IDC_NSF_EXISTING_PATH);
  ASSERT_NE(hFiles, nullptr);
  WCHAR shown[MAX_PATH] = {};
  ::SendMessageW(hFiles, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(apptest::CanonicalPath(shown), apptest::CanonicalPath(Folder()));
  apptest::ClickControl(hFiles, IDCANCEL);
  testsupport::PumpUntil([&] { return !::IsWindow(hFiles); }, 5000);
  EXPECT_EQ(apptest::TextOf(::GetDlgItem(hDlg, IDC_NSF_EXISTING_PATH)), Folder() + L"\\archive.nsf");

  apptest::ClickControl(hDlg, IDCANCEL);
  run.Finish();
}

TEST(NsfSaveOptionsDlg, CancelLeavesTheResultsEmpty) {
  CNsfSaveOptionsDlg dlg;
  INT_PTR result = 0;
  ModalRun run(L"Save Options", [&] { result = dlg.DoModal(); });
  HWND hDlg = WaitForReadyDialog(run);
  ASSERT_NE(hDlg, nullptr);
  apptest::ClickControl(hDlg, IDCANCEL);
  // The click ends the dialog, not the clean-up's own cancel.
  EXPECT_TRUE(testsupport::WaitUntil([&] { return run.Done(); }, 5000)) << "Cancel left the dialog open";
  run.Finish();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(dlg.m_strFolder.IsEmpty() && dlg.m_strFileName.IsEmpty() && dlg.m_strExistingPath.IsEmpty());
}

}  // namespace
