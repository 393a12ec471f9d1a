// CXTPControlEdit: the edit box on a command bar (control type 6). It owns a real edit window
// (CXTPEdit), made on its first placement and destroyed when the control leaves its bar, moves to
// another one or the bar's layout direction changes; the text survives in a cache. While the field
// is empty and not focused it shows a grey hint. The site hears the focus and text changes through
// XTP_WM_COMMANDNOTIFY (codes 0x100, 0x200, 0x300). User-interface thread only.
#pragma once

#include "Control.h"
#include "XTPEdit.h"

class CXTPShellAutoComplete;
class CXTPControlEdit;

// The edit window of an edit control: it tells its control of focus, changes and mouse input.
class CXTPEditControlWindow : public CXTPEdit {
 public:
  explicit CXTPEditControlWindow(CXTPControlEdit* pControl) : m_pControl(pControl) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CXTPControlEdit* m_pControl;
};

// Edit notification codes sent to the site.
enum {
  XTP_EN_SETFOCUS = 0x100,   // the field took the keyboard
  XTP_EN_KILLFOCUS = 0x200,  // the field gave it back
  XTP_EN_CHANGE = 0x300,     // the text changed while the field had the focus
};

class CXTPControlEdit : public CXTPControl {
  DECLARE_SERIAL(CXTPControlEdit)

 public:
  CXTPControlEdit();
  ~CXTPControlEdit() override;

  // ---- Added virtual operations, in their slot order ----
  // Makes the edit-window object (its window comes with the first placement).
  virtual void CreateEditWindow();
  virtual void OnSetFocus(CWnd* pOldWnd);
  virtual void OnKillFocus();
  virtual void OnEditChanged();
  // Text colour and background of the field: slots 18 (17 while the hint shows) on 5; disabled 17 on 15.
  virtual void GetCharFormat(COLORREF& clrText, COLORREF& clrBack);

  // ---- Overrides ----
  void SetEnabled(BOOL bEnabled) override;
  void SetFocused(BOOL bFocused) override;
  BOOL IsFocused() const override { return m_bFocused; }
  void SetRect(CRect rcControl) override;
  BOOL IsCaptionVisible() override { return m_bLabel && !GetCaption().IsEmpty(); }
  BOOL IsEqual(CXTPControl* pOther) override;
  void SetHideFlags(DWORD dwFlags) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  // Enter or a mnemonic: a field without the keyboard takes it, a focused one runs.
  void OnKeyboardActivate() override { OnClick(TRUE); }
  BOOL IsFocusable() const override { return TRUE; }
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
  void SetParent(CXTPCommandBar* pParent) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnMouseHover() override;
  BOOL OnSetSelected(int bSelected) override;
  BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
  int GetCustomizeMinWidth() const override { return m_bLabel ? m_nLabelWidth + 10 : 10; }
  void SetWidth(int nWidth) override;

  // ---- Text and settings ----
  // The text of the field; empty while the hint shows (a typed text equal to the hint is kept).
  CString GetEditText() const;
  // An empty text shows the hint instead.
  void SetEditText(LPCTSTR lpszText);
  CString GetEditHint() const { return m_strEditHint; }
  void SetEditHint(LPCTSTR lpszHint);
  BOOL IsHintShown() const { return m_bHintShown; }
  void SetShellAutoComplete(DWORD dwFlags);
  DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
  BOOL GetReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(BOOL bReadOnly);
  int GetWidth() const { return m_nWidth; }
  BOOL GetShowLabel() const { return m_bLabel; }
  void ShowLabel(BOOL bShow);
  int GetLabelWidth() const { return m_nLabelWidth; }
  // Stored by the paint theme when it measures; a change marks the bar for layout.
  void SetLabelWidth(int nWidth);
  CXTPEdit* GetEditCtrl() const { return m_pEdit; }
  CXTPShellAutoComplete* GetShellAutoComplete() const { return m_pAutoComplete; }

 protected:
  void DestroyEditWindow();
  // Puts text into the window (or the cache), tracking whether the hint is what shows.
  void ShowText(const CString& strText);
  void ApplyWindowFormat();
  // The window's state after a change of its text: cache stale, format again, notify.
  void OnWindowTextChanged();

  CXTPEditControlWindow* m_pEdit = nullptr;
  int m_nWidth = 100;
  BOOL m_bLabel = TRUE;
  BOOL m_bReadOnly = FALSE;
  int m_nLabelWidth = 0;
  BOOL m_bDelayReposition = FALSE;
  CString m_strEditHint;
  BOOL m_bFocused = FALSE;
  CString m_strLastText;
  mutable CString m_strEditText;
  mutable BOOL m_bEditChanged = TRUE;
  BOOL m_bHintShown = FALSE;
  CXTPShellAutoComplete* m_pAutoComplete = nullptr;
  DWORD m_dwShellAutoCompleteFlags = 0;

  friend class CXTPEditControlWindow;
};

// The pieces of placement and focus that the edit and the combo box share.
namespace XTPBarField {
// Creates (when missing) and places a field window under the control's bar.
BOOL PlaceWindow(CXTPControl* pControl, CXTPEdit* pEdit, CRect rcWindow, BOOL bCreate);
// Where the focus goes back to when a field gives up the keyboard.
void ReturnFocus(CXTPControl* pControl, CXTPEdit* pEdit);
// The bar remembers who had the focus before a field took it.
void RememberFocus(CXTPControl* pControl, CWnd* pOldWnd);
// The mouse in a field: customize drags, the context menu and hot tracking of the bar. TRUE when the
// message was handled and must not reach the window.
// Mouse messages of a field pass the bar's tool-tip relay first.
void RelayToBarTips(CXTPControl* pControl, UINT message, WPARAM wParam, LPARAM lParam);
BOOL OnFieldMouse(CXTPControl* pControl, CXTPEdit* pEdit, UINT message, WPARAM wParam, LPARAM lParam);
// Fields have no vertical form: the hide flags that take them out of vertical bars (dwMode with
// LM_VERTDOCK) and bring them back in horizontal ones.
DWORD DockingHideFlags(DWORD dwHideFlags, DWORD dwMode);
// A field hidden by any flag hides its window (position, size and z-order kept).
void HideWindowWhenHidden(CXTPEdit* pEdit, DWORD dwHideFlags);
// The field's text: the cache, read back from the window only when stale; empty while the hint shows.
CString ReadText(const CXTPEdit* pEdit, BOOL bHintShown, CString& strCache, BOOL& bStale);
// The window is going: its text (not the hint) survives in the cache.
void KeepWindowText(CXTPEdit* pEdit, BOOL bHintShown, CString& strCache, BOOL& bStale);
// A field's text and background colours from the bar's theme: the hint and a disabled field in grey.
void FieldColors(CXTPBarTheme* pTheme, BOOL bEnabled, BOOL bHintShown, COLORREF& clrText, COLORREF& clrBack);
// The shell's auto-completion for the window with those flags; NULL when there is no window, no flags
// or the shell refuses.
CXTPShellAutoComplete* MakeShellAutoComplete(CXTPEdit* pEdit, DWORD dwFlags);

// The messages of a field window that the edit and the combo box handle alike: focus taken and lost,
// and the mouse. TRUE when handled, with the result in lResult.
template <class TControl>
BOOL OnFieldMessage(TControl* pControl, CXTPEdit* pEdit, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& lResult) {
  switch (message) {
    case WM_SETFOCUS:
      if (pControl->IsCustomizeMode()) return FALSE;
      pControl->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
      lResult = pEdit->CXTPEdit::WindowProc(message, wParam, lParam);
      pEdit->PostMessage(EM_SETSEL, 0, -1);
      return TRUE;
    case WM_KILLFOCUS:
      lResult = pEdit->CXTPEdit::WindowProc(message, wParam, lParam);
      pControl->OnKillFocus();
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE:
      lResult = 0;
      return OnFieldMouse(pControl, pEdit, message, wParam, lParam);
    default:
      return FALSE;
  }
}
}  // namespace XTPBarField
