// The rich-text form of the toolkit's tip window: a tool's text is RTF (or plain text), laid out by a
// hidden read-only rich-edit child and rendered into the tip.
#pragma once

#include "TipWindow.h"

// Created by a tip settings object whose kind is 3, which has loaded the rich-edit library first.
// User-interface thread only, like its base.
class CXTPRichTextTipWindow : public CXTPTipWindow {
  DECLARE_DYNAMIC(CXTPRichTextTipWindow)

 public:
  explicit CXTPRichTextTipWindow(CXTPTipSettings* pSettings) : CXTPTipWindow(pSettings) {}

  // The tip window and its rich-edit child; FALSE when either cannot be made.
  BOOL Create(CWnd* pOwner, DWORD dwStyle) override;
  // The narrowest width (found by bisection up to twice the maximum tip width) at which the text is
  // no taller than at the widest, plus the margins; 5 pixels wider for a right-aligned or centred
  // first paragraph.
  CSize CalcTipSize(const XTPTipTool& tool) override;
  void DrawTipText(CDC* pDC, const XTPTipTool& tool, CRect rc) override;

  CWnd* GetRichEdit() { return &m_wndRichEdit; }

 protected:
  // Loads the text into the child: as RTF, else (when that gives nothing) as plain text.
  void LoadText(const CString& strText);
  // The height the child asks for at that width (EN_REQUESTRESIZE).
  int RequestHeight(int nWidth);
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CWnd m_wndRichEdit;
  CRect m_rcRequested = CRect(0, 0, 0, 0);
};
