// Resource ids of the toolkit (9000 to 9999). Programs that use the toolkit include Toolkit.rc.
#pragma once

// Cursors of the toolkit: dragging a control (copy, move, nothing to drop on), the link hand for
// systems without one, and the splitter cursors.
#define XT_IDC_DRAGCOPY 9008
#define XT_IDC_DRAGMOVE 9009
#define XT_IDC_DRAGNONE 9011
#define XT_IDC_HSPLITBAR 9970
#define XT_IDC_VSPLITBAR 9971
// The command bars' cursor over the resizable edge of a control while customizing.
#define XTP_IDC_RESIZE 9972
#define XT_IDC_HAND 9973

// Command-bar strings.
#define XTP_IDS_TOOLBAR_CHANGED 9394
