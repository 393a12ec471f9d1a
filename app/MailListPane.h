// The document list of the browser page: a grid with a header row and the columns "From", "Subject",
// "Date", "Size in Bytes" and "Attachment", one coloured row per Notes document of the selected folder.
#pragma once

#include <afxwin.h>

#include <mutex>
#include <vector>

#include "GridCtrl.h"
#include "MailListSink.h"

class CItemPreviewPane;

// Created by the browser page on the user-interface thread; its grid belongs to that thread.
//
// The document listing fills it from the folder items worker through IMailListSink: those three calls
// may come from any thread. They are queued in the order made and applied on the pane's thread, in
// batches carried by one hand-off at a time (CUiHandoff), so a fast listing neither floods the window's
// queue nor waits for it; "the last row" is always the row of the latest AddRow. Every other member is
// called on the pane's thread only.
//
// A click on a document row sends WM_NSF_ITEM_SELECTED (wParam the note identifier, lParam the row) to
// the pane's owner, which the splitter panel sets to the browser page.
class CMailListPane : public CStatic, public IMailListSink {
 public:
  CMailListPane();

  enum { GRID_ID = 100 };
  // Image of the "Attachment" cell of a document with attachments.
  enum { ATTACHMENT_IMAGE = 15 };

  // ---- IMailListSink (any thread) ----
  void AddRow(const CString& text, int kind) override;
  void SetLastRowCell(int column, const CString& text) override;
  void SetLastRowData(DWORD value) override;

  // ---- The grid (the pane's thread) ----
  // image below 0: none.
  void SetCell(int row, int column, const CString& text, int image);
  void SetRowColor(int row, COLORREF colour);
  void SetHeaderColumn(const CString& text, int column, int width);
  void AddHeaderColumn(const CString& text, int column);
  void SetupColumns();
  // All rows and columns removed, the columns set up again; rows still queued by a listing are dropped.
  void Clear();
  int GetDocumentRowCount() const;
  CString GetCellText(int row, int column) const;
  // The grid's images (the main frame's small image list: document kinds, and 15 for attachments).
  void SetImageList(CImageList* pImageList) { m_grid.SetImageList(pImageList); }

  CGridCtrl m_grid;
  // The page's preview pane, its companion; the pane itself does not use it.
  CItemPreviewPane* m_pPreview;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnGridClick(NMHDR* pNotifyStruct, LRESULT* pResult);
  afx_msg void OnGridSwallow(NMHDR* pNotifyStruct, LRESULT* pResult);
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);
  afx_msg void OnNcDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  // One call of the listing, waiting for the pane's thread.
  struct PendingCall {
    enum Kind { ADD_ROW, SET_CELL, SET_DATA } kind;
    int nNumber;  // the kind of an added row, the column of a cell, the value of the data
    CString strText;
  };
  void Queue(PendingCall call);
  void ApplyPending();
  void AppendRow(const CString& text, int kind);
  void SetLastRowCellNow(int column, const CString& text);

  std::mutex m_lock;
  std::vector<PendingCall> m_pending;
  bool m_bPosted;
};
