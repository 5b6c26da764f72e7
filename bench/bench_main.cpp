// Throughput of the line rules in memory and of the text streams on files against a plain buffered
// copy; scripts/bench times whole rewrites, each in a process of its own. Files go to the folder
// named by BU_BENCH_DIR (default: the current folder) and are removed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/file_group_text.h"
#include "platform/buffered_text_stream.h"
#include "platform/file_system_object.h"
#include "platform/memory_channel.h"
#include "platform/posix_path.h"
#include "upgrade/line_rules.h"
#include "upgrade/text_rewrite.h"

namespace {

namespace fs = std::filesystem;
using platform::BufferedTextStream;

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::size_t kMemoryTextSize = 16 * kMiB;
constexpr std::size_t kStreamFileSize = 64 * kMiB;

// Takes the lines and counts their characters, so that only the rule's own work is timed.
class CountingWriter final : public platform::TextStream {
 public:
  bool AtEndOfStream() override { return true; }
  void ReadLine(std::wstring& line) override { line.clear(); }
  void WriteLine(std::wstring_view text) override { written += text.size() + 2; }
  void WriteLineBytes(std::string_view bytes) override { written += bytes.size() + 2; }
  void WriteBlankLines(int count) override { written += 2 * static_cast<std::size_t>(count); }
  void Close() override {}
  std::size_t written = 0;
};

const std::string& MemoryText() {
  static const std::string text = bench::FileGroupText(kMemoryTextSize);
  return text;
}

// The memory text's lines as the reader hands them over: as bytes, and widened once.
struct HeldLines {
  std::wstring characters;
  std::vector<std::wstring_view> lines;
  std::vector<std::string_view> byteLines;
};

const HeldLines& MemoryLines() {
  static const HeldLines held = [] {
    HeldLines result;
    const std::string& text = MemoryText();
    result.characters.assign(text.begin(), text.end());
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t begin = 0; begin < text.size();) {
      std::size_t end = text.find("\r\n", begin);
      if (end == std::string::npos) end = text.size();
      spans.emplace_back(begin, end - begin);
      begin = end + 2;
    }
    for (const auto& [begin, count] : spans) {
      result.lines.emplace_back(result.characters.data() + begin, count);
      result.byteLines.emplace_back(text.data() + begin, count);
    }
    return result;
  }();
  return held;
}

fs::path BenchFolder() {
  const char* folder = std::getenv("BU_BENCH_DIR");
  return folder ? fs::path(folder) : fs::current_path();
}

std::wstring Wide(const fs::path& path) { return platform::FromNativePath(path.string()); }

const fs::path& StreamFile() {
  static const fs::path path = [] {
    fs::path file = BenchFolder() / "stream-source.fdf";
    bench::WriteFileGroupFile(file.string(), kStreamFileSize);
    return file;
  }();
  return path;
}

void RunRule(benchmark::State& state, upgrade::LineRule& rule) {
  const HeldLines& held = MemoryLines();
  for (auto _ : state) {
    CountingWriter writer;
    for (const std::string_view line : held.byteLines) rule.Apply(line, writer);
    benchmark::DoNotOptimize(writer.written);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MemoryText().size()));
}

void BM_LinkTypeRule(benchmark::State& state) {
  upgrade::LinkTypeLineRule rule;
  RunRule(state, rule);
}
BENCHMARK(BM_LinkTypeRule)->Unit(benchmark::kMillisecond);

void BM_VersionRule(benchmark::State& state) {
  upgrade::VersionLineRule rule(L"1.00.000");
  RunRule(state, rule);
}
BENCHMARK(BM_VersionRule)->Unit(benchmark::kMillisecond);

// Counts the bytes written to it and keeps none, so that the measure below is the line work's own
// and not that of an output buffer (whose place in memory can halve the speed of the copy into it).
class DiscardingChannel final : public platform::ByteChannel {
 public:
  explicit DiscardingChannel(std::size_t* written) : written_(written) {}
  std::size_t Read(char* /*buffer*/, std::size_t /*capacity*/) override { return 0; }
  void Write(const char* data, std::size_t size) override {
    benchmark::DoNotOptimize(data);
    *written_ += size;
  }
  void Sync() override {}
  void Close() override {}

 private:
  std::size_t* written_;
};

// The rewrite's whole line work without a disk: lines from memory, through the rule, to nowhere.
void BM_LinkTypeRuleThroughStreams(benchmark::State& state) {
  const std::string& text = MemoryText();
  for (auto _ : state) {
    BufferedTextStream reader(std::make_unique<platform::MemoryChannel>(text),
                              BufferedTextStream::Direction::kRead);
    std::size_t written = 0;
    BufferedTextStream writer(std::make_unique<DiscardingChannel>(&written),
                              BufferedTextStream::Direction::kWrite);
    upgrade::LinkTypeLineRule rule;
    upgrade::RewriteLines(reader, writer, rule);
    reader.Close();
    writer.Close();
    benchmark::DoNotOptimize(written);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LinkTypeRuleThroughStreams)->Unit(benchmark::kMillisecond);

// The yardstick: one read-and-write pass of the same file through 1 MiB buffers.
void BM_PlainBufferedCopy(benchmark::State& state) {
  const fs::path source = StreamFile();
  const fs::path target = BenchFolder() / "plain-copy.out";
  std::vector<char> buffer(kMiB);
  for (auto _ : state) {
    std::FILE* in = std::fopen(source.c_str(), "rb");
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!in || !out) {
      state.SkipWithError("cannot open the files");
      break;
    }
    std::setvbuf(in, nullptr, _IONBF, 0);
    std::setvbuf(out, nullptr, _IONBF, 0);
    for (std::size_t count; (count = std::fread(buffer.data(), 1, buffer.size(), in)) != 0;) {
      std::fwrite(buffer.data(), 1, count, out);
    }
    std::fclose(in);
    std::fclose(out);
    state.PauseTiming();
    fs::remove(target);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kStreamFileSize));
}
BENCHMARK(BM_PlainBufferedCopy)->Unit(benchmark::kMillisecond);

// Argument 0: lines as characters (ReadLine, WriteLine); 1: as bytes (ReadLineBytes,
// WriteLineBytes), as the rewrite uses them.
void BM_TextStreamRead(benchmark::State& state) {
  const bool asBytes = state.range(0) != 0;
  const std::wstring source = Wide(StreamFile());
  const std::unique_ptr<platform::FileSystemObject> fileSystem =
      platform::CreatePlatformFileSystem();
  std::size_t characters = 0;
  for (auto _ : state) {
    const std::unique_ptr<platform::TextStream> reader =
        fileSystem->OpenTextFile(source, platform::IoMode::ForReading, false);
    std::wstring line;
    while (!reader->AtEndOfStream()) {
      if (asBytes) {
        characters += reader->ReadLineBytes().size();
      } else {
        reader->ReadLine(line);
        characters += line.size();
      }
    }
    reader->Close();
  }
  benchmark::DoNotOptimize(characters);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kStreamFileSize));
}
BENCHMARK(BM_TextStreamRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TextStreamWrite(benchmark::State& state) {
  const bool asBytes = state.range(0) != 0;
  const HeldLines& held = MemoryLines();
  const std::wstring target = Wide(BenchFolder() / "stream-write.out");
  const std::unique_ptr<platform::FileSystemObject> fileSystem =
      platform::CreatePlatformFileSystem();
  for (auto _ : state) {
    const std::unique_ptr<platform::TextStream> writer =
        fileSystem->OpenTextFile(target, platform::IoMode::ForWriting, true);
    if (asBytes) {
      for (const std::string_view line : held.byteLines) writer->WriteLineBytes(line);
    } else {
      for (const std::wstring_view line : held.lines) writer->WriteLine(line);
    }
    writer->Close();
    state.PauseTiming();
    fileSystem->DeleteFile(target);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * MemoryText().size()));
}
BENCHMARK(BM_TextStreamWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Reading every line and writing it again: the rewrite's first pass without a rule.
void BM_TextStreamCopy(benchmark::State& state) {
  const bool asBytes = state.range(0) != 0;
  const std::wstring source = Wide(StreamFile());
  const std::wstring target = Wide(BenchFolder() / "stream-copy.out");
  const std::unique_ptr<platform::FileSystemObject> fileSystem =
      platform::CreatePlatformFileSystem();
  for (auto _ : state) {
    const std::unique_ptr<platform::TextStream> reader =
        fileSystem->OpenTextFile(source, platform::IoMode::ForReading, false);
    const std::unique_ptr<platform::TextStream> writer =
        fileSystem->OpenTextFile(target, platform::IoMode::ForWriting, true);
    std::wstring line;
    while (!reader->AtEndOfStream()) {
      if (asBytes) {
        writer->WriteLineBytes(reader->ReadLineBytes());
      } else {
        reader->ReadLine(line);
        writer->WriteLine(line);
      }
    }
    reader->Close();
    writer->Close();
    state.PauseTiming();
    fileSystem->DeleteFile(target);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kStreamFileSize));
}
BENCHMARK(BM_TextStreamCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove(BenchFolder() / "stream-source.fdf", ignored);
  return 0;
}
