// Exceptions of the automation layer: COleException carries a failing HRESULT, COleDispatchException
// what an automation server reported through EXCEPINFO.
#pragma once

#include "framework/Exception.h"

#include <ole2.h>

class COleException : public CException {
  DECLARE_DYNAMIC(COleException)
 public:
  explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}

  // The status code that best describes any framework exception (E_OUTOFMEMORY for a memory
  // exception, the carried code for OLE ones, E_UNEXPECTED otherwise).
  static SCODE PASCAL Process(const CException* pAnyException);

  // The system's text for m_sc, or its hexadecimal value when the system has none.
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

  SCODE m_sc;
};

class COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)
 public:
  COleDispatchException(LPCWSTR lpszDescription, UINT nHelpID, WORD wCode);

  // m_strDescription.
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

  WORD m_wCode;     // the server's own error number, 0 when it gave an SCODE instead
  SCODE m_scError;  // the server's SCODE, 0 when it gave m_wCode
  CString m_strSource;
  CString m_strDescription;
  CString m_strHelpFile;
  DWORD m_dwHelpContext;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCWSTR lpszDescription, UINT nHelpID = 0);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID,
                                                      UINT nHelpID = static_cast<UINT>(-1));
