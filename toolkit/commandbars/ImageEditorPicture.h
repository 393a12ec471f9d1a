// CXTPImageEditorPicture: the picture grid of the button image editor. It owns the picture being
// edited (a 32-bit bottom-up DIB, possibly with per-pixel alpha), the picture before the running
// change and the undo and redo lists, applies the editor's tools to cells and shows the picture
// enlarged over a checkerboard where it is transparent.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

class CXTPButtonImageEditor;

// The pixel value that marks a transparent pixel of a picture without alpha; new pictures start
// filled with it.
#define XTP_IMAGEEDITOR_TRANSPARENT RGB(0xFF, 0xFE, 0xFF)

// Created by the editor's OnInitDialog (subclassing its picture area) on the editor's thread. The
// picture object outlives its window: the editor reads the result after DoModal. Every picture the
// grid holds (current, before, undo, redo) is its own and freed with it. A NULL picture is an empty
// one and paints as all transparent.
class CXTPImageEditorPicture : public CStatic {
 public:
  CXTPImageEditorPicture();
  ~CXTPImageEditorPicture() override;
  CXTPImageEditorPicture(const CXTPImageEditorPicture&) = delete;
  CXTPImageEditorPicture& operator=(const CXTPImageEditorPicture&) = delete;

  // Binds the grid to its editor and to the picture size (columns and rows).
  void SetEditor(CXTPButtonImageEditor* pEditor) { m_pEditor = pEditor; }
  void SetPictureSize(CSize szPicture) { m_szPicture = szPicture; }
  CSize GetPictureSize() const { return m_szPicture; }
  // Sizes the cells from the window (at least one pixel each, so that a picture larger than the
  // window still maps points to cells) and fits the window to whole cells.
  void LayoutGrid();
  CSize GetCellSize() const { return m_szCell; }
  CPoint CellFromPoint(CPoint point) const;

  // ---- The picture ----
  // Takes over hbmPicture (a 32-bit DIB section or NULL) as the current picture, without undo.
  void SetPicture(HBITMAP hbmPicture, BOOL bAlpha);
  HBITMAP GetPicture() const { return m_hbmPicture; }
  BOOL IsAlpha() const { return m_bAlpha; }
  // The colour of a cell (XTP_IMAGEEDITOR_TRANSPARENT outside the picture or for an empty one).
  COLORREF GetCellColor(CPoint cell) const;
  // The alpha of a cell of an alpha picture (0 outside).
  BYTE GetCellAlpha(CPoint cell) const;

  // ---- Changes, each undoable ----
  // The tools at a cell: the editor's current tool and colour decide what happens.
  void OnToolDown(CPoint cell);
  void OnToolMove(CPoint cell);
  void OnToolUp();
  BOOL IsDrawing() const { return m_bDrawing; }
  void Clear();
  // Moves every pixel by (dx, dy); pixels pushed out are lost, the uncovered ones become transparent.
  void MovePicture(int dx, int dy);
  // Takes over hbmNew (clipped to the picture size by the caller) as a new undoable picture.
  void ReplacePicture(HBITMAP hbmNew, BOOL bAlpha);

  // ---- Undo and redo: at most 16 steps back, no limit forward ----
  BOOL CanUndo() const { return !m_lstUndo.IsEmpty(); }
  BOOL CanRedo() const { return !m_lstRedo.IsEmpty(); }
  int GetUndoCount() const { return static_cast<int>(m_lstUndo.GetCount()); }
  int GetRedoCount() const { return static_cast<int>(m_lstRedo.GetCount()); }
  void Undo();
  void Redo();

  // ---- Picture helpers shared with the editor ----
  // A new picture of that size filled with the transparent value; NULL when it cannot be made.
  static HBITMAP PASCAL CreatePicture(CSize size);
  // A copy of the picture (NULL for NULL).
  static HBITMAP PASCAL CopyPicture(HBITMAP hbmPicture);
  // The picture's pixels (bottom-up rows, BGRA) and size; NULL for a picture that is not a DIB section.
  static DWORD* PASCAL GetPixels(HBITMAP hbmPicture, CSize* pSize);

  enum { nMaxUndo = 16 };

 protected:
  // The current picture becomes the before-picture and a copy of it (a new empty one when there is
  // none) becomes current.
  void BeginChange();
  // Pushes the before-picture on the undo list (clearing the redo list) and gives alpha to the
  // changed pixels of an alpha picture.
  void CommitChange();
  void DrawShape(CPoint cell);
  void Fill(CPoint cell, COLORREF clr);
  void SetCell(CPoint cell, COLORREF clr);
  void Repaint();
  static void PASCAL FreeList(CList<HBITMAP, HBITMAP>& list);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

  CSize m_szPicture = CSize(16, 16);
  CSize m_szCell = CSize(1, 1);
  CXTPButtonImageEditor* m_pEditor = nullptr;
  HBITMAP m_hbmPicture = nullptr;
  HBITMAP m_hbmBefore = nullptr;
  BOOL m_bAlpha = FALSE;
  CList<HBITMAP, HBITMAP> m_lstUndo;
  CList<HBITMAP, HBITMAP> m_lstRedo;
  BOOL m_bDrawing = FALSE;
  CPoint m_ptStart;
  COLORREF m_clrStroke = 0;
  HCURSOR m_hcurLine = nullptr;
  HCURSOR m_hcurFill = nullptr;
  HCURSOR m_hcurPencil = nullptr;
  HCURSOR m_hcurPickColor = nullptr;

  DECLARE_MESSAGE_MAP()
};
