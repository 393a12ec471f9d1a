// The program's single-instance guard: a named mutex made before the application object starts, and
// the error code of its creation, which tells a second instance that a first one runs.
#pragma once

#include <windows.h>

// The global namespace refuses a second instance in another session of the machine too.
extern const wchar_t SINGLE_INSTANCE_MUTEX_NAME[];

// The mutex (null when it could not be made) and the thread's last-error code right after the
// creation: ERROR_ALREADY_EXISTS (183) when another process holds a mutex of that name.
extern HANDLE g_hSingleInstanceMutex;
extern DWORD g_dwSingleInstanceError;

// Creates the named mutex (default security, not owned), keeps the error code and registers an exit
// routine that closes the handle. Called by a static initialiser of the program, so that both values
// exist before the application's initialisation reads them. Returns TRUE.
BOOL CreateSingleInstanceMutex(const wchar_t* name);

// TRUE when the kept error code says that another instance created the mutex first.
inline BOOL IsAnotherInstanceRunning() { return g_dwSingleInstanceError == ERROR_ALREADY_EXISTS; }
