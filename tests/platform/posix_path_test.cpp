#include "platform/posix_file_system.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/failure.h"
#include "tests/support/failure_number.h"

namespace platform_test {
namespace {

using test_support::FailureNumber;

TEST(PosixPath, WideNamesBecomeUtf8WithSlashes) {
  const struct {
    std::wstring wide;
    std::string native;
  } cases[] = {
      {L"C:\\dir\\file.ipr", "C:/dir/file.ipr"},
      {L"/a/b", "/a/b"},
      {L"\u00E9", "\xC3\xA9"},
      {L"\u0395\u03BB", "\xCE\x95\xCE\xBB"},
      {L"\u6F22", "\xE6\xBC\xA2"},
      {L"\U0001F600", "\xF0\x9F\x98\x80"},
      {L"\uFFFD", "\xEF\xBF\xBD"},
      {L"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ToNativePath(c.wide), c.native) << c.native;
    std::wstring back = c.wide;
    for (wchar_t& ch : back) {
      if (ch == L'\\') ch = L'/';
    }
    EXPECT_EQ(platform::FromNativePath(c.native), back) << c.native;
  }
}

TEST(PosixPath, BytesThatAreNotUtf8SurviveTheRoundTrip) {
  for (const std::string_view native :
       {"\xFF", "a\x80z", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\xBC"}) {
    const std::wstring wide = platform::FromNativePath(native);
    for (const wchar_t c : wide) {
      EXPECT_FALSE(c == L'/' || c == L'\\') << "an escape must never become a separator";
    }
    EXPECT_EQ(platform::ToNativePath(wide), native) << native;
  }
}

TEST(PosixPath, NamesNoFileCanHaveAreRefused) {
  for (const std::wstring& wide : {std::wstring(L"a\0b", 3), std::wstring(1, wchar_t(0xD800)),
                                   std::wstring(1, wchar_t(0x110000))}) {
    EXPECT_EQ(FailureNumber([&] { platform::ToNativePath(wide); }), platform::kPathNotFound);
  }
}

}  // namespace
}  // namespace platform_test
