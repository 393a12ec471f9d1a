// CXTPAcceleratorManager: the keyboard shortcuts of one manager as a Windows accelerator table. It
// translates keys, makes the shortcut texts menus and tips show (Ctrl+Shift+S), names keys, matches
// keys against mnemonics across keyboard layouts and stores the table when a default table exists.
// User-interface thread only.
#pragma once

#include <afxwin.h>

class CXTPCommandBars;

class CXTPAcceleratorManager : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPAcceleratorManager)

 public:
  explicit CXTPAcceleratorManager(CXTPCommandBars* pCommandBars = nullptr);
  ~CXTPAcceleratorManager() override;

  // ---- Virtual operations, in their slot order ----
  // The best shortcut text of the command (Ctrl 3, Alt 2, Shift 1, none 4: higher wins, ties keep the
  // first). A text already equal to one of them stays. FALSE (text emptied) when the command has none.
  virtual BOOL GetShortcutText(int nCmd, CString& strShortcut);
  virtual CString FormatShortcut(const ACCEL* pAccel, int* pnPriority = nullptr);
  virtual CString GetKeyName(UINT nVirtualKey);
  // FALSE only for a plain Escape while Escape is not allowed.
  virtual BOOL IsShortcutAllowed(const ACCEL* pAccel, BOOL bShowError = FALSE);
  virtual HACCEL GetAcceleratorTable() const { return m_hAccelTable; }
  // The current table becomes a copy of the default table (none without one).
  virtual void ResetAccelerators();

  // A new table made from the entries becomes current; the old one is destroyed.
  void SetAccelerators(const ACCEL* pAccels, int nCount);
  // Takes ownership of hAccel as the table a reset returns to; the current table becomes a copy.
  void SetDefaultAccelerators(HACCEL hAccel);
  HACCEL GetDefaultAcceleratorTable() const { return m_hDefaultAccelTable; }
  BOOL TranslateAccelerator(CWnd* pWnd, MSG* pMsg);
  BOOL TranslateAccelerator(HWND hWnd, MSG* pMsg);
  void AdjustDisableCount(BOOL bRaise) { m_nDisableCount += bRaise ? 1 : -1; }
  int GetDisableCount() const { return m_nDisableCount; }
  // "Accelerators" in the profile section, only while a default table exists.
  void SaveShortcuts(LPCTSTR lpszProfileName);
  void LoadShortcuts(LPCTSTR lpszProfileName);
  // Whether the key, under any installed keyboard layout, produces the character.
  static BOOL PASCAL IsKeyForChar(UINT nVirtualKey, TCHAR chMnemonic);

  BOOL m_bAllowEscapeShortcut = FALSE;
  BOOL m_bUseSystemKeyNameText = FALSE;

 protected:
  CString GetSystemKeyName(UINT nVirtualKey) const;

  int m_nDisableCount = 0;
  CXTPCommandBars* m_pCommandBars;
  HACCEL m_hAccelTable = nullptr;
  HACCEL m_hDefaultAccelTable = nullptr;
  CMap<UINT, UINT, CString, const CString&> m_mapKeyNames;
};
