// Where the NSF document listing puts one row per document: the browser page's mail list pane, or a
// recorder in the tests.
#pragma once

#include <afx.h>

// Columns of a document row.
enum MailListColumn {
  MAIL_COLUMN_FROM = 0,
  MAIL_COLUMN_SUBJECT = 1,
  MAIL_COLUMN_DATE = 2,
  MAIL_COLUMN_SIZE = 3,
  MAIL_COLUMN_ATTACHMENT = 4
};

// The mail list pane as the engine sees it. The listing runs on the folder items worker, so the
// wizard's implementation hands each call over to the pane's user-interface thread (a private message
// posted to the pane with a record the receiver frees). Calls arrive in the order they were made, so
// "the last row" is always the row of the latest AddRow.
class IMailListSink {
 public:
  virtual ~IMailListSink() {}
  // Appends a row whose "From" cell is text, with the document kind as its image, colour and height.
  virtual void AddRow(const CString& text, int kind) = 0;
  // Sets one cell of the last row.
  virtual void SetLastRowCell(int column, const CString& text) = 0;
  // Keeps value (the document's note identifier) as the item data of the last row's first cell.
  virtual void SetLastRowData(DWORD value) = 0;
};
