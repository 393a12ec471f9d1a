// The bars' edit window: rich-edit library, creation, clipboard commands and their menu, keys and
// the input-method state.
#include "XTPEdit.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "Control.h"
#include "PopupBar.h"

#include <ResourceSource.h>
#include <TipSettings.h>

IMPLEMENT_DYNCREATE(CXTPEdit, CEdit)

namespace {

// Loaded once per process and kept until exit, so that windows of its class outlive any one control.
struct RichEditLibrary {
  HMODULE hModule = nullptr;
  BOOL bVersion2 = FALSE;
  BOOL bTried = FALSE;
  ~RichEditLibrary() {
    if (hModule != nullptr) ::FreeLibrary(hModule);
  }
} g_richEdit;

// Per thread: the count has no destructor, so it is safe as a plain thread-local value.
thread_local int t_nFocusedEditCount = 0;

static_assert(sizeof(CHARFORMAT2W) == 116, "the version-2 character format record is 116 bytes");
// The version-1 library (class "RICHEDIT") takes the narrow record.
static_assert(sizeof(CHARFORMATA) == 60, "the version-1 character format record is 60 bytes");

}  // namespace

BOOL PASCAL CXTPEdit::LoadRichEditLibrary(BOOL* pbVersion2) {
  if (!g_richEdit.bTried) {
    g_richEdit.bTried = TRUE;
    g_richEdit.hModule = ::LoadLibrary(L"RICHED20.DLL");
    g_richEdit.bVersion2 = g_richEdit.hModule != nullptr;
    if (g_richEdit.hModule == nullptr) g_richEdit.hModule = ::LoadLibrary(L"RICHED32.DLL");
  }
  if (pbVersion2 != nullptr) *pbVersion2 = g_richEdit.bVersion2;
  return g_richEdit.hModule != nullptr;
}

int PASCAL CXTPEdit::GetFocusedEditCount() { return t_nFocusedEditCount; }

void PASCAL CXTPEdit::AddFocusedEditCount(int nDelta) {
  t_nFocusedEditCount = std::max(0, t_nFocusedEditCount + nDelta);
}

CXTPEdit::CXTPEdit() : m_bComposing(FALSE) {}

BOOL CXTPEdit::CreateEdit(DWORD dwStyle, CWnd* pParentWnd) {
  BOOL bVersion2 = FALSE;
  if (LoadRichEditLibrary(&bVersion2)) {
    if (!CreateEx(0, bVersion2 ? L"RichEdit20W" : L"RICHEDIT", L"", dwStyle, CRect(0, 0, 0, 0), pParentWnd,
                  0))
      return FALSE;
    SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    SendMessage(EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
    return TRUE;
  }
  return CEdit::Create(dwStyle, CRect(0, 0, 0, 0), pParentWnd, 0);
}

BOOL CXTPEdit::IsRichEdit() const {
  if (m_hWnd == nullptr) return FALSE;
  WCHAR szClass[32] = {};
  ::GetClassName(m_hWnd, szClass, 32);
  return lstrcmpi(szClass, L"RichEdit20W") == 0 || lstrcmpi(szClass, L"RICHEDIT") == 0;
}

void CXTPEdit::ApplyCharFormat(COLORREF clrText, COLORREF clrBack) {
  if (!IsRichEdit()) return;
  BOOL bVersion2 = FALSE;
  LoadRichEditLibrary(&bVersion2);
  if (bVersion2) {
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    cf.crTextColor = clrText;
    cf.crBackColor = clrBack;
    SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(clrBack));
  } else {
    CHARFORMATA cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = clrText;
    SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(clrBack));
  }
}

BOOL CXTPEdit::IsEditCommandEnabled(UINT nID) const {
  if (m_hWnd == nullptr) return FALSE;
  if (nID == ID_EDIT_PASTE) return ::IsClipboardFormatAvailable(CF_TEXT);
  int nStart = 0, nEnd = 0;
  GetSel(nStart, nEnd);
  return nStart != nEnd;
}

BOOL CXTPEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nID == ID_EDIT_COPY || nID == ID_EDIT_CUT || nID == ID_EDIT_PASTE) {
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
      if (pExtra != nullptr) static_cast<CCmdUI*>(pExtra)->Enable(IsEditCommandEnabled(nID));
      return TRUE;
    }
    if (nCode == CN_COMMAND) {
      if (pHandlerInfo == nullptr)
        SendMessage(nID == ID_EDIT_COPY ? WM_COPY : nID == ID_EDIT_CUT ? WM_CUT : WM_PASTE);
      return TRUE;
    }
  }
  return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CXTPEdit::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT nID = LOWORD(wParam);
  if (lParam == 0 && OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr)) return TRUE;
  return CEdit::OnCommand(wParam, lParam);
}

BOOL CXTPEdit::ShowContextMenu(CXTPControl* pControl, CPoint point) {
  CString strCut;
  if (!GetToolkitResourceManager()->LoadString(strCut, ID_EDIT_CUT) && !strCut.LoadString(ID_EDIT_CUT))
    return FALSE;
  CXTPCommandBar* pBar = pControl != nullptr ? pControl->GetParent() : nullptr;
  CXTPCommandBars* pCommandBars = pBar != nullptr ? pBar->GetCommandBars() : nullptr;
  if (pCommandBars == nullptr) return FALSE;
  AddFocusedEditCount(-1);
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
  for (UINT nID :
       {static_cast<UINT>(ID_EDIT_CUT), static_cast<UINT>(ID_EDIT_COPY), static_cast<UINT>(ID_EDIT_PASTE)}) {
    CXTPControl* pItem = pPopup->GetControls()->Add(xtpControlButton, static_cast<int>(nID));
    CString strCaption;
    if (GetToolkitResourceManager()->LoadString(strCaption, nID) || strCaption.LoadString(nID)) {
      const int nBreak = strCaption.Find(L'\n');
      pItem->SetCaption(nBreak >= 0 ? strCaption.Mid(nBreak + 1) : strCaption);
    }
    pItem->SetEnabled(IsEditCommandEnabled(nID));
    pItem->SetFlags(pItem->GetFlags() | xtpFlagManualUpdate);
  }
  UINT nFlags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RECURSE;
  if (pBar->GetSafeHwnd() != nullptr &&
      ((pBar->GetExStyle() & WS_EX_LAYOUTRTL) || (pBar->GetExStyle() & WS_EX_RIGHT)))
    nFlags |= TPM_RIGHTALIGN;
  const UINT nCmd = pCommandBars->TrackPopupMenu(pPopup, nFlags, point.x, point.y, nullptr, this);
  if (nCmd != 0 && m_hWnd != nullptr) OnCommand(nCmd, 0);
  AddFocusedEditCount(1);
  pPopup->InternalRelease();
  if (pBar->GetSafeHwnd() != nullptr) pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return TRUE;
}

BOOL CXTPEdit::ProcessKey(UINT nChar) {
  if (m_hWnd == nullptr) return FALSE;
  if (nChar != VK_BACK && (nChar < VK_PRIOR || nChar > VK_DELETE)) return FALSE;
  MSG msg = {m_hWnd, WM_KEYDOWN, nChar, 0, 0, {0, 0}};
  if (PreTranslateMessage(&msg)) return TRUE;
  ::TranslateMessage(&msg);
  SendMessage(WM_KEYDOWN, nChar, 0);
  return TRUE;
}

LRESULT CXTPEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_IME_STARTCOMPOSITION:
      m_bComposing = TRUE;
      break;
    case WM_IME_ENDCOMPOSITION:
    case WM_KILLFOCUS:
      m_bComposing = FALSE;
      break;
    case WM_CONTEXTMENU:
      return 0;
    case WM_XTP_TIPPARENTQUERY:
      return 1;
    default:
      break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}
