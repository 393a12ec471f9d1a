// One picture of a command icon as the image manager keeps it: an icon handle or a 32-bit alpha
// bitmap, owned or borrowed, with the premultiplied copy that drawing needs made on first use.
#pragma once

#include <afxwin.h>

// Holds an icon, an alpha bitmap (32 bits per pixel) or nothing. An owning holder destroys its
// handles with itself; a borrowing one (a copy, or a wrap of someone else's handle) never does.
// User-interface thread only; no virtual table.
class CXTPIconHandle {
 public:
  CXTPIconHandle() = default;
  // Borrows hIcon unless bOwned: then it destroys hIcon with itself.
  explicit CXTPIconHandle(HICON hIcon, BOOL bOwned = FALSE);
  // Borrows hBitmap unless bOwned (the bitmap must then be a 32-bit DIB section nobody else frees).
  explicit CXTPIconHandle(HBITMAP hBitmap, BOOL bOwned = FALSE);
  // A borrowing copy of both handles.
  CXTPIconHandle(const CXTPIconHandle& other);
  CXTPIconHandle& operator=(const CXTPIconHandle& other);
  ~CXTPIconHandle();

  // Frees what was held, then holds hIcon and destroys it later.
  void SetIcon(HICON hIcon);
  // Frees what was held, then keeps an owned copy of the 32-bit bitmap (the caller keeps hBitmap).
  // A bitmap that is not 32 bits per pixel leaves the holder empty: FALSE.
  BOOL SetBitmap(HBITMAP hBitmap);
  // Frees what was held, then owns hBitmap, a 32-bit DIB section nobody else frees (no copy).
  void AttachBitmap(HBITMAP hBitmap);
  // Frees what was held; then holds nothing.
  void Clear();
  // Exchanges everything two holders hold, ownership included.
  void Swap(CXTPIconHandle& other);
  // An owned copy of what other holds (CopyIcon or CopyAlphaBitmap); FALSE leaves it empty.
  BOOL CopyFrom(const CXTPIconHandle& other);

  BOOL IsEmpty() const { return m_hIcon == nullptr && m_hBitmap == nullptr; }
  BOOL IsAlpha() const { return m_hBitmap != nullptr; }
  HICON GetIcon() const { return m_hIcon; }
  HBITMAP GetBitmap() const { return m_hBitmap; }
  operator HICON() const { return m_hIcon; }
  // The premultiplied copy of the alpha bitmap, made on the first call; NULL without a bitmap.
  HBITMAP PremultiplyBitmap();
  // Width and height of the held picture; (0, 0) when empty.
  CSize GetExtent() const;

  // The size of an icon (from its colour bitmap, else half its mask's height).
  static CSize PASCAL GetExtent(HICON hIcon);
  // A new top-down 32-bit DIB section with the same pixels; NULL unless hBitmap has 32 bits per pixel.
  static HBITMAP PASCAL CopyAlphaBitmap(HBITMAP hBitmap);
  // A copy whose colour channels are multiplied by alpha / 255, as AlphaBlend expects; NULL on failure.
  static HBITMAP PASCAL PremultiplyAlphaBitmap(HBITMAP hBitmap);
  // A new icon drawn from the alpha bitmap (for callers that need an HICON); NULL on failure.
  static HICON PASCAL IconFromAlphaBitmap(HBITMAP hBitmap);

 private:
  void FreeHandles();

  HICON m_hIcon = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HBITMAP m_hPremultiplied = nullptr;  // always owned
  BOOL m_bOwned = FALSE;
};
