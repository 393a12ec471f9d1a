// Printing: what a print job knows about its pages, and a page loop that runs on a printer DC or,
// without a printer, on any other DC (an enhanced metafile or a memory DC), which then simply gets
// the pages drawn one after another.
#pragma once

#include "framework/CommonDialogs.h"
#include "framework/Gdi.h"

class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
  // Pages beyond 0xFFFF cannot be chosen in the dialog; the count is clamped there.
  void SetMaxPage(UINT nMaxPage) {
    m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage > 0xFFFF ? 0xFFFF : nMaxPage);
  }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  // The range the user chose, else all pages.
  UINT GetFromPage() const;
  UINT GetToPage() const;
  UINT GetOffsetPage() const { return m_nOffsetPage; }

  CPrintDialog* m_pPD;  // owned
  BOOL m_bDocObject;
  BOOL m_bDirect;  // print without asking
  BOOL m_bPreview;
  BOOL m_bContinuePrinting;  // a page handler clears it to end the job early
  UINT m_nCurPage;
  UINT m_nNumPreviewPages;
  CString m_strPageDesc;
  LPVOID m_lpUserData;
  CRect m_rectDraw;  // the printable area of the current page, in device units
  UINT m_nOffsetPage;
  DWORD m_dwFlags;
};

// Draws one page; called with m_nCurPage and m_rectDraw set.
typedef void(AFX_CDECL* AFX_PRINTPAGEPROC)(CDC* pDC, CPrintInfo* pInfo, void* pParam);

// Marks pDC as printing and runs the pages from GetFromPage to GetToPage while m_bContinuePrinting
// stays set. A printer DC gets StartDoc/StartPage/EndPage/EndDoc (a failing call aborts the job);
// other DCs just receive the drawing. Returns the number of pages drawn, or -1 on failure.
int AFXAPI AfxPrintPages(CDC* pDC, CPrintInfo* pInfo, LPCTSTR lpszDocName, AFX_PRINTPAGEPROC pfnPrintPage,
                         void* pParam = nullptr);
