#include "platform/posix_errors.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/failure.h"

namespace platform {
namespace {

bool ParentFolderExists(const std::string& nativePath) {
  std::string_view path = nativePath;
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  const std::size_t slash = path.rfind('/');
  const std::string parent(slash == std::string_view::npos
                               ? std::string_view(".")
                               : path.substr(0, slash == 0 ? 1 : slash));
  struct stat info {};
  return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::int32_t ErrorNumberFromErrno(int error, bool parentFolderExists) {
  switch (error) {
    case ENOENT:
      return parentFolderExists ? kFileNotFound : kPathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kPathNotFound;
    case EEXIST:
      return kFileAlreadyExists;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR:
    case EBUSY:
      return kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case ENOMEM:
      return kOutOfMemory;
    default:
      return kPathFileAccessError;
  }
}

void ThrowErrno(int error, std::string_view action, const std::string& nativePath) {
  const bool parentExists = error == ENOENT && ParentFolderExists(nativePath);
  std::string detail(action);
  detail += " \"" + nativePath + "\": " + std::strerror(error);
  throw Failure(ErrorNumberFromErrno(error, parentExists), std::move(detail));
}

}  // namespace platform
