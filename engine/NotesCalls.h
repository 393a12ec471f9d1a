// How the Notes store's operations call the library: a failure taken as a status whether the library
// returned it or threw it, calls whose every failure is dropped, and notes and folders closed on every
// path out of a scope.
#pragma once

#include <afx.h>

#include "lnnotes.h"

// length bytes of ANSI text (the system's code page) as wide text.
CString AnsiToCString(const char* bytes, int length);

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
