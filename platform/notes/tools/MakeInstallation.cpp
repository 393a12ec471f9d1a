// Build-time generator of the Notes installation's databases: the two templates in the data
// directory and a mail database on the first server. Run under Wine after the library is built:
//   make_notes_installation <installation directory>
// Files that exist are replaced, so that each build starts from the same installation.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "NoteFormat.h"
#include "NoteStore.h"

namespace fs = std::filesystem;

namespace {

lnstore::Design Folder(const char* name) { return {0, name, true, ""}; }
lnstore::Design View(const char* name, const char* selection) { return {0, name, false, selection}; }

// The mail design: the folders and views a mail file carries. Views choose documents by form.
std::vector<lnstore::Design> MailDesign() {
  return {
      Folder("($Inbox)"),
      Folder("($Drafts)"),
      Folder("($Trash)"),
      Folder("($JunkMail)"),
      View("($Sent)", "Memo"),
      View("($Calendar)", "Appointment"),
      View("($Meetings)", "Appointment"),
      View("($Alarms)", ""),
      View("($ToDo)", "Task"),
      View("($All)", "*"),
      View("My Contacts", "Person"),
      View("By Category", "*"),
      View("By Diary Date", "JournalEntry"),
      View("$Follow-Up", ""),
      View("$Journal", "JournalEntry"),
      View("($Rules)", ""),
  };
}

std::vector<lnstore::Design> NotebookDesign() {
  return {
      View("All Documents", "*"),
      View("By Category", "*"),
      View("By Diary Date", "JournalEntry"),
  };
}

void Replace(const fs::path& file, const lnstore::DatabaseInfo& info,
             const std::vector<lnstore::Design>& designs) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  for (const char* suffix : {"", "-wal", "-shm"})
    fs::remove(fs::path(file.wstring() + fs::path(suffix).wstring()), ec);
  const std::u16string wide = file.u16string();
  lnstore::Store::Create(lnstore::Utf16ToUtf8(wide), info, designs).reset();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: make_notes_installation DIRECTORY\n", stderr);
    return 2;
  }
  const fs::path home(argv[1]);
  try {
    Replace(home / L"data" / L"stdmail.ntf", {"Mail (R8)", "StdR8Mail", ""}, MailDesign());
    Replace(home / L"data" / L"notebook.ntf", {"Personal Notebook", "StdNotebook", ""}, NotebookDesign());
    Replace(home / L"servers" / L"mail01" / L"mail" / L"jdoe.nsf", {"John Doe", "", "StdR8Mail"},
            MailDesign());
    Replace(home / L"servers" / L"mail01" / L"names.nsf", {"Directory", "", ""}, NotebookDesign());
    std::error_code ec;
    fs::create_directories(home / L"servers" / L"apps02", ec);
  } catch (const lnstore::Failure& failure) {
    std::fprintf(stderr, "make_notes_installation: %s\n", failure.what());
    return 1;
  }
  return 0;
}
