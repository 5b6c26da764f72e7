// Failures of the platform's services. Every operation either succeeds or throws a Failure that
// carries an error number; callers tell apart only kPermissionDenied. The numbers are the classic
// ones of the scripting runtime that the upgrade was first written against, so that messages and
// tests speak one language on every platform.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace platform {

enum ErrorNumber : std::int32_t {
  kInvalidProcedureCall = 5,  // e.g. writing a character that 8-bit text cannot hold
  kOutOfMemory = 7,
  kTypeMismatch = 13,  // e.g. a digit conversion of a character that is not a digit
  kInternalError = 51,
  kFileNotFound = 53,
  kBadFileMode = 54,  // reading a stream opened for writing, or the reverse
  kFileAlreadyExists = 58,
  kDiskFull = 61,
  kInputPastEndOfFile = 62,
  kPermissionDenied = 70,  // also a sharing violation
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

class Failure : public std::exception {
 public:
  Failure(std::int32_t number, std::string detail);
  std::int32_t number() const noexcept { return number_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::string what_;
};

// The error number of the exception being handled: a Failure's own, kOutOfMemory for bad_alloc,
// kInternalError for anything else. Call only inside a catch block.
std::int32_t CurrentErrorNumber() noexcept;

}  // namespace platform
