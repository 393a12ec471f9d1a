// The framework's common dialogs: file open/save and colour choice.
#pragma once

#include "afxwin.h"

#include "framework/CommonDialogs.h"
