// The launcher's decision: which message to show, or which program to start.
#include "MainProgramStart.h"

#include "NotesEnvironment.h"

#include <vector>

const WCHAR kMainProgramFileName[] = L"Brindle for PST to NSF.exe";
const WCHAR kNotInstalledMessage[] =
    L"Lotus Notes is not installed on this computer. In order to successfully convert the Outlook "
    L".PST file to Lotus Notes .NSF file, you must have Lotus Notes installed on your computer."
    L"\r\n\r\n Please install Lotus Notes and restart Brindle for PST to NSF again.";
const WCHAR kMissingProgramMessage[] = L"Required component is missing , Please reinstall software.";

CString MainProgramPath(CLauncherSystem& system) {
  CString strDirectory;
  std::vector<WCHAR> buffer(MAX_PATH + 1);
  for (int nTry = 0; nTry < 4; ++nTry) {
    const DWORD nResult = system.ReadCurrentDirectory(static_cast<DWORD>(buffer.size()), buffer.data());
    if (nResult < buffer.size()) {
      strDirectory = CString(buffer.data(), static_cast<int>(nResult));
      break;
    }
    buffer.assign(nResult, L'\0');
  }
  // Without a current directory the bare file name still refers to it.
  if (!strDirectory.IsEmpty() && strDirectory[strDirectory.GetLength() - 1] != L'\\') strDirectory += L'\\';
  return strDirectory + kMainProgramFileName;
}

void FindNotesAndStartMainProgram(CLauncherSystem& system) {
  const CString strProgram = MainProgramPath(system);

  CNotesEnvironment environment(system);
  CString strNotesPath;
  if (!environment.ReadNotesPath(strNotesPath)) {
    system.ShowMessage(kNotInstalledMessage, MB_OK);
    return;
  }
  if (!strNotesPath.IsEmpty()) {
    environment.AddToPath(strNotesPath);
  } else if (!environment.FindNotesInstallations()) {
    system.ShowMessage(kNotInstalledMessage, MB_OK);
    return;
  }

  if (!system.FileExists(strProgram)) {
    system.ShowMessage(kMissingProgramMessage, MB_OK);
    return;
  }
  const HINSTANCE hResult = system.ShellOpen(L"open", strProgram);
  if (reinterpret_cast<INT_PTR>(hResult) <= 32) system.ShowMessage(kMissingProgramMessage, MB_OK);
}
