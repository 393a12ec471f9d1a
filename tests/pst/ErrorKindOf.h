// The kind of PstError an action throws, for tests that check which error a bad input gives.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "pst/Error.h"

inline pst::ErrorKind KindOf(const std::function<void()>& action, std::string* text = nullptr) {
  try {
    action();
  } catch (const pst::PstError& e) {
    if (text) *text = e.what();
    return e.Kind();
  }
  ADD_FAILURE() << "no error";
  return pst::ErrorKind::kInvalidArgument;
}
