// The framework's common dialogs: file open/save, colour, font and printer choice.
#pragma once

#include "afxwin.h"

#include "framework/CommonDialogs.h"
