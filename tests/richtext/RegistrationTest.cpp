// Self-registration of the control's server DLL, against a stand-in HKEY_LOCAL_MACHINE so that the
// prefix's own registration is never touched: an apartment-threaded control, a class that another
// existing module serves left to that module, and the stand-in of another tree replaced.
#include <gtest/gtest.h>
#include <olectl.h>

#include <filesystem>
#include <string>

namespace {

const wchar_t kClassKey[] = L"Software\\Classes\\CLSID\\{3B7C8860-D78F-101B-B9B5-04021C009402}";

std::wstring Read(HKEY root, const std::wstring& key, const wchar_t* value = nullptr) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return L"<none>";
  return buffer;
}

class RichTextRegistration : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    dll_ = std::filesystem::path(self).parent_path().wstring() + L"\\RichTextStandIn.dll";
    module_ = LoadLibraryW(dll_.c_str());
    ASSERT_TRUE(module_);
    registerServer_ = reinterpret_cast<HRESULT(__stdcall*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllRegisterServer")));
    unregisterServer_ = reinterpret_cast<HRESULT(__stdcall*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllUnregisterServer")));
    ASSERT_TRUE(registerServer_ && unregisterServer_);
    keyPath_ = L"Software\\BrindleRichTextTest-" + std::to_wstring(GetCurrentProcessId());
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

  std::wstring dll_;
  HMODULE module_ = nullptr;
  HRESULT(__stdcall* registerServer_)() = nullptr;
  HRESULT(__stdcall* unregisterServer_)() = nullptr;
  std::wstring keyPath_;
  HKEY machine_ = nullptr;
  bool overridden_ = false;
};

TEST_F(RichTextRegistration, RegistersAnApartmentThreadedControlAndRemovesIt) {
  ASSERT_EQ(S_OK, registerServer_());
  const std::wstring server = std::wstring(kClassKey) + L"\\InprocServer32";
  EXPECT_EQ(L"Apartment", Read(machine_, server, L"ThreadingModel"));
  EXPECT_NE(std::wstring::npos, Read(machine_, server).find(L"RichTextStandIn.dll"));
  HKEY control = nullptr;
  EXPECT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(machine_, (std::wstring(kClassKey) + L"\\Control").c_str(), 0, KEY_READ, &control));
  if (control) RegCloseKey(control);
  ASSERT_EQ(S_OK, unregisterServer_());
  EXPECT_EQ(L"<none>", Read(machine_, server));
}

TEST_F(RichTextRegistration, LeavesAClassThatAnotherModuleServes) {
  // Any file that exists stands for the other module.
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring other = std::wstring(system) + L"\\kernel32.dll";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(machine_, (std::wstring(kClassKey) + L"\\InprocServer32").c_str(),
                                           0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                 static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  EXPECT_EQ(SELFREG_E_CLASS, registerServer_());
  EXPECT_EQ(S_OK, unregisterServer_());
  EXPECT_EQ(other, Read(machine_, std::wstring(kClassKey) + L"\\InprocServer32"));
}

TEST_F(RichTextRegistration, TakesThePlaceOfTheStandInOfAnotherTree) {
  // The tree this one was copied from, still there, registered its own copy first.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path otherTree =
      std::filesystem::path(temp) / (L"BrindleOtherTree-" + std::to_wstring(GetCurrentProcessId()));
  std::filesystem::create_directories(otherTree);
  const std::wstring other = (otherTree / L"RichTextStandIn.dll").wstring();
  ASSERT_TRUE(CopyFileW(dll_.c_str(), other.c_str(), FALSE));
  HMODULE otherModule = LoadLibraryW(other.c_str());
  ASSERT_TRUE(otherModule);
  const auto registerOther = reinterpret_cast<HRESULT(__stdcall*)()>(
      reinterpret_cast<void (*)()>(GetProcAddress(otherModule, "DllRegisterServer")));
  ASSERT_TRUE(registerOther && registerOther != registerServer_)
      << "the copy did not load as a module of its own";
  const std::wstring server = std::wstring(kClassKey) + L"\\InprocServer32";
  EXPECT_EQ(S_OK, registerOther());
  EXPECT_EQ(other, Read(machine_, server));

  EXPECT_EQ(S_OK, registerServer_());
  EXPECT_EQ(dll_, Read(machine_, server));
  FreeLibrary(otherModule);
  std::filesystem::remove_all(otherTree);
}

}  // namespace
