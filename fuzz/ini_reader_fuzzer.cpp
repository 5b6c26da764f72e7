// The INI reader fed arbitrary bytes. Checked against a plain reading of the rules its header
// states: the same sections and keys in the same order, Item finds every parsed name in any letter
// case, absent names give nullptr, and the cap fails the load with kOutOfMemory and nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
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

std::wstring Trim(std::wstring text) {
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  return text.substr(start);
}

Model Read(std::string_view bytes) {
  Model model;
  ModelSection* section = nullptr;
  for (const std::string& raw : fuzz::SplitLines(bytes)) {
    model.longestLine = std::max(model.longestLine, raw.size());
    const std::wstring text = Trim(fuzz::Widen(raw));
    if (text.empty() || text[0] == L';') continue;
    if (text[0] == L'[') {
      const std::size_t close = text.find(L']');
      if (close == std::wstring::npos) continue;
      const std::wstring name = Trim(text.substr(1, close - 1));
      const auto [at, added] = model.sectionIndex.emplace(Fold(name), model.sections.size());
      if (added) {
        model.sections.push_back({name, {}, {}});
        model.held += name.size();
      }
      section = &model.sections[at->second];
      continue;
    }
    const std::size_t equals = text.find(L'=');
    if (equals == std::wstring::npos || section == nullptr) continue;
    const std::wstring name = Trim(text.substr(0, equals));
    if (name.empty()) continue;
    const auto [at, added] = section->keyIndex.emplace(Fold(name), section->keys.size());
    if (!added) continue;
    const std::wstring value = Trim(text.substr(equals + 1));
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
  const std::size_t cap = (choice & 1) != 0 ? choice >> 1 : platform::IniReader::kDefaultCap;
  const Model model = Read(input);
  const bool overCap = model.held > cap || model.longestLine > cap;

  platform::IniReader reader(cap);
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
