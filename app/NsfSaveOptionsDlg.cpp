// The Save Options dialog: its choice between a new and an existing NSF, and the checks of OnOK.
#include "NsfSaveOptionsDlg.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CNsfSaveOptionsDlg, CDialog)
ON_BN_CLICKED(IDC_SAVE_NEW_FILE, OnNewFile)
ON_BN_CLICKED(IDC_SAVE_EXISTING_FILE, OnExistingFile)
END_MESSAGE_MAP()

namespace {

// Longest full path of a new NSF that the conversion accepts.
const int kMaxNewPathLength = 256;

DWORD Attributes(const CString& path) { return ::GetFileAttributes(path); }

bool IsFolder(const CString& path) {
  const DWORD dwAttributes = Attributes(path);
  return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const CString& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// A file name that the system takes for one of its devices, whatever the folder: its part before the
// first dot, without the blanks after it, is a device's name ("NUL", "com1.nsf", "CON .nsf").
bool IsDeviceName(const CString& strName) {
  CString strBase = strName;
  const int nDot = strBase.Find(L'.');
  if (nDot >= 0) strBase = strBase.Left(nDot);
  strBase.TrimRight(L' ');
  strBase.MakeUpper();
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kDevices) {
    if (strBase == device) return true;
  }
  // COM0-COM9 and LPT0-LPT9, and with the superscript digits 1, 2 and 3.
  if (strBase.GetLength() != 4 || (strBase.Left(3) != L"COM" && strBase.Left(3) != L"LPT")) return false;
  const wchar_t digit = strBase[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\x00B9' || digit == L'\x00B2' || digit == L'\x00B3';
}

// The last part of a path, the file's name.
CString NameOfPath(const CString& strPath) {
  const int nSeparator = std::max(strPath.ReverseFind(L'\\'), strPath.ReverseFind(L'/'));
  return strPath.Mid(nSeparator + 1);
}

}  // namespace

const wchar_t CNsfSaveOptionsDlg::RESERVED_NAME_TEXT[] =
    L"The file name cannot be used, it is reserved by the system, Please provide a different file name";
const wchar_t CNsfSaveOptionsDlg::PATH_TOO_LONG_TEXT[] =
    L"The file path is too long to process (more than 259 characters), Please provide a shorter path";

CNsfSaveOptionsDlg::CNsfSaveOptionsDlg(CWnd* pParent) : CDialog(IDD, pParent), m_bTextFormat(0) {}

void CNsfSaveOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SAVE_NEW_FILE, m_btnNewFile);
  DDX_Control(pDX, IDC_NSF_FILE_NAME, m_editFileName);
  DDX_Control(pDX, IDC_NSF_FOLDER, m_editFolder);
  DDX_Control(pDX, IDC_NSF_EXISTING_PATH, m_editExistingPath);
  DDX_Control(pDX, IDC_TEXT_FORMAT, m_chkTextFormat);
}

BOOL CNsfSaveOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_editFolder.Initialize(this, BES_XT_CHOOSEDIR);
  m_btnNewFile.SetCheck(BST_CHECKED);
  m_editExistingPath.Initialize(this, BES_XT_CHOOSEFILE);
  m_editExistingPath.SetDlgFilter(L"NSF File(*.nsf)|*.nsf||");
  // Disabled once its browse button exists, so that the button is disabled with it.
  m_editExistingPath.EnableWindow(FALSE);
  return TRUE;
}

// The edits and their browse buttons stand between the two options, so the options are kept
// exclusive here rather than by their group.
void CNsfSaveOptionsDlg::OnNewFile() {
  CheckRadioButton(IDC_SAVE_EXISTING_FILE, IDC_SAVE_NEW_FILE, IDC_SAVE_NEW_FILE);
  m_editExistingPath.EnableWindow(FALSE);
  m_editFileName.EnableWindow(TRUE);
  m_editFolder.EnableWindow(TRUE);
}

void CNsfSaveOptionsDlg::OnExistingFile() {
  CheckRadioButton(IDC_SAVE_EXISTING_FILE, IDC_SAVE_NEW_FILE, IDC_SAVE_EXISTING_FILE);
  m_editExistingPath.EnableWindow(TRUE);
  m_editFileName.EnableWindow(FALSE);
  m_editFolder.EnableWindow(FALSE);
}

CString CNsfSaveOptionsDlg::TypedPath(const CString& strText) {
  CString strPath = strText;
  strPath.Trim(L" \t\r\n\"");
  return strPath;
}

CString CNsfSaveOptionsDlg::FileNameOf(const CString& strText) {
  CString strName = strText;
  strName.Trim(L" \t\r\n");
  // The system drops them from a file's name; the extension is looked for without them.
  strName.TrimRight(L". ");
  return strName;
}

CString CNsfSaveOptionsDlg::NewFilePath(const CString& strFolder, const CString& strFileName,
                                        LPCTSTR lpszExtension) {
  CString strPath = strFolder;
  if (strPath.Right(1) != L"\\") strPath += L"\\";
  strPath += strFileName;
  if (strFileName.Right(4).CompareNoCase(L".nsf") != 0) strPath += lpszExtension;
  return strPath;
}

CString CNsfSaveOptionsDlg::CheckNewFile(const CString& strFolder, const CString& strFileName,
                                         CString* pFullPath) {
  if (strFolder.IsEmpty()) return L"Please enter folder path";
  // A file is no folder to create the NSF in.
  if (!IsFolder(strFolder)) return L"Please enter valid folder path";
  if (strFileName.IsEmpty()) return L"Please enter file name";
  if (strFileName.FindOneOf(L"\\/:*?\"<>|") >= 0) {
    return L"Please enter valid File Name \r\n(Make sure following character does not exist \\/:*?\"<>|) ";
  }
  // A device "exists" in every folder: the existence test below would name the wrong cause.
  if (IsDeviceName(strFileName)) return RESERVED_NAME_TEXT;
  const CString fullPath = NewFilePath(strFolder, strFileName, L".nsf");
  if (Exists(fullPath)) return L"The file already exists, Please provide a different file name";
  if (fullPath.GetLength() > kMaxNewPathLength) {
    return L"The file name is too large to process, Please provide a different file name";
  }
  if (pFullPath != nullptr) *pFullPath = fullPath;
  return CString();
}

CString CNsfSaveOptionsDlg::CheckExistingFile(const CString& strPath) {
  if (strPath.IsEmpty()) return L"Please enter file path";
  // The NSF is opened by its plain path, which the system takes up to MAX_PATH - 1 characters.
  if (strPath.GetLength() >= MAX_PATH) return PATH_TOO_LONG_TEXT;
  if (IsDeviceName(NameOfPath(strPath))) return RESERVED_NAME_TEXT;
  if (!Exists(strPath) || IsFolder(strPath)) return L"Please enter valid file";
  CString upper = strPath;
  upper.MakeUpper();
  if (upper.Find(L".NSF") < 0) return L"Please enter .NSF file";
  return CString();
}

void CNsfSaveOptionsDlg::OnOK() {
  const BYTE bTextFormat = m_chkTextFormat.GetCheck() == BST_CHECKED ? 1 : 0;
  if (m_btnNewFile.GetCheck() == BST_CHECKED) {
    CString strFolder, strFileName;
    m_editFolder.GetWindowText(strFolder);
    m_editFileName.GetWindowText(strFileName);
    strFolder = TypedPath(strFolder);
    strFileName = FileNameOf(strFileName);
    const CString message = CheckNewFile(strFolder, strFileName, nullptr);
    if (!message.IsEmpty()) {
      MessageBox(message, nullptr, MB_OK);
      return;
    }
    m_strFolder = strFolder;
    m_strFileName = strFileName;
    m_strExistingPath.Empty();
  } else {
    CString strPath;
    m_editExistingPath.GetWindowText(strPath);
    strPath = TypedPath(strPath);
    const CString message = CheckExistingFile(strPath);
    if (!message.IsEmpty()) {
      MessageBox(message, nullptr, MB_OK);
      return;
    }
    m_strExistingPath = strPath;
    m_strFolder.Empty();
    m_strFileName.Empty();
  }
  m_bTextFormat = bTextFormat;
  EndDialog(IDOK);
}
