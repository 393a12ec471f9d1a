// The system's common dialogs as framework dialogs: file open/save (CFileDialog), colour
// (CColorDialog), font (CFontDialog) and printer (CPrintDialog). Each runs modally on the calling
// thread.
#pragma once

#include "framework/Dialog.h"

#include <commdlg.h>

#include <vector>

class CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
 public:
  explicit CCommonDialog(CWnd* pParentWnd);

 protected:
  // The window that owns the dialog: the parent given, else the application's main window.
  HWND GetOwnerHwnd() const;
};

// The file name and the filter are copied: the caller's strings need not outlive the object.
// Filters use the framework's form, "|"-separated and ending in "||":
// "PST File(*.pst)|*.pst||". m_ofn may be changed between construction and DoModal.
class CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  OPENFILENAME m_ofn;

  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr, DWORD dwSize = 0);

  // IDOK when the user chose a file, IDCANCEL when the dialog was cancelled or failed. A name whose
  // full path would be MAX_PATH characters or more is refused with PATH_TOO_LONG_TEXT while the dialog
  // stays open: the system's dialog builds that path in a MAX_PATH buffer (Wine's overruns it and
  // faults), and the plain file functions open no longer path either. A hook of the caller's
  // (OFN_ENABLEHOOK) still gets every message of its own.
  INT_PTR DoModal() override;

  // The refusal's message, in a box titled with the application's name.
  static const wchar_t PATH_TOO_LONG_TEXT[];

  // The chosen file: full path, name with extension, extension alone, name without extension.
  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

  // With OFN_ALLOWMULTISELECT: every chosen path in turn.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

 protected:
  BOOL m_bOpenFileDialog;

 private:
  std::vector<WCHAR> m_fileBuffer;
  std::vector<WCHAR> m_fileTitle;
  std::vector<WCHAR> m_filter;
  CString m_strDefExt;
  // The caller's own hook, which the dialog's guard passes every message on to; none when null.
  LPOFNHOOKPROC m_pfnCallerHook = nullptr;
  // Room for the dot and the longest extension the dialog may add to a name without one.
  int m_nExtensionRoom = 0;

  // How long the path is that the system's dialog builds from strName typed in strFolder: a relative
  // name joins the folder, a name rooted without a drive takes the folder's drive; a name without an
  // extension gets nExtensionRoom more, for the extension the dialog may add.
  static int PASCAL BuiltPathLength(const CString& strFolder, const CString& strName, int nExtensionRoom);
  int ExtensionRoom() const;
  BOOL IsTypedNameTooLong(HWND hDialog) const;
  static UINT_PTR CALLBACK GuardHookProc(HWND hChild, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK GuardDialogProc(HWND hDialog, UINT message, WPARAM wParam, LPARAM lParam);
};

class CColorDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CColorDialog)
 public:
  CHOOSECOLOR m_cc;

  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
  // The custom colours the dialog shows, shared by every colour dialog of the process.
  static COLORREF* PASCAL GetSavedCustomColors();
};

class CFontDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFontDialog)
 public:
  CHOOSEFONT m_cf;

  // lplfInitial (copied) preselects a font; pdcPrinter lists the printer's fonts (CF_PRINTERFONTS).
  explicit CFontDialog(LPLOGFONT lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                       CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
  INT_PTR DoModal() override;

  void GetCurrentFont(LPLOGFONT lplf) const { *lplf = m_lf; }
  CString GetFaceName() const { return CString(m_lf.lfFaceName); }
  CString GetStyleName() const { return CString(m_szStyleName); }
  int GetSize() const { return m_cf.iPointSize; }  // tenths of a point
  COLORREF GetColor() const { return m_cf.rgbColors; }
  int GetWeight() const { return m_lf.lfWeight; }
  BOOL IsStrikeOut() const { return m_lf.lfStrikeOut != 0; }
  BOOL IsUnderline() const { return m_lf.lfUnderline != 0; }
  BOOL IsBold() const { return m_lf.lfWeight == FW_BOLD; }
  BOOL IsItalic() const { return m_lf.lfItalic != 0; }

 private:
  LOGFONT m_lf;
  WCHAR m_szStyleName[64];
};

// Printer choice. The DC it creates belongs to the caller (DeleteDC), as do m_pd.hDevMode and
// m_pd.hDevNames, which the object frees on destruction unless the caller took them.
class CPrintDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CPrintDialog)
 public:
  PRINTDLG m_pd;

  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                        PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                        CWnd* pParentWnd = nullptr);
  ~CPrintDialog() override;
  INT_PTR DoModal() override;
  // The default printer without showing anything; FALSE when there is none.
  BOOL GetDefaults();
  // A DC for the chosen printer, or NULL.
  HDC CreatePrinterDC();
  HDC GetPrinterDC() const { return m_pd.hDC; }
  LPDEVMODE GetDevMode() const;
  CString GetDriverName() const;
  CString GetDeviceName() const;
  CString GetPortName() const;
  int GetCopies() const;
  BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
  int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
  int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

 private:
  CString DevNamesString(size_t offsetMember) const;
};
