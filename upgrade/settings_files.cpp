#include "upgrade/settings_files.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace upgrade {
namespace {

struct SettingsFile {
  std::wstring_view creatingText;
  std::wstring_view createdText;
  std::wstring_view folderName;
  std::wstring_view fileName;
  std::initializer_list<std::wstring_view> lines;  // "" stands for one blank line
};

// No handler here: any failure leaves at once and travels to the run; a writer that is open then
// is dropped without Close, which releases it. The file is written in place, so that a failure
// leaves the lines written so far; the folder's name and the file's are on the disk once made, and
// its lines once written through, so that "Created" follows a file a power cut keeps.
void CreateSettingsFile(ui::UpgradeState& state, ui::UpgradeUi& ui, const SettingsFile& file) {
  ui.SetStatusText(std::wstring(file.creatingText));
  platform::FileSystemObject& fileSystem = state.FileSystem();
  const std::wstring folder = state.projectFolder + L"\\" + std::wstring(file.folderName);
  fileSystem.CreateFolder(folder);
  std::unique_ptr<platform::TextStream> writer = fileSystem.OpenTextFile(
      folder + L"\\" + std::wstring(file.fileName), platform::IoMode::ForWriting, true);
  for (std::wstring_view line : file.lines) {
    if (line.empty()) {
      writer->WriteBlankLines(1);
    } else {
      writer->WriteLine(line);
    }
  }
  writer->FlushToDisk();
  writer->Close();
  writer.reset();
  ui.SetStatusText(std::wstring(file.createdText));
}

}  // namespace

void CreateRegistryEntriesFile(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  CreateSettingsFile(state, ui,
                     {L"Creating the Registry Entries settings file...",
                      L"Created the Registry Entries settings file...",
                      L"Registry Entries",
                      L"Default.rge",
                      {L"[General]", L"Type=REGISTRYDATA", L"Version=1.00.000"}});
}

void CreateShellObjectsFile(ui::UpgradeState& state, ui::UpgradeUi& ui) {
  CreateSettingsFile(
      state, ui,
      {L"Creating the Shell Objects settings file...",
       L"Created the Shell Objects settings file...",
       L"Shell Objects",
       L"Default.shl",
       {L"[Data]", L"Folder3=<FOLDER_STARTUP>", L"Group0=Main", L"Group1=Startup",
        L"Folder0=<FOLDER_DESKTOP>", L"Folder1=<FOLDER_STARTMENU>", L"Folder2=<FOLDER_PROGRAMS>",
        L"", L"[Info]", L"Type=ShellObject", L"Version=1.00.000"}});
}

}  // namespace upgrade
