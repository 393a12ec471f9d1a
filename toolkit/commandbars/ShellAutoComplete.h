// CXTPShellAutoComplete: the shell's auto-completion on a bar edit field. It turns SHAutoComplete on
// for the field and, while the field has the focus, watches the thread's window procedures for the
// shell's suggestion window, so that the bars treat it as part of the open menus and give it the
// navigation keys and the mouse wheel. One watching adapter per thread at a time.
// Created and used on the thread of its field.
#pragma once

#include <afxwin.h>

class CXTPShellAutoComplete {
 public:
  // The adapter of hWndEdit; Enable turns on completion with the shell's flags.
  explicit CXTPShellAutoComplete(HWND hWndEdit);
  ~CXTPShellAutoComplete();
  CXTPShellAutoComplete(const CXTPShellAutoComplete&) = delete;
  CXTPShellAutoComplete& operator=(const CXTPShellAutoComplete&) = delete;

  // SHAutoComplete of shlwapi.dll, looked up by name; FALSE when the library, the entry or the call
  // fails (the field then goes without).
  BOOL Enable(DWORD dwFlags);
  // Installs (or removes) the thread's window-procedure hook while the field has the focus.
  void SetHook(BOOL bSet);
  // The shell's suggestion window while it shows, else NULL.
  HWND GetSuggestionWindow() const { return m_hWndSuggestion; }
  BOOL IsSuggestionShown() const {
    return m_hWndSuggestion != nullptr && ::IsWindowVisible(m_hWndSuggestion);
  }
  // While suggestions show, the dialog keys PageUp, PageDown, Up and Down (without Alt) go to them;
  // TRUE when the key was given.
  BOOL ProcessKey(UINT nChar);
  void HideSuggestions();

 private:
  static LRESULT CALLBACK CallWndProcHook(int nCode, WPARAM wParam, LPARAM lParam);
  void OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos);

  HWND m_hWndEdit;
  HWND m_hWndSuggestion;
  HHOOK m_hHook;
};
