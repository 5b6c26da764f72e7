// The real program, driven from outside as a user would drive it: whole runs one after another
// in one window, so that what a run leaves in the status bar for the next is checked too.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32_headers.h"
#include "tests/support/sample_project.h"
#include "tests/support/scratch_folder.h"
#include "tests/ui/app_driver.h"

#include <dlgs.h>
#include <winver.h>

namespace ui::e2e {
namespace {

using test_support::FolderListing;
using test_support::ReadBytes;
using test_support::SampleProject;
using test_support::ScratchFolder;
using test_support::WriteSampleProject;

constexpr wchar_t kAppName[] = L"BrenlowUpgrade";
constexpr wchar_t kMissingProject[] = L"Please specify a valid Brenlow Professional 5.0 project.";
constexpr wchar_t kNewerProject[] =
    L"The selected project is created in the newer version of Brenlow Professional. You do not "
    L"need to convert your project.";

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

testing::AssertionResult OneOkOnlyBox(const RunSeen& run, const std::wstring& text) {
  if (!run.finished) return testing::AssertionFailure() << "the run did not end";
  if (run.messages.size() != 1) {
    return testing::AssertionFailure() << run.messages.size() << " message boxes";
  }
  const MessageBoxSeen& box = run.messages.front();
  if (box.title != kAppName) {
    return testing::AssertionFailure() << "title is \"" << Utf8(box.title) << "\"";
  }
  if (box.text != text)
    return testing::AssertionFailure() << "text is \"" << Utf8(box.text) << "\"";
  if (!box.okOnly) return testing::AssertionFailure() << "not an OK-only box";
  if (box.hasIcon) return testing::AssertionFailure() << "the box shows an icon";
  return testing::AssertionSuccess();
}

class EndToEndTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = std::make_unique<ScratchFolder>();
    app_ = StartProgram(startError_);
  }

  static void TearDownTestSuite() {
    app_.reset();
    scratch_.reset();
  }

  void SetUp() override {
    ASSERT_NE(app_, nullptr) << "the program did not start: " << Utf8(startError_);
  }

  static std::wstring Folder(const std::wstring& name) { return scratch_->Child(name); }

  static RunSeen Convert(const std::wstring& projectFile) {
    app_->SetFieldText(projectFile);
    return app_->PressConvert();
  }

  // A click puts the focus in the field, as the user's would.
  static void ClickIntoField() {
    PostMessageW(app_->field(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(app_->field(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(app_->WaitUntilPostedHandled());
    ASSERT_EQ(app_->FocusedControl(), app_->field());
  }

  // The open-file dialog of a Browse press; a message box in its place is closed and reported.
  static HWND FindFileDialog() {
    HWND dialog = app_->FindDialog(kWaitLimit);
    if (dialog == nullptr || GetDlgItem(dialog, cmb1) != nullptr) return dialog;
    ADD_FAILURE() << "a message box: " << Utf8(AppDriver::ReadMessageBox(dialog).text);
    AppDriver::CloseDialog(dialog, IDOK);
    return nullptr;
  }

  // The field shows its last character, scrolled there rather than cut off at the right.
  static testing::AssertionResult LastCharacterInView(HWND field, std::size_t length) {
    DWORD_PTR firstVisible = 0;
    DWORD_PTR position = 0;
    if (!SendMessageTimeoutW(field, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_NORMAL, 5000,
                             &firstVisible) ||
        !SendMessageTimeoutW(field, EM_POSFROMCHAR, length - 1, 0, SMTO_NORMAL, 5000, &position)) {
      return testing::AssertionFailure() << "the field did not answer";
    }
    RECT client{};
    GetClientRect(field, &client);
    const int x = static_cast<short>(LOWORD(position));
    if (firstVisible == 0) return testing::AssertionFailure() << "the field shows its start";
    if (x < 0 || x >= client.right) return testing::AssertionFailure() << "last character at " << x;
    return testing::AssertionSuccess();
  }

  static void ExpectUpgraded(const SampleProject& project, std::string_view version) {
    EXPECT_EQ(ReadBytes(project.projectFile), test_support::UpgradedProjectText(version));
    EXPECT_EQ(ReadBytes(project.fileGroups), test_support::kUpgradedFileGroupsText);
  }

  static inline std::unique_ptr<ScratchFolder> scratch_;
  static inline std::unique_ptr<AppDriver> app_;
  static inline std::wstring startError_;
};

TEST_F(EndToEndTest, RunsOneAfterAnotherCarryTheStatusOver) {
  const SampleProject project = WriteSampleProject(Folder(L"Code0"), "1.00.000");

  // A 1.0x project: every change, no message box, "Complete!".
  RunSeen run = Convert(project.projectFile);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.messages.empty()) << run.messages.size() << " message boxes";
  EXPECT_EQ(run.statusText, L"Complete!");
  ExpectUpgraded(project, "1.00.000");
  EXPECT_EQ(ReadBytes(project.folder + L"\\Registry Entries\\Default.rge"),
            test_support::kRegistryEntriesText);
  EXPECT_EQ(ReadBytes(project.folder + L"\\Shell Objects\\Default.shl"),
            test_support::kShellObjectsText);
  // No temporary file is left beside either rewritten file.
  EXPECT_EQ(FolderListing(project.folder),
            (std::vector<std::wstring>{L"File Groups\\", L"Project.ipr", L"Registry Entries\\",
                                       L"Shell Objects\\"}));
  EXPECT_EQ(FolderListing(project.folder + L"\\File Groups"),
            std::vector<std::wstring>{L"Default.fdf"});

  // A missing file after a success: the message, and the status bar emptied.
  run = Convert(project.folder + L"\\Missing.ipr");
  EXPECT_TRUE(OneOkOnlyBox(run, kMissingProject));
  EXPECT_EQ(run.statusText, L"");

  // The same project again now records 1.20.000: refused as newer, nothing touched.
  run = Convert(project.projectFile);
  EXPECT_TRUE(OneOkOnlyBox(run, kNewerProject));
  EXPECT_EQ(run.statusText, kNewerProject);
  ExpectUpgraded(project, "1.00.000");

  // A missing file after a refusal shows the refusal in the status bar again.
  run = Convert(project.folder + L"\\Missing.ipr");
  EXPECT_TRUE(OneOkOnlyBox(run, kMissingProject));
  EXPECT_EQ(run.statusText, kNewerProject);

  // An empty field is a missing file too.
  run = Convert(L"");
  EXPECT_TRUE(OneOkOnlyBox(run, kMissingProject));
}

TEST_F(EndToEndTest, EveryStatusTextIsAnnouncedToScreenReaders) {
  const SampleProject project = WriteSampleProject(Folder(L"Announced"), "1.00.000");
  ASSERT_TRUE(app_->WatchLiveRegions());
  const RunSeen run = Convert(project.projectFile);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.statusText, L"Complete!");
  // "Converting ...", "Converted ..." and the rest to "Complete!", each from the status bar.
  const std::vector<HWND>& changes = app_->LiveRegionChanges(3);
  EXPECT_GE(changes.size(), 3u);
  for (HWND window : changes) EXPECT_EQ(window, app_->statusBar());
}

TEST_F(EndToEndTest, ProjectInAFolderNamedInSeveralScriptsIsUpgraded) {
  const SampleProject project =
      WriteSampleProject(Folder(L"Проект プロジェクト 项目 مشروع Ελληνικά"), "1.10.000");
  const RunSeen run = Convert(project.projectFile);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(run.statusText, L"Complete!");
  ExpectUpgraded(project, "1.10.000");
  // A 1.1x project gets no settings files.
  EXPECT_EQ(FolderListing(project.folder),
            (std::vector<std::wstring>{L"File Groups\\", L"Project.ipr"}));
}

TEST_F(EndToEndTest, ReadOnlyProjectFileIsReportedAndLeftAlone) {
  const SampleProject project = WriteSampleProject(Folder(L"ReadOnly"), "1.00.000");
  ASSERT_TRUE(SetFileAttributesW(project.projectFile.c_str(), FILE_ATTRIBUTE_READONLY));
  const std::wstring message = L"Error when upgrading " + project.projectFile +
                               L". Please make sure that this file is writable.";
  const RunSeen run = Convert(project.projectFile);
  EXPECT_TRUE(OneOkOnlyBox(run, message));
  EXPECT_EQ(run.statusText, message);
  EXPECT_EQ(ReadBytes(project.projectFile), test_support::ProjectText("1.00.000"));
  EXPECT_EQ(ReadBytes(project.fileGroups), test_support::kFileGroupsText);
  EXPECT_EQ(FolderListing(project.folder),
            (std::vector<std::wstring>{L"File Groups\\", L"Project.ipr"}));
}

TEST_F(EndToEndTest, TabAndShiftTabCycleFieldBrowseConvert) {
  for (const bool shift : {false, true}) {
    SCOPED_TRACE(shift ? "Shift+Tab" : "Tab");
    ASSERT_NO_FATAL_FAILURE(ClickIntoField());
    const std::vector<HWND> ring =
        shift ? std::vector<HWND>{app_->convert(), app_->browse(), app_->field()}
              : std::vector<HWND>{app_->browse(), app_->convert(), app_->field()};
    for (HWND next : ring) {
      if (shift) {
        app_->PostShiftedKey(app_->FocusedControl(), VK_TAB);
      } else {
        app_->PostKey(app_->FocusedControl(), VK_TAB);
      }
      ASSERT_TRUE(app_->WaitUntilPostedHandled());
      EXPECT_EQ(app_->FocusedControl(), next);
    }
  }
}

TEST_F(EndToEndTest, EnterAndEscInTheFieldNeitherConvertNorClose) {
  const SampleProject project = WriteSampleProject(Folder(L"EnterEsc"), "1.00.000");
  app_->SetFieldText(project.projectFile);
  const std::wstring statusBefore = AppDriver::TextOf(app_->statusBar());
  ASSERT_NO_FATAL_FAILURE(ClickIntoField());

  app_->PostKey(app_->field(), VK_RETURN);
  app_->PostKey(app_->field(), VK_ESCAPE);
  ASSERT_TRUE(app_->WaitUntilPostedHandled());
  EXPECT_EQ(app_->FindDialog(std::chrono::milliseconds(500)), nullptr);
  EXPECT_TRUE(IsWindow(app_->form()));
  EXPECT_TRUE(IsWindowVisible(app_->form()));
  EXPECT_EQ(AppDriver::TextOf(app_->statusBar()), statusBefore);
  EXPECT_EQ(ReadBytes(project.projectFile), test_support::ProjectText("1.00.000"));
  EXPECT_EQ(AppDriver::TextOf(app_->field()), project.projectFile);
}

// Texts as typed, and names that Windows' dialog rejects as its start, so that it must be opened
// empty instead (Wine's dialog opens with them as they are).
const std::wstring kBrowseStartTexts[] = {L"C:\\Kept\\As typed.ipr", L"C:\\Kept\\a|b.ipr",
                                          L"C:\\Kept\\<a>.ipr", L"C:\\Kept\\\"a\".ipr"};

TEST_F(EndToEndTest, BrowseCancelledKeepsTheFieldsTextWithoutAMessage) {
  for (const std::wstring& text : kBrowseStartTexts) {
    SCOPED_TRACE(Utf8(text));
    app_->SetFieldText(text);
    app_->PressAsync(app_->browse());
    HWND dialog = FindFileDialog();
    ASSERT_NE(dialog, nullptr) << "no file dialog";
    ASSERT_TRUE(AppDriver::CloseDialog(dialog, IDCANCEL));
    const RunSeen press = app_->AwaitPress();
    EXPECT_TRUE(press.finished);
    EXPECT_TRUE(press.messages.empty()) << Utf8(press.messages.front().text);
    EXPECT_EQ(AppDriver::TextOf(app_->field()), text);
  }
}

TEST_F(EndToEndTest, BrowseChoiceLandsInTheFieldWithItsEndInView) {
  // A path wider than the field, whose file name must still be seen.
  const SampleProject project = WriteSampleProject(
      Folder(L"Browse into a folder whose name alone is wider than the path field"), "1.00.000");
  const std::wstring chosen = project.projectFile;
  for (const std::wstring& text : {std::wstring(), std::wstring(kBrowseStartTexts[1])}) {
    SCOPED_TRACE(Utf8(text));
    app_->SetFieldText(text);
    app_->PressAsync(app_->browse());
    HWND dialog = FindFileDialog();
    ASSERT_NE(dialog, nullptr) << "no file dialog";
    // The one filter entry, its description with the blank before "|".
    EXPECT_EQ(AppDriver::TextOf(GetDlgItem(dialog, cmb1)), L"Standard Edition Projects (*.ipr) ");
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (nameBox == nullptr) nameBox = GetDlgItem(dialog, edt1);
    ASSERT_NE(nameBox, nullptr);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()),
                        SMTO_NORMAL, 5000, &ignored);
    ASSERT_TRUE(AppDriver::CloseDialog(dialog, IDOK));
    const RunSeen press = app_->AwaitPress();
    ASSERT_TRUE(press.finished);
    EXPECT_TRUE(press.messages.empty());
    EXPECT_EQ(AppDriver::TextOf(app_->field()), chosen);
    EXPECT_TRUE(LastCharacterInView(app_->field(), chosen.size()));
  }
}

// The exe as a download shows it: the project's version in its version resource and in the
// manifest that the system reads at start.
TEST(ProgramFileTest, CarriesTheProjectsVersionInResourceAndManifest) {
  const std::wstring program = ProgramPath();
  std::vector<BYTE> info(GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_FALSE(info.empty()) << GetLastError();
  ASSERT_TRUE(
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  const auto query = [&](const wchar_t* key) {
    void* value = nullptr;
    UINT size = 0;
    return VerQueryValueW(info.data(), key, &value, &size) ? value : nullptr;
  };
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                std::to_string(LOWORD(fixed->dwFileVersionLS)),
            BU_VERSION_DOTTED);
  const auto* product =
      static_cast<const wchar_t*>(query(L"\\StringFileInfo\\040904B0\\ProductVersion"));
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(Utf8(product), BU_PROJECT_VERSION);

  HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr) << GetLastError();
  HRSRC found = FindResourceW(image, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  ASSERT_NE(found, nullptr) << "no manifest";
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                             SizeofResource(image, found));
  FreeLibrary(image);
  EXPECT_NE(
      manifest.find(std::string("name=\"BrenlowUpgrade\" version=\"") + BU_VERSION_DOTTED + "\""),
      std::string::npos)
      << manifest;
  EXPECT_EQ(manifest.find('@'), std::string::npos) << "a placeholder was left unwritten";
}

TEST(EndToEndStartTest, ClosingTheWindowEndsTheProgram) {
  AppDriver app;
  ASSERT_TRUE(app.Start(ProgramPath()));
  EXPECT_EQ(AppDriver::TextOf(app.statusBar()), L"");
  EXPECT_EQ(AppDriver::TextOf(app.field()), L"");
  EXPECT_TRUE(app.CloseAndWait());
}

}  // namespace
}  // namespace ui::e2e
