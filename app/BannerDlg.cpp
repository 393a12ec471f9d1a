// The banner: its link to the maker's web site.
#include "BannerDlg.h"

#include "HomePage.h"

BEGIN_MESSAGE_MAP(CBannerDlg, CDialog)
ON_BN_CLICKED(IDC_BANNER_LINK, OnLinkClicked)
END_MESSAGE_MAP()

CBannerDlg::CBannerDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CBannerDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BANNER_LINK, m_link);
}

BOOL CBannerDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_link.SetURL(MAKER_HOME_PAGE);
  return TRUE;
}

// The link opens the site itself when it is clicked; a command 1026 from elsewhere opens it here.
void CBannerDlg::OnLinkClicked() { OpenMakerHomePage(); }
