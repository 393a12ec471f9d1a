// The body of every saved item: one reader per item kind (the body format and the text of that
// format) and the body steps that write "Body" as plain text or HTML.
#pragma once

#include <afxdisp.h>

#include "AutomationWrappers.h"
#include "lnnotes.h"

// Body formats as the PST item gives them; any other value is handled as rich text.
const long BODY_FORMAT_PLAIN = 1;
const long BODY_FORMAT_HTML = 2;
const long BODY_FORMAT_RICH = 3;

// Each reads the body format, fills the output of that format (plain, HTML or rich) and returns the
// format read once more. Automation failures are thrown.
int ReadAppointmentBody(RdoAppointmentDispatch* item, CString* plain, CString* html, CString* rich);
int ReadTaskBody(RdoTaskDispatch* item, CString* plain, CString* html, CString* rich);
int ReadMailBody(RdoMailDispatch* item, CString* plain, CString* html, CString* rich);
int ReadJournalBody(RdoJournalDispatch* item, CString* plain, CString* html, CString* rich);
int ReadContactBody(RdoContactDispatch* item, CString* plain, CString* html, CString* rich);

// Writes "Body": with plainTextBody set, from the plain body; else by the item's format (plain text,
// or the HTML item with the plain body when the HTML write is refused); then, on every path, once
// more from the plain body. Catches everything: a failure ends the steps and what was written stays.
void WriteAppointmentBody(RdoAppointmentDispatch* item, BOOL plainTextBody, LNDocument& document);
void WriteTaskBody(RdoTaskDispatch* item, BOOL plainTextBody, LNDocument& document);
void WriteMailBody(RdoMailDispatch* item, BOOL plainTextBody, LNDocument& document);
void WriteJournalBody(RdoJournalDispatch* item, BOOL plainTextBody, LNDocument& document);
void WriteContactBody(RdoContactDispatch* item, BOOL plainTextBody, LNDocument& document);
