// The icons of one command by width, with the scaled copies the set makes for widths it lacks.
#pragma once

#include <afxtempl.h>

#include "ImageManagerIcon.h"

// Reference counted; held by its manager's map. The set holds one reference per icon.
// User-interface thread only.
class CXTPImageManagerIconSet : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPImageManagerIconSet)

 public:
  // Width -> icon; bucket = width / 16 modulo 17, so narrow widths are met first in a walk.
  typedef CMap<UINT, UINT, CXTPImageManagerIcon*, CXTPImageManagerIcon*> CIconSetMap;

  CXTPImageManagerIconSet(UINT nID, CXTPImageManager* pImageManager);
  ~CXTPImageManagerIconSet() override;

  UINT GetID() const { return m_nID; }
  CXTPImageManager* GetImageManager() const { return m_pImageManager; }
  CIconSetMap* GetIcons() { return &m_mapIcons; }
  // Icons that are not scaled copies.
  int GetStoredIconCount() const;

  // The icon of exactly nWidth; without one, none unless bScaled: then the nearest width (the first
  // met on a tie), returned as it is for alpha bitmaps and width 0, else a scaled copy stored under
  // nWidth (the nearest icon when scaling fails).
  CXTPImageManagerIcon* GetIcon(UINT nWidth, BOOL bScaled = TRUE);

  // Each finds or makes the icon of that width (a new one is 15 high until it gets a picture) and
  // sets the form from an owned copy of hIcon.
  void SetIcon(const CXTPIconHandle& hIcon, UINT nWidth);
  void SetDisabledIcon(const CXTPIconHandle& hIcon, UINT nWidth);
  void SetHotIcon(const CXTPIconHandle& hIcon, UINT nWidth);
  void SetCheckedIcon(const CXTPIconHandle& hIcon, UINT nWidth);
  // The form of that state.
  void SetIcon(const CXTPIconHandle& hIcon, UINT nWidth, XTPImageState imageState);

  // Drops the scaled copies, and the generated forms of the other icons.
  void RefreshAll();
  void RemoveScaledIcons();
  void RemoveAll();
  // Takes over every icon of pOther (which ends empty), replacing this set's own.
  void TakeIcons(CXTPImageManagerIconSet* pOther);

 protected:
  CXTPImageManagerIcon* FindOrCreateIcon(UINT nWidth);

  UINT m_nID;
  CXTPImageManager* m_pImageManager;
  CIconSetMap m_mapIcons;
};
