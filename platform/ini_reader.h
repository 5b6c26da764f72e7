// A small reader of INI-style files: sections of "name=value" keys.
//
// (Rules to be documented here by the implementation.)
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IniKey {
 public:
  const std::wstring& Value() const { return value_; }
  // ...
 private:
  std::wstring value_;
};

class IniKeys {
 public:
  // The key of that name, or nullptr when there is none. Never throws for an absent name.
  const IniKey* Item(std::wstring_view name) const;
};

class IniSection {
 public:
  const IniKeys& Keys() const;
};

class IniSections {
 public:
  // The section of that name, or nullptr when there is none. Never throws for an absent name.
  const IniSection* Item(std::wstring_view name) const;
};

class IniReader {
 public:
  // Parses the file at the path; throws platform::Failure if it cannot be opened or read.
  void LoadFile(std::wstring_view path);
  const IniSections& Sections() const;
};

}  // namespace platform
