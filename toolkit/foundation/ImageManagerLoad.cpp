// The image manager's picture loading: icon groups and icon images, 32-bit bitmap resources, and
// bitmap and icon files. Every length read from a resource or file is checked against what holds it.
#include <cstring>
#include <vector>

#include "ImageManager.h"
#include "ImagePixels.h"

namespace {

#pragma pack(push, 1)
// What an icon directory says of one image, in a group resource and in an icon file alike.
struct IconDirImage {
  BYTE bWidth;  // 0 means 256
  BYTE bHeight;
  BYTE bColorCount;
  BYTE bReserved;
  WORD wPlanes;
  WORD wBitCount;
  DWORD dwBytesInRes;
};
// An icon group's directory entry as RT_GROUP_ICON stores it.
struct GroupIconDirEntry {
  IconDirImage image;
  WORD nID;
};
// An icon file's directory entry.
struct IconFileDirEntry {
  IconDirImage image;
  DWORD dwImageOffset;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconDirEntry) == 14, "group icon entry");
static_assert(sizeof(IconFileDirEntry) == 16, "icon file entry");
const DWORD kIconDirHeader = 6;

// A resource's bytes, or NULL; cbData receives its size.
const BYTE* FindResourceData(UINT nID, LPCWSTR lpType, DWORD& cbData) {
  HINSTANCE hInst = AfxGetResourceHandle();
  HRSRC hRsrc = ::FindResourceW(hInst, MAKEINTRESOURCEW(nID), lpType);
  if (hRsrc == nullptr) return nullptr;
  HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
  const BYTE* pData = hGlobal != nullptr ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
  cbData = pData != nullptr ? ::SizeofResource(hInst, hRsrc) : 0;
  return pData;
}

// The 32-bit pixels of a packed DIB (header, optional bit-field masks, pixels) when its bytes cover
// them; rows counts the picture's height (an icon image's header counts colour and mask).
HBITMAP AlphaBitmapFromPackedDib(const BYTE* pData, size_t cbData, BOOL bIconImage) {
  BITMAPINFOHEADER header;
  if (pData == nullptr || cbData < sizeof(header)) return nullptr;
  memcpy(&header, pData, sizeof(header));
  if (header.biSize < sizeof(header) || header.biSize > cbData || header.biBitCount != 32 ||
      header.biPlanes != 1)
    return nullptr;
  if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) return nullptr;
  const long long cx = header.biWidth;
  long long cyStored = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
  const long long cy = bIconImage ? cyStored / 2 : cyStored;
  if (cx <= 0 || cy <= 0 || cx > 0x7FFF || cy > 0x7FFF) return nullptr;
  size_t nOffset = header.biSize;
  if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(header)) nOffset += 3 * sizeof(DWORD);
  const unsigned long long cbPixels = static_cast<unsigned long long>(cx) * cy * 4;
  if (nOffset > cbData || cbPixels > cbData - nOffset) return nullptr;

  BYTE* pBits = nullptr;
  HBITMAP hBitmap = CreateImageBitmap32(static_cast<int>(cx), static_cast<int>(cy), &pBits);
  if (hBitmap == nullptr) return nullptr;
  const size_t cbRow = static_cast<size_t>(cx) * 4;
  const bool bBottomUp = header.biHeight > 0;
  const BYTE* pPixels = pData + nOffset;
  for (long long y = 0; y < cy; ++y) {
    memcpy(pBits + y * cbRow, pPixels + (bBottomUp ? cy - 1 - y : y) * cbRow, cbRow);
  }
  ::GdiFlush();
  return hBitmap;
}

BOOL ReadWholeFile(LPCTSTR lpszFileName, std::vector<BYTE>& bytes, DWORD nMaxBytes) {
  HANDLE hFile = ::CreateFileW(lpszFileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return FALSE;
  LARGE_INTEGER size = {};
  BOOL bResult = ::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart <= nMaxBytes;
  if (bResult) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD cbRead = 0;
    bResult = ::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cbRead, nullptr) &&
              cbRead == bytes.size();
  }
  ::CloseHandle(hFile);
  return bResult;
}

// Pictures larger than this are no icons or toolbar strips.
const DWORD kMaxImageFileBytes = 16 * 1024 * 1024;

}  // namespace

HBITMAP PASCAL CXTPImageManager::LoadAlphaBitmap(UINT nIDResource) {
  DWORD cbData = 0;
  const BYTE* pData = FindResourceData(nIDResource, RT_BITMAP, cbData);
  return AlphaBitmapFromPackedDib(pData, cbData, FALSE);
}

BOOL PASCAL CXTPImageManager::IsAlphaBitmapResource(UINT nIDResource) {
  HBITMAP hBitmap = LoadAlphaBitmap(nIDResource);
  if (hBitmap == nullptr) return FALSE;
  ::DeleteObject(hBitmap);
  return TRUE;
}

BOOL CXTPImageManager::LoadIconImage(const BYTE* pData, DWORD cbData, int cx, int cy,
                                     CXTPIconHandle& hIcon) const {
  BITMAPINFOHEADER header = {};
  if (pData != nullptr && cbData >= sizeof(header)) memcpy(&header, pData, sizeof(header));
  if (header.biSize >= sizeof(header) && header.biBitCount == 32) {
    // A 32-bit image is an alpha bitmap, or nothing where alpha cannot be drawn.
    if (!IsAlphaIconsSupported()) return FALSE;
    HBITMAP hBitmap = AlphaBitmapFromPackedDib(pData, cbData, TRUE);
    if (hBitmap == nullptr) return FALSE;
    hIcon.AttachBitmap(hBitmap);
    return TRUE;
  }
  if (pData == nullptr || cbData == 0) return FALSE;
  HICON hLoaded = ::CreateIconFromResourceEx(const_cast<BYTE*>(pData), cbData, TRUE, 0x00030000, cx, cy, 0);
  if (hLoaded == nullptr) return FALSE;
  hIcon.SetIcon(hLoaded);
  return TRUE;
}

BOOL CXTPImageManager::SetIcons(UINT nIDResourceIcon, UINT nIDCommand, int cx, int cy,
                                XTPImageState imageState) {
  DWORD cbGroup = 0;
  const BYTE* pGroup = FindResourceData(nIDResourceIcon, RT_GROUP_ICON, cbGroup);
  if (pGroup == nullptr) {
    DWORD cbData = 0;
    const BYTE* pData = FindResourceData(nIDResourceIcon, RT_ICON, cbData);
    CXTPIconHandle hIcon;
    if (pData == nullptr || !LoadIconImage(pData, cbData, cx, cy, hIcon)) return FALSE;
    SetIcon(hIcon, nIDCommand, CSize(cx, cy), imageState);
    return TRUE;
  }
  if (cbGroup < kIconDirHeader) return FALSE;
  const WORD nEntries = *reinterpret_cast<const WORD*>(pGroup + 4);
  if (kIconDirHeader + static_cast<DWORD>(nEntries) * sizeof(GroupIconDirEntry) > cbGroup) return FALSE;
  for (WORD i = 0; i < nEntries; ++i) {
    GroupIconDirEntry entry;
    memcpy(&entry, pGroup + kIconDirHeader + i * sizeof(entry), sizeof(entry));
    const int nWidth = entry.image.bWidth != 0 ? entry.image.bWidth : 256;
    const int nHeight = entry.image.bHeight != 0 ? entry.image.bHeight : 256;
    if ((cx != 0 || cy != 0) && (nWidth != cx || nHeight != cy)) continue;
    DWORD cbData = 0;
    const BYTE* pData = FindResourceData(entry.nID, RT_ICON, cbData);
    CXTPIconHandle hIcon;
    if (pData == nullptr || !LoadIconImage(pData, cbData, nWidth, nHeight, hIcon)) return FALSE;
    SetIcon(hIcon, nIDCommand, CSize(nWidth, nHeight), imageState);
  }
  return TRUE;
}

BOOL CXTPImageManager::LoadIconResource(UINT nIDResource, int cx, int cy, CXTPIconHandle& hIcon) const {
  UINT nImageID = nIDResource;
  DWORD cbGroup = 0;
  const BYTE* pGroup = FindResourceData(nIDResource, RT_GROUP_ICON, cbGroup);
  if (pGroup != nullptr) {
    if (cbGroup < kIconDirHeader) return FALSE;
    const WORD nEntries = *reinterpret_cast<const WORD*>(pGroup + 4);
    if (nEntries == 0 || kIconDirHeader + static_cast<DWORD>(nEntries) * sizeof(GroupIconDirEntry) > cbGroup)
      return FALSE;
    const int nBest = ::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(pGroup), TRUE, cx, cy, LR_DEFAULTCOLOR);
    if (nBest <= 0) return FALSE;
    nImageID = static_cast<UINT>(nBest);
  }
  DWORD cbData = 0;
  const BYTE* pData = FindResourceData(nImageID, RT_ICON, cbData);
  return pData != nullptr && LoadIconImage(pData, cbData, cx, cy, hIcon);
}

HBITMAP PASCAL CXTPImageManager::LoadAlphaBitmapFile(LPCTSTR lpszFileName) {
  std::vector<BYTE> bytes;
  if (!ReadWholeFile(lpszFileName, bytes, kMaxImageFileBytes)) return nullptr;
  BITMAPFILEHEADER fileHeader;
  if (bytes.size() < sizeof(fileHeader)) return nullptr;
  memcpy(&fileHeader, bytes.data(), sizeof(fileHeader));
  if (fileHeader.bfType != 0x4D42) return nullptr;  // "BM"
  return AlphaBitmapFromPackedDib(bytes.data() + sizeof(fileHeader), bytes.size() - sizeof(fileHeader),
                                  FALSE);
}

HBITMAP PASCAL CXTPImageManager::LoadAlphaIconFile(LPCTSTR lpszFileName, int cx) {
  std::vector<BYTE> bytes;
  if (!ReadWholeFile(lpszFileName, bytes, kMaxImageFileBytes) || bytes.size() < kIconDirHeader)
    return nullptr;
  const WORD nEntries = *reinterpret_cast<const WORD*>(bytes.data() + 4);
  if (kIconDirHeader + static_cast<size_t>(nEntries) * sizeof(IconFileDirEntry) > bytes.size())
    return nullptr;
  for (WORD i = 0; i < nEntries; ++i) {
    IconFileDirEntry entry;
    memcpy(&entry, bytes.data() + kIconDirHeader + i * sizeof(entry), sizeof(entry));
    const int nWidth = entry.image.bWidth != 0 ? entry.image.bWidth : 256;
    if (entry.image.wBitCount != 32 || (cx != 0 && nWidth != cx)) continue;
    if (entry.dwImageOffset > bytes.size() || entry.image.dwBytesInRes > bytes.size() - entry.dwImageOffset)
      return nullptr;
    return AlphaBitmapFromPackedDib(bytes.data() + entry.dwImageOffset, entry.image.dwBytesInRes, TRUE);
  }
  return nullptr;
}
