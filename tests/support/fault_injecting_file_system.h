// File services that forward to real ones and can fail chosen operations.
//
// Every call of FileSystemObject and of the TextStreams it opens is an operation, logged with its
// name and path; destroying or abandoning a stream is not. A fault names the operation to fail by
// its name, its path and which of the calls of that name on that path it is ("the second
// TextStream::WriteLine to the temporary file"); that call is not forwarded and throws
// platform::Failure with `errorNumber`. A fault after the call lets a call that writes its change
// through (CreateFolder, OpenTextFile, ReplaceFile) make the change and then fail, as one whose
// write-through fails does. The plan and the log are shared with the test, so they outlive the
// file services that an UpgradeState owns.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/forwarding_file_system.h"
#include "ui/upgrade_state.h"

namespace test_support {

struct Operation {
  std::string name;   // e.g. "DeleteFile", "TextStream::WriteLine"
  std::wstring path;  // the path of a file-system call, or of the file a stream is open on
  std::wstring destination = {};  // ReplaceFile's replacement
};

struct Fault {
  std::string operation;
  std::wstring path;
  int occurrence = 1;  // 1 for the first such call, 2 for the second, ...
  bool afterTheCall = false;
};

struct FaultPlan {
  std::vector<Fault> faults;  // empty: never fail
  std::int32_t errorNumber = 0;
  std::vector<Operation> log;  // every operation so far, the failed ones included
  int failures = 0;            // operations failed so far
  // When not empty, GetTempName hands these out in order instead of asking the real services.
  std::vector<std::wstring> tempNames;
  // Called for each operation after it is logged and before it is forwarded, so that a test can
  // change the files under the upgrade's feet, or fail the operation by throwing.
  std::function<void(const Operation&)> beforeForward;

  // Logs one operation and throws when it is one to fail; true when it is one to fail after the
  // call, with FailAfterTheCall.
  bool Count(std::string name, std::wstring_view path, std::wstring_view destination = {});
  [[noreturn]] void FailAfterTheCall();
  // The fault that fails the operation at `index` of a log such as this plan's.
  static Fault FaultAt(const std::vector<Operation>& log, std::size_t index,
                       bool afterTheCall = false);

 private:
  std::map<std::pair<std::string, std::wstring>, int> calls_;  // by name and path
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

}  // namespace test_support
