#include "platform/ini_reader.h"

#include <memory>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/buffered_text_stream.h"
#include "platform/failure.h"

namespace platform {
namespace {

// Small: a profile is a few kilobytes, and the reader is made once per load.
constexpr std::size_t kReadBuffer = std::size_t{64} * 1024;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

template <typename T>
const T* IniCollection<T>::Item(std::wstring_view name) const {
  const auto found = index_.find(ToAsciiLower(name));
  return found == index_.end() ? nullptr : &items_[found->second];
}

template <typename T>
T* IniCollection<T>::Find(std::wstring_view name) {
  return const_cast<T*>(std::as_const(*this).Item(name));
}

template <typename T>
T& IniCollection<T>::Add(T item) {
  index_.emplace(ToAsciiLower(item.Name()), items_.size());
  items_.push_back(std::move(item));
  return items_.back();
}

template class IniCollection<IniKey>;
template class IniCollection<IniSection>;

// Builds the sections line by line, counting what it holds against the cap. Every text it looks
// into starts where a character starts, so each is walked by characters from its start.
class IniParser {
 public:
  IniParser(IniSections& sections, std::size_t cap, const LeadBytes& leadBytes)
      : sections_(sections), cap_(cap), leadBytes_(leadBytes) {}

  void Parse(TextStream& lines) {
    std::wstring line;
    for (bool firstLine = true; !lines.AtEndOfStream(); firstLine = false) {
      lines.ReadLine(line);
      // A stream bounds its lines by its own limit, which may be above this reader's cap.
      if (line.size() > cap_) {
        throw Failure(kOutOfMemory, "a line is longer than " + std::to_string(cap_));
      }
      std::wstring_view text = line;
      if (firstLine && text.starts_with(kUtf8MarkCharacters)) {
        text.remove_prefix(kUtf8MarkCharacters.size());
      }
      AddLine(text);
    }
  }

 private:
  void Hold(std::size_t characters) {
    if (characters > cap_ - held_) {
      throw Failure(kOutOfMemory, "the INI file holds more than " + std::to_string(cap_) +
                                      " characters of names and values");
    }
    held_ += characters;
  }

  // A blank is a character of its own, so leading ones are plain bytes; a trailing blank byte can
  // be the second byte of a character, which only a walk from the start tells.
  std::wstring_view Trim(std::wstring_view text) const {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (leadBytes_.empty()) {
      while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
      return text;
    }
    std::size_t end = 0;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t next = leadBytes_.CharacterEnd(text, at);
      if (!IsBlank(text[at])) end = next;  // a two-byte character starts with no blank
      at = next;
    }
    return text.substr(0, end);
  }

  void AddLine(std::wstring_view line) {
    const std::wstring_view text = Trim(line);
    if (text.empty() || text.front() == L';') return;
    if (text.front() == L'[') {
      const std::size_t close = leadBytes_.Find(text, L']');
      if (close == std::wstring_view::npos) return;
      const std::wstring_view name = Trim(text.substr(1, close - 1));
      section_ = sections_.Find(name);
      if (section_ == nullptr) {
        Hold(name.size());
        section_ = &sections_.Add(IniSection(std::wstring(name)));
      }
      return;
    }
    const std::size_t equals = leadBytes_.Find(text, L'=');
    if (equals == std::wstring_view::npos || section_ == nullptr) return;
    const std::wstring_view name = Trim(text.substr(0, equals));
    if (name.empty() || section_->keys_.Find(name) != nullptr) return;
    const std::wstring_view value = Trim(text.substr(equals + 1));
    Hold(name.size() + value.size());
    section_->keys_.Add(IniKey(std::wstring(name), std::wstring(value)));
  }

  IniSections& sections_;
  std::size_t cap_;
  const LeadBytes& leadBytes_;
  std::size_t held_ = 0;
  // Sections live in a vector that grows: this pointer is refreshed on every header, and keys
  // are added only to the section of the latest one.
  IniSection* section_ = nullptr;
};

void IniReader::Load(TextStream& lines) {
  sections_ = IniSections();
  IniSections parsed;
  IniParser(parsed, cap_, leadBytes_).Parse(lines);
  sections_ = std::move(parsed);
}

void IniReader::LoadText(std::string_view bytes) {
  BufferedTextStream lines(std::make_unique<MemoryChannel>(bytes),
                           BufferedTextStream::Direction::kRead, kReadBuffer, cap_);
  Load(lines);
}

void IniReader::LoadFile(std::wstring_view path) {
  sections_ = IniSections();
  std::unique_ptr<FileSystemObject> ownFiles;
  if (files_ == nullptr) ownFiles = CreatePlatformFileSystem();
  FileSystemObject& files = files_ != nullptr ? *files_ : *ownFiles;
  const std::unique_ptr<TextStream> lines = files.OpenTextFile(path, IoMode::ForReading, false);
  Load(*lines);
  lines->Close();
}

}  // namespace platform
