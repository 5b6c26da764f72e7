// A fresh folder under testing::TempDir() for one test, removed with everything in it, read-only
// files included, when the object goes. Paths handed to the code under test use the file services'
// own form: a folder text to which "\name" is appended; Native() turns such a path into one that
// std::filesystem understands here. The byte helpers reach the files without the services.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

std::filesystem::path Native(std::wstring_view servicePath);

// The whole file as bytes; fails the test (and returns "") when it cannot be read.
std::string ReadBytes(std::wstring_view servicePath);
// Creates the file's folders as needed.
void WriteBytes(std::wstring_view servicePath, std::string_view bytes);
bool PathExists(std::wstring_view servicePath);
bool IsFolder(std::wstring_view servicePath);
void MakeReadOnly(std::wstring_view servicePath);
// The names in one folder, sorted, each folder's with a trailing "\".
std::vector<std::wstring> FolderListing(std::wstring_view servicePath);

class ScratchFolder {
 public:
  ScratchFolder();
  // A fresh folder in that folder instead, such as one on a small disk.
  explicit ScratchFolder(std::wstring_view parent);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder in the services' form, without a trailing separator.
  const std::wstring& Path() const { return path_; }
  // Path() + "\" + relative, where relative may itself hold "\" separators.
  std::wstring Child(std::wstring_view relative) const;
  // Every file below the folder, as paths relative to it with "\" separators, sorted.
  std::vector<std::wstring> Files() const;

 private:
  std::wstring path_;
};

}  // namespace test_support
