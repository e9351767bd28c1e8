#include "common/TextFile.h"

#include "common/RewriteInPlace.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace common {

namespace {

// The 0x80..0x9F block of Windows-1252; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHighBlock = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QByteArray EncodeWindows1252(const QString& text) {
    // One byte for every character: written in place, as the status logs of
    // a busy link encode every entry they keep.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            *out++ = static_cast<char>(code);
            continue;
        }
        char byte = '?';
        for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
            if (kHighBlock[i] != 0 && kHighBlock[i] == code) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        *out++ = byte;
    }
    return bytes;
}

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x80 && code < 0xA0 && kHighBlock[code - 0x80] != 0) {
            text.append(QChar(kHighBlock[code - 0x80]));
        } else {
            text.append(QChar(code));
        }
    }
    return text;
}

QString ShowControls(const QString& text) {
    // Most entries hold none: they are handed on as they are.
    if (std::none_of(text.cbegin(), text.cend(),
                     [](QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; })) {
        return text;
    }
    QString shown;
    shown.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code < 0x20 || code == 0x7F) {
            shown += QLatin1Char('\\') + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0')) +
                     QLatin1Char('h');
        } else {
            shown += ch;
        }
    }
    return shown;
}

namespace {

// Writes every byte, checking each write: a write cut short (a file-size limit)
// says nothing, so the rest is written again until the system gives its reason.
bool WriteAll(QFileDevice& file, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return file.flush();
}

// Where no file can be made in the folder but the file itself may be written,
// the file is rewritten where it stands, as editors do. Truncating it first, as
// a plain open for writing does, would leave an empty or cut file in place of
// the old one on a full disk or under a file-size limit.
bool CanRewriteInPlace(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isWritable();
}

FileResult RewrittenInPlace(const QString& path, const QByteArray& bytes, WaitForDisk wait) {
    if (!RewriteInPlace(std::filesystem::path(QFile::encodeName(path).toStdString()),
                        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        wait == WaitForDisk::Yes)) {
        return FileResult::Failed(QString::fromLocal8Bit(std::strerror(errno)));
    }
    return FileResult::Done();
}

// The file replaced through a temporary file beside it, renamed over it once
// written, without waiting for the disk.
FileResult ReplaceWithoutWaiting(const QString& path, const QByteArray& bytes) {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        if (CanRewriteInPlace(path)) {
            return RewrittenInPlace(path, bytes, WaitForDisk::No);
        }
        return FileResult::Failed(temporary.errorString());
    }
    if (!WriteAll(temporary, bytes)) {
        return FileResult::Failed(temporary.errorString());
    }
    if (QFile::exists(path)) {
        temporary.setPermissions(QFile::permissions(path)); // readable by whoever read the old one
    }
    temporary.close();
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary.fileName()).toStdString(),
                            QFile::encodeName(path).toStdString(), error);
    if (error) {
        return FileResult::Failed(QString::fromLocal8Bit(error.message()));
    }
    temporary.setAutoRemove(false); // it is the file now
    return FileResult::Done();
}

} // namespace

FileResult SaveWhole(const QString& path, const QByteArray& bytes, WaitForDisk wait) {
    if (wait == WaitForDisk::No) {
        return ReplaceWithoutWaiting(path, bytes);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // QSaveFile refuses a file it may not write before it makes its
        // temporary file: what fails here with the file writable is the
        // temporary file.
        return CanRewriteInPlace(path) ? RewrittenInPlace(path, bytes, wait) : FileResult::Failed(file.errorString());
    }
    // Every write and the flush are checked here: commit() renames what it has
    // even when its own last flush failed, and a full disk would then leave an
    // empty or cut file in place of the old one.
    if (!WriteAll(file, bytes) || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileResult::Failed(reason);
    }
    return FileResult::Done();
}

QString CreateFileError(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

FileResult WriteTextFile(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += EncodeWindows1252(line);
        bytes += "\r\n";
    }
    const FileResult saved = SaveWhole(path, bytes);
    return saved ? saved : FileResult::Failed(CreateFileError(path, saved.Error()));
}

FileResult ReadTextFile(const QString& path, QStringList& lines, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileResult::Failed(file.errorString());
    }
    const QByteArray bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = decoder.decode(bytes.mid(2));
    } else {
        text = DecodeWindows1252(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast(); // the line end of the last line, not an extra line
    }
    return FileResult::Done();
}

} // namespace common
