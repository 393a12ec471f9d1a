// The item preview pane: its header painting, the attachment list, the message texts and the choice of
// what the rich-text control shows.
#include "ItemPreviewPane.h"

#include <algorithm>

#include "BufferDC.h"
#include "NotesStore.h"
#include "ShellIconList.h"
#include "SystemResources.h"
#include "resource.h"

namespace {

// The message texts are the program's own, kept as they stand (the blank before the comma included).
struct MessageText {
  const wchar_t* text;
  BOOL bRed;
};
const MessageText MESSAGES[CItemPreviewPane::MESSAGE_COUNT] = {
    {L"Please wait while enumerating folders", FALSE},
    {L"No folder found in file...", TRUE},
    {L"No Item present in folder please select another folder", TRUE},
    {L"Please select item to see preview. \r\n Item can be Email , Journal , Task , Calender , To Do "
     L"list... ",
     FALSE},
    {L"Please wait while generating preview...", FALSE},
    {L"Either User Abort preview or no body present", FALSE},
    {L"Please wait while filling list", FALSE},
};

const wchar_t BLUE_HEAD[] =
    L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}{\\colortbl "
    L";\\red0\\green0\\blue255;}"
    L"{\\*\\generator Msftedit "
    L"5.41.15.1507;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs20\\par\\pard\\qc\\cf1\\b\\fs28";
const wchar_t RED_HEAD[] =
    L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}{\\colortbl "
    L";\\red255\\green0\\blue0;}"
    L"{\\*\\generator Msftedit "
    L"5.41.15.1507;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs20\\par\\pard\\qc\\cf1\\b\\fs28";
// The tail's "\pardpar" is the program's own: the reader takes it as an unknown word and skips it.
const wchar_t TAIL[] = L"\\cf0\\b0\\fs20\\par\\pardpar}";

const COLORREF SENDER_COLOUR = 0x0062E2;
const COLORREF RULE_COLOUR = 0xCDC0AC;

// The header picture of a preview kind; 0 for none.
UINT KindBitmap(int nKind) {
  switch (nKind) {
    case 0:
      return IDB_PREVIEW_MAIL;
    case 1:
      return IDB_PREVIEW_CALENDAR;
    case 2:
      return IDB_PREVIEW_TODO;
    case 3:
      return IDB_PREVIEW_CONTACT;
    case 4:
      return IDB_PREVIEW_JOURNAL;
    default:
      return 0;
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CItemPreviewPane, CEdit)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CItemPreviewPane::CItemPreviewPane() : m_nPreviewKind(-1), m_bHasAttachments(FALSE) {}

int CItemPreviewPane::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  // The list shows the system's image list, which must outlive it: the list may not destroy it.
  m_attachList.Create(WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_ALIGNLEFT |
                          LVS_SHAREIMAGELISTS,
                      CRect(10, 10, 400, 200), this, 1);
  if (m_dlg.Create(CItemPreviewDlg::IDD, this)) m_dlg.ShowWindow(SW_SHOW);
  return 0;
}

void CItemPreviewPane::OnSize(UINT nType, int cx, int cy) {
  CEdit::OnSize(nType, cx, cy);
  Layout(cx, cy);
}

void CItemPreviewPane::Layout(int cx, int cy) {
  const int nBodyTop = m_bHasAttachments ? HEADER_HEIGHT + ATTACHMENT_LIST_HEIGHT : HEADER_HEIGHT;
  if (m_attachList.GetSafeHwnd() != nullptr) {
    if (m_bHasAttachments)
      m_attachList.MoveWindow(0, HEADER_HEIGHT, cx, ATTACHMENT_LIST_HEIGHT);
    else
      m_attachList.MoveWindow(0, 0, 0, 0);
  }
  if (m_dlg.GetSafeHwnd() != nullptr) m_dlg.MoveWindow(0, nBodyTop, cx, std::max(0, cy - nBodyTop));
}

void CItemPreviewPane::LayoutToClient() {
  CRect rcClient;
  GetClientRect(&rcClient);
  Layout(rcClient.Width(), rcClient.Height());
}

CString CItemPreviewPane::MessageRtf(int n) {
  if (n < 0 || n >= MESSAGE_COUNT) return CString();
  CString rtf = MESSAGES[n].bRed ? RED_HEAD : BLUE_HEAD;
  rtf += MESSAGES[n].text;
  rtf += TAIL;
  return rtf;
}

void CItemPreviewPane::ShowMessage(int n) {
  if (n < 0 || n >= MESSAGE_COUNT) return;
  m_nPreviewKind = -1;
  m_bHasAttachments = FALSE;
  if (m_dlg.GetSafeHwnd() != nullptr) m_dlg.SetRtfText(MessageRtf(n));
  if (GetSafeHwnd() != nullptr) {
    LayoutToClient();
    // The header loses its picture.
    Invalidate(FALSE);
  }
}

void CItemPreviewPane::ShowItem(const CString& /*strPreviewText*/, const CStringArray& names,
                                const CStringArray& infos) {
  if (m_attachList.GetSafeHwnd() != nullptr) {
    CShellIconList icons;
    m_attachList.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL,
                             reinterpret_cast<LPARAM>(icons.GetSystemImageList(TRUE)));
  }
  m_arrAttachNames.Copy(names);
  m_arrAttachInfo.Copy(infos);

  // The preview deletes the file first and writes it only for a large mail body it exported: a file
  // that is there belongs to this document.
  const CString strRtfPath = GetPreviewRtfPath();
  BOOL bShown = FALSE;
  if (!strRtfPath.IsEmpty() && ::GetFileAttributesW(strRtfPath) != INVALID_FILE_ATTRIBUTES) {
    bShown = m_dlg.LoadRtfFile(strRtfPath);
  } else if (!m_strPreviewText.IsEmpty()) {
    bShown = m_dlg.SetRtfText(m_strPreviewText);
  }
  if (!bShown) ShowMessage(MESSAGE_NO_BODY);

  if (m_attachList.GetSafeHwnd() != nullptr) m_attachList.DeleteAllItems();
  m_bHasAttachments = names.GetSize() > 0;
  if (m_bHasAttachments && m_attachList.GetSafeHwnd() != nullptr) {
    CShellIconList icons;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
      const CString info = i < infos.GetSize() ? infos[i] : CString();
      const int nIcon = icons.GetIconIndex(names[i], TRUE);
      m_attachList.InsertItem(LVIF_TEXT | LVIF_IMAGE, 0, names[i] + L" " + info, 0, 0, nIcon, 0);
    }
  }
  if (GetSafeHwnd() != nullptr) {
    LayoutToClient();
    Invalidate(FALSE);
  }
}

BOOL CItemPreviewPane::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CItemPreviewPane::OnPaint() {
  CPaintDC paintDC(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC dc(paintDC.GetSafeHdc(), rcClient);
  dc.FillSolidRect(&rcClient, RGB(255, 255, 255));
  dc.SetBkMode(TRANSPARENT);

  CXTSystemResources* pResources = GetSystemResources();
  CString strSubject = m_strSubject;
  strSubject.Replace(L'\t', L' ');
  CFont* pOldFont = dc.SelectObject(&pResources->m_fontBold);
  dc.SetTextColor(RGB(0, 0, 0));
  dc.TextOut(80, 20, strSubject);
  dc.SelectObject(&pResources->m_fontRegular);
  dc.TextOut(rcClient.Width() - 150, 50, m_strDate);
  dc.SelectObject(&pResources->m_fontBold);
  dc.SetTextColor(SENDER_COLOUR);
  dc.TextOut(80, 40, m_strSender);
  dc.SelectObject(pOldFont);

  CPen rule(PS_SOLID, 1, RULE_COLOUR);
  CPen* pOldPen = dc.SelectObject(&rule);
  dc.MoveTo(30, 68);
  dc.LineTo(rcClient.Width(), 68);
  dc.SelectObject(pOldPen);

  if (const UINT nBitmap = KindBitmap(m_nPreviewKind)) {
    CBitmap picture;
    if (picture.LoadBitmap(nBitmap)) {
      BITMAP bm = {};
      picture.GetBitmap(&bm);
      CDC pictureDC;
      pictureDC.CreateCompatibleDC(&dc);
      CBitmap* pOldBitmap = pictureDC.SelectObject(&picture);
      dc.BitBlt(20, 10, bm.bmWidth, bm.bmHeight, &pictureDC, 0, 0, SRCCOPY);
      pictureDC.SelectObject(pOldBitmap);
    }
  }
}

// The pane is a picture, not an edit: it never takes a caret or a selection.
void CItemPreviewPane::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}

void CItemPreviewPane::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {}

void CItemPreviewPane::OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}
