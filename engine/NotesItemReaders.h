// The item readers of the NSF browser: the texts of a document's text, date-time and attachment items
// for display. A missing or unreadable item reads as "", never as a failure.
#pragma once

#include <afxcoll.h>

#include "lnnotes.h"

// Every value of the text item name joined with ";", control characters blanked; "" when the document
// (open) has no such item or it cannot be read. The item test's own failure is thrown.
CString GetTextItem(CString name, LNDocument document);
// Every value of the date-time item name as the library's text, joined with ";"; "" as GetTextItem.
CString GetDatetimeItem(CString name, LNDocument document);
// One line per attachment: its name, " Size :<bytes> ", CR LF. names and sizes (each may be null)
// receive each attachment's name and its " Size :%d " text; both grow by one for every attachment
// whose name was read (a size that cannot be read adds "" to sizes and no line). "" when the document
// has no attachments or they cannot be listed. Counting and taking them from the list throw.
CString GetAttachmentList(LNDocument document, CStringArray* names, CStringArray* sizes);
// text with every tab, U+0081, CR and LF made a blank.
CString ReplaceControlChars(CString text);
// The text of the date the document was sent, taken as a mail message; "" when it has none or it
// cannot be read.
CString GetDateSentText(LNDocument document);
