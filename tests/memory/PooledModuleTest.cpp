// A module with the pooled operators new and delete, loaded and unloaded again and again in one
// process, as COM loads and unloads a server for each apartment that uses it.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestProcess.h"

namespace {

typedef size_t (*HoldSmallBlocksFunction)(size_t);

// Loads the module, has it hold and free a few megabytes of small blocks, and unloads it.
void UseModuleOnce() {
  HMODULE module =
      LoadLibraryW(testsupport::Wide(testsupport::SiblingProgramPath("pooled_module.dll")).c_str());
  ASSERT_NE(module, nullptr) << "pooled_module.dll is built beside the test";
  auto hold = reinterpret_cast<HoldSmallBlocksFunction>(
      reinterpret_cast<void*>(GetProcAddress(module, "HoldSmallBlocks")));
  ASSERT_NE(hold, nullptr);
  EXPECT_GT(hold(8000), 4000000u);
  ASSERT_TRUE(FreeLibrary(module));
  ASSERT_EQ(GetModuleHandleW(L"pooled_module.dll"), nullptr) << "the module was unloaded";
}

}  // namespace

TEST(PooledModule, UnloadingGivesBackWhatTheModuleHeld) {
  // The first load settles what the process keeps once for any module (the loader's own records).
  UseModuleOnce();
  const size_t settled = testsupport::HeapBytesInUse();
  for (int i = 0; i < 10; ++i) UseModuleOnce();
  // Each load that kept its pool (megabytes) or the runtime's reserve for exceptions (tens of kilobytes)
  // would pass this bound several times over in ten loads.
  EXPECT_LT(testsupport::HeapBytesInUse(), settled + 256 * 1024) << "ten loads and unloads kept memory";
}
