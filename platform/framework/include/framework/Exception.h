// The framework's exceptions: heap objects thrown as pointers (catch (CException* e) ... e->Delete()),
// the AfxThrow* helpers and the TRY/CATCH macros mapped onto C++ exceptions.
#pragma once

#include "framework/Object.h"
#include "framework/String.h"

// Base of every framework exception. Whoever catches one owns it and ends it with Delete(), which
// frees it unless it is a shared static instance (m_bAutoDelete FALSE).
class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  ~CException() override;

  void Delete();

  // Copies the message (truncated to nMaxError characters, terminated) and returns TRUE when the
  // exception has one. pnHelpContext, when given, receives 0.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr);
  // Shows the message (or string nMessageID, or a generic text) in a message box and returns the
  // box's answer.
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

  BOOL m_bAutoDelete;

 protected:
  // Helper for subclasses: copies text into the caller's buffer as GetErrorMessage promises.
  static BOOL CopyMessage(const CString& text, LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext);
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

// Thrown after the user has already been told what went wrong: handlers stop quietly.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
 public:
  explicit CUserException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

// A resource (window class, GDI object, template) could not be created or loaded.
class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  explicit CResourceException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CInvalidArgException : public CException {
  DECLARE_DYNAMIC(CInvalidArgException)
 public:
  explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

  // The cause that matches a Win32 error code (GetLastError) or a C runtime errno value.
  static int PASCAL OsErrorToException(LONG lOsError);
  static int PASCAL ErrnoToException(int nErrno);
  static void PASCAL ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
  static void PASCAL ThrowErrno(int nErrno, LPCTSTR lpszFileName = nullptr);

  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

  explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_strFileName(lpszArchiveName) {}

  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

  int m_cause;
  CString m_strFileName;
};

// Throwers. The memory exception is one shared instance (allocating one could itself fail), so
// Delete() leaves it alone.
[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

// ---- TRY / CATCH ---------------------------------------------------------------------------------
// The macros keep the framework's rule that an exception caught by CATCH is deleted when the handler
// ends, unless the handler re-throws it with THROW_LAST() or deletes it itself.
class AFX_EXCEPTION_LINK {
 public:
  explicit AFX_EXCEPTION_LINK(CException* pException);
  ~AFX_EXCEPTION_LINK();
  AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
  AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;

  // The handler passes the exception on: it must outlive this link.
  void Release() { m_pException = nullptr; }
  // Called by CException::Delete so that a handler may delete its exception itself.
  static void PASCAL Forget(CException* pException);

 private:
  CException* m_pException;
  AFX_EXCEPTION_LINK* m_pPrev;
};

#define TRY try {
#define CATCH(class_name, e) \
  }                          \
  catch (class_name * e) {   \
    AFX_EXCEPTION_LINK _afxExceptionLink(e);
#define AND_CATCH(class_name, e) \
  }                              \
  catch (class_name * e) {       \
    AFX_EXCEPTION_LINK _afxExceptionLink(e);
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL }
#define THROW(e) throw e
#define THROW_LAST()             \
  do {                           \
    _afxExceptionLink.Release(); \
    throw;                       \
  } while (0)
