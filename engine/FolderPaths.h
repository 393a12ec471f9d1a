// Text helpers of PST folder paths ("Inbox\Projects\": each folder name followed by a backslash) and
// the Notes system folder names that the path walk maps to Outlook folder names and classes.
#pragma once

#include <afx.h>

// Number of backslashes in the path; 0 when the path starts with a backslash.
int CountPathSeparators(CString path);
// Segment 0 is the text before the first backslash after the first character; segment n the text
// between the n-th and the (n+1)-th such backslash. Empty when no backslash closes the segment.
CString GetPathSegment(CString path, int n);
// The Outlook name of a Notes system folder ("($Inbox)" -> "Inbox"); any other name unchanged.
CString MapNotesFolderName(CString name);
// The Outlook folder class a folder created for this Notes folder name gets ("IPF.Note" by default).
CString GetFolderClassForNotesFolder(CString name);
