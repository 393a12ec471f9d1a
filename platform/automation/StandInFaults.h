// The fault seam shared by the stand-in servers: STANDIN_FAULTS names calls that must fail, so that
// the engine's failure paths can be driven end to end. Read once when a server object is created;
// the program itself never sets it.
#pragma once

#include <map>
#include <set>
#include <string>

namespace automation {

// Keys are comma-separated; "key" fails every matching call, "key=<n>" only the n-th (1-based).
// Keys of other stand-ins pass through unnoticed.
class StandInFaults {
 public:
  StandInFaults() = default;
  explicit StandInFaults(const std::string& faultList);
  static StandInFaults FromEnvironment();

  bool Has(const std::string& key) const { return keys_.count(key) != 0; }
  // Counts one call of `key`; true when this is the call the seam names.
  bool CountCall(const std::string& key);
  // The number given as "key=<n>", for keys whose number is a place rather than a call; 0 when none.
  long Number(const std::string& key) const {
    auto target = targets_.find(key);
    return target == targets_.end() ? 0 : target->second;
  }

 private:
  std::set<std::string> keys_;
  std::map<std::string, long> targets_;
  std::map<std::string, long> calls_;
};

// The exception of an injected failure; it names its key.
[[noreturn]] void RaiseInjectedFault(const std::string& key);

}  // namespace automation
