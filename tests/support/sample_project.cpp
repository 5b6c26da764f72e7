#include "tests/support/sample_project.h"

#include "tests/support/scratch_folder.h"

namespace test_support {
namespace {

std::string Project(std::string_view version, std::string_view generalVersionLine,
                    std::string_view end) {
  std::string text = "[Language]\r\nLang0=0009\r\n\r\n[General]\r\nType=STANDARD\r\n";
  text.append(generalVersionLine).append("\r\nName=Caf\xe9 \x80\xff\r\n\r\n[Data]\r\nVersion=");
  text.append(version).append("\r\nNote=last line").append(end);
  return text;
}

}  // namespace

std::string ProjectText(std::string_view version) {
  return Project(version, "Version=" + std::string(version), "");
}

std::string UpgradedProjectText(std::string_view version) {
  return Project(version, "Version=1.20.000", "\r\n");
}

const std::string kFileGroupsText =
    "[Info]\r\nType=FileGrp\r\nVersion=1.00.000\r\n\r\n[FileGroups]\r\nGroup0=Program Files\r\n"
    "Group1=Help \xc4\xd6\r\n\r\n[Program Files]\r\nFolder=<TARGETDIR>\r\nFile0=a.exe\r\n\r\n"
    "[Help \xc4\xd6]\r\nFile0=b.hlp";

const std::string kUpgradedFileGroupsText =
    "[Info]\r\nType=FileGrp\r\nVersion=1.00.000\r\n\r\n[FileGroups]\r\nGroup0=Program Files\r\n"
    "Group1=Help \xc4\xd6\r\n\r\n[Program Files]\r\nLINKTYPE=Static Link\r\nFolder=<TARGETDIR>\r\n"
    "File0=a.exe\r\n\r\n[Help \xc4\xd6]\r\nLINKTYPE=Static Link\r\nFile0=b.hlp\r\n";

const std::string kRegistryEntriesText = "[General]\r\nType=REGISTRYDATA\r\nVersion=1.00.000\r\n";

const std::string kShellObjectsText =
    "[Data]\r\nFolder3=<FOLDER_STARTUP>\r\nGroup0=Main\r\nGroup1=Startup\r\n"
    "Folder0=<FOLDER_DESKTOP>\r\nFolder1=<FOLDER_STARTMENU>\r\nFolder2=<FOLDER_PROGRAMS>\r\n\r\n"
    "[Info]\r\nType=ShellObject\r\nVersion=1.00.000\r\n";

SampleProject WriteSampleProject(std::wstring_view folder, std::string_view version) {
  const std::wstring root(folder);
  SampleProject project{root, root + L"\\" + kProject, root + L"\\" + kFileGroups};
  WriteBytes(project.projectFile, ProjectText(version));
  WriteBytes(project.fileGroups, kFileGroupsText);
  return project;
}

}  // namespace test_support
