// A file that is being received: written under a hidden working name in its
// folder, flushed to the disk before it counts as written, and removed when it
// is not finished. The only calls of the suite's platform that create, write,
// flush and remove such files live behind this file.
#pragma once

#include "common/FileResult.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace common {

class WorkingFile {
public:
    WorkingFile() = default;
    ~WorkingFile(); // an unfinished file is removed
    WorkingFile(const WorkingFile&) = delete;
    WorkingFile& operator=(const WorkingFile&) = delete;

    // Creates a new file from `pattern`, a path whose last six characters are
    // "XXXXXX" and are replaced by letters or digits that make the name new.
    // Ordinary data: read and write for all, less what the umask takes away,
    // as any program's new file. On failure the error is the system's reason.
    FileResult Create(std::string pattern);
    explicit operator bool() const { return file_ != nullptr; }
    const std::filesystem::path& Path() const { return path_; }

    // Fails, with the system's reason, when the bytes cannot be written.
    FileResult Write(std::string_view bytes);
    // Writes what is buffered, waits until the disk holds it and closes the
    // file. Fails, with the system's reason, when any of it did not reach the
    // disk; the file stays for the caller to remove.
    FileResult Finish();
    // Closes and removes an unfinished file.
    void Discard();

private:
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
};

// The longest file name, in bytes, that `folder` takes (NAME_MAX on most file
// systems, less on some encrypted ones).
std::size_t LongestFileName(const std::filesystem::path& folder);

// Removes a file, never a directory that took its name. False when it cannot.
bool RemoveFile(const std::filesystem::path& path);

} // namespace common
