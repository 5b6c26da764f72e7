// File services that forward to real ones and can fail one chosen operation.
//
// Every call of FileSystemObject and of the TextStreams it opens counts as one operation (1, 2,
// ...); destroying a stream does not. When the count reaches `failAt`, that operation is not
// forwarded and throws platform::Failure with `errorNumber`. The plan and the log are shared with
// the test, so they outlive the file services that an UpgradeState owns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system_object.h"

namespace upgrade_test {

struct Operation {
  std::string name;   // e.g. "DeleteFile", "TextStream::WriteLine"
  std::wstring path;  // the path of a file-system call, or of the file a stream is open on
};

struct FaultPlan {
  std::int64_t failAt = 0;  // 0: never fail
  std::int32_t errorNumber = 0;
  std::int64_t count = 0;  // operations so far, the failed one included
  std::vector<Operation> log;

  // Counts one operation and throws when it is the one to fail.
  void Count(std::string name, std::wstring_view path);
  bool Failed() const { return failAt != 0 && count >= failAt; }
};

class FaultInjectingFileSystem final : public platform::FileSystemObject {
 public:
  FaultInjectingFileSystem(std::unique_ptr<platform::FileSystemObject> inner,
                           std::shared_ptr<FaultPlan> plan);

  bool FileExists(std::wstring_view path) override;
  std::wstring GetParentFolderName(std::wstring_view path) override;
  std::wstring GetAbsolutePathName(std::wstring_view path) override;
  std::wstring GetTempName() override;
  void CreateFolder(std::wstring_view path) override;
  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create,
                                                     platform::TextFormat format) override;
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view path,
                                                       bool overwrite) override;
  void CopyFile(std::wstring_view source, std::wstring_view destination, bool overwrite) override;
  void DeleteFile(std::wstring_view path, bool force) override;

 private:
  std::unique_ptr<platform::FileSystemObject> inner_;
  std::shared_ptr<FaultPlan> plan_;
};

}  // namespace upgrade_test
