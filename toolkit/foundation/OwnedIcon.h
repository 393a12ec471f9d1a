// An icon handle that its holder destroys (DestroyIcon) when it is replaced or destroyed.
#pragma once

#include <afxwin.h>

class CXTOwnedIcon {
 public:
  CXTOwnedIcon() = default;
  explicit CXTOwnedIcon(HICON hIcon) : m_hIcon(hIcon) {}
  ~CXTOwnedIcon() { Destroy(); }
  CXTOwnedIcon(const CXTOwnedIcon&) = delete;
  CXTOwnedIcon& operator=(const CXTOwnedIcon&) = delete;

  // Takes ownership of hIcon; the icon held before is destroyed.
  CXTOwnedIcon& operator=(HICON hIcon) {
    if (hIcon != m_hIcon) {
      Destroy();
      m_hIcon = hIcon;
    }
    return *this;
  }
  operator HICON() const { return m_hIcon; }
  HICON GetHandle() const { return m_hIcon; }
  // Gives the handle up without destroying it.
  HICON Detach() {
    HICON hIcon = m_hIcon;
    m_hIcon = nullptr;
    return hIcon;
  }

 private:
  void Destroy() {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
  }

  HICON m_hIcon = nullptr;
};

// Image nImage of a toolkit bitmap strip (images cx by cy, magenta transparent) as an owned icon,
// loaded through the resource manager. With nExpectedCount above 0 the strip must hold exactly that
// many images. FALSE (the icon left empty) when the bitmap or the image is missing.
BOOL AFXAPI XTLoadStripIcon(CXTOwnedIcon& icon, UINT nBitmapID, int cx, int cy, int nImage,
                            int nExpectedCount = 0);
