// What the mapping from the platform's error codes adds to a failure beyond its number: the path
// in the text, and a missing file told from a missing folder. The numbers of real failures are
// the file-service contract's.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/failure.h"

#ifdef _WIN32
#include "platform/win32_file_system.h"
#include "platform/win32_headers.h"
#else
#include <cerrno>

#include "platform/posix_file_system.h"
#endif

namespace platform_test {
namespace {

using namespace platform;

#ifdef _WIN32

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

// A new file refused as "not found" where its folder exists was refused, not missed.
TEST(Win32ErrorMapping, CreationRefusedAsNotFoundInAnExistingFolderIsPermissionDenied) {
  const struct {
    DWORD error;
    bool folderExists;
    std::int32_t number;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, true, kPermissionDenied},
      {ERROR_PATH_NOT_FOUND, true, kPermissionDenied},
      {ERROR_PATH_NOT_FOUND, false, kPathNotFound},
      {ERROR_FILE_EXISTS, true, kFileAlreadyExists},
      {ERROR_DISK_FULL, true, kDiskFull},
  };
  for (const auto& c : cases) {
    try {
      ThrowWin32Error(CreateNewError(c.error, c.folderExists), "cannot create", L"C:\\x.tmp");
      ADD_FAILURE() << "nothing was thrown";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), c.number) << c.error << (c.folderExists ? " in a folder" : "");
    }
  }
}

#else

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
