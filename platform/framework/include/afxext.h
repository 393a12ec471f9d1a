// The framework's extension classes: toolbars and rebars as control bars, and printing.
#pragma once

#include "afxcmn.h"
#include "afxdlgs.h"

#include "framework/ToolBar.h"
#include "framework/PrintInfo.h"
