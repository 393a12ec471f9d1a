// Construction of the toolkit's shared fonts, cursors, colours and metrics.
#include "SystemResources.h"

#include <cstddef>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "OSVersionInfo.h"
#include "ResourceSource.h"
#include "SystemQueries.h"
#include "ToolkitResource.h"

CXTSystemResources::CXTSystemResources() {
  const CXTOSVersionInfo* pVersion = XTOSVersionInfo();
  m_bWin95 = pVersion->IsWin95();
  m_bWin98 = pVersion->IsWin98();
  m_bWinNT4 = pVersion->IsWinNT4();
  m_bWin2K = pVersion->IsWin2K();
  m_bWinXP = pVersion->IsWinXP();
  GetComCtlVersion();
  UpdateMetrics();
  LoadCursors();
  UpdateColors();
  CreateFonts();
}

CXTSystemResources::~CXTSystemResources() { DeleteFonts(); }

BOOL PASCAL CXTSystemResources::GetNonClientMetrics(NONCLIENTMETRICS* pncm) {
  // The record without the padded border width (500 bytes), which every system accepts.
  const UINT cbMetrics = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  ZeroMemory(pncm, sizeof(NONCLIENTMETRICS));
  pncm->cbSize = cbMetrics;
  return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, cbMetrics, pncm, 0);
}

CString PASCAL CXTSystemResources::GetVerticalFontFace(LPCTSTR lpszFace) {
  if (_wcsicmp(lpszFace, _T("Tahoma")) != 0 && FindFontFace(_T("Arial"))) return CString(_T("Arial"));
  return CString(lpszFace);
}

BOOL PASCAL CXTSystemResources::CreateFontFrom(CFont& font, const LOGFONT& lf, int nWeight, BYTE bUnderline,
                                               int nEscapement, int nOrientation) {
  font.DeleteObject();
  LOGFONT lfNew = lf;
  if (nWeight != -1) lfNew.lfWeight = nWeight;
  if (bUnderline != 255) lfNew.lfUnderline = bUnderline;
  if (nEscapement != -1) lfNew.lfEscapement = nEscapement;
  if (nOrientation != -1) lfNew.lfOrientation = nOrientation;
  return font.CreateFontIndirect(&lfNew);
}

void CXTSystemResources::DeleteFonts() {
  for (CFont* pFont :
       {&m_fontRegular, &m_fontBold, &m_fontULine, &m_fontVert, &m_fontVertBold, &m_fontIconTitle,
        &m_fontIconTitleBold, &m_fontMarlett, &m_fontStatus, &m_fontSmCaption}) {
    pFont->DeleteObject();
  }
}

BOOL CXTSystemResources::CreateFonts() {
  DeleteFonts();
  NONCLIENTMETRICS ncm;
  GetNonClientMetrics(&ncm);

  LOGFONT lf = {};
  lf.lfHeight = ncm.lfMenuFont.lfHeight;
  lf.lfWeight = ncm.lfMenuFont.lfWeight;
  lf.lfItalic = ncm.lfMenuFont.lfItalic;
  HDC hScreen = ::GetDC(nullptr);
  lf.lfCharSet =
      static_cast<BYTE>(hScreen != nullptr ? ::GetTextCharsetInfo(hScreen, nullptr, 0) : DEFAULT_CHARSET);
  if (hScreen != nullptr) ::ReleaseDC(nullptr, hScreen);
  lstrcpynW(lf.lfFaceName, ncm.lfMenuFont.lfFaceName, LF_FACESIZE);

  if (!CreateFontFrom(m_fontRegular, lf)) return FALSE;
  if (!CreateFontFrom(m_fontBold, lf, FW_BOLD)) return FALSE;
  if (!CreateFontFrom(m_fontULine, lf, -1, 1)) return FALSE;

  LOGFONT lfVert = lf;
  lstrcpynW(lfVert.lfFaceName, GetVerticalFontFace(ncm.lfMenuFont.lfFaceName), LF_FACESIZE);
  if (!CreateFontFrom(m_fontVert, lfVert, -1, 255, 2700, 900)) return FALSE;
  if (!CreateFontFrom(m_fontVertBold, lfVert, FW_BOLD, 255, 2700, 900)) return FALSE;

  LOGFONT lfIcon = {};
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lfIcon, 0);
  if (!CreateFontFrom(m_fontIconTitle, lfIcon)) return FALSE;
  if (!CreateFontFrom(m_fontIconTitleBold, lfIcon, FW_BOLD)) return FALSE;

  if (!CreateFontFrom(m_fontStatus, ncm.lfStatusFont)) return FALSE;
  if (!CreateFontFrom(m_fontSmCaption, ncm.lfSmCaptionFont)) return FALSE;

  LOGFONT lfSymbol = {};
  lfSymbol.lfHeight = lfIcon.lfHeight;
  lfSymbol.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lfSymbol.lfFaceName, L"Marlett", LF_FACESIZE);
  return CreateFontFrom(m_fontMarlett, lfSymbol);
}

BOOL CXTSystemResources::LoadCursors() {
  CXTResourceSource* pResources = GetToolkitResourceManager();
  if ((m_hcurDragNone = pResources->LoadCursor(XT_IDC_DRAGNONE)) == nullptr) return FALSE;
  if ((m_hcurDragCopy = pResources->LoadCursor(XT_IDC_DRAGCOPY)) == nullptr) return FALSE;
  if ((m_hcurDragMove = pResources->LoadCursor(XT_IDC_DRAGMOVE)) == nullptr) return FALSE;
  m_hcurHand = XTPSystemQueries()->LoadSystemCursor(IDC_HAND);
  if (m_hcurHand == nullptr && (m_hcurHand = pResources->LoadCursor(XT_IDC_HAND)) == nullptr) return FALSE;
  if ((m_hcurHSplitBar = pResources->LoadCursor(XT_IDC_HSPLITBAR)) == nullptr) return FALSE;
  if ((m_hcurVSplitBar = pResources->LoadCursor(XT_IDC_VSPLITBAR)) == nullptr) return FALSE;
  return (m_hcurMove = XTPSystemQueries()->LoadSystemCursor(IDC_SIZEALL)) != nullptr;
}

void CXTSystemResources::UpdateColors() {
  RefreshColorTable();
  CXTPColorTable* pTable = GetColorTable();
  COLORREF* const targets[] = {&m_clrBtnFace,        &m_clrBtnShadow,
                               &m_clrBtnDkShadow,    &m_clrBtnHilite,
                               &m_clrBtnLight,       &m_clrBtnText,
                               &m_clrGrayText,       &m_clrHighlight,
                               &m_clrHighlightText,  &m_clrMenu,
                               &m_clrMenuText,       &m_clrWindow,
                               &m_clrWindowFrame,    &m_clrWindowText,
                               &m_clrActiveCaption,  &m_clrInActiveCaption,
                               &m_clrGradActiveCapt, &m_clrGradInActiveCapt,
                               &m_clrActiveCaptText, &m_clrInactiveCaptText};
  const int slots[] = {15, 16, 21, 20, 22, 18, 17, 13, 14, 4, 7, 5, 6, 8, 2, 3, 27, 28, 9, 19};
  for (size_t i = 0; i < sizeof(slots) / sizeof(slots[0]); ++i) *targets[i] = pTable->GetColor(slots[i]);
  for (int i = 0; i < 20; ++i) m_clrXP[i] = pTable->GetColor(XPCOLOR_BASE + i);
}

void CXTSystemResources::UpdateMetrics() {
  m_cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
  m_cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
  m_cxSize = 18;
  m_cySize = 18;
  m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
  m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
  m_cyMenuItem = ::GetSystemMetrics(SM_CYMENU);
}

DWORD CXTSystemResources::GetComCtlVersion() {
  if (m_dwComCtlVersion == DWORD(-1)) {
    DWORD dwVersion = 0;
    if (XTPSystemQueries()->GetComCtlVersion(&dwVersion)) m_dwComCtlVersion = dwVersion;
  }
  return m_dwComCtlVersion == DWORD(-1) ? 0 : m_dwComCtlVersion;
}

CXTSystemResources* AFXAPI GetSystemResources() {
  static CXTSystemResources systemResources;
  return &systemResources;
}
static_assert(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth) == 500,
              "the 500-byte non-client metrics record");
