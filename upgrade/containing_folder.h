// The folder that holds a file, for the paths that the upgrade forms beside it.
//
// A path typed without a folder part ("Project.ipr") or with a drive only ("C:Project.ipr") has a
// parent of "" or "C:", and appending "\File Groups" to that would name a folder at the root of a
// drive. Such a path is made absolute first, so that the folder is the one the file was found in.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system_object.h"

namespace upgrade {

std::wstring ContainingFolder(platform::FileSystemObject& fileSystem, std::wstring_view path);

}  // namespace upgrade
