// The shared system resources: fonts, cursors, metrics, copied colours and the version cache.
#include <gtest/gtest.h>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "FakeSystemQueries.h"
#include "SystemResources.h"

namespace {
LOGFONT FontOf(CFont& font) {
  LOGFONT lf = {};
  font.GetLogFont(&lf);
  return lf;
}
}  // namespace

TEST(SystemResources, MakesAllFontsAndCursors) {
  CXTSystemResources* resources = GetSystemResources();
  EXPECT_EQ(resources, GetSystemResources());
  for (CFont* font :
       {&resources->m_fontRegular, &resources->m_fontBold, &resources->m_fontULine, &resources->m_fontVert,
        &resources->m_fontVertBold, &resources->m_fontIconTitle, &resources->m_fontIconTitleBold,
        &resources->m_fontMarlett, &resources->m_fontStatus, &resources->m_fontSmCaption}) {
    EXPECT_NE(font->GetSafeHandle(), nullptr);
  }
  for (HCURSOR cursor : {resources->m_hcurDragCopy, resources->m_hcurDragMove, resources->m_hcurDragNone,
                         resources->m_hcurHand, resources->m_hcurHSplitBar, resources->m_hcurVSplitBar,
                         resources->m_hcurMove}) {
    EXPECT_NE(cursor, nullptr);
  }
}

TEST(SystemResources, FontsFollowTheMenuFont) {
  CXTSystemResources* resources = GetSystemResources();
  NONCLIENTMETRICS ncm;
  ASSERT_TRUE(CXTSystemResources::GetNonClientMetrics(&ncm));
  EXPECT_EQ(ncm.cbSize, 500u);
  LOGFONT regular = FontOf(resources->m_fontRegular), bold = FontOf(resources->m_fontBold);
  EXPECT_STREQ(regular.lfFaceName, ncm.lfMenuFont.lfFaceName);
  EXPECT_EQ(regular.lfHeight, ncm.lfMenuFont.lfHeight);
  EXPECT_EQ(bold.lfWeight, FW_BOLD);
  EXPECT_STREQ(bold.lfFaceName, regular.lfFaceName);
  EXPECT_EQ(FontOf(resources->m_fontULine).lfUnderline, 1);
  LOGFONT vert = FontOf(resources->m_fontVert);
  EXPECT_EQ(vert.lfEscapement, 2700);
  EXPECT_EQ(vert.lfOrientation, 900);
  EXPECT_EQ(FontOf(resources->m_fontVertBold).lfWeight, FW_BOLD);
  EXPECT_STREQ(FontOf(resources->m_fontMarlett).lfFaceName, L"Marlett");
  EXPECT_EQ(FontOf(resources->m_fontMarlett).lfCharSet, DEFAULT_CHARSET);
}

TEST(SystemResources, VerticalFontsPreferArialUnlessTheFaceIsTahoma) {
  EXPECT_STREQ(static_cast<LPCTSTR>(CXTSystemResources::GetVerticalFontFace(_T("tahoma"))), _T("tahoma"));
  const CString other = CXTSystemResources::GetVerticalFontFace(_T("MS Sans Serif"));
  EXPECT_STREQ(static_cast<LPCTSTR>(other), FindFontFace(_T("Arial")) ? _T("Arial") : _T("MS Sans Serif"));
}

TEST(SystemResources, FixedSizesStayEighteen) {
  CXTSystemResources* resources = GetSystemResources();
  EXPECT_EQ(resources->m_cxSize, 18);
  EXPECT_EQ(resources->m_cySize, 18);
  resources->UpdateMetrics();
  EXPECT_EQ(resources->m_cxSize, 18);
  EXPECT_EQ(resources->m_cxSmIcon, ::GetSystemMetrics(SM_CXSMICON));
}

TEST(SystemResources, CommonControlsVersionIsAskedOnceAndZeroWhenMissing) {
  FakeSystemQueries system;
  system.comCtlVersion = MAKELONG(0, 6);
  CXTSystemResources resources;
  EXPECT_EQ(resources.GetComCtlVersion(), DWORD(MAKELONG(0, 6)));
  EXPECT_EQ(resources.GetComCtlVersion(), DWORD(MAKELONG(0, 6)));
  EXPECT_EQ(system.comCtlCalls, 1);

  system.comCtlVersion = 0;
  CXTSystemResources without;
  EXPECT_EQ(without.GetComCtlVersion(), 0u);
}

TEST(SystemResources, HandCursorFallsBackToTheToolkits) {
  FakeSystemQueries system;
  system.hasHandCursor = FALSE;
  CXTSystemResources resources;
  EXPECT_NE(resources.m_hcurHand, nullptr);
  EXPECT_NE(resources.m_hcurHand, ::LoadCursorW(nullptr, IDC_HAND));
}

TEST(SystemResources, ColoursAreCopiedFromTheTable) {
  FakeSystemQueries system;
  system.colors[COLOR_3DFACE] = RGB(1, 2, 3);
  system.colors[COLOR_HIGHLIGHT] = RGB(4, 5, 6);
  GetColorTable()->RefreshColors();
  CXTSystemResources resources;
  EXPECT_EQ(resources.m_clrBtnFace, RGB(1, 2, 3));
  EXPECT_EQ(resources.m_clrHighlight, RGB(4, 5, 6));
  EXPECT_EQ(resources.m_clrXP[0], GetColorTable()->GetColor(30));
  EXPECT_EQ(resources.m_clrXP[19], GetColorTable()->GetColor(49));
}
