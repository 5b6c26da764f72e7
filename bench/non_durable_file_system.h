// File services for measuring the line work alone: they forward every operation to the platform's
// own, except two that exist for durability. A writer's file is never synced to the disk (Close
// still hands the last block to the file, so the rewritten file is the same); the writer is the
// platform's own buffered stream, so that the line work is the program's, with no extra layer per
// line. ReplaceFile moves the old file
// aside to its name + ".old" and renames the replacement into its place, without writing the
// folder through: renamed over an existing file, ext4 starts writing the replacement back at once,
// and dropping the old file frees all its pages, costs that belong to the durable replace and are
// measured there. The caller removes the ".old" file. POSIX only, as the bench is.
#pragma once

#include <memory>

#include "platform/file_system_object.h"

namespace bench {

std::unique_ptr<platform::FileSystemObject> CreateNonDurableFileSystem();

}  // namespace bench
