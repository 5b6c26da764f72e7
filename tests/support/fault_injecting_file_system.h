// File services that forward to real ones and can fail one chosen operation.
//
// Every call of FileSystemObject and of the TextStreams it opens counts as one operation (1, 2,
// ...); destroying a stream does not. An operation whose number is in `failAt` is not forwarded
// and throws platform::Failure with `errorNumber`. The plan and the log are shared with
// the test, so they outlive the file services that an UpgradeState owns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forwarding_file_system.h"
#include "ui/upgrade_state.h"

namespace upgrade_test {

struct Operation {
  std::string name;   // e.g. "DeleteFile", "TextStream::WriteLine"
  std::wstring path;  // the path of a file-system call, or of the file a stream is open on
  std::wstring destination = {};  // ReplaceFile's replacement
};

struct FaultPlan {
  std::vector<std::int64_t> failAt;  // the operations to fail; empty: never fail
  std::int32_t errorNumber = 0;
  std::int64_t count = 0;  // operations so far, the failed ones included
  std::vector<Operation> log;
  // When not empty, GetTempName hands these out in order instead of asking the real services.
  std::vector<std::wstring> tempNames;
  // Called for each operation after it is counted and before it is forwarded, so that a test can
  // change the files under the upgrade's feet, or fail the operation by throwing.
  std::function<void(const Operation&)> beforeForward;

  // Counts one operation and throws when it is one to fail.
  void Count(std::string name, std::wstring_view path, std::wstring_view destination = {});
  bool Failed() const;
  // The numbers of the logged operations of that name on that path, in order.
  std::vector<std::int64_t> Find(std::string_view name, std::wstring_view path) const;
};

class FaultInjectingFileSystem final : public platform::ForwardingFileSystem {
 public:
  FaultInjectingFileSystem(std::unique_ptr<platform::FileSystemObject> inner,
                           std::shared_ptr<FaultPlan> plan);

  bool FileExists(std::wstring_view path) override;
  std::wstring GetParentFolderName(std::wstring_view path) override;
  std::wstring GetAbsolutePathName(std::wstring_view path) override;
  std::wstring GetTempName() override;
  void CreateFolder(std::wstring_view path) override;
  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create) override;
  std::unique_ptr<platform::TextStream> CreateTextFile(std::wstring_view path) override;
  void DeleteFile(std::wstring_view path) override;
  void ReplaceFile(std::wstring_view target, std::wstring_view replacement) override;

 private:
  std::shared_ptr<FaultPlan> plan_;
};

// A factory for UpgradeState that wraps other file services, the platform's real ones unless
// chosen otherwise, in the plan.
ui::UpgradeState::FileSystemFactory FaultInjectingFactory(
    std::shared_ptr<FaultPlan> plan,
    ui::UpgradeState::FileSystemFactory inner = platform::CreatePlatformFileSystem);

}  // namespace upgrade_test
