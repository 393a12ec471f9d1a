// The framework's common-control wrappers (tree and list views, progress bars, animations, tool
// tips, tabs, spin buttons, status bars, toolbars, rebars, rich edit), image lists, and the list
// and combo boxes.
#pragma once

#include "afxwin.h"

#include "framework/ImageList.h"
#include "framework/ListBox.h"
#include "framework/CommonControls.h"
