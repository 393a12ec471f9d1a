// CGridDefaultCell: the class of a grid's four default cells (plain, fixed column, fixed row, fixed
// row and column). Each holds a real font and the default cell size measured with it, and always
// reports itself read-only.
#pragma once

#include "GridCell.h"

class CGridDefaultCell : public CGridCell {
  DECLARE_DYNCREATE(CGridDefaultCell)

 public:
  // Takes the system's message-box font.
  CGridDefaultCell();
  ~CGridDefaultCell() override;

  void SetData(LPARAM /*lParam*/) override {}
  void SetState(DWORD /*nState*/) override {}
  DWORD GetState() const override { return CGridCell::GetState() | GVIS_READONLY; }

  // Makes the font object from plf and measures the default margin, width and height with it.
  void SetFont(const LOGFONT* plf) override;
  const LOGFONT* GetFont() const override { return m_plfFont; }
  CFont* GetFontObject() const override { return const_cast<CFont*>(&m_Font); }

  virtual DWORD GetStyle() const { return m_dwStyle; }
  virtual void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  virtual int GetWidth() const { return m_nWidth; }
  virtual int GetHeight() const { return m_nHeight; }
  virtual void SetWidth(int nWidth) { m_nWidth = nWidth; }
  virtual void SetHeight(int nHeight) { m_nHeight = nHeight; }

 protected:
  int m_nWidth;
  int m_nHeight;
  CFont m_Font;
  DWORD m_dwStyle;
};
