#include "ui/upgrade_state.h"

#include <utility>

namespace ui {

UpgradeState::UpgradeState(FileSystemFactory factory) : createFileSystem_(std::move(factory)) {}

platform::FileSystemObject& UpgradeState::FileSystem() {
  if (!fileSystem) fileSystem = createFileSystem_();
  return *fileSystem;
}

}  // namespace ui
