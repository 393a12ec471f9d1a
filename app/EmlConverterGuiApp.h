// The application object of Brindle for PST to NSF: its start-up sequence (single instance, profile,
// the document template that makes the main frame and the wizard) and the About command.
#pragma once

#include <afxwin.h>

// One instance, made by the program (not by this library, so that tests can make their own
// application object); it runs on the user-interface thread.
class CEmlConverterGuiApp : public CWinApp {
 public:
  CEmlConverterGuiApp();

  // Refuses a second instance, registers the template and shows the main frame maximized. FALSE ends
  // the program: another instance runs, or the frame could not be made (the Notes client is missing).
  BOOL InitInstance() override;

  afx_msg void OnAppAbout();

  DECLARE_MESSAGE_MAP()
};

// The text of the second instance's refusal (with its trailing blank).
extern const wchar_t ANOTHER_INSTANCE_TEXT[];
// The registry key under HKEY_CURRENT_USER\Software that holds the program's profile.
extern const wchar_t PROFILE_REGISTRY_KEY[];
