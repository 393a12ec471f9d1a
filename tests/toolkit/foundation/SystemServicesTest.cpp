// Operating-system services: version tests, the resource manager, the visual-style binding with
// quiet fallbacks and the accessibility base.
#include <gtest/gtest.h>

#include "BarAccessibility.h"
#include "OSVersionInfo.h"
#include "ResourceSource.h"
#include "ThemeHandle.h"
#include "ToolkitResource.h"
#include "ToolkitTestResource.h"
#include "VisualStyles.h"

namespace {

OSVERSIONINFOW Version(DWORD platform, DWORD major, DWORD minor) {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  info.dwPlatformId = platform;
  info.dwMajorVersion = major;
  info.dwMinorVersion = minor;
  return info;
}

}  // namespace

TEST(OSVersionInfo, TestsFollowPlatformAndVersion) {
  CXTOSVersionInfo win95(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 0));
  EXPECT_TRUE(win95.IsWin95());
  EXPECT_FALSE(win95.IsWin98());
  EXPECT_FALSE(win95.IsWin2KOrGreater());
  CXTOSVersionInfo win98(Version(VER_PLATFORM_WIN32_WINDOWS, 4, 10));
  EXPECT_TRUE(win98.IsWin98());
  EXPECT_FALSE(win98.IsWin95());
  CXTOSVersionInfo nt4(Version(VER_PLATFORM_WIN32_NT, 4, 0));
  EXPECT_TRUE(nt4.IsWinNT4());
  EXPECT_FALSE(nt4.IsWin95()) << "same numbers, other platform";
  CXTOSVersionInfo xp(Version(VER_PLATFORM_WIN32_NT, 5, 1));
  EXPECT_TRUE(xp.IsWinXP());
  EXPECT_FALSE(xp.IsWin2K());
  EXPECT_TRUE(xp.IsWin2KOrGreater());
  CXTOSVersionInfo win7(Version(VER_PLATFORM_WIN32_NT, 6, 1));
  EXPECT_TRUE(win7.IsWin2KOrGreater());
  EXPECT_TRUE(win7.IsWinVersion(6, 1));
  EXPECT_FALSE(win7.IsWinVersion(6, 0));
  EXPECT_EQ(GetWindowsVersionInfo().dwOSVersionInfoSize, 276u);
}

TEST(ResourceSource, LoadsTheProgramsOwnResources) {
  CXTResourceSource* resources = GetToolkitResourceManager();
  EXPECT_EQ(resources, GetToolkitResourceManager());
  CString text;
  EXPECT_TRUE(resources->LoadString(text, IDS_TEST_MESSAGE));
  EXPECT_STREQ(static_cast<LPCTSTR>(text), _T("Toolkit test string"));
  EXPECT_FALSE(resources->LoadString(text, IDS_TEST_MISSING));

  EXPECT_NE(resources->LoadCursor(XT_IDC_DRAGCOPY), nullptr);
  EXPECT_EQ(resources->LoadCursor(IDS_TEST_MISSING), nullptr);

  CMenu menu;
  EXPECT_TRUE(resources->LoadMenu(&menu, IDR_TEST_MENU));
  EXPECT_EQ(menu.GetMenuItemCount(), 1);
  CMenu missing;
  EXPECT_FALSE(resources->LoadMenu(&missing, IDS_TEST_MISSING));

  EXPECT_NE(resources->LoadDialogTemplate(IDD_TEST_DIALOG), nullptr);
  EXPECT_EQ(resources->LoadDialogTemplate(IDS_TEST_MISSING), nullptr);

  CBitmap bitmap;
  EXPECT_FALSE(resources->LoadBitmap(&bitmap, IDS_TEST_MISSING));
}

TEST(ResourceSource, ReadsToolbarResourcesAndRefusesShortOnes) {
  XT_TOOLBARDATA toolbar;
  ASSERT_TRUE(GetToolkitResourceManager()->LoadToolBar(&toolbar, IDR_TEST_TOOLBAR));
  EXPECT_EQ(toolbar.wVersion, 1);
  EXPECT_EQ(toolbar.wWidth, 16);
  EXPECT_EQ(toolbar.wHeight, 15);
  ASSERT_EQ(toolbar.arrItems.GetSize(), 3);
  EXPECT_EQ(toolbar.arrItems[0], 100u);
  EXPECT_EQ(toolbar.arrItems[1], 0u);
  EXPECT_EQ(toolbar.arrItems[2], 101u);
  XT_TOOLBARDATA shortOne;
  EXPECT_FALSE(GetToolkitResourceManager()->LoadToolBar(&shortOne, IDR_TEST_SHORT_TOOLBAR))
      << "an item count beyond the resource's end";
  EXPECT_FALSE(GetToolkitResourceManager()->LoadToolBar(&shortOne, IDS_TEST_MISSING));
}

TEST(VisualStyles, WithoutUxThemeEveryCallFailsQuietly) {
  CXTVisualStyles styles(L"no-such-uxtheme.dll", MAKELONG(0, 6));
  EXPECT_EQ(styles.GetModuleHandle(), nullptr);
  EXPECT_FALSE(styles.IsVisualStyleActive());
  EXPECT_FALSE(styles.IsThemeActive());
  EXPECT_FALSE(styles.IsAppThemed());
  EXPECT_EQ(styles.OpenThemeData(nullptr, L"BUTTON"), nullptr);
  COLORREF color = 0;
  EXPECT_EQ(styles.GetThemeColor(nullptr, 0, 0, 3801, &color), E_FAIL);
  WCHAR file[260], scheme[260];
  EXPECT_EQ(styles.GetCurrentThemeName(file, 260, scheme, 260, nullptr, 0), E_FAIL);
  RECT rc = {0, 0, 10, 10};
  EXPECT_EQ(styles.DrawThemeBackground(nullptr, nullptr, 1, 1, &rc, nullptr), E_FAIL);

  CXTThemeHandle handle(&styles);
  handle.OpenThemeData(nullptr, L"TREEVIEW");
  EXPECT_EQ(handle.GetHandle(), nullptr);
  EXPECT_FALSE(handle.IsAppThemed());
  EXPECT_EQ(handle.GetThemeColor(0, 0, 3801, &color), E_FAIL);
}

TEST(VisualStyles, OldCommonControlsNeverCountAsVisualStyles) {
  CXTVisualStyles oldControls(L"UxTheme.dll", MAKELONG(81, 5));
  EXPECT_FALSE(oldControls.IsVisualStyleActive());
  CXTVisualStyles newControls(L"UxTheme.dll", MAKELONG(0, 6));
  EXPECT_EQ(newControls.IsVisualStyleActive(), newControls.IsThemeActive())
      << "with common controls 6 the theme state decides";
}

namespace {

class PlainAccessible : public CXTPBarAccessibility {};

class NamedAccessible : public CXTPBarAccessibility, public CCmdTarget {
 public:
  HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override {
    *pszName = ::SysAllocString(GetChildIdFromVariant(&varChild) == 0 ? L"bar" : L"control");
    return S_OK;
  }
  CCmdTarget* GetAccessibleCmdTarget() override { return this; }
};

VARIANT ChildVariant(long id) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

}  // namespace

TEST(BarAccessibility, AnObjectThatOverridesNothingAnswersNotImplemented) {
  PlainAccessible plain;
  IAccessible* acc = plain.GetAccessible();
  VARIANT child = ChildVariant(0), out;
  ::VariantInit(&out);
  BSTR text = nullptr;
  long n = 0;
  IDispatch* disp = nullptr;
  EXPECT_EQ(acc->get_accParent(&disp), E_NOTIMPL);
  EXPECT_EQ(acc->get_accChildCount(&n), E_NOTIMPL);
  EXPECT_EQ(acc->get_accChild(child, &disp), E_NOTIMPL);
  EXPECT_EQ(acc->get_accName(child, &text), E_NOTIMPL);
  EXPECT_EQ(acc->get_accValue(child, &text), E_NOTIMPL);
  EXPECT_EQ(acc->get_accDescription(child, &text), E_NOTIMPL);
  EXPECT_EQ(acc->get_accRole(child, &out), E_NOTIMPL);
  EXPECT_EQ(acc->get_accState(child, &out), E_NOTIMPL);
  EXPECT_EQ(acc->get_accHelp(child, &text), E_NOTIMPL);
  EXPECT_EQ(acc->get_accHelpTopic(&text, child, &n), E_NOTIMPL);
  EXPECT_EQ(acc->get_accKeyboardShortcut(child, &text), E_NOTIMPL);
  EXPECT_EQ(acc->get_accFocus(&out), E_NOTIMPL);
  EXPECT_EQ(acc->get_accSelection(&out), E_NOTIMPL);
  EXPECT_EQ(acc->get_accDefaultAction(child, &text), E_NOTIMPL);
  EXPECT_EQ(acc->accSelect(0, child), E_NOTIMPL);
  EXPECT_EQ(acc->accLocation(&n, &n, &n, &n, child), E_NOTIMPL);
  EXPECT_EQ(acc->accNavigate(0, child, &out), E_NOTIMPL);
  EXPECT_EQ(acc->accHitTest(0, 0, &out), E_NOTIMPL);
  EXPECT_EQ(acc->accDoDefaultAction(child), E_NOTIMPL);
  EXPECT_EQ(acc->put_accName(child, nullptr), E_NOTIMPL);
  EXPECT_EQ(acc->put_accValue(child, nullptr), E_NOTIMPL);
  UINT count = 0;
  EXPECT_EQ(acc->GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(acc->Invoke(0, IID_NULL, 0, 0, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
}

TEST(BarAccessibility, InterfaceForwardsToOverridesAndCountsOnTheCommandTarget) {
  NamedAccessible* named = new NamedAccessible;
  IAccessible* acc = named->GetAccessible();
  BSTR name = nullptr;
  ASSERT_EQ(acc->get_accName(ChildVariant(0), &name), S_OK);
  EXPECT_STREQ(name, L"bar");
  ::SysFreeString(name);
  ASSERT_EQ(acc->get_accName(ChildVariant(3), &name), S_OK);
  EXPECT_STREQ(name, L"control");
  ::SysFreeString(name);
  EXPECT_EQ(acc->AddRef(), 2u);
  IAccessible* again = nullptr;
  ASSERT_EQ(acc->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, acc);
  EXPECT_EQ(acc->Release(), 2u);
  EXPECT_EQ(acc->Release(), 1u);
  named->InternalRelease();  // the last reference deletes it
}

TEST(BarAccessibility, ChildIdFromVariantFollowsReferences) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I2;
  v.iVal = 7;
  EXPECT_EQ(CXTPBarAccessibility::GetChildIdFromVariant(&v), 7);
  long held = 12;
  v.vt = VT_BYREF | VT_I4;
  v.plVal = &held;
  EXPECT_EQ(CXTPBarAccessibility::GetChildIdFromVariant(&v), 12);
  v.plVal = nullptr;
  EXPECT_EQ(CXTPBarAccessibility::GetChildIdFromVariant(&v), -1) << "a null reference";
  VARIANT inner = ChildVariant(5);
  VARIANT outer;
  outer.vt = VT_BYREF | VT_VARIANT;
  outer.pvarVal = &inner;
  EXPECT_EQ(CXTPBarAccessibility::GetChildIdFromVariant(&outer), 5);
  VARIANT loop;
  loop.vt = VT_BYREF | VT_VARIANT;
  loop.pvarVal = &loop;
  EXPECT_EQ(CXTPBarAccessibility::GetChildIdFromVariant(&loop), -1) << "a chain that never ends";
  v.vt = VT_BSTR;
  EXPECT_EQ(CXTPBarAccessibility::GetChildIdFromVariant(&v), -1);
}

TEST(BarAccessibility, OleaccEntriesAreBound) {
  IAccessible* acc = nullptr;
  HRESULT hr = CXTPBarAccessibility::AccessibleObjectFromWindow(
      ::GetDesktopWindow(), OBJID_WINDOW, IID_IAccessible, reinterpret_cast<void**>(&acc));
  EXPECT_NE(hr, E_NOTIMPL);
  if (SUCCEEDED(hr) && acc != nullptr) acc->Release();
  CXTPBarAccessibility::NotifyWinEvent(EVENT_OBJECT_FOCUS, nullptr, OBJID_CLIENT, 0);
}
