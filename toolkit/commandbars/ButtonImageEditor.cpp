// The button image editor dialog, its colour boxes, its preview and its toolbars.
#include "ButtonImageEditor.h"

#include <ColorTable.h>
#include <ImageManager.h>
#include <ImagePixels.h>
#include <ResourceSource.h>
#include <ToolkitResource.h>

#include <afxdlgs.h>
#include <ole2.h>
#include <olectl.h>

namespace {

const UINT kToolButtons[] = {XTP_ID_BUTTON_PENCIL, XTP_ID_BUTTON_FILL,     XTP_ID_BUTTON_UNDO,
                             XTP_ID_BUTTON_REDO,   XTP_ID_BUTTON_GETCOLOR, XTP_ID_BUTTON_LINE,
                             XTP_ID_BUTTON_COPY,   XTP_ID_BUTTON_PASTE,    XTP_ID_BUTTON_RECTANGLE,
                             XTP_ID_BUTTON_CIRCLE, XTP_ID_BUTTON_CLEAR,    XTP_ID_BUTTON_OPEN};
const UINT kMoveButtons[] = {XTP_ID_BUTTON_MOVELEFT, XTP_ID_BUTTON_MOVEDOWN, XTP_ID_BUTTON_MOVEUP,
                             XTP_ID_BUTTON_MOVERIGHT};
const COLORREF kCheckerGrey = RGB(0xEB, 0xEB, 0xEB);

// Whether any registered clipboard format's name holds "DIB32" (pictures with alpha from other programs).
BOOL ClipboardHasDib32() {
  for (UINT nFormat = ::EnumClipboardFormats(0); nFormat != 0; nFormat = ::EnumClipboardFormats(nFormat)) {
    TCHAR szName[256] = {};
    if (::GetClipboardFormatName(nFormat, szName, 255) > 0 && _tcsstr(szName, _T("DIB32")) != nullptr)
      return TRUE;
  }
  return FALSE;
}

}  // namespace

// ---- Colour boxes ------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPImageEditorPicker, CStatic)

BEGIN_MESSAGE_MAP(CXTPImageEditorPicker, CStatic)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CXTPImageEditorPicker::SetColor(COLORREF clr) {
  m_clr = clr;
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CXTPImageEditorPicker::SetSelected(BOOL bSelected) {
  m_bSelected = bSelected;
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CXTPImageEditorPicker::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  if (m_clr == XTP_IMAGEEDITOR_TRANSPARENT) {
    dc.FillSolidRect(rc, RGB(255, 255, 255));
    const CPoint c = rc.CenterPoint();
    dc.FillSolidRect(CRect(rc.left, rc.top, c.x, c.y), kCheckerGrey);
    dc.FillSolidRect(CRect(c.x, c.y, rc.right, rc.bottom), kCheckerGrey);
  } else {
    dc.FillSolidRect(rc, m_clr);
  }
  if (m_bSelected) {
    CBrush brBlack(RGB(0, 0, 0)), brWhite(RGB(255, 255, 255));
    dc.FrameRect(&rc, &brBlack);
    CRect rcInner = rc;
    rcInner.DeflateRect(1, 1);
    dc.FrameRect(&rcInner, &brWhite);
  } else {
    CBrush brFrame(GetXTPColor(COLOR_3DSHADOW));
    dc.FrameRect(&rc, &brFrame);
  }
}

void CXTPImageEditorPicker::OnLButtonDown(UINT, CPoint) {
  NMHDR nmhdr = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(NM_CLICK)};
  GetParent()->SendMessage(WM_NOTIFY, nmhdr.idFrom, reinterpret_cast<LPARAM>(&nmhdr));
}

// ---- Preview -------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPImageEditorPreview, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CXTPImageEditorPreview::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(rc, GetXTPColor(COLOR_3DFACE));
  if (m_pEditor == nullptr) return;
  const CSize size = m_pEditor->GetPictureSize();
  CRect rcPicture(CPoint(10, rc.top + (rc.Height() - size.cy) / 2), size);
  CRect rcFrame = rcPicture;
  rcFrame.InflateRect(3, 3);
  dc.Draw3dRect(rcFrame, RGB(255, 255, 255), GetXTPColor(COLOR_3DSHADOW));
  rcFrame.InflateRect(1, 1);
  dc.Draw3dRect(rcFrame, GetXTPColor(COLOR_3DFACE), GetXTPColor(COLOR_3DDKSHADOW));

  CXTPImageEditorPicture* pGrid = m_pEditor->GetPictureGrid();
  CSize szPixels;
  const DWORD* pPixels = CXTPImageEditorPicture::GetPixels(pGrid->GetPicture(), &szPixels);
  if (pPixels == nullptr) return;
  const COLORREF clrFace = GetXTPColor(COLOR_3DFACE);
  for (int y = 0; y < szPixels.cy && y < size.cy; ++y) {
    for (int x = 0; x < szPixels.cx && x < size.cx; ++x) {
      const DWORD dw = pPixels[(szPixels.cy - 1 - y) * szPixels.cx + x];
      const COLORREF clr = RGB((dw >> 16) & 0xFF, (dw >> 8) & 0xFF, dw & 0xFF);
      COLORREF clrOut = clr;
      if (pGrid->IsAlpha()) {
        const int a = static_cast<int>(dw >> 24);
        clrOut = RGB((GetRValue(clrFace) * (255 - a) + GetRValue(clr) * a) / 255,
                     (GetGValue(clrFace) * (255 - a) + GetGValue(clr) * a) / 255,
                     (GetBValue(clrFace) * (255 - a) + GetBValue(clr) * a) / 255);
      } else if (clr == XTP_IMAGEEDITOR_TRANSPARENT) {
        clrOut = clrFace;
      }
      dc.SetPixelV(rcPicture.left + x, rcPicture.top + y, clrOut);
    }
  }
}

// ---- Toolbars ------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CXTPImageEditorToolBar, CToolBar)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT CXTPImageEditorToolBar::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (!IsWindowVisible()) return 0;
  // The dialog is the command target, as a frame would be for a frame's toolbar.
  OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(GetParent()), FALSE);
  return 0;
}

// ---- The editor ----------------------------------------------------------------------------------------

const CXTPButtonImageEditor::PaletteEntry CXTPButtonImageEditor::s_palette[16] = {
    {RGB(0, 0, 0), XTP_IDS_CLR_BLACK},          {RGB(128, 128, 128), XTP_IDS_CLR_GRAY50},
    {RGB(128, 0, 0), XTP_IDS_CLR_DARK_RED},     {RGB(128, 128, 0), XTP_IDS_CLR_DARK_YELLOW},
    {RGB(0, 128, 0), XTP_IDS_CLR_GREEN},        {RGB(0, 128, 128), XTP_IDS_CLR_TEAL},
    {RGB(0, 0, 128), XTP_IDS_CLR_DARK_BLUE},    {RGB(128, 0, 128), XTP_IDS_CLR_VIOLET},
    {RGB(255, 255, 255), XTP_IDS_CLR_WHITE},    {RGB(192, 192, 192), XTP_IDS_CLR_GRAY25},
    {RGB(255, 0, 0), XTP_IDS_CLR_RED},          {RGB(255, 255, 0), XTP_IDS_CLR_YELLOW},
    {RGB(0, 255, 0), XTP_IDS_CLR_BRIGHT_GREEN}, {RGB(0, 255, 255), XTP_IDS_CLR_TURQUOISE},
    {RGB(0, 0, 255), XTP_IDS_CLR_BLUE},         {RGB(255, 0, 255), XTP_IDS_CLR_PINK},
};

BEGIN_MESSAGE_MAP(CXTPButtonImageEditor, CDialog)
ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
ON_UPDATE_COMMAND_UI_RANGE(XTP_ID_BUTTON_PENCIL, XTP_ID_BUTTON_CIRCLE, OnUpdateTool)
ON_UPDATE_COMMAND_UI(XTP_ID_BUTTON_UNDO, OnUpdateUndo)
ON_UPDATE_COMMAND_UI(XTP_ID_BUTTON_REDO, OnUpdateRedo)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CXTPButtonImageEditor::CXTPButtonImageEditor(CWnd* pParent) : CDialog(XTP_IDD_IMAGEEDITOR_DIALOG, pParent) {
  m_wndPicture.SetEditor(this);
  m_wndPreview.SetEditor(this);
}

CXTPButtonImageEditor::~CXTPButtonImageEditor() = default;

INT_PTR CXTPButtonImageEditor::DoModal() {
  if (LPCDLGTEMPLATE pTemplate = GetToolkitResourceManager()->LoadDialogTemplate(XTP_IDD_IMAGEEDITOR_DIALOG))
    InitModalIndirect(pTemplate, m_pParentWnd);
  return CDialog::DoModal();
}

void CXTPButtonImageEditor::SetSize(int cx, int cy) {
  m_szPicture = CSize(cx, cy);
  m_wndPicture.SetPictureSize(m_szPicture);
}

void CXTPButtonImageEditor::SetIcon(const CXTPIconHandle& hIcon) {
  if (hIcon.IsEmpty()) return;
  const CSize size = hIcon.GetExtent();
  if (size.cx <= 0 || size.cy <= 0) return;
  SetSize(size.cx, size.cy);
  HBITMAP hbmPicture = CXTPImageEditorPicture::CreatePicture(size);
  if (hbmPicture == nullptr) return;
  if (hIcon.IsAlpha()) {
    DWORD* pPixels = CXTPImageEditorPicture::GetPixels(hbmPicture, nullptr);
    XTPImagePixels source;
    if (ReadImagePixels(hIcon.GetBitmap(), source) && source.cx == size.cx && source.cy == size.cy) {
      for (int y = 0; y < size.cy; ++y) {
        const DWORD* pRow = reinterpret_cast<const DWORD*>(source.Row(y));
        for (int x = 0; x < size.cx; ++x) {
          // An alpha picture's empty pixels are the editor's transparent ones.
          pPixels[(size.cy - 1 - y) * size.cx + x] = pRow[x] == 0 ? 0x00FFFEFF : pRow[x];
        }
      }
    }
    m_wndPicture.SetPicture(hbmPicture, TRUE);
  } else {
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hbmPicture);
    ::DrawState(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon.GetIcon()), 0, 0, 0, size.cx, size.cy,
                DST_ICON | DSS_NORMAL);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    m_wndPicture.SetPicture(hbmPicture, FALSE);
  }
}

void CXTPButtonImageEditor::GetIcon(CXTPIconHandle& hIcon) {
  HBITMAP hbmPicture = m_wndPicture.GetPicture();
  if (hbmPicture == nullptr) return;
  if (m_wndPicture.IsAlpha()) {
    hIcon.SetBitmap(hbmPicture);
    return;
  }
  HIMAGELIST hImageList = ::ImageList_Create(m_szPicture.cx, m_szPicture.cy, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (hImageList == nullptr) return;
  // The image list's masked add reads a bitmap that no device context holds.
  HBITMAP hbmCopy = CXTPImageEditorPicture::CopyPicture(hbmPicture);
  if (::ImageList_AddMasked(hImageList, hbmCopy, XTP_IMAGEEDITOR_TRANSPARENT) == 0 &&
      ::ImageList_GetImageCount(hImageList) == 1) {
    if (HICON hNew = ::ImageList_GetIcon(hImageList, 0, ILD_NORMAL)) hIcon.SetIcon(hNew);
  }
  ::DeleteObject(hbmCopy);
  ::ImageList_Destroy(hImageList);
}

BOOL CXTPButtonImageEditor::CreateToolBar(CXTPImageEditorToolBar& wndToolBar, const UINT* pIDs, int nCount,
                                          UINT nIDPlaceholder, CImageList& imageList, int nFirstImage) {
  if (!wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                           WS_CHILD | WS_VISIBLE | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS | CBRS_SIZE_FIXED,
                           CRect(0, 0, 0, 0), 0xE800))
    return FALSE;
  wndToolBar.SetOwner(this);
  wndToolBar.SetSizes(CSize(23, 22), CSize(16, 16));
  if (imageList.GetSafeHandle() != nullptr) {
    while (nFirstImage-- > 0 && imageList.GetImageCount() > 0) imageList.Remove(0);
    wndToolBar.GetToolBarCtrl().SetImageList(&imageList);
  }
  wndToolBar.SetButtons(pIDs, nCount);
  // Three rows of four.
  for (int i = 3; i < nCount - 1; i += 4)
    wndToolBar.SetButtonStyle(i, wndToolBar.GetButtonStyle(i) | TBBS_WRAPPED);
  const int nRows = (nCount + 3) / 4;
  const CSize szButton = wndToolBar.m_sizeButton;
  CRect rcPlaceholder;
  GetDlgItem(static_cast<int>(nIDPlaceholder))->GetWindowRect(&rcPlaceholder);
  ScreenToClient(&rcPlaceholder);
  // Above the group box around it, which would otherwise paint over it.
  wndToolBar.SetWindowPos(&CWnd::wndTop, rcPlaceholder.left - 7, rcPlaceholder.top - 4,
                          std::min(nCount, 4) * szButton.cx + 4, nRows * szButton.cy + 4, SWP_NOACTIVATE);
  return TRUE;
}

BOOL CXTPButtonImageEditor::OnInitDialog() {
  CDialog::OnInitDialog();
  m_wndPlaceholderTools.SubclassDlgItem(XTP_IDC_STATIC_TOOLS, this);
  m_wndPlaceholderMove.SubclassDlgItem(XTP_IDC_STATIC_MOVE, this);

  // Pictures of the tools: 32-bit with alpha where the common controls draw them, else 16 colours.
  for (CImageList* pList : {&m_ilTools, &m_ilMove}) {
    if (CXTPImageManager::IsComCtl6OrLater()) {
      pList->Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 0);
      if (HBITMAP hbm = CXTPImageManager::LoadAlphaBitmap(XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA)) {
        ::ImageList_Add(pList->GetSafeHandle(), hbm, nullptr);
        ::DeleteObject(hbm);
      }
    } else {
      pList->Create(16, 16, ILC_COLOR24 | ILC_MASK, 16, 0);
      CBitmap bmp;
      if (GetToolkitResourceManager()->LoadBitmap(&bmp, XTP_IDB_IMAGEEDITOR_TOOLS))
        pList->Add(&bmp, RGB(0xC0, 0xC0, 0xC0));
    }
  }
  CreateToolBar(m_wndToolsBar, kToolButtons, 12, XTP_IDC_STATIC_TOOLS, m_ilTools, 0);
  CreateToolBar(m_wndMoveBar, kMoveButtons, 4, XTP_IDC_STATIC_MOVE, m_ilMove, 12);

  CRect rcColors;
  GetDlgItem(XTP_IDC_STATIC_COLORS)->GetWindowRect(&rcColors);
  ScreenToClient(&rcColors);
  for (int i = 0; i < 16; ++i) {
    const int nRow = i / 8, nColumn = i % 8;
    const CRect rc(CPoint(rcColors.left + 13 * nColumn, rcColors.top - 4 + 13 * nRow), CSize(11, 11));
    m_wndPalette[i].Create(_T(""), WS_CHILD | WS_VISIBLE | SS_NOTIFY, rc, this, s_palette[i].nID);
    m_wndPalette[i].SetColor(s_palette[i].clr);
  }
  m_wndTransparent.SubclassDlgItem(XTP_IDC_CLR_ERASE, this);
  m_wndTransparent.SetColor(XTP_IMAGEEDITOR_TRANSPARENT);
  m_wndCustom.SubclassDlgItem(XTP_IDC_CLR_PICKER, this);
  m_wndCustom.SetColor(0);
  m_wndPicture.SubclassDlgItem(XTP_IDC_STATIC_PICTURE, this);
  m_wndPicture.SetPictureSize(m_szPicture);
  m_wndPicture.LayoutGrid();
  m_wndPreview.SubclassDlgItem(XTP_IDC_STATIC_PREVIEW, this);
  SelectPicker(XTP_IDS_CLR_BLACK);
  m_nCurrentTool = m_nPreviousTool = toolPencil;
  return TRUE;
}

CXTPImageEditorPicker* CXTPButtonImageEditor::FindPicker(UINT nID) {
  if (nID == XTP_IDC_CLR_ERASE) return &m_wndTransparent;
  if (nID == XTP_IDC_CLR_PICKER) return &m_wndCustom;
  for (int i = 0; i < 16; ++i) {
    if (s_palette[i].nID == nID) return &m_wndPalette[i];
  }
  return nullptr;
}

void CXTPButtonImageEditor::SelectPicker(UINT nID) {
  CXTPImageEditorPicker* pPicker = FindPicker(nID);
  if (pPicker == nullptr) return;
  if (m_pCurrentPicker != nullptr) m_pCurrentPicker->SetSelected(FALSE);
  m_pCurrentPicker = pPicker;
  pPicker->SetSelected(TRUE);
  if (pPicker == &m_wndTransparent) {
    m_clrCurrent = XTP_IMAGEEDITOR_TRANSPARENT;
  } else if (pPicker == &m_wndCustom) {
    m_clrCurrent = m_wndCustom.GetColor();
  } else {
    for (const PaletteEntry& entry : s_palette) {
      if (entry.nID == nID) m_clrCurrent = entry.clr;
    }
  }
}

COLORREF CXTPButtonImageEditor::GetCurrentColor() const { return m_clrCurrent; }

void CXTPButtonImageEditor::SetCurrentTool(int nTool) {
  if (nTool < toolPencil || nTool > toolEllipse) return;
  if (m_nCurrentTool != toolPickColor) m_nPreviousTool = m_nCurrentTool;
  m_nCurrentTool = nTool;
}

void CXTPButtonImageEditor::OnColorPicked(COLORREF clr) {
  m_wndCustom.SetColor(clr);
  SelectPicker(XTP_IDC_CLR_PICKER);
  m_nCurrentTool = m_nPreviousTool;
}

void CXTPButtonImageEditor::OnPictureChanged() {
  if (m_wndPreview.GetSafeHwnd() != nullptr) m_wndPreview.Invalidate(FALSE);
}

BOOL CXTPButtonImageEditor::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  if (pNMHDR->code == static_cast<UINT>(NM_CLICK) &&
      FindPicker(static_cast<UINT>(pNMHDR->idFrom)) != nullptr) {
    const UINT nID = static_cast<UINT>(pNMHDR->idFrom);
    if (nID == XTP_IDC_CLR_PICKER) {
      CColorDialog dlg(m_wndCustom.GetColor(), 0, this);
      dlg.DoModal();
      m_wndCustom.SetColor(dlg.GetColor());
    }
    SelectPicker(nID);
    *pResult = 0;
    return TRUE;
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CXTPButtonImageEditor::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  // Only the toolbars' buttons: the hidden placeholders share some of these numbers but send nothing.
  const BOOL bFromBar = lParam == reinterpret_cast<LPARAM>(m_wndToolsBar.GetSafeHwnd()) ||
                        lParam == reinterpret_cast<LPARAM>(m_wndMoveBar.GetSafeHwnd()) || lParam == 0;
  if (bFromBar) {
    switch (nID) {
      case XTP_ID_BUTTON_PENCIL:
      case XTP_ID_BUTTON_FILL:
      case XTP_ID_BUTTON_GETCOLOR:
      case XTP_ID_BUTTON_LINE:
      case XTP_ID_BUTTON_RECTANGLE:
      case XTP_ID_BUTTON_CIRCLE:
        SetCurrentTool(static_cast<int>(nID - XTP_ID_BUTTON_PENCIL));
        return TRUE;
      case XTP_ID_BUTTON_UNDO:
        m_wndPicture.Undo();
        return TRUE;
      case XTP_ID_BUTTON_REDO:
        m_wndPicture.Redo();
        return TRUE;
      case XTP_ID_BUTTON_CLEAR:
        m_wndPicture.Clear();
        return TRUE;
      case XTP_ID_BUTTON_COPY:
        OnCopy();
        return TRUE;
      case XTP_ID_BUTTON_PASTE:
        OnPaste();
        return TRUE;
      case XTP_ID_BUTTON_MOVELEFT:
        m_wndPicture.MovePicture(-1, 0);
        return TRUE;
      case XTP_ID_BUTTON_MOVEDOWN:
        m_wndPicture.MovePicture(0, 1);
        return TRUE;
      case XTP_ID_BUTTON_MOVEUP:
        m_wndPicture.MovePicture(0, -1);
        return TRUE;
      case XTP_ID_BUTTON_MOVERIGHT:
        m_wndPicture.MovePicture(1, 0);
        return TRUE;
      case XTP_ID_BUTTON_OPEN: {
        CString strFilter;
        GetToolkitResourceManager()->LoadString(strFilter, XTP_IDS_EDITOR_FILTER);
        CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, strFilter, this);
        if (dlg.DoModal() == IDOK) ImportFile(dlg.GetPathName());
        return TRUE;
      }
      default:
        break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CXTPButtonImageEditor::OnUpdateTool(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(static_cast<int>(pCmdUI->m_nID - XTP_ID_BUTTON_PENCIL) == m_nCurrentTool);
}

void CXTPButtonImageEditor::OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndPicture.CanUndo()); }

void CXTPButtonImageEditor::OnUpdateRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndPicture.CanRedo()); }

LRESULT CXTPButtonImageEditor::OnKickIdle(WPARAM, LPARAM) {
  SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  return 0;
}

BOOL CXTPButtonImageEditor::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  const UINT nID = static_cast<UINT>(pNMHDR->idFrom);
  CString strText;
  if (!GetToolkitResourceManager()->LoadString(strText, nID)) return FALSE;
  const int nLineFeed = strText.Find(_T('\n'));
  CString strTip = nLineFeed >= 0 ? strText.Mid(nLineFeed + 1) : strText;
  // At most 80 characters, in a buffer of the editor's with room for the terminator as well (the
  // notification's own buffer holds 79 and its terminator).
  strTip = strTip.Left(nMaxTipText);
  if (pNMHDR->code == TTN_NEEDTEXTW) {
    lstrcpynW(m_szTipTextW, strTip, nMaxTipText + 1);
    reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->lpszText = m_szTipTextW;
  } else {
    ::WideCharToMultiByte(CP_ACP, 0, strTip, -1, m_szTipTextA, sizeof(m_szTipTextA) - 1, nullptr, nullptr);
    m_szTipTextA[sizeof(m_szTipTextA) - 1] = 0;
    reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->lpszText = m_szTipTextA;
  }
  *pResult = 0;
  ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
  return TRUE;
}

// ---- Clipboard and files ----------------------------------------------------------------------------

void CXTPButtonImageEditor::OnCopy() {
  HBITMAP hbmPicture = m_wndPicture.GetPicture();
  const BOOL bAlpha = m_wndPicture.IsAlpha();
  HBITMAP hbmCopy = hbmPicture != nullptr ? CXTPImageEditorPicture::CopyPicture(hbmPicture)
                                          : CXTPImageEditorPicture::CreatePicture(m_szPicture);
  if (hbmCopy == nullptr) return;
  if (!bAlpha) {
    CSize size;
    DWORD* pPixels = CXTPImageEditorPicture::GetPixels(hbmCopy, &size);
    const COLORREF clrFace = GetXTPColor(COLOR_3DFACE);
    const DWORD dwFace = (GetRValue(clrFace) << 16) | (GetGValue(clrFace) << 8) | GetBValue(clrFace);
    for (int i = 0; pPixels != nullptr && i < size.cx * size.cy; ++i) {
      if ((pPixels[i] & 0xFFFFFF) == 0xFFFEFF) pPixels[i] = dwFace;
    }
  }
  CWnd* pOwner = m_wndPicture.GetSafeHwnd() != nullptr ? static_cast<CWnd*>(&m_wndPicture) : this;
  if (OpenClipboardWithBitmap(pOwner->GetSafeHwnd(), hbmCopy, bAlpha)) ::CloseClipboard();
}

BOOL PASCAL CXTPButtonImageEditor::OpenClipboardWithBitmap(HWND hOwner, HBITMAP hbm, BOOL bAlpha) {
  if (!::OpenClipboard(hOwner)) {
    ::DeleteObject(hbm);
    return FALSE;
  }
  if (!::EmptyClipboard()) {
    ::CloseClipboard();
    ::DeleteObject(hbm);
    return FALSE;
  }
  ::SetClipboardData(CF_BITMAP, hbm);
  if (bAlpha) {
    if (HGLOBAL hMark = ::GlobalAlloc(GMEM_MOVEABLE, 1))
      ::SetClipboardData(CXTPImageManager::GetAlphaBitmapClipboardFormat(), hMark);
  }
  return TRUE;
}

void CXTPButtonImageEditor::PasteBitmap(HBITMAP hbm, BOOL bAlpha) {
  // The image manager's reader, within its bounds: a damaged or huge bitmap changes nothing.
  BITMAP bm = {};
  XTPImagePixels source;
  if (hbm == nullptr || ::GetObject(hbm, sizeof(bm), &bm) == 0 ||
      !IsSaneImageExtent(bm.bmWidth, abs(bm.bmHeight)) || !ReadImagePixels(hbm, source))
    return;
  HBITMAP hbmNew = CXTPImageEditorPicture::CreatePicture(m_szPicture);
  DWORD* pTarget = CXTPImageEditorPicture::GetPixels(hbmNew, nullptr);
  if (pTarget == nullptr) {
    if (hbmNew != nullptr) ::DeleteObject(hbmNew);
    return;
  }
  const COLORREF clrFace = GetXTPColor(COLOR_3DFACE);
  const DWORD dwFace = (GetRValue(clrFace) << 16) | (GetGValue(clrFace) << 8) | GetBValue(clrFace);
  for (int y = 0; y < std::min<int>(source.cy, m_szPicture.cy); ++y) {
    const DWORD* pRow = reinterpret_cast<const DWORD*>(source.Row(y));
    for (int x = 0; x < std::min<int>(source.cx, m_szPicture.cx); ++x) {
      DWORD dw = pRow[x];
      if (!bAlpha) {
        dw &= 0xFFFFFF;
        if (dw == dwFace) dw = 0xFFFEFF;
      }
      pTarget[(m_szPicture.cy - 1 - y) * m_szPicture.cx + x] = dw;
    }
  }
  m_wndPicture.ReplacePicture(hbmNew, bAlpha);
}

void CXTPButtonImageEditor::OnPaste() {
  CWnd* pOwner = m_wndPicture.GetSafeHwnd() != nullptr ? static_cast<CWnd*>(&m_wndPicture) : this;
  if (!::IsClipboardFormatAvailable(CF_BITMAP) || !::OpenClipboard(pOwner->GetSafeHwnd())) return;
  HBITMAP hbm = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  const BOOL bAlpha =
      ClipboardHasDib32() || ::IsClipboardFormatAvailable(CXTPImageManager::GetAlphaBitmapClipboardFormat());
  if (hbm != nullptr) PasteBitmap(hbm, bAlpha);
  ::CloseClipboard();
}

BOOL CXTPButtonImageEditor::ImportFile(LPCTSTR lpszFileName) {
  CString strExtension = lpszFileName;
  const int nDot = strExtension.ReverseFind(_T('.'));
  strExtension = nDot >= 0 ? strExtension.Mid(nDot + 1) : CString();
  strExtension.MakeLower();
  if (strExtension == _T("ico")) {
    if (HBITMAP hbm = CXTPImageManager::LoadAlphaIconFile(lpszFileName, m_szPicture.cx)) {
      PasteBitmap(hbm, TRUE);
      ::DeleteObject(hbm);
      return TRUE;
    }
    HICON hIcon = static_cast<HICON>(::LoadImage(nullptr, lpszFileName, IMAGE_ICON, m_szPicture.cx,
                                                 m_szPicture.cy, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (hIcon == nullptr) return FALSE;
    HBITMAP hbmNew = CXTPImageEditorPicture::CreatePicture(m_szPicture);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hbmNew);
    ::DrawIconEx(hDC, 0, 0, hIcon, m_szPicture.cx, m_szPicture.cy, 0, nullptr, DI_NORMAL);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DestroyIcon(hIcon);
    m_wndPicture.ReplacePicture(hbmNew, FALSE);
    return TRUE;
  }
  if (strExtension == _T("bmp")) {
    HBITMAP hbmAlpha = CXTPImageManager::LoadAlphaBitmapFile(lpszFileName);
    HBITMAP hbm =
        hbmAlpha != nullptr
            ? hbmAlpha
            : static_cast<HBITMAP>(::LoadImage(nullptr, lpszFileName, IMAGE_BITMAP, 0, 0,
                                               LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION));
    if (hbm == nullptr) return FALSE;
    PasteBitmap(hbm, hbmAlpha != nullptr);
    ::DeleteObject(hbm);
    return TRUE;
  }
  IPicture* pPicture = nullptr;
  if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(static_cast<LPCOLESTR>(lpszFileName)), nullptr, 0, 0,
                                  IID_IPicture, reinterpret_cast<void**>(&pPicture))) ||
      pPicture == nullptr)
    return FALSE;
  HBITMAP hbmNew = CXTPImageEditorPicture::CreatePicture(m_szPicture);
  OLE_XSIZE_HIMETRIC cxHimetric = 0;
  OLE_YSIZE_HIMETRIC cyHimetric = 0;
  pPicture->get_Width(&cxHimetric);
  pPicture->get_Height(&cyHimetric);
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, hbmNew);
  pPicture->Render(hDC, 0, 0, m_szPicture.cx, m_szPicture.cy, 0, cyHimetric, cxHimetric, -cyHimetric,
                   nullptr);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  pPicture->Release();
  m_wndPicture.ReplacePicture(hbmNew, FALSE);
  return TRUE;
}
