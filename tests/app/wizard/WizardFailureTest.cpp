// The program's refusals and failures, end to end: no Notes client, a second instance, a file that is
// not a PST, a cancelled folder choice, an NSF that cannot be made and one that another program holds.
// Each ends with its status, its message, a step list that ticks only the steps that were done, no new
// NSF left behind empty, and a program that still answers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "TestFiles.h"
#include "TestProcess.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardDriver.h"

using namespace wizardtest;
using testsupport::RemoveAsHostProgram;
using testsupport::Utf8;
using testsupport::Wide;

namespace {

const wchar_t NEXT_OR_EXIT[] =
    L"Click Next button to convert another file or click Exit button to close the software";

using Steps = std::vector<std::string>;

// Page three's step list once the run has ended (Next shows again), as the screen shows it.
Steps StepsAfterTheRun(HWND mainWindow) {
  if (WaitForText(mainWindow, L"Next", 10000) == nullptr) return {"Next did not show"};
  return PageThreeSteps(mainWindow);
}

bool FileExists(const std::string& path) {
  return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The small disk that scripts/test.sh mounts for this run of the tests, as a folder path of the program's;
// "" when none is mounted.
std::string SmallDiskFolder() {
  char disk[MAX_PATH] = "";
  const DWORD length = ::GetEnvironmentVariableA("BRINDLE_SMALL_DISK", disk, MAX_PATH);
  std::string folder = length > 0 && length < MAX_PATH ? "Z:" + std::string(disk) : std::string();
  for (char& c : folder)
    if (c == '/') c = '\\';
  return !folder.empty() && FileExists(folder + "\\small-disk") ? folder : std::string();
}

// The items of the PST that a run of the stopped save's tests converts, and the save that stops: in its
// first folder.
const int RUN_ITEMS = 2000;
const char STOPPED_SAVE[] = "notes.save=300";

class WizardFailures : public ::testing::Test {
 protected:
  void SetUp() override { DeleteProfile(); }
  void TearDown() override { DeleteProfile(); }

  // Starts the program through the launcher and waits for its main window.
  HWND Start(ProgramRun& program, const std::string& environment = std::string()) {
    if (!program.StartThroughLauncher(environment)) return nullptr;
    return program.WaitForMainWindow();
  }

  // Ends a program left on page three: Exit, then Yes.
  void Close(ProgramRun& program, HWND mainWindow) {
    HWND exitButton = WaitForText(mainWindow, L"Exit", 5000);
    ASSERT_NE(exitButton, nullptr);
    Click(exitButton);
    HWND prompt = WaitForMessageBox(program.ProcessId(), L"you want to close the application?");
    ASSERT_NE(prompt, nullptr);
    Answer(prompt, IDYES);
    EXPECT_TRUE(program.WaitForExit(15000));
  }

  // A run of a new PST of RUN_ITEMS items in four folders into nsfName, all folders ticked, stopped in
  // its 300th save; the PST's path in *pst.
  HWND StartStoppedRun(ProgramRun& program, StandInHang& hang, const std::wstring& nsfName,
                       std::string* pst) {
    *pst = temp_.File(testsupport::Utf8(nsfName) + ".pst");
    std::string output;
    if (RunTool("pstbuild.exe", "bulk " + std::to_string(RUN_ITEMS) + " \"" + *pst + "\" --folders 4",
                &output) != 0)
      return nullptr;
    HWND mainWindow = Start(program, hang.Environment());
    if (mainWindow == nullptr) return nullptr;
    if (!StartConversion(mainWindow, program.ProcessId(), Wide(*pst), Wide(temp_.Path()), nsfName))
      return nullptr;
    HWND folders = WaitForFolderDialog(program.ProcessId());
    if (folders == nullptr) return nullptr;
    Answer(folders, IDOK);
    return hang.WaitUntilStopped() ? mainWindow : nullptr;
  }

  // A run of a new bulk PST of items (pstbuild's options added) into nsfName in folder, all folders ticked,
  // up to its final message: *box, with the program's main window in *mainWindow; *box stays null when the
  // run did not come to it.
  void ConvertBulk(ProgramRun& program, int items, const std::string& options, const std::string& folder,
                   const std::wstring& nsfName, HWND* mainWindow, HWND* box) {
    const std::string pst = temp_.File(testsupport::Utf8(nsfName) + ".pst");
    std::string output;
    ASSERT_EQ(
        RunTool("pstbuild.exe", "bulk " + std::to_string(items) + " \"" + pst + "\" " + options, &output),
        0u);
    *mainWindow = Start(program);
    ASSERT_NE(*mainWindow, nullptr);
    ASSERT_TRUE(StartConversion(*mainWindow, program.ProcessId(), Wide(pst), Wide(folder), nsfName));
    HWND folders = WaitForFolderDialog(program.ProcessId());
    ASSERT_NE(folders, nullptr);
    Answer(folders, IDOK);
    *box = WaitForMessageBox(program.ProcessId(), NEXT_OR_EXIT, 120000);
    ASSERT_NE(*box, nullptr) << Utf8(StatusText(*mainWindow));
  }

  testsupport::TempDir temp_;
};

TEST_F(WizardFailures, WithoutANotesClientTheProgramSaysSoAndEnds) {
  // The program with a Notes library whose installation (notes.cfg) is missing.
  const std::string dir = temp_.File("no-notes");
  ASSERT_TRUE(::CreateDirectoryW(Wide(dir).c_str(), nullptr));
  const std::string exe = dir + "\\Brindle for PST to NSF.exe";
  ASSERT_TRUE(::CopyFileW(Wide(ProgramPath()).c_str(), Wide(exe).c_str(), FALSE));
  const std::string library = ProgramDirectory() + "\\..\\notes\\lcppn30i.dll";
  ASSERT_TRUE(::CopyFileW(Wide(library).c_str(), Wide(dir + "\\lcppn30i.dll").c_str(), FALSE)) << library;

  ProgramRun program;
  ASSERT_TRUE(program.StartDirect(exe, dir));
  HWND box = WaitForMessageBox(program.ProcessId(),
                               L"Unable to locate Lotus notes, please install lotusnotes on this "
                               L"computer",
                               30000);
  ASSERT_NE(box, nullptr);
  Screenshot(box, L"wizard_no_notes.png");
  EXPECT_EQ(WaitForWindow(program.ProcessId(), MAIN_TITLE, 0), nullptr) << "no frame shows";
  Answer(box, IDOK);
  DWORD exitCode = 1;
  ASSERT_TRUE(program.WaitForExit(15000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(WizardFailures, ASecondInstanceIsRefusedAndTheFirstGoesOn) {
  ProgramRun first;
  HWND mainWindow = Start(first);
  ASSERT_NE(mainWindow, nullptr);

  ProgramRun second;
  ASSERT_TRUE(second.StartDirect(ProgramPath(), ProgramDirectory()));
  HWND box =
      WaitForMessageBox(second.ProcessId(), L"Another Instance of Brindle for PST to NSF is running ", 30000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Another Instance of Brindle for PST to NSF is running ");
  Answer(box, IDOK);
  DWORD exitCode = 1;
  ASSERT_TRUE(second.WaitForExit(15000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(StaysAway(second.ProcessId(), MAIN_TITLE, 500));
  EXPECT_TRUE(::IsWindowVisible(mainWindow)) << "the first instance goes on";
  first.Kill();
}

TEST_F(WizardFailures, ConversionFailuresEndWithTheirStatusAndMessage) {
  ProgramRun program;
  // The first new NSF cannot be made from the template.
  HWND mainWindow = Start(program, "STANDIN_FAULTS=notes.createfromtemplate=1");
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();

  // A text file named .pst: the PST does not open; the reason follows the message on its own line.
  const std::string notPst = temp_.File("notes.pst");
  std::ofstream(notPst) << "These are my notes, not a personal folders file.\n";
  ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(notPst), Wide(temp_.Path()), L"first"));
  HWND box = WaitForMessageBox(pid, L"Outlook is not installed or no profile exist , \r\n", 60000);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.find(std::wstring(L"Outlook is not installed or no profile exist , \r\n") + NEXT_OR_EXIT),
            0u)
      << Utf8(message);
  EXPECT_GT(message.size(),
            wcslen(L"Outlook is not installed or no profile exist , \r\n") + wcslen(NEXT_OR_EXIT) + 4)
      << "the reason follows: " << Utf8(message);
  // The reason names the kind of file the program takes, and no other.
  EXPECT_NE(message.find(L"is not a personal folders (.pst) file"), std::wstring::npos) << Utf8(message);
  EXPECT_EQ(message.find(L".ost"), std::wstring::npos) << Utf8(message);
  EXPECT_EQ(StatusText(mainWindow), L"Outlook is not installed or no profile exist");
  Screenshot(mainWindow, L"wizard_not_a_pst.png");
  // The page waits for the message: a click on the main window leaves it in front, with the keyboard.
  EXPECT_TRUE(StaysInFrontAfterClickOn(mainWindow, box));
  if (!KeyEnds(box, VK_RETURN)) {
    ADD_FAILURE() << "Enter did not end the message";
    Answer(box, IDOK);
  }
  // The PST file did not open: the first step is where the run stopped, and nothing is ticked.
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"current", "later", "later"}));
  Screenshot(mainWindow, L"wizard_not_a_pst_steps.png");

  // The new NSF cannot be made: the store's error text, then the tail.
  Click(WaitForText(mainWindow, L"Next", 10000));
  const std::string pst = temp_.File("three.pst");
  ASSERT_TRUE(::CopyFileW(Wide(testsupport::FixturePath("pst/hht-three-items.pst")).c_str(),
                          Wide(pst).c_str(), FALSE));
  ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(pst), Wide(temp_.Path()), L"second"));
  box = WaitForMessageBox(pid, std::wstring(L"\r\n") + NEXT_OR_EXIT, 60000);
  ASSERT_NE(box, nullptr);
  // The status is the library's message alone; the file it is about is on the line beneath.
  std::wstring target = Wide(temp_.Path());
  if (target.back() != L'\\') target += L'\\';
  target += L"second.NSF";
  const std::wstring status = StatusText(mainWindow);
  EXPECT_FALSE(status.empty());
  EXPECT_EQ(status.find(target), std::wstring::npos) << Utf8(status);
  EXPECT_EQ(MessageBoxText(box), status + L"\r\n" + NEXT_OR_EXIT + L"\r\n\r\nNSF file: " + target);
  EXPECT_NE(WaitForText(mainWindow, L"NSF file: " + target, 5000), nullptr)
      << "the page shows the path beneath the status";
  Screenshot(mainWindow, L"wizard_nsf_failed.png");
  Answer(box, IDOK);

  // Cancel in the folder dialog: the new NSF, made before the folders were chosen, is taken back.
  Click(WaitForText(mainWindow, L"Next", 10000));
  ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(pst), Wide(temp_.Path()), L"third"));
  HWND folders = WaitForFolderDialog(pid);
  ASSERT_NE(folders, nullptr);
  const std::string third = temp_.File("third.NSF");
  EXPECT_TRUE(FileExists(third)) << "the new NSF is made before the folders are chosen";
  // Escape cancels as soon as the dialog shows, and ends the message that follows.
  if (!KeyEnds(folders, VK_ESCAPE)) {
    ADD_FAILURE() << "Escape did not cancel the Outlook Folders dialog";
    Answer(folders, IDCANCEL);
  }
  box = WaitForMessageBox(pid, L"Saving cancelled  by user , ", 30000);
  ASSERT_NE(box, nullptr);
  std::wstring thirdPath = Wide(temp_.Path());
  if (thirdPath.back() != L'\\') thirdPath += L'\\';
  thirdPath += L"third.NSF";
  EXPECT_EQ(MessageBoxText(box), std::wstring(L"Saving cancelled  by user , \r\n") + NEXT_OR_EXIT +
                                     L"\r\n\r\nNothing is left behind: the new NSF file " + thirdPath +
                                     L" held no document and was removed.");
  EXPECT_EQ(StatusText(mainWindow), L"Saving cancelled by user");
  EXPECT_FALSE(FileExists(third));
  EXPECT_FALSE(FileExists(third + "-wal"));
  if (!KeyEnds(box, VK_ESCAPE)) {
    ADD_FAILURE() << "Escape did not end the message";
    Answer(box, IDOK);
  }
  // The PST and the NSF opened; the folders were not chosen.
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "done", "current"}));
  Screenshot(mainWindow, L"wizard_cancelled_steps.png");

  // The same name is a new file again.
  Click(WaitForText(mainWindow, L"Next", 10000));
  ASSERT_TRUE(StartConversion(mainWindow, pid, Wide(pst), Wide(temp_.Path()), L"third"))
      << "the Save Options dialog refused the name of the file taken back";
  folders = WaitForFolderDialog(pid);
  ASSERT_NE(folders, nullptr);
  Answer(folders, IDOK);
  HWND complete = WaitForSavingComplete(pid, 60000);
  ASSERT_NE(complete, nullptr);
  Answer(complete, IDOK);
  EXPECT_GT(FiledDocuments(NsfCounts(third)), 0);
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "done", "done"}));

  Close(program, mainWindow);
}

// Another program holds the NSF: its write lock, a byte-range lock over the whole file, or the file open
// without sharing. Each time the program says once that the file is in use, before any folder is chosen,
// and leaves the file as it was. A PST open without sharing is named as in use too.
TEST_F(WizardFailures, AFileThatAnotherProgramHoldsIsRefusedOnceAsInUse) {
  const std::string pst = temp_.File("three.pst");
  ASSERT_TRUE(::CopyFileW(Wide(testsupport::FixturePath("pst/hht-three-items.pst")).c_str(),
                          Wide(pst).c_str(), FALSE));
  const std::string nsf = temp_.File("held.nsf");
  const std::string counts = HarnessCounts(pst, nsf);
  ASSERT_GT(FiledDocuments(counts), 0);

  // This test's process is the other program; each hold lasts while its run is refused.
  struct Hold {
    const char* name;
    std::function<std::function<void()>()> take;  // returns what lets go
  };
  auto openFile = [](const std::string& path, DWORD share) {
    return ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const Hold holds[] = {
      {"the write lock of a writer",
       [&] {
         sqlite3* other = nullptr;
         EXPECT_EQ(SQLITE_OK, sqlite3_open_v2(nsf.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr));
         EXPECT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
         return std::function<void()>([other] {
           sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
           sqlite3_close(other);
         });
       }},
      {"a byte-range lock over the whole file",
       [&] {
         const HANDLE file = openFile(nsf, FILE_SHARE_READ | FILE_SHARE_WRITE);
         EXPECT_NE(file, INVALID_HANDLE_VALUE);
         OVERLAPPED whole = {};
         EXPECT_TRUE(::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                                  MAXDWORD, &whole));
         return std::function<void()>([file] {
           OVERLAPPED whole = {};
           ::UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
           ::CloseHandle(file);
         });
       }},
      {"the file open without sharing",
       [&] {
         const HANDLE file = openFile(nsf, 0);
         EXPECT_NE(file, INVALID_HANDLE_VALUE);
         return std::function<void()>([file] { ::CloseHandle(file); });
       }},
  };

  ProgramRun program;
  HWND mainWindow = Start(program);
  ASSERT_NE(mainWindow, nullptr);
  const DWORD pid = program.ProcessId();
  const std::wstring inUse = L"in use by another program";
  for (const Hold& hold : holds) {
    SCOPED_TRACE(hold.name);
    const std::function<void()> letGo = hold.take();
    ASSERT_TRUE(StartConversionInto(mainWindow, pid, Wide(pst), Wide(nsf)));
    HWND box = WaitForMessageBox(pid, NEXT_OR_EXIT, 60000);
    ASSERT_NE(box, nullptr);
    const std::wstring message = MessageBoxText(box);
    EXPECT_EQ(message, L"The database is in use by another program\r\n" + std::wstring(NEXT_OR_EXIT) +
                           L"\r\n\r\nNSF file: " + Wide(nsf));
    EXPECT_EQ(message.find(inUse), message.rfind(inUse)) << "said once";
    EXPECT_EQ(WaitForWindow(pid, L"Outlook Folders", 0, L"#32770"), nullptr);
    Screenshot(mainWindow, L"wizard_nsf_in_use.png");
    Answer(box, IDOK);
    EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "current", "later"}));
    letGo();
    EXPECT_EQ(NsfCounts(nsf), counts);
    Click(WaitForText(mainWindow, L"Next", 10000));
  }

  // The PST, open in another program that shares it with nobody.
  const HANDLE held = openFile(pst, 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(StartConversionInto(mainWindow, pid, Wide(pst), Wide(nsf)));
  HWND box = WaitForMessageBox(pid, NEXT_OR_EXIT, 60000);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  EXPECT_NE(message.find(L"The file " + Wide(pst) + L" is " + inUse), std::wstring::npos) << Utf8(message);
  EXPECT_EQ(message.find(L"error 32"), std::wstring::npos) << Utf8(message);
  Answer(box, IDOK);
  ::CloseHandle(held);
  EXPECT_EQ(NsfCounts(nsf), counts);
  Close(program, mainWindow);
}

// Another program cuts the PST short while the run reads it: the run stops there and says that it did not
// complete and why, naming the PST; it ticks the first two steps only; what it saved and what it counts
// as not converted add up to every item of the ticked folders.
TEST_F(WizardFailures, APstCutShortDuringTheRunEndsNotCompletedCountingEveryItemNotSaved) {
  StandInHang hang(STOPPED_SAVE);
  ProgramRun program;
  std::string pst;
  HWND mainWindow = StartStoppedRun(program, hang, L"cut", &pst);
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_TRUE(testsupport::CutFileShort(pst, 4096));
  hang.Release();

  HWND box = WaitForMessageBox(program.ProcessId(), NEXT_OR_EXIT, 60000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.find(L"The conversion did not complete. The PST file can no longer be read: "), 0u)
      << Utf8(message);
  EXPECT_NE(message.find(L"PST file: " + Wide(pst)), std::wstring::npos) << Utf8(message);
  EXPECT_EQ(message.find(L"Saving Complete"), std::wstring::npos);
  Screenshot(box, L"wizard_pst_cut_short.png");
  Answer(box, IDOK);
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "done", "current"}));
  EXPECT_EQ(StatusText(mainWindow).find(L"The conversion did not complete."), 0u)
      << Utf8(StatusText(mainWindow));
  const long saved = FiledDocuments(NsfCounts(temp_.File("cut.NSF")));
  EXPECT_GE(saved, 300);
  EXPECT_EQ(saved + NotConvertedItems(message), RUN_ITEMS) << Utf8(message);
  Close(program, mainWindow);
}

// Another program removes the NSF while the run writes it: the run stops soon after, and says that the
// NSF was removed and how many documents saved into it are lost; nothing is left at its name.
TEST_F(WizardFailures, AnNsfRemovedDuringTheRunEndsFailedSayingItsDocumentsAreLost) {
  StandInHang hang(STOPPED_SAVE);
  ProgramRun program;
  std::string pst;
  HWND mainWindow = StartStoppedRun(program, hang, L"removed", &pst);
  ASSERT_NE(mainWindow, nullptr);
  const std::string nsf = temp_.File("removed.NSF");
  for (const char* side : {"", "-wal", "-shm"}) ASSERT_TRUE(RemoveAsHostProgram(nsf + side)) << side;
  hang.Release();

  HWND box = WaitForMessageBox(program.ProcessId(), NEXT_OR_EXIT, 60000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.find(L"The conversion stopped: the NSF file " + Wide(nsf) +
                         L" was removed by another program while it was being written."),
            0u)
      << Utf8(message);
  EXPECT_NE(message.find(L"Another program removed the NSF file " + Wide(nsf) +
                         L" while it was being written: the "),
            std::wstring::npos)
      << Utf8(message);
  // The documents lost with the file and the items not converted make up every item.
  const size_t lostAt = message.find(L"while it was being written: the ");
  ASSERT_NE(lostAt, std::wstring::npos) << Utf8(message);
  const long lost = std::wcstol(message.c_str() + lostAt + 32, nullptr, 10);
  EXPECT_GE(lost, 300) << Utf8(message);
  EXPECT_EQ(lost + NotConvertedItems(message), RUN_ITEMS) << Utf8(message);
  Answer(box, IDOK);
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "done", "current"}));
  EXPECT_FALSE(FileExists(nsf));
  Close(program, mainWindow);
}

// The names in a folder, "." and ".." left out.
std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8(found.cFileName);
    if (name != "." && name != "..") names.insert(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

// A file that fills a disk until `left` bytes of it are free, removed with every other file but the
// small disk's marker when the test ends.
class DiskFiller {
 public:
  DiskFiller(const std::string& folder, ULONGLONG left) : folder_(folder) {
    ULARGE_INTEGER available;
    if (!::GetDiskFreeSpaceExW(Wide(folder + "\\").c_str(), &available, nullptr, nullptr) ||
        available.QuadPart <= left)
      return;
    const HANDLE file = ::CreateFileW(Wide(folder + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::vector<char> zeros(1 << 20);
    ULONGLONG rest = available.QuadPart - left;
    DWORD written = 1;
    while (rest > 0 && written > 0) {
      const DWORD part = static_cast<DWORD>(rest < zeros.size() ? rest : zeros.size());
      if (!::WriteFile(file, zeros.data(), part, &written, nullptr)) break;
      rest -= written;
    }
    ::CloseHandle(file);
    filled_ = rest == 0 && ::GetDiskFreeSpaceExW(Wide(folder + "\\").c_str(), &available, nullptr, nullptr) &&
              available.QuadPart == left;
  }
  ~DiskFiller() {
    for (const std::string& name : FilesIn(folder_))
      if (name != "small-disk") ::DeleteFileW(Wide(folder_ + "\\" + name).c_str());
  }
  DiskFiller(const DiskFiller&) = delete;
  DiskFiller& operator=(const DiskFiller&) = delete;

  bool Filled() const { return filled_; }

 private:
  std::string folder_;
  bool filled_ = false;
};

// A new NSF on a disk with 192 KB free: it is made from the template, and the disk fills with its first
// document. The run says that the disk is full, naming the NSF, and leaves nothing on the disk: not the
// empty NSF, nor a file it was built under, nor any side file.
TEST_F(WizardFailures, ANewNsfOnADiskThatFillsAsItIsMadeEndsSayingSoAndLeavesNothing) {
  const std::string folder = SmallDiskFolder();
  if (folder.empty()) GTEST_SKIP() << "no small disk is mounted";
  const DiskFiller filler(folder, 192 * 1024);
  ASSERT_TRUE(filler.Filled()) << "the small disk could not be filled to 192 KB free";
  const std::string pst = temp_.File("three.pst");
  ASSERT_TRUE(::CopyFileW(Wide(testsupport::FixturePath("pst/hht-three-items.pst")).c_str(),
                          Wide(pst).c_str(), FALSE));
  ProgramRun program;
  HWND mainWindow = Start(program);
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_TRUE(StartConversion(mainWindow, program.ProcessId(), Wide(pst), Wide(folder), L"tiny"));
  HWND folders = WaitForFolderDialog(program.ProcessId());
  ASSERT_NE(folders, nullptr);
  Answer(folders, IDOK);

  HWND box = WaitForMessageBox(program.ProcessId(), NEXT_OR_EXIT, 60000);
  ASSERT_NE(box, nullptr) << Utf8(StatusText(mainWindow));
  const std::wstring message = MessageBoxText(box);
  const std::string nsf = folder + "\\tiny.NSF";
  EXPECT_NE(message.find(L"The disk is full"), std::wstring::npos) << Utf8(message);
  EXPECT_NE(message.find(Wide(nsf)), std::wstring::npos) << Utf8(message);
  Screenshot(box, L"wizard_new_nsf_disk_full.png");
  Answer(box, IDOK);
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "done", "current"}));
  EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"filler", "small-disk"}));
  Close(program, mainWindow);
}

// The disk fills during the run: the run stops and says so, naming the NSF; the folders it did not reach
// are counted with their items, the folder where the disk filled with what it did not save, and what
// the NSF holds and what the message counts add up to every item.
TEST_F(WizardFailures, ADiskThatFillsDuringTheRunEndsFailedCountingEveryItemNotSaved) {
  const std::string folder = SmallDiskFolder();
  if (folder.empty()) GTEST_SKIP() << "no small disk is mounted";
  const std::string nsf = folder + "\\full.NSF";
  for (const char* side : {"", "-wal", "-shm"}) ::DeleteFileW(Wide(nsf + side).c_str());

  // Twice the disk's 4 MB in attachments, so that it fills about half-way through.
  const int items = 300;
  ProgramRun program;
  HWND mainWindow = nullptr;
  HWND box = nullptr;
  ConvertBulk(program, items, "--folders 3 --attachment-bytes " + std::to_string(8 * 1024 * 1024 / items),
              folder, L"full", &mainWindow, &box);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.find(L"The conversion stopped: " + Wide(nsf) + L" cannot be written. The disk is full"),
            0u)
      << Utf8(message);
  Screenshot(box, L"wizard_disk_full.png");
  Answer(box, IDOK);
  EXPECT_EQ(StepsAfterTheRun(mainWindow), (Steps{"done", "done", "current"}));
  const long saved = FiledDocuments(NsfCounts(nsf));
  EXPECT_GT(saved, 0);
  EXPECT_LT(saved, items);
  EXPECT_EQ(saved + NotConvertedItems(message), items) << Utf8(message);
  Close(program, mainWindow);
  for (const char* side : {"", "-wal", "-shm"}) ::DeleteFileW(Wide(nsf + side).c_str());
}

// The disk fills before the first of the run's documents is made safe in the file: nothing is saved, the
// new NSF is removed, and no contact is said to be saved without its attachments; every item is counted
// as not converted.
TEST_F(WizardFailures, ADiskThatFillsBeforeAnythingIsSavedCountsNoContactAsSavedWithoutItsAttachments) {
  const std::string folder = SmallDiskFolder();
  if (folder.empty()) GTEST_SKIP() << "no small disk is mounted";
  const std::string nsf = folder + "\\first.NSF";
  for (const char* side : {"", "-wal", "-shm"}) ::DeleteFileW(Wide(nsf + side).c_str());

  // One folder of every kind mixed, one contact in eight, with more attachments than the disk holds.
  const int items = 600;
  ProgramRun program;
  HWND mainWindow = nullptr;
  HWND box = nullptr;
  ConvertBulk(program, items, "--folders 1 --attachment-bytes 16384", folder, L"first", &mainWindow, &box);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.find(L"The conversion stopped: " + Wide(nsf) + L" cannot be written. The disk is full"),
            0u)
      << Utf8(message);
  EXPECT_NE(message.find(L"the new NSF file " + Wide(nsf) + L" held no document and was removed."),
            std::wstring::npos)
      << Utf8(message);
  EXPECT_EQ(message.find(L"saved without"), std::wstring::npos) << Utf8(message);
  EXPECT_NE(message.find(L"Not converted: 0 folder(s), 600 item(s) and 0 attachment(s)"), std::wstring::npos);
  EXPECT_EQ(NotConvertedItems(message), items) << Utf8(message);
  Answer(box, IDOK);
  EXPECT_FALSE(FileExists(nsf));
  Close(program, mainWindow);
  for (const char* side : {"", "-wal", "-shm"}) ::DeleteFileW(Wide(nsf + side).c_str());
}

}  // namespace
