// File services and text streams that forward every operation to other ones, which they own: the
// base for wrappers that change a few operations and pass the rest through, such as services that
// inject faults or skip the writes through to the disk. A wrapper that changes the streams as well
// overrides OpenTextFile and CreateTextFile and wraps what the base returns in a
// ForwardingTextStream. An operation added to either interface is forwarded here, once for every
// wrapper.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_system_object.h"
#include "platform/text_stream.h"

namespace platform {

class ForwardingTextStream : public TextStream {
 public:
  explicit ForwardingTextStream(std::unique_ptr<TextStream> target) : target_(std::move(target)) {}

  bool AtEndOfStream() override { return target_->AtEndOfStream(); }
  std::string_view ReadLineBytes() override { return target_->ReadLineBytes(); }
  void WriteLineBytes(std::string_view bytes) override { target_->WriteLineBytes(bytes); }
  std::string_view ReadBytes() override { return target_->ReadBytes(); }
  void WriteBlankLines(int count) override { target_->WriteBlankLines(count); }
  void FlushToDisk() override { target_->FlushToDisk(); }
  void Close() override { target_->Close(); }
  void Abandon() noexcept override { target_->Abandon(); }

 private:
  std::unique_ptr<TextStream> target_;
};

class ForwardingFileSystem : public FileSystemObject {
 public:
  explicit ForwardingFileSystem(std::unique_ptr<FileSystemObject> target)
      : target_(std::move(target)) {}

  bool FileExists(std::wstring_view path) override { return target_->FileExists(path); }
  std::wstring GetParentFolderName(std::wstring_view path) override {
    return target_->GetParentFolderName(path);
  }
  std::wstring GetAbsolutePathName(std::wstring_view path) override {
    return target_->GetAbsolutePathName(path);
  }
  std::wstring GetTempName() override { return target_->GetTempName(); }
  void CreateFolder(std::wstring_view path) override { target_->CreateFolder(path); }
  std::unique_ptr<TextStream> OpenTextFile(std::wstring_view path, IoMode mode,
                                           bool create) override {
    return target_->OpenTextFile(path, mode, create);
  }
  std::unique_ptr<TextStream> CreateTextFile(std::wstring_view path) override {
    return target_->CreateTextFile(path);
  }
  void DeleteFile(std::wstring_view path) override { target_->DeleteFile(path); }
  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override {
    target_->ReplaceFile(target, replacement);
  }

 private:
  std::unique_ptr<FileSystemObject> target_;
};

}  // namespace platform
