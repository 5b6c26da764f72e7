// Where the upgrade puts the files it forms beside the project: never at the root of a drive for
// a path typed without a folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/failure.h"
#include "platform/path_names.h"
#include "upgrade/containing_folder.h"

namespace upgrade_test {
namespace {

// Windows path rules with the current folder C:\work; only the two path operations are used.
class WindowsPathServices final : public platform::FileSystemObject {
 public:
  std::wstring GetParentFolderName(std::wstring_view path) override {
    return platform::ParentFolderName(path, platform::PathStyle::kWindows);
  }
  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    ++absoluteCalls;
    if (path.starts_with(L"C:") && !path.starts_with(L"C:\\")) path.remove_prefix(2);
    return L"C:\\work\\" + std::wstring(path);
  }
  bool FileExists(std::wstring_view) override { return Unused(); }
  std::wstring GetTempName() override { return Unused(), L""; }
  void CreateFolder(std::wstring_view) override { Unused(); }
  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view, platform::IoMode, bool,
                                                     platform::TextFormat) override {
    return Unused(), nullptr;
  }
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view, bool) override {
    return Unused(), nullptr;
  }
  void CopyFile(std::wstring_view, std::wstring_view, bool) override { Unused(); }
  void DeleteFile(std::wstring_view, bool) override { Unused(); }
  void ReplaceFile(std::wstring_view, std::wstring_view) override { Unused(); }

  int absoluteCalls = 0;

 private:
  static bool Unused() { throw platform::Failure(platform::kInternalError, "not for this test"); }
};

struct FolderCase {
  std::wstring path;
  std::wstring folder;
  bool madeAbsolute;
};

class ContainingFolderTest : public testing::TestWithParam<FolderCase> {};

TEST_P(ContainingFolderTest, ResolvesFolder) {
  WindowsPathServices services;
  EXPECT_EQ(upgrade::ContainingFolder(services, GetParam().path), GetParam().folder);
  EXPECT_EQ(services.absoluteCalls > 0, GetParam().madeAbsolute);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ContainingFolderTest,
    testing::Values(FolderCase{L"C:\\p\\Project.ipr", L"C:\\p", false},
                    FolderCase{L"p\\Project.ipr", L"p", false},
                    FolderCase{L"\\\\server\\share\\p\\x.ipr", L"\\\\server\\share\\p", false},
                    // At a real root, "" or "C:" followed by "\" is the right place.
                    FolderCase{L"C:\\Project.ipr", L"C:", false},
                    FolderCase{L"\\Project.ipr", L"", false},
                    // No folder typed: the folder the file was found in.
                    FolderCase{L"Project.ipr", L"C:\\work", true},
                    FolderCase{L"C:Project.ipr", L"C:\\work", true}));

}  // namespace
}  // namespace upgrade_test
