// The contract of the file services, run against every implementation this build has.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/file_system_object.h"
#include "tests/support/failure_number.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/scratch_folder.h"

namespace platform_test {
namespace {

using test_support::FailureNumber;
using test_support::ScratchFolder;

using platform::FileSystemObject;
using platform::IoMode;
using platform::TextStream;
namespace fs = std::filesystem;

// One implementation under test, with a way to its files that does not go through it.
class Harness {
 public:
  virtual ~Harness() = default;
  virtual std::unique_ptr<FileSystemObject> Create() = 0;
  // A fresh folder for the test, without a trailing separator.
  virtual std::wstring Root() = 0;
  virtual std::wstring CurrentFolder() = 0;
  virtual void Write(const std::wstring& path, std::string_view bytes) = 0;
  virtual std::string Read(const std::wstring& path) = 0;
  virtual bool IsFolder(const std::wstring& path) = 0;
  virtual void MakeReadOnly(const std::wstring& path) = 0;
  // Whether names have the length limit of a real file system.
  virtual bool LimitsNameLength() const { return true; }
  // The disk, where the test can see what a crash would keep of it.
  virtual const test_support::MemoryDisk* CrashableDisk() const { return nullptr; }
};

// The platform's own services on a scratch folder of the real disk.
class DiskHarness final : public Harness {
 public:
  explicit DiskHarness(std::unique_ptr<FileSystemObject> (*create)()) : create_(create) {}
  std::unique_ptr<FileSystemObject> Create() override { return create_(); }
  std::wstring Root() override { return scratch_.Path(); }
  std::wstring CurrentFolder() override { return fs::current_path().wstring(); }
  void Write(const std::wstring& path, std::string_view bytes) override {
    test_support::WriteBytes(path, bytes);
  }
  std::string Read(const std::wstring& path) override { return test_support::ReadBytes(path); }
  bool IsFolder(const std::wstring& path) override { return test_support::IsFolder(path); }
  void MakeReadOnly(const std::wstring& path) override { test_support::MakeReadOnly(path); }

 private:
  std::unique_ptr<FileSystemObject> (*create_)();
  ScratchFolder scratch_;
};

// The tests' in-memory services, which must behave as the real ones do.
class MemoryHarness final : public Harness {
 public:
  MemoryHarness() { disk_->PutFolder(Root()); }
  std::unique_ptr<FileSystemObject> Create() override {
    return test_support::CreateMemoryFileSystem(disk_);
  }
  std::wstring Root() override { return L"\\scratch"; }
  std::wstring CurrentFolder() override { return L"\\current"; }
  void Write(const std::wstring& path, std::string_view bytes) override { disk_->Put(path, bytes); }
  std::string Read(const std::wstring& path) override {
    const auto bytes = disk_->Get(path);
    EXPECT_TRUE(bytes.has_value()) << "no such file";
    return bytes.value_or("");
  }
  bool IsFolder(const std::wstring& path) override { return disk_->IsFolder(path); }
  void MakeReadOnly(const std::wstring& path) override { disk_->MakeReadOnly(path); }
  bool LimitsNameLength() const override { return false; }
  const test_support::MemoryDisk* CrashableDisk() const override { return disk_.get(); }

 private:
  std::shared_ptr<test_support::MemoryDisk> disk_ = std::make_shared<test_support::MemoryDisk>();
};

struct Implementation {
  const char* name;
  std::function<std::unique_ptr<Harness>()> harness;
};

// Paths compared whatever separator they use.
std::wstring Generic(std::wstring path) {
  std::replace(path.begin(), path.end(), L'\\', L'/');
  return path;
}

void PrintTo(const Implementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

class FileSystemContract : public testing::TestWithParam<Implementation> {
 protected:
  std::unique_ptr<TextStream> Reader(const std::wstring& path) {
    return files_->OpenTextFile(path, IoMode::ForReading, false);
  }
  std::unique_ptr<TextStream> Writer(const std::wstring& path) {
    return files_->OpenTextFile(path, IoMode::ForWriting, true);
  }
  std::vector<std::wstring> ReadAllLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    auto reader = Reader(path);
    std::wstring line;
    while (!reader->AtEndOfStream()) {
      reader->ReadLine(line);
      lines.push_back(line);
    }
    reader->Close();
    return lines;
  }

  std::wstring Path(std::wstring_view name) const { return root_ + L"\\" + std::wstring(name); }
  void WriteBytes(const std::wstring& path, std::string_view bytes) {
    harness_->Write(path, bytes);
  }
  std::string ReadBytes(const std::wstring& path) { return harness_->Read(path); }
  bool IsFolder(const std::wstring& path) { return harness_->IsFolder(path); }
  void MakeReadOnly(const std::wstring& path) { harness_->MakeReadOnly(path); }

  std::unique_ptr<Harness> harness_ = GetParam().harness();
  std::unique_ptr<FileSystemObject> files_ = harness_->Create();
  std::wstring root_ = harness_->Root();
};

using Lines = std::vector<std::wstring>;

TEST_P(FileSystemContract, FileExistsOnlyForRegularFiles) {
  WriteBytes(Path(L"file.txt"), "x");
  ASSERT_NO_THROW(files_->CreateFolder(Path(L"folder")));
  EXPECT_TRUE(files_->FileExists(Path(L"file.txt")));
  EXPECT_FALSE(files_->FileExists(Path(L"folder")));
  EXPECT_FALSE(files_->FileExists(Path(L"missing.txt")));
  EXPECT_FALSE(files_->FileExists(Path(L"missing\\file.txt")));
  EXPECT_FALSE(files_->FileExists(L""));
#ifdef _WIN32
  for (const wchar_t* device : {L"NUL", L"CON", L"nul.txt", L"C:\\folder\\COM1", L"aux"}) {
    EXPECT_FALSE(files_->FileExists(device)) << fs::path(device).string();
  }
#else
  EXPECT_FALSE(files_->FileExists(L"/dev/null"));
#endif
}

TEST_P(FileSystemContract, EitherSeparatorWorks) {
  ASSERT_NO_THROW(files_->CreateFolder(Path(L"sub")));
  const std::wstring slashed = root_ + L"/sub/file.txt";
  auto writer = Writer(slashed);
  writer->WriteLine(L"x");
  writer->Close();
  EXPECT_TRUE(files_->FileExists(Path(L"sub\\file.txt")));
  EXPECT_EQ(ReadBytes(Path(L"sub\\file.txt")), "x\r\n");
}

TEST_P(FileSystemContract, ParentFolderNameDropsTheLastName) {
  const struct {
    const wchar_t* path;
    const wchar_t* parent;
  } cases[] = {
      {L"folder\\file.ipr", L"folder"},
      {L"a\\b\\c", L"a\\b"},
      {L"a/b/c", L"a/b"},
      {L"a\\\\b", L"a"},
      {L"a\\b\\", L"a"},
      {L"file.ipr", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(files_->GetParentFolderName(c.path), c.parent) << fs::path(c.path).string();
  }
  const std::wstring file = Path(L"Project.ipr");
  EXPECT_EQ(files_->GetParentFolderName(file), root_);
}

TEST_P(FileSystemContract, AbsolutePathNameIsAgainstTheCurrentFolder) {
  const std::wstring current = Generic(harness_->CurrentFolder());
  EXPECT_EQ(Generic(files_->GetAbsolutePathName(L"name.ipr")), current + L"/name.ipr");
  EXPECT_EQ(Generic(files_->GetAbsolutePathName(L"a\\..\\b\\.\\name.ipr")),
            current + L"/b/name.ipr");
  EXPECT_EQ(Generic(files_->GetAbsolutePathName(Path(L"x.ipr"))), Generic(Path(L"x.ipr")));
}

TEST_P(FileSystemContract, TempNamesAreFreshAndOfOurForm) {
  const std::wregex form(L"bu[0-9a-f]{8}\\.tmp");
  std::set<std::wstring> names;
  for (int i = 0; i < 200; ++i) {
    const std::wstring name = files_->GetTempName();
    EXPECT_TRUE(std::regex_match(name, form)) << fs::path(name).string();
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 200u);
  // A second object does not repeat the first one's names.
  EXPECT_EQ(names.count(harness_->Create()->GetTempName()), 0u);
}

TEST_P(FileSystemContract, CreateFolderFailures) {
  const std::wstring folder = Path(L"Registry Entries");
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), 0);
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), platform::kFileAlreadyExists);
  WriteBytes(Path(L"taken"), "");
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(Path(L"taken")); }),
            platform::kFileAlreadyExists);
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(Path(L"missing\\child")); }),
            platform::kPathNotFound);
}

TEST_P(FileSystemContract, OpenTextFileFailures) {
  WriteBytes(Path(L"read-only.txt"), "keep\r\n");
  MakeReadOnly(Path(L"read-only.txt"));
  ASSERT_NO_THROW(files_->CreateFolder(Path(L"folder")));
  const struct {
    const wchar_t* name;
    IoMode mode;
    bool create;
    std::int32_t number;
  } cases[] = {
      {L"missing.txt", IoMode::ForReading, false, platform::kFileNotFound},
      {L"missing\\file.txt", IoMode::ForReading, false, platform::kPathNotFound},
      {L"missing\\file.txt", IoMode::ForWriting, true, platform::kPathNotFound},
      {L"missing.txt", IoMode::ForWriting, false, platform::kFileNotFound},
      {L"folder", IoMode::ForReading, false, platform::kPermissionDenied},
      {L"folder", IoMode::ForWriting, true, platform::kPermissionDenied},
      {L"read-only.txt", IoMode::ForWriting, true, platform::kPermissionDenied},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureNumber([&] { files_->OpenTextFile(Path(c.name), c.mode, c.create); }),
              c.number)
        << fs::path(c.name).string();
  }
  EXPECT_FALSE(files_->FileExists(Path(L"missing.txt")));
  EXPECT_EQ(ReadBytes(Path(L"read-only.txt")), "keep\r\n");
}

// Real failures on paths that cannot name a file: through a file as if it were a folder and, on
// POSIX, a name longer than the file system takes (Wine does not give Windows' errors for names
// too long or holding characters no name may hold, so those are not checked there).
TEST_P(FileSystemContract, PathsThatCannotNameAFileArePathNotFound) {
  WriteBytes(Path(L"file.txt"), "keep\r\n");
  std::vector<std::wstring> paths = {Path(L"file.txt\\inner.txt")};
#ifndef _WIN32
  if (harness_->LimitsNameLength()) paths.push_back(Path(std::wstring(300, L'n') + L".txt"));
#endif
  for (const std::wstring& path : paths) {
    SCOPED_TRACE(fs::path(path).filename().string().substr(0, 40));
    EXPECT_EQ(FailureNumber([&] { Reader(path); }), platform::kPathNotFound);
    EXPECT_EQ(FailureNumber([&] { Writer(path); }), platform::kPathNotFound);
    EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(path); }), platform::kPathNotFound);
    EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(path); }), platform::kPathNotFound);
    EXPECT_EQ(FailureNumber([&] { files_->ReplaceFile(path, Path(L"file.txt")); }),
              platform::kPathNotFound);
    EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(path); }), platform::kPathNotFound);
    EXPECT_FALSE(files_->FileExists(path));
  }
  EXPECT_EQ(ReadBytes(Path(L"file.txt")), "keep\r\n");
}

TEST_P(FileSystemContract, WriterCreatesOrEmpties) {
  const std::wstring path = Path(L"out.txt");
  auto created = Writer(path);
  EXPECT_TRUE(files_->FileExists(path));
  created->Close();
  EXPECT_EQ(ReadBytes(path), "");
  WriteBytes(path, "old contents that are longer\r\n");
  auto emptied = Writer(path);
  emptied->WriteLine(L"new");
  emptied->Close();
  EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST_P(FileSystemContract, CreateTextFileIsExclusive) {
  const std::wstring path = Path(L"new.txt");
  auto first = files_->CreateTextFile(path);
  first->WriteLine(L"first");
  first->Close();
  EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(path); }), platform::kFileAlreadyExists);
  EXPECT_EQ(ReadBytes(path), "first\r\n");
  ASSERT_NO_THROW(files_->CreateFolder(Path(L"folder")));
  EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(Path(L"folder")); }),
            platform::kFileAlreadyExists);
}

TEST_P(FileSystemContract, DeleteFileRefusesReadOnly) {
  const std::wstring plain = Path(L"plain.txt");
  WriteBytes(plain, "x");
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(plain); }), 0);
  EXPECT_FALSE(files_->FileExists(plain));

  const std::wstring readOnly = Path(L"read-only.txt");
  WriteBytes(readOnly, "x");
  MakeReadOnly(readOnly);
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(readOnly); }), platform::kPermissionDenied);
  EXPECT_TRUE(files_->FileExists(readOnly));

  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(plain); }), platform::kFileNotFound);
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(Path(L"missing\\x")); }),
            platform::kPathNotFound);
}

TEST_P(FileSystemContract, ReplaceFilePutsTheReplacementInPlaceWhole) {
  const std::wstring target = Path(L"Default.fdf");
  const std::wstring replacement = Path(L"bu00000001.tmp");
  WriteBytes(target, "old\r\n");
  auto writer = Writer(replacement);
  writer->WriteLine(L"new");
  writer->FlushToDisk();
  writer->Close();
  ASSERT_EQ(FailureNumber([&] { files_->ReplaceFile(target, replacement); }), 0);
  EXPECT_EQ(ReadBytes(target), "new\r\n");
  EXPECT_FALSE(files_->FileExists(replacement));

  const std::wstring fresh = Path(L"fresh.txt");
  WriteBytes(replacement, "moved");
  ASSERT_EQ(FailureNumber([&] { files_->ReplaceFile(fresh, replacement); }), 0);
  EXPECT_EQ(ReadBytes(fresh), "moved");
  EXPECT_FALSE(files_->FileExists(replacement));
}

TEST_P(FileSystemContract, ReplaceFileFailuresLeaveBothFiles) {
  const std::wstring replacement = Path(L"replacement.tmp");
  WriteBytes(replacement, "new\r\n");
  const std::wstring readOnly = Path(L"read-only.ipr");
  WriteBytes(readOnly, "protected\r\n");
  MakeReadOnly(readOnly);
  ASSERT_NO_THROW(files_->CreateFolder(Path(L"folder")));
  const struct {
    const wchar_t* target;
    const wchar_t* replacement;
    std::int32_t number;
  } cases[] = {
      {L"read-only.ipr", L"replacement.tmp", platform::kPermissionDenied},
      {L"folder", L"replacement.tmp", platform::kPermissionDenied},
      {L"read-only.ipr", L"missing.tmp", platform::kPermissionDenied},
      {L"target.ipr", L"missing.tmp", platform::kFileNotFound},
      {L"missing\\target.ipr", L"replacement.tmp", platform::kPathNotFound},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureNumber([&] { files_->ReplaceFile(Path(c.target), Path(c.replacement)); }),
              c.number)
        << fs::path(c.target).string() << " <- " << fs::path(c.replacement).string();
  }
  EXPECT_EQ(ReadBytes(readOnly), "protected\r\n");
  EXPECT_EQ(ReadBytes(replacement), "new\r\n");
  EXPECT_TRUE(IsFolder(Path(L"folder")));
}

TEST_P(FileSystemContract, FlushToDiskWritesTheLinesSoFar) {
  const std::wstring path = Path(L"flushed.txt");
  auto writer = Writer(path);
  writer->WriteLine(L"first");
  ASSERT_EQ(FailureNumber([&] { writer->FlushToDisk(); }), 0);
  EXPECT_EQ(ReadBytes(path), "first\r\n");
  writer->WriteLine(L"second");
  writer->Close();
  EXPECT_EQ(ReadBytes(path), "first\r\nsecond\r\n");
  EXPECT_NE(FailureNumber([&] { writer->FlushToDisk(); }), 0) << "closed";
  auto reader = Reader(path);
  EXPECT_EQ(FailureNumber([&] { reader->FlushToDisk(); }), platform::kBadFileMode);
}

// What is on the disk when a call returns: new folders' names and the names of files opened for
// writing, and lines once flushed; not the name of a file made by CreateTextFile, which only a
// replace puts on the disk. Only the disk in memory can be crashed; on the others the calls must
// keep their results.
TEST_P(FileSystemContract, NewNamesAndFlushedLinesAreOnTheDisk) {
  const std::wstring folder = Path(L"Registry Entries");
  const std::wstring inner = folder + L"\\Deeper";
  ASSERT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), 0);
  ASSERT_EQ(FailureNumber([&] { files_->CreateFolder(inner); }), 0);
  const std::wstring flushed = inner + L"\\Default.rge";
  auto writer = Writer(flushed);
  writer->WriteLine(L"[General]");
  writer->FlushToDisk();
  writer->WriteLine(L"Type=REGISTRYDATA");
  writer->Close();
  const std::wstring closed = folder + L"\\closed.txt";
  auto unflushed = Writer(closed);
  unflushed->WriteLine(L"unflushed");
  unflushed->Close();
  const std::wstring spare = folder + L"\\bu00000001.tmp";
  auto created = files_->CreateTextFile(spare);
  created->WriteLine(L"spare");
  created->FlushToDisk();
  created->Close();
  EXPECT_EQ(ReadBytes(flushed), "[General]\r\nType=REGISTRYDATA\r\n");
  EXPECT_EQ(ReadBytes(closed), "unflushed\r\n");
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), platform::kFileAlreadyExists);
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(inner); }), platform::kFileAlreadyExists);

  const test_support::MemoryDisk* disk = harness_->CrashableDisk();
  if (disk == nullptr) return;
  const test_support::MemoryDisk image = disk->AfterCrash();
  EXPECT_TRUE(image.IsFolder(folder));
  EXPECT_TRUE(image.IsFolder(inner));
  const struct {
    const std::wstring& path;
    std::optional<std::string> kept;
  } cases[] = {
      {flushed, "[General]\r\n"},
      {closed, ""},
      {spare, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(image.Get(c.path), c.kept) << fs::path(c.path).filename().string();
  }
}

TEST_P(FileSystemContract, AbandonedWriterWritesNothingMoreAndLetsGo) {
  const std::wstring path = Path(L"abandoned.txt");
  auto writer = Writer(path);
  writer->WriteLine(L"flushed");
  writer->FlushToDisk();
  writer->WriteLine(L"still buffered");
  writer->Abandon();
  EXPECT_NE(FailureNumber([&] { writer->WriteLine(L"more"); }), 0);
  writer.reset();
  EXPECT_EQ(ReadBytes(path), "flushed\r\n");
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(path); }), 0);
}

TEST_P(FileSystemContract, EveryByteValueRoundTrips) {
  // Each line holds every byte value but the two line-end bytes.
  std::string line;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') line += static_cast<char>(b);
  }
  const std::wstring source = Path(L"bytes.txt");
  WriteBytes(source, line + "\r\n" + line + "\n" + line);
  const Lines lines = ReadAllLines(source);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::wstring& read : lines) {
    ASSERT_EQ(read.size(), line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
      ASSERT_EQ(static_cast<unsigned>(read[i]), static_cast<unsigned char>(line[i])) << i;
    }
  }
  const std::wstring copy = Path(L"copy.txt");
  auto writer = Writer(copy);
  for (const std::wstring& read : lines) writer->WriteLine(read);
  writer->Close();
  EXPECT_EQ(ReadBytes(copy), line + "\r\n" + line + "\r\n" + line + "\r\n");
}

TEST_P(FileSystemContract, ReadsEveryLineEnd) {
  const struct {
    const char* bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {L"a"}},
      {"a\r\nb\r\n", {L"a", L"b"}},
      {"a\nb\rc\r\nd", {L"a", L"b", L"c", L"d"}},
      {"\r\n\n\r", {L"", L"", L""}},
      {"a\n\rb", {L"a", L"", L"b"}},
      {"a\r\r\nb", {L"a", L"", L"b"}},
  };
  const std::wstring path = Path(L"lines.txt");
  for (const auto& c : cases) {
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ReadAllLines(path), c.lines) << c.bytes;
  }
}

TEST_P(FileSystemContract, ReadingPastTheEndFails) {
  const std::wstring path = Path(L"one.txt");
  WriteBytes(path, "only\r\n");
  auto reader = Reader(path);
  EXPECT_EQ(reader->ReadLine(), L"only");
  EXPECT_TRUE(reader->AtEndOfStream());
  EXPECT_EQ(FailureNumber([&] { reader->ReadLine(); }), platform::kInputPastEndOfFile);
}

TEST_P(FileSystemContract, LineEndsAcrossBufferBoundaries) {
  // A CR as the last byte of a block and its LF as the first of the next, near every boundary a
  // buffer of a power of two from 4 KiB to 1 MiB would have.
  const std::wstring path = Path(L"boundary.txt");
  for (std::size_t boundary = 4096; boundary <= 1024 * 1024; boundary *= 2) {
    for (std::size_t shift : {0, 1}) {
      std::string bytes(boundary - 1 - shift, 'x');
      bytes += "\r\nnext\r\rlast";
      WriteBytes(path, bytes);
      const Lines lines = ReadAllLines(path);
      ASSERT_EQ(lines.size(), 4u) << boundary << "+" << shift;
      EXPECT_EQ(lines[0].size(), boundary - 1 - shift);
      EXPECT_EQ(lines[1], L"next");
      EXPECT_EQ(lines[2], L"");
      EXPECT_EQ(lines[3], L"last");
    }
  }
}

TEST_P(FileSystemContract, LineLongerThanAnyBuffer) {
  const std::size_t length = 3 * 1024 * 1024 + 5;
  const std::wstring path = Path(L"long.txt");
  WriteBytes(path, std::string(length, 'y') + "\r\nshort");
  const Lines lines = ReadAllLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::wstring(length, L'y'));
  EXPECT_EQ(lines[1], L"short");

  const std::wstring copy = Path(L"long-copy.txt");
  auto writer = Writer(copy);
  writer->WriteLine(lines[0]);
  writer->Close();
  EXPECT_EQ(ReadBytes(copy), std::string(length, 'y') + "\r\n");
}

TEST_P(FileSystemContract, WritingACharacterBeyondEightBitsWritesNothingOfTheLine) {
  const std::wstring path = Path(L"refused.txt");
  auto writer = Writer(path);
  writer->WriteLine(L"before \u00FF");
  EXPECT_EQ(FailureNumber([&] { writer->WriteLine(L"abc\u0100def"); }),
            platform::kInvalidProcedureCall);
  writer->WriteBlankLines(2);
  writer->WriteLine(L"after");
  writer->Close();
  EXPECT_EQ(ReadBytes(path), "before \xFF\r\n\r\n\r\nafter\r\n");
}

TEST_P(FileSystemContract, StreamsRefuseTheWrongDirectionAndWorkAfterClose) {
  const std::wstring path = Path(L"x.txt");
  auto writer = Writer(path);
  EXPECT_EQ(FailureNumber([&] { writer->ReadLine(); }), platform::kBadFileMode);
  EXPECT_EQ(FailureNumber([&] { writer->AtEndOfStream(); }), platform::kBadFileMode);
  writer->WriteLine(L"x");
  writer->Close();
  EXPECT_NE(FailureNumber([&] { writer->WriteLine(L"y"); }), 0);
  EXPECT_EQ(FailureNumber([&] { writer->Close(); }), 0);
  auto reader = Reader(path);
  EXPECT_EQ(FailureNumber([&] { reader->WriteLine(L"y"); }), platform::kBadFileMode);
  reader->Close();
  EXPECT_NE(FailureNumber([&] { reader->ReadLine(); }), 0);
  EXPECT_NE(FailureNumber([&] { reader->AtEndOfStream(); }), 0);
  EXPECT_EQ(ReadBytes(path), "x\r\n");
}

TEST_P(FileSystemContract, DroppedWriterKeepsWhatWasWritten) {
  const std::wstring path = Path(L"dropped.txt");
  {
    auto writer = Writer(path);
    writer->WriteLine(L"kept");
  }
  EXPECT_EQ(ReadBytes(path), "kept\r\n");
  // The file is released: it can be deleted and recreated.
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(path); }), 0);
}

TEST_P(FileSystemContract, NamesInOtherScripts) {
  for (const std::wstring name : {L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC",
                                  L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430",
                                  L"\u6F22\u5B57\u30D5\u30A9\u30EB\u30C0", L"Emoji \U0001F600"}) {
    const std::wstring folder = Path(name);
    ASSERT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), 0);
    const std::wstring file = folder + L"\\" + name + L".ipr";
    auto writer = Writer(file);
    writer->WriteLine(L"[General]");
    writer->Close();
    EXPECT_TRUE(files_->FileExists(file));
    EXPECT_EQ(files_->GetParentFolderName(file), folder);
    EXPECT_EQ(ReadAllLines(file), Lines{L"[General]"});
    const std::wstring temp = folder + L"\\" + name + L".tmp";
    auto replacement = files_->CreateTextFile(temp);
    replacement->WriteLine(L"[Info]");
    replacement->Close();
    EXPECT_EQ(FailureNumber([&] { files_->ReplaceFile(file, temp); }), 0);
    EXPECT_EQ(ReadBytes(file), "[Info]\r\n");
    EXPECT_FALSE(files_->FileExists(temp));
    EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(file); }), 0);
    EXPECT_FALSE(files_->FileExists(file));
  }
}

TEST_P(FileSystemContract, PathsLongerThanTheClassicLimit) {
  std::wstring folder = root_;
  const std::wstring part(60, L'd');
  for (int depth = 0; depth < 6; ++depth) {
    folder += L"\\" + part + std::to_wstring(depth);
    ASSERT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), 0) << depth;
  }
  const std::wstring file = folder + L"\\Project.ipr";
  ASSERT_GT(file.size(), 300u);
  auto writer = Writer(file);
  writer->WriteLine(L"[General]");
  writer->Close();
  EXPECT_TRUE(files_->FileExists(file));
  EXPECT_EQ(ReadAllLines(file), Lines{L"[General]"});
  EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(file); }), platform::kFileAlreadyExists);
  const std::wstring temp = folder + L"\\Project.tmp";
  auto replacement = files_->CreateTextFile(temp);
  replacement->WriteLine(L"[Info]");
  replacement->Close();
  EXPECT_EQ(FailureNumber([&] { files_->ReplaceFile(file, temp); }), 0);
  EXPECT_EQ(ReadAllLines(file), Lines{L"[Info]"});
  EXPECT_FALSE(files_->FileExists(temp));
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(file); }), 0);
  EXPECT_FALSE(files_->FileExists(file));
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), platform::kFileAlreadyExists);
}

// The disk's services as the program itself creates them, so that the contract holds for the
// ones it uses; the platform's own rows above (device names on Windows) hold them to this platform.
#ifdef _WIN32
constexpr const char* kPlatformName = "Win32";
#else
constexpr const char* kPlatformName = "Posix";
#endif

const Implementation kImplementations[] = {
    {kPlatformName,
     [] { return std::make_unique<DiskHarness>(platform::CreatePlatformFileSystem); }},
    {"Memory", [] { return std::make_unique<MemoryHarness>(); }},
};

INSTANTIATE_TEST_SUITE_P(Platform, FileSystemContract, testing::ValuesIn(kImplementations),
                         [](const testing::TestParamInfo<Implementation>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace platform_test
