#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

namespace platform_test {
namespace fs = std::filesystem;

namespace {

// Wide paths as the services under test take them, without going through those services.
fs::path ToPath(const std::wstring& path) {
#ifdef _WIN32
  return fs::path(path);
#else
  // UTF-32 converts to the UTF-8 of the file system whatever the locale.
  std::u32string generic(path.begin(), path.end());
  for (char32_t& c : generic) {
    if (c == U'\\') c = U'/';
  }
  return fs::path(generic);
#endif
}

}  // namespace

ScratchFolder::ScratchFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "bu_platform_";
  name += test ? test->name() : "test";
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  name += '_';
  name += std::to_string(stamp);
  name += '_';
  name += std::to_string(counter++);
  root_ = fs::absolute(fs::path(testing::TempDir()) / name);
  fs::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root_, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(root_, error);
}

std::wstring ScratchFolder::Path(std::wstring_view name) const {
  return root_.wstring() + L"\\" + std::wstring(name);
}

void WriteBytes(const std::wstring& path, std::string_view bytes) {
  std::ofstream out(ToPath(path), std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(out) << "cannot create a test file";
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.flush()) << "cannot write a test file";
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(ToPath(path), std::ios::binary);
  EXPECT_TRUE(in) << "cannot open a test file";
  std::string bytes(static_cast<std::size_t>(fs::file_size(ToPath(path))), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

bool IsFolder(const std::wstring& path) { return fs::is_directory(ToPath(path)); }

void MakeReadOnly(const std::wstring& path) {
  fs::permissions(ToPath(path),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

}  // namespace platform_test
