// The floor under a rewrite through a temporary file: the same file operations with no line work.
// Reads PATH in 1 MiB blocks (or BLOCK_KIB) into a new file beside it, deletes PATH, copies the new
// file back with the kernel's copy and deletes the new file, as the rewrite does. Usage:
// bu_bare_passes PATH [BLOCK_KIB]   (default 1024)   prints: seconds=S
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool Fail(const char* what) {
  std::perror(what);
  return false;
}

bool WriteAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, static_cast<size_t>(size));
    if (written < 0) return Fail("write");
    data += written;
    size -= written;
  }
  return true;
}

bool ReadWritePass(const std::string& from, const std::string& to, std::size_t blockSize) {
  const int in = open(from.c_str(), O_RDONLY);
  if (in < 0) return Fail("open source");
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (out < 0) return Fail("create temporary");
  std::vector<char> block(blockSize);
  bool ok = true;
  for (ssize_t got; ok && (got = read(in, block.data(), block.size())) != 0;) {
    ok = got > 0 ? WriteAll(out, block.data(), got) : Fail("read");
  }
  close(in);
  return close(out) == 0 && ok;
}

bool KernelCopy(const std::string& from, const std::string& to) {
  const int in = open(from.c_str(), O_RDONLY);
  if (in < 0) return Fail("open temporary");
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (out < 0) return Fail("create copy");
  bool ok = true;
  while (ok) {
    const ssize_t copied = copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
    if (copied == 0) break;
    if (copied < 0) ok = Fail("copy_file_range");
  }
  close(in);
  return close(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const long blockKib = argc == 3 ? std::atol(argv[2]) : 1024;
  if ((argc != 2 && argc != 3) || blockKib <= 0) {
    std::fprintf(stderr, "usage: %s PATH [BLOCK_KIB]\n", argv[0]);
    return 2;
  }
  const std::string source = argv[1];
  const std::string temporary = source + ".bare.tmp";
  const auto start = std::chrono::steady_clock::now();
  const bool ok = ReadWritePass(source, temporary, static_cast<std::size_t>(blockKib) * 1024) &&
                  unlink(source.c_str()) == 0 && KernelCopy(temporary, source) &&
                  unlink(temporary.c_str()) == 0;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!ok) return 1;
  std::printf("seconds=%.6f\n", elapsed.count());
  return 0;
}
