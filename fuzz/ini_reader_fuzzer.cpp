// The INI reader fed arbitrary bytes. Checked against a plain reading of the rules its header
// states: the same sections and keys in the same order, Item finds every parsed name in any letter
// case, absent names give nullptr, and the cap fails the load with kOutOfMemory and nothing else.
// A file that starts with a UTF-16 mark is read as UTF-16; any other as 8-bit lines of characters
// of the code page that the first byte picks (none, 932 or 936), a UTF-8 mark at the start
// skipped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/line_model.h"
#include "platform/failure.h"
#include "platform/ini_reader.h"

namespace {

struct ModelSection {
  std::wstring name;
  std::vector<std::pair<std::wstring, std::wstring>> keys;
  std::map<std::wstring, std::size_t> keyIndex;
};

struct Model {
  std::vector<ModelSection> sections;
  std::map<std::wstring, std::size_t> sectionIndex;
  std::size_t held = 0;
  std::size_t longestLine = 0;
};

std::wstring Fold(std::wstring_view name) {
  std::wstring folded(name);
  for (wchar_t& c : folded) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
  }
  return folded;
}

using Characters = std::vector<std::wstring>;
using CharacterView = std::span<const std::wstring>;

CharacterView Trim(CharacterView text) {
  const auto blank = [](const std::wstring& c) { return c == L" " || c == L"\t"; };
  while (!text.empty() && blank(text.back())) text = text.first(text.size() - 1);
  while (!text.empty() && blank(text.front())) text = text.subspan(1);
  return text;
}

// Characters [from, to) of the text, trimmed, and for a value without one pair of quotes around it.
std::wstring Part(CharacterView text, std::size_t from, std::size_t to, bool value = false) {
  CharacterView part = Trim(text.subspan(from, to - from));
  if (value && part.size() >= 2 && (part.front() == L"\"" || part.front() == L"'") &&
      part.back() == part.front()) {
    part = part.subspan(1, part.size() - 2);
  }
  std::wstring joined;
  for (const std::wstring& c : part) joined += c;
  return joined;
}

struct ModelLine {
  Characters characters;
  std::size_t length;  // as the reader counts it against its cap
};

// The lines of the file as characters: of UTF-16, or of the code page's 8-bit text.
std::vector<ModelLine> LinesOf(std::string_view bytes, fuzz::CodePage codePage) {
  std::vector<ModelLine> lines;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    const bool little = bytes[0] == '\xFF';
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]);
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      text.push_back(static_cast<wchar_t>(little ? first | second << 8 : first << 8 | second));
    }
    for (const std::wstring& line : fuzz::SplitLines<wchar_t>(text)) {
      Characters characters;
      for (const wchar_t c : line) characters.emplace_back(1, c);
      lines.push_back({characters, line.size()});
    }
    return lines;
  }
  bool firstLine = true;
  for (std::string_view raw : fuzz::SplitLines(bytes)) {
    // A UTF-8 mark that starts the file is no part of the first line; it counts in its length.
    const std::size_t length = raw.size();
    if (firstLine && raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
    firstLine = false;
    Characters characters;
    for (const std::string& c : fuzz::SplitCharacters(raw, codePage)) {
      characters.push_back(fuzz::Widen(c));
    }
    lines.push_back({characters, length});
  }
  return lines;
}

std::size_t FindCharacter(CharacterView text, const wchar_t* c) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) return i;
  }
  return std::string::npos;
}

Model Read(std::string_view bytes, fuzz::CodePage codePage) {
  Model model;
  ModelSection* section = nullptr;
  for (const ModelLine& line : LinesOf(bytes, codePage)) {
    model.longestLine = std::max(model.longestLine, line.length);
    const CharacterView text = Trim(line.characters);
    if (text.empty() || text[0] == L";") continue;
    if (text[0] == L"[") {
      const std::size_t close = FindCharacter(text, L"]");
      if (close == std::string::npos) continue;
      const std::wstring name = Part(text, 1, close);
      const auto [at, added] = model.sectionIndex.emplace(Fold(name), model.sections.size());
      if (added) {
        model.sections.push_back({name, {}, {}});
        model.held += name.size();
      }
      section = &model.sections[at->second];
      continue;
    }
    const std::size_t equals = FindCharacter(text, L"=");
    if (equals == std::string::npos || section == nullptr) continue;
    const std::wstring name = Part(text, 0, equals);
    if (name.empty()) continue;
    const auto [at, added] = section->keyIndex.emplace(Fold(name), section->keys.size());
    if (!added) continue;
    const std::wstring value = Part(text, equals + 1, text.size(), true);
    section->keys.emplace_back(name, value);
    model.held += name.size() + value.size();
  }
  return model;
}

std::wstring SwapCase(std::wstring name) {
  for (wchar_t& c : name) {
    if (c >= L'a' && c <= L'z') {
      c = static_cast<wchar_t>(c - (L'a' - L'A'));
    } else if (c >= L'A' && c <= L'Z') {
      c = static_cast<wchar_t>(c + (L'a' - L'A'));
    }
  }
  return name;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

template <typename Collection, typename Index>
void CheckLookups(const Collection& items, const Index& index,
                  const std::vector<std::wstring>& names) {
  for (std::size_t i = 0; i < items.Count(); ++i) {
    Require(items.Item(names[i]) == &items[i]);
    Require(items.Item(SwapCase(names[i])) == &items[i]);
  }
  // Names made up from the parsed ones and a few fixed ones: found exactly when the model has them.
  std::vector<std::wstring> probes = {L"", L"General", L"Version", L"\x00ff"};
  for (const std::wstring& name : names) {
    probes.push_back(name + L"x");
    if (!name.empty()) probes.push_back(name.substr(1));
  }
  for (const std::wstring& probe : probes) {
    const auto found = index.find(Fold(probe));
    Require((items.Item(probe) != nullptr) == (found != index.end()));
    if (found != index.end()) Require(items.Item(probe) == &items[found->second]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // Half of the inputs run under a tiny cap, so that the refusal is reached too.
  const std::uint8_t choice = fuzz::TakeByte(input);
  const std::size_t cap = (choice & 1) != 0 ? choice >> 3 : platform::IniReader::kDefaultCap;
  const fuzz::CodePage codePage = fuzz::PickCodePage(choice >> 1);
  const Model model = Read(input, codePage);
  const bool overCap = model.held > cap || model.longestLine > cap;

  platform::IniReader reader(cap, fuzz::LeadBytesOf(codePage));
  try {
    reader.LoadText(input);
  } catch (const platform::Failure& failure) {
    Require(overCap && failure.number() == platform::kOutOfMemory);
    Require(reader.Sections().Count() == 0);
    Require(reader.Sections().Item(L"General") == nullptr);
    return 0;
  }
  Require(!overCap);

  const platform::IniSections& sections = reader.Sections();
  Require(sections.Count() == model.sections.size());
  std::vector<std::wstring> sectionNames;
  for (std::size_t i = 0; i < sections.Count(); ++i) {
    const ModelSection& expected = model.sections[i];
    Require(sections[i].Name() == expected.name);
    sectionNames.push_back(expected.name);
    const platform::IniKeys& keys = sections[i].Keys();
    Require(keys.Count() == expected.keys.size());
    std::vector<std::wstring> keyNames;
    for (std::size_t k = 0; k < keys.Count(); ++k) {
      Require(keys[k].Name() == expected.keys[k].first);
      Require(keys[k].Value() == expected.keys[k].second);
      keyNames.push_back(expected.keys[k].first);
    }
    CheckLookups(keys, expected.keyIndex, keyNames);
  }
  CheckLookups(sections, model.sectionIndex, sectionNames);
  return 0;
}
