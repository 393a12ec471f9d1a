// The Notes library's store alone: saves N notes of ten items each and files them into a folder, with
// the library's flush policy, and reports documents per second and bytes per document. Builds for
// Windows and natively (see bench/notes-bench.sh).
//   notes_store_bench DIRECTORY [N]
#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "NoteFormat.h"
#include "NoteStore.h"

namespace {

// CPU seconds of this process: on a busy machine they say more than the wall clock.
double CpuSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
#else
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

lnstore::Item Text(const char* name, const std::string& value) {
  return {name, lnstore::kTypeTextList, 8, lnstore::EncodeTextList({value})};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: notes_store_bench DIRECTORY [N]\n", stderr);
    return 2;
  }
  const int n = argc > 2 ? std::atoi(argv[2]) : 20000;
  const std::filesystem::path file = std::filesystem::u8path(argv[1]) / "notes_store_bench.nsf";
  const std::string path = file.u8string();
  std::error_code ec;
  std::filesystem::remove(file, ec);
  try {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    {
      std::unique_ptr<lnstore::Store> store = lnstore::Store::Create(path, {"Bench", "", ""}, {});
      std::lock_guard<std::recursive_mutex> lock(store->Mutex());
      const lnstore::Design folder = store->CreateFolder("Outlook\\Inbox");
      const std::string body(400, 'b');
      for (int i = 0; i < n; ++i) {
        const std::string number = std::to_string(i);
        lnstore::NoteRecord note;
        note.items = {Text("Form", "Memo"),
                      Text("SendTo", "Bob Example"),
                      Text("Subject", "Quarterly figures " + number),
                      Text("From", "Alice Example"),
                      Text("EnterSentTo", "Bob Example"),
                      Text("CopyTo", "Carol Example"),
                      Text("EnterCopyTo", "Carol Example"),
                      Text("BliendCopyTo", ""),
                      {"PostedDate", lnstore::kTypeTimeList, 8, lnstore::EncodeTimeList({{738000, 4320000}})},
                      Text("Body", body + number)};
        store->SaveNote(&note);
        store->AddToFolder(folder.noteId, note.noteId);
      }
      store->Flush();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuStart;
    const double bytes = static_cast<double>(std::filesystem::file_size(file, ec));
    std::printf(
        "notes_store_bench: %d documents of 10 items in %.3f s: %.0f documents/s, %.0f bytes/document, %.0f "
        "documents per CPU second\n",
        n, seconds, n / seconds, bytes / n, n / cpu);
    std::filesystem::remove(file, ec);
    return 0;
  } catch (const lnstore::Failure& failure) {
    std::fprintf(stderr, "notes_store_bench: %s\n", failure.what());
    return 1;
  }
}
