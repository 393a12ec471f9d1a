// State shared by the objects of one "Redemption.RDOSession": the session's log-on state and fault
// seam, each added store, and the folder tree as the session sees it (the PST's folders plus
// folders added in memory).
#pragma once

#include "DispatchObject.h"
#include "PstSource.h"
#include "StandInFaults.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace automation {

constexpr const wchar_t kRdoProgId[] = L"Redemption.RDOSession";

// Opens a PST for AddPstStore; the real reader by default, a fake in tests.
using PstOpener = std::function<std::unique_ptr<PstStore>(const std::wstring& path)>;

struct RdoSessionState {
  StandInFaults faults;
  PstOpener opener;
  bool loggedOn = false;
};

// One folder as the session sees it. Children are read from the file once, in stored order (a
// failed read is tried again next time); a folder added through Folders.Add lives only here, for
// as long as the session's objects do.
struct FolderNode {
  std::shared_ptr<PstFolder> source;  // null for a folder added in memory
  std::wstring name;
  std::wstring containerClass;
  // Why the folder cannot be read, for a folder that the file lists but whose own data is damaged:
  // its name, items and sub-folders then fail with this text. Empty for a readable folder.
  std::wstring unreadable;
  bool childrenRead = false;
  std::vector<std::shared_ptr<FolderNode>> children;

  using Ptr = std::shared_ptr<FolderNode>;
  static Ptr FromSource(std::shared_ptr<PstFolder> folder);
  const std::vector<Ptr>& Children();
};

// An added store: the open file (kept open by every object that reads from it) and its name,
// which a put changes in memory only.
struct RdoStoreState {
  std::unique_ptr<PstStore> file;
  std::wstring name;
  std::shared_ptr<FolderNode> root;
};

struct RdoContext {
  std::shared_ptr<RdoSessionState> session;
  std::shared_ptr<RdoStoreState> store;
};

// Every object of the session names the session's ProgID as the source of its failures.
class RdoObject : public DispatchObject {
 protected:
  const wchar_t* Source() const override { return kRdoProgId; }
};

inline std::wstring ToWide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace automation
