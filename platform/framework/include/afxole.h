// The framework's OLE layer: data transfer (clipboard, drag and drop), control hosting and the
// automation classes.
#pragma once

#include "afxwin.h"
#include "afxdisp.h"

#include "framework/OleDataTransfer.h"
#include "framework/OleControl.h"
#include "framework/OleDocument.h"
