// Replacing a file whole or not at all: the bytes go to an unnamed file in
// the same folder (or, where the file system has none, to a hidden temporary
// file named after the writing process), are synced, and are then linked or
// renamed into place. A reader sees the old file or the new one, never a
// part, also when several processes write at once or a writer dies mid-write.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// The temporary file's name starts with this character, so a folder whose
// own names never do can tell temporary files apart.
constexpr char kTemporaryFilePrefix = '.';

// Whether a replacement syncs its folder itself, or leaves that to the
// caller, who syncs it once after a batch of replacements.
enum class FolderSync { kNow, kByCaller };

// Writes size bytes as the new content of path. An existing file keeps its
// permissions; a new one gets newFileMode under the process's umask. False
// when anything failed, and then the old file is untouched and no temporary
// file is left behind.
bool replaceFileAtomically(const std::string& path, const void* bytes, size_t size,
                           mode_t newFileMode, FolderSync sync = FolderSync::kNow);

// Makes the renames in a folder durable; a folder that cannot be synced is
// no failure.
void syncFolder(const std::string& folder);

// Deletes the temporary files in folder whose writing process no longer
// exists: what a writer killed between writing and renaming leaves behind.
// Temporary files of live processes are left alone.
void removeStaleTemporaryFiles(const std::string& folder);
