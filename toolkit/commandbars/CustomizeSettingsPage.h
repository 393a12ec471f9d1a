// CXTPCustomizeSettingsPage: the "&Options" page of the customize sheet. Each check box and the
// animation list write their option into the command bars at once; CXTPCustomizeGroupCaption draws
// the page's two section captions with a line after the text.
#pragma once

#include <ThemeHandle.h>
#include <afxcmn.h>
#include <afxdlgs.h>

class CXTPCustomizeSheet;
class CXTPCommandBars;

class CXTPCustomizeGroupCaption : public CStatic {
 public:
  CXTPCustomizeGroupCaption() = default;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnDestroy();

  CXTThemeHandle m_themeButton;

  DECLARE_MESSAGE_MAP()
};

// Created by the application (the main frame) with its sheet, on the user-interface thread; the
// application owns it.
class CXTPCustomizeSettingsPage : public CPropertyPage {
 public:
  explicit CXTPCustomizeSettingsPage(CXTPCustomizeSheet* pSheet);

  BOOL m_bAlwaysShowFullMenus;
  BOOL m_bShowFullAfterDelay;
  BOOL m_bLargeIcons;
  BOOL m_bToolBarScreenTips;
  BOOL m_bToolBarAccelTips;
  int m_nAnimationType;
  CComboBox m_comboAnimationType;

  void OnResetData();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  CXTPCommandBars* GetCommandBars() const;

  afx_msg void OnCheckFullMenus();
  afx_msg void OnCheckAfterDelay();
  afx_msg void OnCheckLargeIcons();
  afx_msg void OnCheckScreenTips();
  afx_msg void OnCheckShortcuts();
  afx_msg void OnAnimationChanged();

  CXTPCustomizeSheet* m_pSheet;
  CXTPCustomizeGroupCaption m_wndCaptionPersonalized;
  CXTPCustomizeGroupCaption m_wndCaptionOther;

  DECLARE_MESSAGE_MAP()
};
