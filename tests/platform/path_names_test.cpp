#include "platform/path_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/failure.h"
#include "platform/file_system_object.h"

namespace platform_test {
namespace {

using platform::PathStyle;

std::string Show(const std::wstring& text) { return std::filesystem::path(text).string(); }

// The parent folder, and the folder that holds the last name: the same but for a name at a root,
// which lies in the root's folder that "C:" alone does not name.
TEST(ParentFolderName, DropsTheLastNameAndItsSeparators) {
  const struct {
    PathStyle style;
    const wchar_t* path;
    const wchar_t* parent;
    const wchar_t* holding;
  } cases[] = {
      {PathStyle::kWindows, L"C:\\x", L"C:", L"C:\\"},
      {PathStyle::kWindows, L"C:x", L"C:", L"C:"},
      {PathStyle::kWindows, L"C:\\", L"", L""},
      {PathStyle::kWindows, L"C:", L"", L""},
      {PathStyle::kWindows, L"C:\\a\\b.ipr", L"C:\\a", L"C:\\a"},
      {PathStyle::kWindows, L"C:/a/b.ipr", L"C:/a", L"C:/a"},
      {PathStyle::kWindows, L"C:\\a\\\\b\\", L"C:\\a", L"C:\\a"},
      {PathStyle::kWindows, L"\\\\server\\share\\x", L"\\\\server\\share", L"\\\\server\\share\\"},
      {PathStyle::kWindows, L"\\\\server\\share\\a\\x", L"\\\\server\\share\\a",
       L"\\\\server\\share\\a"},
      {PathStyle::kWindows, L"\\\\server\\share", L"", L""},
      {PathStyle::kWindows, L"\\\\?\\C:\\x", L"\\\\?\\C:", L"\\\\?\\C:\\"},
      {PathStyle::kWindows, L"\\\\?\\C:\\a\\x", L"\\\\?\\C:\\a", L"\\\\?\\C:\\a"},
      {PathStyle::kWindows, L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share",
       L"\\\\?\\UNC\\server\\share\\"},
      {PathStyle::kWindows, L"\\x", L"", L"\\"},
      {PathStyle::kWindows, L"x", L"", L""},
      {PathStyle::kWindows, L"a\\x", L"a", L"a"},
      {PathStyle::kWindows, L"", L"", L""},
      {PathStyle::kPosix, L"/a/b", L"/a", L"/a"},
      {PathStyle::kPosix, L"/x", L"", L"/"},
      {PathStyle::kPosix, L"//x", L"", L"/"},
      {PathStyle::kPosix, L"\\x", L"", L"\\"},
      {PathStyle::kPosix, L"/", L"", L"/"},
      {PathStyle::kPosix, L"a\\b\\c", L"a\\b", L"a\\b"},
      {PathStyle::kPosix, L"a//b//", L"a", L"a"},
      {PathStyle::kPosix, L"x", L"", L""},
      {PathStyle::kPosix, L"C:\\x", L"C:", L"C:"},  // no drives on POSIX: "C:" is a name
      {PathStyle::kPosix, L"\\\\server\\share", L"\\\\server", L"\\\\server"},
  };
  for (const auto& c : cases) {
    const std::string where =
        Show(c.path) + (c.style == PathStyle::kWindows ? " (Windows)" : " (POSIX)");
    EXPECT_EQ(platform::ParentFolderName(c.path, c.style), c.parent) << where;
    EXPECT_EQ(platform::FolderHoldingName(c.path, c.style), c.holding) << where;
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

// The path rules of one platform with the current folder C:\work (or /work); only the two path
// operations are used.
class PathServices final : public platform::FileSystemObject {
 public:
  explicit PathServices(PathStyle style) : style_(style) {}
  std::wstring GetParentFolderName(std::wstring_view path) override {
    return platform::ParentFolderName(path, style_);
  }
  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    ++absoluteCalls;
    if (style_ == PathStyle::kPosix) return platform::AbsolutePosixPath(L"/work", path);
    if (path.starts_with(L"C:") && !path.starts_with(L"C:\\")) path.remove_prefix(2);
    return L"C:\\work\\" + std::wstring(path);
  }
  bool FileExists(std::wstring_view) override { return Unused(); }
  std::wstring GetTempName() override { return Unused(), L""; }
  void CreateFolder(std::wstring_view) override { Unused(); }
  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view, platform::IoMode,
                                                     bool) override {
    return Unused(), nullptr;
  }
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view) override {
    return Unused(), nullptr;
  }
  void DeleteFile(std::wstring_view) override { Unused(); }
  void ReplaceFile(std::wstring_view, std::wstring_view) override { Unused(); }

  int absoluteCalls = 0;

 private:
  static bool Unused() { throw platform::Failure(platform::kInternalError, "not for this test"); }
  PathStyle style_;
};

// Where the upgrade puts the files it forms beside the project: never at the root of a drive for
// a path typed without a folder.
TEST(ContainingFolder, IsTheFolderTheFileWasFoundIn) {
  const struct {
    PathStyle style;
    const wchar_t* path;
    const wchar_t* folder;
    bool madeAbsolute;
  } cases[] = {
      {PathStyle::kWindows, L"C:\\p\\Project.ipr", L"C:\\p", false},
      {PathStyle::kWindows, L"p\\Project.ipr", L"p", false},
      {PathStyle::kWindows, L"\\\\server\\share\\p\\x.ipr", L"\\\\server\\share\\p", false},
      // At a real root, "" or "C:" followed by "\" is the right place.
      {PathStyle::kWindows, L"C:\\Project.ipr", L"C:", false},
      {PathStyle::kWindows, L"\\Project.ipr", L"", false},
      // No folder typed: the folder the file was found in.
      {PathStyle::kWindows, L"Project.ipr", L"C:\\work", true},
      {PathStyle::kWindows, L"C:Project.ipr", L"C:\\work", true},
      {PathStyle::kWindows, L"c:Project.ipr", L"C:\\work", true},  // a drive in either case
      {PathStyle::kPosix, L"/home/Project.ipr", L"/home", false},
      {PathStyle::kPosix, L"/Project.ipr", L"", false},
      {PathStyle::kPosix, L"Project.ipr", L"/work", true},
  };
  for (const auto& c : cases) {
    PathServices services(c.style);
    EXPECT_EQ(platform::ContainingFolder(services, c.path), c.folder) << Show(c.path);
    EXPECT_EQ(services.absoluteCalls > 0, c.madeAbsolute) << Show(c.path);
  }
}

}  // namespace
}  // namespace platform_test
