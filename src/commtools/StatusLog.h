// The status log of the serial terminal and the network test tool: every
// channel reports what it does (ports opened, bytes sent, errors) to its
// window's memo and to one log file next to the program, which the surveyor
// sends in when a link aboard misbehaves. The file is shared by all channels
// and kept small. The window never writes it per entry: the entries of one pass
// of the event loop go to the file in one append when the pass is done, so a
// busy link costs one small write per pass, and the rare cut of the file one
// write of at most its size limit.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

namespace commtools {

// How much a channel reports. An entry is kept when its level is at most the
// log's level: a log at Detail keeps Simple and Detail entries, not Debug ones.
enum class LogLevel { Simple, Detail, Debug };

// The one log file of the program: its own name with ".log" for any extension,
// in the log folder (beside the program in a build tree, else the user's data
// folder).
QString ProgramLogPath();

// The name and version of the communication layer, e.g. "Tormalind comm
// layer 1.0".
QString CommLayerVersion();

// The line written before the first entry of each log, followed by the file's
// path: the layer's version and the operating system, so a log sent in tells on
// which machine it was made.
QString CommLayerVersionLine();

// The log file after appending `appended` to `existing`, kept within `limit`
// bytes by dropping its oldest part. The cut is made after a CR LF so no half
// line stays at the top; when no line end leaves something to keep (the last
// line alone is longer than the limit), the last `limit` bytes are kept.
// A limit of 0 or below means no limit: a misconfigured size never throws the
// log away.
QByteArray AppendWithinLimit(const QByteArray& existing, const QByteArray& appended, qsizetype limit);

// The log file once it has to be cut: `content` within `limit` as above, then
// only its newest whole lines within three quarters of the limit, so the
// entries that follow are appended for a while instead of each one cutting the
// file again. When not even the newest line fits that room, it stays alone.
// A limit of 0 or below leaves the content whole.
QByteArray MakeRoom(const QByteArray& content, qsizetype limit);

// The log of one channel (serial channel 1, channel 2, the network socket).
// Several logs may share one file path; their entries go to the file in the
// order they were added. A log belongs to the thread of the window that made
// it (where its channel's port or socket reports), and is used there only.
class StatusLog {
public:
    using Clock = std::function<QDateTime()>;
    using TextOut = std::function<void(const QString&)>;

    // The serial terminal keeps its log to 2 KB, the network tool to 200 KB.
    static constexpr qsizetype kSerialTerminalLimit = 2048;
    static constexpr qsizetype kNetworkToolLimit = 204800;

    StatusLog(const QString& filePath, qsizetype sizeLimit);
    // Writes the entries still waiting for the file, without calling the
    // error callback: its window may be going too.
    ~StatusLog();

    StatusLog(const StatusLog&) = delete;
    StatusLog& operator=(const StatusLog&) = delete;

    QString FilePath() const { return filePath_; }

    void SetLevel(LogLevel level) { level_ = level; }
    LogLevel Level() const { return level_; }

    // When on, each entry starts with "[date time] " in the system locale's
    // short date and long time formats.
    void SetTimeStamps(bool on) { timeStamps_ = on; }
    bool TimeStamps() const { return timeStamps_; }

    void SetSizeLimit(qsizetype bytes) { sizeLimit_ = bytes; }
    qsizetype SizeLimit() const { return sizeLimit_; }

    // The time of the stamps; the current local time unless replaced.
    void SetClock(Clock clock) {
        clock_ = std::move(clock);
        ownClock_ = true;
    }

    // Receives "\r\n" followed by each entry, from within Add.
    void SetVisualOut(TextOut out) { visualOut_ = std::move(out); }

    // Receives "Error when save log file:" followed by the path, once for each
    // entry that could not be written. It is called while the file is being
    // written (when the event loop comes round, or within Flush and FlushAll),
    // so it must not call back into a log; a window shows the message from a
    // queued call (QMetaObject::invokeMethod) rather than a modal box there.
    void SetErrorOut(TextOut out) { errorOut_ = std::move(out); }

    // Adds an entry "prefix: text" (just "text" when the prefix is empty),
    // unless its level is above the log's level.
    void Add(LogLevel level, const QString& prefix, const QString& text);

    // Writes now what is waiting for this log's file (from any log on that
    // path), instead of when the event loop comes round.
    void Flush();

    // Writes now what is waiting for every log file, for a program about to
    // end without unwinding (std::_Exit). The end of the application object
    // calls it as well, for the logs of windows that are hidden, never
    // destroyed.
    static void FlushAll();

    // The bytes of entries waiting for the next write of this log's file (from
    // any log on that path). Entries that newer ones would cut from the file
    // anyway are let go before they are written, so this stays near one size
    // limit however many entries come before the event loop does.
    qsizetype QueuedBytes() const;

private:
    class Writer;

    // Hands a line to the visual out and returns its bytes for the file.
    QByteArray Show(const QString& line) const;
    // "[date time] " of now, in the system locale's short date and long time.
    QString Stamp();
    static QString StampText(const QDateTime& time);

    const QString filePath_;
    const std::shared_ptr<Writer> writer_;

    LogLevel level_ = LogLevel::Simple;
    bool timeStamps_ = false;
    qsizetype sizeLimit_;
    Clock clock_;
    bool ownClock_ = false; // a clock of the caller's: asked for every entry
    qint64 stampSecond_ = -1;
    QString stamp_;
    TextOut visualOut_;
    TextOut errorOut_;
    bool versionWritten_ = false;
};

} // namespace commtools
