#include "platform/temp_name.h"

#include <chrono>

namespace platform {

TempNameSource::TempNameSource() {
  // The device alone may be a fixed sequence on some runtimes; the clock makes two programs
  // started together differ anyway.
  std::random_device device;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{device(), device(), static_cast<std::uint32_t>(now),
                     static_cast<std::uint32_t>(now >> 32)};
  random_.seed(seed);
}

std::wstring TempNameSource::Next() {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::uint32_t value = static_cast<std::uint32_t>(random_());
  std::wstring name = L"bu########.tmp";
  for (std::size_t i = 9; i >= 2; --i, value >>= 4) name[i] = kDigits[value & 0xF];
  return name;
}

}  // namespace platform
