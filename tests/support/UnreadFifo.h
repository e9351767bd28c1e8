// A FIFO that nobody reads, as a user might pick for a capture by mistake, and
// a watch over a call that must not wait for its reader. When the call has not
// come back by the deadline, the watch opens the FIFO for reading, so that a
// writer held in open() comes back and the test fails instead of hanging; the
// read end then stays open until the FIFO goes, so that a write to it neither
// waits for a small amount nor kills the test program with SIGPIPE.
#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace support {

class UnreadFifo {
public:
    explicit UnreadFifo(QString path) : path_(std::move(path)) {
        made_ = ::mkfifo(QFile::encodeName(path_).constData(), 0644) == 0;
    }
    ~UnreadFifo() {
        if (reader_ >= 0) {
            ::close(reader_);
        }
    }
    UnreadFifo(const UnreadFifo&) = delete;
    UnreadFifo& operator=(const UnreadFifo&) = delete;

    bool Made() const { return made_; }
    const QString& Path() const { return path_; }

    // Runs `call` and returns how long it took; when it takes longer than
    // `limit`, the FIFO gets a reader at `limit`, and what the call then did
    // is the test's to see.
    template <class Call> std::chrono::milliseconds Time(std::chrono::milliseconds limit, Call&& call) {
        std::mutex mutex;
        std::condition_variable returned;
        bool done = false;
        std::thread watch([&] {
            std::unique_lock lock(mutex);
            if (!returned.wait_for(lock, limit, [&] { return done; })) {
                reader_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            }
        });
        const auto start = std::chrono::steady_clock::now();
        call();
        const auto took = std::chrono::steady_clock::now() - start;
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        returned.notify_one();
        watch.join();
        return std::chrono::duration_cast<std::chrono::milliseconds>(took);
    }

private:
    QString path_;
    bool made_ = false;
    int reader_ = -1;
};

} // namespace support
