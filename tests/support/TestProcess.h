// Windows test helpers for text and child programs: UTF-8 and UTF-16 conversion, the path of a program
// built beside the running test, running a program with its standard output captured, and the memory
// this process holds.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// The UTF-8 path of `exe` in the directory of the running test program.
std::string SiblingProgramPath(const std::string& exe);

// CreateProcessW, tried again a few times when Wine reports an internal error: under a heavy load its
// start of a new process can fail that way and succeed a moment later.
BOOL CreateProcessRetrying(LPWSTR commandLine, BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                           LPCWSTR currentDirectory, STARTUPINFOW* startupInfo,
                           PROCESS_INFORMATION* processInfo);

// Runs `commandLine` (UTF-8) to its end and returns its exit code, or 0xFFFFFFFF when it could not be
// started. Its standard output goes to `output` when given; standard error and input are ours.
// `extraEnvironment` ("NAME=value") is added to the child's environment when not empty.
DWORD RunProgram(const std::string& commandLine, std::string* output = nullptr,
                 const std::string& extraEnvironment = std::string());

// The bytes of the blocks in use in every heap of this process (the C runtime's among them): what the
// process holds, apart from the size the heaps keep free for later requests.
size_t HeapBytesInUse();

// The description of thread threadId of any process ("" when it has none, or where the system keeps
// none).
std::wstring ThreadDescription(DWORD threadId);

// Polls `done`, without dispatching messages, until it holds or timeoutMs has passed; its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Removes the file as a program of the host system does, which the share mode of the program that has it
// open does not keep from it (a platform such as the one the tests run on lets it): through the host's
// rm. True once the file is gone.
bool RemoveAsHostProgram(const std::string& path);

// A tool's output read as lines of TAB-separated fields.
std::vector<std::vector<std::string>> TabSeparatedRows(const std::string& text);

}  // namespace testsupport
