// Icon sets: one command's icons by width and the scaled copies made for the widths it lacks.
#include "ImageManagerIconSet.h"

#include <commctrl.h>

#include <cstdlib>

#include "ImagePixels.h"

IMPLEMENT_DYNAMIC(CXTPImageManagerIconSet, CCmdTarget)

namespace {

// A copy of an icon at (cx, cy) through a 32-bit masked image list; the same size is a plain copy.
BOOL ScaleIcon(const CXTPIconHandle& hSource, CXTPIconHandle& hDest, CSize szSource, int cx, int cy) {
  hDest.Clear();
  if (hSource.IsEmpty()) return TRUE;
  if (hSource.IsAlpha() || (szSource.cx == cx && szSource.cy == cy)) return hDest.CopyFrom(hSource);
  HIMAGELIST hImageList = ::ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (hImageList == nullptr) return FALSE;
  HICON hIcon = nullptr;
  if (::ImageList_AddIcon(hImageList, hSource.GetIcon()) == 0)
    hIcon = ::ImageList_GetIcon(hImageList, 0, ILD_NORMAL);
  ::ImageList_Destroy(hImageList);
  if (hIcon == nullptr) return FALSE;
  hDest.SetIcon(hIcon);
  return TRUE;
}

}  // namespace

CXTPImageManagerIconSet::CXTPImageManagerIconSet(UINT nID, CXTPImageManager* pImageManager)
    : m_nID(nID), m_pImageManager(pImageManager) {}

CXTPImageManagerIconSet::~CXTPImageManagerIconSet() { RemoveAll(); }

int CXTPImageManagerIconSet::GetStoredIconCount() const {
  int nCount = 0;
  POSITION pos = m_mapIcons.GetStartPosition();
  while (pos != nullptr) {
    UINT nWidth;
    CXTPImageManagerIcon* pIcon;
    m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
    if (!pIcon->IsScaled()) ++nCount;
  }
  return nCount;
}

CXTPImageManagerIcon* CXTPImageManagerIconSet::GetIcon(UINT nWidth, BOOL bScaled) {
  CXTPImageManagerIcon* pIcon = nullptr;
  if (m_mapIcons.Lookup(nWidth, pIcon)) return pIcon;
  if (!bScaled || m_mapIcons.IsEmpty()) return nullptr;

  // The nearest width; on a tie the one the walk meets first (buckets ascend with the width).
  CXTPImageManagerIcon* pNearest = nullptr;
  UINT nNearestDistance = UINT_MAX;
  POSITION pos = m_mapIcons.GetStartPosition();
  while (pos != nullptr) {
    UINT nIconWidth;
    m_mapIcons.GetNextAssoc(pos, nIconWidth, pIcon);
    if (pIcon->IsScaled()) continue;
    const UINT nDistance = nIconWidth > nWidth ? nIconWidth - nWidth : nWidth - nIconWidth;
    if (nDistance < nNearestDistance) {
      nNearestDistance = nDistance;
      pNearest = pIcon;
    }
  }
  if (pNearest == nullptr) return nullptr;
  // No copy is made beyond the largest picture the manager keeps.
  if (pNearest->IsAlpha() || nWidth == 0 || nWidth > XTP_IMAGE_MAX_EXTENT) return pNearest;

  const int cx = static_cast<int>(nWidth);
  const int cy = pNearest->GetWidth() > 0 ? MulDiv(pNearest->GetHeight(), cx, pNearest->GetWidth()) : cx;
  if (cy <= 0) return pNearest;
  CXTPImageManagerIcon* pScaled = new CXTPImageManagerIcon(m_nID, cx, cy, this);
  const CSize szSource = pNearest->GetIcon().GetExtent();
  CXTPIconHandle hNormal, hDisabled, hHot, hChecked;
  if (!ScaleIcon(pNearest->GetIcon(), hNormal, szSource, cx, cy) ||
      !ScaleIcon(pNearest->m_hDisabled, hDisabled, szSource, cx, cy) ||
      !ScaleIcon(pNearest->m_hHot, hHot, szSource, cx, cy) ||
      !ScaleIcon(pNearest->m_hChecked, hChecked, szSource, cx, cy)) {
    pScaled->InternalRelease();
    return pNearest;
  }
  pScaled->m_hIcon.Swap(hNormal);
  pScaled->m_hDisabled.Swap(hDisabled);
  pScaled->m_hHot.Swap(hHot);
  pScaled->m_hChecked.Swap(hChecked);
  pScaled->SetScaled(TRUE);
  m_mapIcons.SetAt(nWidth, pScaled);
  return pScaled;
}

CXTPImageManagerIcon* CXTPImageManagerIconSet::FindOrCreateIcon(UINT nWidth) {
  CXTPImageManagerIcon* pIcon = nullptr;
  if (m_mapIcons.Lookup(nWidth, pIcon)) return pIcon;
  pIcon = new CXTPImageManagerIcon(m_nID, static_cast<int>(nWidth), 15, this);
  m_mapIcons.SetAt(nWidth, pIcon);
  return pIcon;
}

void CXTPImageManagerIconSet::SetIcon(const CXTPIconHandle& hIcon, UINT nWidth) {
  FindOrCreateIcon(nWidth)->SetIcon(hIcon);
}

void CXTPImageManagerIconSet::SetDisabledIcon(const CXTPIconHandle& hIcon, UINT nWidth) {
  FindOrCreateIcon(nWidth)->SetDisabledIcon(hIcon);
}

void CXTPImageManagerIconSet::SetHotIcon(const CXTPIconHandle& hIcon, UINT nWidth) {
  FindOrCreateIcon(nWidth)->SetHotIcon(hIcon);
}

void CXTPImageManagerIconSet::SetCheckedIcon(const CXTPIconHandle& hIcon, UINT nWidth) {
  FindOrCreateIcon(nWidth)->SetCheckedIcon(hIcon);
}

void CXTPImageManagerIconSet::SetIcon(const CXTPIconHandle& hIcon, UINT nWidth, XTPImageState imageState) {
  switch (imageState) {
    case xtpImageDisabled:
      SetDisabledIcon(hIcon, nWidth);
      break;
    case xtpImageHot:
      SetHotIcon(hIcon, nWidth);
      break;
    case xtpImageChecked:
      SetCheckedIcon(hIcon, nWidth);
      break;
    default:
      SetIcon(hIcon, nWidth);
      break;
  }
}

void CXTPImageManagerIconSet::RemoveScaledIcons() {
  POSITION pos = m_mapIcons.GetStartPosition();
  while (pos != nullptr) {
    UINT nWidth;
    CXTPImageManagerIcon* pIcon;
    m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
    if (pIcon->IsScaled()) {
      m_mapIcons.RemoveKey(nWidth);
      pIcon->SetIconSet(nullptr);
      pIcon->InternalRelease();
    }
  }
}

void CXTPImageManagerIconSet::RefreshAll() {
  RemoveScaledIcons();
  POSITION pos = m_mapIcons.GetStartPosition();
  while (pos != nullptr) {
    UINT nWidth;
    CXTPImageManagerIcon* pIcon;
    m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
    pIcon->Refresh();
  }
}

void CXTPImageManagerIconSet::RemoveAll() {
  POSITION pos = m_mapIcons.GetStartPosition();
  while (pos != nullptr) {
    UINT nWidth;
    CXTPImageManagerIcon* pIcon;
    m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
    pIcon->SetIconSet(nullptr);
    pIcon->InternalRelease();
  }
  m_mapIcons.RemoveAll();
}

void CXTPImageManagerIconSet::TakeIcons(CXTPImageManagerIconSet* pOther) {
  RemoveAll();
  POSITION pos = pOther->m_mapIcons.GetStartPosition();
  while (pos != nullptr) {
    UINT nWidth;
    CXTPImageManagerIcon* pIcon;
    pOther->m_mapIcons.GetNextAssoc(pos, nWidth, pIcon);
    pIcon->SetIconSet(this);
    pIcon->m_nID = m_nID;
    m_mapIcons.SetAt(nWidth, pIcon);
  }
  pOther->m_mapIcons.RemoveAll();
}
