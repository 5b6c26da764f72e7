#include "platform/memory_channel.h"

#include <algorithm>
#include <cstring>

#include "platform/failure.h"

namespace platform {

void MemoryChannel::RequireOpen() const {
  if (closed_) throw Failure(kInvalidProcedureCall, "memory channel is closed");
}

std::size_t MemoryChannel::Read(char* buffer, std::size_t capacity) {
  RequireOpen();
  const std::size_t count = std::min(capacity, input_.size());
  if (count != 0) std::memcpy(buffer, input_.data(), count);
  input_.remove_prefix(count);
  return count;
}

void MemoryChannel::Write(const char* data, std::size_t size) {
  RequireOpen();
  if (output_ == nullptr) throw Failure(kPermissionDenied, "memory channel is read-only");
  output_->append(data, size);
}

}  // namespace platform
