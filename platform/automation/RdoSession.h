// The objects of "Redemption.RDOSession" down to the store: the session, its store collection and
// an added PST store. Read-only: nothing the caller does through them reaches the file.
#pragma once

#include "DispatchObject.h"
#include "RdoContext.h"

namespace automation {

// The object behind RdoSessionDispatch: log-on state and the store collection.
class RdoSession : public RdoObject {
 public:
  // Faults are read from the environment here. Throws DispatchError for STANDIN_FAULTS rdo.create.
  explicit RdoSession(PstOpener opener);

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  std::shared_ptr<RdoSessionState> state_;
};

// The object behind RdoStoresDispatch.
class RdoStores : public RdoObject {
 public:
  explicit RdoStores(std::shared_ptr<RdoSessionState> session) : session_(std::move(session)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  std::shared_ptr<RdoSessionState> session_;
};

// The object behind RdoStoreDispatch.
class RdoStore : public RdoObject {
 public:
  explicit RdoStore(RdoContext context) : context_(std::move(context)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  RdoContext context_;
};

}  // namespace automation
