// Our own sample project of each kind the upgrade meets, as the exact bytes before and after.
// The texts cover what a rewrite must keep: CR LF endings, blank lines, bytes 0x80 to 0xFF and a
// last line without a line end.
#pragma once

#include <string>
#include <string_view>

namespace test_support {

// Where a run finds and makes the project's files, relative to the project folder.
inline constexpr wchar_t kProject[] = L"Project.ipr";
inline constexpr wchar_t kFileGroups[] = L"File Groups\\Default.fdf";
inline constexpr wchar_t kRegistry[] = L"Registry Entries\\Default.rge";
inline constexpr wchar_t kShell[] = L"Shell Objects\\Default.shl";

// A project file whose [General] Version value is `version` (and a decoy in another section).
std::string ProjectText(std::string_view version);
// The same project after the upgrade: the General Version line raised, a line end at the end.
std::string UpgradedProjectText(std::string_view version);

extern const std::string kFileGroupsText;
extern const std::string kUpgradedFileGroupsText;
extern const std::string kRegistryEntriesText;
extern const std::string kShellObjectsText;

// A project as a run meets it: the project file and its default file-group file in one folder.
struct SampleProject {
  std::wstring folder;
  std::wstring projectFile;  // folder + "\Project.ipr"
  std::wstring fileGroups;   // folder + "\File Groups\Default.fdf"
};

// Writes ProjectText(version) and kFileGroupsText into the folder, making the folders it needs.
SampleProject WriteSampleProject(std::wstring_view folder, std::string_view version);

}  // namespace test_support
