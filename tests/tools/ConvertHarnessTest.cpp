// The conversion harness on every fixture PST: it must report no loss, and the documents of every Notes
// folder (nsfdump counts) must equal the items of the PST folder (pstdump counts, read by the PST reader
// directly rather than through automation).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "HarnessReport.h"
#include "PstRecipe.h"
#include "PstWriter.h"
#include "Recipes.h"
#include "TestFiles.h"
#include "TestProcess.h"

namespace {

namespace pb = pstbuilder;
using testsupport::Utf8;
using testsupport::Wide;

// A program beside this test, run with arguments; its exit code and standard output.
DWORD RunProgram(const std::string& program, const std::string& arguments, std::string* output) {
  return testsupport::RunProgram("\"" + testsupport::SiblingProgramPath(program) + "\" " + arguments, output);
}

// Items per folder: nsfdump gives "<count> TAB <form> TAB <folder>", pstdump "<count> TAB <class> TAB
// <path>"; both are summed over the middle column.
std::map<std::string, long> CountsByFolder(const std::string& text) {
  std::map<std::string, long> counts;
  for (const auto& row : testsupport::TabSeparatedRows(text))
    if (row.size() == 3) counts[row[2]] += std::stol(row[0]);
  return counts;
}

// The Notes folder a PST reader path stands for, given the path of the folder the conversion treats as
// its top (the IPM subtree); empty when the path lies outside it.
std::string NotesFolderOf(const std::string& path, const std::string& top) {
  if (path == top) return "Outlook";
  if (path.compare(0, top.size() + 1, top + "/") != 0) return std::string();
  std::string rest = path.substr(top.size() + 1);
  for (char& c : rest)
    if (c == '/') c = '\\';
  return "Outlook\\" + rest;
}

// Whether the PST reader's counts, read below top, are the Notes folders' counts.
bool SameCounts(const std::map<std::string, long>& pst, const std::map<std::string, long>& nsf,
                const std::string& top) {
  std::map<std::string, long> mapped;
  for (const auto& entry : pst) {
    const std::string folder = NotesFolderOf(entry.first, top);
    if (!folder.empty()) mapped[folder] += entry.second;
  }
  std::map<std::string, long> filed;
  for (const auto& entry : nsf)
    if (!entry.first.empty()) filed[entry.first] = entry.second;
  return mapped == filed;
}

// The harness on pst into nsf, held in its 300th save while during() runs, as another program acts on the
// files then; its exit code, its report and its standard error.
DWORD RunHeldInASave(const std::string& pst, const std::string& nsf, const std::function<void()>& during,
                     std::string* report, std::string* errors) {
  const std::wstring release = L"BrindleHarnessHold-" + std::to_wstring(::GetCurrentProcessId());
  const HANDLE released = ::CreateEventW(nullptr, TRUE, FALSE, release.c_str());
  const HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, (release + L"-stopped").c_str());
  testsupport::TempDir dir;
  const std::string errorFile = dir.File("errors.txt");
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const HANDLE errorHandle = ::CreateFileW(Wide(errorFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                           &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE ourErrors = ::GetStdHandle(STD_ERROR_HANDLE);
  ::SetStdHandle(STD_ERROR_HANDLE, errorHandle);
  ::SetEnvironmentVariableA("STANDIN_HANG", "notes.save=300");
  ::SetEnvironmentVariableW(L"STANDIN_HANG_RELEASE", release.c_str());
  DWORD code = 0xFFFFFFFF;
  std::thread harness(
      [&] { code = RunProgram("convert-harness.exe", "\"" + pst + "\" \"" + nsf + "\"", report); });
  const bool wasHeld = ::WaitForSingleObject(held, 120000) == WAIT_OBJECT_0;
  ::SetStdHandle(STD_ERROR_HANDLE, ourErrors);
  ::SetEnvironmentVariableA("STANDIN_HANG", nullptr);
  ::SetEnvironmentVariableA("STANDIN_HANG_RELEASE", nullptr);
  EXPECT_TRUE(wasHeld) << "the harness did not come to its 300th save";
  if (wasHeld) during();
  ::SetEvent(released);
  harness.join();
  ::CloseHandle(errorHandle);
  ::CloseHandle(held);
  ::CloseHandle(released);
  *errors = testsupport::ReadFileBytes(errorFile);
  return code;
}

// The items the report's "not converted" lines stand for, one for an item, its count for items and folders.
long NotConvertedItems(const std::string& report) {
  long items = 0;
  for (const auto& row : testsupport::TabSeparatedRows(report)) {
    if (row.size() < 6 || row[0] != "not converted") continue;
    if (row[1] == "item") ++items;
    if ((row[1] == "items" || row[1] == "folder") && row[5].compare(0, 6, "items ") == 0)
      items += std::stol(row[5].substr(6));
  }
  return items;
}

// A bulk PST of 2,000 items in four folders at path.
void WriteBulkPst(const std::string& path) {
  pb::BulkOptions bulk;
  bulk.messages = 2000;
  bulk.folders = 4;
  pb::WritePst(pb::BulkStore(bulk), path);
}

std::vector<std::string> FixtureFiles() {
  std::vector<std::string> files;
  const std::string dir = testsupport::FixturePath("pst");
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((Wide(dir) + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = Utf8(found.cFileName);
    const std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : std::string();
    if (ext == ".pst" || ext == ".ost") files.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return files;
}

}  // namespace

TEST(ConvertHarness, EveryFixtureConvertsWithADocumentPerItemInEachFolder) {
  const std::vector<std::string> files = FixtureFiles();
  ASSERT_FALSE(files.empty());
  testsupport::TempDir dir;
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    const std::string pst = testsupport::FixturePath("pst/" + name);
    const std::string nsf = dir.File(name + ".nsf");
    std::string report, pstCounts, nsfCounts;
    const DWORD code = RunProgram("convert-harness.exe", "\"" + pst + "\" \"" + nsf + "\"", &report);
    EXPECT_TRUE(code == 0 || (code == 1 && testsupport::HarnessLostOnlyKnownLosses(report))) << report;
    for (const auto& row : testsupport::TabSeparatedRows(report)) {
      if (row.size() == 5) {
        EXPECT_EQ(row[0], row[1]) << row[4];
      }
    }
    ASSERT_EQ(0u, RunProgram("pstdump.exe", "counts \"" + pst + "\"", &pstCounts));
    ASSERT_EQ(0u, RunProgram("nsfdump.exe", "counts \"" + nsf + "\"", &nsfCounts));
    const std::map<std::string, long> pstByFolder = CountsByFolder(pstCounts);
    const std::map<std::string, long> nsfByFolder = CountsByFolder(nsfCounts);
    // The top is the reader path whose sub-paths line up with the Notes folders: the first one or two
    // levels, depending on how the file keeps its IPM subtree.
    bool matched = pstByFolder.empty() && nsfByFolder.empty();
    for (const auto& entry : pstByFolder) {
      std::string top;
      size_t slash = 0;
      while (!matched) {
        slash = entry.first.find('/', slash ? slash + 1 : 0);
        top = entry.first.substr(0, slash);
        matched = SameCounts(pstByFolder, nsfByFolder, top);
        if (slash == std::string::npos) break;
      }
      if (matched) break;
    }
    EXPECT_TRUE(matched) << "pstdump:\n" << pstCounts << "nsfdump:\n" << nsfCounts << "harness:\n" << report;
  }
}

TEST(ConvertHarness, LostItemFailsTheRunAndIsListedWithItsReason) {
  testsupport::TempDir dir;
  const std::string pst = testsupport::FixturePath("pst/hht-three-items.pst");
  std::string report;
  // The stand-in fails the first item fetch of the run, the conversion's own fetch of the top folder's
  // item: the harness reads the items back only after each folder was converted.
  SetEnvironmentVariableA("STANDIN_FAULTS", "rdo.item=1");
  const DWORD code =
      RunProgram("convert-harness.exe", "\"" + pst + "\" \"" + dir.File("out.nsf") + "\"", &report);
  SetEnvironmentVariableA("STANDIN_FAULTS", nullptr);
  EXPECT_EQ(1u, code) << report;
  EXPECT_NE(std::string::npos, report.find("1\t0\t0\t0\tOutlook\n")) << report;
  EXPECT_NE(std::string::npos, report.find("not converted\titem\t\t1\t")) << report;
  EXPECT_NE(std::string::npos, report.find("rdo.item")) << report;
}

TEST(ConvertHarness, ARepeatingAppointmentIsListedWithItsReasonAndCounted) {
  testsupport::TempDir dir;
  const std::string pst = testsupport::FixturePath("pst/javalibpst-dist-list.pst");
  std::string report;
  EXPECT_EQ(1u, RunProgram("convert-harness.exe", "\"" + pst + "\" \"" + dir.File("out.nsf") + "\"", &report))
      << report;
  EXPECT_NE(
      std::string::npos,
      report.find("not converted\trecurrence\tCalendar\\\t1\tTest appointment\t\tOnly the first occurrence"))
      << report;
  EXPECT_NE(std::string::npos,
            report.find("Not converted: 0 folder(s), 0 item(s), 0 attachment(s) and 1 recurrence(s)\n"))
      << report;
  EXPECT_TRUE(testsupport::HarnessLostOnlyKnownLosses(report)) << report;
}

TEST(ConvertHarness, FileThatIsNoPstEndsWithCodeTwo) {
  testsupport::TempDir dir;
  const std::string notPst = testsupport::FixturePath("pst/README.md");
  std::string report;
  EXPECT_EQ(2u,
            RunProgram("convert-harness.exe", "\"" + notPst + "\" \"" + dir.File("out.nsf") + "\"", &report));
  EXPECT_TRUE(report.empty()) << report;
}

TEST(ConvertHarness, SiblingFoldersOfOneNameGoWholeIntoTheirOneNotesFolder) {
  testsupport::TempDir dir;
  const pb::Store store = pb::SiblingFoldersStore();
  const std::string pst = dir.File("twins.pst");
  pb::WritePst(store, pst);
  const std::string nsf = dir.File("twins.nsf");
  std::string report, nsfCounts;
  EXPECT_EQ(0u, RunProgram("convert-harness.exe", "\"" + pst + "\" \"" + nsf + "\"", &report)) << report;
  EXPECT_NE(std::string::npos, report.find("5\t5\t0\t0\tOutlook\\Inbox\\Projects\n")) << report;
  EXPECT_NE(std::string::npos, report.find("2\t2\t0\t0\tOutlook\\Inbox\\Projects\\Old\n")) << report;
  ASSERT_EQ(0u, RunProgram("nsfdump.exe", "counts \"" + nsf + "\"", &nsfCounts));
  const std::map<std::string, long> filed = CountsByFolder(nsfCounts);
  EXPECT_EQ(5, filed.at("Outlook\\Inbox\\Projects")) << nsfCounts;
  EXPECT_EQ(2, filed.at("Outlook\\Inbox\\Projects\\Old")) << nsfCounts;
}

TEST(ConvertHarness, ListsGoWholeIntoTheirMemosAndAMemberThatCannotBeReadIsNamed) {
  testsupport::TempDir dir;
  pb::Store store;
  pb::Folder& contacts = store.AddFolder("Contacts", "IPF.Contact");
  pb::Message team;
  team.DistList("Team",
                {pb::OneOffEntryId("Ann Lee", "SMTP", "ann@example.org"),
                 pb::OneOffEntryId("Bob Roe", "SMTP", "bob@example.org")},
                {});
  team.Body("Meets on Mondays");
  contacts.messages.push_back(team);
  const std::string whole = dir.File("whole.pst");
  pb::WritePst(store, whole);
  std::string report;
  EXPECT_EQ(0u,
            RunProgram("convert-harness.exe", "\"" + whole + "\" \"" + dir.File("whole.nsf") + "\"", &report))
      << report;
  EXPECT_NE(std::string::npos, report.find("1\t1\t0\t0\tOutlook\\Contacts\n")) << report;

  // The second member's entry is damaged and the list keeps no copy of it.
  pb::Message broken;
  broken.DistList("Broken", {pb::OneOffEntryId("Cy Dee", "SMTP", "cy@example.org"), {0, 0, 0, 0, 1, 2, 3}},
                  {});
  store.Find("Contacts")->messages.push_back(broken);
  const std::string damaged = dir.File("damaged.pst");
  pb::WritePst(store, damaged);
  EXPECT_EQ(1u, RunProgram("convert-harness.exe", "\"" + damaged + "\" \"" + dir.File("damaged.nsf") + "\"",
                           &report))
      << report;
  EXPECT_NE(std::string::npos, report.find("2\t2\t0\t0\tOutlook\\Contacts\n")) << report;
  EXPECT_NE(
      std::string::npos,
      report.find("not converted\tmember\tContacts\\\t2\tBroken\tmember 2\tThe member's entry in the list is "
                  "damaged\n"))
      << report;
  EXPECT_NE(std::string::npos,
            report.find("Not converted: 0 folder(s), 0 item(s), 0 attachment(s) and 1 list member(s)\n"))
      << report;
  // The harness found the other members in the memos: no other line names a loss.
  EXPECT_EQ(std::string::npos, report.find("is not in its memo's body")) << report;
}

// Another program removes the NSF while the harness writes it: the harness says how many documents of the
// run were lost with it, and those and the items it reports as not converted add up to every item.
TEST(ConvertHarness, AnNsfRemovedDuringTheRunCountsTheDocumentsLostWithIt) {
  testsupport::TempDir dir;
  const std::string pst = dir.File("bulk.pst");
  WriteBulkPst(pst);
  const std::string nsf = dir.File("removed.nsf");
  std::string report, errors;
  const DWORD code = RunHeldInASave(
      pst, nsf,
      [&] {
        for (const char* side : {"", "-wal", "-shm"}) testsupport::RemoveAsHostProgram(nsf + side);
      },
      &report, &errors);
  EXPECT_EQ(1u, code) << report << errors;
  EXPECT_NE(std::string::npos, errors.find("was removed by another program while it was being written"))
      << errors;
  const std::string counted = ": ";
  const size_t line = errors.find(" documents of this run lost with it");
  ASSERT_NE(std::string::npos, line) << errors;
  const size_t start = errors.rfind(counted, line) + counted.size();
  const long lost = std::stol(errors.substr(start, line - start));
  EXPECT_GE(lost, 300);
  EXPECT_EQ(2000, lost + NotConvertedItems(report)) << report << errors;
}

// The PST cut short while the harness converts it: each folder not begun after that says why, with the
// items the PST says it holds.
TEST(ConvertHarness, EveryFolderLeftAfterThePstFailedGivesTheReason) {
  testsupport::TempDir dir;
  const std::string pst = dir.File("bulk.pst");
  WriteBulkPst(pst);
  std::string report, errors;
  EXPECT_EQ(1u, RunHeldInASave(
                    pst, dir.File("cut.nsf"), [&] { EXPECT_TRUE(testsupport::CutFileShort(pst, 4096)); },
                    &report, &errors))
      << report << errors;
  EXPECT_EQ(std::string::npos, report.find("cannot be created: \n")) << report;
  EXPECT_NE(std::string::npos,
            report.find("\t-\t\tThe conversion stopped. The PST file can no longer be read"))
      << report;
  EXPECT_NE(std::string::npos, report.find("not converted\tfolder\tBulk\\Folder 0004\\\t0\t\titems 500\t"))
      << report;
}
