// What the RTF detail pages share: escaping a text for RTF and putting a page together.
#pragma once

#include <afx.h>

// text as RTF body text: "\" "{" "}" escaped with a backslash, every character above 0x7F as \uN?
// (N its UTF-16 unit as a signed 16-bit number), each line break (CR LF, CR or LF) as \line.
CString EscapeRtfText(const CString& text);

// A whole detail page: the page header with heading and, when colour is not null, colour 1 replaced
// by colour (an RTF colour-table entry such as "\red145\green225\blue84"); then CR LF, rows, and the
// page footer with body (escaped) before the closing brace.
CString BuildRtfPage(LPCWSTR heading, LPCWSTR colour, const CString& rows, const CString& body);
