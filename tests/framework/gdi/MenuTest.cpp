// CMenu on a menu resource: loading, sub-menus, item ids, strings and state, and changing items.
#include "afx.h"
#include "framework/Menu.h"
#include "resource.h"

#include <gtest/gtest.h>

TEST(CMenuLoad, ReadsItemsStringsAndStates) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_PROBE_MENU));
  EXPECT_FALSE(menu.LoadMenu(IDR_PROBE_MENU));  // already holds a menu
  EXPECT_EQ(2, menu.GetMenuItemCount());
  EXPECT_EQ(static_cast<UINT>(-1), menu.GetMenuItemID(0));  // a pop-up

  CMenu* file = menu.GetSubMenu(0);
  ASSERT_NE(nullptr, file);
  EXPECT_EQ(file, menu.GetSubMenu(0));
  EXPECT_EQ(nullptr, menu.GetSubMenu(5));
  EXPECT_EQ(4, file->GetMenuItemCount());
  EXPECT_EQ(static_cast<UINT>(ID_PROBE_OPEN), file->GetMenuItemID(0));
  EXPECT_EQ(0u, file->GetMenuItemID(2));  // separator

  CString text;
  EXPECT_EQ(15, file->GetMenuString(0, text, MF_BYPOSITION));
  EXPECT_STREQ(L"&Open...\tCtrl+O", text);
  WCHAR buffer[256];
  EXPECT_EQ(5, file->GetMenuString(ID_PROBE_EXIT, buffer, 256, MF_BYCOMMAND));
  EXPECT_STREQ(L"E&xit", buffer);
  EXPECT_EQ(3, file->GetMenuString(ID_PROBE_EXIT, buffer, 4, MF_BYCOMMAND));  // cut to fit
  EXPECT_EQ(0, file->GetMenuString(9999, text, MF_BYCOMMAND));
  EXPECT_TRUE(text.IsEmpty());

  MENUITEMINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_TYPE;
  info.dwTypeData = buffer;
  info.cch = 256;
  ASSERT_TRUE(file->GetMenuItemInfo(1, &info, TRUE));
  EXPECT_TRUE(info.fState & MFS_GRAYED);
  EXPECT_STREQ(L"&Save", buffer);
  EXPECT_TRUE(menu.GetSubMenu(1)->GetMenuState(ID_PROBE_COPY, MF_BYCOMMAND) & MF_CHECKED);
  CMenu::DeleteTempMap();
}

TEST(CMenuEdit, AppendInsertModifyRemoveAndCheck) {
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  EXPECT_TRUE(popup.AppendMenu(MF_STRING, 100, L"First"));
  EXPECT_TRUE(popup.AppendMenu(MF_SEPARATOR));
  EXPECT_TRUE(popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 99, L"Zeroth"));
  EXPECT_EQ(3, popup.GetMenuItemCount());
  EXPECT_EQ(99u, popup.GetMenuItemID(0));
  EXPECT_TRUE(popup.ModifyMenu(100, MF_BYCOMMAND | MF_STRING, 101, L"Renamed"));
  CString text;
  popup.GetMenuString(101, text, MF_BYCOMMAND);
  EXPECT_STREQ(L"Renamed", text);
  EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), popup.CheckMenuItem(101, MF_CHECKED));
  EXPECT_EQ(static_cast<UINT>(MF_CHECKED), popup.CheckMenuItem(101, MF_UNCHECKED));
  EXPECT_EQ(static_cast<UINT>(-1), popup.CheckMenuItem(555, MF_CHECKED));
  EXPECT_EQ(static_cast<UINT>(MF_ENABLED), popup.EnableMenuItem(99, MF_GRAYED));
  EXPECT_TRUE(popup.GetMenuState(99, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(popup.RemoveMenu(2, MF_BYPOSITION));
  EXPECT_EQ(2, popup.GetMenuItemCount());

  CMenu bar;
  ASSERT_TRUE(bar.CreateMenu());
  EXPECT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.m_hMenu), L"&Items"));
  EXPECT_EQ(popup.m_hMenu, bar.GetSubMenu(0)->m_hMenu);
  EXPECT_EQ(&popup, bar.GetSubMenu(0));  // the owner, not a temporary
  // Deleting the item destroys the sub-menu, so its owner must let go of the handle.
  EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
  EXPECT_EQ(nullptr, popup.m_hMenu);
  EXPECT_EQ(0, bar.GetMenuItemCount());
}

TEST(CMenuOwnership, FromHandleAttachAndDetach) {
  HMENU foreign = ::CreatePopupMenu();
  CMenu* temporary = CMenu::FromHandle(foreign);
  ASSERT_NE(nullptr, temporary);
  EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(foreign));
  CMenu::DeleteTempMap();
  EXPECT_TRUE(::IsMenu(foreign));

  {
    CMenu owner;
    EXPECT_TRUE(owner.Attach(foreign));
    EXPECT_EQ(&owner, CMenu::FromHandle(foreign));
    EXPECT_EQ(foreign, owner.Detach());
    EXPECT_EQ(nullptr, owner.GetSafeHmenu());
  }
  EXPECT_TRUE(::IsMenu(foreign));
  {
    CMenu owner;
    owner.Attach(foreign);
  }
  EXPECT_FALSE(::IsMenu(foreign));
  CMenu* none = nullptr;
  EXPECT_EQ(nullptr, none->GetSafeHmenu());
  CMenu missing;
  EXPECT_FALSE(missing.LoadMenu(9999));
}
