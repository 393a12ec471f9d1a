// Theme factories: shared and private styles, hosts joining and leaving factories, and controls
// that outlive the registry at exit.
#include <gtest/gtest.h>

#include "Button.h"
#include "ButtonTheme.h"
#include "CaptionTheme.h"
#include "ThemeManagerStyleFactory.h"

namespace {

class CountingHost : public CXTThemeStyleHost {
 public:
  CountingHost() : CXTThemeStyleHost(RUNTIME_CLASS(CXTButtonThemeFactory)) {}
  void OnStyleChanged() override { ++m_nStyleChanges; }
  int m_nStyleChanges = 0;
};

int CountFactories() {
  int nCount = 0;
  for (auto* p = GetThemeFactoryRegistry()->GetFirstFactory(); p != nullptr; p = p->m_pNextFactory) ++nCount;
  return nCount;
}

BOOL IsHostOf(CXTThemeManagerStyleFactory* pFactory, CXTThemeStyleHost* pHost) {
  for (auto* p = pFactory->GetFirstHost(); p != nullptr; p = p->m_pNextHost)
    if (p == pHost) return TRUE;
  return FALSE;
}

}  // namespace

TEST(ThemeFactory, ButtonsWithoutFlagsShareOneClassicStyleAndAFlatButtonGetsItsOwn) {
  CXTButton first;
  CXTButton second;
  EXPECT_EQ(first.CXTThemeStyleHost::GetStyle(), second.CXTThemeStyleHost::GetStyle());
  CXTThemeStyleBase* pShared = first.CXTThemeStyleHost::GetStyle();
  EXPECT_EQ(typeid(*pShared), typeid(CXTButtonStyleBase));

  second.SetXButtonStyle(XButtonFlatTheme, FALSE);
  CXTThemeStyleBase* pPrivate = second.CXTThemeStyleHost::GetStyle();
  EXPECT_NE(pPrivate, pShared);
  EXPECT_EQ(typeid(*pPrivate), typeid(CXTButtonStyleFlat));
  EXPECT_EQ(pPrivate->GetThemeNumber(), 1);
  EXPECT_EQ(first.CXTThemeStyleHost::GetStyle(), pShared);
  EXPECT_TRUE(IsHostOf(second.m_pPrivateFactory, &second));
  EXPECT_FALSE(IsHostOf(second.m_pSharedFactory, &second));

  // Neither 0x01 nor 0x40: back to the shared style.
  EXPECT_EQ(second.SetXButtonStyle(XButtonVisualStyle, FALSE), DWORD(XButtonFlatTheme));
  EXPECT_EQ(second.CXTThemeStyleHost::GetStyle(), pShared);
  EXPECT_TRUE(IsHostOf(second.m_pSharedFactory, &second));
}

TEST(ThemeFactory, SwitchingToNoneWithoutAPrivateStyleChangesNothing) {
  CountingHost host;
  CXTThemeManagerStyleFactory* pFactory = host.GetEffectiveFactory();
  host.SwitchStyle(nullptr);
  EXPECT_EQ(host.m_nStyleChanges, 0);
  EXPECT_EQ(host.GetEffectiveFactory(), pFactory);

  host.SwitchStyle(new CXTButtonStyleFlat);
  EXPECT_EQ(host.m_nStyleChanges, 1);
  EXPECT_TRUE(host.HasPrivateStyle());
  host.SwitchStyle(nullptr);
  EXPECT_EQ(host.m_nStyleChanges, 2);
  EXPECT_FALSE(host.HasPrivateStyle());
  EXPECT_EQ(host.GetEffectiveFactory(), pFactory);
}

TEST(ThemeFactory, DestroyingAPrivatelyStyledControlDeletesOnlyItsOwnFactory) {
  CXTButton shared;
  CXTThemeStyleBase* pShared = shared.CXTThemeStyleHost::GetStyle();
  const int nBefore = CountFactories();
  {
    CXTButton flat;
    flat.SetXButtonStyle(XButtonFlat, FALSE);
    EXPECT_EQ(CountFactories(), nBefore + 1);
  }
  EXPECT_EQ(CountFactories(), nBefore);
  {
    CXTButton plain;
    EXPECT_EQ(plain.CXTThemeStyleHost::GetStyle(), pShared);
  }
  EXPECT_EQ(shared.CXTThemeStyleHost::GetStyle(), pShared) << "the shared style outlives its users";
}

TEST(ThemeFactory, TheRegistryMakesOneSharedFactoryPerClass) {
  CXTThemeFactoryRegistry* pRegistry = GetThemeFactoryRegistry();
  CXTThemeManagerStyleFactory* pFactory =
      pRegistry->LookupOrCreateFactory(RUNTIME_CLASS(CXTCaptionThemeFactory));
  ASSERT_NE(pFactory, nullptr);
  EXPECT_EQ(pRegistry->LookupOrCreateFactory(RUNTIME_CLASS(CXTCaptionThemeFactory)), pFactory);
  EXPECT_EQ(pRegistry->GetThemeNumber(), 0);
  EXPECT_EQ(pRegistry->LookupOrCreateFactory(RUNTIME_CLASS(CObject)), nullptr) << "not a factory class";
}

TEST(ThemeFactory, ThemeNumbersOtherThanOneAndTwoMakeTheDefaultStyle) {
  CXTButtonThemeFactory factory;
  for (int nTheme : {0, 3, -1, -100, 1000}) {
    CXTThemeStyleBase* pStyle = factory.CreateStyle(nTheme);
    EXPECT_EQ(typeid(*pStyle), typeid(CXTButtonStyleBase)) << nTheme;
    EXPECT_EQ(pStyle->GetThemeNumber(), nTheme);
    delete pStyle;
  }
  CXTThemeStyleBase* pFlat = factory.CreateStyle(1);
  CXTThemeStyleBase* pScheme = factory.CreateStyle(2);
  EXPECT_EQ(typeid(*pFlat), typeid(CXTButtonStyleFlat));
  EXPECT_EQ(typeid(*pScheme), typeid(CXTButtonStyleScheme));
  delete pFlat;
  delete pScheme;
}

TEST(ThemeFactory, ControlsThatOutliveTheRegistryKeepAWorkingStyle) {
  // Global controls are made before the registry and destroyed after it at exit.
  auto* pButton = new CXTButton;
  CXTThemeManagerStyleFactory* pShared = pButton->m_pSharedFactory;
  ASSERT_NE(pButton->CXTThemeStyleHost::GetStyle(), nullptr);
  delete GetThemeFactoryRegistry();
  EXPECT_EQ(pButton->m_pSharedFactory, pShared);
  EXPECT_NE(pButton->CXTThemeStyleHost::GetStyle(), nullptr);
  EXPECT_TRUE(pButton->SetFaceColor(RGB(1, 2, 3)));
  delete pButton;   // the orphaned factory goes with its last host
  CXTButton fresh;  // a new registry is made on demand
  EXPECT_NE(fresh.CXTThemeStyleHost::GetStyle(), nullptr);
}

TEST(ThemeFactory, AControlWithoutTheTransparentStyleNeverCapturesItsParent) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  CWnd child;
  ASSERT_TRUE(child.CreateEx(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr));
  CXTCaptionStyle style;
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  EXPECT_FALSE(style.DrawParentBackground(&dc, &child));
  EXPECT_EQ(style.m_bmpParentBackground.GetSafeHandle(), nullptr);
  child.ModifyStyleEx(0, WS_EX_TRANSPARENT);
  EXPECT_TRUE(style.DrawParentBackground(&dc, &child));
  EXPECT_NE(style.m_bmpParentBackground.GetSafeHandle(), nullptr);
  child.DestroyWindow();
  parent.DestroyWindow();
}
