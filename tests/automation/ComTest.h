// A test fixture whose thread is a single-threaded COM apartment, as the engine's worker is.
#pragma once

#include <gtest/gtest.h>
#include <objbase.h>

class ComTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};
