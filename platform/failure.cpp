#include "platform/failure.h"

#include <new>
#include <utility>

namespace platform {

Failure::Failure(std::int32_t number, std::string detail)
    : number_(number), what_("error " + std::to_string(number) + ": " + std::move(detail)) {}

std::int32_t CurrentErrorNumber() noexcept {
  try {
    throw;
  } catch (const Failure& failure) {
    return failure.number();
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  } catch (...) {
    return kInternalError;
  }
}

}  // namespace platform
