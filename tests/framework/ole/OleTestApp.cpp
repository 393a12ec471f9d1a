// The test program's application object; OLE is started once for the main thread.
#include "afxole.h"

CWinApp theOleTestApp(L"FrameworkOleTests");
