// Sample projects that the end-to-end test writes for itself: a project file and its default
// file-group file, in a scratch folder of their own, and the bytes the upgrade must leave.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ui::e2e {

// A fresh folder under the system's temporary folder; removed, read-only files and all, when
// the object goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::wstring_view name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct SampleProject {
  std::filesystem::path folder;
  std::filesystem::path projectFile;  // folder / "Sample.ipr"
  std::filesystem::path fileGroups;   // folder / "File Groups" / "Default.fdf"
};

// Writes a project of the given format version ("1.00.000", "1.10.000") into the folder.
SampleProject WriteSampleProject(const std::filesystem::path& folder, std::string_view version);

// The project file and file-group file as they were written, and as an upgrade leaves them.
std::string ProjectFileBytes(std::string_view version);
std::string UpgradedProjectFileBytes(std::string_view version);
std::string FileGroupBytes();
std::string UpgradedFileGroupBytes();
std::string RegistryEntriesBytes();
std::string ShellObjectsBytes();

// The whole file; "<missing>" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// The names in the folder, sorted, folders marked with a trailing "\".
std::vector<std::wstring> FolderListing(const std::filesystem::path& folder);

}  // namespace ui::e2e
