// The writers every item saver builds its Notes document with: one text item, one date/time item,
// the guarded "PostedDate", and the HTML body as a raw item. They keep no state.
#pragma once

#include <afxdisp.h>

#include "lnnotes.h"

// Every write uses the same item flags and the append option, so a second write of a name the note
// already holds ("Body", "From") adds an item beside the first; readers see the first one.
const LNINT NOTES_ITEM_FLAGS = 8;
const LNINT NOTES_ITEM_OPTIONS = LNITEMOPTION_APPEND;

// Throws a returned failure status, so a library set to return its statuses fails like one set to
// throw them.
void ThrowIfNotesError(LNSTATUS status);
// Fetches the library's message for status and drops it: the savers keep no error text.
void DropNotesMessage(LNSTATUS status);
// A new document of db, open; a failure is thrown as a status.
void CreateOpenDocument(LNDatabase& db, LNDocument* document);

// One text item holding value (an empty value gives one empty entry). false when the library refused
// the write; a library status never leaves.
bool AddTextItem(CString name, CString value, LNDocument& document);
// One date/time item. A library status is let out to the saver.
bool AddDatetimeItem(CString name, LNDatetime value, LNDocument& document);
// The date's calendar fields as stored, no time zone applied. Fields the library refuses give the
// current system time (UTC fields) instead; a refusal of those leaves as a thrown status.
LNDatetime OleDateToLNDatetime(COleDateTime date);
// "PostedDate" from date when it is valid and in the years 1901 to 3999; false otherwise, with
// nothing written.
bool AddPostedDate(COleDateTime date, LNMailMessage& document);
// Whether the text, upper-cased (a-z only), contains "CHARSET=UTF-8" / "WINDOWS-1256".
bool HasUtf8Charset(CString text);
bool HasWindows1256Charset(CString text);
// The HTML body as a raw item of the text's UTF-16 characters, written a second time under the body
// character set when the text names UTF-8. false for a Windows-1256 text or when the library refused
// a write; the caller then writes the plain body.
bool AddHtmlBodyItem(CString name, CString html, LNDocument& document);
