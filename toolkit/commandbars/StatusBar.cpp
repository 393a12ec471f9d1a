// The status bar's panes as the paint theme draws them. The bar's window, layout and updates come with
// the status bar itself.
#include "StatusBar.h"

#include "BarTheme.h"
#include "CommandBars.h"

#include <ImageManager.h>

IMPLEMENT_DYNCREATE(CXTPStatusBarPane, CCmdTarget)
IMPLEMENT_DYNCREATE(CXTPStatusBar, CControlBar)

CXTPStatusBarPane::CXTPStatusBarPane() = default;
CXTPStatusBarPane::~CXTPStatusBarPane() = default;

CFont* CXTPStatusBarPane::GetTextFont() {
  if (m_fontText.GetSafeHandle() != nullptr) return &m_fontText;
  return m_pStatusBar != nullptr ? m_pStatusBar->GetBarFont()
                                 : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

CXTPImageManagerIcon* CXTPStatusBarPane::GetImage() {
  if (m_nIconId == -1) return nullptr;
  CXTPImageManager* pImageManager =
      m_pStatusBar != nullptr ? m_pStatusBar->GetImageManager() : XTPImageManager();
  return pImageManager->GetImage(static_cast<UINT>(m_nIconId), 0);
}

void CXTPStatusBarPane::Draw(CDC* pDC, CRect rcItem) {
  CXTPBarTheme* pTheme = m_pStatusBar != nullptr ? m_pStatusBar->GetPaintManager() : CXTPBarTheme::GetTheme();
  if (pTheme != nullptr) pTheme->DrawStatusBarPaneEntry(pDC, rcItem, this);
}

CXTPStatusBar::CXTPStatusBar() {
  NONCLIENTMETRICS ncm = {};
  ncm.cbSize = sizeof(ncm);
  if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
    m_fontBar.CreateFontIndirect(&ncm.lfStatusFont);
}

CXTPStatusBar::~CXTPStatusBar() {
  for (INT_PTR i = 0; i < m_arrPanes.GetSize(); ++i) m_arrPanes[i]->InternalRelease();
}

void CXTPStatusBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

CXTPBarTheme* CXTPStatusBar::GetPaintManager() const {
  if (!m_bUsePaintTheme) return nullptr;
  return m_pCommandBars != nullptr ? m_pCommandBars->GetPaintManager() : CXTPBarTheme::GetTheme();
}

CXTPImageManager* CXTPStatusBar::GetImageManager() const {
  return m_pCommandBars != nullptr ? m_pCommandBars->GetImageManager() : XTPImageManager();
}
