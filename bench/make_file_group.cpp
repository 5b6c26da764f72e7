// Writes a generated file-group file for the measurements: an [Info] and a [FileGroups] section,
// then many groups, each a "[Group N]" header followed by twenty key lines, all with CR LF; or,
// with --one-line, one line of that size, the case a line-at-a-time reader must hold whole.
// Usage: bu_make_file_group PATH MEGABYTES [--one-line]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;
constexpr int kKeysPerGroup = 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForWriting(const std::string& path) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error("cannot create " + path);
  return file;
}

void WriteAll(std::FILE* file, std::string_view bytes, const std::string& path) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    throw std::runtime_error("cannot write " + path);
  }
}

void GenerateFileGroupText(std::size_t bytes, const std::function<void(std::string_view)>& sink) {
  std::string piece =
      "[Info]\r\nName=Default\r\nType=FileGrp\r\nVersion=1.00.000\r\n\r\n"
      "[FileGroups]\r\nGroup0=Program Files\r\nGroup1=Help Files\r\n\r\n";
  std::size_t total = 0;
  for (long group = 0; total + piece.size() < bytes; ++group) {
    piece += "[Group " + std::to_string(group) + "]\r\n";
    for (int key = 0; key < kKeysPerGroup; ++key) {
      const std::string n = std::to_string(group * kKeysPerGroup + key);
      piece += "File" + n + "=<TARGETDIR>\\bin\\thing" + n + ".dll\r\n";
    }
    piece += "\r\n";
    if (piece.size() >= kPiece) {
      total += piece.size();
      sink(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) sink(piece);
}

void WriteFileGroupFile(const std::string& path, std::size_t bytes) {
  File file = OpenForWriting(path);
  GenerateFileGroupText(bytes, [&](std::string_view piece) { WriteAll(file.get(), piece, path); });
  if (std::fclose(file.release()) != 0) throw std::runtime_error("cannot close " + path);
}

void WriteOneLineFile(const std::string& path, std::size_t bytes) {
  File file = OpenForWriting(path);
  const std::string piece(kPiece, 'x');
  for (std::size_t left = bytes; left != 0;) {
    const std::size_t count = left < piece.size() ? left : piece.size();
    WriteAll(file.get(), std::string_view(piece).substr(0, count), path);
    left -= count;
  }
  WriteAll(file.get(), "\r\n", path);
  if (std::fclose(file.release()) != 0) throw std::runtime_error("cannot close " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || (argc == 4 && std::string(argv[3]) != "--one-line") || argc > 4) {
    std::fprintf(stderr, "usage: %s PATH MEGABYTES [--one-line]\n", argv[0]);
    return 2;
  }
  const std::size_t bytes = std::strtoull(argv[2], nullptr, 10) << 20;
  try {
    if (argc == 4) {
      WriteOneLineFile(argv[1], bytes);
    } else {
      WriteFileGroupFile(argv[1], bytes);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
