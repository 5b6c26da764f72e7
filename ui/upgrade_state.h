// The values that the upgrade steps share. The main window owns one record for its whole life;
// every run starts with what the previous run left.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_system_object.h"

namespace ui {

struct UpgradeState {
  using FileSystemFactory = std::function<std::unique_ptr<platform::FileSystemObject>()>;

  // Tests replace the factory to run the upgrade against other file services.
  explicit UpgradeState(FileSystemFactory factory = platform::CreatePlatformFileSystem);

  // The file services, created by the first step that needs them and then kept.
  platform::FileSystemObject& FileSystem();

  std::unique_ptr<platform::FileSystemObject> fileSystem;
  std::wstring projectFolder;
  std::int32_t versionCode = 0;
  std::wstring versionText;
  std::wstring statusMessage;

 private:
  FileSystemFactory createFileSystem_;
};

}  // namespace ui
