// Giving a complete file its name in a folder without ever replacing a file
// that is already there: a received file never overwrites a log of last night.
// The only file-naming calls of the suite's platform live behind this file.
#pragma once

#include "common/FileResult.h"

#include <filesystem>
#include <string>

namespace common {

// The calls that give a name; neither may replace an existing file (both fail
// with EEXIST instead). Tests put in calls that refuse, as a file system
// without hard links or without never-replace renames does.
struct FileNamingCalls {
    int (*link)(const char* from, const char* to);
    int (*renameNoReplace)(const char* from, const char* to);
};

// The system's own calls.
FileNamingCalls SystemFileNaming();

// Names the complete file `from` in `folder` as `name`, or, where that is
// taken, the first free of `name`.1, `name`.2, … `name`.9999. The ways of
// naming are tried best first (a hard link, a never-replacing rename, a copy
// into a newly created file) and one the folder refuses is not tried again.
// On success `from` is gone and `named` holds the path given; on failure the
// error is the system's reason and `from` is left for the caller.
FileResult NameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& folder,
                                const std::string& name, const FileNamingCalls& calls, std::filesystem::path& named);

} // namespace common
