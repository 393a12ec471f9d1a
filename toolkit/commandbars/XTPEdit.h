// CXTPEdit: the edit window of the edit and combo-box controls on command bars: a rich-edit window
// in plain-text mode when the rich-edit library loads, else a plain edit. It answers the clipboard
// commands, shows its own cut/copy/paste menu, tells the bars when an input method is composing, and
// keeps the thread's count of focused bar edits. Created and used on the thread of its bar.
#pragma once

#include <afxwin.h>
#include <richedit.h>

class CXTPControl;

class CXTPEdit : public CEdit {
  DECLARE_DYNCREATE(CXTPEdit)

 public:
  CXTPEdit();

  // The cut, copy and paste menu at the screen point; FALSE when it cannot be shown (no string for
  // 0xE123, no manager).
  virtual BOOL ShowContextMenu(CXTPControl* pControl, CPoint point);
  // The window: rich edit (change events on, plain text with single-level undo) or a plain edit.
  virtual BOOL CreateEdit(DWORD dwStyle, CWnd* pParentWnd);

  // Navigation keys (Backspace, 0x21 to 0x2E) reach the window as WM_KEYDOWN; TRUE when it used one.
  BOOL ProcessKey(UINT nChar);
  BOOL IsComposing() const { return m_bComposing; }
  // Whether the window is a rich edit (it takes character formats).
  BOOL IsRichEdit() const;

  // The rich-edit library of the process, loaded on first use: TRUE when one loaded; *pbVersion2
  // tells whether it is the version-2 library.
  static BOOL PASCAL LoadRichEditLibrary(BOOL* pbVersion2 = nullptr);
  // The thread's count of bar edits that hold the keyboard (a focused field, an open combo list).
  static int PASCAL GetFocusedEditCount();
  static void PASCAL AddFocusedEditCount(int nDelta);
  // The character format of a field: text and background colour. With the version-2 library the
  // record is sent as a CHARFORMAT2W (116 bytes), else as the version-1 class's CHARFORMATA (60 bytes).
  void ApplyCharFormat(COLORREF clrText, COLORREF clrBack);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // Enabled state of copy and cut (a selection) and paste (text on the clipboard).
  BOOL IsEditCommandEnabled(UINT nID) const;

  BOOL m_bComposing;
};
