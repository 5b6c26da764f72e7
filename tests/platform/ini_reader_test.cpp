#include "platform/ini_reader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/support/double_byte_code_pages.h"
#include "tests/support/eight_bit_text.h"
#include "tests/support/failure_number.h"
#include "tests/support/scratch_folder.h"

namespace platform_test {
namespace {

using test_support::DoubleByteCodePage;
using test_support::EightBit;
using test_support::FailureNumber;
using test_support::kDoubleByteCodePages;
using test_support::ScratchFolder;
using test_support::WriteBytes;

using platform::IniReader;

struct Lookup {
  const wchar_t* section;
  const wchar_t* key;                 // nullptr: only the section is looked up
  std::optional<std::wstring> value;  // nullopt: absent
};

struct Golden {
  const char* rule;
  std::string text;
  std::vector<Lookup> lookups;
};

const std::optional<std::wstring> kAbsent;

const Golden kGolden[] = {
    {"plain keys",
     "[General]\r\nVersion=1.00.000\r\nType=1\r\n",
     {{L"General", L"Version", L"1.00.000"}, {L"General", L"Type", L"1"}}},
    {"names regardless of ASCII case",
     "[GeNeRaL]\nVERSION=x\n",
     {{L"general", L"version", L"x"}, {L"GENERAL", L"Version", L"x"}}},
    {"only ASCII letters fold",
     "[\xC9t\xE9]\nK=v\n",
     {{L"\u00C9t\u00E9", L"k", L"v"}, {L"\u00E9t\u00E9", nullptr, kAbsent}}},
    {"blanks trimmed",
     "  [ General ]  \n \t Version \t=\t 1.10.000 \t\n",
     {{L"General", L"Version", L"1.10.000"}}},
    {"blanks inside kept", "[My Section]\nmy key = a  b \n", {{L"My Section", L"my key", L"a  b"}}},
    {"empty value", "[S]\nk=\nm=   \n", {{L"S", L"k", L""}, {L"S", L"m", L""}}},
    {"value with =", "[S]\nk=a=b\n", {{L"S", L"k", L"a=b"}}},
    {"comments",
     "[S]\n;k=1\n  ; m=2\nn=3 ; not a comment\n",
     {{L"S", L"k", kAbsent}, {L"S", L"m", kAbsent}, {L"S", L"n", L"3 ; not a comment"}}},
    {"commented header", ";[T]\n[S]\nk=1\n", {{L"T", nullptr, kAbsent}, {L"S", L"k", L"1"}}},
    {"first duplicate key wins", "[S]\nk=first\nK=second\n", {{L"S", L"k", L"first"}}},
    {"duplicate sections merge",
     "[S]\na=1\n[T]\nb=2\n[s]\na=3\nc=4\n",
     {{L"S", L"a", L"1"}, {L"S", L"c", L"4"}, {L"T", L"b", L"2"}, {L"T", L"c", kAbsent}}},
    {"lines without = ignored",
     "[S]\njust text\nk=1\n",
     {{L"S", L"k", L"1"}, {L"S", L"just text", kAbsent}}},
    {"empty key name ignored", "[S]\n=v\n", {{L"S", L"", kAbsent}}},
    {"text after ] ignored", "[General] trailing\nVersion=2\n", {{L"General", L"Version", L"2"}}},
    {"name up to the first ]", "[a]b]\nk=1\n", {{L"a", L"k", L"1"}, {L"a]b", nullptr, kAbsent}}},
    {"[ without ] ignored",
     "[S]\n[broken\nk=1\n",
     {{L"S", L"k", L"1"}, {L"broken", nullptr, kAbsent}}},
    {"[ line with = is not a key", "[S]\n[k=1\n", {{L"S", L"[k", kAbsent}}},
    {"empty section name", "[]\nk=1\n", {{L"", L"k", L"1"}}},
    {"keys before any header ignored",
     "k=0\n[S]\nm=1\n",
     {{L"S", L"k", kAbsent}, {L"S", L"m", L"1"}}},
    {"one pair of matching quotes dropped, no escapes",
     "[General]\nVersion=\"1.00.000\"\ns= ' a b ' \nn=\"\"\"\"\nm=\"a'\no=\"\ne=a\\nb\n",
     {{L"General", L"Version", L"1.00.000"},
      {L"General", L"s", L" a b "},
      {L"General", L"n", L"\"\""},
      {L"General", L"m", L"\"a'"},
      {L"General", L"o", L"\""},
      {L"General", L"e", L"a\\nb"}}},
    {"a UTF-16 file with a mark, little-endian",
     std::string("\xFF\xFE[\0G\0]\0\r\0\n\0K\0=\0\xE9\0\x01\x26\r\0\n\0", 24),
     {{L"G", L"K", L"\u00E9\u2601"}}},
    {"a UTF-16 file with a mark, big-endian, lines ending alike",
     std::string("\xFE\xFF\0[\0G\0]\0\r\0K\0=\0v\0\n\0L\0=\0w", 24),
     {{L"G", L"K", L"v"}, {L"G", L"L", L"w"}}},
    {"bytes read transparently", "[S]\nk=\xE9\x80\xFF\n", {{L"S", L"k", L"\u00E9\u0080\u00FF"}}},
    {"a UTF-8 mark is no part of the first line",
     "\xEF\xBB\xBF[General]\nVersion=1\n",
     {{L"General", L"Version", L"1"}}},
    {"a UTF-8 mark before a blank first line is harmless",
     "\xEF\xBB\xBF\n[General]\nVersion=1\n",
     {{L"General", L"Version", L"1"}}},
    {"a UTF-8 mark later belongs to its line",
     "[S]\n\xEF\xBB\xBFk=1\n",
     {{L"S", L"k", kAbsent}, {L"S", L"\u00EF\u00BB\u00BFk", L"1"}}},
    {"every line end",
     "[S]\ra=1\nb=2\r\nc=3",
     {{L"S", L"a", L"1"}, {L"S", L"b", L"2"}, {L"S", L"c", L"3"}}},
    {"absent section and key",
     "[S]\nk=1\n",
     {{L"General", nullptr, kAbsent}, {L"S", L"Version", kAbsent}}},
    {"empty file", "", {{L"General", nullptr, kAbsent}}},
};

class IniGolden : public testing::TestWithParam<Golden> {};

TEST_P(IniGolden, LookupsGiveTheExpectedValues) {
  const Golden& golden = GetParam();
  IniReader reader;
  reader.LoadText(golden.text);
  for (const Lookup& lookup : golden.lookups) {
    const platform::IniSection* section = reader.Sections().Item(lookup.section);
    if (lookup.key == nullptr) {
      EXPECT_EQ(section != nullptr, lookup.value.has_value()) << golden.rule;
      continue;
    }
    const platform::IniKey* key = section ? section->Keys().Item(lookup.key) : nullptr;
    if (!lookup.value) {
      EXPECT_EQ(key, nullptr) << golden.rule;
      continue;
    }
    ASSERT_NE(key, nullptr) << golden.rule;
    EXPECT_EQ(key->Value(), *lookup.value) << golden.rule;
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, IniGolden, testing::ValuesIn(kGolden),
                         [](const testing::TestParamInfo<Golden>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.rule)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

// On a double-byte code page a lead byte and the byte after it are one character, which is never
// a "]" or a blank; single-byte code pages (no lead bytes) read every byte as one, as before.
class IniDoubleByte : public testing::TestWithParam<DoubleByteCodePage> {};

TEST_P(IniDoubleByte, SecondBytesOfCharactersAreNoBracketsOrBlanks) {
  const DoubleByteCodePage& page = GetParam();
  const std::string lead = page.open.substr(0, 1);
  const std::string text = "[General]\r\nTitle=" + page.open + page.close +
                           "\r\nVersion=1.00.000\r\n[" + page.close + "]\r\nKey=1\r\n[x" + lead +
                           "]\r\nOther=2\r\nBlank=" + lead + " \r\nLast=" + lead;
  IniReader doubleByte(IniReader::kDefaultCap, page.LeadBytes());
  doubleByte.LoadText(text);
  IniReader singleByte;
  singleByte.LoadText(text);
  EXPECT_EQ(doubleByte.Sections().Count(), 2u);
  EXPECT_EQ(singleByte.Sections().Count(), 3u);

  const struct {
    const IniReader& reader;
    std::string section;
    const wchar_t* key;
    std::string value;
  } lookups[] = {
      {doubleByte, "General", L"Title", page.open + page.close},
      {doubleByte, "General", L"Version", "1.00.000"},
      {doubleByte, page.close, L"Key", "1"},           // the name is the whole character
      {doubleByte, page.close, L"Other", "2"},         // "[x" + lead byte + "]" is no header
      {doubleByte, page.close, L"Blank", lead + " "},  // the blank is the lead byte's second
      {doubleByte, page.close, L"Last", lead},         // a lead byte that ends the file
      {singleByte, "General", L"Version", "1.00.000"},
      {singleByte, page.close.substr(0, 1), L"Key", "1"},
      {singleByte, "x" + lead, L"Other", "2"},
      {singleByte, "x" + lead, L"Blank", lead},
  };
  for (const auto& lookup : lookups) {
    SCOPED_TRACE(testing::Message() << (&lookup.reader == &doubleByte ? "double" : "single")
                                    << "-byte, key " << testing::PrintToString(lookup.key));
    const platform::IniSection* section = lookup.reader.Sections().Item(EightBit(lookup.section));
    ASSERT_NE(section, nullptr);
    const platform::IniKey* key = section->Keys().Item(lookup.key);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Value(), EightBit(lookup.value));
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, IniDoubleByte, testing::ValuesIn(kDoubleByteCodePages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniReader, KeepsTheOrderOfFirstAppearance) {
  IniReader reader;
  reader.LoadText("[B]\ny=1\nx=2\n[A]\n[b]\nz=3\n");
  ASSERT_EQ(reader.Sections().Count(), 2u);
  EXPECT_EQ(reader.Sections()[0].Name(), L"B");
  EXPECT_EQ(reader.Sections()[1].Name(), L"A");
  const platform::IniKeys& keys = reader.Sections()[0].Keys();
  ASSERT_EQ(keys.Count(), 3u);
  EXPECT_EQ(keys[0].Name(), L"y");
  EXPECT_EQ(keys[1].Name(), L"x");
  EXPECT_EQ(keys[2].Name(), L"z");
}

TEST(IniReader, ALaterLoadReplacesTheEarlierOne) {
  IniReader reader;
  reader.LoadText("[Old]\nk=1\n");
  reader.LoadText("[New]\nk=2\n");
  EXPECT_EQ(reader.Sections().Item(L"Old"), nullptr);
  EXPECT_NE(reader.Sections().Item(L"New"), nullptr);
}

TEST(IniReader, RefusesToHoldMoreThanItsCap) {
  const struct {
    const char* text;
    std::size_t cap;
    std::int32_t number;
  } cases[] = {
      {"[S]\nkey=value\n", 9, 0},  // S + key + value
      {"[S]\nkey=value\n", 8, platform::kOutOfMemory},
      {"[S]\nkey=value\nkey=ignored\n", 11, 0},  // an ignored duplicate is not held
      {"[S]\n; a long comment line\n", 8, platform::kOutOfMemory},  // the line itself is held
  };
  for (const auto& c : cases) {
    IniReader reader(c.cap);
    EXPECT_EQ(FailureNumber([&] { reader.LoadText(c.text); }), c.number) << c.text << c.cap;
    if (c.number != 0) {
      EXPECT_EQ(reader.Sections().Count(), 0u);
    }
  }
}

TEST(IniReader, LoadFileReadsThroughTheFileServicesPaths) {
  ScratchFolder scratch;
  const std::wstring path = scratch.Child(L"\u041F\u0440\u043E\u0435\u043A\u0442.ipr");
  WriteBytes(path, "[General]\r\nVersion=1.00.000\r\n");
  IniReader reader;
  reader.LoadFile(path);
  const platform::IniSection* general = reader.Sections().Item(L"General");
  ASSERT_NE(general, nullptr);
  ASSERT_NE(general->Keys().Item(L"Version"), nullptr);
  EXPECT_EQ(general->Keys().Item(L"Version")->Value(), L"1.00.000");
}

TEST(IniReader, LoadFileFailsOnWhatItCannotOpen) {
  ScratchFolder scratch;
  std::filesystem::create_directory(test_support::Native(scratch.Child(L"folder")));
  const struct {
    const wchar_t* name;
    std::int32_t number;
  } cases[] = {
      {L"missing.ipr", platform::kFileNotFound},
      {L"missing\\project.ipr", platform::kPathNotFound},
      {L"folder", platform::kPermissionDenied},
  };
  for (const auto& c : cases) {
    IniReader reader;
    reader.LoadText("[General]\nVersion=1\n");
    EXPECT_EQ(FailureNumber([&] { reader.LoadFile(scratch.Child(c.name)); }), c.number);
    EXPECT_EQ(reader.Sections().Count(), 0u) << "a failed load leaves the reader empty";
  }
}

}  // namespace
}  // namespace platform_test
