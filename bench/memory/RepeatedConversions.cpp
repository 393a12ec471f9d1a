// Converts one PST again and again in one process, each run on a thread of its own with its own COM
// apartment and Notes thread, as the saving page's worker runs it, and prints after each run the bytes
// in use in the process's heaps: a process that keeps nothing from a run stays at its level after the
// first.
//   repeated_conversions PST DIRECTORY [RUNS=8] [same]
// Each run writes a new NSF in DIRECTORY ("run<N>.nsf"); with "same", every run adds to "same.nsf".
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "FolderConverter.h"
#include "NotesStore.h"
#include "PstSession.h"
#include "TestProcess.h"

namespace {

struct Run {
  CNotesStore* store;
  CString pst;
  CString nsf;
  long documents = 0;
  bool ok = false;
};

// Every folder of the PST, the top one too, into its "Outlook\" Notes folder, as the driver does.
DWORD WINAPI ConvertOnce(LPVOID parameter) {
  Run& run = *static_cast<Run*>(parameter);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LNNotesSession thread;
  thread.InitThread();
  {
    CPstSession session;
    if (session.ReopenPst(run.pst) && run.store->CreateOrOpenDatabase(run.nsf)) {
      CStringArray paths;
      paths.Add(CString());
      session.GetFolderList(&paths);
      CFolderConverter converter;
      converter.m_pStore = run.store;
      converter.m_pSession = &session;
      for (INT_PTR i = 0; i < paths.GetSize(); ++i)
        if (run.store->CreateFolder(L"Outlook\\" + paths[i])) converter.ConvertFolder(paths[i]);
      run.ok = !run.store->IsTargetFailed();
    }
  }
  thread.TermThread();
  CoUninitialize();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: repeated_conversions PST DIRECTORY [RUNS=8] [same]\n", stderr);
    return 2;
  }
  const int runs = argc > 3 ? _wtoi(argv[3]) : 8;
  const bool same = argc > 4 && wcscmp(argv[4], L"same") == 0;
  CNotesStore store;
  if (!store.InitSession()) {
    std::fputs("the Notes session does not start\n", stderr);
    return 2;
  }
  std::printf("before the first run: %.2f MB in use\n", testsupport::HeapBytesInUse() / 1048576.0);
  for (int n = 1; n <= runs; ++n) {
    Run run{&store, argv[1], CString()};
    run.nsf.Format(same ? L"%s\\same.nsf" : L"%s\\run%d.nsf", argv[2], n);
    HANDLE thread = CreateThread(nullptr, 0, ConvertOnce, &run, 0, nullptr);
    if (!thread) return 2;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (!run.ok) {
      std::fwprintf(stderr, L"run %d failed: %ls\n", n, static_cast<LPCWSTR>(store.GetErrorText()));
      return 1;
    }
    std::printf("after run %d: %.2f MB in use\n", n, testsupport::HeapBytesInUse() / 1048576.0);
    std::fflush(stdout);
  }
  return 0;
}
