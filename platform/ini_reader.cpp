#include "platform/ini_reader.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/failure.h"

namespace platform {
namespace {

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

// Builds the sections from the file's bytes as they come: decodes them by the mark the file starts
// with, splits the characters into lines and reads each line, counting what it holds against the
// cap. Every text it looks into starts where a character starts, so each is walked by characters
// from its start.
class IniParser {
 public:
  IniParser(IniSections& sections, std::size_t cap, const LeadBytes& leadBytes)
      : sections_(sections), cap_(cap), leadBytes_(leadBytes) {}

  void Feed(std::string_view bytes) {
    // The first two bytes tell the encoding, however the file comes in pieces.
    while (encoding_ == Encoding::kUnknown && !bytes.empty()) {
      head_ += bytes.front();
      bytes.remove_prefix(1);
      if (head_.size() == 2) TakeEncoding();
    }
    if (encoding_ != Encoding::kUnknown) Decode(bytes);
  }

  // After the last bytes. A UTF-16 file's odd last byte is no character.
  void Finish() {
    if (encoding_ == Encoding::kUnknown) TakeEncoding();
    if (!line_.empty()) EndLine();
  }

 private:
  enum class Encoding { kUnknown, kEightBit, kUtf16LittleEndian, kUtf16BigEndian };

  void TakeEncoding() {
    if (head_ == "\xFF\xFE") {
      encoding_ = Encoding::kUtf16LittleEndian;
    } else if (head_ == "\xFE\xFF") {
      encoding_ = Encoding::kUtf16BigEndian;
    } else {
      encoding_ = Encoding::kEightBit;
      Decode(head_);
      return;
    }
    leadBytes_ = LeadBytes();  // lead bytes are the code page's, and UTF-16 has none
  }

  void Decode(std::string_view bytes) {
    if (encoding_ == Encoding::kEightBit) {
      // A line's bytes up to its line end go in at once; the line end goes through Put.
      while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        if (end != 0) afterCr_ = false;
        Append(bytes.substr(0, end));
        if (end == bytes.size()) return;
        Put(static_cast<wchar_t>(bytes[end]));
        bytes.remove_prefix(end + 1);
      }
      return;
    }
    for (const char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      if (pendingByte_ < 0) {
        pendingByte_ = byte;
      } else {
        const auto first = static_cast<unsigned>(pendingByte_);
        pendingByte_ = -1;
        Put(static_cast<wchar_t>(encoding_ == Encoding::kUtf16LittleEndian ? first | byte << 8
                                                                           : first << 8 | byte));
      }
    }
  }

  // Lines end at CR LF, LF or a lone CR.
  void Put(wchar_t c) {
    if (c == L'\n' && afterCr_) {
      afterCr_ = false;
      return;
    }
    afterCr_ = c == L'\r';
    if (c == L'\r' || c == L'\n') {
      EndLine();
      return;
    }
    RequireRoomFor(1);
    line_ += c;
  }

  // 8-bit characters that end no line.
  void Append(std::string_view bytes) {
    RequireRoomFor(bytes.size());
    const std::size_t at = line_.size();
    line_.resize(at + bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      line_[at + i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
  }

  void RequireRoomFor(std::size_t characters) const {
    if (characters > cap_ - line_.size()) {
      throw Failure(kOutOfMemory, "a line is longer than " + std::to_string(cap_));
    }
  }

  void EndLine() {
    std::wstring_view text = line_;
    if (firstLine_ && encoding_ == Encoding::kEightBit && text.starts_with(kUtf8MarkCharacters)) {
      text.remove_prefix(kUtf8MarkCharacters.size());
    }
    firstLine_ = false;
    AddLine(text);
    line_.clear();
  }

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

  // Where the text's last character starts: a byte after a lead byte is no character of its own.
  std::size_t LastCharacterAt(std::wstring_view text) const {
    std::size_t at = 0;
    for (std::size_t next = 0; next < text.size(); next = leadBytes_.CharacterEnd(text, next)) {
      at = next;
    }
    return at;
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
    std::wstring_view value = Trim(text.substr(equals + 1));
    // As the profile reader does: one pair of matching quotes around a value is dropped.
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front() && LastCharacterAt(value) == value.size() - 1) {
      value = value.substr(1, value.size() - 2);
    }
    Hold(name.size() + value.size());
    section_->keys_.Add(IniKey(std::wstring(name), std::wstring(value)));
  }

  IniSections& sections_;
  std::size_t cap_;
  LeadBytes leadBytes_;
  Encoding encoding_ = Encoding::kUnknown;
  std::string head_;      // the first bytes, until they tell the encoding
  int pendingByte_ = -1;  // UTF-16: the first byte of a character whose second is still to come
  std::wstring line_;
  bool afterCr_ = false;
  bool firstLine_ = true;
  std::size_t held_ = 0;
  // Sections live in a vector that grows: this pointer is refreshed on every header, and keys
  // are added only to the section of the latest one.
  IniSection* section_ = nullptr;
};

namespace {

// Parses what `feed` hands the parser into `sections`, which keep nothing of a failed parse.
template <typename Feed>
void Parse(IniSections& sections, std::size_t cap, const LeadBytes& leadBytes, Feed feed) {
  sections = IniSections();
  IniSections parsed;
  IniParser parser(parsed, cap, leadBytes);
  feed(parser);
  parser.Finish();
  sections = std::move(parsed);
}

}  // namespace

void IniReader::Load(TextStream& file) {
  Parse(sections_, cap_, leadBytes_, [&file](IniParser& parser) {
    for (std::string_view bytes = file.ReadBytes(); !bytes.empty(); bytes = file.ReadBytes()) {
      parser.Feed(bytes);
    }
  });
}

void IniReader::LoadText(std::string_view bytes) {
  Parse(sections_, cap_, leadBytes_, [bytes](IniParser& parser) { parser.Feed(bytes); });
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
