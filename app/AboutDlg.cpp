// The About box.
#include "AboutDlg.h"

#include "BufferDC.h"
#include "DrawHelpers.h"
#include "HomePage.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD) {}

CString CAboutDlg::GetAboutText() {
  return CString(
             L"Brindle for PST to NSF ver 8.07.01\r\n\r\nBrindle "
             L"Software\r\nsupport@brindle-software.example\r\n") +
         MAKER_HOME_PAGE;
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ABOUT_TEXT, m_link);
}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_link.SetWindowText(GetAboutText());
  m_link.SetURL(MAKER_HOME_PAGE);
  m_link.SetBackColor(RGB(255, 255, 255));
  return TRUE;
}

void CAboutDlg::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC memDC(dc, rcClient);
  memDC.FillSolidRect(rcClient, 0x00FFFF);
  CRect rcFace(rcClient);
  rcFace.DeflateRect(1, 1);
  DrawGradientRect(&memDC, rcFace, RGB(255, 255, 255), 0xEFFEFF, FALSE);
}
