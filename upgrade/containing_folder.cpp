#include "upgrade/containing_folder.h"

#include "upgrade/ascii_text.h"

namespace upgrade {
namespace {

bool IsBareDrive(std::wstring_view folder) {
  if (folder.size() != 2 || folder[1] != L':') return false;
  const wchar_t letter = ToAsciiLower(folder[0]);
  return letter >= L'a' && letter <= L'z';
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring ContainingFolder(platform::FileSystemObject& fileSystem, std::wstring_view path) {
  std::wstring folder = fileSystem.GetParentFolderName(path);
  if (!folder.empty() && !IsBareDrive(folder)) return folder;
  // "\x.ipr" and "C:\x.ipr" really lie at a root, where "" or "C:" is the right folder.
  const bool atRoot =
      path.size() > folder.size() && path.starts_with(folder) && IsSeparator(path[folder.size()]);
  if (atRoot) return folder;
  return fileSystem.GetParentFolderName(fileSystem.GetAbsolutePathName(path));
}

}  // namespace upgrade
