// Documents that hold embedded objects: COleDocument keeps a list of document items, COleClientItem
// is one embedded object seen from its container (its OLE object, state and type names), and
// AfxOleSetEditMenu fills the edit menu's entry for the selected object with its verbs.
// User-interface thread only; the objects belong to their document.
#pragma once

#include "afxwin.h"

#include <ole2.h>

class COleDocument;

// An item of a document. Owned by its document: removing it from the document does not delete it,
// deleting it removes it.
class CDocItem : public CCmdTarget {
  DECLARE_SERIAL(CDocItem)

 public:
  CDocItem();
  ~CDocItem() override;

  COleDocument* GetDocument() const { return m_pDocument; }
  // An item without content (no object) is left out when the document is saved.
  virtual BOOL IsBlank() const { return FALSE; }

 protected:
  COleDocument* m_pDocument;
  friend class COleDocument;
};

class COleDocument : public CDocument {
  DECLARE_DYNAMIC(COleDocument)

 public:
  COleDocument();
  // Deletes every item still held.
  ~COleDocument() override;

  // The document takes the item (its m_pDocument becomes this document).
  virtual void AddItem(CDocItem* pItem);
  virtual void RemoveItem(CDocItem* pItem);
  POSITION GetStartPosition() const { return m_docItemList.GetHeadPosition(); }
  CDocItem* GetNextItem(POSITION& pos) const;
  // Like GetNextItem, skipping items that are no client items; NULL at the end.
  class COleClientItem* GetNextClientItem(POSITION& pos) const;
  // The one item that pView reports selected; NULL when none or more than one is.
  virtual COleClientItem* GetPrimarySelectedItem(CView* pView);
  // The item in place active in pWnd (state 3 or 4 with that window), else NULL.
  virtual COleClientItem* GetInPlaceActiveItem(CWnd* pWnd);
  BOOL HasBlankItems() const;
  // The document is modified while any item is.
  virtual void UpdateModifiedFlag();
  void EnableCompoundFile(BOOL bEnable = TRUE) { m_bCompoundFile = bEnable; }

  void DeleteContents() override;

 protected:
  CPtrList m_docItemList;
  BOOL m_bCompoundFile;
};

// Item states, as GetItemState reports them.
class COleClientItem : public CDocItem {
  DECLARE_DYNAMIC(COleClientItem)

 public:
  enum ItemState { emptyState = 0, loadedState = 1, openState = 2, activeState = 3, activeUIState = 4 };

  // With a document, the item adds itself to it.
  explicit COleClientItem(COleDocument* pContainerDoc = nullptr);
  ~COleClientItem() override;

  UINT GetItemState() const { return m_nItemState; }
  BOOL IsInPlaceActive() const { return m_nItemState == activeState || m_nItemState == activeUIState; }
  BOOL IsBlank() const override { return m_lpObject == nullptr; }
  BOOL IsModified() const { return m_bModified; }
  void SetModified(BOOL bModified) { m_bModified = bModified; }

  // Makes a new object of that class, running and loaded; FALSE when the class cannot be made.
  BOOL CreateNewItem(REFCLSID clsid);
  // Takes an object already made (a reference is added); the item becomes loaded.
  void Attach(LPOLEOBJECT lpObject);
  // Closes the object and releases it; the item becomes empty.
  void Release(OLECLOSE dwCloseOption = OLECLOSE_NOSAVE);
  void Close(OLECLOSE dwCloseOption = OLECLOSE_SAVEIFDIRTY);
  // Runs verb nVerb; FALSE when there is no object or the object refused.
  virtual BOOL DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg = nullptr);
  // The object's type name of the given form (USERCLASSTYPE_SHORT, _FULL, _APPNAME); empty without.
  void GetUserType(USERCLASSTYPE nUserClassType, CString& rString) const;
  void GetClassID(CLSID* pClassID) const;
  // The item's state changes through here (the container's views follow it).
  virtual void OnChange(UINT nCode, DWORD dwParam);
  void SetItemState(UINT nState) { m_nItemState = nState; }

  LPOLEOBJECT m_lpObject;

 protected:
  UINT m_nItemState;
  BOOL m_bModified;
};

// Fills item iMenuItem (by position) of pMenu for the object pClient with its verbs, numbered from
// nIDVerbMin (at most up to nIDVerbMax when that is not 0): one verb gives a plain item "<verb>
// <type> &Object", several a popup "<type> &Object" of verbs (and "&Convert..." with nIDConvert not
// 0). Without an object the item reads "&Object" and is disabled.
void AFXAPI AfxOleSetEditMenu(COleClientItem* pClient, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin,
                              UINT nIDVerbMax = 0, UINT nIDConvert = 0);
