// The application object of the wizard tests: the framework's message boxes and modal loops ask it
// for the program's name and main window.
#include <afxwin.h>

CWinApp theAppTestsApp(L"Brindle app tests");
