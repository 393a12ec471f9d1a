// The lower half of the browser page: one Notes document as a painted header (kind picture, subject,
// sender, date, a rule), the list of its attachments with their shell icons, and its formatted body in
// the rich-text control; or one of the page's status messages in place of a document.
#pragma once

#include <afxcmn.h>
#include <afxcoll.h>
#include <afxwin.h>

#include "ItemPreviewDlg.h"

// Created by the browser page (as a read-only edit that paints itself) on the user-interface thread;
// only that thread calls it: the page's workers hand their calls over to the page first.
class CItemPreviewPane : public CEdit {
 public:
  CItemPreviewPane();

  // Page status messages, by number.
  enum Message {
    MESSAGE_ENUMERATING = 0,
    MESSAGE_NO_FOLDER = 1,
    MESSAGE_NO_ITEM = 2,
    MESSAGE_SELECT_ITEM = 3,
    MESSAGE_GENERATING = 4,
    MESSAGE_NO_BODY = 5,
    MESSAGE_FILLING = 6,
    MESSAGE_COUNT = 7
  };
  // Height of the painted header; the attachment list's height when it shows.
  enum { HEADER_HEIGHT = 70, ATTACHMENT_LIST_HEIGHT = 40 };

  void SetSender(const CString& text) { m_strSender = text; }
  void SetSubject(const CString& text) { m_strSubject = text; }
  void SetDate(const CString& text) { m_strDate = text; }
  void SetPreviewText(const CString& text) { m_strPreviewText = text; }
  CString GetPreviewText() const { return m_strPreviewText; }
  // The page stores the preview kind (0 to 4, as the document preview reports it) before ShowItem.
  void SetPreviewKind(int nKind) { m_nPreviewKind = nKind; }
  int GetPreviewKind() const { return m_nPreviewKind; }
  BOOL HasAttachments() const { return m_bHasAttachments; }

  // Shows message n (0-6) in the body area, centred, bold, blue or red; no header picture, no list.
  void ShowMessage(int n);
  // Shows the document whose texts and kind the page has set: the exported body file when the preview
  // wrote one, else the preview text, else message 5; the attachments names[i] + " " + infos[i], last
  // first, with their shell icons. A body the control cannot show falls back to message 5.
  void ShowItem(const CString& strPreviewText, const CStringArray& names, const CStringArray& infos);
  // Places the attachment list and the dialog below the header.
  void Layout(int cx, int cy);

  // The RTF of message n, as ShowMessage gives it to the control.
  static CString MessageRtf(int n);

  CString m_strSender;
  CString m_strSubject;
  CString m_strDate;
  int m_nPreviewKind;
  CListCtrl m_attachList;
  BOOL m_bHasAttachments;
  CStringArray m_arrAttachNames;
  CStringArray m_arrAttachInfo;
  CItemPreviewDlg m_dlg;
  CString m_strPreviewText;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);

  DECLARE_MESSAGE_MAP()

 private:
  void LayoutToClient();
};
