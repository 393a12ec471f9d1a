// Names of an attachment on its way from the PST into a note: the temporary file it passes through
// and the name it gets in the note.
#pragma once

#include <afxcoll.h>

// Longest file name (in characters) given to a temporary attachment file.
const int ATTACHMENT_FILE_NAME_LIMIT = 100;
// Longest attachment name in a note: what a Windows file name can hold, for the user who detaches it.
const int NOTES_ATTACHMENT_NAME_LIMIT = 255;

// The PST file name as it may stand in a note and later on a Windows disk: bidirectional control
// characters dropped, a device name (CON, AUX, COM1, NUL.TXT...) prefixed with '_', cut to
// NOTES_ATTACHMENT_NAME_LIMIT keeping the extension; SafeAttachmentFileName's "attachment" when
// nothing is left.
CString NotesAttachmentName(CString name);

// A file name safe to create in a folder of our own: the last path component of name, with control
// characters and <>:"/\|?* replaced by '_', trailing dots and blanks dropped, a device name (CON,
// NUL, COM1, ...) prefixed with '_', cut to ATTACHMENT_FILE_NAME_LIMIT keeping the extension, and
// "attachment" when nothing is left.
CString SafeAttachmentFileName(CString name);

// The attachment name in the note: name upper-cased (a-z only); when that is in used already,
// "(n)" + name for the smallest n from 0 whose upper-cased form is not (cut to
// NOTES_ATTACHMENT_NAME_LIMIT keeping the extension). used holds upper-cased names.
CString UniqueAttachmentName(CString name, const CStringArray& used);
