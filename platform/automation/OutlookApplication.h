// The "Outlook.Application" stand-in: only what registering a PST with the mail profile takes. The
// namespace checks that AddStore names a readable PST or OST file and changes nothing.
#pragma once

#include "DispatchObject.h"
#include "StandInFaults.h"

#include <memory>

namespace automation {

constexpr const wchar_t kOutlookProgId[] = L"Outlook.Application";

// The object behind OutlookApplicationDispatch.
class OutlookApplication : public DispatchObject {
 public:
  // Faults are read from the environment here. Throws DispatchError for STANDIN_FAULTS outlook.create.
  OutlookApplication();

 protected:
  const std::vector<DispatchMember>& Members() const override;
  const wchar_t* Source() const override { return kOutlookProgId; }
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  std::shared_ptr<StandInFaults> faults_;
};

// The object behind OutlookNameSpaceDispatch ("MAPI").
class OutlookNameSpace : public DispatchObject {
 public:
  explicit OutlookNameSpace(std::shared_ptr<StandInFaults> faults) : faults_(std::move(faults)) {}

 protected:
  const std::vector<DispatchMember>& Members() const override;
  const wchar_t* Source() const override { return kOutlookProgId; }
  void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) override;

 private:
  std::shared_ptr<StandInFaults> faults_;
};

// Checks that `path` names a file that opens for reading and starts like a PST or OST file.
// Throws DispatchError saying what is wrong.
void CheckPersonalFoldersFile(const std::wstring& path);

}  // namespace automation
