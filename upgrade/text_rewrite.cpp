#include "upgrade/text_rewrite.h"

#include <memory>
#include <string>

#include "platform/failure.h"
#include "platform/path_names.h"
#include "platform/text_stream.h"
#include "upgrade/mark_restoring_writer.h"

namespace upgrade {
namespace {

using platform::FileSystemObject;
using platform::TextStream;

// Enough for any sane name source; a folder in which this many fresh names are all taken is
// reported as a failure rather than looped on.
constexpr int kTempNameTries = 100;

// Creates the temporary file under a name that nobody holds. Creation is exclusive, so a file that
// appears between the check and the creation is never emptied either.
std::unique_ptr<TextStream> CreateTemporaryFile(FileSystemObject& fileSystem,
                                                const std::wstring& folder,
                                                std::wstring& tempPath) {
  for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
    std::wstring candidate = folder + L"\\" + fileSystem.GetTempName();
    if (fileSystem.FileExists(candidate)) continue;
    try {
      std::unique_ptr<TextStream> writer = fileSystem.CreateTextFile(candidate);
      tempPath = std::move(candidate);
      return writer;
    } catch (const platform::Failure& failure) {
      if (failure.number() != platform::kFileAlreadyExists) throw;
    }
  }
  throw platform::Failure(platform::kFileAlreadyExists, "no free temporary file name");
}

}  // namespace

std::wstring_view RewriteLines(TextStream& reader, TextStream& writer, LineRule& rule) {
  for (bool firstLine = true; !reader.AtEndOfStream(); firstLine = false) {
    const std::string_view line = reader.ReadLineBytes();
    // Read byte by byte, UTF-16 text would be written back with every other byte kept but with
    // 8-bit line ends and added lines between them; its first line shows it.
    if (firstLine && platform::LooksLikeUtf16(line)) return L"The file is not 8-bit text.";
    if (firstLine && line.starts_with(platform::kUtf8Mark)) {
      MarkRestoringWriter markFirst(writer);
      rule.Apply(line.substr(platform::kUtf8Mark.size()), markFirst);
    } else {
      rule.Apply(line, writer);
    }
  }
  return rule.Refusal();
}

StepResult RewriteTextFile(ui::UpgradeState& state, ui::UpgradeUi& ui, std::wstring_view sourcePath,
                           LineRule& rule) {
  const std::wstring source(sourcePath);
  // Empty until the temporary file has been created by us: the handler removes only that file.
  std::wstring tempPath;
  std::unique_ptr<TextStream> writer;
  std::unique_ptr<TextStream> reader;
  // Why the text made must not replace the source, once the lines have been rewritten.
  std::wstring_view refusal;
  try {
    FileSystemObject& fileSystem = state.FileSystem();
    if (!fileSystem.FileExists(source)) return kStepSucceeded;
    ui.SetStatusText(L"Converting " + source + L"...");

    writer =
        CreateTemporaryFile(fileSystem, platform::ContainingFolder(fileSystem, source), tempPath);
    reader = fileSystem.OpenTextFile(source, platform::IoMode::ForReading, false);
    refusal = RewriteLines(*reader, *writer, rule);
    if (!refusal.empty()) {
      throw platform::Failure(platform::kInvalidProcedureCall, "the rewritten text is refused");
    }
    reader->Close();
    reader.reset();
    // On the disk before it takes the source's place, and then in one step: whatever stops the
    // program or the machine, the source names its old text or its new text, whole.
    writer->FlushToDisk();
    writer->Close();
    writer.reset();
    fileSystem.ReplaceFile(source, tempPath);

    ui.SetStatusText(L"Converted " + source + L"...");
    return kStepSucceeded;
  } catch (...) {
    const std::int32_t number = platform::CurrentErrorNumber();
    state.statusMessage = L"Error when upgrading " + source + L".";
    if (number == platform::kPermissionDenied) {
      state.statusMessage += L" Please make sure that this file is writable.";
    }
    if (!refusal.empty()) state.statusMessage.append(L" ").append(refusal);
    ui.ShowMessage(state.statusMessage);
    // The temporary file is only ever a partial or a spare copy. A writer still held goes without
    // another write: after a failed write (a full disk) that would only fail again.
    if (writer) writer->Abandon();
    writer.reset();
    // A failure of the clean-up is not this handler's to catch: it travels to the run, which
    // shows statusMessage, so the message names the stray file first.
    if (!tempPath.empty()) {
      try {
        FileSystemObject& fileSystem = state.FileSystem();
        if (fileSystem.FileExists(tempPath)) fileSystem.DeleteFile(tempPath);
      } catch (...) {
        state.statusMessage += L" The temporary file " + tempPath + L" could not be removed.";
        throw;
      }
    }
  }
  return kStepFailed;
}

}  // namespace upgrade
