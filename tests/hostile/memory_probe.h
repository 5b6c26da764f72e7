// The process's peak resident memory, so that a test can tell that reading a huge file kept its
// memory flat. Where the platform lets it (Linux), the peak is first reset to the current size.
#pragma once

#include <cstddef>

namespace hostile_test {

// Resets the peak where the platform allows it and returns it, in bytes.
std::size_t StartPeakMemory();
// The peak since the last StartPeakMemory (or since the start of the process), in bytes.
std::size_t PeakMemory();

}  // namespace hostile_test
