// The contract of the file services, run against every implementation this build has.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <typeinfo>

#include "platform/failure.h"
#include "platform/file_system_object.h"
#include "scratch_folder.h"
#ifdef _WIN32
#include "platform/win32_file_system.h"
#else
#include "platform/posix_file_system.h"
#endif

namespace platform_test {
namespace {

using platform::FileSystemObject;
using platform::IoMode;
using platform::TextFormat;
using platform::TextStream;
namespace fs = std::filesystem;

struct Implementation {
  const char* name;
  std::function<std::unique_ptr<FileSystemObject>()> create;
};

void PrintTo(const Implementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

class FileSystemContract : public testing::TestWithParam<Implementation> {
 protected:
  std::unique_ptr<TextStream> Reader(const std::wstring& path) {
    return files_->OpenTextFile(path, IoMode::ForReading, false, TextFormat::Ascii);
  }
  std::unique_ptr<TextStream> Writer(const std::wstring& path) {
    return files_->OpenTextFile(path, IoMode::ForWriting, true, TextFormat::Ascii);
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

  ScratchFolder scratch_;
  std::unique_ptr<FileSystemObject> files_ = GetParam().create();
};

using Lines = std::vector<std::wstring>;

TEST_P(FileSystemContract, FileExistsOnlyForRegularFiles) {
  WriteBytes(scratch_.Path(L"file.txt"), "x");
  ASSERT_NO_THROW(files_->CreateFolder(scratch_.Path(L"folder")));
  EXPECT_TRUE(files_->FileExists(scratch_.Path(L"file.txt")));
  EXPECT_FALSE(files_->FileExists(scratch_.Path(L"folder")));
  EXPECT_FALSE(files_->FileExists(scratch_.Path(L"missing.txt")));
  EXPECT_FALSE(files_->FileExists(scratch_.Path(L"missing\\file.txt")));
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
  ASSERT_NO_THROW(files_->CreateFolder(scratch_.Path(L"sub")));
  const std::wstring slashed = scratch_.root().wstring() + L"/sub/file.txt";
  auto writer = Writer(slashed);
  writer->WriteLine(L"x");
  writer->Close();
  EXPECT_TRUE(files_->FileExists(scratch_.Path(L"sub\\file.txt")));
  EXPECT_EQ(ReadBytes(scratch_.Path(L"sub\\file.txt")), "x\r\n");
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
  const std::wstring file = scratch_.Path(L"Project.ipr");
  EXPECT_EQ(fs::path(files_->GetParentFolderName(file)), scratch_.root());
}

TEST_P(FileSystemContract, AbsolutePathNameIsAgainstTheCurrentFolder) {
  const fs::path current = fs::current_path();
  EXPECT_EQ(fs::path(files_->GetAbsolutePathName(L"name.ipr")), current / L"name.ipr");
  EXPECT_EQ(fs::path(files_->GetAbsolutePathName(L"a\\..\\b\\.\\name.ipr")),
            current / L"b" / L"name.ipr");
  const std::wstring absolute = scratch_.Path(L"x.ipr");
  EXPECT_EQ(fs::path(files_->GetAbsolutePathName(absolute)), scratch_.root() / L"x.ipr");
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
  EXPECT_EQ(names.count(GetParam().create()->GetTempName()), 0u);
}

TEST_P(FileSystemContract, CreateFolderFailures) {
  const std::wstring folder = scratch_.Path(L"Registry Entries");
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), 0);
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), platform::kFileAlreadyExists);
  WriteBytes(scratch_.Path(L"taken"), "");
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(scratch_.Path(L"taken")); }),
            platform::kFileAlreadyExists);
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(scratch_.Path(L"missing\\child")); }),
            platform::kPathNotFound);
}

TEST_P(FileSystemContract, OpenTextFileFailures) {
  WriteBytes(scratch_.Path(L"present.txt"), "keep\r\n");
  ASSERT_NO_THROW(files_->CreateFolder(scratch_.Path(L"folder")));
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
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureNumber([&] {
                files_->OpenTextFile(scratch_.Path(c.name), c.mode, c.create, TextFormat::Ascii);
              }),
              c.number)
        << fs::path(c.name).string();
  }
  EXPECT_FALSE(files_->FileExists(scratch_.Path(L"missing.txt")));
}

TEST_P(FileSystemContract, WriterCreatesOrEmpties) {
  const std::wstring path = scratch_.Path(L"out.txt");
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

TEST_P(FileSystemContract, AppendingKeepsWhatIsThere) {
  const std::wstring path = scratch_.Path(L"log.txt");
  WriteBytes(path, "one\r\n");
  auto writer = files_->OpenTextFile(path, IoMode::ForAppending, false, TextFormat::Ascii);
  writer->WriteLine(L"two");
  writer->Close();
  EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
}

TEST_P(FileSystemContract, CreateTextFileIsExclusiveUnlessOverwriting) {
  const std::wstring path = scratch_.Path(L"new.txt");
  auto first = files_->CreateTextFile(path, false);
  first->WriteLine(L"first");
  first->Close();
  EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(path, false); }),
            platform::kFileAlreadyExists);
  EXPECT_EQ(ReadBytes(path), "first\r\n");
  ASSERT_NO_THROW(files_->CreateFolder(scratch_.Path(L"folder")));
  EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(scratch_.Path(L"folder"), false); }),
            platform::kFileAlreadyExists);
  auto replaced = files_->CreateTextFile(path, true);
  replaced->Close();
  EXPECT_EQ(ReadBytes(path), "");
}

std::string AllBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

TEST_P(FileSystemContract, CopyFileCopiesAndOverwrites) {
  const std::wstring source = scratch_.Path(L"source.bin");
  const std::wstring destination = scratch_.Path(L"destination.bin");
  const std::string contents = AllBytes(3 * 1024 * 1024 + 17);
  WriteBytes(source, contents);
  WriteBytes(destination, AllBytes(5 * 1024 * 1024));
  EXPECT_EQ(FailureNumber([&] { files_->CopyFile(source, destination, true); }), 0);
  EXPECT_EQ(ReadBytes(destination), contents);
  EXPECT_EQ(ReadBytes(source), contents);

  const std::wstring fresh = scratch_.Path(L"fresh.bin");
  EXPECT_EQ(FailureNumber([&] { files_->CopyFile(source, fresh, false); }), 0);
  EXPECT_EQ(ReadBytes(fresh), contents);
  WriteBytes(fresh, "other");
  EXPECT_EQ(FailureNumber([&] { files_->CopyFile(source, fresh, false); }),
            platform::kFileAlreadyExists);
  EXPECT_EQ(ReadBytes(fresh), "other");
  WriteBytes(source, "");
  EXPECT_EQ(FailureNumber([&] { files_->CopyFile(source, fresh, true); }), 0);
  EXPECT_EQ(ReadBytes(fresh), "");
}

TEST_P(FileSystemContract, CopyFileFailures) {
  const std::wstring source = scratch_.Path(L"source.txt");
  WriteBytes(source, "source\r\n");
  const std::wstring readOnly = scratch_.Path(L"read-only.txt");
  WriteBytes(readOnly, "protected\r\n");
  MakeReadOnly(readOnly);
  const struct {
    const wchar_t* from;
    const wchar_t* to;
    std::int32_t number;
  } cases[] = {
      {L"missing.txt", L"copy.txt", platform::kFileNotFound},
      {L"missing\\file.txt", L"copy.txt", platform::kPathNotFound},
      {L"source.txt", L"missing\\copy.txt", platform::kPathNotFound},
      {L"source.txt", L"read-only.txt", platform::kPermissionDenied},
      {L"source.txt", L"source.txt", platform::kPermissionDenied},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        FailureNumber([&] { files_->CopyFile(scratch_.Path(c.from), scratch_.Path(c.to), true); }),
        c.number)
        << fs::path(c.from).string() << " -> " << fs::path(c.to).string();
  }
  EXPECT_EQ(ReadBytes(readOnly), "protected\r\n");
  EXPECT_EQ(ReadBytes(source), "source\r\n");
  EXPECT_FALSE(files_->FileExists(scratch_.Path(L"copy.txt")));
}

TEST_P(FileSystemContract, DeleteFileRefusesReadOnlyUnlessForced) {
  const std::wstring plain = scratch_.Path(L"plain.txt");
  WriteBytes(plain, "x");
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(plain, false); }), 0);
  EXPECT_FALSE(files_->FileExists(plain));

  const std::wstring readOnly = scratch_.Path(L"read-only.txt");
  WriteBytes(readOnly, "x");
  MakeReadOnly(readOnly);
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(readOnly, false); }),
            platform::kPermissionDenied);
  EXPECT_TRUE(files_->FileExists(readOnly));
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(readOnly, true); }), 0);
  EXPECT_FALSE(files_->FileExists(readOnly));

  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(plain, false); }), platform::kFileNotFound);
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(scratch_.Path(L"missing\\x"), false); }),
            platform::kPathNotFound);
}

TEST_P(FileSystemContract, EveryByteValueRoundTrips) {
  // Each line holds every byte value but the two line-end bytes.
  std::string line;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') line += static_cast<char>(b);
  }
  const std::wstring source = scratch_.Path(L"bytes.txt");
  WriteBytes(source, line + "\r\n" + line + "\n" + line);
  const Lines lines = ReadAllLines(source);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::wstring& read : lines) {
    ASSERT_EQ(read.size(), line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
      ASSERT_EQ(static_cast<unsigned>(read[i]), static_cast<unsigned char>(line[i])) << i;
    }
  }
  const std::wstring copy = scratch_.Path(L"copy.txt");
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
  const std::wstring path = scratch_.Path(L"lines.txt");
  for (const auto& c : cases) {
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ReadAllLines(path), c.lines) << c.bytes;
  }
}

TEST_P(FileSystemContract, ReadingPastTheEndFails) {
  const std::wstring path = scratch_.Path(L"one.txt");
  WriteBytes(path, "only\r\n");
  auto reader = Reader(path);
  EXPECT_EQ(reader->ReadLine(), L"only");
  EXPECT_TRUE(reader->AtEndOfStream());
  EXPECT_EQ(FailureNumber([&] { reader->ReadLine(); }), platform::kInputPastEndOfFile);
}

TEST_P(FileSystemContract, LineEndsAcrossBufferBoundaries) {
  // A CR as the last byte of a block and its LF as the first of the next, near every boundary a
  // buffer of a power of two from 4 KiB to 1 MiB would have.
  const std::wstring path = scratch_.Path(L"boundary.txt");
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
  const std::wstring path = scratch_.Path(L"long.txt");
  WriteBytes(path, std::string(length, 'y') + "\r\nshort");
  const Lines lines = ReadAllLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::wstring(length, L'y'));
  EXPECT_EQ(lines[1], L"short");

  const std::wstring copy = scratch_.Path(L"long-copy.txt");
  auto writer = Writer(copy);
  writer->WriteLine(lines[0]);
  writer->Close();
  EXPECT_EQ(ReadBytes(copy), std::string(length, 'y') + "\r\n");
}

TEST_P(FileSystemContract, WritingACharacterBeyondEightBitsWritesNothingOfTheLine) {
  const std::wstring path = scratch_.Path(L"refused.txt");
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
  const std::wstring path = scratch_.Path(L"x.txt");
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
  const std::wstring path = scratch_.Path(L"dropped.txt");
  {
    auto writer = Writer(path);
    writer->WriteLine(L"kept");
  }
  EXPECT_EQ(ReadBytes(path), "kept\r\n");
  // The file is released: it can be deleted and recreated.
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(path, false); }), 0);
}

TEST_P(FileSystemContract, NamesInOtherScripts) {
  for (const std::wstring name : {L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC",
                                  L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430",
                                  L"\u6F22\u5B57\u30D5\u30A9\u30EB\u30C0", L"Emoji \U0001F600"}) {
    const std::wstring folder = scratch_.Path(name);
    ASSERT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), 0);
    const std::wstring file = folder + L"\\" + name + L".ipr";
    auto writer = Writer(file);
    writer->WriteLine(L"[General]");
    writer->Close();
    EXPECT_TRUE(files_->FileExists(file));
    EXPECT_EQ(files_->GetParentFolderName(file), folder);
    EXPECT_EQ(ReadAllLines(file), Lines{L"[General]"});
    const std::wstring copy = folder + L"\\" + name + L".tmp";
    EXPECT_EQ(FailureNumber([&] { files_->CopyFile(file, copy, true); }), 0);
    EXPECT_EQ(ReadBytes(copy), "[General]\r\n");
    EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(copy, false); }), 0);
    EXPECT_FALSE(files_->FileExists(copy));
  }
}

TEST_P(FileSystemContract, PathsLongerThanTheClassicLimit) {
  std::wstring folder = scratch_.root().wstring();
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
  const std::wstring copy = folder + L"\\Project.tmp";
  EXPECT_EQ(FailureNumber([&] { files_->CopyFile(file, copy, true); }), 0);
  EXPECT_EQ(ReadAllLines(copy), Lines{L"[General]"});
  EXPECT_EQ(FailureNumber([&] { files_->CreateTextFile(copy, false); }),
            platform::kFileAlreadyExists);
  EXPECT_EQ(FailureNumber([&] { files_->DeleteFile(copy, false); }), 0);
  EXPECT_FALSE(files_->FileExists(copy));
  EXPECT_EQ(FailureNumber([&] { files_->CreateFolder(folder); }), platform::kFileAlreadyExists);
}

#ifdef _WIN32
const Implementation kImplementations[] = {{"Win32", platform::CreateWin32FileSystem}};
#else
const Implementation kImplementations[] = {{"Posix", platform::CreatePosixFileSystem}};
#endif

INSTANTIATE_TEST_SUITE_P(Platform, FileSystemContract, testing::ValuesIn(kImplementations),
                         [](const testing::TestParamInfo<Implementation>& info) {
                           return info.param.name;
                         });

TEST(PlatformFileSystem, IsTheImplementationOfThisPlatform) {
  const auto chosen = platform::CreatePlatformFileSystem();
  const auto expected = kImplementations[0].create();
  EXPECT_EQ(typeid(*chosen), typeid(*expected));
}

}  // namespace
}  // namespace platform_test
