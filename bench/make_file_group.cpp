// Writes a generated file-group file for the measurements.
// Usage: bu_make_file_group PATH MEGABYTES [--one-line]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/file_group_text.h"

int main(int argc, char** argv) {
  if (argc < 3 || (argc == 4 && std::string(argv[3]) != "--one-line") || argc > 4) {
    std::fprintf(stderr, "usage: %s PATH MEGABYTES [--one-line]\n", argv[0]);
    return 2;
  }
  const std::size_t bytes = std::strtoull(argv[2], nullptr, 10) << 20;
  try {
    if (argc == 4) {
      bench::WriteOneLineFile(argv[1], bytes);
    } else {
      bench::WriteFileGroupFile(argv[1], bytes);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
