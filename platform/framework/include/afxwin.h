// The framework's Windows layer: drawing (geometry, device contexts, GDI objects, image lists,
// menus), the application and its threads, windows with message maps and command routing,
// dialogs and the standard controls, and the framework's threads.
#pragma once

#include "afx.h"
#include "afxcoll.h"

#include <commctrl.h>

#include "framework/Geometry.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/FrameworkIds.h"
#include "framework/CmdTarget.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"
#include "framework/WinThread.h"
#include "framework/WinApp.h"
#include "framework/Dialog.h"
#include "framework/Frame.h"
#include "framework/ControlBar.h"
#include "framework/MDIFrame.h"
#include "framework/PropertySheet.h"
#include "framework/Controls.h"
