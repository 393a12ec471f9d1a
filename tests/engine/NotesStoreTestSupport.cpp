// Helpers of the engine tests.
#include "NotesStoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace enginetest {
namespace {

std::string LibraryPath() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(GetModuleHandleW(L"lcppn30i.dll"), buf, MAX_PATH * 2);
  return Utf8(std::wstring(buf, n));
}

}  // namespace

std::string MessageOf(LNSTATUS status) {
  char buf[512];
  LNGetErrorMessageText(status, buf, sizeof buf, 0);
  return buf;
}

void MakeDatabase(const std::string& templateFile, const std::string& path, const std::string& title) {
  LNNotesSession session;
  LNCreateDatabaseOptions options;
  options.SetTitle(Ln(title));
  ASSERT_EQ(LNNOERROR, session.CreateDatabaseFromTemplate(Ln(templateFile), "", Ln(path), "", options));
}

PrivateInstallation::PrivateInstallation(const std::string& serverLines) {
  EXPECT_TRUE(CopyFileW(Wide(LibraryPath()).c_str(), Wide(dir_.File("lcppn30i.dll")).c_str(), FALSE));
  EXPECT_TRUE(CopyFileW(Wide(testsupport::SiblingProgramPath("engine_store_helper.exe")).c_str(),
                        Wide(dir_.File("engine_store_helper.exe")).c_str(), FALSE));
  CreateDirectoryW(Wide(Data()).c_str(), nullptr);
  std::ofstream config(std::filesystem::path(Wide(dir_.File("notes.cfg"))), std::ios::binary);
  config << "Directory=data\r\n";
  size_t start = 0;
  while (start < serverLines.size()) {
    const size_t end = std::min(serverLines.find(';', start), serverLines.size());
    config << "Server=" << serverLines.substr(start, end - start) << "\r\n";
    start = end + 1;
  }
}

DWORD PrivateInstallation::Run(const std::string& arguments, std::string* output,
                               const std::string& extraEnv) const {
  return testsupport::RunProgram("\"" + dir_.File("engine_store_helper.exe") + "\" " + arguments, output, extraEnv);
}

std::string ValueOf(const std::string& output, const std::string& key) {
  const std::string marker = key + "=";
  size_t at = 0;
  while (at < output.size()) {
    size_t end = output.find('\n', at);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, marker.size(), marker) == 0) return line.substr(marker.size());
    at = end + 1;
  }
  return "<missing>";
}

}  // namespace enginetest
