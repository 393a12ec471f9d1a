// CXTBrowseEdit: an edit with a small browse button at its right that opens the folder picker, a
// file dialog or a popup menu and writes the choice back into the edit. Cancel or failure leaves the
// text as it was. User-interface thread only.
#pragma once

#include "BrowseButton.h"
#include "Edit.h"

class CFileDialog;

// Browse modes (only the low three bits count).
#define BES_XT_CHOOSEDIR 0x0001
#define BES_XT_CHOOSEFILE 0x0002
#define BES_XT_POPUPMENU 0x0004

class CXTBrowseEdit : public CXTEdit {
  DECLARE_DYNAMIC(CXTBrowseEdit)

 public:
  CXTBrowseEdit();
  ~CXTBrowseEdit() override;

  BOOL Initialize(CWnd* pOwner) override;
  // An external file dialog (not owned) that ChooseFile runs instead of its own.
  virtual void SetDlgOpenFile(CFileDialog* pFileOpenDialog) { m_pFileOpenDialog = pFileOpenDialog; }
  // TRUE an Open dialog, FALSE Save As.
  virtual void SetDlgOpenMode(BOOL bOpenFileDialog) { m_bOpenFileDialog = bOpenFileDialog; }
  virtual void SetDlgDefExt(LPCTSTR lpszDefExt) { m_strDefExt = lpszDefExt; }
  virtual void SetDlgFileName(LPCTSTR lpszFileName) { m_strFileName = lpszFileName; }
  virtual void SetDlgStyle(DWORD dwFlags) { m_dwFlags = dwFlags; }
  // The framework's filter form, "PST File(*.pst)|*.pst||".
  virtual void SetDlgFilter(LPCTSTR lpszFilter) { m_strFilter = lpszFilter; }
  virtual void SetDlgTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  // CXTEdit::Initialize, then (with a mode bit) the browse button beside the edit, which narrows to
  // make room. FALSE when a window is missing or the button cannot be made.
  virtual BOOL Initialize(CWnd* pOwner, DWORD dwBStyle, UINT nMenu = 0, int nSubMenuIndx = 0);
  // The button's action: the mode's picker, then the edit takes the focus with its text selected.
  virtual void OnBrowse();
  // The folder picker and the file dialog open in GetStartFolder of the edit's text.
  virtual void ChooseFolder();
  virtual void ChooseFile();
  virtual void ShowPopupMenu();
  // Places the button at the edit's right, next after it in the z-order.
  virtual void PositionBrowseButton();

  CXTBrowseButton& GetBrowseButton() { return m_btnBrowse; }
  DWORD GetBrowseMode() const { return m_dwBStyle; }
  BOOL IsBusy() const { return m_bBrowsing; }
  const CString& GetDlgFilter() const { return m_strFilter; }
  const CString& GetDlgDefExt() const { return m_strDefExt; }
  const CString& GetDlgTitle() const { return m_strTitle; }
  DWORD GetDlgStyle() const { return m_dwFlags; }
  // The width of every browse button: SM_CXHTHUMB plus two edge widths.
  static int PASCAL GetButtonWidth();
  // Where a browse dialog opens for the typed text: the text itself when it names a folder, else the
  // folder it lies in when that exists, else the user's Documents; never the program's own folder
  // (empty only when even Documents is unknown).
  static CString PASCAL GetStartFolder(const CString& strTyped);

 protected:
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()

 protected:
  int m_nGap;
  BOOL m_bBrowsing = FALSE;
  BOOL m_bOpenFileDialog = TRUE;
  UINT m_nMenu = 0;
  int m_nSubMenuIndx = 0;
  DWORD m_dwFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  DWORD m_dwBStyle = BES_XT_CHOOSEDIR;
  CString m_strDefExt;
  CString m_strFileName;
  CString m_strFilter;
  CString m_strTitle;
  CFileDialog* m_pFileOpenDialog = nullptr;
  CXTBrowseButton m_btnBrowse;
};
