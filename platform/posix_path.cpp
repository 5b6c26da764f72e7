#include "platform/posix_path.h"

#include <cstdint>

#include "platform/failure.h"

namespace platform {
namespace {

constexpr char32_t kEscapeFirst = 0xDC80;
constexpr char32_t kEscapeLast = 0xDCFF;

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the well-formed UTF-8 sequence at the start of `bytes` and its character, or 0.
std::size_t DecodeUtf8(std::string_view bytes, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  return c < minimum || c > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

std::string ToNativePath(std::wstring_view path) {
  std::string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    char32_t c = static_cast<std::uint32_t>(path[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      // UTF-16: join a surrogate pair; a lone one is left for the checks below.
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size()) {
        const char32_t low = static_cast<std::uint32_t>(path[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (c >= kEscapeFirst && c <= kEscapeLast) {
      out += static_cast<char>(c - 0xDC00);
    } else if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      throw Failure(kPathNotFound, "the path has a character no file name can hold");
    } else {
      AppendUtf8(c == U'\\' ? U'/' : c, out);
    }
  }
  return out;
}

std::wstring FromNativePath(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t c = 0;
    std::size_t length = DecodeUtf8(bytes, c);
    if (length == 0) {
      c = 0xDC00 + static_cast<unsigned char>(bytes[0]);
      length = 1;
    }
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
    bytes.remove_prefix(length);
  }
  return out;
}

}  // namespace platform
