// The framework's Windows layer. The window classes (application, windows, message maps, command
// routing, GDI wrappers) build on this header; for now it offers the core, the named collections,
// worker threads and the module handles (AfxGetInstanceHandle, AfxGetResourceHandle).
#pragma once

#include "afx.h"
#include "afxcoll.h"
#include "framework/WinThread.h"
