// The image manager's storage: archive and registry round trips, the clipboard, and damaged stores
// (a wrong check sum, truncated, oversized and flipped blobs, hostile counts and sizes), which must
// fail without a crash or a huge allocation and leave the icons a user has as they were.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "ImageManager.h"
#include "ImageTestPictures.h"
#include "PropExchangeArchive.h"
#include "PropExchangeRegistry.h"
#include "TestHeap.h"

namespace {

void AddPlainIcon(CXTPImageManager* pManager, UINT nCommand, COLORREF clr, int cx, XTPImageState state) {
  HBITMAP hStrip = MakeStrip24({clr}, cx, cx);
  ASSERT_TRUE(pManager->AddIconsFromBitmap(hStrip, &nCommand, 1, CSize(cx, cx), state, FALSE));
  ::DeleteObject(hStrip);
}

// An alpha picture whose top-left pixel is transparent.
void AddAlphaIcon(CXTPImageManager* pManager, UINT nCommand, COLORREF clr, int cx) {
  HBITMAP hBitmap = MakeStrip({clr}, cx, cx, TRUE, 255, TRUE);
  ASSERT_TRUE(pManager->AddIconsFromBitmap(hBitmap, &nCommand, 1, CSize(cx, cx), xtpImageNormal, TRUE));
  ::DeleteObject(hBitmap);
}

// The manager every store test starts from: command 5 with a 16-pixel icon (and a hot form) and a
// 32-pixel alpha picture, command 7 with one 16-pixel icon, and a custom command beyond the counter.
const UINT kCustomCommand = CXTPImageManager::nFirstCustomID + 40;

void Populate(CXTPImageManager* pManager) {
  AddPlainIcon(pManager, 5, RGB(255, 0, 0), 16, xtpImageNormal);
  AddPlainIcon(pManager, 5, RGB(0, 0, 255), 16, xtpImageHot);
  AddAlphaIcon(pManager, 5, RGB(0, 128, 0), 32);
  AddPlainIcon(pManager, 7, RGB(255, 255, 0), 16, xtpImageNormal);
  AddAlphaIcon(pManager, kCustomCommand, RGB(128, 0, 128), 24);
}

// The icons Populate made, as they look.
void ExpectPopulated(CXTPImageManager* pManager) {
  CXTPImageManagerIconSet* pSet = pManager->GetIconSet(5);
  ASSERT_NE(pSet, nullptr);
  EXPECT_EQ(pSet->GetStoredIconCount(), 2);
  CXTPImageManagerIcon* p16 = pSet->GetIcon(16, FALSE);
  ASSERT_NE(p16, nullptr);
  EXPECT_FALSE(p16->IsAlpha());
  EXPECT_EQ(Probe(p16, p16->GetIcon(), 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(Probe(p16, p16->GetIcon(), 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(Probe(p16, p16->GetHotIcon(), 8, 8), RGB(0, 0, 255));
  CXTPImageManagerIcon* p32 = pSet->GetIcon(32, FALSE);
  ASSERT_NE(p32, nullptr);
  EXPECT_TRUE(p32->IsAlpha());
  EXPECT_EQ(p32->GetExtent(), CSize(32, 32));
  EXPECT_EQ(Probe(p32, p32->GetIcon(), 20, 20), RGB(0, 128, 0));
  EXPECT_EQ(Probe(p32, p32->GetIcon(), 0, 0), RGB(255, 255, 255));
  ASSERT_NE(pManager->GetImage(7, 16), nullptr);
  EXPECT_EQ(Probe(pManager->GetImage(7, 16), pManager->GetImage(7, 16)->GetIcon(), 8, 8), RGB(255, 255, 0));
  ASSERT_NE(pManager->GetImage(kCustomCommand, 24), nullptr);
}

std::vector<BYTE> StoreToBytes(CXTPImageManager* pManager) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    pManager->Serialize(ar);
    ar.Close();
  }
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

// TRUE when the bytes loaded; FALSE when the load stopped with a framework exception (its cause in
// *pCause for archive exceptions).
BOOL LoadFromBytes(CXTPImageManager* pManager, const std::vector<BYTE>& bytes, int* pCause = nullptr) {
  std::vector<BYTE> copy(bytes);
  CMemFile file(copy.empty() ? nullptr : copy.data(), static_cast<UINT>(copy.size()));
  try {
    CArchive ar(&file, CArchive::load);
    pManager->Serialize(ar);
    return TRUE;
  } catch (CArchiveException* e) {
    if (pCause != nullptr) *pCause = e->m_cause;
    e->Delete();
  } catch (CException* e) {
    e->Delete();
  }
  return FALSE;
}

// One set's exchange as the clipboard carries it.
std::vector<BYTE> StoreIconSet(CXTPImageManager* pManager, UINT nCommand) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    pManager->ExchangeIconSet(nCommand, &px);
    ar.Close();
  }
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void PutDword(std::vector<BYTE>& bytes, size_t nOffset, DWORD dwValue) {
  memcpy(bytes.data() + nOffset, &dwValue, sizeof(dwValue));
}

size_t FindDword(const std::vector<BYTE>& bytes, DWORD dwValue, size_t nFrom = 0) {
  for (size_t i = nFrom; i + 4 <= bytes.size(); ++i) {
    if (memcmp(bytes.data() + i, &dwValue, 4) == 0) return i;
  }
  return std::string::npos;
}

class ImageManagerStore : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = new CXTPImageManager();
    Populate(source_);
    target_ = new CXTPImageManager();
    Populate(target_);
  }
  void TearDown() override {
    source_->InternalRelease();
    target_->InternalRelease();
  }

  CXTPImageManager* source_ = nullptr;
  CXTPImageManager* target_ = nullptr;
};

}  // namespace

TEST_F(ImageManagerStore, AnArchiveRoundTripKeepsEveryStoredIconAndNoScaledCopy) {
  ASSERT_NE(source_->GetImage(7, 24), nullptr);
  ASSERT_TRUE(source_->GetImage(7, 24)->IsScaled());
  const std::vector<BYTE> bytes = StoreToBytes(source_);

  CXTPImageManager* pLoaded = new CXTPImageManager();
  AddPlainIcon(pLoaded, 99, RGB(0, 0, 0), 16, xtpImageNormal);
  ASSERT_TRUE(LoadFromBytes(pLoaded, bytes));
  ExpectPopulated(pLoaded);
  EXPECT_EQ(pLoaded->GetIconSet(99), nullptr) << "a load replaces every set";
  EXPECT_EQ(pLoaded->GetIconSet(7)->GetStoredIconCount(), 1) << "scaled copies are not stored";
  EXPECT_EQ(pLoaded->AddCustomIcon(pLoaded->GetImage(7, 16)->GetIcon()), kCustomCommand + 1)
      << "the custom-id counter rises to the highest loaded id";
  pLoaded->InternalRelease();
}

TEST_F(ImageManagerStore, ARegistryRoundTripKeepsEveryStoredIcon) {
  const std::wstring path =
      L"Software\\BrindleTests\\ImageManager-" + std::to_wstring(::GetCurrentProcessId());
  HKEY hKey = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey,
                              nullptr),
            ERROR_SUCCESS);
  {
    CXTPPropExchangeRegistry* pPX = new CXTPPropExchangeRegistry(FALSE, hKey, L"Icons");
    source_->DoPropExchange(pPX);
    pPX->InternalRelease();
  }
  CXTPImageManager* pLoaded = new CXTPImageManager();
  {
    CXTPPropExchangeRegistry* pPX = new CXTPPropExchangeRegistry(TRUE, hKey, L"Icons");
    pLoaded->DoPropExchange(pPX);
    pPX->InternalRelease();
  }
  ExpectPopulated(pLoaded);

  // Damaged registry data: an oversized blob, then a wrong check sum, each leaves the icons as
  // they were.
  HKEY hIconKey = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(hKey, L"Icons\\IconSet0\\Icon0", 0, KEY_ALL_ACCESS, &hIconKey), ERROR_SUCCESS);
  std::vector<BYTE> huge(XTP_PROPEXCHANGE_MAX_VALUE_BYTES + 16, 0x41);
  ::RegSetValueExW(hIconKey, L"Data", 0, REG_BINARY, huge.data(), static_cast<DWORD>(huge.size()));
  ::RegCloseKey(hIconKey);
  for (int nCase = 0; nCase < 2; ++nCase) {
    if (nCase == 1) {
      CXTPPropExchangeRegistry* pStore = new CXTPPropExchangeRegistry(FALSE, hKey, L"Icons");
      source_->DoPropExchange(pStore);
      pStore->InternalRelease();
      HKEY hSetKey = nullptr;
      ASSERT_EQ(::RegOpenKeyExW(hKey, L"Icons\\IconSet1", 0, KEY_ALL_ACCESS, &hSetKey), ERROR_SUCCESS);
      ::RegSetValueExW(hSetKey, L"CheckSum", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Other"), 12);
      ::RegCloseKey(hSetKey);
    }
    CXTPPropExchangeRegistry* pPX = new CXTPPropExchangeRegistry(TRUE, hKey, L"Icons");
    int nCause = 0;
    try {
      pLoaded->DoPropExchange(pPX);
    } catch (CArchiveException* e) {
      nCause = e->m_cause;
      e->Delete();
    }
    pPX->InternalRelease();
    EXPECT_EQ(nCause, nCase == 0 ? CArchiveException::endOfFile : CArchiveException::badClass);
    ExpectPopulated(pLoaded);
  }
  pLoaded->InternalRelease();
  ::RegCloseKey(hKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

TEST_F(ImageManagerStore, AWrongCheckSumStopsTheLoadWithABadClassAndKeepsTheIcons) {
  std::vector<BYTE> bytes = StoreToBytes(source_);
  // The check sum is stored as a counted string; change one character of it.
  const char* pName = "CXTPImageManagerIcons";
  size_t nAt = std::string::npos;
  for (size_t i = 0; i + 2 * strlen(pName) <= bytes.size() && nAt == std::string::npos; ++i) {
    if (bytes[i] == 'C' && bytes[i + 2] == 'X' && bytes[i + 4] == 'T') nAt = i;
  }
  ASSERT_NE(nAt, std::string::npos);
  bytes[nAt] = 'D';
  int nCause = 0;
  EXPECT_FALSE(LoadFromBytes(target_, bytes, &nCause));
  EXPECT_EQ(nCause, CArchiveException::badClass);
  ExpectPopulated(target_);

  // The same through one set's exchange.
  std::vector<BYTE> setBytes = StoreIconSet(source_, 7);
  setBytes[FindDword(setBytes, 0x00580043)] = 'D';  // "CX" of the check sum
  CMemFile file(setBytes.data(), static_cast<UINT>(setBytes.size()));
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  nCause = 0;
  try {
    target_->ExchangeIconSet(7, &px);
  } catch (CArchiveException* e) {
    nCause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(nCause, CArchiveException::badClass);
  ExpectPopulated(target_);
}

TEST_F(ImageManagerStore, HostileSizesAreRefusedBeforeAnythingIsAllocated) {
  const std::vector<BYTE> good = StoreToBytes(source_);
  // The first bitmap record: its header length (52), its header, then the pixel length.
  const size_t nHeader = FindDword(good, 52);
  ASSERT_NE(nHeader, std::string::npos);
  const size_t nPixelLength = nHeader + 4 + 52;
  const DWORD dwStoredPixels = *reinterpret_cast<const DWORD*>(good.data() + nPixelLength);
  ASSERT_EQ(dwStoredPixels, 16u * 16 * 4);

  struct Case {
    const char* what;
    size_t nOffset;
    DWORD dwValue;
  } cases[] = {
      {"header length beyond any header", nHeader, 0xFFFFFFF0},
      {"header length below the information header", nHeader, 12},
      {"pixel length not width x height x 4", nPixelLength, dwStoredPixels + 4},
      {"pixel length of 4 GB", nPixelLength, 0xFFFFFFFF},
      {"width beyond any picture", nHeader + 8, 0x7FFFFFFF},
      {"width 0", nHeader + 8, 0},
      {"height of INT_MIN", nHeader + 12, 0x80000000},
      {"16 bits per pixel", nHeader + 18, 16},
      {"icon height 0", nHeader - 8, 0},
      {"format version from the future", nHeader - 4, 99},
  };
  g_largestAllocation = 0;
  g_capActive = true;
  for (const Case& c : cases) {
    std::vector<BYTE> bytes(good);
    if (c.nOffset == nHeader + 18) {
      const WORD wValue = static_cast<WORD>(c.dwValue);
      memcpy(bytes.data() + c.nOffset, &wValue, sizeof(wValue));
    } else {
      PutDword(bytes, c.nOffset, c.dwValue);
    }
    EXPECT_FALSE(LoadFromBytes(target_, bytes)) << c.what;
  }
  g_capActive = false;
  EXPECT_LT(g_largestAllocation.load(), size_t(2 * 1024 * 1024));
  ExpectPopulated(target_);
}

TEST_F(ImageManagerStore, AStoredWidthOfZeroIsRefused) {
  std::vector<BYTE> bytes = StoreIconSet(source_, 7);
  // The set: check sum, icon count 1, then the width 16.
  const size_t nWidth = FindDword(bytes, 16);
  ASSERT_NE(nWidth, std::string::npos);
  PutDword(bytes, nWidth, 0);
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  BOOL bThrown = FALSE;
  try {
    target_->ExchangeIconSet(7, &px);
  } catch (CArchiveException* e) {
    bThrown = TRUE;
    e->Delete();
  }
  EXPECT_TRUE(bThrown);
  ExpectPopulated(target_);
}

TEST_F(ImageManagerStore, ACorpusOfDamagedStoresNeverCrashesNorWipesTheIcons) {
  const std::vector<BYTE> good = StoreToBytes(source_);
  ASSERT_TRUE(LoadFromBytes(target_, good));
  int nLoaded = 0, nRefused = 0;
  g_largestAllocation = 0;
  g_capActive = true;
  // Truncations all through the store.
  for (size_t nLength = 0; nLength < good.size(); nLength += 37) {
    std::vector<BYTE> bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(nLength));
    LoadFromBytes(target_, bytes) ? ++nLoaded : ++nRefused;
  }
  // Every byte of the leading counts, ids and check sum flipped; and every field around each bitmap
  // record (icon width, height and version, header length, size, planes and bits, pixel length)
  // turned hostile.
  std::vector<size_t> fields;
  for (size_t i = 0; i < 96 && i < good.size(); ++i) {
    std::vector<BYTE> flipped(good);
    flipped[i] ^= 0xFF;
    LoadFromBytes(target_, flipped) ? ++nLoaded : ++nRefused;
  }
  for (size_t nHeader = FindDword(good, 52); nHeader != std::string::npos;
       nHeader = FindDword(good, 52, nHeader + 1)) {
    for (int nField : {-12, -8, -4, 0, 8, 12, 16, 56}) {
      if (static_cast<long long>(nHeader) + nField >= 0) fields.push_back(nHeader + nField);
    }
  }
  for (size_t nField : fields) {
    for (DWORD dwHostile : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x00010001u}) {
      std::vector<BYTE> bytes(good);
      if (nField + 4 > bytes.size()) continue;
      PutDword(bytes, nField, dwHostile);
      LoadFromBytes(target_, bytes) ? ++nLoaded : ++nRefused;
    }
  }
  g_capActive = false;
  EXPECT_LT(g_largestAllocation.load(), size_t(2 * 1024 * 1024)) << "no allocation follows a damaged size";
  EXPECT_GT(nRefused, 0);
  // Whatever loaded replaced the icons with sane ones; the last good store brings them back.
  ASSERT_TRUE(LoadFromBytes(target_, good));
  ExpectPopulated(target_);

  // A refused load after a good one leaves exactly what was there.
  std::vector<BYTE> truncated(good.begin(), good.end() - 10);
  EXPECT_FALSE(LoadFromBytes(target_, truncated));
  ExpectPopulated(target_);
  std::vector<BYTE> hugeCount(good);
  PutDword(hugeCount, 0, 0x7FFFFFFF);  // the number of icon sets
  EXPECT_FALSE(LoadFromBytes(target_, hugeCount));
  ExpectPopulated(target_);
}

TEST_F(ImageManagerStore, TheClipboardCarriesAnIconSetUnderANewCustomId) {
  ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
  HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(::OpenClipboard(hWnd));
  ::EmptyClipboard();
  EXPECT_FALSE(source_->CopyIconToClipboard(12345)) << "no set for the id";
  EXPECT_TRUE(source_->CopyIconToClipboard(5));
  ::CloseClipboard();

  const UINT nBefore = target_->AddCustomIcon(target_->GetImage(7, 16)->GetIcon());
  UINT nPasted = 0;
  {
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    nPasted = target_->PasteIconFromClipboard(&data);
  }
  EXPECT_EQ(nPasted, nBefore + 1);
  ASSERT_NE(target_->GetIconSet(nPasted), nullptr);
  CXTPImageManagerIcon* p16 = target_->GetIconSet(nPasted)->GetIcon(16, FALSE);
  ASSERT_NE(p16, nullptr);
  EXPECT_EQ(Probe(p16, p16->GetIcon(), 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(Probe(p16, p16->GetHotIcon(), 8, 8), RGB(0, 0, 255));
  EXPECT_TRUE(target_->GetIconSet(nPasted)->GetIcon(32, FALSE)->IsAlpha());

  // Damaged clipboard data gives 0 and adds nothing.
  ASSERT_TRUE(::OpenClipboard(hWnd));
  ::EmptyClipboard();
  HGLOBAL hGarbage = ::GlobalAlloc(GMEM_MOVEABLE, 64);
  memset(::GlobalLock(hGarbage), 0x7F, 64);
  ::GlobalUnlock(hGarbage);
  ::SetClipboardData(CXTPImageManager::GetImageClipboardFormat(), hGarbage);
  ::CloseClipboard();
  {
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_EQ(target_->PasteIconFromClipboard(&data), 0u);
  }
  EXPECT_EQ(target_->GetIconSet(nPasted + 1), nullptr);
  ASSERT_TRUE(::OpenClipboard(hWnd));
  ::EmptyClipboard();
  ::CloseClipboard();
  {
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_EQ(target_->PasteIconFromClipboard(&data), 0u) << "the format is missing";
  }
  ::DestroyWindow(hWnd);
  ::OleUninitialize();
  EXPECT_NE(CXTPImageManager::GetImageClipboardFormat(), CXTPImageManager::GetAlphaBitmapClipboardFormat());
}
