// The application's name as message boxes show it: the base name of the running executable, so
// that a renamed program names itself truthfully.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// The last component of the path without its extension: "C:\a.b\Tool.exe" gives "Tool".
std::wstring ExecutableBaseName(std::wstring_view path);

// The base name of the running module's file; "" if the system cannot tell it.
std::wstring RunningAppName();

}  // namespace ui
