#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace test_support {
namespace fs = std::filesystem;

namespace {

// A path's text in the services' form, whatever the locale.
std::wstring Wide(const fs::path& path) {
#ifdef _WIN32
  std::wstring text = path.wstring();
#else
  const std::u32string generic = path.u32string();
  std::wstring text(generic.begin(), generic.end());
#endif
  std::replace(text.begin(), text.end(), L'/', L'\\');
  return text;
}

}  // namespace

fs::path Native(std::wstring_view servicePath) {
#ifdef _WIN32
  return fs::path(servicePath);
#else
  // UTF-32 converts to the UTF-8 of the file system whatever the locale.
  std::u32string text(servicePath.begin(), servicePath.end());
  std::replace(text.begin(), text.end(), U'\\', U'/');
  return fs::path(text);
#endif
}

std::string ReadBytes(std::wstring_view servicePath) {
  std::ifstream in(Native(servicePath), std::ios::binary);
  EXPECT_TRUE(in.is_open()) << "cannot read " << Native(servicePath);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(std::wstring_view servicePath, std::string_view bytes) {
  const fs::path path = Native(servicePath);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.flush()) << "cannot write " << path;
}

bool PathExists(std::wstring_view servicePath) {
  std::error_code error;
  return fs::exists(Native(servicePath), error);
}

bool IsFolder(std::wstring_view servicePath) {
  std::error_code error;
  return fs::is_directory(Native(servicePath), error);
}

void MakeReadOnly(std::wstring_view servicePath) {
  fs::permissions(Native(servicePath),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

std::vector<std::wstring> FolderListing(std::wstring_view servicePath) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(Native(servicePath), error)) {
    names.push_back(Wide(entry.path().filename()) + (entry.is_directory() ? L"\\" : L""));
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

std::wstring TestTempDir() {
  std::wstring temp;
  for (char c : testing::TempDir()) temp.push_back(static_cast<unsigned char>(c));
  return temp;
}

}  // namespace

ScratchFolder::ScratchFolder() : ScratchFolder(TestTempDir()) {}

ScratchFolder::ScratchFolder(std::wstring_view parent) {
  static std::atomic<unsigned> serial{0};
  std::random_device entropy;
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "bu_";
  if (test != nullptr) name += std::string(test->name()).substr(0, 40) + "_";
  name += std::to_string(entropy()) + "_" + std::to_string(serial++);
  std::replace_if(
      name.begin(), name.end(),
      [](char c) { return !std::isalnum(static_cast<unsigned char>(c)) && c != '_'; }, '_');
  std::wstring temp(parent);
  while (!temp.empty() && (temp.back() == L'/' || temp.back() == L'\\')) temp.pop_back();
  path_ = temp + L"\\" + std::wstring(name.begin(), name.end());
  fs::create_directories(Native(path_));
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  // Read-only files and folders written by a test would stop the removal.
  for (auto it = fs::recursive_directory_iterator(Native(path_), error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(Native(path_), error);
}

std::wstring ScratchFolder::Child(std::wstring_view relative) const {
  return path_ + L"\\" + std::wstring(relative);
}

std::vector<std::wstring> ScratchFolder::Files() const {
  std::vector<std::wstring> files;
  const fs::path root = Native(path_);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    files.push_back(Wide(entry.path().lexically_relative(root)));
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace test_support
