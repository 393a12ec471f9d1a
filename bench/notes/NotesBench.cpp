// Saves N mail documents of ten items each through the Notes classes, filing each into a folder as
// the converter does, and reports documents per second and database bytes per document.
//   notes_bench DIRECTORY [N]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lnnotes.h"

namespace {
// CPU seconds of this process: on a busy machine they say more than the wall clock.
double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

LNString Ln(const std::string& s) { return LNString(s.data(), static_cast<LNINT>(s.size())); }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: notes_bench DIRECTORY [N]\n", stderr);
    return 2;
  }
  const int n = argc > 2 ? std::atoi(argv[2]) : 20000;
  const std::string path = std::string(argv[1]) + "\\notes_bench.nsf";
  DeleteFileA(path.c_str());
  LNSetThrowAllErrorsGlobal(1);
  try {
    LNNotesSession session;
    session.Initialize(300, 0, nullptr, 1, nullptr);
    session.CreateDatabaseFromTemplate("stdmail.ntf", "", Ln(path), "");
    LNDatabase db;
    session.GetDatabase(Ln(path), &db, "");
    db.Open(0);
    db.CreateFolder("Outlook\\Inbox", nullptr);
    LNViewFolder folder;
    db.GetViewFolder("Outlook\\Inbox", &folder);
    folder.Open(0);
    const std::string body(400, 'b');
    LNDatetime posted;
    posted.SetDate(6, 1, 2024);
    posted.SetTime(12, 0, 0, 0);
    LNDatetimes dates;
    dates.Insert(0, posted);

    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    for (int i = 0; i < n; ++i) {
      LNMailMessage doc;
      db.CreateDocument(&doc);
      doc.Open(0);
      const std::string number = std::to_string(i);
      doc.CreateItem("Form", LNText("Memo"), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("SendTo", LNText("Bob Example"), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("Subject", LNText(Ln("Quarterly figures " + number)), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("From", LNText("Alice Example"), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("EnterSentTo", LNText("Bob Example"), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("CopyTo", LNText("Carol Example"), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("EnterCopyTo", LNText("Carol Example"), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("BliendCopyTo", LNText(""), 8, LNITEMOPTION_APPEND);
      doc.CreateItem("PostedDate", dates, 8, LNITEMOPTION_APPEND);
      doc.CreateItem("Body", LNText(Ln(body + number)), 8, LNITEMOPTION_APPEND);
      doc.Save(0);
      folder.FolderAddDocument(doc);
      doc.Close();
    }
    db.Close();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuStart;
    session.Term(0);

    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info);
    const double bytes =
        static_cast<double>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    std::printf(
        "notes_bench: %d documents of 10 items in %.3f s: %.0f documents/s, %.0f bytes/document, %.0f "
        "documents per CPU second\n",
        n, seconds, n / seconds, bytes / n, n / cpu);
    DeleteFileA(path.c_str());
    return 0;
  } catch (LNSTATUS status) {
    char text[512];
    LNGetErrorMessageText(status, text, sizeof text, 0);
    std::fprintf(stderr, "notes_bench: %s\n", text);
    return 1;
  }
}
