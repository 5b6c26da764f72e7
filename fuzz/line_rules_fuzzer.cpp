// The two line rules and the version classification, on arbitrary lines.
//
// The file-group rule writes the line itself first and at most one more line, which is exactly
// "LINKTYPE=Static Link", exactly under lines with both brackets other than [Info] and
// [FileGroups]; the brackets are characters of the code page that the first byte picks (none, 932
// or 936). The project rule writes exactly one line per line, changed only to
// "Version=1.20.000" and only where the line is "Version=" + the version inside a General section,
// and refuses its text exactly when it changed no line; the file-group rule never refuses. The
// classification agrees with a reading of the version table written out case by case.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/line_model.h"
#include "tests/support/recording_text_stream.h"
#include "upgrade/line_rules.h"
#include "upgrade/project_version.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i];
    wchar_t y = b[i];
    if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - 32);
    if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The table, read row by row.
std::optional<std::int32_t> TableCode(std::wstring_view v) {
  if (v.size() <= 3) return -1;
  const auto digit = [](wchar_t c) -> std::optional<int> {
    for (int d = 0; d <= 9; ++d) {
      if (c == static_cast<wchar_t>(L'0' + d)) return d;
    }
    return std::nullopt;
  };
  const std::optional<int> major = digit(v[0]);
  const std::optional<int> minor = digit(v[2]);
  if (!major || !minor) return std::nullopt;
  if (*major == 1 && *minor == 0) return 0;
  if (*major == 1 && *minor == 1) return 1;
  if (*major == 1) return 2;
  if (*major == 2 && *minor == 0) return 3;
  if (*major == 2 && *minor == 1) return 4;
  if (*major == 2) return 5;
  return 6;
}

// The input as characters: bytes, or pairs of bytes when the first byte says so, so that
// characters beyond 8 bits (as a wide path or a future reader could give) are tried too.
std::wstring Characters(std::string_view bytes, bool wide) {
  if (!wide) return fuzz::Widen(bytes);
  std::wstring text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

std::vector<std::wstring> Lines(std::wstring_view text) {
  std::vector<std::wstring> lines(1);
  for (const wchar_t c : text) {
    if (c == L'\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::uint8_t choice = fuzz::TakeByte(input);
  const bool wide = (choice & 1) != 0;
  const fuzz::CodePage codePage = fuzz::PickCodePage(choice >> 1);
  const std::wstring text = Characters(input, wide);
  std::vector<std::wstring> lines = Lines(text);
  // The first line is the version as read; the rest are the file's lines.
  const std::wstring versionText = lines.front();
  lines.erase(lines.begin());
  // The rules see a line as the bytes of 8-bit text, which holds no character above U+00FF; the
  // version text may hold one.
  std::vector<std::wstring> eightBitLines;
  std::vector<std::string> byteLines;
  for (std::wstring& line : lines) {
    std::string bytes;
    if (!fuzz::Narrow(line, bytes)) continue;
    eightBitLines.push_back(std::move(line));
    byteLines.push_back(std::move(bytes));
  }
  lines = std::move(eightBitLines);

  Require(upgrade::ClassifyVersionText(versionText) == TableCode(versionText));

  test_support::RecordingTextStream linkWriter;
  const auto holdsBoth = [codePage](std::string_view bytes) {
    return fuzz::HasCharacter(bytes, "[", codePage) && fuzz::HasCharacter(bytes, "]", codePage);
  };
  upgrade::LinkTypeLineRule linkRule(fuzz::LeadBytesOf(codePage));
  std::size_t at = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::wstring& line = lines[i];
    linkRule.Apply(byteLines[i], linkWriter);
    Require(at < linkWriter.lines.size() && linkWriter.lines[at] == line);
    ++at;
    const bool header = holdsBoth(byteLines[i]) && !SameIgnoringCase(line, L"[info]") &&
                        !SameIgnoringCase(line, L"[fileGroups]");
    if (header) {
      Require(at < linkWriter.lines.size() && linkWriter.lines[at] == L"LINKTYPE=Static Link");
      ++at;
    }
    Require(linkWriter.lines.size() == at);
  }
  Require(linkRule.Refusal().empty());

  test_support::RecordingTextStream versionWriter;
  upgrade::VersionLineRule versionRule(versionText, fuzz::LeadBytesOf(codePage));
  bool inGeneral = false;
  bool anyRaised = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::wstring& line = lines[i];
    versionRule.Apply(byteLines[i], versionWriter);
    Require(versionWriter.lines.size() == i + 1);
    if (holdsBoth(byteLines[i])) inGeneral = SameIgnoringCase(line, L"[GENERAL]");
    const bool raised = inGeneral && line == L"Version=" + versionText;
    anyRaised = anyRaised || raised;
    Require(versionWriter.lines[i] == (raised ? std::wstring(L"Version=1.20.000") : line));
  }
  // A text in which nothing was raised must not replace the project file.
  Require(versionRule.Refusal().empty() == anyRaised);
  return 0;
}
