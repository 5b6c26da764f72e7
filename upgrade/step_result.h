#pragma once

#include <cstdint>

namespace upgrade {

// Result of the version check and of the rewrite steps: 0 for success (also when there was
// nothing to do), -1 for a failure already reported (or, in the version check, passed over).
using StepResult = std::int32_t;
inline constexpr StepResult kStepSucceeded = 0;
inline constexpr StepResult kStepFailed = -1;

}  // namespace upgrade
