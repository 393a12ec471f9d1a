// CGridCellBase: the interface every cell of a CGridCtrl offers the grid (attributes, drawing,
// measuring, editing, printing, mouse hooks) and the parts of it that do not depend on how a cell
// keeps its attributes: the state word, the default cell, copying, drawing and measuring.
#pragma once

#include <afxwin.h>

#include "GridDefs.h"

class CGridCtrl;

// Cells belong to one grid and are used only on the grid's user-interface thread. Colours may
// hold CLR_DEFAULT (0xFF000000): the cell then draws with its default cell's colour.
class CGridCellBase : public CObject {
  DECLARE_DYNAMIC(CGridCellBase)

 public:
  CGridCellBase() = default;
  ~CGridCellBase() override = default;

  // ---- Attributes (kept by the derived classes) ----
  virtual void SetText(LPCTSTR szText) = 0;
  virtual void SetImage(int nImage) = 0;
  virtual void SetData(LPARAM lParam) = 0;
  virtual void SetState(DWORD nState) { m_nState = nState; }
  virtual void SetFormat(DWORD nFormat) = 0;
  virtual void SetTextColour(COLORREF clr) = 0;
  virtual void SetBackColour(COLORREF clr) = 0;
  // NULL returns the cell to its default cell's font.
  virtual void SetFont(const LOGFONT* plf) = 0;
  virtual void SetMargin(UINT nMargin) = 0;
  virtual void SetGrid(CGridCtrl* pGrid) = 0;
  // The grid tells a cell where it is before it draws it.
  virtual void SetCoords(int nRow, int nCol) = 0;

  virtual LPCTSTR GetText() const = 0;
  // The text a title tip shows.
  virtual LPCTSTR GetTipText() const { return GetText(); }
  virtual int GetImage() const = 0;
  virtual LPARAM GetData() const = 0;
  virtual DWORD GetState() const { return m_nState; }
  virtual DWORD GetFormat() const = 0;
  virtual COLORREF GetTextColour() const = 0;
  virtual COLORREF GetBackColour() const = 0;
  virtual const LOGFONT* GetFont() const = 0;
  virtual CFont* GetFontObject() const = 0;
  virtual CGridCtrl* GetGrid() const = 0;
  virtual CWnd* GetEditWnd() const = 0;
  virtual UINT GetMargin() const = 0;
  // The grid's default cell of this cell's kind (by its fixed-row and fixed-column bits); NULL
  // without a grid.
  virtual CGridCellBase* GetDefaultCell() const;

  virtual BOOL IsDefaultFont() const = 0;
  virtual BOOL IsEditing() const = 0;
  // Each gives the masked state bit, not 0/1.
  virtual BOOL IsFocused() const { return GetState() & GVIS_FOCUSED; }
  virtual BOOL IsFixed() const { return GetState() & GVIS_FIXED; }
  virtual BOOL IsFixedCol() const { return GetState() & GVIS_FIXEDCOL; }
  virtual BOOL IsFixedRow() const { return GetState() & GVIS_FIXEDROW; }
  virtual BOOL IsSelected() const { return GetState() & GVIS_SELECTED; }
  virtual BOOL IsReadOnly() const { return GetState() & GVIS_READONLY; }
  virtual BOOL IsModified() const { return GetState() & GVIS_MODIFIED; }
  virtual BOOL IsDropHighlighted() const { return GetState() & GVIS_DROPHILITED; }

  // Copies every attribute of cell (its grid included); nothing when cell is this cell.
  virtual void Assign(const CGridCellBase& cell);
  virtual void Reset() { m_nState = 0; }

  // ---- Drawing and measuring ----
  // Draws the cell in rect (inclusive right and bottom); FALSE without a grid, a DC or an area.
  virtual BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE);
  // In: the cell's rectangle; out: where its text goes (past its image).
  virtual BOOL GetTextRect(LPRECT pRect);
  virtual BOOL GetTipTextRect(LPRECT pRect) { return GetTextRect(pRect); }
  // The size of szText in the cell's font and format, margins included; pDC NULL uses the grid's
  // window DC. A NULL text gives the default cell's size.
  virtual CSize GetTextExtent(LPCTSTR szText, CDC* pDC = nullptr);
  // The size the whole cell needs: text, image and edges.
  virtual CSize GetCellExtent(CDC* pDC);

  // ---- Editing ----
  virtual BOOL Edit(int /*nRow*/, int /*nCol*/, CRect /*rect*/, CPoint /*point*/, UINT /*nID*/,
                    UINT /*nChar*/) {
    return FALSE;
  }
  virtual BOOL ValidateEdit(LPCTSTR /*str*/) { return TRUE; }
  virtual void EndEdit() {}

  // ---- Printing ----
  virtual BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect);

  // ---- Hooks the grid calls ----
  virtual void OnEndEdit() {}
  virtual void OnMouseEnter() {}
  virtual void OnMouseOver() {}
  virtual void OnMouseLeave() {}
  // The points are relative to the cell's top-left corner.
  virtual void OnClick(CPoint /*PointCellRelative*/) {}
  virtual void OnClickDown(CPoint /*PointCellRelative*/) {}
  virtual void OnRClick(CPoint /*PointCellRelative*/) {}
  virtual void OnDblClick(CPoint /*PointCellRelative*/) {}
  virtual BOOL OnSetCursor();

 protected:
  DWORD m_nState = 0;

 private:
  // Draw's edge of a fixed cell; shrinks rect by its width.
  void DrawFixedCellEdge(CDC* pDC, int nRow, int nCol, CRect& rect);
  void DrawSortArrow(CDC* pDC, CRect& rect);
};
