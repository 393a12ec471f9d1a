// The rich-text control stand-in: an ActiveX control that shows RTF, or plain text, in the system's
// rich edit, read-only and with a vertical scroll bar unless its saved state says otherwise. A
// container hosts it in place (IOleObject::DoVerb), hands it its saved state (IPersistStreamInit),
// calls it through IDispatch and receives its events through its one connection point.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "RichTextState.h"

namespace richtext {

// {3B7C8860-D78F-101B-B9B5-04021C009402}: the class the containers ask for.
extern const CLSID CLSID_RichTextControl;
// {5B716071-F4D3-4FBE-8904-2E19BFFD9AB5}: the events' dispatch interface, found through
// IProvideClassInfo2.
extern const IID DIID_RichTextEvents;

// Members, by dispatch identifier.
enum : DISPID {
  // Property put: the contents. Text that opens with "{\rtf" is RTF; any other text shows as it is.
  DISPID_RICHTEXT_TEXTRTF = 10,
  // Method LoadFile(path, type): the file's contents as RTF (type 0; a file that is not RTF shows as
  // text) or as text (type 1). The file is read whole and closed before the call returns.
  DISPID_RICHTEXT_LOADFILE = 37,
};
enum LoadFileType { kLoadRtf = 0, kLoadText = 1 };

// Events, by dispatch identifier: the standard Click (DISPID_CLICK), MouseDown(button, shift, x, y in
// pixels of the control; DISPID_MOUSEDOWN), KeyDown(short* keyCode, shift; DISPID_KEYDOWN) and
// KeyPress(short* keyAscii; DISPID_KEYPRESS), where a handler that sets the key to 0 swallows it, and
// Change, after new contents were shown.
enum : DISPID { DISPID_RICHTEXT_CHANGE = 1 };

// Files larger than this are refused by LoadFile with an error rather than read into memory.
const ULONGLONG kMaxLoadFileBytes = 256ull << 20;

// Objects and server locks alive in the module; DllCanUnloadNow answers from them.
extern std::atomic<long> g_liveObjects;

// Creates one control and returns its interface riid. The object lives in the calling thread's
// apartment; every call and every event happens on that thread.
HRESULT CreateRichTextControl(REFIID riid, void** object);

// The window class of the system's rich edit that the control uses ("" when none could be loaded).
const wchar_t* RichEditClassName();

}  // namespace richtext
