// The commands page of the customize sheet and its command list.
#include "CustomizeCommandsPage.h"

#include "BarHooks.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "ControlPopup.h"
#include "Controls.h"
#include "CustomizeDragSource.h"
#include "CustomizeSheet.h"

#include <BufferDC.h>
#include <ResourceSource.h>
#include <ToolkitResource.h>

#include <windowsx.h>

// ---- The command list ----------------------------------------------------------------------------------

CXTPControl* CXTPCustomizeCommandList::GetItemControl(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  const LRESULT lData = ::SendMessage(m_hWnd, LB_GETITEMDATA, nIndex, 0);
  return lData == LB_ERR ? nullptr : reinterpret_cast<CXTPControl*>(lData);
}

void CXTPCustomizeCommandList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CXTPControl* pControl = reinterpret_cast<CXTPControl*>(lpDrawItemStruct->itemData);
  if (pControl == nullptr || static_cast<int>(lpDrawItemStruct->itemID) < 0) return;
  CXTPCommandBars* pCommandBars = m_pPage->GetCommandBars();
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  pCommandBars->GetPaintManager()->DrawListBoxControl(pDC, pControl, lpDrawItemStruct->rcItem,
                                                      (lpDrawItemStruct->itemState & ODS_SELECTED) != 0, TRUE,
                                                      pCommandBars);
}

void CXTPCustomizeCommandList::OnLButtonDown(CPoint point) {
  CXTPCommandBars* pCommandBars = m_pPage->GetCommandBars();
  pCommandBars->SetDragControl(nullptr);
  BOOL bOutside = TRUE;
  const int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
  if (bOutside || nIndex < 0) {
    Default();
    return;
  }
  SetCurSel(nIndex);
  SetFocus();
  GetParent()->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(m_hWnd));
  CXTPControl* pControl = GetItemControl(nIndex);
  if (pControl != nullptr && pCommandBars->GetDragSource() != nullptr)
    pCommandBars->GetDragSource()->DoDragDrop(pControl, TRUE);
}

LRESULT CXTPCustomizeCommandList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CXTPCommandBars* pCommandBars = m_pPage->GetCommandBars();
  switch (message) {
    case WM_PAINT: {
      CPaintDC dcPaint(this);
      CRect rcClient;
      GetClientRect(&rcClient);
      CXTPBufferDC dc(dcPaint.GetSafeHdc(), rcClient);
      pCommandBars->GetPaintManager()->DrawListBoxControl(&dc, nullptr, rcClient, FALSE, TRUE, pCommandBars);
      CListBox::WindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
      return 0;
    }
    case WM_ERASEBKGND: {
      CRect rcClient;
      GetClientRect(&rcClient);
      pCommandBars->GetPaintManager()->DrawListBoxControl(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                          nullptr, rcClient, FALSE, TRUE, pCommandBars);
      return 1;
    }
    case WM_LBUTTONDOWN:
      OnLButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    default:
      return CListBox::WindowProc(message, wParam, lParam);
  }
}

// ---- The page ------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPCustomizeCommandsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CXTPCustomizeCommandsPage, CPropertyPage)
ON_LBN_SELCHANGE(XTP_IDC_LIST_CATEGORIES, OnCategoryChanged)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CXTPCustomizeCommandsPage::CXTPCustomizeCommandsPage(CXTPCustomizeSheet* pSheet)
    : CPropertyPage(XTP_IDD_PAGE_COMMANDS),
      m_lstCommands(this),
      m_pSheet(pSheet),
      m_categories(pSheet != nullptr ? pSheet->GetCommandBars() : nullptr, FALSE) {}

CXTPCustomizeCommandsPage::~CXTPCustomizeCommandsPage() = default;

CXTPCommandBars* CXTPCustomizeCommandsPage::GetCommandBars() const { return m_categories.GetCommandBars(); }

void CXTPCustomizeCommandsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, XTP_IDC_LIST_CATEGORIES, m_lstCategories);
  DDX_Control(pDX, XTP_IDC_LIST_COMMANDS, m_lstCommands);
}

BOOL CXTPCustomizeCommandsPage::AddAllCommandsCategory(UINT nIDName, int nIndex) {
  CString strName;
  GetToolkitResourceManager()->LoadString(strName, nIDName);
  // The copies are made from the categories there are before the new one is added.
  const int nCount = m_categories.GetCount();
  CXTPControls* pAll = new CXTPControls();
  pAll->SetCommandBars(GetCommandBars());
  for (int i = 0; i < nCount; ++i) {
    CXTPControls* pControls = m_categories.GetAt(i)->pControls;
    for (int j = 0; j < pControls->GetCount(); ++j) pAll->AddClone(pControls->GetAt(j), -1, TRUE);
  }
  XTP_COMMANDBARS_CATEGORYINFO* pInfo = m_categories.GetOrAddCategory(strName, nIndex);
  for (int j = 0; j < pAll->GetCount(); ++j) pInfo->pControls->AddClone(pAll->GetAt(j), -1, TRUE);
  pAll->InternalRelease();
  return TRUE;
}

BOOL CXTPCustomizeCommandsPage::AddBuiltInMenusCategory(UINT nIDMenu, UINT nIDName, int nIndex) {
  CMenu menu;
  if (!GetToolkitResourceManager()->LoadMenu(&menu, nIDMenu)) return FALSE;
  CString strName;
  GetToolkitResourceManager()->LoadString(strName, nIDName);
  CXTPControls* pControls = m_categories.GetOrAddCategory(strName, nIndex)->pControls;
  for (int i = 0; i < static_cast<int>(menu.GetMenuItemCount()); ++i) pControls->ImportMenuItem(&menu, i);
  return TRUE;
}

BOOL CXTPCustomizeCommandsPage::AddNewMenuCategory(UINT nIDName, int nIndex) {
  CString strName;
  GetToolkitResourceManager()->LoadString(strName, nIDName);
  CXTPControls* pControls = m_categories.GetOrAddCategory(strName, nIndex)->pControls;
  CXTPControl* pControl = pControls->Add(xtpControlPopup, 0);
  pControl->SetCaption(strName);
  return TRUE;
}

BOOL CXTPCustomizeCommandsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  for (int i = 0; i < m_categories.GetCount(); ++i) {
    const int nItem = m_lstCategories.AddString(m_categories.GetAt(i)->strCategory);
    m_lstCategories.SetItemData(nItem, static_cast<DWORD_PTR>(i));
  }
  m_lstCategories.SetCurSel(0);
  CXTPCommandBars* pCommandBars = GetCommandBars();
  CClientDC dc(this);
  const CSize szItem = pCommandBars->GetPaintManager()->DrawListBoxControl(&dc, nullptr, CRect(0, 0, 0, 0),
                                                                           FALSE, FALSE, pCommandBars);
  m_lstCommands.SetItemHeight(0, static_cast<UINT>(szItem.cy));
  if (pCommandBars->IsLayoutRTL()) {
    m_lstCommands.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    m_lstCategories.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
  }
  CXTPBarMouseTracker::GetThreadState()->AddExtraWindow(m_hWnd);
  OnCategoryChanged();
  return TRUE;
}

void CXTPCustomizeCommandsPage::OnDestroy() {
  CXTPBarMouseTracker::GetThreadState()->RemoveExtraWindow(m_hWnd);
  CPropertyPage::OnDestroy();
}

void CXTPCustomizeCommandsPage::OnCategoryChanged() {
  m_lstCommands.ResetContent();
  const int nSel = m_lstCategories.GetCurSel();
  XTP_COMMANDBARS_CATEGORYINFO* pInfo =
      nSel >= 0 ? m_categories.GetAt(static_cast<int>(m_lstCategories.GetItemData(nSel))) : nullptr;
  if (pInfo == nullptr) return;
  for (int i = 0; i < pInfo->pControls->GetCount(); ++i)
    ::SendMessage(m_lstCommands.m_hWnd, LB_ADDSTRING, 0,
                  reinterpret_cast<LPARAM>(pInfo->pControls->GetAt(i)));
}
