// File services held in memory that know which of their changes a crash or a power cut would
// keep, so that a test can stop the world after any operation and look at what is left.
//
// What a crash keeps, as the most unlucky file system would: file data only once written through
// (TextStream::FlushToDisk); a new name, a new folder's as a new file's, or a rename only once the
// folder that holds it is written through; but a deletion or the emptying of a file at once, since
// a file system may write those out at any moment. A crash keeps nothing of a folder that it does
// not keep, whatever was written through inside it. Everything a test puts on the disk itself is
// kept.
//
// Paths are those of the platform the tests are built for ("\" or "/" between names, compared
// exactly); the folder "" holds every top-level name. The services pass the file-service contract
// suite, so a run on them behaves as a run on the real ones.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system_object.h"
#include "ui/upgrade_state.h"

namespace test_support {

class MemoryDisk {
 public:
  struct Node {
    bool folder = false;
    bool readOnly = false;
    std::string data;     // what a reader sees now
    std::string durable;  // what a crash keeps
  };
  using NodePtr = std::shared_ptr<Node>;

  // The disk as a test sets it up, kept at once; the folders above the file are made as needed.
  void Put(std::wstring_view path, std::string_view bytes);
  void PutFolder(std::wstring_view path);
  void MakeReadOnly(std::wstring_view path);

  // What the world sees now.
  std::optional<std::string> Get(std::wstring_view path) const;
  bool IsFolder(std::wstring_view path) const;
  // Every file below the folder, as paths relative to it with "\" separators, sorted.
  std::vector<std::wstring> FilesBelow(std::wstring_view folder) const;

  // The disk as a crash at this moment would leave it.
  MemoryDisk AfterCrash() const;

  // For the services.
  static std::wstring Key(std::wstring_view path);
  NodePtr Find(std::wstring_view path) const;
  bool FolderExists(std::wstring_view folder) const;
  NodePtr Add(std::wstring_view path, bool folder);
  void Remove(std::wstring_view path);
  // Moves the name and writes the folders of both names through.
  void Rename(std::wstring_view from, std::wstring_view to);
  // Makes the names in the folder, as they are now, the ones that a crash keeps.
  void WriteThroughFolder(std::wstring_view folder);

 private:
  std::map<std::wstring, NodePtr> names_;    // what the world sees now
  std::map<std::wstring, NodePtr> durable_;  // what a crash keeps
};

// File services on the disk; their current folder is "\current" (made on first use).
std::unique_ptr<platform::FileSystemObject> CreateMemoryFileSystem(
    std::shared_ptr<MemoryDisk> disk);

// A factory for UpgradeState that runs the upgrade on the disk.
ui::UpgradeState::FileSystemFactory MemoryFileSystemFactory(std::shared_ptr<MemoryDisk> disk);

}  // namespace test_support
