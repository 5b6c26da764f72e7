#include "tests/ui/sample_project.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/win32_headers.h"

namespace ui::e2e {
namespace {

namespace fs = std::filesystem;

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

}  // namespace

ScratchFolder::ScratchFolder(std::wstring_view name) {
  path_ = fs::temp_directory_path() /
          (L"bu_ui_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::wstring(name));
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  fs::remove_all(path_, ignored);
}

SampleProject WriteSampleProject(const fs::path& folder, std::string_view version) {
  SampleProject project{folder, folder / L"Sample.ipr", folder / L"File Groups" / L"Default.fdf"};
  WriteBytes(project.projectFile, ProjectFileBytes(version));
  WriteBytes(project.fileGroups, FileGroupBytes());
  return project;
}

namespace {

// A "Version" line stands under another section too: only the one under [General] changes.
std::string ProjectFile(std::string_view version, std::string_view generalVersion) {
  return Lines({"[Language]", "LanguageSupport0=0009", "", "[General]", "Type=INSTALLMAIN",
                "Version=" + std::string(generalVersion), "Name=Sample Setup",
                "Path=C:\\Sample\\Disk Images", "", "[Components]",
                "Version=" + std::string(version), "Default=1"});
}

}  // namespace

std::string ProjectFileBytes(std::string_view version) { return ProjectFile(version, version); }

std::string UpgradedProjectFileBytes(std::string_view version) {
  return ProjectFile(version, "1.20.000");
}

std::string FileGroupBytes() {
  return Lines({"[Info]", "Type=FileGrp", "Version=1.00.000", "", "[FileGroups]",
                "group0=Program Files", "group1=Help Files", "", "[Program Files]",
                "SELFREGISTERING=No", "file0=<TARGETDIR>\\Sample.exe", "", "[Help Files]",
                "file0=<TARGETDIR>\\Sample.hlp"});
}

std::string UpgradedFileGroupBytes() {
  return Lines({"[Info]", "Type=FileGrp", "Version=1.00.000", "", "[FileGroups]",
                "group0=Program Files", "group1=Help Files", "", "[Program Files]",
                "LINKTYPE=Static Link", "SELFREGISTERING=No", "file0=<TARGETDIR>\\Sample.exe", "",
                "[Help Files]", "LINKTYPE=Static Link", "file0=<TARGETDIR>\\Sample.hlp"});
}

std::string RegistryEntriesBytes() {
  return Lines({"[General]", "Type=REGISTRYDATA", "Version=1.00.000"});
}

std::string ShellObjectsBytes() {
  return Lines({"[Data]", "Folder3=<FOLDER_STARTUP>", "Group0=Main", "Group1=Startup",
                "Folder0=<FOLDER_DESKTOP>", "Folder1=<FOLDER_STARTMENU>",
                "Folder2=<FOLDER_PROGRAMS>", "", "[Info]", "Type=ShellObject", "Version=1.00.000"});
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::wstring> FolderListing(const fs::path& folder) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().wstring() + (entry.is_directory() ? L"\\" : L""));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace ui::e2e
