// The colour table's computation: system colours, blends, contrast corrections, the visual style's
// colours and the gradients.
#include "ColorTable.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <iterator>

#include "SystemQueries.h"

namespace {

// Standard colours of the visual styles the table tells apart, by slot.
struct ThemeSlotColors {
  int nSlot;
  COLORREF clr[3];  // themes 1, 2, 3
};

const ThemeSlotColors kThemeLayer[] = {
    {38, {0x764127, 0x335E51, 0x755454}}, {39, {0xCB8C6A, 0x588060, 0x8F6D6E}},
    {40, {0xD0966D, 0x7AAE9F, 0xBEA7A8}}, {41, {0xF6F6F6, 0xEEF4F4, 0xFFFAFD}},
    {43, {0x962D00, 0x5E8D75, 0x947C7C}}, {31, {0xC2EEFF, 0xC2EEFF, 0xC2EEFF}},
    {32, {0x800000, 0x385D3F, 0x6F4B4B}}, {50, {0x800000, 0x385D3F, 0x6F4B4B}},
    {37, {0x800000, 0x385D3F, 0x6F4B4B}}, {33, {0x3E80FE, 0x3E80FE, 0x3E80FE}},
    {36, {0x6FC0FF, 0x6FC0FF, 0x6FC0FF}}, {30, {0xF5BE9E, 0xA7D9D9, 0xE5D7D7}},
    {47, {0x000000, 0x000000, 0x000000}}, {59, {0x361E16, 0x19221F, 0x292024}},
};

struct ThemeGradient {
  COLORREF clr1, clr2;
  float fFactor;
};

// Gradients 0 to 6 of themes 1, 2 and 3.
const ThemeGradient kThemeGradients[3][7] = {
    {{0xD68759, 0x962D00, 0.5f},
     {0xF5BE9E, 0xFADAC4, 0.5f},
     {0xD68759, 0x962D00, 0.5f},
     {0xFEECDD, 0xE2A981, 0.75f},
     {0xFFEFE3, 0xE4AD87, 0.5f},
     {0xF6DDCB, 0xDCA179, 0.5f},
     {0xFFEFE3, 0xE7B593, 0.5f}},
    {{0x82C0AF, 0x447A63, 0.5f},
     {0xA7D9D9, 0xE4F1F2, 0.5f},
     {0x6F8E78, 0x435B49, 0.5f},
     {0xDEF7F4, 0x91C6B7, 0.3f},
     {0xEDFFFF, 0x92C7B8, 0.3f},
     {0xD1E6E6, 0x78B4A4, 0.3f},
     {0xD5F0EC, 0x9FCEC2, 0.5f}},
    {{0xBFA7A8, 0x916F70, 0.5f},
     {0xE5D7D7, 0xF7F3F3, 0.5f},
     {0xBFA7A8, 0x977677, 0.5f},
     {0xFFF9F9, 0xB79B9C, 0.75f},
     {0xFFF9F9, 0xB99D9F, 0.75f},
     {0xE2D7D7, 0x9E7E80, 0.75f},
     {0xF1E7E9, 0xCDB9BA, 0.5f}},
};
const COLORREF kThemeSlot54[3] = {0x962D00, 0x588060, 0x947C7C};

// Contrast rows: target slot, background slot, colour slot, minimum distance.
const int kContrastRows[][4] = {
    {31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80}, {37, 33, 37, 100},
    {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 47, 43, 100}, {40, 30, 40, 80}, {44, 41, 44, 180},
    {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180},
};

// ---- the weighted colour space: red, green and blue axes run to 195, 390 and 65 ----------------

const double kAxis[3] = {195.0, 390.0, 65.0};

struct Point3 {
  double v[3];
};

Point3 ToPoint(COLORREF clr) {
  return {{GetRValue(clr) * kAxis[0] / 255.0, GetGValue(clr) * kAxis[1] / 255.0,
           GetBValue(clr) * kAxis[2] / 255.0}};
}

double Dot(const Point3& a, const Point3& b) { return a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2]; }

double Length(const Point3& a) { return std::sqrt(Dot(a, a)); }

double Distance(const Point3& a, const Point3& b) {
  Point3 d = {{a.v[0] - b.v[0], a.v[1] - b.v[1], a.v[2] - b.v[2]}};
  return Length(d);
}

COLORREF FromPoint(const Point3& p) {
  int channel[3];
  for (int i = 0; i < 3; ++i) {
    double x = p.v[i];
    if (!std::isfinite(x)) x = 0;
    x = std::clamp(x, 0.0, kAxis[i]);
    channel[i] = std::clamp(static_cast<int>(x * 255.0 / kAxis[i] + 0.5), 0, 255);
  }
  return RGB(channel[0], channel[1], channel[2]);
}

// 2 for a black background down to 1 for backgrounds 220 or more from black.
double ThresholdScale(COLORREF clrBackground) {
  int nFromBlack = static_cast<int>(Length(ToPoint(clrBackground)));
  return 2.0 - std::min(220, nFromBlack) / 220.0;
}

int MaxChannel(COLORREF clr) { return std::max({GetRValue(clr), GetGValue(clr), GetBValue(clr)}); }

COLORREF ScaleChannels(COLORREF clr, int nNumerator, int nDenominator) {
  return RGB(GetRValue(clr) * nNumerator / nDenominator, GetGValue(clr) * nNumerator / nDenominator,
             GetBValue(clr) * nNumerator / nDenominator);
}

// Refreshes within this interval are skipped.
const LONG kRefreshInterval = 500;
DWORD g_dwLastRefresh = 0;
BOOL g_bRefreshRecorded = FALSE;

}  // namespace

// ---- colour arithmetic ---------------------------------------------------------------------------

COLORREF AFXAPI BlendColors(COLORREF clr1, COLORREF clr2, int nWeight) {
  const int nScale = nWeight < 100 ? 100 : 1000;
  auto blend = [&](int c1, int c2) {
    return std::clamp((nWeight * c1 + (nScale - nWeight) * c2 + nScale / 2) / nScale, 0, 255);
  };
  return RGB(blend(GetRValue(clr1), GetRValue(clr2)), blend(GetGValue(clr1), GetGValue(clr2)),
             blend(GetBValue(clr1), GetBValue(clr2)));
}

BOOL AFXAPI ColorsDiffer(COLORREF clrBackground, COLORREF clr, int nDistance) {
  double dThreshold = ThresholdScale(clrBackground) * nDistance;
  double dDistance = Distance(ToPoint(clrBackground), ToPoint(clr));
  return dDistance * dDistance > dThreshold * dThreshold;
}

COLORREF AFXAPI PullColorTowards(COLORREF clrBackground, COLORREF clr, int nDistance) {
  Point3 b = ToPoint(clrBackground), c = ToPoint(clr);
  double dDistance = Distance(b, c);
  double dTarget = nDistance * ThresholdScale(clrBackground);
  if (dDistance <= 0) return clr;
  double t = (dDistance - dTarget) / dDistance;
  Point3 p;
  for (int i = 0; i < 3; ++i) p.v[i] = c.v[i] + (b.v[i] - c.v[i]) * t;
  return FromPoint(p);
}

COLORREF AFXAPI PushColorAway(COLORREF clrBackground, COLORREF clr, int nDistance) {
  const double dThreshold = ThresholdScale(clrBackground) * nDistance;
  Point3 b = ToPoint(clrBackground), c = ToPoint(clr);
  const double dBackground = Length(b), dColor = Length(c);
  const bool bTowardsWhite =
      dColor > dBackground ? dBackground <= 442.0 - dThreshold : dBackground <= dThreshold;
  if (bTowardsWhite) {
    for (int i = 0; i < 3; ++i) {
      b.v[i] = kAxis[i] - b.v[i];
      c.v[i] = kAxis[i] - c.v[i];
    }
  }
  const double dLength = std::max(Length(c), 0.001);
  const double dProjection = Dot(b, c) / dLength;
  const double dAlong = Dot(b, c) / (dLength * dLength);
  Point3 foot;
  for (int i = 0; i < 3; ++i) foot.v[i] = dAlong * c.v[i] - b.v[i];
  const double dSquaredToLine = Dot(foot, foot);
  // When the whole line lies farther than the threshold (a colour at the origin, or one already far
  // enough), the root would be imaginary: the nearest point of the line is taken instead.
  const double dHalfChord = std::sqrt(std::max(0.0, dThreshold * dThreshold - dSquaredToLine));
  Point3 p;
  for (int i = 0; i < 3; ++i) p.v[i] = c.v[i] * (dProjection - dHalfChord) / dLength;
  if (bTowardsWhite) {
    for (int i = 0; i < 3; ++i) p.v[i] = kAxis[i] - p.v[i];
  }
  return FromPoint(p);
}

// ---- the table -----------------------------------------------------------------------------------

CXTPColorTable::CXTPColorTable() {
  std::fill(std::begin(m_arrCustomColor), std::end(m_arrCustomColor), COLORREF(-1));
  std::fill(std::begin(m_arrThemeColor), std::end(m_arrThemeColor), COLORREF(-1));
  RefreshColors();
  m_grcGradients[7].SetStandardColors(0x8CD5FF, 0x55ADFF, 0.5f);
  m_grcGradients[8].SetStandardColors(0x4B8EFE, 0x8BCFFF, 0.5f);
  m_grcGradients[9].SetStandardColors(0xC8F2FF, 0x97D4FF, 0.5f);
}

COLORREF CXTPColorTable::GetColor(int nIndex) const {
  if (static_cast<UINT>(nIndex) > XPCOLOR_LAST) return static_cast<COLORREF>(nIndex);
  return m_arrCustomColor[nIndex] != COLORREF(-1) ? m_arrCustomColor[nIndex] : m_arrStandardColor[nIndex];
}

COLORREF CXTPColorTable::GetThemeColor(int nIndex) const {
  if (nIndex >= XPCOLOR_BASE && nIndex <= XPCOLOR_LAST && m_arrThemeColor[nIndex] != COLORREF(-1))
    return m_arrThemeColor[nIndex];
  return GetColor(nIndex);
}

void CXTPColorTable::SetColor(int nIndex, COLORREF clrOverride) {
  if (static_cast<UINT>(nIndex) <= XPCOLOR_LAST) m_arrCustomColor[nIndex] = clrOverride;
}

COLORREF CXTPColorTable::GetStandardColor(int nIndex) const {
  return static_cast<UINT>(nIndex) <= XPCOLOR_LAST ? m_arrStandardColor[nIndex]
                                                   : static_cast<COLORREF>(nIndex);
}

int CXTPColorTable::GetCurrentTheme() const {
  return m_nConfiguredTheme == xtpSystemThemeAuto || m_nConfiguredTheme == xtpSystemThemeDefault
             ? m_nDetectedTheme
             : m_nConfiguredTheme;
}

int PASCAL CXTPColorTable::GetCurrentVisualStyle() {
  CXTPSystemQueries* pQueries = XTPSystemQueries();
  if (!pQueries->IsThemeActive()) return xtpSystemThemeUnknown;
  WCHAR szFile[260] = {}, szColor[260] = {};
  if (FAILED(pQueries->GetCurrentThemeName(szFile, 260, szColor, 260))) return xtpSystemThemeUnknown;
  szFile[259] = szColor[259] = 0;
  for (WCHAR* p = szFile; *p; ++p) *p = static_cast<WCHAR>(std::towlower(*p));
  for (WCHAR* p = szColor; *p; ++p) *p = static_cast<WCHAR>(std::towlower(*p));
  if (wcsstr(szFile, L"luna.msstyles") != nullptr) {
    if (wcscmp(szColor, L"normalcolor") == 0) return xtpSystemThemeBlue;
    if (wcscmp(szColor, L"homestead") == 0) return xtpSystemThemeOlive;
    if (wcscmp(szColor, L"metallic") == 0) return xtpSystemThemeSilver;
  } else if (wcsstr(szFile, L"royale.msstyles") != nullptr && wcscmp(szColor, L"normalcolor") == 0) {
    return xtpSystemThemeBlue;
  }
  return xtpSystemThemeUnknown;
}

void CXTPColorTable::RefreshColors() {
  CXTPSystemQueries* pQueries = XTPSystemQueries();
  m_nDetectedTheme = GetCurrentVisualStyle();
  const int nBits = pQueries->GetDeviceBitsPerPixel(nullptr);
  const bool bLowColor = nBits >= 1 && nBits <= 8;

  m_arrStandardColor[0] = 0;
  for (int i = 1; i <= 27; ++i) m_arrStandardColor[i] = pQueries->GetSysColor(i);
  m_arrStandardColor[28] = m_arrStandardColor[29] = 0;

  auto c = [this](int n) { return GetColor(n); };
  const COLORREF clrFace = c(COLOR_3DFACE), clrShadow = c(COLOR_3DSHADOW);
  const COLORREF basic[XPCOLOR_COUNT - XPCOLOR_BASE] = {
      clrFace,   c(5),      c(13),     c(13),     clrShadow, c(17),     c(5),      c(13),
      clrShadow, clrShadow, clrShadow, c(5),      clrShadow, clrShadow, c(8),      c(7),
      c(18),     c(14),     clrFace,   c(18),     c(13),     clrFace,   clrShadow, clrFace,
      clrShadow, clrFace,   clrFace,   clrShadow, c(17),     0,         clrShadow, 0};
  for (int i = XPCOLOR_BASE; i <= XPCOLOR_LAST; ++i) m_arrStandardColor[i] = basic[i - XPCOLOR_BASE];

  const int nTheme = m_bPlainColors ? xtpSystemThemeUnknown : GetCurrentTheme();
  RefreshThemeLayer(nTheme);
  if (!bLowColor) RefreshBlends();
  RefreshGradients(nTheme);

  if (!bLowColor) {
    COLORREF clrBorder = 0;
    if (pQueries->GetThemeClassColor(L"TREEVIEW", 0, 0, 3801, &clrBorder)) SetStandard(57, clrBorder);
  }
}

void CXTPColorTable::RefreshThemeLayer(int nTheme) {
  std::fill(std::begin(m_arrThemeColor), std::end(m_arrThemeColor), COLORREF(-1));
  if (nTheme < xtpSystemThemeBlue || nTheme > xtpSystemThemeSilver) return;
  for (const ThemeSlotColors& row : kThemeLayer) m_arrThemeColor[row.nSlot] = row.clr[nTheme - 1];
}

void CXTPColorTable::RefreshBlends() {
  auto c = [this](int n) { return GetColor(n); };
  SetStandard(30, BlendColors(c(5), c(15), 165));
  SetStandard(31, BlendColors(c(13), c(5), 30));
  SetStandard(33, BlendColors(c(13), c(5), 50));
  SetStandard(41, BlendColors(c(15), c(5), 143));
  SetStandard(35, BlendColors(c(17), c(5), 70));
  SetStandard(38, BlendColors(c(16), c(5), 75));
  SetStandard(39, BlendColors(c(16), c(5), 70));
  SetStandard(43, BlendColors(c(46), c(16), 20));
  SetStandard(40, BlendColors(c(16), c(5), 90));
  SetStandard(42, BlendColors(c(15), c(16), 90));

  if (ColorsDiffer(c(15), c(30), 35)) SetStandard(30, PullColorTowards(c(15), c(30), 35));
  for (const auto& row : kContrastRows) {
    if (!ColorsDiffer(c(row[1]), c(row[2]), row[3]))
      SetStandard(row[0], PushColorAway(c(row[1]), c(row[2]), row[3]));
  }
  if (ColorsDiffer(c(41), c(35), 145)) SetStandard(35, PullColorTowards(c(41), c(35), 145));

  const COLORREF c30 = c(30), c5 = c(5), c13 = c(13);
  SetStandard(36, RGB(GetRValue(c30) / 2 + GetRValue(c5) * 40 / 100 + GetRValue(c13) * 10 / 100,
                      GetGValue(c30) / 2 + GetGValue(c5) * 40 / 100 + GetGValue(c13) * 10 / 100,
                      GetBValue(c30) / 2 + GetBValue(c5) * 40 / 100 + GetBValue(c13) * 10 / 100));

  const COLORREF clrFace = c(15);
  const int nFaceMax = MaxChannel(clrFace);
  SetStandard(48, nFaceMax == 0 ? RGB(0x23, 0x23, 0x23)
                                : ScaleChannels(clrFace, nFaceMax + std::min(35, 255 - nFaceMax), nFaceMax));

  if (clrFace == 0) {
    SetStandard(49, RGB(0x7F, 0x7F, 0x7F));
  } else {
    const COLORREF clrShadow = c(16);
    const int nShadowMax = MaxChannel(clrShadow);
    SetStandard(49, nShadowMax == 0 ? 0 : ScaleChannels(clrShadow, std::max(0, nShadowMax - 43), nShadowMax));
  }

  const COLORREF c31 = c(31);
  SetStandard(34, RGB(static_cast<int>(GetRValue(c31) * 0.75), static_cast<int>(GetGValue(c31) * 0.75),
                      static_cast<int>(GetBValue(c31) * 0.75)));
  SetStandard(22, RGB(std::min(255, GetRValue(clrFace) + 15), std::min(255, GetGValue(clrFace) + 15),
                      std::min(255, GetBValue(clrFace) + 15)));
  SetStandard(53, c(30));
  SetStandard(58, c(40));
  SetStandard(60, m_arrStandardColor[40]);
}

void CXTPColorTable::RefreshGradients(int nTheme) {
  if (nTheme >= xtpSystemThemeBlue && nTheme <= xtpSystemThemeSilver) {
    for (int i = 0; i < 7; ++i) {
      const ThemeGradient& g = kThemeGradients[nTheme - 1][i];
      m_grcGradients[i].SetStandardColors(g.clr1, g.clr2, g.fFactor);
    }
    SetStandard(54, kThemeSlot54[nTheme - 1]);
    return;
  }
  const COLORREF clrFace = GetColor(15), clrShadow = GetColor(16), clrWindow = GetColor(5);
  m_grcGradients[0].SetStandardColors(clrShadow, clrShadow);
  m_grcGradients[1].SetStandardColors(clrFace, BlendColors(clrFace, clrWindow, 215));
  m_grcGradients[2].SetStandardColors(clrFace, clrShadow);
  m_grcGradients[3].SetStandardColors(BlendColors(clrFace, clrWindow, 205), clrFace);
  m_grcGradients[4].SetStandardColors(BlendColors(clrFace, clrWindow, 145),
                                      BlendColors(clrFace, clrWindow, 93));
  m_grcGradients[5].SetStandardColors(BlendColors(clrFace, clrWindow, 40),
                                      BlendColors(clrFace, clrShadow, 95));
  m_grcGradients[6].SetStandardColors(BlendColors(clrFace, clrWindow, 165),
                                      BlendColors(clrFace, clrWindow, 42));
}

CXTPColorTable* AFXAPI GetColorTable() {
  static CXTPColorTable colorTable;
  return &colorTable;
}

void AFXAPI RefreshColorTable() {
  const DWORD dwNow = ::GetTickCount();
  if (g_bRefreshRecorded && static_cast<LONG>(dwNow - g_dwLastRefresh) <= kRefreshInterval) return;
  GetColorTable()->RefreshColors();
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && pThread->GetMainWnd() != nullptr) {
    g_dwLastRefresh = ::GetTickCount();
    g_bRefreshRecorded = TRUE;
  }
}
