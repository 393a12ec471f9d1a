// Self-registration of the server DLL, run against a stand-in HKEY_LOCAL_MACHINE so that the
// prefix's own registration is never touched: both ProgIDs with apartment threading, and a ProgID
// that another server owns left to that server.
#include "DispatchHelpers.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include <filesystem>

using namespace automationtest;

namespace {

const wchar_t kForeignClsid[] = L"{00000000-1111-2222-3333-444444444444}";

std::wstring Read(HKEY root, const std::wstring& key, const wchar_t* value = nullptr) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<none>";
  return buffer;
}

class Registration : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll = std::filesystem::path(self).parent_path().wstring() + L"\\AutomationStandIns.dll";
    module_ = LoadLibraryW(dll.c_str());
    ASSERT_TRUE(module_);
    // Through void(*)(): the exports' real type is not FARPROC's.
    registerServer_ = reinterpret_cast<HRESULT(__stdcall*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllRegisterServer")));
    unregisterServer_ = reinterpret_cast<HRESULT(__stdcall*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllUnregisterServer")));
    ASSERT_TRUE(registerServer_ && unregisterServer_);
    keyPath_ = L"Software\\BrindleAutomationTest-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &machine_, nullptr));
    if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_) != ERROR_SUCCESS)
      GTEST_SKIP() << "this system cannot redirect HKEY_LOCAL_MACHINE for a test";
    overridden_ = true;
  }
  void TearDown() override {
    if (overridden_) RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (machine_) {
      RegCloseKey(machine_);
      RegDeleteTreeW(HKEY_CURRENT_USER, keyPath_.c_str());
    }
    if (module_) FreeLibrary(module_);
  }
  HKEY Classes() const { return machine_; }

  HMODULE module_ = nullptr;
  HRESULT(__stdcall* registerServer_)() = nullptr;
  HRESULT(__stdcall* unregisterServer_)() = nullptr;
  std::wstring keyPath_;
  HKEY machine_ = nullptr;
  bool overridden_ = false;
};

TEST_F(Registration, RegistersBothProgIdsAsApartmentServers) {
  ASSERT_EQ(S_OK, registerServer_());
  for (const wchar_t* progId : {L"Outlook.Application", L"Redemption.RDOSession"}) {
    std::wstring clsid = Read(Classes(), std::wstring(L"Software\\Classes\\") + progId + L"\\CLSID");
    ASSERT_NE(L"<none>", clsid) << progId;
    std::wstring server = L"Software\\Classes\\CLSID\\" + clsid + L"\\InprocServer32";
    EXPECT_EQ(L"Apartment", Read(Classes(), server, L"ThreadingModel"));
    EXPECT_NE(std::wstring::npos, Read(Classes(), server).find(L"AutomationStandIns.dll"));
    EXPECT_EQ(progId, Read(Classes(), L"Software\\Classes\\CLSID\\" + clsid + L"\\ProgID"));
  }
  ASSERT_EQ(S_OK, unregisterServer_());
  EXPECT_EQ(L"<none>", Read(Classes(), L"Software\\Classes\\Outlook.Application\\CLSID"));
  EXPECT_EQ(L"<none>", Read(Classes(), L"Software\\Classes\\Redemption.RDOSession\\CLSID"));
}

TEST_F(Registration, LeavesAProgIdThatAnotherServerOwns) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(Classes(), L"Software\\Classes\\Redemption.RDOSession\\CLSID", 0,
                                           nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kForeignClsid), sizeof kForeignClsid);
  RegCloseKey(key);
  EXPECT_EQ(SELFREG_E_CLASS, registerServer_());
  EXPECT_EQ(kForeignClsid, Read(Classes(), L"Software\\Classes\\Redemption.RDOSession\\CLSID"));
  EXPECT_NE(L"<none>", Read(Classes(), L"Software\\Classes\\Outlook.Application\\CLSID"));
  EXPECT_EQ(S_OK, unregisterServer_());
  EXPECT_EQ(kForeignClsid, Read(Classes(), L"Software\\Classes\\Redemption.RDOSession\\CLSID"));
  EXPECT_EQ(L"<none>", Read(Classes(), L"Software\\Classes\\Outlook.Application\\CLSID"));
}

}  // namespace
