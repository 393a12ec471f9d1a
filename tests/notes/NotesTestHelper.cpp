// A separate process for the Notes library tests:
//   notes_test_helper init                      starts a session; exit code = its status
//   notes_test_helper write DB COUNT READYFILE  saves COUNT documents, starts one more without saving
//                                               it, creates READYFILE and waits to be killed
//   notes_test_helper term DB COUNT             saves COUNT documents, ends the session and dies
//                                               without closing anything
//   notes_test_helper catch                     throw-all on; exit code 0 when a status thrown by the
//                                               library was caught here as LNSTATUS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "lnnotes.h"

namespace {

LNString Ln(const std::string& s) { return LNString(s.data(), static_cast<LNINT>(s.size())); }

// The document shape the durability test checks: "Index" first, "Last" last.
LNSTATUS WriteDocument(LNDatabase& db, int index, bool save) {
  LNDocument doc;
  LNSTATUS s = db.CreateDocument(&doc);
  if (s) return s;
  doc.CreateItem("Index", LNText(Ln(std::to_string(index))), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("Form", LNText("Memo"), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("Subject", LNText(Ln("Document " + std::to_string(index))), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("Body", LNText(Ln(std::string(2000, 'x'))), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("Last", LNText("end"), 8, LNITEMOPTION_APPEND);
  return save ? doc.Save(0) : LNNOERROR;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  if (argc < 2) return 100;
  const std::string mode = argv[1];
  LNNotesSession session;
  if (mode == "init") return static_cast<int>(session.Initialize(300, 0, nullptr, 1, nullptr));
  if (session.Initialize(300, 0, nullptr, 1, nullptr) != LNNOERROR) return 101;
  if (mode == "catch") {
    LNSetThrowAllErrorsGlobal(1);
    try {
      LNDatabase db;
      session.GetDatabase("no such file.nsf", &db, "");
    } catch (LNSTATUS status) {
      return status == LNERR_FILE_NOT_FOUND ? 0 : 102;
    }
    return 103;
  }
  if (mode == "write" && argc == 5) {
    LNDatabase db;
    if (session.GetDatabase(argv[2], &db, "") || db.Open(0)) return 104;
    const int count = std::atoi(argv[3]);
    for (int i = 1; i <= count; ++i)
      if (WriteDocument(db, i, true)) return 105;
    WriteDocument(db, count + 1, false);
    FILE* ready = std::fopen(argv[4], "wb");
    if (ready == nullptr) return 106;
    std::fclose(ready);
    for (;;) Sleep(1000);
  }
  if (mode == "term" && argc == 4) {
    LNDatabase db;
    if (session.GetDatabase(argv[2], &db, "") || db.Open(0)) return 104;
    for (int i = 1, count = std::atoi(argv[3]); i <= count; ++i)
      if (WriteDocument(db, i, true)) return 105;
    if (session.Term(0)) return 107;
    TerminateProcess(GetCurrentProcess(), 0);
  }
  return 100;
}
