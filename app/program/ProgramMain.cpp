// The program Brindle for PST to NSF: its application object, and the single-instance guard that is
// made before the application starts.
#include "EmlConverterGuiApp.h"
#include "SingleInstance.h"

namespace {

// Static start-up: the mutex exists, and its creation's error code is kept, before InitInstance runs.
const BOOL g_bSingleInstanceGuard = CreateSingleInstanceMutex(SINGLE_INSTANCE_MUTEX_NAME);

}  // namespace

CEmlConverterGuiApp theApp;
