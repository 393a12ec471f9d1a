// CXTPButtonImageEditor: the modal "Button Editor" dialog in which the customize sheet lets the user
// paint a control's button picture pixel by pixel, with its colour boxes (CXTPImageEditorPicker), its
// preview (CXTPImageEditorPreview) and its two small toolbars (CXTPImageEditorToolBar).
#pragma once

#include "ImageEditorPicture.h"

#include <IconHandle.h>
#include <afxcmn.h>
#include <afxext.h>

// A colour box: a square of its colour (white and grey quarters for the transparent colour) that
// tells its parent of a click with NM_CLICK. Made by the editor on its thread.
class CXTPImageEditorPicker : public CStatic {
  DECLARE_DYNCREATE(CXTPImageEditorPicker)

 public:
  CXTPImageEditorPicker() = default;

  COLORREF GetColor() const { return m_clr; }
  void SetColor(COLORREF clr);
  BOOL IsSelected() const { return m_bSelected; }
  void SetSelected(BOOL bSelected);

 protected:
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

  COLORREF m_clr = 0;
  BOOL m_bSelected = FALSE;

  DECLARE_MESSAGE_MAP()
};

// The real-size view of the picture beside the grid.
class CXTPImageEditorPreview : public CStatic {
 public:
  void SetEditor(CXTPButtonImageEditor* pEditor) { m_pEditor = pEditor; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }

  CXTPButtonImageEditor* m_pEditor = nullptr;

  DECLARE_MESSAGE_MAP()
};

// The editor's toolbars: their buttons follow the editor's update handlers while they are visible.
class CXTPImageEditorToolBar : public CToolBar {
 protected:
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// Made and run by the customize sheet on the user-interface thread. The result is read with GetIcon
// after DoModal returned IDOK.
class CXTPButtonImageEditor : public CDialog {
 public:
  // Tool numbers: command id - 9363.
  enum XTPImageEditorTool {
    toolPencil = 0,
    toolFill = 1,
    toolPickColor = 2,
    toolLine = 3,
    toolRectangle = 4,
    toolEllipse = 5
  };

  explicit CXTPButtonImageEditor(CWnd* pParent = nullptr);
  ~CXTPButtonImageEditor() override;

  // The picture to edit: its size becomes the editor's; an alpha bitmap stays alpha (pixels of value 0
  // become transparent), an icon is drawn on a transparent picture. An empty handle does nothing.
  void SetIcon(const CXTPIconHandle& hIcon);
  // The size of an empty picture (a control without a picture yet).
  void SetSize(int cx, int cy);
  // The edited picture: nothing for an empty one; an alpha bitmap for an alpha picture; else an icon
  // masked by the transparent colour.
  void GetIcon(CXTPIconHandle& hIcon);

  INT_PTR DoModal() override;

  // ---- State the picture grid works with ----
  int GetCurrentTool() const { return m_nCurrentTool; }
  void SetCurrentTool(int nTool);
  COLORREF GetCurrentColor() const;
  // Makes the picker with that id the current colour (the palette, 9359 or 9360).
  void SelectPicker(UINT nID);
  // "Pick Color": the custom box takes the colour and becomes current; the tool goes back.
  void OnColorPicked(COLORREF clr);
  void OnPictureChanged();
  CXTPImageEditorPicture* GetPictureGrid() { return &m_wndPicture; }
  CSize GetPictureSize() const { return m_szPicture; }

  // ---- Commands (also reached through the toolbars) ----
  void OnCopy();
  void OnPaste();
  // The file is read as the import command reads it; FALSE changes nothing.
  BOOL ImportFile(LPCTSTR lpszFileName);
  // The bitmap (the caller keeps it) as a new picture of the editor's size at 0,0.
  void PasteBitmap(HBITMAP hbm, BOOL bAlpha);

  // Opens the clipboard for hOwner, empties it and gives it the bitmap (CF_BITMAP) and, for an alpha
  // picture, the image manager's alpha mark. The clipboard takes the bitmap; on failure the bitmap is
  // deleted and FALSE returned. On success the clipboard is left open for more formats: the caller
  // closes it.
  static BOOL PASCAL OpenClipboardWithBitmap(HWND hOwner, HBITMAP hbm, BOOL bAlpha);

  // The palette: colour and string id of each of the 16 boxes, row by row.
  struct PaletteEntry {
    COLORREF clr;
    UINT nID;
  };
  static const PaletteEntry s_palette[16];

 protected:
  BOOL OnInitDialog() override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL CreateToolBar(CXTPImageEditorToolBar& wndToolBar, const UINT* pIDs, int nCount, UINT nIDPlaceholder,
                     CImageList& imageList, int nFirstImage);
  CXTPImageEditorPicker* FindPicker(UINT nID);

  afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateTool(CCmdUI* pCmdUI);
  afx_msg void OnUpdateUndo(CCmdUI* pCmdUI);
  afx_msg void OnUpdateRedo(CCmdUI* pCmdUI);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

  CStatic m_wndPlaceholderTools;
  CStatic m_wndPlaceholderMove;
  CXTPImageEditorToolBar m_wndToolsBar;
  CImageList m_ilTools;
  CXTPImageEditorToolBar m_wndMoveBar;
  CImageList m_ilMove;
  CXTPImageEditorPicker m_wndPalette[16];
  CXTPImageEditorPicker m_wndCustom;
  CXTPImageEditorPicker m_wndTransparent;
  CXTPImageEditorPicture m_wndPicture;
  CXTPImageEditorPreview m_wndPreview;
  CXTPImageEditorPicker* m_pCurrentPicker = nullptr;
  int m_nCurrentTool = toolPencil;
  int m_nPreviousTool = toolPencil;
  CSize m_szPicture = CSize(16, 16);
  COLORREF m_clrCurrent = 0;
  enum { nMaxTipText = 80 };
  WCHAR m_szTipTextW[nMaxTipText + 1] = {};
  char m_szTipTextA[(nMaxTipText + 1) * 2] = {};

  DECLARE_MESSAGE_MAP()
};
