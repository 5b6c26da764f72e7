#include "platform/path_names.h"

#include <vector>

#include "platform/file_system_object.h"

namespace platform {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The end of the name that starts at `from`.
std::size_t NameEnd(std::wstring_view path, std::size_t from) {
  while (from < path.size() && !IsSeparator(path[from])) ++from;
  return from;
}

std::size_t DriveLength(std::wstring_view path, std::size_t from) {
  return path.size() >= from + 2 && IsDriveLetter(path[from]) && path[from + 1] == L':' ? 2 : 0;
}

bool IsBareDrive(std::wstring_view folder) {
  return folder.size() == 2 && DriveLength(folder, 0) == 2;
}

std::size_t WindowsRootLength(std::wstring_view path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    const bool prefixed =
        path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]);
    if (prefixed) {
      const std::wstring_view rest = path.substr(4);
      const bool unc = rest.size() >= 3 &&
                       (rest.substr(0, 3) == L"UNC" || rest.substr(0, 3) == L"unc") &&
                       (rest.size() == 3 || IsSeparator(rest[3]));
      if (unc) {
        const std::size_t serverEnd = NameEnd(path, std::min(path.size(), std::size_t{8}));
        return serverEnd < path.size() ? NameEnd(path, serverEnd + 1) : serverEnd;
      }
      if (const std::size_t drive = DriveLength(path, 4); drive != 0) return 4 + drive;
      return NameEnd(path, 4);  // a device such as \\.\COM1
    }
    const std::size_t serverEnd = NameEnd(path, 2);
    return serverEnd < path.size() ? NameEnd(path, serverEnd + 1) : serverEnd;
  }
  return DriveLength(path, 0);
}

}  // namespace

std::size_t RootLength(std::wstring_view path, PathStyle style) {
  return style == PathStyle::kWindows ? WindowsRootLength(path) : 0;
}

std::wstring ParentFolderName(std::wstring_view path, PathStyle style) {
  const std::size_t root = RootLength(path, style);
  std::size_t end = path.size();
  while (end > root && IsSeparator(path[end - 1])) --end;
  if (end == root) return L"";  // the root itself, or nothing
  while (end > root && !IsSeparator(path[end - 1])) --end;
  while (end > root && IsSeparator(path[end - 1])) --end;
  return std::wstring(path.substr(0, end));
}

std::wstring FolderHoldingName(std::wstring_view path, PathStyle style) {
  const std::wstring parent = ParentFolderName(path, style);
  const std::size_t root = RootLength(path, style);
  if (parent.size() == root && path.size() > root && IsSeparator(path[root])) {
    return std::wstring(path.substr(0, root + 1));
  }
  return parent;
}

std::wstring AbsolutePosixPath(std::wstring_view currentFolder, std::wstring_view path) {
  std::vector<std::wstring_view> names;
  const auto add = [&names](std::wstring_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
      if (IsSeparator(text[at])) {
        ++at;
        continue;
      }
      const std::size_t end = NameEnd(text, at);
      const std::wstring_view name = text.substr(at, end - at);
      if (name == L"..") {
        if (!names.empty()) names.pop_back();
      } else if (name != L".") {
        names.push_back(name);
      }
      at = end;
    }
  };
  if (path.empty() || !IsSeparator(path[0])) add(currentFolder);
  add(path);
  std::wstring result;
  for (const std::wstring_view name : names) {
    result += L'/';
    result += name;
  }
  return result.empty() ? L"/" : result;
}

std::wstring ContainingFolder(FileSystemObject& fileSystem, std::wstring_view path) {
  std::wstring folder = fileSystem.GetParentFolderName(path);
  if (!folder.empty() && !IsBareDrive(folder)) return folder;
  const bool atRoot =
      path.size() > folder.size() && path.starts_with(folder) && IsSeparator(path[folder.size()]);
  if (atRoot) return folder;
  return fileSystem.GetParentFolderName(fileSystem.GetAbsolutePathName(path));
}

}  // namespace platform
