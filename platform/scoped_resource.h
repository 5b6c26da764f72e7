// A platform handle with one owner: move-only, released by a destructor that never throws, or by
// an explicit Close that reports the platform's error (0 when none) for callers to whom a failed
// release matters, such as the last write of a file. Traits give the handle type, its "none"
// values and how to release it.
#pragma once

#include <utility>

namespace platform {

template <typename Traits>
class ScopedResource {
 public:
  using Handle = typename Traits::Handle;
  using Error = typename Traits::Error;

  ScopedResource() = default;
  explicit ScopedResource(Handle handle) : handle_(handle) {}
  ScopedResource(ScopedResource&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, Traits::Invalid());
    }
    return *this;
  }
  ~ScopedResource() { Close(); }

  Handle get() const { return handle_; }
  bool valid() const { return Traits::IsValid(handle_); }

  // The handle is released whatever the result, since retrying could release another's.
  Error Close() noexcept {
    if (!valid()) return Error{};
    return Traits::Release(std::exchange(handle_, Traits::Invalid()));
  }

 private:
  Handle handle_ = Traits::Invalid();
};

}  // namespace platform
