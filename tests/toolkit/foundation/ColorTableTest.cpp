// The colour table: pass-through of literal colours, overrides, blends, theme detection and the
// theme layer, low-colour displays, contrast corrections and the refresh interval.
#include <gtest/gtest.h>

#include <cmath>

#include "ColorTable.h"
#include "FakeSystemQueries.h"

namespace {

// Weighted distance as the contrast rules measure it.
double WeightedDistance(COLORREF a, COLORREF b) {
  double dr = (GetRValue(a) - GetRValue(b)) * 195.0 / 255, dg = (GetGValue(a) - GetGValue(b)) * 390.0 / 255,
         db = (GetBValue(a) - GetBValue(b)) * 65.0 / 255;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

double Threshold(COLORREF background, int distance) {
  double fromBlack = WeightedDistance(background, 0);
  return (2.0 - std::min(220, static_cast<int>(fromBlack)) / 220.0) * distance;
}

// A table computed under the fake system, with its overrides cleared.
CXTPColorTable* Refreshed(FakeSystemQueries&) {
  CXTPColorTable* table = GetColorTable();
  for (int i = 0; i <= XPCOLOR_LAST; ++i) table->SetColor(i, COLORREF(-1));
  table->RefreshColors();
  return table;
}

void UseClassicColors(FakeSystemQueries& system) {
  system.colors = {{COLOR_3DFACE, RGB(212, 208, 200)},
                   {COLOR_3DSHADOW, RGB(128, 128, 128)},
                   {COLOR_WINDOW, RGB(255, 255, 255)},
                   {COLOR_HIGHLIGHT, RGB(10, 36, 106)},
                   {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
                   {COLOR_BTNTEXT, RGB(0, 0, 0)},
                   {COLOR_GRAYTEXT, RGB(128, 128, 128)},
                   {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
                   {COLOR_MENUTEXT, RGB(0, 0, 0)}};
}

}  // namespace

TEST(ColorTable, LiteralColoursAndNegativeOnePassThrough) {
  CXTPColorTable* table = GetColorTable();
  EXPECT_EQ(table->GetColor(62), 62u);
  EXPECT_EQ(table->GetColor(0x00FF0000), 0x00FF0000u);
  EXPECT_EQ(table->GetColor(-1), COLORREF(-1));
  EXPECT_EQ(table->GetThemeColor(0x00123456), 0x00123456u);
}

TEST(ColorTable, OverrideWinsUntilReset) {
  FakeSystemQueries system;
  CXTPColorTable* table = Refreshed(system);
  const COLORREF standard = table->GetColor(35);
  table->SetColor(35, RGB(1, 2, 3));
  EXPECT_EQ(table->GetColor(35), RGB(1, 2, 3));
  table->RefreshColors();
  EXPECT_EQ(table->GetColor(35), RGB(1, 2, 3)) << "overrides survive a recomputation";
  table->SetColor(35, COLORREF(-1));
  table->RefreshColors();  // the override took part in the contrast corrections
  EXPECT_EQ(table->GetColor(35), standard);
}

TEST(ColorTable, BlendColorsRoundsPercentAndTenths) {
  EXPECT_EQ(BlendColors(RGB(255, 255, 255), RGB(0, 0, 0), 50), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(BlendColors(RGB(255, 255, 255), RGB(0, 0, 0), 165), RGB(42, 42, 42));
  EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(200, 100, 50), 0), RGB(200, 100, 50));
  EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(200, 100, 50), 1000), RGB(10, 20, 30));
}

TEST(ColorTable, VisualStyleNamesSelectTheTheme) {
  FakeSystemQueries system;
  system.themeActive = TRUE;
  struct Case {
    const wchar_t* file;
    const wchar_t* color;
    int theme;
  } cases[] = {
      {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 1},
      {L"luna.msstyles", L"homestead", 2},
      {L"luna.msstyles", L"Metallic", 3},
      {L"Royale.msstyles", L"NormalColor", 1},
      {L"royale.msstyles", L"homestead", 0},
      {L"light.msstyles", L"normalcolor", 0},
  };
  for (const Case& c : cases) {
    system.themeFile = c.file;
    system.themeColor = c.color;
    EXPECT_EQ(CXTPColorTable::GetCurrentVisualStyle(), c.theme) << c.file << " " << c.color;
  }
  system.themeNameAvailable = FALSE;
  EXPECT_EQ(CXTPColorTable::GetCurrentVisualStyle(), 0);
  system.themeNameAvailable = TRUE;
  system.themeActive = FALSE;
  system.themeFile = L"luna.msstyles";
  system.themeColor = L"normalcolor";
  EXPECT_EQ(CXTPColorTable::GetCurrentVisualStyle(), 0) << "an inactive theme counts as none";
}

TEST(ColorTable, ClassicLookHasNoThemeLayer) {
  FakeSystemQueries system;
  UseClassicColors(system);
  CXTPColorTable* table = Refreshed(system);
  EXPECT_EQ(table->GetCurrentTheme(), 0);
  for (int i = 0; i <= XPCOLOR_LAST; ++i)
    EXPECT_EQ(table->GetThemeColor(i), table->GetColor(i)) << "slot " << i;
  EXPECT_EQ(table->GetColor(COLOR_3DFACE), RGB(212, 208, 200));
  EXPECT_EQ(table->GetColor(28), 0u);
  EXPECT_EQ(table->GetColor(61), 0u);
  CXTPColorGradientValue& grad2 = table->GetGradient(2);
  EXPECT_EQ(grad2.clr1.GetColor(), RGB(212, 208, 200));
  EXPECT_EQ(grad2.clr2.GetColor(), RGB(128, 128, 128));
  EXPECT_EQ(table->GetGradient(7).clr1.GetColor(), 0x8CD5FFu);
  EXPECT_EQ(table->GetColor(22), RGB(227, 223, 215)) << "the 3-D light colour is the face lifted by 15";
}

TEST(ColorTable, LunaBlueSuppliesThemeColoursAndGradients) {
  FakeSystemQueries system;
  UseClassicColors(system);
  system.themeActive = TRUE;
  system.themeFile = L"luna.msstyles";
  system.themeColor = L"normalcolor";
  system.treeBorder = RGB(127, 157, 185);
  CXTPColorTable* table = Refreshed(system);
  EXPECT_EQ(table->GetDetectedTheme(), 1);
  EXPECT_EQ(table->GetCurrentTheme(), 1) << "the configured automatic theme follows the detected one";
  EXPECT_EQ(table->GetThemeColor(30), 0xF5BE9Eu);
  EXPECT_EQ(table->GetThemeColor(59), 0x361E16u);
  EXPECT_EQ(table->GetThemeColor(42), table->GetColor(42)) << "slots the theme leaves alone";
  EXPECT_EQ(table->GetColor(54), 0x962D00u);
  EXPECT_EQ(table->GetColor(57), RGB(127, 157, 185)) << "the tree-view border colour";
  EXPECT_EQ(table->GetGradient(3).clr1.GetColor(), 0xFEECDDu);
  EXPECT_FLOAT_EQ(table->GetGradient(3).fGradientFactor, 0.75f);
}

TEST(ColorTable, LowColourDisplayKeepsBasicValuesButThemeLayer) {
  FakeSystemQueries system;
  UseClassicColors(system);
  system.bitsPerPixel = 8;
  system.themeActive = TRUE;
  system.themeFile = L"luna.msstyles";
  system.themeColor = L"homestead";
  system.treeBorder = RGB(1, 1, 1);
  CXTPColorTable* table = Refreshed(system);
  EXPECT_EQ(table->GetColor(30), RGB(212, 208, 200));
  EXPECT_EQ(table->GetColor(31), RGB(255, 255, 255));
  EXPECT_EQ(table->GetColor(34), RGB(128, 128, 128));
  EXPECT_EQ(table->GetColor(57), RGB(128, 128, 128)) << "no visual-style border on a low-colour display";
  EXPECT_EQ(table->GetColor(22), system.GetSysColor(22)) << "the 3-D light colour stays the system's";
  EXPECT_EQ(table->GetThemeColor(30), 0xA7D9D9u);
  EXPECT_EQ(table->GetGradient(0).clr1.GetColor(), 0x82C0AFu);
}

TEST(ColorTable, ContrastCorrectionsHoldForSeveralSchemes) {
  FakeSystemQueries system;
  const struct {
    COLORREF face, shadow, window, highlight, text;
  } schemes[] = {
      {RGB(212, 208, 200), RGB(128, 128, 128), RGB(255, 255, 255), RGB(10, 36, 106), RGB(0, 0, 0)},
      {RGB(0, 0, 0), RGB(128, 128, 128), RGB(0, 0, 0), RGB(128, 0, 128), RGB(255, 255, 255)},
      {RGB(236, 233, 216), RGB(172, 168, 153), RGB(255, 255, 255), RGB(49, 106, 197), RGB(0, 0, 0)},
      {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)},
  };
  // Rows whose slots nothing changes afterwards: target, background slot, minimum distance.
  const int rows[][3] = {{31, 30, 50},  {32, 30, 100}, {33, 30, 30}, {37, 33, 100},
                         {38, 30, 85},  {39, 30, 50},  {40, 30, 80}, {44, 41, 180},
                         {45, 31, 180}, {46, 30, 180}, {47, 33, 180}};
  for (const auto& s : schemes) {
    system.colors = {{COLOR_3DFACE, s.face},         {COLOR_3DSHADOW, s.shadow},    {COLOR_WINDOW, s.window},
                     {COLOR_HIGHLIGHT, s.highlight}, {COLOR_HIGHLIGHTTEXT, s.text}, {COLOR_BTNTEXT, s.text},
                     {COLOR_GRAYTEXT, s.shadow},     {COLOR_WINDOWTEXT, s.text},    {COLOR_MENUTEXT, s.text}};
    CXTPColorTable* table = Refreshed(system);
    for (const auto& row : rows) {
      const COLORREF background = table->GetColor(row[1]), color = table->GetColor(row[0]);
      // Rounding to whole channels and the edges of the colour space may fall a little short.
      const double reachable = std::min(
          Threshold(background, row[2]),
          std::max(WeightedDistance(background, 0), WeightedDistance(background, RGB(255, 255, 255))));
      EXPECT_GE(WeightedDistance(background, color), reachable - 2.0)
          << "slot " << row[0] << " against " << row[1] << " face " << std::hex << s.face;
    }
    for (int i = 0; i <= XPCOLOR_LAST; ++i) EXPECT_EQ(table->GetColor(i) >> 24, 0u) << "slot " << i;
  }
}

TEST(ColorTable, PushColorAwayNeverYieldsNaN) {
  // A colour at the far end of its line cannot be moved along it: it stays as it was.
  EXPECT_EQ(PushColorAway(RGB(128, 128, 128), RGB(255, 255, 255), 50), RGB(255, 255, 255));
  EXPECT_EQ(PushColorAway(RGB(128, 128, 128), RGB(0, 0, 0), 50), RGB(0, 0, 0));
  // Equal colours move apart to the threshold.
  const COLORREF pushed = PushColorAway(RGB(0, 0, 0), RGB(0, 0, 0), 50);
  EXPECT_NEAR(WeightedDistance(pushed, 0), 100.0, 2.0);
  for (int bg = 0; bg <= 255; bg += 51) {
    for (int c = 0; c <= 255; c += 51) {
      COLORREF result = PushColorAway(RGB(bg, bg / 2, 255 - bg), RGB(c, 255 - c, c / 3), 180);
      EXPECT_EQ(result >> 24, 0u);
    }
  }
}

TEST(ColorTable, PullColorTowardsStopsAtTheThreshold) {
  const COLORREF background = RGB(212, 208, 200);
  const COLORREF pulled = PullColorTowards(background, RGB(0, 0, 0), 35);
  EXPECT_NEAR(WeightedDistance(background, pulled), Threshold(background, 35), 1.5);
  EXPECT_TRUE(ColorsDiffer(background, RGB(0, 0, 0), 35));
  EXPECT_FALSE(ColorsDiffer(background, background, 1));
}

namespace {
class MainWindowThread : public CWinThread {
 public:
  static void MakeCurrent(CWinThread* thread) { SetCurrentThreadObject(thread); }
};
}  // namespace

TEST(ColorTable, RefreshWithinHalfASecondComputesOnceWhenThereIsAMainWindow) {
  FakeSystemQueries system;
  GetColorTable();
  RefreshColorTable();
  RefreshColorTable();
  EXPECT_EQ(system.sysColorCalls, 2 * 27) << "without a main window every refresh computes";

  MainWindowThread thread;
  thread.m_bAutoDelete = FALSE;
  CWnd mainWindow;
  thread.m_pMainWnd = &mainWindow;
  MainWindowThread::MakeCurrent(&thread);
  system.sysColorCalls = 0;
  RefreshColorTable();
  RefreshColorTable();
  MainWindowThread::MakeCurrent(nullptr);
  EXPECT_EQ(system.sysColorCalls, 27);
}
