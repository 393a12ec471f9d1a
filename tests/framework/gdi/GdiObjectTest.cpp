// GDI object wrappers: who owns a handle, typed temporaries, and the creation members.
#include "Canvas.h"
#include "resource.h"

#include <gtest/gtest.h>

TEST(CGdiObjectOwnership, DestructorDeletesOwnedHandleDetachHandsItBack) {
  HGDIOBJ deleted = nullptr;
  {
    CBrush brush(kRed);
    deleted = brush.m_hObject;
    EXPECT_EQ(OBJ_BRUSH, brush.GetObjectType());
  }
  EXPECT_EQ(0u, ::GetObjectType(deleted));

  HGDIOBJ kept = nullptr;
  {
    CPen pen(PS_SOLID, 1, kBlue);
    kept = pen.Detach();
    EXPECT_EQ(nullptr, pen.m_hObject);
    EXPECT_FALSE(pen.DeleteObject());
  }
  EXPECT_EQ(static_cast<UINT>(OBJ_PEN), ::GetObjectType(kept));
  ::DeleteObject(kept);

  CGdiObject empty;
  EXPECT_FALSE(empty.Attach(nullptr));
  CGdiObject* none = nullptr;
  EXPECT_EQ(nullptr, none->GetSafeHandle());
}

TEST(CGdiObjectOwnership, FromHandleGivesOwnerOrTypedTemporary) {
  CFont owned;
  ASSERT_TRUE(owned.CreatePointFont(90, L"Tahoma"));
  EXPECT_EQ(&owned, CFont::FromHandle(owned));
  EXPECT_EQ(&owned, CGdiObject::FromHandle(owned.m_hObject));

  HPEN foreign = ::CreatePen(PS_DOT, 1, kBlack);
  CGdiObject* temporary = CGdiObject::FromHandle(foreign);
  ASSERT_NE(nullptr, temporary);
  EXPECT_TRUE(temporary->IsKindOf(RUNTIME_CLASS(CPen)));
  EXPECT_EQ(temporary, CPen::FromHandle(foreign));
  LOGPEN logPen = {};
  EXPECT_EQ(static_cast<int>(sizeof(LOGPEN)), CPen::FromHandle(foreign)->GetLogPen(&logPen));
  EXPECT_EQ(static_cast<UINT>(PS_DOT), logPen.lopnStyle);
  CGdiObject::DeleteTempMap();
  EXPECT_EQ(static_cast<UINT>(OBJ_PEN), ::GetObjectType(foreign));  // temporaries never delete
  ::DeleteObject(foreign);

  EXPECT_TRUE(CGdiObject::FromHandle(::GetStockObject(WHITE_BRUSH))->IsKindOf(RUNTIME_CLASS(CBrush)));
  EXPECT_TRUE(CGdiObject::FromHandle(::GetStockObject(SYSTEM_FONT))->IsKindOf(RUNTIME_CLASS(CFont)));
  CGdiObject::DeleteTempMap();
}

TEST(CGdiObjectOwnership, SelectObjectReturnsThePreviousObject) {
  Canvas canvas(2, 2);
  CPen first(PS_SOLID, 1, kRed), second(PS_SOLID, 1, kBlue);
  CPen* original = canvas.dc().SelectObject(&first);
  ASSERT_NE(nullptr, original);
  EXPECT_EQ(&first, canvas.dc().SelectObject(&second));
  EXPECT_EQ(&second, canvas.dc().GetCurrentPen());
  EXPECT_EQ(&second, canvas.dc().SelectObject(original));
  EXPECT_EQ(nullptr, canvas.dc().SelectObject(static_cast<CPen*>(nullptr)));
  CGdiObject* previousBrush = canvas.dc().SelectStockObject(NULL_BRUSH);
  ASSERT_NE(nullptr, previousBrush);
  EXPECT_EQ(::GetStockObject(NULL_BRUSH), canvas.dc().GetCurrentBrush()->m_hObject);
  canvas.dc().SelectObject(previousBrush);
  CGdiObject::DeleteTempMap();
}

TEST(CFontMembers, PointSizeFollowsTheDeviceResolution) {
  Canvas canvas(2, 2);
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, L"Arial", &canvas.dc()));
  LOGFONT lf = {};
  ASSERT_EQ(static_cast<int>(sizeof(LOGFONT)), font.GetLogFont(&lf));
  EXPECT_EQ(-::MulDiv(canvas.dc().GetDeviceCaps(LOGPIXELSY), 100, 720), lf.lfHeight);
  EXPECT_STREQ(L"Arial", lf.lfFaceName);

  // Under a mapping mode the height is in logical units.
  canvas.dc().SetMapMode(MM_ANISOTROPIC);
  canvas.dc().SetWindowExt(2, 2);
  canvas.dc().SetViewportExt(1, 1);
  CFont scaled;
  ASSERT_TRUE(scaled.CreatePointFont(100, L"Arial", &canvas.dc()));
  scaled.GetLogFont(&lf);
  EXPECT_EQ(-2 * ::MulDiv(canvas.dc().GetDeviceCaps(LOGPIXELSY), 100, 720), lf.lfHeight);

  LOGFONT indirect = {};
  indirect.lfHeight = -20;
  indirect.lfWeight = FW_BOLD;
  lstrcpy(indirect.lfFaceName, L"Tahoma");
  CFont bold;
  ASSERT_TRUE(bold.CreateFontIndirect(&indirect));
  bold.GetLogFont(&lf);
  EXPECT_EQ(-20, lf.lfHeight);
  EXPECT_EQ(FW_BOLD, lf.lfWeight);
  EXPECT_FALSE(bold.CreateFontIndirect(nullptr));
}

TEST(CBitmapMembers, LoadsFromResourcesAndReportsItsSize) {
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadBitmap(IDB_PROBE));
  BITMAP info = {};
  ASSERT_EQ(static_cast<int>(sizeof(BITMAP)), bitmap.GetBitmap(&info));
  EXPECT_EQ(8, info.bmWidth);
  EXPECT_EQ(4, info.bmHeight);

  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  EXPECT_EQ(kRed, dc.GetPixel(0, 0));
  EXPECT_EQ(kBlue, dc.GetPixel(7, 3));
  dc.SelectObject(old);

  CBitmap missing;
  EXPECT_FALSE(missing.LoadBitmap(9999));
  EXPECT_EQ(nullptr, missing.m_hObject);
}

TEST(CBitmapMembers, CreatesMasksAndCompatibleBitmaps) {
  BYTE maskBits[2 * 4] = {0xF0, 0, 0x0F, 0, 0xF0, 0, 0x0F, 0};
  CBitmap mask;
  ASSERT_TRUE(mask.CreateBitmap(8, 4, 1, 1, maskBits));
  BITMAP info = {};
  mask.GetBitmap(&info);
  EXPECT_EQ(1, info.bmBitsPixel);

  Canvas canvas(2, 2);
  CBitmap compatible;
  ASSERT_TRUE(compatible.CreateCompatibleBitmap(&canvas.dc(), 30, 20));
  compatible.GetBitmap(&info);
  EXPECT_EQ(30, info.bmWidth);
  EXPECT_EQ(20, info.bmHeight);
  EXPECT_FALSE(compatible.CreateCompatibleBitmap(nullptr, 1, 1));
}

TEST(CRgnMembers, PolygonRegionsAndBoxes) {
  POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
  CRgn rgn;
  ASSERT_TRUE(rgn.CreatePolygonRgn(triangle, 3, ALTERNATE));
  EXPECT_TRUE(rgn.PtInRegion(1, 1));
  EXPECT_FALSE(rgn.PtInRegion(8, 8));
  CRect box;
  EXPECT_NE(ERROR, rgn.GetRgnBox(&box));
  EXPECT_EQ(CRect(0, 0, 10, 10), box);
  EXPECT_FALSE(CRgn().CreatePolygonRgn(triangle, 1, ALTERNATE));

  CRgn copy;
  copy.CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, copy.CopyRgn(&rgn));
  EXPECT_TRUE(copy.EqualRgn(&rgn));
  copy.OffsetRgn(CPoint(5, 5));
  EXPECT_FALSE(copy.EqualRgn(&rgn));
  EXPECT_EQ(ERROR, CRgn().OffsetRgn(1, 1));
}
