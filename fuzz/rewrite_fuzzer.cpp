// A whole rewrite (RewriteTextFile with either line rule) of a file on the file services held in
// memory, which keep every rule of the real ones, checked byte for byte against a model: the lines
// of a plain reading, each put through a plain reading of the rule, each ended with CR LF, a UTF-8
// mark kept before the first. A UTF-16 file, and a project file in which no line was raised, must
// be refused and left as they were. Either way, nothing but the file itself may remain in its
// folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/line_model.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/recording_ui.h"
#include "ui/upgrade_state.h"
#include "upgrade/line_rules.h"
#include "upgrade/text_rewrite.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Has(std::string_view line, char c) { return line.find(c) != std::string_view::npos; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// The lines written, or nothing when the project rule raised no line. A UTF-8 mark that starts the
// file is taken off its first line and put back in front of the first line written for it.
std::optional<std::vector<std::string>> ModelRewrite(std::vector<std::string> lines,
                                                     bool projectRule,
                                                     const std::string& versionText) {
  const bool marked = !lines.empty() && lines[0].starts_with(kUtf8Mark);
  if (marked) lines[0].erase(0, kUtf8Mark.size());
  std::vector<std::string> out;
  bool inGeneral = false;
  bool raised = false;
  for (const std::string& line : lines) {
    const bool header = Has(line, '[') && Has(line, ']');
    if (projectRule) {
      if (header) inGeneral = SameIgnoringCase(line, "[general]");
      const bool raise = inGeneral && line == "Version=" + versionText;
      raised = raised || raise;
      out.push_back(raise ? "Version=1.20.000" : line);
    } else {
      out.push_back(line);
      if (header && !SameIgnoringCase(line, "[info]") && !SameIgnoringCase(line, "[filegroups]")) {
        out.push_back("LINKTYPE=Static Link");
      }
    }
  }
  if (projectRule && !raised) return std::nullopt;
  if (marked) out[0].insert(0, kUtf8Mark);
  return out;
}

// Either byte-order mark, or a NUL beside a printable ASCII character in the first two bytes.
bool LooksUtf16(std::string_view bytes) {
  if (bytes.size() < 2) return false;
  const unsigned char a = static_cast<unsigned char>(bytes[0]);
  const unsigned char b = static_cast<unsigned char>(bytes[1]);
  const auto printable = [](unsigned char c) { return c >= 0x20 && c < 0x7F; };
  return (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF) || (a == 0 && printable(b)) ||
         (b == 0 && printable(a));
}

// The value of the first line that starts with "Version=", so that the raised line is reached,
// or else the whole first line.
std::string VersionOf(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.starts_with("Version=")) return line.substr(8);
  }
  return lines.empty() ? std::string() : lines.front();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::uint8_t choice = fuzz::TakeByte(input);
  const bool projectRule = (choice & 1) != 0;
  const std::vector<std::string> lines = fuzz::SplitLines(input);
  const std::string versionText = (choice & 2) != 0 ? std::string("1.00.000") : VersionOf(lines);

  const auto disk = std::make_shared<test_support::MemoryDisk>();
  const std::wstring folder = L"\\fuzz";
  const std::wstring source = folder + L"\\Source.ipr";
  disk->Put(source, input);

  ui::UpgradeState state(test_support::MemoryFileSystemFactory(disk));
  test_support::RecordingUi ui;
  upgrade::StepResult result;
  if (projectRule) {
    upgrade::VersionLineRule rule(fuzz::Widen(versionText));
    result = upgrade::RewriteTextFile(state, ui, source, rule);
  } else {
    upgrade::LinkTypeLineRule rule;
    result = upgrade::RewriteTextFile(state, ui, source, rule);
  }

  const std::wstring converting = L"Converting " + source + L"...";
  const bool utf16 = LooksUtf16(input);
  const auto expected = ModelRewrite(lines, projectRule, versionText);
  if (utf16 || !expected) {
    Require(result == upgrade::kStepFailed);
    Require(ui.messages.size() == 1);
    Require(ui.messages[0] ==
            L"Error when upgrading " + source +
                (utf16
                     ? L". The file is not 8-bit text."
                     : L". The Version line of the General section is not in the expected form."));
    Require(state.statusMessage == ui.messages[0]);
    Require(ui.statusTexts == std::vector<std::wstring>{converting});
    Require(disk->Get(source) == input);
  } else {
    Require(result == upgrade::kStepSucceeded);
    Require(ui.messages.empty());
    Require(ui.statusTexts ==
            (std::vector<std::wstring>{converting, L"Converted " + source + L"..."}));
    Require(disk->Get(source) == fuzz::JoinWithCrLf(*expected));
  }
  Require(disk->FilesBelow(folder) == std::vector<std::wstring>{L"Source.ipr"});
  return 0;
}
