#include "ui/app_name.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {
namespace {

struct BaseNameCase {
  const wchar_t* path;
  const wchar_t* expected;
};

class ExecutableBaseNameTest : public testing::TestWithParam<BaseNameCase> {};

TEST_P(ExecutableBaseNameTest, DropsFolderAndExtension) {
  EXPECT_EQ(ExecutableBaseName(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExecutableBaseNameTest,
    testing::Values(BaseNameCase{L"C:\\Program Files\\BrenlowUpgrade.exe", L"BrenlowUpgrade"},
                    BaseNameCase{L"\\\\?\\C:\\a.b\\Tool.exe", L"Tool"},
                    BaseNameCase{L"C:\\dir.with.dots\\NoExtension", L"NoExtension"},
                    BaseNameCase{L"C:\\x\\two.dots.exe", L"two.dots"},
                    BaseNameCase{L"Z:/unix/style/Renamed.EXE", L"Renamed"},
                    BaseNameCase{L"D:Drive.exe", L"Drive"},
                    BaseNameCase{L"C:\\x\\.hidden", L".hidden"},
                    BaseNameCase{L"Bare.exe", L"Bare"}));

TEST(RunningAppNameTest, NamesThisTestProgram) {
  // The running module here is the test executable itself.
  EXPECT_EQ(RunningAppName(), L"form1_test");
}

}  // namespace
}  // namespace ui
