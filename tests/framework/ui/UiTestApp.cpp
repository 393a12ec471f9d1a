// The test program's application object and the dialog-template builder.
#include "UiTestApp.h"

CWinApp theTestApp(L"FrameworkUiTests");

DialogTemplateBuilder::DialogTemplateBuilder(LPCWSTR caption, DWORD style, short cx, short cy) {
  DLGTEMPLATE header = {};
  header.style = style | DS_SETFONT;
  header.cx = cx;
  header.cy = cy;
  const WORD* p = reinterpret_cast<const WORD*>(&header);
  m_words.assign(p, p + sizeof(DLGTEMPLATE) / sizeof(WORD));
  m_countIndex = offsetof(DLGTEMPLATE, cdit) / sizeof(WORD);
  Word(0);  // no menu
  Word(0);  // default class
  Text(caption);
  Word(8);
  Text(L"MS Shell Dlg");
}

void DialogTemplateBuilder::AddItem(WORD classAtom, LPCWSTR text, WORD id, DWORD style, short x, short y,
                                    short cx, short cy) {
  Align();
  DLGITEMTEMPLATE item = {};
  item.style = style | WS_CHILD | WS_VISIBLE;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.id = id;
  const WORD* p = reinterpret_cast<const WORD*>(&item);
  m_words.insert(m_words.end(), p, p + sizeof(DLGITEMTEMPLATE) / sizeof(WORD));
  Word(0xFFFF);
  Word(classAtom);
  Text(text);
  Word(0);  // no creation data
  m_words[m_countIndex]++;
}

LPCDLGTEMPLATE DialogTemplateBuilder::Get() { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

void DialogTemplateBuilder::Align() {
  if (m_words.size() % 2 != 0) m_words.push_back(0);
}

void DialogTemplateBuilder::Word(WORD w) { m_words.push_back(w); }

void DialogTemplateBuilder::Text(LPCWSTR s) {
  for (; *s != L'\0'; ++s) m_words.push_back(static_cast<WORD>(*s));
  m_words.push_back(0);
}

CString SiblingPath(LPCWSTR fileName) {
  WCHAR szPath[MAX_PATH] = {};
  ::GetModuleFileName(nullptr, szPath, MAX_PATH);
  CString path(szPath);
  return path.Left(path.ReverseFind(L'\\') + 1) + fileName;
}
