// Every file operation of every kind of run fails in turn, alone and together with each operation
// that the failed run still performs afterwards (the rewrite's clean-up among them), under several
// error numbers. Whatever fails: each changed file holds its old or its new text whole; no
// temporary file stays unless a message names it; at most one message box, and none but the
// rewrite's or the one the run shows without faults; the status bar ends showing statusMessage,
// which is the message alone where one failure met a run that shows none without faults; nothing
// escapes.
//
// Then the world stops instead: after every operation of every kind of run, with and without a
// failure before it, the disk is taken as a crash or a power cut would leave it, and each changed
// file must still hold its old or its new text whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/forwarding_file_system.h"
#include "tests/support/fault_injecting_file_system.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/recording_ui.h"
#include "tests/support/sample_project.h"
#include "tests/support/scratch_folder.h"
#include "upgrade/upgrade_run.h"

namespace hostile_test {
namespace {

using namespace test_support;

const std::string kUtf16FileGroups("\xFF\xFE[\0I\0n\0f\0o\0]\0\r\0\n\0", 16);

// One kind of run: what the project folder holds before, and what the upgrade makes of it.
struct RunKind {
  const char* name;
  std::string project;     // "" for no project file at all
  std::string fileGroups;  // "" for no file-group file
  std::string upgradedProject;
  std::string upgradedFileGroups;
  bool settingsFiles;     // the run creates the two settings files
  bool registryFolder;    // "Registry Entries" exists before the run
  std::wstring complete;  // the status bar at the end of the run without faults
};

std::vector<RunKind> Kinds() {
  const std::string code0 = ProjectText("1.00.000");
  const std::string code1 = ProjectText("1.10.000");
  const std::string newer = ProjectText("1.20.000");
  const std::string older = ProjectText("1.0");
  const std::string silent = ProjectText("x.00.000");
  const std::string noGeneral = "[Other]\r\nVersion=1.00.000\r\n";
  const std::string noVersion = "[General]\r\nName=x\r\n";
  const std::string fdf = kFileGroupsText;
  const std::string fdfAfter = kUpgradedFileGroupsText;
  const std::wstring ok = L"Complete!";
  return {
      {"Code0", code0, fdf, UpgradedProjectText("1.00.000"), fdfAfter, true, false, ok},
      {"Code1", code1, fdf, UpgradedProjectText("1.10.000"), fdfAfter, false, false, ok},
      {"Code0WithoutFileGroups", code0, "", UpgradedProjectText("1.00.000"), "", true, false, ok},
      {"RegistryFolderExists", code0, fdf, UpgradedProjectText("1.00.000"), fdfAfter, false, true,
       L""},
      {"Utf16FileGroups", code0, kUtf16FileGroups, UpgradedProjectText("1.00.000"),
       kUtf16FileGroups, false, false, L"?"},
      {"Newer", newer, fdf, newer, fdf, false, false, L"?"},
      {"Older", older, fdf, older, fdf, false, false, L"?"},
      {"UnreadableVersion", silent, fdf, silent, fdf, false, false, L""},
      {"NoGeneralSection", noGeneral, fdf, noGeneral, fdf, false, false, L"?"},
      {"NoVersionKey", noVersion, fdf, noVersion, fdf, false, false, L"?"},
      {"MissingProject", "", fdf, "", fdf, false, false, L""},
  };
}

struct Outcome {
  RecordingUi recorder;
  std::wstring statusMessage;
  std::shared_ptr<FaultPlan> plan;
  bool escaped = false;
};

void PrepareFolder(const ScratchFolder& folder, const RunKind& kind) {
  std::error_code error;
  std::filesystem::remove_all(Native(folder.Path()), error);
  std::filesystem::create_directories(Native(folder.Path()));
  if (!kind.project.empty()) WriteBytes(folder.Child(kProject), kind.project);
  if (!kind.fileGroups.empty()) WriteBytes(folder.Child(kFileGroups), kind.fileGroups);
  if (kind.registryFolder)
    std::filesystem::create_directories(Native(folder.Child(L"Registry Entries")));
}

// A plan that fails those operations, and whose temporary files are named alike in every run, so
// that an operation of one run names the same of the next.
std::shared_ptr<FaultPlan> PlanFailing(std::vector<Fault> faults, std::int32_t number) {
  auto plan = std::make_shared<FaultPlan>();
  plan->faults = std::move(faults);
  plan->errorNumber = number;
  plan->tempNames = {L"bu00000001.tmp", L"bu00000002.tmp", L"bu00000003.tmp"};
  return plan;
}

Outcome RunWithFaults(const ScratchFolder& folder, const RunKind& kind, std::vector<Fault> faults,
                      std::int32_t number) {
  PrepareFolder(folder, kind);
  Outcome outcome{RecordingUi(folder.Child(kProject)), L"", PlanFailing(std::move(faults), number)};
  ui::UpgradeState state(FaultInjectingFactory(outcome.plan));
  try {
    upgrade::ConvertButton_Click(state, outcome.recorder);
  } catch (...) {
    outcome.escaped = true;
  }
  outcome.statusMessage = state.statusMessage;
  return outcome;
}

// The path between `lead` and `tail` in the text, or "".
std::wstring Between(const std::wstring& text, const std::wstring& lead, const std::wstring& tail) {
  const auto at = text.find(lead);
  if (at == std::wstring::npos) return L"";
  const std::size_t start = at + lead.size();
  auto end = text.find(tail, start);
  if (end == std::wstring::npos && tail == L". ") end = text.size() - 1;  // the last sentence
  return end == std::wstring::npos ? L"" : text.substr(start, end - start);
}

// The files that a message or the status bar names as left behind.
std::set<std::wstring> NamedPaths(const std::wstring& text) {
  std::set<std::wstring> paths;
  const std::wstring path = Between(text, L" The temporary file ", L" could not be removed.");
  if (!path.empty()) paths.insert(path);
  return paths;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

struct Tally {
  int faults = 0;
  std::map<std::string, int> outcomes;
};

// Checks one run with injected faults against everything the upgrade promises.
void CheckRun(const ScratchFolder& folder, const RunKind& kind, const Outcome& clean,
              const Outcome& run, std::int32_t number, Tally& tally) {
  ++tally.faults;
  ASSERT_FALSE(run.escaped) << "an exception left ConvertButton_Click";
  ASSERT_GT(run.plan->failures, 0);
  const auto& messages = run.recorder.messages;
  ASSERT_LE(messages.size(), 1u);
  EXPECT_EQ(run.recorder.statusText, run.statusMessage);
  EXPECT_NE(run.recorder.statusText, L"Complete!");
  const std::wstring message = messages.empty() ? L"" : messages.front();
  // One failure in a run that is otherwise silent leaves nothing to add after its message.
  const bool alone = run.plan->faults.size() == 1 && clean.recorder.messages.empty();
  if (!messages.empty()) {
    EXPECT_TRUE(StartsWith(run.statusMessage, message)) << "the status bar drops the message";
    if (alone) {
      EXPECT_EQ(run.statusMessage, message);
    }
    if (!StartsWith(message, L"Error when upgrading ")) {
      // A fault never makes up a refusal: any other message is the one the run shows anyway.
      EXPECT_EQ(clean.recorder.messages, messages);
    } else {
      const bool hinted =
          message.find(L" Please make sure that this file is writable.") != std::wstring::npos;
      // The refusal of UTF-16 text is the rewrite's own failure: no injected number reaches it.
      const bool refused = message.find(L" The file is not 8-bit text.") != std::wstring::npos;
      EXPECT_EQ(hinted, number == platform::kPermissionDenied && !refused);
    }
  }

  // Nothing lost: each rewritten file is old or new whole.
  const struct {
    std::wstring path;
    const std::string& before;
    const std::string& after;
  } rewritten[] = {{folder.Child(kProject), kind.project, kind.upgradedProject},
                   {folder.Child(kFileGroups), kind.fileGroups, kind.upgradedFileGroups}};
  for (const auto& file : rewritten) {
    const bool exists = PathExists(file.path);
    const std::string now = exists ? ReadBytes(file.path) : "";
    if (file.before.empty()) {
      EXPECT_FALSE(exists) << "created: " << Native(file.path);
      continue;
    }
    EXPECT_TRUE(exists && (now == file.before || now == file.after))
        << "lost: " << Native(file.path);
  }

  // Settings files appear only where the run makes them, and hold a beginning of their text.
  const struct {
    std::wstring path;
    const std::string& text;
  } created[] = {{folder.Child(kRegistry), kRegistryEntriesText},
                 {folder.Child(kShell), kShellObjectsText}};
  for (const auto& file : created) {
    if (!PathExists(file.path)) continue;
    EXPECT_TRUE(kind.settingsFiles) << "created: " << Native(file.path);
    const std::string now = ReadBytes(file.path);
    EXPECT_EQ(now, file.text.substr(0, now.size())) << Native(file.path);
  }

  // No stray file but one that the message or the status bar names, and that one really there.
  const std::set<std::wstring> named = NamedPaths(run.statusMessage);
  if (alone) {
    EXPECT_TRUE(named.empty()) << "a clean-up failed with no failure before it";
  }
  bool stray = false;
  for (const std::wstring& name : folder.Files()) {
    if (name == kProject || name == kFileGroups || name == kRegistry || name == kShell) continue;
    stray = true;
    EXPECT_EQ(named.count(folder.Child(name)), 1u) << "stray file " << Native(folder.Child(name));
  }
  for (const std::wstring& path : named) EXPECT_TRUE(PathExists(path)) << Native(path);

  std::string outcome = messages.empty() ? "silent, status bar shows statusMessage"
                                         : "message box, repeated in the status bar";
  if (stray) outcome += ", temporary file left and named";
  ++tally.outcomes[outcome];
}

// Which operations of a run to fail together with each later one. Natively, every one. Under Wine
// a run costs several times as much, and failing the k-th line's read or write is no different
// from failing the next one's, so of each stream's per-line operations only the first two and the
// last two of each kind are failed in pairs there; every operation is still failed alone.
std::vector<bool> OperationsToFail(const std::vector<Operation>& log) {
  std::vector<bool> chosen(log.size(), true);
#ifdef _WIN32
  std::map<std::pair<std::string, std::wstring>, std::vector<std::size_t>> perLine;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const std::string& name = log[i].name;
    if (name == "TextStream::AtEndOfStream" || name == "TextStream::ReadLine" ||
        name == "TextStream::WriteLine") {
      perLine[{name, log[i].path}].push_back(i);
    }
  }
  for (const auto& [key, indices] : perLine) {
    for (std::size_t k = 2; k + 2 < indices.size(); ++k) chosen[indices[k]] = false;
  }
#endif
  return chosen;
}

// The operations that write their change through before they return, and so may fail with the
// change made.
bool WritesThrough(const Operation& operation) {
  return operation.name == "CreateFolder" || operation.name == "OpenTextFile" ||
         operation.name == "ReplaceFile";
}

struct Case {
  RunKind kind;
  std::int32_t number;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.kind.name << ", error " << c.number; }

class FaultMatrixTest : public testing::TestWithParam<Case> {};

TEST_P(FaultMatrixTest, NothingLostWhateverFails) {
  const RunKind& kind = GetParam().kind;
  const std::int32_t number = GetParam().number;
  ScratchFolder folder;
  const Outcome clean = RunWithFaults(folder, kind, {}, 0);
  ASSERT_FALSE(clean.escaped);
  if (kind.complete != L"?") {
    EXPECT_EQ(clean.recorder.statusText, kind.complete);
  }
  const std::vector<Operation>& log = clean.plan->log;
  const auto operations = static_cast<std::int64_t>(log.size());
  ASSERT_GT(operations, 0);
  // A whole upgrade takes many operations; a count of a few means the faults reach too little.
  if (kind.complete == L"Complete!") {
    ASSERT_GT(operations, 20);
  }

  Tally tally;
  int cleanupFaults = 0;
  const std::vector<bool> chosen = OperationsToFail(log);
  for (std::size_t n = 0; n < log.size(); ++n) {
    SCOPED_TRACE("failing operation " + std::to_string(n + 1) + ": " + log[n].name);
    const Fault first = FaultPlan::FaultAt(log, n);
    const Outcome single = RunWithFaults(folder, kind, {first}, number);
    CheckRun(folder, kind, clean, single, number, tally);
    if (HasFatalFailure()) return;
    if (WritesThrough(log[n])) {
      SCOPED_TRACE("after the call");
      const Outcome late = RunWithFaults(folder, kind, {FaultPlan::FaultAt(log, n, true)}, number);
      // A call that fails by itself (a settings folder that exists) has no after.
      if (late.plan->failures != 0) CheckRun(folder, kind, clean, late, number, tally);
      if (HasFatalFailure()) return;
    }
    if (!chosen[n]) continue;
    // Then with each operation that the failed run went on to perform failing as well.
    const std::vector<Operation>& after = single.plan->log;
    for (std::size_t m = n + 1; m < after.size(); ++m) {
      SCOPED_TRACE("and operation " + std::to_string(m + 1) + ": " + after[m].name);
      const Outcome pair =
          RunWithFaults(folder, kind, {first, FaultPlan::FaultAt(after, m)}, number);
      CheckRun(folder, kind, clean, pair, number, tally);
      if (HasFatalFailure()) return;
      if (after[m].name == "DeleteFile" || after[m].name == "TextStream::Close") ++cleanupFaults;
    }
  }
  std::cout << "[ faults   ] " << kind.name << ", error " << number << ": " << tally.faults
            << " injected (" << operations << " operations, " << cleanupFaults
            << " also in a clean-up)\n";
  for (const auto& [outcome, count] : tally.outcomes) {
    std::cout << "[ outcome  ]   " << count << " x " << outcome << "\n";
  }
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (const RunKind& kind : Kinds()) {
    for (const std::int32_t number : {platform::kPermissionDenied, platform::kFileNotFound,
                                      platform::kDiskFull, platform::kPathFileAccessError}) {
      cases.push_back({kind, number});
    }
  }
  // A failed allocation, in the run that reaches every kind of operation.
  cases.push_back({Kinds().front(), platform::kOutOfMemory});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Runs, FaultMatrixTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.kind.name) + "_" +
                                  std::to_string(info.param.number);
                         });

// --- Crashes -----------------------------------------------------------------------------------

const std::wstring kCrashFolder = L"\\crash";

std::wstring InCrashFolder(const std::wstring& name) { return kCrashFolder + L"\\" + name; }

// Every disk that a crash between two operations of the run would leave, in order: the first is
// the disk before the run, the last the disk after it; and for each, the status texts that the
// run had shown by then.
struct CrashImages {
  std::vector<MemoryDisk> images;
  std::vector<std::vector<std::wstring>> shown;
  std::vector<Operation> log;
  std::wstring statusText;
};

// The file services that a crash run converts with, on its disk.
using DiskServices =
    std::function<std::unique_ptr<platform::FileSystemObject>(std::shared_ptr<MemoryDisk>)>;

CrashImages RunWithCrashes(const RunKind& kind, std::vector<Fault> faults,
                           const DiskServices& services = CreateMemoryFileSystem) {
  auto disk = std::make_shared<MemoryDisk>();
  disk->PutFolder(kCrashFolder);
  if (!kind.project.empty()) disk->Put(InCrashFolder(kProject), kind.project);
  if (!kind.fileGroups.empty()) disk->Put(InCrashFolder(kFileGroups), kind.fileGroups);
  if (kind.registryFolder) disk->PutFolder(InCrashFolder(L"Registry Entries"));
  const auto plan = PlanFailing(std::move(faults), platform::kDiskFull);
  CrashImages crashes;
  RecordingUi recorder(InCrashFolder(kProject));
  const auto crash = [&] {
    crashes.images.push_back(disk->AfterCrash());
    crashes.shown.push_back(recorder.statusTexts);
  };
  // A failing operation changes nothing, so these are all the moments there are.
  plan->beforeForward = [&](const Operation&) { crash(); };
  ui::UpgradeState state(FaultInjectingFactory(plan, [disk, services] { return services(disk); }));
  EXPECT_NO_THROW(upgrade::ConvertButton_Click(state, recorder));
  crash();
  crashes.log = plan->log;
  crashes.statusText = recorder.statusText;
  return crashes;
}

struct Lost {
  int files = 0;
  int settingsFiles = 0;
};

// The files that the run changes and that the image does not hold as a crash then may leave them.
// A rewritten file is old or new, whole, and new once its "Converted ..." text or "Complete!" has
// been shown. A settings file is missing or holds a beginning of its lines, as a failure leaves it,
// and all of them once its "Created ..." text or "Complete!" has been shown; a run that makes none
// leaves none.
Lost LostFiles(const MemoryDisk& image, const RunKind& kind,
               const std::vector<std::wstring>& shown = {}) {
  const auto seen = [&](const std::wstring& text) {
    return std::find(shown.begin(), shown.end(), text) != shown.end();
  };
  const bool complete = seen(L"Complete!");
  const struct {
    std::wstring name;
    const std::string& before;
    const std::string& after;
  } rewritten[] = {{kProject, kind.project, kind.upgradedProject},
                   {kFileGroups, kind.fileGroups, kind.upgradedFileGroups}};
  Lost lost;
  for (const auto& file : rewritten) {
    const std::optional<std::string> now = image.Get(InCrashFolder(file.name));
    const bool done = complete || seen(L"Converted " + InCrashFolder(file.name) + L"...");
    const bool whole =
        file.before.empty() ? !now : now == file.after || (!done && now == file.before);
    if (!whole) ++lost.files;
  }
  const struct {
    std::wstring name;
    const std::string& text;
    std::wstring created;
  } settings[] = {
      {kRegistry, kRegistryEntriesText, L"Created the Registry Entries settings file..."},
      {kShell, kShellObjectsText, L"Created the Shell Objects settings file..."}};
  for (const auto& file : settings) {
    const std::optional<std::string> now = image.Get(InCrashFolder(file.name));
    bool whole = !now;
    if (kind.settingsFiles && (complete || seen(file.created))) {
      whole = now == file.text;
    } else if (kind.settingsFiles && now) {
      whole = file.text.starts_with(*now);
    }
    if (!whole) ++lost.files, ++lost.settingsFiles;
  }
  return lost;
}

void PrintTo(const RunKind& kind, std::ostream* out) { *out << kind.name; }

class CrashMatrixTest : public testing::TestWithParam<RunKind> {};

TEST_P(CrashMatrixTest, EveryCrashKeepsEachFileWhole) {
  const RunKind& kind = GetParam();
  const CrashImages clean = RunWithCrashes(kind, {});
  // The whole run takes place on the disk in memory, or the crashes would prove nothing.
  if (kind.complete != L"?") {
    ASSERT_EQ(clean.statusText, kind.complete);
  }
  // And a finished rewrite is on the disk.
  ASSERT_EQ(clean.images.back().Get(InCrashFolder(kProject)).value_or(""), kind.upgradedProject);
  ASSERT_EQ(clean.images.back().Get(InCrashFolder(kFileGroups)).value_or(""),
            kind.upgradedFileGroups);
  std::vector<CrashImages> runs{clean};
  for (std::size_t n = 0; n < clean.log.size(); ++n) {
    runs.push_back(RunWithCrashes(kind, {FaultPlan::FaultAt(clean.log, n)}));
  }
  int points = 0;
  Lost lost;
  for (std::size_t run = 0; run < runs.size(); ++run) {
    for (std::size_t at = 0; at < runs[run].images.size(); ++at) {
      ++points;
      const Lost here = LostFiles(runs[run].images[at], kind, runs[run].shown[at]);
      lost.files += here.files;
      lost.settingsFiles += here.settingsFiles;
      EXPECT_EQ(here.files, 0) << "crash after operation " << at << " of "
                               << (run == 0 ? "the run without faults"
                                            : "the run failing operation " + std::to_string(run))
                               << ", the status bar showing "
                               << Native(runs[run].shown[at].empty() ? L""
                                                                     : runs[run].shown[at].back());
    }
  }
  std::cout << "[ crashes  ] " << kind.name << ": " << points << " crash points in " << runs.size()
            << " runs, " << lost.files << " files lost (" << lost.settingsFiles
            << " of them settings files)\n";
}

INSTANTIATE_TEST_SUITE_P(Runs, CrashMatrixTest, testing::ValuesIn(Kinds()),
                         [](const testing::TestParamInfo<RunKind>& info) {
                           return std::string(info.param.name);
                         });

// The check above can fail: a replace as a deletion and a copy back, the way files were once
// replaced, loses the file at crash points.
TEST(CrashCheck, FindsTheLossesOfAReplaceByDeletionAndCopy) {
  const RunKind kind = Kinds().front();
  auto disk = std::make_shared<MemoryDisk>();
  disk->Put(InCrashFolder(kProject), kind.project);
  disk->Put(InCrashFolder(kFileGroups), kind.fileGroups);
  auto plan = std::make_shared<FaultPlan>();
  std::vector<MemoryDisk> images;
  plan->beforeForward = [&](const Operation&) { images.push_back(disk->AfterCrash()); };
  FaultInjectingFileSystem files(CreateMemoryFileSystem(disk), plan);
  const std::wstring source = InCrashFolder(kProject);
  const std::wstring temp = InCrashFolder(L"bu00000001.tmp");
  const std::string& after = kind.upgradedProject;
  const auto write = [&](std::unique_ptr<platform::TextStream> writer) {
    writer->WriteLineBytes(std::string_view(after).substr(0, after.size() - 2));
    writer->Close();
  };
  write(files.CreateTextFile(temp));
  files.DeleteFile(source);
  write(files.OpenTextFile(source, platform::IoMode::ForWriting, true));  // the copy back
  files.DeleteFile(temp);
  images.push_back(disk->AfterCrash());
  int lostAt = 0;
  for (const MemoryDisk& image : images) lostAt += LostFiles(image, kind).files != 0 ? 1 : 0;
  std::cout << "[ crashes  ] deletion and copy back: the file lost at " << lostAt << " of "
            << images.size() << " crash points\n";
  EXPECT_GT(lostAt, 0);
  EXPECT_EQ(LostFiles(images.front(), kind).files, 0);
}

// A writer whose flush to the disk does nothing, on the streams that OpenTextFile gives: the
// settings files' writers, as the settings step was before it wrote them through.
class UnflushedSettingsFiles final : public platform::ForwardingFileSystem {
 public:
  explicit UnflushedSettingsFiles(std::shared_ptr<MemoryDisk> disk)
      : ForwardingFileSystem(CreateMemoryFileSystem(std::move(disk))) {}
  std::unique_ptr<platform::TextStream> OpenTextFile(std::wstring_view path, platform::IoMode mode,
                                                     bool create) override {
    struct Unflushed final : platform::ForwardingTextStream {
      using ForwardingTextStream::ForwardingTextStream;
      void FlushToDisk() override {}
    };
    return std::make_unique<Unflushed>(ForwardingFileSystem::OpenTextFile(path, mode, create));
  }
};

// New folders that are made without writing the folder that holds them through.
class UnwrittenFolderNames final : public platform::ForwardingFileSystem {
 public:
  explicit UnwrittenFolderNames(std::shared_ptr<MemoryDisk> disk)
      : ForwardingFileSystem(CreateMemoryFileSystem(disk)), disk_(std::move(disk)) {}
  void CreateFolder(std::wstring_view path) override { disk_->Add(path, true); }

 private:
  std::shared_ptr<MemoryDisk> disk_;
};

// And it finds a settings file that the run shows as created before the file is on the disk: its
// lines not written through, or its folder's name, which takes the file with it.
TEST(CrashCheck, FindsSettingsFilesThatAreNotOnTheDisk) {
  const struct {
    const char* name;
    DiskServices services;
  } cases[] = {
      {"lines", [](auto disk) { return std::make_unique<UnflushedSettingsFiles>(disk); }},
      {"folder names", [](auto disk) { return std::make_unique<UnwrittenFolderNames>(disk); }},
  };
  const RunKind kind = Kinds().front();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CrashImages run = RunWithCrashes(kind, {}, c.services);
    ASSERT_EQ(run.statusText, L"Complete!");
    int lostAt = 0;
    for (std::size_t at = 0; at < run.images.size(); ++at) {
      lostAt += LostFiles(run.images[at], kind, run.shown[at]).settingsFiles != 0 ? 1 : 0;
    }
    std::cout << "[ crashes  ] settings files without their " << c.name
              << " written through: lost at " << lostAt << " of " << run.images.size()
              << " crash points\n";
    EXPECT_EQ(LostFiles(run.images.back(), kind, run.shown.back()).settingsFiles, 2);
    EXPECT_EQ(LostFiles(run.images.front(), kind, run.shown.front()).files, 0);
  }
}

}  // namespace
}  // namespace hostile_test
