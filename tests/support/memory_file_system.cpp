#include "tests/support/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/buffered_text_stream.h"
#include "platform/byte_file_system.h"
#include "platform/failure.h"
#include "platform/path_names.h"

namespace test_support {
namespace {

using platform::Failure;
using NodePtr = MemoryDisk::NodePtr;

#ifdef _WIN32
constexpr platform::PathStyle kPlatformStyle = platform::PathStyle::kWindows;
#else
constexpr platform::PathStyle kPlatformStyle = platform::PathStyle::kPosix;
#endif

constexpr wchar_t kCurrentFolder[] = L"\\current";

std::wstring FolderKey(std::wstring_view key) {
  return platform::ParentFolderName(key, platform::PathStyle::kPosix);
}

class NodeChannel final : public platform::ByteChannel {
 public:
  explicit NodeChannel(NodePtr node) : node_(std::move(node)) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    const std::size_t count =
        std::min(capacity, node_->data.size() - std::min(at_, node_->data.size()));
    if (count != 0) std::memcpy(buffer, node_->data.data() + at_, count);
    at_ += count;
    return count;
  }
  void Write(const char* data, std::size_t size) override { node_->data.append(data, size); }
  void Sync() override { node_->durable = node_->data; }
  void Close() override {}

 private:
  NodePtr node_;
  std::size_t at_ = 0;
};

class MemoryFileSystem final : public platform::FileSystemObject {
 public:
  explicit MemoryFileSystem(std::shared_ptr<MemoryDisk> disk) : disk_(std::move(disk)) {
    if (!disk_->IsFolder(kCurrentFolder)) disk_->PutFolder(kCurrentFolder);
  }

  bool FileExists(std::wstring_view path) override {
    const NodePtr node = disk_->Find(path);
    return node && !node->folder;
  }

  std::wstring GetParentFolderName(std::wstring_view path) override {
    return platform::ParentFolderName(path, kPlatformStyle);
  }

  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    std::wstring absolute = platform::AbsolutePosixPath(kCurrentFolder, path);
    std::replace(absolute.begin(), absolute.end(), L'/', L'\\');
    return absolute;
  }

  std::wstring GetTempName() override { return tempNames_.Next(); }

  void CreateFolder(std::wstring_view path) override {
    if (disk_->Find(path)) throw Failure(platform::kFileAlreadyExists, "the name is taken");
    RequireFolderOf(path);
    disk_->Add(path, true);
    WriteThroughNameOf(path);
  }

  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create) override {
    if (mode == platform::IoMode::ForReading) {
      const NodePtr node = ExistingFile(path);
      return std::make_unique<platform::BufferedTextStream>(
          std::make_unique<NodeChannel>(node), platform::BufferedTextStream::Direction::kRead,
          platform::BufferedTextStream::kDefaultBufferSize, platform::kMaxLineLength);
    }
    NodePtr node = disk_->Find(path);
    if (!node && !create) Found(path);  // throws the missing file's number
    std::unique_ptr<platform::TextStream> writer = Writer(path);
    if (create) WriteThroughNameOf(path);
    return writer;
  }

  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view path) override {
    if (disk_->Find(path)) throw Failure(platform::kFileAlreadyExists, "the name is taken");
    return Writer(path);
  }

  void DeleteFile(std::wstring_view path) override {
    const NodePtr node = Found(path);
    if (node->folder) throw Failure(platform::kFileNotFound, "a folder, not a file");
    if (node->readOnly) throw Failure(platform::kPermissionDenied, "the file is read-only");
    disk_->Remove(path);
  }

  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    if (const NodePtr old = disk_->Find(target)) RequireWritable(*old);
    ExistingFile(replacement);
    RequireFolderOf(target);
    disk_->Rename(replacement, target);
  }

 private:
  void RequireFolderOf(std::wstring_view path) const {
    if (!disk_->FolderExists(FolderKey(MemoryDisk::Key(path)))) {
      throw Failure(platform::kPathNotFound, "no such folder");
    }
  }

  // The file or folder at the path; a missing one fails as missing, its folder first.
  NodePtr Found(std::wstring_view path) const {
    if (NodePtr node = disk_->Find(path)) return node;
    RequireFolderOf(path);
    throw Failure(platform::kFileNotFound, "no such file");
  }

  NodePtr ExistingFile(std::wstring_view path) const {
    const NodePtr node = Found(path);
    if (node->folder) throw Failure(platform::kPermissionDenied, "a folder, not a file");
    return node;
  }

  // Where the platforms write a new name through, and only there, so that a run is as durable here
  // as on their disks and no more.
  void WriteThroughNameOf(std::wstring_view path) {
    disk_->WriteThroughFolder(FolderKey(MemoryDisk::Key(path)));
  }

  static void RequireWritable(const MemoryDisk::Node& node) {
    if (node.folder) throw Failure(platform::kPermissionDenied, "a folder, not a file");
    if (node.readOnly) throw Failure(platform::kPermissionDenied, "the file is read-only");
  }

  // Emptying takes data away: a crash may find it done at once.
  static void Empty(MemoryDisk::Node& node) {
    node.data.clear();
    node.durable.clear();
  }

  std::unique_ptr<platform::TextStream> Writer(std::wstring_view path) {
    NodePtr node = disk_->Find(path);
    if (!node) {
      RequireFolderOf(path);
      node = disk_->Add(path, false);
    }
    RequireWritable(*node);
    Empty(*node);
    return std::make_unique<platform::BufferedTextStream>(
        std::make_unique<NodeChannel>(node), platform::BufferedTextStream::Direction::kWrite);
  }

  std::shared_ptr<MemoryDisk> disk_;
  platform::TempNameSource tempNames_;
};

}  // namespace

std::wstring MemoryDisk::Key(std::wstring_view path) {
  std::wstring key;
  key.reserve(path.size());
  for (const wchar_t c : path) {
    const bool separator = c == L'\\' || c == L'/';
    if (separator && !key.empty() && key.back() == L'\\') continue;
    key += separator ? L'\\' : c;
  }
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  return key;
}

NodePtr MemoryDisk::Find(std::wstring_view path) const {
  const auto found = names_.find(Key(path));
  return found == names_.end() ? nullptr : found->second;
}

bool MemoryDisk::FolderExists(std::wstring_view folder) const {
  if (Key(folder).empty()) return true;
  const NodePtr node = Find(folder);
  return node && node->folder;
}

NodePtr MemoryDisk::Add(std::wstring_view path, bool folder) {
  auto node = std::make_shared<Node>();
  node->folder = folder;
  const std::wstring key = Key(path);
  names_[key] = node;
  return node;
}

void MemoryDisk::Remove(std::wstring_view path) {
  const std::wstring key = Key(path);
  names_.erase(key);
  durable_.erase(key);
}

void MemoryDisk::Rename(std::wstring_view from, std::wstring_view to) {
  const std::wstring fromKey = Key(from);
  const std::wstring toKey = Key(to);
  NodePtr node = names_.at(fromKey);
  names_.erase(fromKey);
  names_[toKey] = std::move(node);
  WriteThroughFolder(FolderKey(toKey));
  WriteThroughFolder(FolderKey(fromKey));
}

void MemoryDisk::WriteThroughFolder(std::wstring_view folder) {
  const std::wstring folderKey = Key(folder);
  std::erase_if(durable_, [&](const auto& entry) {
    return FolderKey(entry.first) == folderKey && !names_.contains(entry.first);
  });
  for (const auto& [key, node] : names_) {
    if (FolderKey(key) == folderKey) durable_[key] = node;
  }
}

void MemoryDisk::PutFolder(std::wstring_view path) {
  const std::wstring key = Key(path);
  if (key.empty() || IsFolder(key)) return;
  PutFolder(FolderKey(key));
  durable_[key] = Add(key, true);
}

void MemoryDisk::Put(std::wstring_view path, std::string_view bytes) {
  const std::wstring key = Key(path);
  PutFolder(FolderKey(key));
  auto node = std::make_shared<Node>();
  node->data = node->durable = std::string(bytes);
  names_[key] = node;
  durable_[key] = node;
}

void MemoryDisk::MakeReadOnly(std::wstring_view path) { names_.at(Key(path))->readOnly = true; }

std::optional<std::string> MemoryDisk::Get(std::wstring_view path) const {
  const NodePtr node = Find(path);
  if (!node || node->folder) return std::nullopt;
  return node->data;
}

bool MemoryDisk::IsFolder(std::wstring_view path) const {
  const NodePtr node = Find(path);
  return node && node->folder;
}

std::vector<std::wstring> MemoryDisk::FilesBelow(std::wstring_view folder) const {
  const std::wstring prefix = Key(folder) + L"\\";
  std::vector<std::wstring> files;
  for (const auto& [key, node] : names_) {
    if (!node->folder && key.starts_with(prefix)) files.push_back(key.substr(prefix.size()));
  }
  return files;  // the map keeps them sorted
}

MemoryDisk MemoryDisk::AfterCrash() const {
  MemoryDisk kept;
  // A folder comes before the names in it, so the folder of each name is decided by then.
  for (const auto& [key, node] : durable_) {
    if (!kept.FolderExists(FolderKey(key))) continue;
    auto copy = std::make_shared<Node>(*node);
    copy->data = copy->durable;
    kept.names_[key] = copy;
    kept.durable_[key] = std::move(copy);
  }
  return kept;
}

std::unique_ptr<platform::FileSystemObject> CreateMemoryFileSystem(
    std::shared_ptr<MemoryDisk> disk) {
  return std::make_unique<MemoryFileSystem>(std::move(disk));
}

ui::UpgradeState::FileSystemFactory MemoryFileSystemFactory(std::shared_ptr<MemoryDisk> disk) {
  return [disk] { return CreateMemoryFileSystem(disk); };
}

}  // namespace test_support
