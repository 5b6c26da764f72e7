#include "platform/lead_bytes.h"

#include <array>

#ifdef _WIN32
#include "platform/win32_headers.h"
#endif

namespace platform {

LeadBytes::LeadBytes(std::span<const Range> ranges) noexcept {
  for (const Range& range : ranges) {
    for (unsigned value = range.first; value <= range.last; ++value) {
      table_[value] = true;
      empty_ = false;
    }
  }
}

LeadBytes SystemLeadBytes() {
#ifdef _WIN32
  CPINFO info{};
  // CP_ACP always has an entry; should it fail all the same, the file is read byte by byte, as a
  // single-byte code page would have it.
  if (GetCPInfo(CP_ACP, &info) == 0) return LeadBytes();
  // The ranges come as pairs of first and last byte, ended by a pair of zeros.
  std::array<LeadBytes::Range, MAX_LEADBYTES / 2> ranges{};
  std::size_t count = 0;
  for (std::size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    ranges[count++] = {info.LeadByte[i], info.LeadByte[i + 1]};
  }
  return LeadBytes(std::span<const LeadBytes::Range>(ranges.data(), count));
#else
  return LeadBytes();
#endif
}

}  // namespace platform
