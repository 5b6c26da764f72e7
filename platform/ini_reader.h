// A small reader of INI-style files: sections of "name=value" keys.
//
// Where the platform's profile reader (GetPrivateProfileString) documents how it reads a file,
// this reader reads it the same way: "[section]" headers and "key=string" lines, section and key
// names matched without regard to case, and the quotes around a value discarded. That is all it
// documents. The rest, reading a file that starts with a UTF-16 byte-order mark as UTF-16 among
// it, is this reader's own choice, which may differ from the platform's; where it differs on
// purpose, it says so.
//
// - A file that starts with FF FE or FE FF is UTF-16, little- or big-endian: each 16-bit unit is
//   a character, the mark is none, and an odd last byte is dropped. Any other file is 8-bit text:
//   bytes are characters of the same value (U+0000 to U+00FF), and a UTF-8 mark at the start is
//   skipped.
// - Lines end at CR LF, LF or a lone CR.
// - 8-bit lines are searched by characters of the code page whose lead bytes the reader is given
//   (none unless chosen): a lead byte and the byte after it are one character, never "]", "=", a
//   quote or a blank.
// - Blanks (space and tab) around section names, key names and values are trimmed.
// - A line whose first non-blank character is ";" is a comment.
// - A header is a line that starts with "[" once trimmed; the section name is what lies between
//   it and the first "]", and anything after that "]" is ignored. A "[" line without "]" is
//   ignored.
// - A key is a line with "=": its name is what precedes the first "=", its value what follows.
//   Lines without "=", keys with an empty name and keys before the first header are ignored.
// - A value that starts and ends with the same quote, double or single, loses that pair; no
//   escapes are read.
// - Names match regardless of the case of the letters A to Z only, never by the locale, so that a
//   file reads the same on every machine (the profile reader folds other letters too).
// - Of two keys of one name in a section the first wins. A section that appears again continues
//   the first one: its new keys are added, and keys already there keep their first value.
// - The reader streams the file. If the names and values it would hold, or a single line, exceed
//   its cap (64 Mi characters unless chosen otherwise), loading fails with kOutOfMemory. A file
//   that cannot be opened or read fails with its own error number (53 file not found, 76 path not
//   found, 70 permission denied, 75 otherwise). A failed load leaves the reader empty.
// - LoadFile reads through the file services it was given, else the platform's own, so that a
//   test's services (faults, a disk in memory) reach the reading of a project too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/file_system_object.h"
#include "platform/lead_bytes.h"
#include "platform/text_stream.h"

namespace platform {

class IniKey {
 public:
  IniKey(std::wstring name, std::wstring value)
      : name_(std::move(name)), value_(std::move(value)) {}
  const std::wstring& Name() const { return name_; }
  const std::wstring& Value() const { return value_; }

 private:
  std::wstring name_;
  std::wstring value_;
};

// A collection of named items, looked up regardless of ASCII case, in the order first seen.
template <typename T>
class IniCollection {
 public:
  // The item of that name, or nullptr when there is none. Never throws for an absent name.
  const T* Item(std::wstring_view name) const;
  std::size_t Count() const { return items_.size(); }
  const T& operator[](std::size_t index) const { return items_[index]; }

 private:
  friend class IniParser;
  T* Find(std::wstring_view name);
  T& Add(T item);

  std::vector<T> items_;
  std::unordered_map<std::wstring, std::size_t> index_;  // by ASCII-lowercased name
};

using IniKeys = IniCollection<IniKey>;

class IniSection {
 public:
  explicit IniSection(std::wstring name) : name_(std::move(name)) {}
  const std::wstring& Name() const { return name_; }
  const IniKeys& Keys() const { return keys_; }

 private:
  friend class IniParser;
  std::wstring name_;
  IniKeys keys_;
};

using IniSections = IniCollection<IniSection>;

class IniReader {
 public:
  static constexpr std::size_t kDefaultCap = std::size_t{64} * 1024 * 1024;

  explicit IniReader(std::size_t cap = kDefaultCap, LeadBytes leadBytes = {})
      : cap_(cap), leadBytes_(leadBytes) {}
  // A reader whose LoadFile opens files through `files`, which must outlive it.
  explicit IniReader(FileSystemObject& files, LeadBytes leadBytes = {},
                     std::size_t cap = kDefaultCap)
      : cap_(cap), leadBytes_(leadBytes), files_(&files) {}

  // Parses the file at the path, replacing what an earlier load read (and what it returned).
  void LoadFile(std::wstring_view path);
  // Parses a file's bytes held in memory, by the same rules.
  void LoadText(std::string_view bytes);
  // Parses the bytes of a reader.
  void Load(TextStream& file);

  const IniSections& Sections() const { return sections_; }

 private:
  std::size_t cap_;
  LeadBytes leadBytes_;
  FileSystemObject* files_ = nullptr;
  IniSections sections_;
};

}  // namespace platform
