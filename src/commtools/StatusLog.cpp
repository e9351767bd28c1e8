#include "commtools/StatusLog.h"

#include "common/ProgramFolders.h"

#include "common/TextFile.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <map>
#include <utility>
#include <vector>

namespace commtools {

namespace {

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
    // At least `excess` bytes must go; keep from the first line start at or after
    // that.
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

// The entries waiting for one log file. All logs on the same path share it, so
// their entries reach the file in the order they were added. A zero timer
// writes them once the events of the current pass of the event loop (the port's
// or socket's reports that made them) are handled: a burst of entries is one
// append, and a window kept busy for a while writes what it logged meanwhile in
// one go. Without an event loop (before the application object, in a tool run
// without one) entries wait for Flush, FlushAll or the end of their logs.
class StatusLog::Writer {
public:
    struct Job {
        QByteArray bytes;
        qsizetype limit;
        const StatusLog* log; // hears of a failure; its destructor writes its jobs first
    };

    Writer(QString path, QString key) : path_(std::move(path)), key_(std::move(key)) {
        timer_.setSingleShot(true);
        timer_.setInterval(0);
        timer_.callOnTimeout([this] { Write(); });
    }

    ~Writer() {
        Registry& writers = Writers();
        const auto it = writers.find(key_);
        if (it != writers.end() && it->second.expired()) {
            writers.erase(it);
        }
    }

    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    static std::shared_ptr<Writer> ForPath(const QString& path) {
        const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        std::weak_ptr<Writer>& known = Writers()[key];
        std::shared_ptr<Writer> writer = known.lock();
        if (!writer) {
            writer = std::make_shared<Writer>(path, key);
            known = writer;
        }
        return writer;
    }

    static void WriteAll() {
        // Taken first: an error callback may end a log, and with it a writer.
        std::vector<std::shared_ptr<Writer>> all;
        for (const auto& [key, writer] : Writers()) {
            if (auto alive = writer.lock()) {
                all.push_back(std::move(alive));
            }
        }
        for (const auto& writer : all) {
            writer->Write();
        }
    }

    void Enqueue(Job job) {
        const qsizetype limit = job.limit;
        queuedBytes_ += job.bytes.size();
        queue_.push_back(std::move(job));
        // The file keeps at most `limit` bytes after the newest entry, and a cut
        // looks two bytes further back for the line end before what it keeps: an
        // entry with that much queued behind it can never reach the file. Letting
        // it go keeps a window that is long away from its event loop from piling
        // entries up in memory.
        if (limit > 0) {
            while (queue_.size() > 1 && queuedBytes_ - queue_.front().bytes.size() >= limit + kLineEndSize) {
                queuedBytes_ -= queue_.front().bytes.size();
                queue_.pop_front();
            }
        }
        WriteWhenTheApplicationEnds();
        if (!timer_.isActive() && QAbstractEventDispatcher::instance() != nullptr) {
            timer_.start();
        }
    }

    // Writes every entry waiting, those of other logs on the path as well.
    void Write() {
        timer_.stop();
        if (queue_.empty()) {
            return;
        }
        std::vector<Job> batch(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
        queue_.clear();
        queuedBytes_ = 0;
        WriteBatch(batch);
    }

    qsizetype QueuedBytes() const { return queuedBytes_; }

private:
    using Registry = std::map<QString, std::weak_ptr<Writer>>;

    // Function-local, so it is made before the first log and goes after the last.
    static Registry& Writers() {
        static Registry writers;
        return writers;
    }

    // The communication windows are only hidden when closed, so their logs
    // live until the process ends and no destructor writes their last
    // entries: the end of the application object does.
    static void WriteWhenTheApplicationEnds() {
        static bool pending = false;
        if (!pending) {
            pending = true;
            qAddPostRoutine([] {
                pending = false;
                StatusLog::FlushAll();
            });
        }
    }

    // As long as the file stays within every entry's limit the entries are
    // appended: the size comes from the opened file itself, so a file deleted,
    // emptied or grown by someone else is simply taken as it now is. Only a cut
    // reads and rewrites it.
    void WriteBatch(const std::vector<Job>& batch) const {
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

    // The cut leaves room for the entries that follow, so it is rare. The file
    // is replaced whole (SaveWhole), so a full disk leaves the previous log,
    // never half of one; the window does not wait for the disk to hold it.
    void Rewrite(const std::vector<Job>& batch) const {
        QByteArray content;
        if (!ReadTail(batch, content)) {
            Fail(batch);
            return;
        }
        if (!common::SaveWhole(path_, MakeRoom(AppendEachWithinLimit(content, batch), batch.back().limit),
                               common::WaitForDisk::No)) {
            Fail(batch);
        }
    }

    // The file after each job in turn is appended within its own limit, as
    // AppendWithinLimit does, without copying the whole file for each: what a
    // cut keeps is always an end of everything written, so only where it starts
    // moves. A window back from a burst of connections brings a thousand entries
    // to a file of 200 KB at once.
    static QByteArray AppendEachWithinLimit(QByteArray content, const std::vector<Job>& batch) {
        qsizetype start = 0;
        for (const Job& job : batch) {
            content += job.bytes;
            const qsizetype size = content.size() - start;
            if (job.limit <= 0 || size <= job.limit) {
                continue;
            }
            const qsizetype excess = size - job.limit;
            const qsizetype lineEnd = QByteArrayView(content).indexOf(
                QByteArrayView(kLineEnd, kLineEndSize), start + std::max<qsizetype>(0, excess - kLineEndSize));
            start = lineEnd >= 0 && lineEnd + kLineEndSize < content.size() ? lineEnd + kLineEndSize
                                                                            : content.size() - job.limit;
        }
        return content.mid(start);
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
            if (job.log->errorOut_) {
                job.log->errorOut_(ErrorText(job.log->filePath_));
            }
        }
    }

    const QString path_;
    const QString key_;
    std::deque<Job> queue_;
    qsizetype queuedBytes_ = 0;
    QTimer timer_;
};

StatusLog::StatusLog(const QString& filePath, qsizetype sizeLimit)
    : filePath_(filePath), writer_(Writer::ForPath(filePath)), sizeLimit_(sizeLimit),
      clock_([] { return QDateTime::currentDateTime(); }) {}

StatusLog::~StatusLog() {
    errorOut_ = nullptr;
    writer_->Write();
}

void StatusLog::Add(LogLevel level, const QString& prefix, const QString& text) {
    if (static_cast<int>(level) > static_cast<int>(level_)) {
        return;
    }
    // Put together in one string: a busy link makes an entry for every read.
    QString entry;
    const QString stamp = timeStamps_ ? Stamp() : QString();
    entry.reserve(stamp.size() + prefix.size() + 2 + text.size());
    entry += stamp;
    if (!prefix.isEmpty()) {
        entry += prefix;
        entry += QLatin1String(": ");
    }
    entry += text;
    entry = common::ShowControls(entry);
    // The version line travels with the first entry as one job, so a file
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
    writer_->Enqueue({bytes, sizeLimit_, this});
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

void StatusLog::Flush() { writer_->Write(); }

void StatusLog::FlushAll() { Writer::WriteAll(); }

qsizetype StatusLog::QueuedBytes() const { return writer_->QueuedBytes(); }

} // namespace commtools
