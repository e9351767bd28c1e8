// A file a person picked to append to from a window's thread, such as a
// capture of what a port receives: nothing here may make that thread wait.
// open() of a FIFO waits for a reader and write() to a full pipe waits for it
// to drain, so only a regular file is taken, and that is decided on the
// descriptor itself, never by a look at the name before opening it (which the
// name could change under). The only calls of the suite's platform that open
// and append to such files live behind this file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace common {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens `path` for appending, creating it (readable by all as the umask
    // allows) when it is not there; an existing file is never truncated. False
    // when it cannot, with errno set, or with NotRegular() true for a file that
    // is there but is no regular file (a FIFO, a device, a directory, a
    // socket): such a file is refused at once, whether or not anyone reads it.
    bool Open(const std::filesystem::path& path);
    bool IsOpen() const { return fd_ >= 0; }

    // Appends all of `bytes`, straight to the system. False, with errno set,
    // when the file did not take all of them: the file is then closed and
    // keeps what it took. A file that takes only part of the bytes is asked
    // once more for the rest; one that again takes only part without saying
    // why, or that would make the caller wait, fails with EAGAIN.
    bool Write(std::string_view bytes);
    void Close();

    // Why the last Open or Write failed, in words for a message: the system's
    // ("No space left on device"), or "not a regular file", or "it takes no
    // more data" for a file that would make the caller wait.
    std::string Reason() const;
    bool NotRegular() const { return notRegular_; }

private:
    bool Fail(int error);

    int fd_ = -1;
    int error_ = 0;
    bool notRegular_ = false;
};

} // namespace common
