// The preview dialog: the rich-text control's calls with their failures caught, its layout, and its
// events.
#include "ItemPreviewDlg.h"

namespace {

// The rightmost pixels of the control hold its vertical scroll bar: a press there is left alone.
const int SCROLL_BAR_ALLOWANCE = 20;

}  // namespace

BEGIN_MESSAGE_MAP(CItemPreviewDlg, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CItemPreviewDlg, CDialog)
ON_EVENT(CItemPreviewDlg, IDC_RICH_TEXT, DISPID_CLICK, OnClickRichText, VTS_NONE)
ON_EVENT(CItemPreviewDlg, IDC_RICH_TEXT, DISPID_MOUSEDOWN, OnMouseDownRichText, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT(CItemPreviewDlg, IDC_RICH_TEXT, DISPID_KEYDOWN, OnKeyDownRichText, VTS_PI2 VTS_I2)
ON_EVENT(CItemPreviewDlg, IDC_RICH_TEXT, DISPID_KEYPRESS, OnKeyPressRichText, VTS_PI2)
ON_EVENT(CItemPreviewDlg, IDC_RICH_TEXT, 1, OnChangeRichText, VTS_NONE)
END_EVENTSINK_MAP()

CItemPreviewDlg::CItemPreviewDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CItemPreviewDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PREVIEW_PLACEHOLDER, m_placeholder);
  DDX_Control(pDX, IDC_PREVIEW_FOCUS, m_focusButton);
  // The template keeps the dialog when its control cannot be made (no such control on this machine).
  if (GetDlgItem(IDC_RICH_TEXT) != nullptr) DDX_Control(pDX, IDC_RICH_TEXT, m_richText);
}

void CItemPreviewDlg::OnSize(UINT nType, int cx, int cy) {
  CDialog::OnSize(nType, cx, cy);
  if (m_richText.GetSafeHwnd() != nullptr) {
    m_richText.MoveWindow(0, 0, cx, cy);
    if (m_focusButton.GetSafeHwnd() != nullptr) m_focusButton.MoveWindow(0, 0, 0, 0);
  }
  if (m_placeholder.GetSafeHwnd() != nullptr) m_placeholder.MoveWindow(0, 0, cx, cy);
}

BOOL CItemPreviewDlg::SetRtfText(const CString& text) {
  if (m_richText.GetSafeHwnd() == nullptr) return FALSE;
  m_richText.ShowWindow(SW_SHOW);
  if (m_placeholder.GetSafeHwnd() != nullptr) m_placeholder.ShowWindow(SW_HIDE);
  try {
    m_richText.SetTextRTF(text);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

BOOL CItemPreviewDlg::LoadRtfFile(const CString& path) {
  if (m_richText.GetSafeHwnd() == nullptr) return FALSE;
  try {
    COleVariant fileType(static_cast<long>(CRichText::FILE_TYPE_RTF), VT_I4);
    m_richText.LoadFile(path, fileType);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

void CItemPreviewDlg::ReleaseLeftButton() {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &input, sizeof input);
}

void CItemPreviewDlg::FocusHiddenButton() {
  if (m_focusButton.GetSafeHwnd() != nullptr) m_focusButton.SetFocus();
}

void CItemPreviewDlg::OnClickRichText() {
  ReleaseLeftButton();
  FocusHiddenButton();
}

void CItemPreviewDlg::OnMouseDownRichText(short /*nButton*/, short /*nShift*/, long x, long /*y*/) {
  CRect rcClient;
  GetClientRect(&rcClient);
  if (x >= rcClient.Width() - SCROLL_BAR_ALLOWANCE) return;
  ReleaseLeftButton();
  FocusHiddenButton();
}

void CItemPreviewDlg::OnKeyDownRichText(short* /*pKeyCode*/, short /*nShift*/) { ReleaseLeftButton(); }

void CItemPreviewDlg::OnKeyPressRichText(short* /*pKeyAscii*/) { ReleaseLeftButton(); }

void CItemPreviewDlg::OnChangeRichText() {}
