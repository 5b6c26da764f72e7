// Generated file-group text for the measurements: an [Info] and a [FileGroups] section, then
// many groups, each a "[Group N]" header followed by about twenty key lines, all with CR LF.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace bench {

// Hands the text to `sink` in pieces of about 1 MiB until at least `bytes` bytes are out; the
// text ends after a whole line.
void GenerateFileGroupText(std::size_t bytes, const std::function<void(std::string_view)>& sink);

// The whole text in memory, for the in-memory measurements.
std::string FileGroupText(std::size_t bytes);

// Writes the text to a new file at `path` (emptied if present); throws std::runtime_error.
void WriteFileGroupFile(const std::string& path, std::size_t bytes);

// A file holding one line of `bytes` bytes and its CR LF, the case a line-at-a-time reader must
// hold whole.
void WriteOneLineFile(const std::string& path, std::size_t bytes);

}  // namespace bench
