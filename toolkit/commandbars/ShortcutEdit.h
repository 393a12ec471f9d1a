// CXTPShortcutEdit: the edit box of the keyboard customize page that captures a key combination as the
// user presses it and shows it as text (Ctrl+Shift+S).
#pragma once

#include <afxwin.h>

class CXTPAcceleratorManager;

class CXTPShortcutEdit : public CEdit {
 public:
  explicit CXTPShortcutEdit(CXTPAcceleratorManager* pManager = nullptr) : m_pManager(pManager) {}

  void Reset();
  BOOL PreTranslateMessage(MSG* pMsg) override;
  const ACCEL& GetAccel() const { return m_accel; }
  BOOL IsKeyDefined() const { return m_bKeyDefined; }

 private:
  ACCEL m_accel = {0, 0, 0};
  BOOL m_bKeyDefined = FALSE;
  CXTPAcceleratorManager* m_pManager;
};
