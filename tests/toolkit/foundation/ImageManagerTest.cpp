// The image manager headless: icon sets by width and the scaling choice, strips cut with and without
// id lists and separators, loading from bitmap, toolbar and icon resources, and the generated forms
// probed pixel by pixel on DIBs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ColorTable.h"
#include "ImageManager.h"
#include "ImagePixels.h"
#include "ImageTestPictures.h"
#include "TestFiles.h"
#include "ToolkitTestResource.h"

namespace {

// An icon file made of an icon group resource: the 6-byte header, 16-byte entries with file offsets,
// then the images as RT_ICON holds them.
std::string IconFileFromResource(UINT nID) {
  HINSTANCE hInst = AfxGetResourceHandle();
  HRSRC hGroup = ::FindResourceW(hInst, MAKEINTRESOURCEW(nID), RT_GROUP_ICON);
  if (hGroup == nullptr) return std::string();
  const BYTE* pGroup = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hGroup)));
  const WORD nCount = *reinterpret_cast<const WORD*>(pGroup + 4);
  std::string header(reinterpret_cast<const char*>(pGroup), 6), images;
  for (WORD i = 0; i < nCount; ++i) {
    const BYTE* pEntry = pGroup + 6 + i * 14;
    const WORD nImage = *reinterpret_cast<const WORD*>(pEntry + 12);
    HRSRC hImage = ::FindResourceW(hInst, MAKEINTRESOURCEW(nImage), RT_ICON);
    const DWORD cbImage = ::SizeofResource(hInst, hImage);
    const DWORD dwOffset = 6 + nCount * 16 + static_cast<DWORD>(images.size());
    header.append(reinterpret_cast<const char*>(pEntry), 12);
    header.append(reinterpret_cast<const char*>(&dwOffset), 4);
    images.append(static_cast<const char*>(::LockResource(::LoadResource(hInst, hImage))), cbImage);
  }
  return header + images;
}

class ImageManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { manager_ = new CXTPImageManager(); }
  void TearDown() override { manager_->InternalRelease(); }

  // Adds an ordinary 16 x 16 icon of one colour for the command.
  void AddPlainIcon(UINT nCommand, COLORREF clr, int cx = 16) {
    HBITMAP hStrip = MakeStrip24({clr}, cx, cx);
    ASSERT_TRUE(manager_->AddIconsFromBitmap(hStrip, &nCommand, 1, CSize(cx, cx), xtpImageNormal, FALSE));
    ::DeleteObject(hStrip);
  }
  void AddAlphaIcon(UINT nCommand, COLORREF clr, int cx = 16, BYTE alpha = 255) {
    HBITMAP hStrip = MakeStrip32({clr}, cx, cx, alpha);
    ASSERT_TRUE(manager_->AddIconsFromBitmap(hStrip, &nCommand, 1, CSize(cx, cx), xtpImageNormal, TRUE));
    ::DeleteObject(hStrip);
  }

  CXTPImageManager* manager_ = nullptr;
};

}  // namespace

TEST_F(ImageManagerTest, IconsAreKeptByCommandAndWidth) {
  AddPlainIcon(1, RGB(255, 0, 0), 16);
  AddPlainIcon(1, RGB(0, 0, 255), 32);
  CXTPImageManagerIcon* p16 = manager_->GetImage(1, 16);
  CXTPImageManagerIcon* p32 = manager_->GetImage(1, 32);
  ASSERT_NE(p16, nullptr);
  ASSERT_NE(p32, nullptr);
  EXPECT_EQ(p16->GetWidth(), 16);
  EXPECT_EQ(p32->GetExtent(), CSize(32, 32));
  EXPECT_EQ(Probe(p16, p16->GetIcon(), 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(Probe(p32, p32->GetIcon(), 8, 8), RGB(0, 0, 255));
  EXPECT_EQ(manager_->GetImage(2, 16), nullptr) << "no set for the command";
  EXPECT_EQ(manager_->GetIconSet(2), nullptr);
  EXPECT_NE(manager_->FindIconSet(2), nullptr) << "found sets are added empty";
  EXPECT_EQ(manager_->GetImage(2, 16), nullptr);
}

TEST_F(ImageManagerTest, AMissingWidthIsAScaledCopyOfTheFirstNearestIcon) {
  AddPlainIcon(1, RGB(255, 0, 0), 16);
  AddPlainIcon(1, RGB(0, 0, 255), 32);
  CXTPImageManagerIconSet* pSet = manager_->GetIconSet(1);
  EXPECT_EQ(pSet->GetIcon(24, FALSE), nullptr) << "no scaling asked";
  CXTPImageManagerIcon* p24 = manager_->GetImage(1, 24);
  ASSERT_NE(p24, nullptr);
  EXPECT_TRUE(p24->IsScaled());
  EXPECT_EQ(p24->GetExtent(), CSize(24, 24));
  EXPECT_EQ(p24->GetIcon().GetExtent(), CSize(24, 24));
  EXPECT_EQ(Probe(p24, p24->GetIcon(), 12, 12), RGB(255, 0, 0)) << "the 16-pixel icon wins the tie";
  EXPECT_EQ(pSet->GetIcon(24, FALSE), p24) << "the copy is kept under the asked width";
  EXPECT_EQ(pSet->GetStoredIconCount(), 2);

  pSet->RefreshAll();
  EXPECT_EQ(pSet->GetIcon(24, FALSE), nullptr) << "a refresh drops scaled copies";
  CXTPImageManagerIcon* pHuge = manager_->GetImage(1, 100000);
  ASSERT_NE(pHuge, nullptr);
  EXPECT_FALSE(pHuge->IsScaled()) << "no copy beyond the largest picture";
  EXPECT_EQ(pHuge->GetWidth(), 32);
}

TEST_F(ImageManagerTest, AlphaIconsAndWidthZeroAreReturnedUnscaled) {
  AddAlphaIcon(1, RGB(0, 128, 0), 16);
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1, 24);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_FALSE(pIcon->IsScaled());
  EXPECT_EQ(pIcon->GetWidth(), 16);

  AddPlainIcon(2, RGB(255, 0, 0), 16);
  pIcon = manager_->GetImage(2, 0);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_EQ(pIcon->GetWidth(), 16) << "width 0 asks for any size";
}

TEST_F(ImageManagerTest, SeparatorsTakeNoImageWhenTheIdsAreFewer) {
  const std::vector<COLORREF> colors = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
  HBITMAP hStrip = MakeStrip24(colors, 16, 16);
  const UINT ids[] = {10, 0, 11};
  ASSERT_TRUE(manager_->AddIconsFromBitmap(hStrip, ids, 3, CSize(16, 16), xtpImageNormal, FALSE));
  EXPECT_EQ(Probe(manager_->GetImage(10), manager_->GetImage(10)->GetIcon(), 8, 8), colors[0]);
  EXPECT_EQ(Probe(manager_->GetImage(11), manager_->GetImage(11)->GetIcon(), 8, 8), colors[1]);
  EXPECT_EQ(manager_->GetIconSet(0), nullptr) << "a separator gets no icon";

  const UINT allIds[] = {20, 0, 21, 22};
  ASSERT_TRUE(manager_->AddIconsFromBitmap(hStrip, allIds, 4, CSize(16, 16), xtpImageNormal, FALSE));
  EXPECT_EQ(Probe(manager_->GetImage(20), manager_->GetImage(20)->GetIcon(), 8, 8), colors[0]);
  EXPECT_EQ(Probe(manager_->GetImage(21), manager_->GetImage(21)->GetIcon(), 8, 8), colors[2])
      << "with as many ids as images each id takes its own image";
  EXPECT_EQ(Probe(manager_->GetImage(22), manager_->GetImage(22)->GetIcon(), 8, 8), colors[3]);
  ::DeleteObject(hStrip);
}

TEST_F(ImageManagerTest, AStripWithoutIdsNumbersItsImagesFromZero) {
  const std::vector<COLORREF> colors = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255)};
  HBITMAP hStrip = MakeStrip24(colors, 16, 16);
  ASSERT_TRUE(manager_->AddIconsFromBitmap(hStrip, nullptr, 0, CSize(16, 16), xtpImageNormal, FALSE));
  for (UINT i = 0; i < 3; ++i) {
    CXTPImageManagerIcon* pIcon = manager_->GetImage(i, 16);
    ASSERT_NE(pIcon, nullptr) << i;
    EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 8, 8), colors[i]);
    EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 0, 0), RGB(255, 255, 255)) << "the mask colour is transparent";
  }
  EXPECT_EQ(manager_->GetIconSet(3), nullptr);
  ::DeleteObject(hStrip);
}

TEST_F(ImageManagerTest, IdsNeverRunPastTheImagesOfAStrip) {
  HBITMAP hStrip = MakeStrip24({RGB(255, 0, 0), RGB(0, 0, 255)}, 16, 16);
  const UINT ids[] = {1, 2, 3};
  EXPECT_FALSE(manager_->AddIconsFromBitmap(hStrip, ids, 3, CSize(16, 16), xtpImageNormal, FALSE));
  EXPECT_TRUE(manager_->IsEmpty()) << "nothing is added from a strip that is too short";
  ::DeleteObject(hStrip);

  HBITMAP hAlpha = MakeStrip32({RGB(255, 0, 0), RGB(0, 0, 255)}, 16, 16);
  EXPECT_FALSE(manager_->AddIconsFromBitmap(hAlpha, ids, 3, CSize(16, 16), xtpImageNormal, TRUE));
  EXPECT_TRUE(manager_->IsEmpty());
  ::DeleteObject(hAlpha);
}

TEST_F(ImageManagerTest, AnAlphaStripMustDivideIntoWholeImages) {
  HBITMAP hStrip = MakeStrip32({RGB(255, 0, 0), RGB(0, 0, 255)}, 16, 16);
  EXPECT_FALSE(manager_->AddIconsFromBitmap(hStrip, nullptr, 0, CSize(15, 16), xtpImageNormal, TRUE));
  EXPECT_TRUE(manager_->IsEmpty());
  EXPECT_FALSE(manager_->AddIconsFromBitmap(hStrip, nullptr, 0, CSize(0, 16), xtpImageNormal, TRUE))
      << "width 0 adds nothing";
  ASSERT_TRUE(manager_->AddIconsFromBitmap(hStrip, nullptr, 0, CSize(16, 16), xtpImageHot, TRUE));
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1, 16);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_TRUE(pIcon->GetHotIcon().IsAlpha()) << "added in the hot state";
  EXPECT_TRUE(pIcon->GetIcon().IsEmpty());
  ::DeleteObject(hStrip);
}

TEST_F(ImageManagerTest, AlphaPicturesBlendOverWhatIsBelow) {
  AddAlphaIcon(1, RGB(200, 100, 0), 16, 255);
  AddAlphaIcon(2, RGB(200, 100, 0), 16, 128);
  CXTPImageManagerIcon* pOpaque = manager_->GetImage(1);
  EXPECT_EQ(Probe(pOpaque, pOpaque->GetIcon(), 5, 5), RGB(200, 100, 0));
  CXTPImageManagerIcon* pHalf = manager_->GetImage(2);
  const COLORREF clr = Probe(pHalf, pHalf->GetIcon(), 5, 5);
  // Premultiplied 200 x 128 / 255 = 100, over white: 100 + 255 x 127 / 255.
  EXPECT_NEAR(GetRValue(clr), 227, 1);
  EXPECT_NEAR(GetBValue(clr), 127, 1);
}

// ---- Generated forms -------------------------------------------------------------------------------

TEST_F(ImageManagerTest, FadedFormsLightenEachChannel) {
  AddAlphaIcon(1, RGB(200, 100, 0));
  AddPlainIcon(2, RGB(200, 100, 0));
  for (UINT nCommand : {1u, 2u}) {
    CXTPImageManagerIcon* pIcon = manager_->GetImage(nCommand);
    // c x 0.7 + 76.5, truncated.
    EXPECT_EQ(Probe(pIcon, pIcon->GetFadedIcon(), 8, 8), RGB(216, 146, 76)) << nCommand;
  }
  EXPECT_EQ(Probe(manager_->GetImage(2), manager_->GetImage(2)->GetFadedIcon(), 0, 0), RGB(255, 255, 255))
      << "transparent pixels stay transparent";
}

TEST_F(ImageManagerTest, ShadowFormsTakeThreeQuartersOfSlot31) {
  const COLORREF clrSlot = GetXTPColor(31);
  const COLORREF clrShadow =
      RGB(GetRValue(clrSlot) * 3 / 4, GetGValue(clrSlot) * 3 / 4, GetBValue(clrSlot) * 3 / 4);
  AddAlphaIcon(1, RGB(200, 100, 0));
  AddPlainIcon(2, RGB(200, 100, 0));
  for (UINT nCommand : {1u, 2u}) {
    CXTPImageManagerIcon* pIcon = manager_->GetImage(nCommand);
    EXPECT_EQ(Probe(pIcon, pIcon->GetShadowIcon(), 8, 8), clrShadow) << nCommand;
  }
}

TEST_F(ImageManagerTest, TheGreyRuleKeepsWhiteAndBlackAndTakesTheRootOfLuminance) {
  struct Case {
    COLORREF clr;
    BYTE grey;
  } cases[] = {{RGB(255, 255, 255), 255}, {RGB(0, 0, 0), 0}, {RGB(11, 103, 0), 127}};
  UINT nCommand = 1;
  for (const Case& c : cases) {
    AddAlphaIcon(nCommand, c.clr);
    AddPlainIcon(nCommand + 100, c.clr);
    for (UINT id : {nCommand, nCommand + 100}) {
      CXTPImageManagerIcon* pIcon = manager_->GetImage(id);
      EXPECT_FALSE(pIcon->HasDisabledIcon());
      EXPECT_EQ(Probe(pIcon, pIcon->GetDisabledIcon(), 8, 8), RGB(c.grey, c.grey, c.grey)) << id;
    }
    ++nCommand;
  }
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1);
  EXPECT_TRUE(pIcon->GetDisabledIcon(FALSE).IsAlpha()) << "made once and kept";
}

TEST_F(ImageManagerTest, TheTwoColourRuleBlendsDarkToLightByLuminance) {
  AddAlphaIcon(1, RGB(255, 255, 255));
  AddAlphaIcon(2, RGB(0, 0, 0));
  AddPlainIcon(3, RGB(11, 103, 0));
  const COLORREF clrLight = RGB(240, 200, 100), clrDark = RGB(40, 0, 20);
  for (UINT id : {1u, 2u, 3u}) manager_->GetImage(id)->CreateDisabledIcon(clrLight, clrDark);
  CXTPImageManagerIcon* pWhite = manager_->GetImage(1);
  CXTPImageManagerIcon* pBlack = manager_->GetImage(2);
  CXTPImageManagerIcon* pQuarter = manager_->GetImage(3);
  EXPECT_EQ(Probe(pWhite, pWhite->GetDisabledIcon(FALSE), 8, 8), clrLight);
  EXPECT_EQ(Probe(pBlack, pBlack->GetDisabledIcon(FALSE), 8, 8), clrDark);
  // 0.75 x dark + 0.25 x light per channel.
  EXPECT_EQ(Probe(pQuarter, pQuarter->GetDisabledIcon(FALSE), 8, 8), RGB(90, 50, 40));
}

TEST_F(ImageManagerTest, FormAccessorsFallBackAndSettingAFormDropsTheGeneratedOnes) {
  AddPlainIcon(1, RGB(255, 0, 0));
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1);
  EXPECT_EQ(pIcon->GetHotIcon().GetIcon(), pIcon->GetIcon().GetIcon()) << "no hot form: the normal one";
  EXPECT_EQ(pIcon->GetCheckedIcon().GetIcon(), pIcon->GetIcon().GetIcon());
  EXPECT_FALSE(pIcon->GetFadedIcon().IsEmpty());
  EXPECT_FALSE(pIcon->GetShadowIcon().IsEmpty());

  HBITMAP hBlue = MakeStrip24({RGB(0, 0, 255)}, 16, 16);
  const UINT id = 1;
  ASSERT_TRUE(manager_->AddIconsFromBitmap(hBlue, &id, 1, CSize(16, 16), xtpImageHot, FALSE));
  ::DeleteObject(hBlue);
  EXPECT_EQ(Probe(pIcon, pIcon->GetHotIcon(), 8, 8), RGB(0, 0, 255));
  EXPECT_EQ(Probe(pIcon, pIcon->GetCheckedIcon(), 8, 8), RGB(0, 0, 255)) << "no checked form: the hot one";
  EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 8, 8), RGB(255, 0, 0)) << "the normal form stays";
  EXPECT_TRUE(pIcon->GetDisabledIcon(FALSE).IsEmpty()) << "a new form drops the generated ones";
}

TEST_F(ImageManagerTest, DrawingScalesToTheAskedSizeAndAZeroWidthIconDrawsNothing) {
  AddPlainIcon(1, RGB(255, 0, 0));
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1);
  ToolkitCanvas canvas(64, 64);
  pIcon->Draw(&canvas.dc(), CPoint(0, 0), pIcon->GetIcon(), CSize(32, 0));
  EXPECT_EQ(canvas.At(30, 30), RGB(255, 0, 0)) << "height follows the width's proportion";
  EXPECT_EQ(canvas.At(33, 33), RGB(255, 255, 255));

  CXTPImageManagerIcon empty(5, 0, 0);
  empty.SetIcon(pIcon->GetIcon(), 0, 0);
  empty.Draw(&canvas.dc(), CPoint(40, 40));
  EXPECT_EQ(canvas.At(45, 45), RGB(255, 255, 255));
}

TEST_F(ImageManagerTest, CustomIconsTakeIdsAfterTheCounter) {
  HBITMAP hStrip = MakeStrip32({RGB(255, 0, 0)}, 16, 16);
  CXTPIconHandle hIcon;
  ASSERT_TRUE(hIcon.SetBitmap(hStrip));
  ::DeleteObject(hStrip);
  EXPECT_EQ(manager_->AddCustomIcon(hIcon), CXTPImageManager::nFirstCustomID + 1);
  EXPECT_EQ(manager_->AddCustomIcon(hIcon), CXTPImageManager::nFirstCustomID + 2);
  ASSERT_NE(manager_->GetImage(CXTPImageManager::nFirstCustomID + 1, 16), nullptr);
  EXPECT_TRUE(manager_->GetImage(CXTPImageManager::nFirstCustomID + 1, 16)->IsAlpha());
  EXPECT_EQ(manager_->AddCustomIcon(CXTPIconHandle()), 0u) << "no picture, no id";
}

// ---- Resources -------------------------------------------------------------------------------------

TEST_F(ImageManagerTest, ABitmapResourceWithoutIdsGivesIdsFromZero) {
  ASSERT_TRUE(manager_->SetIconsFromBitmap(IDB_TEST_STRIP24, nullptr, 0, CSize(16, 16)));
  for (UINT i = 0; i < 4; ++i) ASSERT_NE(manager_->GetImage(i, 16), nullptr) << i;
  EXPECT_EQ(manager_->GetIconSet(4), nullptr);
  CXTPImageManagerIcon* pIcon = manager_->GetImage(2, 16);
  EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 8, 8), RGB(0, 0, 255));
  EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 0, 0), RGB(255, 255, 255));
  EXPECT_FALSE(manager_->SetIconsFromBitmap(IDB_TEST_MISSING, nullptr, 0, CSize(16, 16)));
  EXPECT_FALSE(manager_->SetIconsFromBitmap(IDB_TEST_STRIP24, nullptr, 0, CSize(0, 0)))
      << "without ids or size the image width is unknown";
}

TEST_F(ImageManagerTest, The32BitResourceLoadsAsAlphaPictures) {
  EXPECT_TRUE(CXTPImageManager::IsAlphaBitmapResource(IDB_TEST_STRIP32));
  EXPECT_FALSE(CXTPImageManager::IsAlphaBitmapResource(IDB_TEST_STRIP24));
  const UINT ids[] = {7, 8, 9};
  ASSERT_TRUE(manager_->SetIcons(IDB_TEST_STRIP32, ids, 3, CSize(0, 0)));
  CXTPImageManagerIcon* pIcon = manager_->GetImage(8, 16);
  ASSERT_NE(pIcon, nullptr);
  EXPECT_TRUE(pIcon->IsAlpha());
  EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 8, 8), RGB(0, 128, 0));
  EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 0, 0), RGB(255, 255, 255)) << "its transparent corner";
}

TEST_F(ImageManagerTest, AToolbarResourceGivesItsNonZeroIdsTheirImages) {
  ASSERT_TRUE(manager_->SetIconsFromToolBar(IDR_TEST_TOOLBAR));
  CXTPImageManagerIcon* p100 = manager_->GetImage(100, 16);
  CXTPImageManagerIcon* p101 = manager_->GetImage(101, 16);
  ASSERT_NE(p100, nullptr);
  ASSERT_NE(p101, nullptr);
  EXPECT_EQ(p100->GetExtent(), CSize(16, 15));
  EXPECT_EQ(Probe(p100, p100->GetIcon(), 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(Probe(p101, p101->GetIcon(), 8, 8), RGB(0, 128, 0));
  EXPECT_EQ(manager_->GetIconSet(0), nullptr);
  EXPECT_FALSE(manager_->SetIconsFromToolBar(IDR_TEST_SHORT_TOOLBAR)) << "a toolbar shorter than its count";
}

TEST_F(ImageManagerTest, AnIconGroupGivesEveryImageOrThoseOfTheAskedSize) {
  ASSERT_TRUE(manager_->SetIcons(IDI_TEST_ICONS, 500, 0, 0));
  CXTPImageManagerIconSet* pSet = manager_->GetIconSet(500);
  ASSERT_NE(pSet, nullptr);
  EXPECT_EQ(pSet->GetStoredIconCount(), 3);
  CXTPImageManagerIcon* p32 = pSet->GetIcon(32, FALSE);
  ASSERT_NE(p32, nullptr);
  EXPECT_FALSE(p32->IsAlpha());
  EXPECT_EQ(Probe(p32, p32->GetIcon(), 16, 16), RGB(255, 0, 0));
  EXPECT_EQ(Probe(p32, p32->GetIcon(), 0, 0), RGB(255, 255, 255));
  CXTPImageManagerIcon* p24 = pSet->GetIcon(24, FALSE);
  ASSERT_NE(p24, nullptr);
  EXPECT_TRUE(p24->IsAlpha()) << "a 32-bit image is an alpha picture";
  EXPECT_EQ(Probe(p24, p24->GetIcon(), 12, 12), RGB(0, 0, 255));
  EXPECT_EQ(Probe(p24, p24->GetIcon(), 0, 0), RGB(255, 255, 255));

  ASSERT_TRUE(manager_->SetIcons(IDI_TEST_ICONS, 501, 32, 32));
  EXPECT_EQ(manager_->GetIconSet(501)->GetStoredIconCount(), 1);
  EXPECT_NE(manager_->GetIconSet(501)->GetIcon(32, FALSE), nullptr);
  EXPECT_FALSE(manager_->SetIcons(IDB_TEST_MISSING, 502, 16, 16));

  CXTPIconHandle hIcon;
  ASSERT_TRUE(manager_->LoadIconResource(IDI_TEST_ICONS, 16, 16, hIcon));
  EXPECT_EQ(hIcon.GetExtent(), CSize(16, 16));
}

TEST_F(ImageManagerTest, AnImageListGivesEveryImageACopyForItsId) {
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1));
  HBITMAP hStrip = MakeStrip24({RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 128, 0)}, 16, 16);
  ASSERT_EQ(images.Add(CBitmap::FromHandle(hStrip), kMagenta), 0);
  ::DeleteObject(hStrip);
  ASSERT_TRUE(manager_->AddIconsFromImageList(&images, nullptr, 0, CSize(0, 0)));
  for (UINT i = 0; i < 3; ++i) ASSERT_NE(manager_->GetImage(i, 16), nullptr) << i;
  images.DeleteImageList();
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1, 16);
  EXPECT_EQ(Probe(pIcon, pIcon->GetIcon(), 8, 8), RGB(0, 0, 255)) << "a copy outlives the list";

  CImageList two;
  ASSERT_TRUE(two.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1));
  HBITMAP hPair = MakeStrip24({RGB(255, 255, 0), RGB(0, 255, 255)}, 16, 16);
  two.Add(CBitmap::FromHandle(hPair), kMagenta);
  ::DeleteObject(hPair);
  const UINT ids[] = {40, 0, 41};
  ASSERT_TRUE(manager_->AddIconsFromImageList(&two, ids, 3, CSize(16, 16), xtpImageChecked));
  EXPECT_EQ(Probe(manager_->GetImage(41), manager_->GetImage(41)->GetCheckedIcon(), 8, 8), RGB(0, 255, 255));
  const UINT tooMany[] = {50, 51, 52};
  EXPECT_FALSE(manager_->AddIconsFromImageList(&two, tooMany, 3, CSize(16, 16)));
  EXPECT_EQ(manager_->GetIconSet(50), nullptr);
  EXPECT_FALSE(manager_->AddIconsFromImageList(nullptr, nullptr, 0, CSize(0, 0)));
}

TEST_F(ImageManagerTest, PictureFilesLoadOnlyTheir32BitImages) {
  testsupport::TempDir dir;
  // A 32-bit bitmap file of 2 x 2 opaque red pixels, and a 24-bit one.
  auto writeBmp = [&](const std::string& name, WORD bits) {
    const DWORD cbRow = bits == 32 ? 8 : 8;  // 2 pixels, rows padded to 4 bytes
    std::string bytes(14 + 40 + cbRow * 2, '\0');
    BITMAPFILEHEADER* pFile = reinterpret_cast<BITMAPFILEHEADER*>(&bytes[0]);
    pFile->bfType = 0x4D42;
    pFile->bfSize = static_cast<DWORD>(bytes.size());
    pFile->bfOffBits = 54;
    BITMAPINFOHEADER* pInfo = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[14]);
    pInfo->biSize = 40;
    pInfo->biWidth = 2;
    pInfo->biHeight = 2;
    pInfo->biPlanes = 1;
    pInfo->biBitCount = bits;
    for (int i = 0; i < 4; ++i) {
      BYTE* p = reinterpret_cast<BYTE*>(&bytes[54]) + (bits == 32 ? i * 4 : (i / 2) * 8 + (i % 2) * 3);
      p[2] = 255;
      if (bits == 32) p[3] = 255;
    }
    FILE* f = _wfopen(CString(dir.File(name).c_str()), L"wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return CString(dir.File(name).c_str());
  };
  HBITMAP hBitmap = CXTPImageManager::LoadAlphaBitmapFile(writeBmp("alpha.bmp", 32));
  ASSERT_NE(hBitmap, nullptr);
  XTPImagePixels pixels;
  ASSERT_TRUE(ReadImagePixels(hBitmap, pixels));
  EXPECT_EQ(CSize(pixels.cx, pixels.cy), CSize(2, 2));
  EXPECT_EQ(pixels.bits[2], 255);
  EXPECT_EQ(pixels.bits[3], 255);
  ::DeleteObject(hBitmap);
  EXPECT_EQ(CXTPImageManager::LoadAlphaBitmapFile(writeBmp("plain.bmp", 24)), nullptr);
  EXPECT_EQ(CXTPImageManager::LoadAlphaBitmapFile(CString(dir.File("missing.bmp").c_str())), nullptr);

  // The test icon group as an icon file: 16 and 32 at 24 bits, 24 at 32 bits.
  const std::string ico = IconFileFromResource(IDI_TEST_ICONS);
  ASSERT_FALSE(ico.empty());
  const CString icoPath(dir.File("icons.ico").c_str());
  FILE* f = _wfopen(icoPath, L"wb");
  fwrite(ico.data(), 1, ico.size(), f);
  fclose(f);
  hBitmap = CXTPImageManager::LoadAlphaIconFile(icoPath, 24);
  ASSERT_NE(hBitmap, nullptr);
  ASSERT_TRUE(ReadImagePixels(hBitmap, pixels));
  EXPECT_EQ(CSize(pixels.cx, pixels.cy), CSize(24, 24)) << "half the stored height";
  ::DeleteObject(hBitmap);
  hBitmap = CXTPImageManager::LoadAlphaIconFile(icoPath, 0);
  EXPECT_NE(hBitmap, nullptr) << "any width";
  ::DeleteObject(hBitmap);
  EXPECT_EQ(CXTPImageManager::LoadAlphaIconFile(icoPath, 16), nullptr) << "the 16-pixel image is not 32-bit";

  // A directory entry pointing past the file's end.
  std::string damaged = ico;
  const DWORD dwFar = 0x7FFFFFF0;
  memcpy(&damaged[6 + 2 * 16 + 12], &dwFar, 4);
  f = _wfopen(icoPath, L"wb");
  fwrite(damaged.data(), 1, damaged.size(), f);
  fclose(f);
  EXPECT_EQ(CXTPImageManager::LoadAlphaIconFile(icoPath, 24), nullptr);
}

TEST_F(ImageManagerTest, ASilhouetteCoversOnlyTheOpaquePixels) {
  AddPlainIcon(1, RGB(200, 100, 0));
  AddAlphaIcon(2, RGB(200, 100, 0));
  ToolkitCanvas canvas(32, 32);
  CXTPImageManagerIcon* pIcon = manager_->GetImage(1);
  pIcon->DrawMonochrome(&canvas.dc(), CPoint(0, 0), pIcon->GetIcon(), RGB(0, 0, 128));
  EXPECT_EQ(canvas.At(8, 8), RGB(0, 0, 128));
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
  CXTPImageManagerIcon* pAlpha = manager_->GetImage(2);
  pAlpha->DrawMonochrome(&canvas.dc(), CPoint(16, 16), pAlpha->GetIcon(), RGB(0, 0, 128));
  EXPECT_EQ(canvas.At(24, 24), RGB(255, 255, 255)) << "an alpha picture draws no silhouette";
}
