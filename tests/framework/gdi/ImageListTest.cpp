// CImageList round trips: bitmaps with mask colours, icons, resource strips, drawing and the
// shell's system list, which the wrapper must never destroy.
#include "Canvas.h"
#include "framework/ImageList.h"
#include "resource.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A 32x16 bitmap of two 16x16 images: red with a magenta centre, and solid green.
void MakeStrip(CBitmap& bitmap) {
  Canvas canvas(32, 16);
  canvas.dc().FillSolidRect(0, 0, 16, 16, kRed);
  canvas.dc().FillSolidRect(4, 4, 8, 8, kMagenta);
  canvas.dc().FillSolidRect(16, 0, 16, 16, kGreen);
  bitmap.CreateCompatibleBitmap(&canvas.dc(), 32, 16);
  CDC copy;
  copy.CreateCompatibleDC(nullptr);
  CBitmap* old = copy.SelectObject(&bitmap);
  copy.BitBlt(0, 0, 32, 16, &canvas.dc(), 0, 0, SRCCOPY);
  copy.SelectObject(old);
}

}  // namespace

TEST(CImageListRoundTrip, MaskColourBecomesTransparentWhenDrawn) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
  EXPECT_FALSE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));  // already holds a list
  CBitmap strip;
  MakeStrip(strip);
  EXPECT_EQ(0, list.Add(&strip, kMagenta));
  EXPECT_EQ(2, list.GetImageCount());

  IMAGEINFO info = {};
  ASSERT_TRUE(list.GetImageInfo(1, &info));
  EXPECT_EQ(16, info.rcImage.right - info.rcImage.left);
  EXPECT_EQ(16, info.rcImage.bottom - info.rcImage.top);
  EXPECT_FALSE(list.GetImageInfo(0, nullptr));

  Canvas canvas(40, 16);
  EXPECT_TRUE(list.Draw(&canvas.dc(), 0, CPoint(0, 0), ILD_NORMAL));
  EXPECT_TRUE(list.Draw(&canvas.dc(), 1, CPoint(20, 0), ILD_NORMAL));
  EXPECT_EQ(256 - 64, canvas.Count(CRect(0, 0, 16, 16), kRed));
  EXPECT_EQ(64, canvas.Count(CRect(4, 4, 12, 12), kWhite));
  EXPECT_EQ(256, canvas.Count(CRect(20, 0, 36, 16), kGreen));
  EXPECT_FALSE(list.Draw(nullptr, 0, CPoint(0, 0), ILD_NORMAL));
}

TEST(CImageListRoundTrip, ExtractedIconDrawsLikeTheImageAndIconsAddBack) {
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2));
  CBitmap strip;
  MakeStrip(strip);
  list.Add(&strip, kMagenta);
  HICON icon = list.ExtractIcon(0);
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(nullptr, list.ExtractIcon(2));
  EXPECT_EQ(nullptr, list.ExtractIcon(-1));

  Canvas canvas(16, 16);
  canvas.dc().DrawIcon(0, 0, icon);
  EXPECT_EQ(kRed, canvas.At(0, 0));
  EXPECT_EQ(kWhite, canvas.At(8, 8));

  EXPECT_EQ(2, list.Add(icon));
  EXPECT_EQ(3, list.GetImageCount());
  EXPECT_EQ(-1, list.Add(static_cast<HICON>(nullptr)));
  ::DestroyIcon(icon);
  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(2, list.GetImageCount());
  EXPECT_TRUE(list.Remove(-1));
  EXPECT_EQ(0, list.GetImageCount());
}

TEST(CImageListRoundTrip, ResourceStripIsCutIntoImages) {
  CImageList opaque;
  ASSERT_TRUE(opaque.Create(IDB_PROBE, 4, 1, CLR_NONE));
  EXPECT_EQ(2, opaque.GetImageCount());
  int cx = 0, cy = 0;
  opaque.GetIconSize(&cx, &cy);
  EXPECT_EQ(4, cx);
  EXPECT_EQ(4, cy);

  CImageList masked;
  ASSERT_TRUE(masked.Create(IDB_PROBE, 4, 1, kBlue));
  Canvas canvas(8, 4);
  masked.Draw(&canvas.dc(), 0, CPoint(0, 0), ILD_TRANSPARENT);
  masked.Draw(&canvas.dc(), 1, CPoint(4, 0), ILD_TRANSPARENT);
  EXPECT_EQ(16, canvas.Count(CRect(0, 0, 4, 4), kRed));
  EXPECT_EQ(16, canvas.Count(CRect(4, 0, 8, 4), kWhite));

  CImageList missing;
  EXPECT_FALSE(missing.Create(9999, 4, 1, CLR_NONE));
}

TEST(CImageListOwnership, TemporariesOfForeignListsNeverDestroyThem) {
  SHFILEINFO sfi = {};
  auto hSystem = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfo(L"probe.txt", FILE_ATTRIBUTE_NORMAL, &sfi, sizeof(sfi),
                      SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  ASSERT_NE(nullptr, hSystem);
  int count = ImageList_GetImageCount(hSystem);
  CImageList* system = CImageList::FromHandle(hSystem);
  ASSERT_NE(nullptr, system);
  EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(hSystem));
  EXPECT_EQ(count, system->GetImageCount());
  CImageList::DeleteTempMap();
  EXPECT_EQ(count, ImageList_GetImageCount(hSystem));

  CImageList owned;
  owned.Create(8, 8, ILC_COLOR32, 1, 1);
  EXPECT_EQ(&owned, CImageList::FromHandle(owned));
  EXPECT_EQ(&owned, CImageList::FromHandlePermanent(owned.m_hImageList));
  HIMAGELIST detached = owned.Detach();
  EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(detached));
  EXPECT_TRUE(owned.Attach(detached));
  EXPECT_FALSE(owned.Attach(detached));
}
