// How the Notes store's operations call the library: a failure taken as a status whether the library
// returned it or threw it, calls whose every failure is dropped, and notes and folders closed on every
// path out of a scope.
#pragma once

#include <afx.h>

#include <exception>

#include "lnnotes.h"

// length bytes of ANSI text (the system's code page) as wide text.
CString AnsiToCString(const char* bytes, int length);

// The library's message text for status.
CString NotesMessage(LNSTATUS status);

// Whether status says that the database as a whole can no longer be written (a full disk, a file
// that cannot be written, is damaged or is held by another program), rather than that one call was
// refused.
inline bool IsTargetFailure(LNSTATUS status) {
  return status == LNERR_DISK_FULL || status == LNERR_DATABASE_IO || status == LNERR_DATABASE_CORRUPT ||
         status == LNERR_NOT_A_DATABASE || status == LNERR_ACCESS_DENIED ||
         status == LNERR_DATABASE_NOT_OPEN || status == LNERR_DATABASE_IN_USE;
}

// Whether status says that a file the library had open as a database no longer reads as one.
inline bool IsDamage(LNSTATUS status) {
  return status == LNERR_DATABASE_CORRUPT || status == LNERR_NOT_A_DATABASE;
}

// A library call whose failure the caller handles as a status.
template <class Call>
LNSTATUS StatusOf(Call call) {
  try {
    return call();
  } catch (LNSTATUS status) {
    return status;
  }
}

// Runs call; FALSE when it failed in any way (a thrown status, a framework exception, anything else).
template <class Call>
BOOL CompletesWithoutFailure(Call call) {
  try {
    call();
    return TRUE;
  } catch (LNSTATUS) {
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return FALSE;
}

// Closes an opened note or view/folder when the scope ends, whatever ends it; a failing close is
// dropped (the handle keeps nothing that a close could lose).
template <class Handle>
class ClosedOnExit {
 public:
  explicit ClosedOnExit(Handle& handle) : m_handle(handle) {}
  ~ClosedOnExit() {
    StatusOf([this] { return m_handle.Close(); });
  }
  ClosedOnExit(const ClosedOnExit&) = delete;
  ClosedOnExit& operator=(const ClosedOnExit&) = delete;

 private:
  Handle& m_handle;
};

// Runs undo when the scope is left by an exception, and only then.
template <class Undo>
class UndoOnFailure {
 public:
  explicit UndoOnFailure(Undo undo) : m_undo(undo), m_exceptions(std::uncaught_exceptions()) {}
  ~UndoOnFailure() {
    if (std::uncaught_exceptions() > m_exceptions) m_undo();
  }
  UndoOnFailure(const UndoOnFailure&) = delete;
  UndoOnFailure& operator=(const UndoOnFailure&) = delete;

 private:
  Undo m_undo;
  int m_exceptions;
};
