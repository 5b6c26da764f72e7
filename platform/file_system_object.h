// The file services through which the upgrade reaches files. Implemented for Win32 (wide-character
// paths) and POSIX (which accepts "\" as the separator and maps it), and wrapped in tests to
// inject faults. Every operation throws platform::Failure on failure (see failure.h for numbers).
//
// What is on the disk, so that a crash or a power cut keeps it, when a call returns: the name that
// CreateFolder makes, the name of a file that OpenTextFile opens for writing with create, and the
// whole of ReplaceFile; a writer's lines once TextStream::FlushToDisk returns. Nothing else: a file
// made by CreateTextFile has its name on the disk only once ReplaceFile puts it in place. A call
// whose write-through fails fails, its change made. A file system that cannot write a folder
// through on request (it refuses the request as unsupported) is left to write its names as it
// does by itself.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/text_stream.h"

namespace platform {

// Every file is opened as 8-bit text, the only format the upgrade reads or writes.
enum class IoMode { ForReading = 1, ForWriting = 2 };

class FileSystemObject {
 public:
  virtual ~FileSystemObject() = default;
  FileSystemObject(const FileSystemObject&) = delete;
  FileSystemObject& operator=(const FileSystemObject&) = delete;

  // True if a file (not a folder or a device) exists at the path.
  virtual bool FileExists(std::wstring_view path) = 0;
  // The path without its last component and without the separator before it; "" for a bare name.
  virtual std::wstring GetParentFolderName(std::wstring_view path) = 0;
  // The path made absolute against the current folder.
  virtual std::wstring GetAbsolutePathName(std::wstring_view path) = 0;
  // A fresh file name without a folder part; it may be taken already.
  virtual std::wstring GetTempName() = 0;
  // Creates a new folder, its name on the disk; fails with kFileAlreadyExists if it exists.
  virtual void CreateFolder(std::wstring_view path) = 0;
  // Opens a file. ForReading: a reader at the first line; fails with kFileNotFound if the file is
  // missing and create is false. ForWriting: a writer on an empty file, created if missing (when
  // create is true, and then with its name on the disk), emptied if present.
  virtual std::unique_ptr<TextStream> OpenTextFile(std::wstring_view path, IoMode mode,
                                                   bool create) = 0;
  // Creates a new, empty file and opens it for writing. It fails with kFileAlreadyExists if any
  // file is there, atomically, so that it never empties a file that appeared meanwhile.
  virtual std::unique_ptr<TextStream> CreateTextFile(std::wstring_view path) = 0;
  // The file is gone. A read-only file is not deleted and the call fails with kPermissionDenied.
  virtual void DeleteFile(std::wstring_view path) = 0;
  // Puts the file at `replacement` in the place of the file at `target` in one atomic step that
  // is on the disk when the call returns: `target` names its old file or the replacement, whole,
  // whatever happens meanwhile, and `replacement` is gone after. Write the replacement through
  // first (TextStream::FlushToDisk). A read-only target is refused with kPermissionDenied and a
  // folder with kPermissionDenied too, both left as they are; a target that another program
  // holds is tried again for about a second before the call fails.
  virtual void ReplaceFile(std::wstring_view target, std::wstring_view replacement) = 0;

 protected:
  FileSystemObject() = default;
};

// The file services of the platform the program is built for.
std::unique_ptr<FileSystemObject> CreatePlatformFileSystem();

}  // namespace platform
