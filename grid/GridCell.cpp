// CGridCell: the ordinary grid cell, and the font object its cells share.
#include "GridCell.h"

#include "GridCtrl.h"
#include "GridInPlaceEdit.h"

#include <cstring>
#include <vector>

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)

namespace {

// The one font object that cells with a font of their own hand out. A caller may still have the
// previous cell's font selected when it asks for the next one, so no font made here is deleted
// before the program ends: each distinct LOGFONT gets one font, made once and kept (a grid uses a
// handful), and the shared object is pointed at the one asked for.
class CSharedCellFont {
 public:
  ~CSharedCellFont() {
    m_font.Detach();
    for (const Entry& entry : m_made) ::DeleteObject(entry.hFont);
  }

  CFont* Get(const LOGFONT& lf) {
    const LOGFONT key = Normalised(lf);
    HFONT hFont = nullptr;
    for (const Entry& entry : m_made) {
      if (std::memcmp(&entry.key, &key, sizeof(LOGFONT)) == 0) {
        hFont = entry.hFont;
        break;
      }
    }
    if (hFont == nullptr) {
      hFont = ::CreateFontIndirect(&key);
      if (hFont == nullptr) return nullptr;
      m_made.push_back({key, hFont});
    }
    if (m_font.GetSafeHandle() != hFont) {
      m_font.Detach();
      m_font.Attach(hFont);
    }
    return &m_font;
  }

 private:
  struct Entry {
    LOGFONT key;
    HFONT hFont;
  };
  // Copies may carry anything after the face name's terminator; only the name counts.
  static LOGFONT Normalised(const LOGFONT& lf) {
    LOGFONT key;
    std::memset(&key, 0, sizeof(key));
    std::memcpy(&key, &lf, offsetof(LOGFONT, lfFaceName));
    lstrcpyn(key.lfFaceName, lf.lfFaceName, LF_FACESIZE);
    return key;
  }

  CFont m_font;
  std::vector<Entry> m_made;
};

CSharedCellFont& SharedCellFont() {
  static CSharedCellFont font;
  return font;
}

}  // namespace

CGridCell::CGridCell()
    : m_lParam(0),
      m_nImage(-1),
      m_nFormat(static_cast<DWORD>(-1)),
      m_crFgClr(CLR_DEFAULT),
      m_crBkClr(CLR_DEFAULT),
      m_plfFont(nullptr),
      m_nMargin(static_cast<UINT>(-1)),
      m_bEditing(FALSE),
      m_pGrid(nullptr),
      m_pEditWnd(nullptr) {}

CGridCell::~CGridCell() { delete m_plfFont; }

void CGridCell::SetFont(const LOGFONT* plf) {
  if (plf == nullptr) {
    delete m_plfFont;
    m_plfFont = nullptr;
    return;
  }
  if (m_plfFont == nullptr) m_plfFont = new LOGFONT;
  if (m_plfFont != plf) std::memcpy(m_plfFont, plf, sizeof(LOGFONT));
}

DWORD CGridCell::GetFormat() const {
  if (m_nFormat != static_cast<DWORD>(-1)) return m_nFormat;
  CGridCellBase* pDefaultCell = GetDefaultCell();
  if (pDefaultCell == nullptr || pDefaultCell == this) return 0;
  return pDefaultCell->GetFormat();
}

UINT CGridCell::GetMargin() const {
  if (m_nMargin != static_cast<UINT>(-1)) return m_nMargin;
  CGridCellBase* pDefaultCell = GetDefaultCell();
  if (pDefaultCell == nullptr || pDefaultCell == this) return 0;
  return pDefaultCell->GetMargin();
}

const LOGFONT* CGridCell::GetFont() const {
  if (m_plfFont != nullptr) return m_plfFont;
  CGridCellBase* pDefaultCell = GetDefaultCell();
  if (pDefaultCell == nullptr || pDefaultCell == this) return nullptr;
  return pDefaultCell->GetFont();
}

CFont* CGridCell::GetFontObject() const {
  if (m_plfFont != nullptr) return SharedCellFont().Get(*m_plfFont);
  CGridCellBase* pDefaultCell = GetDefaultCell();
  if (pDefaultCell == nullptr || pDefaultCell == this) return nullptr;
  return pDefaultCell->GetFontObject();
}

void CGridCell::Reset() {
  CGridCellBase::Reset();
  m_strText.Empty();
  m_lParam = 0;
  m_nImage = -1;
  m_nFormat = static_cast<DWORD>(-1);
  m_crFgClr = CLR_DEFAULT;
  m_crBkClr = CLR_DEFAULT;
  delete m_plfFont;
  m_plfFont = nullptr;
  m_nMargin = static_cast<UINT>(-1);
  m_bEditing = FALSE;
  m_pGrid = nullptr;
  m_pEditWnd = nullptr;
}

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint /*point*/, UINT nID, UINT nChar) {
  if (m_bEditing) {
    if (m_pEditWnd != nullptr) m_pEditWnd->SendMessage(WM_CHAR, nChar, 0);
    return TRUE;
  }
  DWORD dwStyle = ES_LEFT;
  if (GetFormat() & DT_RIGHT) {
    dwStyle = ES_RIGHT;
  } else if (GetFormat() & DT_CENTER) {
    dwStyle = ES_CENTER;
  }
  m_bEditing = TRUE;
  auto* pEdit = new CGridInPlaceEdit(GetGrid(), rect, dwStyle, nID, nRow, nCol, GetText(), nChar);
  // A window that could not be made never closes, so it would never delete itself.
  if (pEdit->GetSafeHwnd() == nullptr) {
    delete pEdit;
    m_bEditing = FALSE;
    return FALSE;
  }
  m_pEditWnd = pEdit;
  return TRUE;
}

void CGridCell::EndEdit() {
  auto* pEdit = dynamic_cast<CGridInPlaceEdit*>(m_pEditWnd);
  if (pEdit != nullptr) pEdit->EndEdit();
}

void CGridCell::OnEndEdit() {
  m_bEditing = FALSE;
  m_pEditWnd = nullptr;
}
