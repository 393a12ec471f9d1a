// Session, store collection and store of the "Redemption.RDOSession" stand-in.
#include "RdoSession.h"

#include "RdoFolder.h"

namespace automation {

RdoSession::RdoSession(PstOpener opener) : state_(std::make_shared<RdoSessionState>()) {
  state_->faults = StandInFaults::FromEnvironment();
  state_->opener = std::move(opener);
  if (state_->faults.Has("rdo.create")) RaiseInjectedFault("rdo.create");
}

const std::vector<DispatchMember>& RdoSession::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x2, kGet, L"LoggedOn", 0, 0},
      {0x4, kMethod, L"Logon", 0, 6},
      {0x6, kGet, L"Stores", 0, 0},
      {0x12, kMethod, L"Logoff", 0, 0},
  };
  return kMembers;
}

void RdoSession::Call(const DispatchMember& member, const DispatchArgs&, VARIANT* result) {
  switch (member.id) {
    case 0x2:
      SetBoolean(result, state_->loggedOn);
      return;
    case 0x4:
      // Profile, password and the dialog flags mean nothing here: there is one profile, no dialog.
      if (state_->faults.Has("rdo.logon")) RaiseInjectedFault("rdo.logon");
      state_->loggedOn = true;
      return;
    case 0x6:
      if (state_->faults.Has("rdo.stores")) RaiseInjectedFault("rdo.stores");
      if (!state_->loggedOn) throw DispatchError(L"the session is not logged on");
      SetObject(result, new RdoStores(state_));
      return;
    case 0x12:
      state_->loggedOn = false;
      return;
  }
}

const std::vector<DispatchMember>& RdoStores::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x5, kMethod, L"AddPSTStore", 1, 3},
  };
  return kMembers;
}

// The format and encryption arguments are accepted and ignored: the file says what it is.
void RdoStores::Call(const DispatchMember&, const DispatchArgs& args, VARIANT* result) {
  if (session_->faults.Has("rdo.addpststore")) RaiseInjectedFault("rdo.addpststore");
  if (!session_->loggedOn) throw DispatchError(L"the session is not logged on");
  std::wstring path = args.Text(0);
  if (path.empty()) throw DispatchError(L"No personal folders file was named");
  if (!session_->opener) throw DispatchError(L"No PST reader is available");
  auto store = std::make_shared<RdoStoreState>();
  store->file = session_->opener(path);
  if (!store->file) throw DispatchError(L"The file " + path + L" cannot be opened");
  store->name = ToWide(store->file->DisplayName());
  // The root folder handed out is the IPM subtree, whose children are what a user sees (Inbox,
  // Calendar, ...), not the store's hidden root with its search and view folders: the engine lists
  // the root's children as the top level of its folder paths.
  std::shared_ptr<PstFolder> top = store->file->IpmSubtree();
  if (!top) throw DispatchError(L"The file has no top of personal folders");
  store->root = FolderNode::FromSource(std::move(top));
  SetObject(result, new RdoStore(RdoContext{session_, store}));
}

const std::vector<DispatchMember>& RdoStore::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0xA, kGet, L"Name", 0, 0},
      {0xA, kPut, L"Name", 0, 0},
      {0x68, kGet, L"RootFolder", 0, 0},
      {0x6, kMethod, L"Save", 0, 0},
  };
  return kMembers;
}

void RdoStore::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  switch (member.id) {
    case 0xA:
      if (member.kind == kPut)
        context_.store->name = args.PutText();  // the file keeps its own name
      else
        SetText(result, context_.store->name);
      return;
    case 0x68:
      SetObject(result, new RdoFolder(context_, context_.store->root));
      return;
    case 0x6:
      return;  // nothing to save: the stand-in never writes to the file
  }
}

}  // namespace automation
