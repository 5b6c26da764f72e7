// Win32 only: files that another program holds open, read-only files and missing folders give the
// platform's own numbers through the Win32 file services, and an upgrade of a held project or
// file-group file changes nothing and says so.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/failure.h"
#include "platform/file_system_object.h"
#include "platform/win32_headers.h"
#include "tests/support/failure_number.h"
#include "tests/support/fault_injecting_file_system.h"
#include "tests/support/recording_ui.h"
#include "tests/support/sample_project.h"
#include "tests/support/scratch_folder.h"
#include "ui/upgrade_state.h"
#include "upgrade/upgrade_run.h"

namespace hostile_test {
namespace {

using namespace test_support;
using platform::IoMode;

// Holds a file open as another program would, sharing only what `share` allows.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, DWORD access, DWORD share)
      : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST(Win32Numbers, ReadOnlyLockedAndMissingGiveThePlatformsNumbers) {
  ScratchFolder folder;
  auto files = platform::CreatePlatformFileSystem();
  const std::wstring readOnly = folder.Child(L"read-only.txt");
  const std::wstring locked = folder.Child(L"locked.txt");
  const std::wstring source = folder.Child(L"source.txt");
  WriteBytes(readOnly, "r\r\n");
  WriteBytes(locked, "l\r\n");
  WriteBytes(source, "s\r\n");
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  HeldFile held(locked, GENERIC_READ | GENERIC_WRITE, 0);
  ASSERT_TRUE(held.Held());

  const std::wstring missing = folder.Child(L"missing\\file.txt");
  const struct {
    const char* what;
    std::function<void()> action;
    std::int32_t number;
  } cases[] = {
      {"delete read-only", [&] { files->DeleteFile(readOnly); }, platform::kPermissionDenied},
      {"replace read-only", [&] { files->ReplaceFile(readOnly, source); },
       platform::kPermissionDenied},
      {"read locked", [&] { files->OpenTextFile(locked, IoMode::ForReading, false); },
       platform::kPermissionDenied},
      {"write locked", [&] { files->OpenTextFile(locked, IoMode::ForWriting, true); },
       platform::kPermissionDenied},
      {"delete locked", [&] { files->DeleteFile(locked); }, platform::kPermissionDenied},
      {"replace locked", [&] { files->ReplaceFile(locked, source); }, platform::kPermissionDenied},
      {"write in missing folder", [&] { files->OpenTextFile(missing, IoMode::ForWriting, true); },
       platform::kPathNotFound},
      {"read in missing folder", [&] { files->OpenTextFile(missing, IoMode::ForReading, false); },
       platform::kPathNotFound},
      {"folder in missing folder", [&] { files->CreateFolder(missing); }, platform::kPathNotFound},
  };
  for (const auto& c : cases) EXPECT_EQ(FailureNumber(c.action), c.number) << c.what;
  EXPECT_EQ(ReadBytes(source), "s\r\n");
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

struct RunResult {
  RecordingUi ui;
};

RunResult Convert(const std::wstring& project) {
  RunResult result{RecordingUi(project)};
  ui::UpgradeState state;
  EXPECT_NO_THROW(upgrade::ConvertButton_Click(state, result.ui));
  return result;
}

const std::wstring kWritableHint = L" Please make sure that this file is writable.";

// A held file changes nothing from its step on, and the user learns which file to free; a project
// that cannot even be read passes the version check silently, so the run ends without a message
// and with an empty status bar.
TEST(LockedFile, HeldFileIsLeftAloneAndNamed) {
  const struct {
    const char* name;
    const wchar_t* held;
    DWORD access, share;
    bool named;  // the step is told, with the writable hint
  } cases[] = {
      {"project held without sharing", kProject, GENERIC_READ | GENERIC_WRITE, 0, false},
      {"project held open for reading", kProject, GENERIC_READ, FILE_SHARE_READ, true},
      {"file groups held without sharing", kFileGroups, GENERIC_READ | GENERIC_WRITE, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    const std::wstring project = folder.Child(kProject);
    WriteBytes(project, ProjectText("1.00.000"));
    WriteBytes(folder.Child(kFileGroups), kFileGroupsText);
    {
      HeldFile held(folder.Child(c.held), c.access, c.share);
      ASSERT_TRUE(held.Held());
      const RunResult run = Convert(project);
      const std::wstring message =
          L"Error when upgrading " + folder.Child(c.held) + L"." + kWritableHint;
      EXPECT_EQ(run.ui.messages,
                c.named ? std::vector<std::wstring>{message} : std::vector<std::wstring>{});
      EXPECT_EQ(run.ui.statusText, c.named ? message : L"");
    }
    // The project file comes first and stays upgraded when the file groups are held.
    const bool projectUpgraded = std::wstring_view(c.held) == kFileGroups;
    EXPECT_EQ(ReadBytes(project),
              projectUpgraded ? UpgradedProjectText("1.00.000") : ProjectText("1.00.000"));
    EXPECT_EQ(ReadBytes(folder.Child(kFileGroups)), kFileGroupsText);
    EXPECT_EQ(folder.Files().size(), 2u);
  }
}

// A scanner or an indexer that opens the project just as it is to be replaced and lets go a moment
// later does not fail the upgrade; one that keeps holding it does, after about a second.
TEST(LockedFile, ProjectHeldAMomentAtTheReplaceIsStillUpgraded) {
  for (const DWORD holdMs : {DWORD{300}, DWORD{2000}}) {
    SCOPED_TRACE("held for " + std::to_string(holdMs) + " ms");
    ScratchFolder folder;
    const std::wstring project = folder.Child(kProject);
    WriteBytes(project, ProjectText("1.10.000"));
    auto plan = std::make_shared<FaultPlan>();
    std::unique_ptr<HeldFile> held;
    std::thread release;
    plan->beforeForward = [&](const Operation& op) {
      if (op.name != "ReplaceFile") return;
      held = std::make_unique<HeldFile>(project, GENERIC_READ, FILE_SHARE_READ);
      ASSERT_TRUE(held->Held());
      release = std::thread([&held, holdMs] {
        Sleep(holdMs);
        held.reset();
      });
    };
    RecordingUi recorder(project);
    ui::UpgradeState state(FaultInjectingFactory(plan));
    const DWORD start = GetTickCount();
    upgrade::ConvertButton_Click(state, recorder);
    const DWORD took = GetTickCount() - start;
    release.join();
    if (holdMs < 1000) {
      EXPECT_EQ(recorder.statusText, L"Complete!");
      EXPECT_EQ(ReadBytes(project), UpgradedProjectText("1.10.000"));
      EXPECT_GE(took, holdMs - 50) << "the replace waited for the holder";
    } else {
      const std::wstring message = L"Error when upgrading " + project + L"." + kWritableHint;
      EXPECT_EQ(recorder.messages, std::vector<std::wstring>{message});
      EXPECT_EQ(ReadBytes(project), ProjectText("1.10.000"));
      EXPECT_GE(took, 900u);
      EXPECT_LT(took, holdMs - 100) << "the replace gave up before the holder let go";
    }
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{kProject});
  }
}

}  // namespace
}  // namespace hostile_test
