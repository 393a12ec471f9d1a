// The child dialog (resource 192) of the item preview pane that hosts the rich-text control, with a
// placeholder that fills the dialog until the control shows, and a hidden button that takes the focus
// away from the control after a click.
#pragma once

#include <afxole.h>

#include "RichText.h"
#include "resource.h"

// Created by the item preview pane as its child, on the user-interface thread; only that thread calls
// it. Without the rich-text control (not registered on this machine) the dialog still opens: the
// placeholder stays and the calls below return FALSE.
class CItemPreviewDlg : public CDialog {
 public:
  explicit CItemPreviewDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_ITEM_PREVIEW };

  // Shows the rich-text control with text (RTF, or plain text) in place of the placeholder. FALSE when
  // the control failed the call (its dispatch exception is caught here) or does not exist.
  BOOL SetRtfText(const CString& text);
  // Has the control show the RTF file at path, which the control reads whole and lets go of at once.
  // FALSE as SetRtfText.
  BOOL LoadRtfFile(const CString& path);

  CStatic m_placeholder;
  CButton m_focusButton;
  CRichText m_richText;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // A child dialog that Enter or Esc ended would leave the pane without its body.
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnSize(UINT nType, int cx, int cy);

  // The rich-text control's events: each ends a selection drag the control may have started (a
  // synthetic release of the left button); a click or a press outside the scroll bar also moves the
  // focus to the hidden button, so the control never keeps a caret.
  void OnClickRichText();
  void OnMouseDownRichText(short nButton, short nShift, long x, long y);
  void OnKeyDownRichText(short* pKeyCode, short nShift);
  void OnKeyPressRichText(short* pKeyAscii);
  void OnChangeRichText();

  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  void ReleaseLeftButton();
  void FocusHiddenButton();
};
