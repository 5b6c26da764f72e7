// A fresh folder per test under the test temp folder, removed with all it holds, read-only files
// included, when the test ends. Raw byte helpers that bypass the services under test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/failure.h"

namespace platform_test {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder followed by "\" and the name, as the upgrade builds its paths.
  std::wstring Path(std::wstring_view name) const;
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

void WriteBytes(const std::wstring& path, std::string_view bytes);
std::string ReadBytes(const std::wstring& path);
bool IsFolder(const std::wstring& path);
void MakeReadOnly(const std::wstring& path);

// The error number of the Failure that `action` throws, or 0 when it throws none.
template <typename Action>
std::int32_t FailureNumber(Action&& action) {
  try {
    action();
  } catch (const platform::Failure& failure) {
    return failure.number();
  }
  return 0;
}

}  // namespace platform_test
