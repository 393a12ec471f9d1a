// How soon a stop ends a conversion: the PST's first folder of ITEM items or more is converted until its
// ITEM-th item, where the stop comes as the user's Yes sets it; the item loop then ends the folder, and every
// folder not begun is counted with its items, as the conversion driver counts them for the final report.
// Prints the seconds from the stop to the end of that counting, the counting alone and the items counted, for
// the counts the PST states (what the driver uses) and beside them for each folder's list of items
// read, in turns, each on a session and a new NSF of its own.
//   stop_promptness PST DIRECTORY [ITEM=100] [TURNS=2]
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "FolderConverter.h"
#include "NotesStore.h"
#include "PstSession.h"

namespace {

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The item bar of the saving page: its text names the item being saved; the stop comes at one of them.
class StoppingBar : public IProgressSink {
 public:
  StoppingBar(CNotesStore& store, long item) : m_store(store) {
    m_strStopAt.Format(L"Saving email %ld of ", item);
  }
  void SetText(const CString& text) override {
    if (m_stoppedAt == 0 && text.Find(m_strStopAt) == 0) {
      m_stoppedAt = Now();
      m_store.m_bStop = 1;
    }
  }
  void SetPos(int) override {}
  double m_stoppedAt = 0;

 private:
  CNotesStore& m_store;
  CString m_strStopAt;
};

struct Turn {
  double fromStop = 0;
  double counting = 0;
  long items = 0;
  int folders = 0;
};

// "" when the turn ran and stopped as asked; else why not.
CString RunTurn(CNotesStore& store, const CString& pst, const CString& nsf, long stopItem, bool stated,
                Turn* turn) {
  CPstSession session;
  if (!session.ReopenPst(pst)) return L"the PST does not open: " + session.GetOpenError();
  if (!store.CreateOrOpenDatabase(nsf)) return L"the NSF does not open: " + store.GetErrorText();
  CStringArray paths;
  session.GetFolderList(&paths);
  // The stop comes in the first folder that has the item, and every other folder is left behind.
  INT_PTR first = 0;
  while (first < paths.GetSize() && session.CountStatedItemsAtPath(paths[first]) < stopItem) ++first;
  if (first + 1 >= paths.GetSize()) return L"no folder holds the item, or none is left behind it";
  store.m_bStop = 0;
  StoppingBar bar(store, stopItem);
  store.m_pItemProgress = &bar;
  CFolderConverter converter;
  converter.m_pStore = &store;
  converter.m_pSession = &session;
  if (store.CreateFolder(L"Outlook\\" + paths[first])) converter.ConvertFolder(paths[first]);
  store.m_pItemProgress = nullptr;
  if (bar.m_stoppedAt == 0) return L"the item was never saved: " + store.GetErrorText();
  const double countFrom = Now();
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
    if (i == first) continue;
    const long items = stated ? session.CountStatedItemsAtPath(paths[i]) : session.CountItemsAtPath(paths[i]);
    if (items > 0) turn->items += items;
    ++turn->folders;
  }
  const double end = Now();
  turn->fromStop = end - bar.m_stoppedAt;
  turn->counting = end - countFrom;
  store.m_bStop = 0;
  store.CloseTarget(TRUE);
  return CString();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: stop_promptness PST DIRECTORY [ITEM=100] [TURNS=2]\n", stderr);
    return 2;
  }
  const long stopItem = argc > 3 ? _wtol(argv[3]) : 100;
  const int turns = argc > 4 ? _wtoi(argv[4]) : 2;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  CNotesStore store;
  if (!store.InitSession()) {
    std::fputs("the Notes session does not start\n", stderr);
    return 2;
  }
  int n = 0;
  for (int t = 1; t <= turns; ++t) {
    for (bool stated : {true, false}) {
      CString nsf;
      nsf.Format(L"%s\\stop%d.nsf", argv[2], ++n);
      Turn turn;
      const CString failure = RunTurn(store, argv[1], nsf, stopItem, stated, &turn);
      if (!failure.IsEmpty()) {
        std::fwprintf(stderr, L"turn %d did not stop as asked: %ls\n", t, static_cast<LPCWSTR>(failure));
        return 1;
      }
      std::printf(
          "%-12s turn %d: %.3f s from the stop to the end, %.3f s of it counting %ld items of %d folders\n",
          stated ? "stated count" : "item lists", t, turn.fromStop, turn.counting, turn.items, turn.folders);
      std::fflush(stdout);
    }
  }
  store.Close();
  CoUninitialize();
  return 0;
}
