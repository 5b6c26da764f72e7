// What only the Win32 services can show: sharing, and the long-path prefix.
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "platform/file_system_object.h"
#include "platform/scoped_win32.h"
#include "platform/win32_file_system.h"
#include "platform/win32_headers.h"
#include "tests/support/failure_number.h"
#include "tests/support/scratch_folder.h"

namespace platform_test {
namespace {

using test_support::FailureNumber;
using test_support::ScratchFolder;
using test_support::WriteBytes;

using platform::IoMode;

TEST(Win32FileSystem, AFileHeldWithoutSharingIsRefusedWith70) {
  ScratchFolder scratch;
  const std::wstring path = scratch.Child(L"held.ipr");
  WriteBytes(path, "[General]\r\n");
  const platform::ScopedHandle held(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.valid());
  const auto files = platform::CreatePlatformFileSystem();
  EXPECT_EQ(FailureNumber([&] { files->OpenTextFile(path, IoMode::ForReading, false); }),
            platform::kPermissionDenied);
  EXPECT_EQ(FailureNumber([&] { files->OpenTextFile(path, IoMode::ForWriting, true); }),
            platform::kPermissionDenied);
  EXPECT_EQ(FailureNumber([&] { files->DeleteFile(path); }), platform::kPermissionDenied);
}

TEST(Win32FileSystem, AReaderLetsOthersReadButNotWrite) {
  ScratchFolder scratch;
  const std::wstring path = scratch.Child(L"shared.ipr");
  WriteBytes(path, "[General]\r\n");
  const auto files = platform::CreatePlatformFileSystem();
  auto reader = files->OpenTextFile(path, IoMode::ForReading, false);
  auto second = files->OpenTextFile(path, IoMode::ForReading, false);
  EXPECT_EQ(second->ReadLine(), L"[General]");
  EXPECT_EQ(FailureNumber([&] { files->OpenTextFile(path, IoMode::ForWriting, true); }),
            platform::kPermissionDenied);
}

TEST(Win32Path, LongPathsGainThePrefix) {
  const std::wstring longName(300, L'n');
  const struct {
    std::wstring path;
    std::wstring expected;
  } cases[] = {
      {L"C:\\short\\x.ipr", L"C:\\short\\x.ipr"},
      {L"C:/short/./y/../x.ipr", L"C:\\short\\x.ipr"},
      {L"C:\\" + longName, L"\\\\?\\C:\\" + longName},
      {L"C:/" + longName, L"\\\\?\\C:\\" + longName},
      {L"\\\\server\\share\\" + longName, L"\\\\?\\UNC\\server\\share\\" + longName},
      {L"\\\\?\\C:\\x", L"\\\\?\\C:\\x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ToWin32Path(c.path), c.expected) << c.path.size();
  }
  EXPECT_EQ(FailureNumber([] { platform::ToWin32Path(L""); }), platform::kPathNotFound);
  EXPECT_EQ(FailureNumber([] { platform::ToWin32Path(std::wstring(L"a\0b", 3)); }),
            platform::kPathNotFound);
}

}  // namespace
}  // namespace platform_test
