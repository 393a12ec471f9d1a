// COleException and COleDispatchException.
#include "afxdisp.h"

IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

SCODE PASCAL COleException::Process(const CException* pAnyException) {
  if (pAnyException == nullptr) return E_UNEXPECTED;
  CException* e = const_cast<CException*>(pAnyException);
  if (e->IsKindOf(RUNTIME_CLASS(COleException))) return static_cast<COleException*>(e)->m_sc;
  if (e->IsKindOf(RUNTIME_CLASS(CMemoryException))) return E_OUTOFMEMORY;
  if (e->IsKindOf(RUNTIME_CLASS(CNotSupportedException))) return E_NOTIMPL;
  if (e->IsKindOf(RUNTIME_CLASS(COleDispatchException))) return DISP_E_EXCEPTION;
  return E_UNEXPECTED;
}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  LPWSTR buffer = nullptr;
  DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(m_sc), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  CString text;
  if (n && buffer) {
    text = buffer;
    text.TrimRight();
  } else {
    text.Format(L"OLE error 0x%08lX", static_cast<unsigned long>(m_sc));
  }
  if (buffer) LocalFree(buffer);
  return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

COleDispatchException::COleDispatchException(LPCWSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(0), m_strDescription(lpszDescription), m_dwHelpContext(nHelpID) {}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  BOOL ok = CopyMessage(m_strDescription, lpszError, nMaxError, pnHelpContext);
  if (pnHelpContext) *pnHelpContext = m_dwHelpContext;
  return ok && !m_strDescription.IsEmpty();
}

void AFXAPI AfxThrowOleException(SCODE sc) { throw new COleException(sc); }

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCWSTR lpszDescription, UINT nHelpID) {
  throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID) {
  CString description;
  description.LoadString(nDescriptionID);
  if (nHelpID == static_cast<UINT>(-1)) nHelpID = nDescriptionID;
  throw new COleDispatchException(description, nHelpID, wCode);
}
