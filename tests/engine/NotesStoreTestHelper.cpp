// Runs one store operation in a process of its own, so that the store sees the Notes installation
// beside this program (a copy of the library with its own templates and servers). Prints key=value
// lines in UTF-8; the exit code is 0 when the helper ran.
//   create <target> <none|cancel|index> [dropdata] [allusers=<dir>]
//                                                 CreateOrOpenDatabase, the chooser answering
//   dblist <server> [stop]                        GetServerDatabases, stopped by a second thread
//                                                 at the fifth database
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "NotesStore.h"

namespace {

std::string Utf8(const CString& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &out[0], n, nullptr, nullptr);
  return out;
}

void Print(const char* key, const std::string& value) { std::printf("%s=%s\n", key, value.c_str()); }

std::string Joined(const CStringArray& texts) {
  std::string out;
  for (INT_PTR i = 0; i < texts.GetSize(); i++) out += (i ? "|" : "") + Utf8(texts[i]);
  return out;
}

// Answers as the command line says and records the titles it was shown.
class ScriptedChooser : public ITemplateChooser {
 public:
  explicit ScriptedChooser(const std::wstring& answer) : m_answer(answer) {}
  BOOL ChooseTemplate(const CStringArray& titles, int* selected) override {
    m_shown = Joined(titles);
    if (m_answer == L"cancel") return FALSE;
    *selected = _wtoi(m_answer.c_str());
    return TRUE;
  }
  std::string m_shown = "-";

 private:
  std::wstring m_answer;
};

int Create(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  CNotesStore store;
  if (!store.InitSession()) return 3;
  for (int i = 4; i < argc; i++) {
    const std::wstring option = argv[i];
    if (option == L"dropdata") {
      const CString data = LNStringToCString(store.m_session.GetDataDirectory());
      RemoveDirectoryW(data);
    } else if (option.compare(0, 9, L"allusers=") == 0) {
      // Wine sets this variable itself when a process starts, so it is given here.
      SetEnvironmentVariableW(L"ALLUSERSPROFILE", option.c_str() + 9);
    }
  }
  ScriptedChooser chooser(argv[3]);
  if (std::wstring(argv[3]) != L"none") store.SetTemplateChooser(&chooser);
  const int result = store.CreateOrOpenDatabase(argv[2]);
  Print("result", std::to_string(result));
  Print("error", Utf8(store.GetErrorText()));
  Print("asked", chooser.m_shown);
  Print("open", std::to_string(store.m_bDbOpen));
  if (result) Print("inherits", store.m_db.GetInheritsFromTemplateName().GetBuf());
  return 0;
}

int ListDatabases(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  // With "stop", the walk's fifth open of a database waits until the second thread has raised the
  // stop flag: the stop comes in the middle of the walk.
  const bool stop = argc > 3 && std::wstring(argv[3]) == L"stop";
  const std::wstring hang = L"BrindleDbListStop-" + std::to_wstring(GetCurrentProcessId());
  if (stop) {
    SetEnvironmentVariableA("STANDIN_HANG", "notes.opendatabase=5");
    SetEnvironmentVariableW(L"STANDIN_HANG_RELEASE", hang.c_str());
  }
  CNotesStore store;
  if (!store.InitSession()) return 3;
  CStringArray paths, names;
  std::thread stopper;
  if (stop) {
    stopper = std::thread([&store, hang] {
      HANDLE release = CreateEventW(nullptr, TRUE, FALSE, hang.c_str());
      HANDLE stopped = CreateEventW(nullptr, TRUE, FALSE, (hang + L"-stopped").c_str());
      WaitForSingleObject(stopped, 30000);
      store.m_bStop = 1;
      SetEvent(release);
      CloseHandle(stopped);
      CloseHandle(release);
    });
  }
  const int result = store.GetServerDatabases(argv[2], &paths, &names);
  if (stopper.joinable()) stopper.join();
  Print("result", std::to_string(result));
  Print("error", Utf8(store.GetErrorText()));
  Print("paths", Joined(paths));
  Print("names", Joined(names));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  if (command == L"create") return Create(argc, argv);
  if (command == L"dblist") return ListDatabases(argc, argv);
  return 2;
}
