// Folders of the "Redemption.RDOSession" stand-in: a folder, a folder's sub-folder collection (walked
// with GetFirst/GetNext) and its item collection (normal contents only, 1-based, stored order).
#pragma once

#include "DispatchObject.h"
#include "RdoContext.h"

namespace automation {

// The object behind RdoFolderDispatch.
class RdoFolder : public RdoObject {
 public:
  RdoFolder(RdoContext context, FolderNode::Ptr node)
      : context_(std::move(context)), node_(std::move(node)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  RdoContext context_;
  FolderNode::Ptr node_;
};

// The object behind RdoFoldersDispatch. The walk position belongs to this collection object.
class RdoFolders : public RdoObject {
 public:
  RdoFolders(RdoContext context, FolderNode::Ptr parent)
      : context_(std::move(context)), parent_(std::move(parent)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  IDispatch* FolderAt(size_t index);
  RdoContext context_;
  FolderNode::Ptr parent_;
  size_t next_ = 0;
};

// The object behind RdoItemsDispatch. Every Item call reads the message anew.
class RdoItems : public RdoObject {
 public:
  RdoItems(RdoContext context, FolderNode::Ptr folder)
      : context_(std::move(context)), folder_(std::move(folder)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  size_t Count();
  RdoContext context_;
  FolderNode::Ptr folder_;
};

}  // namespace automation
