// Each implementation's one mapping from the platform's error codes to our error numbers.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/failure.h"

#ifdef _WIN32
#include "platform/win32_errors.h"
#include "platform/win32_headers.h"
#else
#include <cerrno>

#include "platform/posix_errors.h"
#endif

namespace platform_test {
namespace {

using namespace platform;

#ifdef _WIN32

TEST(Win32ErrorMapping, EveryKnownErrorHasItsNumber) {
  const struct {
    DWORD error;
    std::int32_t number;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, kFileNotFound},
      {ERROR_PATH_NOT_FOUND, kPathNotFound},
      {ERROR_INVALID_NAME, kPathNotFound},
      {ERROR_BAD_PATHNAME, kPathNotFound},
      {ERROR_INVALID_DRIVE, kPathNotFound},
      {ERROR_BAD_NETPATH, kPathNotFound},
      {ERROR_FILENAME_EXCED_RANGE, kPathNotFound},
      {ERROR_ACCESS_DENIED, kPermissionDenied},
      {ERROR_SHARING_VIOLATION, kPermissionDenied},
      {ERROR_LOCK_VIOLATION, kPermissionDenied},
      {ERROR_WRITE_PROTECT, kPermissionDenied},
      {ERROR_FILE_EXISTS, kFileAlreadyExists},
      {ERROR_ALREADY_EXISTS, kFileAlreadyExists},
      {ERROR_DISK_FULL, kDiskFull},
      {ERROR_HANDLE_DISK_FULL, kDiskFull},
      {ERROR_NOT_ENOUGH_MEMORY, kOutOfMemory},
      {ERROR_GEN_FAILURE, kPathFileAccessError},
      {ERROR_INVALID_HANDLE, kPathFileAccessError},
      {0xFFFF, kPathFileAccessError},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorNumberFromWin32Error(c.error), c.number) << "Win32 error " << c.error;
  }
}

TEST(Win32ErrorMapping, ThrownFailureCarriesTheNumber) {
  try {
    ThrowWin32Error(ERROR_SHARING_VIOLATION, "cannot open", L"C:\\x\u0100.ipr");
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), kPermissionDenied);
    EXPECT_NE(std::string(failure.what()).find("C:\\x?.ipr"), std::string::npos);
    return;
  }
  ADD_FAILURE() << "nothing was thrown";
}

#else

TEST(PosixErrorMapping, EveryKnownErrorHasItsNumber) {
  const struct {
    int error;
    bool parentExists;
    std::int32_t number;
  } cases[] = {
      {ENOENT, true, kFileNotFound},       {ENOENT, false, kPathNotFound},
      {ENOTDIR, true, kPathNotFound},      {ENAMETOOLONG, true, kPathNotFound},
      {EEXIST, true, kFileAlreadyExists},  {EACCES, true, kPermissionDenied},
      {EPERM, true, kPermissionDenied},    {EROFS, true, kPermissionDenied},
      {ETXTBSY, true, kPermissionDenied},  {EISDIR, true, kPermissionDenied},
      {ENOSPC, true, kDiskFull},           {EDQUOT, true, kDiskFull},
      {ENOMEM, true, kOutOfMemory},        {EIO, true, kPathFileAccessError},
      {EBADF, true, kPathFileAccessError}, {0, true, kPathFileAccessError},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorNumberFromErrno(c.error, c.parentExists), c.number)
        << "errno " << c.error << (c.parentExists ? "" : " without a parent folder");
  }
}

TEST(PosixErrorMapping, MissingEntryTellsFileFromFolder) {
  const struct {
    const char* path;
    std::int32_t number;
  } cases[] = {
      {"/bu-no-such-file", kFileNotFound},
      {"/bu-no-such-folder/file", kPathNotFound},
      {"bu-no-such-file-here", kFileNotFound},
      {"/dev/null/file", kPathNotFound},  // the parent is not a folder
  };
  for (const auto& c : cases) {
    try {
      ThrowErrno(ENOENT, "cannot open", c.path);
      ADD_FAILURE() << "nothing was thrown";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), c.number) << c.path;
    }
  }
}

#endif

}  // namespace
}  // namespace platform_test
