// Files far larger than any project: the rewrite streams them, so memory stays flat whatever their
// size, and a single huge line is held once. The files are made in the test's scratch folder and
// removed with it. The flat cases come first: where the platform cannot reset the peak memory,
// each test's peak then is its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/text_stream.h"
#include "tests/hostile/memory_probe.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scratch_folder.h"
#include "ui/upgrade_state.h"
#include "upgrade/upgrade_run.h"

namespace hostile_test {
namespace {

using namespace test_support;

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::size_t kHugeFile = 300 * kMiB;
// Room for the stream buffers, the sanitizers' bookkeeping and the test's own chunks.
constexpr std::size_t kFlatAllowance = 48 * kMiB;

// Writes a file from chunks and keeps a digest of it, so that huge expected texts need not be
// held: the test writes the input and computes the expected output side by side.
class DigestFile {
 public:
  explicit DigestFile(const std::wstring* path) {
    if (path != nullptr) out_.open(Native(*path), std::ios::binary | std::ios::trunc);
  }
  void Add(std::string_view bytes) {
    if (out_.is_open()) out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    for (const char c : bytes) hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 1099511628211u;
    size_ += bytes.size();
  }
  std::uint64_t Hash() const { return hash_; }
  std::uint64_t Size() const { return size_; }
  bool Good() {
    out_.close();
    return !out_.fail();
  }

 private:
  std::ofstream out_;
  std::uint64_t hash_ = 14695981039346656037u;
  std::uint64_t size_ = 0;
};

std::pair<std::uint64_t, std::uint64_t> DigestOf(const std::wstring& path) {
  std::ifstream in(Native(path), std::ios::binary);
  DigestFile digest(nullptr);
  std::string chunk(kMiB, '\0');
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
    digest.Add(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
  }
  return {digest.Size(), digest.Hash()};
}

// Bytes that the upgrade copies unchanged.
void Unchanged(DigestFile& in, DigestFile& out, std::string_view bytes) {
  in.Add(bytes);
  out.Add(bytes);
}

struct Expected {
  std::uint64_t size, hash;
};

// Writes the input through `write` and returns the digest of the expected upgraded file.
Expected Generate(const std::wstring& path,
                  const std::function<void(DigestFile& in, DigestFile& out)>& write) {
  DigestFile in(&path);
  DigestFile out(nullptr);
  write(in, out);
  EXPECT_TRUE(in.Good()) << "cannot write " << Native(path);
  return {out.Size(), out.Hash()};
}

struct RunResult {
  RecordingUi ui;
  std::size_t peakGrowth;
};

RunResult Convert(const std::wstring& project) {
  RunResult result{RecordingUi(project), 0};
  ui::UpgradeState state;
  const std::size_t before = StartPeakMemory();
  EXPECT_NO_THROW(upgrade::ConvertButton_Click(state, result.ui));
  const std::size_t after = PeakMemory();
  result.peakGrowth = after > before ? after - before : 0;
  return result;
}

// A run without a message box that ends with this status text.
void ExpectQuietRun(const RunResult& run, const std::wstring& status) {
  EXPECT_TRUE(run.ui.messages.empty());
  EXPECT_EQ(run.ui.statusText, status);
}

void ExpectDigest(const std::wstring& path, const Expected& expected) {
  const auto [size, hash] = DigestOf(path);
  EXPECT_EQ(size, expected.size) << Native(path);
  EXPECT_EQ(hash, expected.hash) << Native(path);
}

const std::string kProject = "[General]\r\nType=STANDARD\r\nVersion=1.10.000\r\n";
const std::string kUpgradedProject = "[General]\r\nType=STANDARD\r\nVersion=1.20.000\r\n";

// Writes a small code-1 project and makes its File Groups folder; returns the file-group path.
std::wstring PrepareCode1Project(const ScratchFolder& folder) {
  WriteBytes(folder.Child(L"Project.ipr"), kProject);
  std::filesystem::create_directories(Native(folder.Child(L"File Groups")));
  return folder.Child(L"File Groups\\Default.fdf");
}

TEST(LargeFile, HugeFileGroupsFileUpgradesInFlatMemory) {
  ScratchFolder folder;
  const std::wstring project = folder.Child(L"Project.ipr");
  const std::wstring fileGroups = PrepareCode1Project(folder);
  const Expected expected = Generate(fileGroups, [](DigestFile& in, DigestFile& out) {
    in.Add("[Info]\r\nType=FileGrp\r\n");
    out.Add("[Info]\r\nType=FileGrp\r\n");
    std::string group;
    for (int f = 0; f < 64; ++f) {
      group += "File" + std::to_string(f) + "=<TARGETDIR>\\bin\\component_" + std::to_string(f) +
               ".dll\r\n";
    }
    for (int g = 0; in.Size() < kHugeFile; ++g) {
      const std::string header = "[Group " + std::to_string(g) + "]\r\n";
      in.Add(header);
      in.Add(group);
      out.Add(header);
      out.Add("LINKTYPE=Static Link\r\n");
      out.Add(group);
    }
  });
  const RunResult run = Convert(project);
  ExpectQuietRun(run, L"Complete!");
  ExpectDigest(fileGroups, expected);
  EXPECT_EQ(ReadBytes(project), kUpgradedProject);
  EXPECT_LT(run.peakGrowth, kFlatAllowance)
      << "peak memory grew by " << run.peakGrowth / kMiB << " MiB";
  EXPECT_EQ(folder.Files().size(), 2u);
}

TEST(LargeFile, HugeProjectFileUpgradesInFlatMemory) {
  ScratchFolder folder;
  const std::wstring project = folder.Child(L"Project.ipr");
  // Comments: lines that the version check reads past without keeping anything of them.
  const Expected expected = Generate(project, [](DigestFile& in, DigestFile& out) {
    in.Add(kProject);
    out.Add(kUpgradedProject);
    const std::string comments = [] {
      std::string block;
      for (int i = 0; i < 1024; ++i) block += "; a note that the project keeps about its files\r\n";
      return block;
    }();
    while (in.Size() < kHugeFile) {
      Unchanged(in, out, comments);
    }
  });
  const RunResult run = Convert(project);
  ExpectQuietRun(run, L"Complete!");
  ExpectDigest(project, expected);
  EXPECT_LT(run.peakGrowth, kFlatAllowance)
      << "peak memory grew by " << run.peakGrowth / kMiB << " MiB";
  EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"Project.ipr"});
}

// A file-group file whose one long line is `line` bytes; returns the expected upgraded digest.
Expected WriteOneLongLine(const std::wstring& fileGroups, std::size_t line) {
  return Generate(fileGroups, [line](DigestFile& in, DigestFile& out) {
    in.Add("[Info]\r\n[Group]\r\nFile0=");
    out.Add("[Info]\r\n[Group]\r\nLINKTYPE=Static Link\r\nFile0=");
    const std::string chunk(kMiB, 'x');
    const std::size_t head = std::string_view("File0=").size();
    for (std::size_t done = head; done < line;) {
      const std::size_t part = std::min(chunk.size(), line - done);
      Unchanged(in, out, std::string_view(chunk).substr(0, part));
      done += part;
    }
    in.Add("\r\nFile1=y");
    out.Add("\r\nFile1=y\r\n");
  });
}

TEST(LargeFile, SingleHugeLineIsHeldOnce) {
  constexpr std::size_t kLine = 60 * kMiB;
  ScratchFolder folder;
  const std::wstring project = folder.Child(L"Project.ipr");
  const std::wstring fileGroups = PrepareCode1Project(folder);
  const Expected expected = WriteOneLongLine(fileGroups, kLine);
  const RunResult run = Convert(project);
  ExpectQuietRun(run, L"Complete!");
  ExpectDigest(fileGroups, expected);
  // The line is held as its bytes once; growing it may briefly need its old storage as well.
  EXPECT_LT(run.peakGrowth, 2 * kLine + kFlatAllowance)
      << "peak memory grew by " << run.peakGrowth / kMiB << " MiB";
}

TEST(LargeFile, LineLongerThanTheStreamsTakeFailsTheRewriteAndKeepsTheFile) {
  ScratchFolder folder;
  const std::wstring project = folder.Child(L"Project.ipr");
  const std::wstring fileGroups = PrepareCode1Project(folder);
  WriteOneLongLine(fileGroups, platform::kMaxLineLength + 1);
  const auto [size, hash] = DigestOf(fileGroups);
  const RunResult run = Convert(project);
  const std::wstring message = L"Error when upgrading " + fileGroups + L".";
  EXPECT_EQ(run.ui.messages, std::vector<std::wstring>{message});
  EXPECT_EQ(run.ui.statusText, message);
  ExpectDigest(fileGroups, Expected{size, hash});
  EXPECT_EQ(ReadBytes(project), kUpgradedProject);
  EXPECT_EQ(folder.Files().size(), 2u) << "no temporary file stays";
  EXPECT_LT(run.peakGrowth, 2 * platform::kMaxLineLength + kFlatAllowance)
      << "peak memory grew by " << run.peakGrowth / kMiB << " MiB";
}

TEST(LargeFile, SingleHugeLineInTheProjectFailsTheVersionCheckSilently) {
  ScratchFolder folder;
  const std::wstring project = folder.Child(L"Project.ipr");
  const Expected same = Generate(project, [](DigestFile& in, DigestFile& out) {
    Unchanged(in, out, kProject);
    const std::string chunk(kMiB, 'n');
    Unchanged(in, out, ";");
    for (int i = 0; i < 100; ++i) {
      Unchanged(in, out, chunk);
    }
  });
  // Longer than the INI reader takes: the version check cannot load it and, as for any project
  // it cannot load, passes over it without a message; nothing is changed.
  const RunResult run = Convert(project);
  ExpectQuietRun(run, L"");
  ExpectDigest(project, same);
  EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"Project.ipr"});
}

}  // namespace
}  // namespace hostile_test
