// Rewriting a file where it stands, for a folder in which no file may be made
// (a shared survey folder, a data logger's card mounted for the crew): the new
// bytes go into the file itself, so the old ones are kept until the new ones
// are whole. The only calls of the suite's platform that write an existing
// file in place live behind this file.
#pragma once

#include <filesystem>
#include <string_view>

namespace common {

// Puts `bytes` in the existing regular file at `path`, keeping its inode, owner
// and permissions, or leaves it as it was. The old bytes are read first and
// the new length is reserved on the disk before any byte changes, so a full
// disk or a file-size limit fails before the file is touched; only then are
// the new bytes written from the start and the file cut to their length. With
// `waitForDisk` the call returns once the disk holds them. On any failure the
// old bytes are written back, the file is cut to its old length, and false is
// returned with errno set to the first reason (ENOSPC, EFBIG, EACCES, ...).
bool RewriteInPlace(const std::filesystem::path& path, std::string_view bytes, bool waitForDisk);

} // namespace common
