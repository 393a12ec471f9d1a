// CRichText: the host of the rich-text ActiveX control (CLSID {3B7C8860-D78F-101B-B9B5-04021C009402})
// that shows a document's formatted body in the item preview, with the control's two dispatch calls.
#pragma once

#include <afxole.h>

// Made by the preview dialog's template (the control item 1015, attached by data exchange) or by
// Create, on the user-interface thread; only that thread calls it. A failing call raises the
// framework's dispatch exception (COleDispatchException, or COleException without a control) to the
// caller.
class CRichText : public CWnd {
  DECLARE_DYNCREATE(CRichText)

 public:
  // The control's class.
  static const CLSID CLSID_RICH_TEXT;
  // What LoadFile is told the file holds.
  enum { FILE_TYPE_RTF = 0, FILE_TYPE_TEXT = 1 };

  // Creates the control by code as a child of pParentWnd.
  BOOL Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Creation by name: the class name is the control's own, whatever is given.
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
              CWnd* pParentWnd, UINT nID, void* pContext = nullptr) override;

  // The contents as RTF (dispatch id 10, put); text that is not RTF shows as it stands.
  void SetTextRTF(LPCTSTR lpszText);
  // Has the control show the file at lpszPath (dispatch id 37) as fileType says.
  void LoadFile(LPCTSTR lpszPath, const VARIANT& fileType);
};
