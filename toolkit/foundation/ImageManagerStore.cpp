// The image manager's storage: icon sets through the property exchange (archive or registry) and on
// the clipboard. Loading reads into new sets and swaps them in only when everything was read.
#include "ImageManager.h"
#include "ImagePixels.h"
#include "PropExchangeArchive.h"
#include "PropItemEnumerator.h"

namespace {

const LPCTSTR kCheckSum = _T("CXTPImageManagerIcons");

// An icon's archive form as its section's "Data"; a failure raises CArchiveException* after the
// section's archive is given back.
void ExchangeIconData(CXTPPropExchange* pSection, CXTPImageManagerIcon* pIcon) {
  CArchive* pArchive = pSection->GetArchive(_T("Data"));
  if (pArchive == nullptr) AfxThrowArchiveException(CArchiveException::endOfFile);
  try {
    pIcon->Serialize(*pArchive);
  } catch (CException*) {
    pSection->ReleaseArchive(_T("Data"), pArchive);
    throw;
  }
  pSection->ReleaseArchive(_T("Data"), pArchive);
}

// Holds a new set until it is handed on; released when the load fails.
class PendingIconSet {
 public:
  PendingIconSet(UINT nCommand, CXTPImageManager* pManager)
      : m_pIconSet(new CXTPImageManagerIconSet(nCommand, pManager)) {}
  ~PendingIconSet() {
    if (m_pIconSet != nullptr) m_pIconSet->InternalRelease();
  }
  PendingIconSet(const PendingIconSet&) = delete;
  PendingIconSet& operator=(const PendingIconSet&) = delete;
  CXTPImageManagerIconSet* Get() const { return m_pIconSet; }
  CXTPImageManagerIconSet* Detach() {
    CXTPImageManagerIconSet* pIconSet = m_pIconSet;
    m_pIconSet = nullptr;
    return pIconSet;
  }

 private:
  CXTPImageManagerIconSet* m_pIconSet;
};

}  // namespace

void CXTPImageManager::StoreIconSet(CXTPImageManagerIconSet* pSet, CXTPPropExchange* pPX) {
  CXTPPropExchangeEnumeratorPtr enumerator(pPX->GetEnumerator(_T("Icon")));
  POSITION posEnum = enumerator->GetPosition(static_cast<DWORD>(pSet->GetStoredIconCount()));
  POSITION pos = pSet->GetIcons()->GetStartPosition();
  while (pos != nullptr) {
    UINT nWidth;
    CXTPImageManagerIcon* pIcon;
    pSet->GetIcons()->GetNextAssoc(pos, nWidth, pIcon);
    if (pIcon->IsScaled() || posEnum == nullptr) continue;
    CXTPPropExchangeSection secIcon(enumerator->GetNext(posEnum));
    long nStoredWidth = static_cast<long>(nWidth);
    PropExchangeLong(secIcon, _T("Width"), nStoredWidth, 16);
    ExchangeIconData(secIcon, pIcon);
  }
}

void CXTPImageManager::LoadIconSet(CXTPImageManagerIconSet* pSet, CXTPPropExchange* pPX) {
  CString strCheckSum;
  PropExchangeString(pPX, _T("CheckSum"), strCheckSum);
  if (strCheckSum != kCheckSum) AfxThrowArchiveException(CArchiveException::badClass);

  CXTPPropExchangeEnumeratorPtr enumerator(pPX->GetEnumerator(_T("Icon")));
  POSITION pos = enumerator->GetPosition();
  if (enumerator->IsCountRefused()) AfxThrowArchiveException(CArchiveException::badIndex);
  while (pos != nullptr) {
    CXTPPropExchangeSection secIcon(enumerator->GetNext(pos));
    long nWidth = 16;
    PropExchangeLong(secIcon, _T("Width"), nWidth, 16);
    // A width of 0 would divide in drawing; no stored icon is wider than a picture may be.
    if (nWidth <= 0 || nWidth > XTP_IMAGE_MAX_EXTENT) AfxThrowArchiveException(CArchiveException::badIndex);
    CXTPImageManagerIcon* pIcon = new CXTPImageManagerIcon(pSet->GetID(), static_cast<int>(nWidth), 15, pSet);
    try {
      ExchangeIconData(secIcon, pIcon);
    } catch (CException*) {
      pIcon->InternalRelease();
      throw;
    }
    if (pIcon->GetIcon().IsEmpty()) {
      pIcon->InternalRelease();
      continue;
    }
    CXTPImageManagerIcon* pOld = nullptr;
    if (pSet->GetIcons()->Lookup(static_cast<UINT>(nWidth), pOld)) pOld->InternalRelease();
    pSet->GetIcons()->SetAt(static_cast<UINT>(nWidth), pIcon);
  }
}

void CXTPImageManager::ExchangeIconSet(UINT nCommand, CXTPPropExchange* pPX) {
  if (pPX->IsStoring()) {
    if (m_nCustomID < nCommand) m_nCustomID = nCommand;
    CString strCheckSum(kCheckSum);
    PropExchangeString(pPX, _T("CheckSum"), strCheckSum);
    CXTPImageManagerIconSet* pSet = GetIconSet(nCommand);
    if (pSet != nullptr) {
      StoreIconSet(pSet, pPX);
    } else {
      CXTPImageManagerIconSet empty(nCommand, this);
      StoreIconSet(&empty, pPX);
    }
    return;
  }
  PendingIconSet pending(nCommand, this);
  LoadIconSet(pending.Get(), pPX);
  if (m_nCustomID < nCommand) m_nCustomID = nCommand;
  FindIconSet(nCommand)->TakeIcons(pending.Get());
}

void CXTPImageManager::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPPropExchangeEnumeratorPtr enumerator(pPX->GetEnumerator(_T("IconSet")));
  if (pPX->IsStoring()) {
    POSITION posEnum = enumerator->GetPosition(static_cast<DWORD>(m_mapImages.GetCount()));
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos != nullptr && posEnum != nullptr) {
      UINT nCommand;
      CXTPImageManagerIconSet* pSet;
      m_mapImages.GetNextAssoc(pos, nCommand, pSet);
      CXTPPropExchangeSection secIconSet(enumerator->GetNext(posEnum));
      long nID = static_cast<long>(nCommand);
      PropExchangeLong(secIconSet, _T("ID"), nID, 0);
      ExchangeIconSet(nCommand, secIconSet);
    }
    return;
  }

  CIconSetsMap mapLoaded;
  UINT nHighestID = 0;
  try {
    POSITION pos = enumerator->GetPosition();
    if (enumerator->IsCountRefused()) AfxThrowArchiveException(CArchiveException::badIndex);
    while (pos != nullptr) {
      CXTPPropExchangeSection secIconSet(enumerator->GetNext(pos));
      long nID = 0;
      PropExchangeLong(secIconSet, _T("ID"), nID, 0);
      const UINT nCommand = static_cast<UINT>(nID);
      PendingIconSet pending(nCommand, this);
      LoadIconSet(pending.Get(), secIconSet);
      CXTPImageManagerIconSet* pOld = nullptr;
      if (mapLoaded.Lookup(nCommand, pOld)) pOld->InternalRelease();
      mapLoaded.SetAt(nCommand, pending.Detach());
      if (nHighestID < nCommand) nHighestID = nCommand;
    }
  } catch (CException*) {
    ReleaseIconSets(mapLoaded);
    throw;
  }
  ReplaceAll(mapLoaded);
  if (m_nCustomID < nHighestID) m_nCustomID = nHighestID;
}

void CXTPImageManager::Serialize(CArchive& ar) {
  CXTPPropExchangeArchive px(ar);
  DoPropExchange(&px);
}

BOOL CXTPImageManager::CopyIconToClipboard(UINT nCommand) {
  if (GetIconSet(nCommand) == nullptr) return FALSE;
  CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 1024);
  try {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    ExchangeIconSet(nCommand, &px);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  HGLOBAL hData = file.Detach();
  if (hData == nullptr) return FALSE;
  if (::SetClipboardData(GetImageClipboardFormat(), hData) == nullptr) {
    ::GlobalFree(hData);
    return FALSE;
  }
  return TRUE;
}

UINT CXTPImageManager::PasteIconFromClipboard(COleDataObject* pData) {
  if (pData == nullptr || !pData->IsDataAvailable(GetImageClipboardFormat())) return 0;
  CFile* pFile = pData->GetFileData(GetImageClipboardFormat());
  if (pFile == nullptr) return 0;
  UINT nID = 0;
  if (pFile->GetLength() <= XTP_PROPEXCHANGE_MAX_VALUE_BYTES) {
    PendingIconSet pending(m_nCustomID + 1, this);
    try {
      CArchive ar(pFile, CArchive::load);
      CXTPPropExchangeArchive px(ar);
      LoadIconSet(pending.Get(), &px);
      ar.Close();
      nID = ++m_nCustomID;
      FindIconSet(nID)->TakeIcons(pending.Get());
    } catch (CException* e) {
      e->Delete();
      nID = 0;
    }
  }
  delete pFile;
  return nID;
}
