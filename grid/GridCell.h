// CGridCell: the ordinary grid cell. It keeps its own text, image, item data, format, colours,
// font and margin, and takes the format, font and margin of its default cell while it has none.
#pragma once

#include "GridCellBase.h"

class CGridCell : public CGridCellBase {
  DECLARE_DYNCREATE(CGridCell)

 public:
  CGridCell();
  ~CGridCell() override;

  void SetText(LPCTSTR szText) override { m_strText = szText; }
  void SetImage(int nImage) override { m_nImage = nImage; }
  void SetData(LPARAM lParam) override { m_lParam = lParam; }
  void SetFormat(DWORD nFormat) override { m_nFormat = nFormat; }
  void SetTextColour(COLORREF clr) override { m_crFgClr = clr; }
  void SetBackColour(COLORREF clr) override { m_crBkClr = clr; }
  void SetFont(const LOGFONT* plf) override;
  void SetMargin(UINT nMargin) override { m_nMargin = nMargin; }
  void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }
  void SetCoords(int /*nRow*/, int /*nCol*/) override {}

  LPCTSTR GetText() const override { return m_strText; }
  int GetImage() const override { return m_nImage; }
  LPARAM GetData() const override { return m_lParam; }
  // The own format, or the default cell's while the own one is (DWORD)-1.
  DWORD GetFormat() const override;
  COLORREF GetTextColour() const override { return m_crFgClr; }
  COLORREF GetBackColour() const override { return m_crBkClr; }
  const LOGFONT* GetFont() const override;
  // With an own font: one font object shared by every CGridCell, made to match this cell's font.
  // It stays the same object and valid for the program's life; its font is that of the cell last
  // asked. Without one: the default cell's font object.
  CFont* GetFontObject() const override;
  CGridCtrl* GetGrid() const override { return m_pGrid; }
  CWnd* GetEditWnd() const override { return m_pEditWnd; }
  UINT GetMargin() const override;

  BOOL IsDefaultFont() const override { return m_plfFont == nullptr; }
  BOOL IsEditing() const override { return m_bEditing; }

  void Reset() override;

  // Opens an in-place editor over rect (or forwards nChar to the open one).
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  void EndEdit() override;
  void OnEndEdit() override;

 protected:
  CString m_strText;
  LPARAM m_lParam;
  int m_nImage;
  DWORD m_nFormat;
  COLORREF m_crFgClr;
  COLORREF m_crBkClr;
  LOGFONT* m_plfFont;  // owned; NULL: the default cell's font
  UINT m_nMargin;
  BOOL m_bEditing;
  CGridCtrl* m_pGrid;
  CWnd* m_pEditWnd;  // the open CGridInPlaceEdit, which deletes itself when it closes
};
