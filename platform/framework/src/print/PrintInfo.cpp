#include "afxwin.h"
#include "afxdlgs.h"
#include "framework/PrintInfo.h"

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)),
      m_bDocObject(FALSE),
      m_bDirect(FALSE),
      m_bPreview(FALSE),
      m_bContinuePrinting(TRUE),
      m_nCurPage(1),
      m_nNumPreviewPages(0),
      m_lpUserData(nullptr),
      m_rectDraw(0, 0, 0, 0),
      m_nOffsetPage(0),
      m_dwFlags(0) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
  m_pPD->m_pd.nFromPage = 1;
  m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() {
  if (m_pPD != nullptr && m_pPD->m_pd.hDC != nullptr) {
    ::DeleteDC(m_pPD->m_pd.hDC);
    m_pPD->m_pd.hDC = nullptr;
  }
  delete m_pPD;
}

UINT CPrintInfo::GetFromPage() const {
  if (m_pPD->m_pd.Flags & PD_PAGENUMS) return m_pPD->m_pd.nFromPage;
  return GetMinPage();
}

UINT CPrintInfo::GetToPage() const {
  if (m_pPD->m_pd.Flags & PD_PAGENUMS) return m_pPD->m_pd.nToPage;
  return GetMaxPage();
}

int AFXAPI AfxPrintPages(CDC* pDC, CPrintInfo* pInfo, LPCTSTR lpszDocName, AFX_PRINTPAGEPROC pfnPrintPage,
                         void* pParam) {
  if (pDC == nullptr || pDC->GetSafeHdc() == nullptr || pInfo == nullptr || pfnPrintPage == nullptr)
    return -1;
  UINT nFrom = pInfo->GetFromPage();
  UINT nTo = pInfo->GetToPage();
  if (nFrom == 0 || nFrom > nTo) return -1;
  HDC hDC = pDC->GetSafeHdc();
  const BOOL bPrinter = ::GetDeviceCaps(hDC, TECHNOLOGY) == DT_RASPRINTER;
  BOOL bWasPrinting = pDC->m_bPrinting;
  pDC->m_bPrinting = TRUE;
  if (bPrinter) {
    DOCINFO di = {};
    di.cbSize = sizeof(di);
    di.lpszDocName = lpszDocName != nullptr ? lpszDocName : L"";
    if (::StartDoc(hDC, &di) <= 0) {
      pDC->m_bPrinting = bWasPrinting;
      return -1;
    }
  }
  int nPages = 0;
  BOOL bFailed = FALSE;
  pInfo->m_bContinuePrinting = TRUE;
  for (UINT nPage = nFrom; nPage <= nTo && pInfo->m_bContinuePrinting; ++nPage) {
    pInfo->m_nCurPage = nPage;
    pInfo->m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(hDC, HORZRES), ::GetDeviceCaps(hDC, VERTRES));
    if (bPrinter && ::StartPage(hDC) <= 0) {
      bFailed = TRUE;
      break;
    }
    int nSaved = ::SaveDC(hDC);
    pfnPrintPage(pDC, pInfo, pParam);
    ::RestoreDC(hDC, nSaved);
    if (bPrinter && ::EndPage(hDC) <= 0) {
      bFailed = TRUE;
      break;
    }
    ++nPages;
    if (nPage == 0xFFFFFFFFu) break;
  }
  if (bPrinter) {
    if (bFailed) {
      ::AbortDoc(hDC);
    } else {
      ::EndDoc(hDC);
    }
  }
  pDC->m_bPrinting = bWasPrinting;
  return bFailed ? -1 : nPages;
}
