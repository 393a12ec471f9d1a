// The options page of the customize sheet and its section captions.
#include "CustomizeSettingsPage.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "CustomizeSheet.h"
#include "ToolBar.h"

#include <ResourceSource.h>
#include <ToolkitResource.h>

// ---- Section captions -------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPCustomizeGroupCaption, CStatic)
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

void CXTPCustomizeGroupCaption::OnDestroy() {
  m_themeButton.CloseThemeData();
  CStatic::OnDestroy();
}

void CXTPCustomizeGroupCaption::OnPaint() {
  CPaintDC dc(this);
  if (m_themeButton.GetHandle() == nullptr) m_themeButton.OpenThemeData(m_hWnd, L"BUTTON");
  CRect rc;
  GetClientRect(&rc);
  const BOOL bThemed = m_themeButton.GetHandle() != nullptr && m_themeButton.IsAppThemed();
  COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT);
  COLORREF clrStyled = 0;
  if (bThemed && SUCCEEDED(m_themeButton.GetThemeColor(4, 1, 3803, &clrStyled))) clrText = clrStyled;

  CString strText;
  GetWindowText(strText);
  CFont* pOldFont = dc.SelectObject(GetParent()->GetFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(clrText);
  const BOOL bRight = (GetExStyle() & WS_EX_RIGHT) != 0;
  dc.DrawText(strText, rc, DT_SINGLELINE | DT_VCENTER | (bRight ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
  const int nTextWidth = dc.GetTextExtent(strText).cx;
  dc.SelectObject(pOldFont);

  const int y = rc.CenterPoint().y;
  const int xFrom = bRight ? rc.left : rc.left + nTextWidth + 6;
  const int xTo = bRight ? rc.right - nTextWidth - 6 : rc.right;
  if (xTo <= xFrom) return;
  COLORREF clrBorder = 0;
  if (bThemed && SUCCEEDED(m_themeButton.GetThemeColor(4, 1, 3822, &clrBorder))) {
    dc.FillSolidRect(xFrom, y, xTo - xFrom, 1, clrBorder);
  } else {
    dc.FillSolidRect(xFrom, y, xTo - xFrom, 1, ::GetSysColor(COLOR_BTNSHADOW));
    dc.FillSolidRect(xFrom, y + 1, xTo - xFrom, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  }
}

// ---- The page ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPCustomizeSettingsPage, CPropertyPage)
ON_BN_CLICKED(XTP_IDC_CHECK_FULL_MENUS, OnCheckFullMenus)
ON_BN_CLICKED(XTP_IDC_CHECK_AFTERDELAY, OnCheckAfterDelay)
ON_BN_CLICKED(XTP_IDC_CHECK_LARGEICONS, OnCheckLargeIcons)
ON_BN_CLICKED(XTP_IDC_CHECK_SCREENTTIPS, OnCheckScreenTips)
ON_BN_CLICKED(XTP_IDC_CHECK_SHORTCUTS, OnCheckShortcuts)
ON_BN_CLICKED(XTP_IDC_BUTTON_RESETDATA, OnResetData)
ON_CBN_SELCHANGE(XTP_IDC_COMBO_ANIMATION, OnAnimationChanged)
END_MESSAGE_MAP()

CXTPCustomizeSettingsPage::CXTPCustomizeSettingsPage(CXTPCustomizeSheet* pSheet)
    : CPropertyPage(XTP_IDD_PAGE_OPTIONS), m_pSheet(pSheet) {
  CXTPCommandBarsOptions* pOptions = pSheet->GetCommandBars()->GetCommandBarsOptions();
  m_bAlwaysShowFullMenus = pOptions->bAlwaysShowFullMenus;
  m_bShowFullAfterDelay = pOptions->bShowFullAfterDelay;
  m_bLargeIcons = pOptions->bLargeIcons;
  m_bToolBarScreenTips = pOptions->bToolBarScreenTips;
  m_bToolBarAccelTips = pOptions->bToolBarAccelTips;
  m_nAnimationType = pOptions->animationType;
}

CXTPCommandBars* CXTPCustomizeSettingsPage::GetCommandBars() const { return m_pSheet->GetCommandBars(); }

void CXTPCustomizeSettingsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, XTP_IDC_COMBO_ANIMATION, m_comboAnimationType);
  DDX_Check(pDX, XTP_IDC_CHECK_FULL_MENUS, m_bAlwaysShowFullMenus);
  DDX_Check(pDX, XTP_IDC_CHECK_AFTERDELAY, m_bShowFullAfterDelay);
  DDX_Check(pDX, XTP_IDC_CHECK_LARGEICONS, m_bLargeIcons);
  DDX_Check(pDX, XTP_IDC_CHECK_SCREENTTIPS, m_bToolBarScreenTips);
  DDX_Check(pDX, XTP_IDC_CHECK_SHORTCUTS, m_bToolBarAccelTips);
  DDX_CBIndex(pDX, XTP_IDC_COMBO_ANIMATION, m_nAnimationType);
}

BOOL CXTPCustomizeSettingsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  GetDlgItem(XTP_IDC_CHECK_AFTERDELAY)->EnableWindow(!m_bAlwaysShowFullMenus);
  GetDlgItem(XTP_IDC_CHECK_SHORTCUTS)->EnableWindow(m_bToolBarScreenTips);
  if (GetDlgItem(XTP_IDC_GROUP_PERSONALIZED) != nullptr)
    m_wndCaptionPersonalized.SubclassDlgItem(XTP_IDC_GROUP_PERSONALIZED, this);
  if (GetDlgItem(XTP_IDC_GROUP_OTHER) != nullptr)
    m_wndCaptionOther.SubclassDlgItem(XTP_IDC_GROUP_OTHER, this);
  for (UINT nID = XTP_IDS_ANIMATION_SYSDEF; nID <= XTP_IDS_ANIMATION_NONE; ++nID) {
    CString strName;
    GetToolkitResourceManager()->LoadString(strName, nID);
    m_comboAnimationType.AddString(strName);
  }
  UpdateData(FALSE);
  return TRUE;
}

void CXTPCustomizeSettingsPage::OnCheckFullMenus() {
  UpdateData(TRUE);
  GetCommandBars()->GetCommandBarsOptions()->bAlwaysShowFullMenus = m_bAlwaysShowFullMenus;
  GetDlgItem(XTP_IDC_CHECK_AFTERDELAY)->EnableWindow(!m_bAlwaysShowFullMenus);
}

void CXTPCustomizeSettingsPage::OnCheckAfterDelay() {
  UpdateData(TRUE);
  GetCommandBars()->GetCommandBarsOptions()->bShowFullAfterDelay = m_bShowFullAfterDelay;
}

void CXTPCustomizeSettingsPage::OnCheckLargeIcons() {
  UpdateData(TRUE);
  CXTPCommandBars* pCommandBars = GetCommandBars();
  pCommandBars->GetCommandBarsOptions()->bLargeIcons = m_bLargeIcons;
  for (int i = 0; i < pCommandBars->GetCount(); ++i) pCommandBars->GetAt(i)->OnRecalcLayout();
  pCommandBars->RecalcFrameLayout();
}

void CXTPCustomizeSettingsPage::OnCheckScreenTips() {
  UpdateData(TRUE);
  GetCommandBars()->GetCommandBarsOptions()->bToolBarScreenTips = m_bToolBarScreenTips;
  GetDlgItem(XTP_IDC_CHECK_SHORTCUTS)->EnableWindow(m_bToolBarScreenTips);
}

void CXTPCustomizeSettingsPage::OnCheckShortcuts() {
  UpdateData(TRUE);
  GetCommandBars()->GetCommandBarsOptions()->bToolBarAccelTips = m_bToolBarAccelTips;
}

void CXTPCustomizeSettingsPage::OnAnimationChanged() {
  UpdateData(TRUE);
  if (m_nAnimationType >= 0) GetCommandBars()->GetCommandBarsOptions()->animationType = m_nAnimationType;
}

void CXTPCustomizeSettingsPage::OnResetData() {
  if (GetToolkitResourceManager()->ShowMessageBox(XTP_IDS_CONFIRM_RESETDATA,
                                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES)
    GetCommandBars()->GetCommandBarsOptions()->ResetUsageData();
}
