#include "platform/path_names.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace platform_test {
namespace {

using platform::PathStyle;

std::string Show(const std::wstring& text) { return std::filesystem::path(text).string(); }

TEST(ParentFolderName, DropsTheLastNameAndItsSeparators) {
  const struct {
    PathStyle style;
    const wchar_t* path;
    const wchar_t* parent;
  } cases[] = {
      {PathStyle::kWindows, L"C:\\x", L"C:"},
      {PathStyle::kWindows, L"C:x", L"C:"},
      {PathStyle::kWindows, L"C:\\", L""},
      {PathStyle::kWindows, L"C:", L""},
      {PathStyle::kWindows, L"C:\\a\\b.ipr", L"C:\\a"},
      {PathStyle::kWindows, L"C:/a/b.ipr", L"C:/a"},
      {PathStyle::kWindows, L"C:\\a\\\\b\\", L"C:\\a"},
      {PathStyle::kWindows, L"\\\\server\\share\\x", L"\\\\server\\share"},
      {PathStyle::kWindows, L"\\\\server\\share\\a\\x", L"\\\\server\\share\\a"},
      {PathStyle::kWindows, L"\\\\server\\share", L""},
      {PathStyle::kWindows, L"\\\\?\\C:\\x", L"\\\\?\\C:"},
      {PathStyle::kWindows, L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share"},
      {PathStyle::kWindows, L"\\x", L""},
      {PathStyle::kWindows, L"x", L""},
      {PathStyle::kWindows, L"a\\x", L"a"},
      {PathStyle::kWindows, L"", L""},
      {PathStyle::kPosix, L"/a/b", L"/a"},
      {PathStyle::kPosix, L"/x", L""},
      {PathStyle::kPosix, L"/", L""},
      {PathStyle::kPosix, L"a\\b\\c", L"a\\b"},
      {PathStyle::kPosix, L"a//b//", L"a"},
      {PathStyle::kPosix, L"x", L""},
      {PathStyle::kPosix, L"C:\\x", L"C:"},  // no drives on POSIX: "C:" is a name
      {PathStyle::kPosix, L"\\\\server\\share", L"\\\\server"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ParentFolderName(c.path, c.style), c.parent)
        << Show(c.path) << (c.style == PathStyle::kWindows ? " (Windows)" : " (POSIX)");
  }
}

TEST(AbsolutePosixPath, ResolvesAgainstTheCurrentFolder) {
  const struct {
    const wchar_t* current;
    const wchar_t* path;
    const wchar_t* absolute;
  } cases[] = {
      {L"/home/u", L"p.ipr", L"/home/u/p.ipr"},
      {L"/home/u", L"sub\\p.ipr", L"/home/u/sub/p.ipr"},
      {L"/home/u", L"/etc/p.ipr", L"/etc/p.ipr"},
      {L"/home/u", L"\\etc\\p.ipr", L"/etc/p.ipr"},
      {L"/home/u", L"../v/./p.ipr", L"/home/v/p.ipr"},
      {L"/home/u", L"../../../p.ipr", L"/p.ipr"},
      {L"/home/u", L"a//b/", L"/home/u/a/b"},
      {L"/home/u", L"", L"/home/u"},
      {L"/", L".", L"/"},
      {L"/", L"..", L"/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::AbsolutePosixPath(c.current, c.path), c.absolute) << Show(c.path);
  }
}

}  // namespace
}  // namespace platform_test
