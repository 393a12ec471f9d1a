// What the launcher does between showing nothing and ending: find Notes, extend PATH, start the
// main program from the current directory, or tell the user why not.
#pragma once

#include <afx.h>

#include "LauncherSystem.h"

// The main program's file, looked for in the current directory (not beside the launcher).
extern const WCHAR kMainProgramFileName[];
extern const WCHAR kNotInstalledMessage[];
extern const WCHAR kMissingProgramMessage[];

// The current directory with a backslash and the main program's file name.
CString MainProgramPath(CLauncherSystem& system);

// Runs the whole search and start. Shows at most one message box (MB_OK); never throws. The
// started program runs on its own: nothing waits for it.
void FindNotesAndStartMainProgram(CLauncherSystem& system);
