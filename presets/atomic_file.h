// Replacing a file whole or not at all: the bytes go to a hidden temporary
// file in the same folder, are synced, and the temporary file is renamed
// over the target. A reader sees the old file or the new one, never a part,
// also when several processes write at once or a writer dies mid-write.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// The temporary file's name starts with this character, so a folder whose
// own names never do can tell temporary files apart.
constexpr char kTemporaryFilePrefix = '.';

// Writes size bytes as the new content of path. An existing file keeps its
// permissions; a new one gets newFileMode under the process's umask. False
// when anything failed, and then the old file is untouched and no temporary
// file is left behind.
bool replaceFileAtomically(const std::string& path, const void* bytes, size_t size,
                           mode_t newFileMode);
