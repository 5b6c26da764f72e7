// The error number of the platform::Failure that an action throws, for tests and fuzzers that
// check which failure an operation reports.
#pragma once

#include <cstdint>

#include "platform/failure.h"

namespace test_support {

// The number of the Failure that `action` throws, or 0 when it throws none.
template <typename Action>
std::int32_t FailureNumber(Action&& action) {
  try {
    action();
  } catch (const platform::Failure& failure) {
    return failure.number();
  }
  return 0;
}

}  // namespace test_support
