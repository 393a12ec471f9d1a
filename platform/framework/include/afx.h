// The framework's core: run-time classes, CString, exceptions, files, archives and times.
// Include this (or afxwin.h) first; the project's precompiled-header files simply include it.
#pragma once

#ifndef UNICODE
#error The framework is built for Unicode (TCHAR is wchar_t): define UNICODE and _UNICODE.
#endif

#include <windows.h>
#include <tchar.h>
// Some member names (GetFileTitle) are macros of the common dialogs header; every user must see them.
#include <commdlg.h>

#include "framework/Object.h"
#include "framework/String.h"
#include "framework/Exception.h"
#include "framework/Time.h"
#include "framework/File.h"
#include "framework/StdioFile.h"
#include "framework/MemFile.h"
#include "framework/FileFind.h"
#include "framework/Archive.h"
