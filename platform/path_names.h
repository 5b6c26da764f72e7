// The program's path arithmetic, shared by the file services of every platform and by the
// upgrade, and tested on any.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class FileSystemObject;

enum class PathStyle {
  kPosix,    // "/" or "\" between names; a leading separator is the root
  kWindows,  // "\" or "/" between names; roots "C:", "\\server\share", "\\?\C:", "\\?\UNC\s\s"
};

// The length of the root at the start of the path ("C:", "\\server\share"; 0 for a POSIX path),
// not counting the separator after it.
std::size_t RootLength(std::wstring_view path, PathStyle style);

// The path without its last name and without the separators before that name, the root kept:
// "C:\x" -> "C:", "C:x" -> "C:", "\\s\sh\x" -> "\\s\sh", "/a/b" -> "/a", "/x" -> "", "x" -> "".
// Trailing separators are not a name. A bare root has no parent: "".
std::wstring ParentFolderName(std::wstring_view path, PathStyle style);

// The folder that holds the path's last name, named so that it can be opened: the parent folder,
// or for a name at a root that root's folder itself, separator kept ("C:\x" -> "C:\", "/x" -> "/",
// while "C:x" -> "C:", the drive's current folder); "" for a bare name.
std::wstring FolderHoldingName(std::wstring_view path, PathStyle style);

// An absolute POSIX path with "/" separators and no ".", ".." or repeated separators, for `path`
// taken relative to the absolute folder `currentFolder`. ".." above the root stays at the root.
std::wstring AbsolutePosixPath(std::wstring_view currentFolder, std::wstring_view path);

// The folder that holds the file at `path`, for the paths that the upgrade forms beside it: the
// file services' parent folder, except where that is only the start of a relative path. A path
// typed without a folder part ("Project.ipr") or with a drive only ("C:Project.ipr") has a parent
// of "" or "C:", and appending "\File Groups" to that would name a folder at the root of a drive;
// such a path is made absolute first, so that the folder is the one the file was found in. A path
// at a root ("\x.ipr", "C:\x.ipr") lies in that root, "" or "C:".
std::wstring ContainingFolder(FileSystemObject& fileSystem, std::wstring_view path);

}  // namespace platform
