// Shared pieces of the window-layer tests: the test program's application object and a builder of
// dialog templates in memory.
#pragma once

#include <afxwin.h>

#include <vector>

// The one application object of the test program (the main thread's CWinThread).
extern CWinApp theTestApp;

// Builds a DLGTEMPLATE with items in memory (DWORD-aligned, as the system requires).
class DialogTemplateBuilder {
 public:
  DialogTemplateBuilder(LPCWSTR caption, DWORD style, short cx, short cy);
  // classAtom: 0x0080 button, 0x0081 edit, 0x0082 static.
  void AddItem(WORD classAtom, LPCWSTR text, WORD id, DWORD style, short x, short y, short cx, short cy);
  LPCDLGTEMPLATE Get();

 private:
  void Align();
  void Word(WORD w);
  void Text(LPCWSTR s);
  std::vector<WORD> m_words;
  size_t m_countIndex;
};

// The Windows path of a file next to the test executable.
CString SiblingPath(LPCWSTR fileName);
