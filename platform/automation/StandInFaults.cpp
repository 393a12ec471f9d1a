// STANDIN_FAULTS parsing and the injected failures.
#include "StandInFaults.h"

#include "DispatchObject.h"

#include <windows.h>

#include <cstdlib>

namespace automation {

namespace {
std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}
}  // namespace

StandInFaults::StandInFaults(const std::string& faultList) {
  size_t start = 0;
  while (start <= faultList.size()) {
    size_t comma = faultList.find(',', start);
    std::string entry =
        Trim(faultList.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!entry.empty()) {
      size_t eq = entry.find('=');
      if (eq == std::string::npos) {
        keys_.insert(entry);
      } else {
        std::string key = Trim(entry.substr(0, eq));
        char* end = nullptr;
        std::string number = Trim(entry.substr(eq + 1));
        long n = std::strtol(number.c_str(), &end, 10);
        // A malformed count names no call rather than every call.
        if (!number.empty() && end && *end == '\0' && n > 0) targets_[key] = n;
      }
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

StandInFaults StandInFaults::FromEnvironment() {
  // The process environment itself, not a C runtime's copy of it taken when this module loaded.
  char buffer[1024];
  DWORD n = GetEnvironmentVariableA("STANDIN_FAULTS", buffer, sizeof buffer);
  return StandInFaults(n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string());
}

bool StandInFaults::CountCall(const std::string& key) {
  auto target = targets_.find(key);
  if (target == targets_.end()) return false;
  return ++calls_[key] == target->second;
}

void RaiseInjectedFault(const std::string& key) {
  std::wstring wide(key.begin(), key.end());
  throw DispatchError(L"injected failure (STANDIN_FAULTS " + wide + L")");
}

}  // namespace automation
