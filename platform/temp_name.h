// Fresh names for temporary files: "bu" followed by 8 hexadecimal digits and ".tmp".
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace platform {

class TempNameSource {
 public:
  TempNameSource();
  std::wstring Next();

 private:
  std::mt19937_64 random_;
};

}  // namespace platform
