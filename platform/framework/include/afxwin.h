// The framework's Windows layer. The window classes (application, windows, message maps, command
// routing, GDI wrappers) build on this header; for now it offers the core and the module handles.
#pragma once

#include "afx.h"
#include "afxcoll.h"
