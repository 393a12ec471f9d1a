// OLE data transfer: a data source that offers cached global memory on the clipboard or in a drag,
// a data object that reads what the clipboard or a drop offers, a drop target that turns a
// window's IDropTarget calls into virtual handlers, and a memory file in global memory.
// Formats are kept exactly as the caller hands them over (CF_TEXT stays CF_TEXT).
#pragma once

#include "framework/MemFile.h"
#include "framework/Wnd.h"

#include <ole2.h>

typedef DWORD DROPEFFECT;

// A memory file whose buffer is global memory, so that it can be handed to the clipboard.
class CSharedFile : public CMemFile {
  DECLARE_DYNAMIC(CSharedFile)
 public:
  explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
  ~CSharedFile() override;

  // Hands the global memory (sized to the file's length) to the caller and leaves the file empty.
  HGLOBAL Detach();
  // Uses hGlobalMemory as the file's contents (its whole size); the file frees it unless detached.
  void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

 protected:
  BYTE* Alloc(SIZE_T nBytes) override;
  BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
  void Free(BYTE* lpMem) override;

  UINT m_nAllocFlags;
  HGLOBAL m_hGlobalMemory;
  BOOL m_bAllowGrow;
};

class COleDataSourceObject;

// The data a program offers. Created with new and handed to SetClipboard, the clipboard owns it
// (it deletes itself when the clipboard lets go); for DoDragDrop it may live on the stack.
class COleDataSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDataSource)
 public:
  COleDataSource();
  ~COleDataSource() override;

  // Offers hGlobal under cfFormat; the source owns hGlobal from now on and hands out copies.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
  // Offers any medium; the source owns it.
  void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
  void Empty();

  // Puts this source on the clipboard. The clipboard owns it afterwards, also on failure.
  void SetClipboard();
  // The source now on the clipboard if it is one of ours, else NULL.
  static COleDataSource* PASCAL GetClipboardOwner();
  // Renders our clipboard source's data onto the clipboard so it outlives the program.
  static void PASCAL FlushClipboard();

  // Runs the modal drag loop; the result is the effect the target chose (DROPEFFECT_NONE when the
  // drag was cancelled).
  DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT lpRectStartDrag = nullptr, class COleDropSource* pDropSource = nullptr);

  // The object's IDataObject (not AddRef'd).
  LPDATAOBJECT GetDataObject();
  LPUNKNOWN GetInterfaceHook(const void* piid) override;

 protected:
  friend class COleDataSourceObject;
  struct CacheEntry {
    FORMATETC formatEtc;
    STGMEDIUM stgMedium;
  };
  CacheEntry* Lookup(const FORMATETC* lpFormatEtc) const;
  CacheEntry* m_pCache;
  UINT m_nSize;
  UINT m_nMaxSize;
  COleDataSourceObject* m_pObject;
};

// The drop source of DoDragDrop: Esc cancels, releasing the mouse button drops.
class COleDropSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropSource)
 public:
  COleDropSource();
  ~COleDropSource() override;
  virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
  virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
  LPDROPSOURCE GetDropSource();
  DWORD m_dwButtonDrop;  // the button whose release drops (set from the state when dragging starts)

 private:
  struct Impl;
  Impl* m_pImpl;
};

// A reader of offered data: the clipboard's (AttachClipboard) or any IDataObject (Attach).
class COleDataObject {
 public:
  COleDataObject();
  ~COleDataObject();
  COleDataObject(const COleDataObject&) = delete;
  COleDataObject& operator=(const COleDataObject&) = delete;

  void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
  LPDATAOBJECT Detach();
  void Release();
  BOOL AttachClipboard();

  BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
  // A copy the caller owns (GlobalFree it), or NULL when the format is not offered.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
  BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
  // A file reading the data (global memory or stream), or NULL; the caller deletes it.
  CFile* GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

  void BeginEnumFormats();
  BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

  LPDATAOBJECT m_lpDataObject;
  BOOL m_bAutoRelease;

 private:
  LPENUMFORMATETC m_lpEnumerator;
};

// Accepts drops on one window. Derive and override the handlers; the defaults refuse the drop.
class COleDropTarget : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropTarget)
 public:
  COleDropTarget();
  ~COleDropTarget() override;

  // Makes pWnd a drop target (OLE must be initialised on the thread). FALSE when the window is
  // already registered or is not a window.
  BOOL Register(CWnd* pWnd);
  virtual void Revoke();

  virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  // -1 means "not handled here": OnDrop is called instead.
  virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                              DROPEFFECT dropList, CPoint point);
  virtual void OnDragLeave(CWnd* pWnd);
  // Scrolls a window with scroll bars while the cursor rests in its border band; returns
  // DROPEFFECT_SCROLL (plus the drop effect) while scrolling, DROPEFFECT_NONE when not in the band.
  virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

  // The object's IDropTarget (not AddRef'd).
  LPDROPTARGET GetDropTarget();
  LPUNKNOWN GetInterfaceHook(const void* piid) override;

  static int nScrollInset;   // width of the band that scrolls, in pixels
  static UINT nScrollDelay;  // ms the cursor must rest before scrolling starts
  static UINT nScrollInterval;

  HWND m_hWnd;  // the registered window

 private:
  friend struct COleDropTargetImpl;
  struct COleDropTargetImpl* m_pImpl;
  COleDataObject m_dataObject;
  DWORD m_dwLastTick;
  UINT m_nTimerID;
  DWORD m_dwScrollStart;
};
