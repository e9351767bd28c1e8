#include "commtools/StatusLog.h"

#include "common/ProgramFolders.h"

#include "common/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSysInfo>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace commtools {

namespace {

// A plain array, not a QByteArray: the writer thread may still run while statics go at exit.
constexpr char kLineEnd[] = "\r\n";
constexpr qsizetype kLineEndSize = 2;

QString ErrorText(const QString& path) { return QStringLiteral("Error when save log file:") + path; }

} // namespace

QString ProgramLogPath() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString folder = common::LogFolder();
    return QDir(folder.isEmpty() ? program.path() : folder)
        .filePath(program.completeBaseName() + QStringLiteral(".log"));
}

QString CommLayerVersion() { return QStringLiteral("Tormalind comm layer 1.0"); }

QString CommLayerVersionLine() { return CommLayerVersion() + QStringLiteral(", ") + QSysInfo::prettyProductName(); }

QByteArray AppendWithinLimit(const QByteArray& existing, const QByteArray& appended, qsizetype limit) {
    QByteArray combined = existing + appended;
    if (limit <= 0 || combined.size() <= limit) {
        return combined;
    }
    // At least `excess` bytes must go; keep from the first line start at or after that.
    const qsizetype excess = combined.size() - limit;
    const qsizetype lineEnd = combined.indexOf(kLineEnd, std::max<qsizetype>(0, excess - kLineEndSize));
    if (lineEnd >= 0 && lineEnd + kLineEndSize < combined.size()) {
        return combined.mid(lineEnd + kLineEndSize);
    }
    return combined.right(limit);
}

QByteArray MakeRoom(const QByteArray& content, qsizetype limit) {
    const QByteArray within = AppendWithinLimit(content, {}, limit);
    if (limit <= 0) {
        return within;
    }
    const qsizetype room = limit - limit / 4;
    if (within.size() <= room) {
        return within;
    }
    const qsizetype excess = within.size() - room;
    qsizetype lineEnd = within.indexOf(kLineEnd, std::max<qsizetype>(0, excess - kLineEndSize));
    if (lineEnd < 0 || lineEnd + kLineEndSize >= within.size()) {
        lineEnd = within.size() > kLineEndSize ? within.lastIndexOf(kLineEnd, within.size() - kLineEndSize - 1) : -1;
    }
    return lineEnd >= 0 ? within.mid(lineEnd + kLineEndSize) : within;
}

// Whoever asked for an entry to be written hears of its failure here. The log
// clears `out` when it goes, so an entry still queued then cannot call into a
// window that no longer exists.
struct StatusLog::ErrorSink {
    std::mutex mutex;
    TextOut out;
    QString message;

    void Report() {
        std::lock_guard lock(mutex);
        if (out) {
            out(message);
        }
    }
};

// The single writer of one log file. All logs on the same path share it, so
// their entries reach the file in the order they were added and two threads
// never write the file at once. Its thread starts when entries arrive and
// ends after a while without any, so an idle program holds no thread for it.
class StatusLog::Writer {
public:
    struct Job {
        QByteArray bytes;
        qsizetype limit;
        std::shared_ptr<ErrorSink> sink;
    };

    explicit Writer(QString path) : path_(std::move(path)) {}

    // The writer of a path for the program's whole life: it is never destroyed,
    // so neither a queued entry nor a lingering thread can outlive it.
    static std::shared_ptr<Writer> ForPath(const QString& path) {
        Registry& registry = Writers();
        const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        std::lock_guard lock(registry.mutex);
        auto& writer = registry.writers[key];
        if (!writer) {
            writer = std::make_shared<Writer>(path);
        }
        return writer;
    }

    static std::vector<std::shared_ptr<Writer>> All() {
        Registry& registry = Writers();
        std::lock_guard lock(registry.mutex);
        std::vector<std::shared_ptr<Writer>> all;
        for (const auto& [key, writer] : registry.writers) {
            all.push_back(writer);
        }
        return all;
    }

    void Enqueue(Job job) {
        std::lock_guard lock(mutex_);
        const qsizetype limit = job.limit;
        queuedBytes_ += job.bytes.size();
        queue_.push_back(std::move(job));
        ++queued_;
        // The file keeps at most `limit` bytes after the newest entry, and a cut
        // looks two bytes further back for the line end before what it keeps: an
        // entry with that much queued behind it can never reach the file. Letting
        // it go keeps a stream faster than the disk from piling up in memory.
        if (limit > 0) {
            while (queue_.size() > 1 && queuedBytes_ - queue_.front().bytes.size() >= limit + kLineEndSize) {
                queuedBytes_ -= queue_.front().bytes.size();
                queue_.pop_front();
            }
        }
        if (threadRunning_) {
            return;
        }
        threadRunning_ = true;
        FlushWhenTheApplicationEnds();
        std::thread([this] { Run(); }).detach();
    }

    bool WaitWritten(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        const quint64 target = queued_;
        return writtenDone_.wait_for(lock, timeout, [&] { return written_ >= target; });
    }

    qsizetype QueuedBytes() {
        std::lock_guard lock(mutex_);
        return queuedBytes_;
    }

private:
    static constexpr std::chrono::seconds kLinger{2};
    static constexpr std::chrono::milliseconds kLook{1};

    struct Registry {
        std::mutex mutex;
        std::map<QString, std::shared_ptr<Writer>> writers;
        std::atomic<bool> flushAtEndPending = false;
    };

    static Registry& Writers() {
        static auto* const registry = new Registry;
        return *registry;
    }

    // The communication windows are only hidden when closed, so their logs
    // live until the process ends and no destructor flushes them: the end of
    // the application object does, while everything the writers use is there.
    static void FlushWhenTheApplicationEnds() {
        if (!Writers().flushAtEndPending.exchange(true)) {
            qAddPostRoutine([] {
                Writers().flushAtEndPending = false;
                StatusLog::FlushAll();
            });
        }
    }

    void Run() {
        std::unique_lock lock(mutex_);
        auto idleSince = std::chrono::steady_clock::now();
        for (;;) {
            // The writer looks for entries every millisecond instead of being
            // woken for each: a busy link then costs the window's thread no
            // wake-up per entry, and its entries go to the file in batches.
            wake_.wait_for(lock, kLook, [&] { return !queue_.empty(); });
            if (queue_.empty()) {
                if (std::chrono::steady_clock::now() - idleSince < kLinger) {
                    continue;
                }
                threadRunning_ = false;
                return;
            }
            std::vector<Job> batch(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
            queue_.clear();
            queuedBytes_ = 0;
            // Entries let go from the queue count as written once a newer one is.
            const quint64 taken = queued_;
            lock.unlock();
            Write(batch);
            lock.lock();
            written_ = taken;
            writtenDone_.notify_all();
            idleSince = std::chrono::steady_clock::now();
        }
    }

    // Entries that arrived together are written at once. As long as the file
    // stays within every entry's limit they are appended: the size comes from
    // the opened file itself, so a file deleted, emptied or grown by someone
    // else is simply taken as it now is. Only a cut reads and rewrites it.
    void Write(const std::vector<Job>& batch) {
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            Fail(batch);
            return;
        }
        const qint64 size = file.size();
        if (!FitsWithoutCut(batch, size)) {
            file.close();
            Rewrite(batch);
            return;
        }
        QByteArray bytes = batch.front().bytes;
        for (std::size_t i = 1; i < batch.size(); ++i) {
            bytes += batch[i].bytes;
        }
        if (file.write(bytes) != bytes.size()) {
            // A full disk takes part of the batch: without its end, every later
            // entry would run on from half a line.
            file.resize(size);
            Fail(batch);
        }
    }

    static bool FitsWithoutCut(const std::vector<Job>& batch, qint64 size) {
        for (const Job& job : batch) {
            size += job.bytes.size();
            if (job.limit > 0 && size > job.limit) {
                return false;
            }
        }
        return true;
    }

    // The cut leaves room for the entries that follow, so it is rare. QSaveFile
    // replaces the file only once the new one is complete, so a full disk or a
    // crash leaves the previous log, never half of one; its commit does not see
    // a failed final flush, so that is checked first.
    void Rewrite(const std::vector<Job>& batch) {
        QByteArray content;
        if (!ReadTail(batch, content)) {
            Fail(batch);
            return;
        }
        for (const Job& job : batch) {
            content = AppendWithinLimit(content, job.bytes, job.limit);
        }
        content = MakeRoom(content, batch.back().limit);
        QSaveFile file(path_);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.flush()) {
            file.cancelWriting();
            Fail(batch);
            return;
        }
        if (!file.commit()) {
            Fail(batch);
        }
    }

    // Only the end of the file can survive the first cut, so a huge file left
    // by some other setting is not read whole. Two bytes more than the largest
    // limit let the cut still see a CR LF just before the part it keeps.
    bool ReadTail(const std::vector<Job>& batch, QByteArray& content) const {
        QFile file(path_);
        if (!file.exists()) {
            return true;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        qsizetype largestLimit = 0;
        for (const Job& job : batch) {
            if (job.limit <= 0) {
                largestLimit = -1;
                break;
            }
            largestLimit = std::max(largestLimit, job.limit);
        }
        if (largestLimit > 0 && file.size() > largestLimit + kLineEndSize) {
            if (!file.seek(file.size() - largestLimit - kLineEndSize)) {
                return false;
            }
        }
        content = file.readAll();
        return file.error() == QFileDevice::NoError;
    }

    static void Fail(const std::vector<Job>& batch) {
        for (const Job& job : batch) {
            job.sink->Report();
        }
    }

    const QString path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable writtenDone_;
    std::deque<Job> queue_;
    qsizetype queuedBytes_ = 0;
    quint64 queued_ = 0;
    quint64 written_ = 0;
    bool threadRunning_ = false;
};

StatusLog::StatusLog(const QString& filePath, qsizetype sizeLimit)
    : filePath_(filePath), writer_(Writer::ForPath(filePath)), errorSink_(std::make_shared<ErrorSink>()),
      sizeLimit_(sizeLimit), clock_([] { return QDateTime::currentDateTime(); }) {
    errorSink_->message = ErrorText(filePath);
}

StatusLog::~StatusLog() {
    std::lock_guard lock(errorSink_->mutex);
    errorSink_->out = nullptr;
}

void StatusLog::SetLevel(LogLevel level) {
    std::lock_guard lock(mutex_);
    level_ = level;
}

LogLevel StatusLog::Level() const {
    std::lock_guard lock(mutex_);
    return level_;
}

void StatusLog::SetTimeStamps(bool on) {
    std::lock_guard lock(mutex_);
    timeStamps_ = on;
}

bool StatusLog::TimeStamps() const {
    std::lock_guard lock(mutex_);
    return timeStamps_;
}

void StatusLog::SetSizeLimit(qsizetype bytes) {
    std::lock_guard lock(mutex_);
    sizeLimit_ = bytes;
}

qsizetype StatusLog::SizeLimit() const {
    std::lock_guard lock(mutex_);
    return sizeLimit_;
}

void StatusLog::SetClock(Clock clock) {
    std::lock_guard lock(mutex_);
    clock_ = std::move(clock);
    ownClock_ = true;
}

void StatusLog::SetVisualOut(TextOut out) {
    std::lock_guard lock(mutex_);
    visualOut_ = std::move(out);
}

void StatusLog::SetErrorOut(TextOut out) {
    std::lock_guard lock(errorSink_->mutex);
    errorSink_->out = std::move(out);
}

void StatusLog::Add(LogLevel level, const QString& prefix, const QString& text) {
    std::lock_guard lock(mutex_);
    if (static_cast<int>(level) > static_cast<int>(level_)) {
        return;
    }
    QString entry = common::ShowControls(prefix.isEmpty() ? text : prefix + QStringLiteral(": ") + text);
    if (timeStamps_) {
        entry = Stamp() + entry;
    }
    // The version line travels with the first entry as one write, so a file
    // that cannot be written is reported once per entry, not twice.
    QByteArray bytes;
    if (!versionWritten_) {
        versionWritten_ = true;
        bytes = Show(CommLayerVersionLine());
        // Where the file is, so the surveyor knows what to send in: beside the
        // program in a build tree, in the user's data folder when installed.
        bytes += Show(QStringLiteral("Log file: ") + QDir::toNativeSeparators(filePath_));
    }
    bytes += Show(entry);
    // Queued with the log still locked, so the memo and the file see this
    // log's lines in the same order.
    writer_->Enqueue({bytes, sizeLimit_, errorSink_});
}

QString StatusLog::Stamp() {
    // The stamp shows whole seconds, and turning the time into local time asks
    // the system's time zone files every time: a burst of entries in one
    // second shares one stamp.
    if (!ownClock_) {
        const qint64 second = QDateTime::currentSecsSinceEpoch();
        if (second != stampSecond_) {
            stampSecond_ = second;
            stamp_ = StampText(QDateTime::fromSecsSinceEpoch(second));
        }
        return stamp_;
    }
    return StampText(clock_());
}

QString StatusLog::StampText(const QDateTime& time) {
    const QLocale locale = QLocale::system();
    return QLatin1Char('[') + locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(time.time(), QLocale::LongFormat) + QStringLiteral("] ");
}

QByteArray StatusLog::Show(const QString& line) const {
    if (visualOut_) {
        visualOut_(QStringLiteral("\r\n") + line);
    }
    QByteArray bytes = common::EncodeWindows1252(line);
    bytes.append(kLineEnd, kLineEndSize);
    return bytes;
}

bool StatusLog::Flush(std::chrono::milliseconds timeout) { return writer_->WaitWritten(timeout); }

bool StatusLog::FlushAll(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool all = true;
    for (const auto& writer : Writer::All()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        all = writer->WaitWritten(std::max(left, std::chrono::milliseconds(0))) && all;
    }
    return all;
}

qsizetype StatusLog::QueuedBytes() const { return writer_->QueuedBytes(); }

} // namespace commtools
