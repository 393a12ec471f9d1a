// A shown top-level window that hosts the rich-text control through the framework's control site, as
// the preview dialog does, and records the control's events through its sink map.
#pragma once

#include "afxole.h"

#include <string>
#include <vector>

namespace richtexttest {

// The control id the preview dialog gives the control; the sink map below answers for it.
const UINT kControlId = 1015;

class RichTextHost : public CWnd {
 public:
  // A visible top-level window at (x, y); OLE is started on the calling thread first.
  BOOL CreateTop(LPCTSTR title, int x, int y, int width, int height);
  // Creates the control by its CLSID in the client rectangle rect, as kControlId.
  BOOL CreateRichText(CWnd& control, const RECT& rect);

  // The events received, in order: "click", "down <button> <x> <y>", "keydown <key>", "keypress
  // <key>", "change".
  std::vector<std::wstring> m_events;
  // KeyDown and KeyPress handlers set the key to this value when it is not -1 (0 swallows the key).
  short m_keyReplacement = -1;

 protected:
  void OnClick();
  void OnMouseDown(short button, short shift, long x, long y);
  void OnKeyDown(short* keyCode, short shift);
  void OnKeyPress(short* keyAscii);
  void OnChange();
  DECLARE_EVENTSINK_MAP()
};

// The control's edit window (the system's rich edit) inside the control's hosting window.
HWND EditWindowOf(CWnd& control);
// What the edit window shows, line breaks as "\n".
std::wstring ShownText(HWND edit);
// The control's two members, through the control site's InvokeHelper.
void PutTextRtf(CWnd& control, const CString& text);
void LoadFile(CWnd& control, const CString& path, long type);
// A file under the temporary directory with these bytes; its path.
std::wstring WriteTempFile(const wchar_t* name, const std::string& bytes);

}  // namespace richtexttest
