#include "common/TextFile.h"

#include "common/Messages.h"
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
#include <optional>
#include <string_view>

namespace common {

namespace {

// The 0x80..0x9F block of Windows-1252; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHighBlock = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Windows-1252 byte of a character, if the code page has one.
std::optional<char> ByteOf(char16_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
        if (kHighBlock[i] != 0 && kHighBlock[i] == code) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// A character beyond the 16-bit range is two code units: it is one character
// to the user, and one "?" in the file.
bool PairAt(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}

} // namespace

QByteArray EncodeWindows1252(const QString& text) {
    // One byte for every character: written in place, as the status logs of
    // a busy link encode every entry they keep.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        *out++ = ByteOf(text[i].unicode()).value_or('?');
        if (PairAt(text, i)) {
            ++i;
        }
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QStringList OutsideWindows1252(const QStringList& texts) {
    QStringList outside;
    for (const QString& text : texts) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = PairAt(text, i) ? 2 : 1;
            if (length == 2 || !ByteOf(text[i].unicode())) {
                const QString character = text.mid(i, length);
                if (!outside.contains(character)) {
                    outside << character;
                }
            }
            i += length - 1;
        }
    }
    return outside;
}

bool ConfirmWindows1252(const QString& path, const QStringList& texts) {
    const QStringList outside = OutsideWindows1252(texts);
    if (outside.isEmpty()) {
        return true;
    }
    // Named as they are typed: a long list is cut, the question stays short.
    constexpr qsizetype kNamed = 12;
    QString named = QLatin1Char('"') + outside.mid(0, kNamed).join(QStringLiteral("\", \"")) + QLatin1Char('"');
    if (outside.size() > kNamed) {
        named += QStringLiteral(" and %1 more").arg(outside.size() - kNamed);
    }
    return AskToProceed(QStringLiteral("\"%1\" is written in the Windows-1252 code page, which cannot hold %2: each "
                                       "becomes \"?\" in the file. Save it anyway?")
                            .arg(QFileInfo(path).fileName(), named));
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

std::string ShowControls(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char byte : text) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            shown += '\\';
            shown += kHex[code >> 4];
            shown += kHex[code & 0xF];
            shown += 'h';
        } else {
            shown += byte;
        }
    }
    return shown;
}

namespace {

// Writes every byte, checking each write: a write cut short (a file-size limit)
// says nothing, so the rest is written again until the system gives its reason.
bool WriteAndFlush(QFileDevice& file, const QByteArray& bytes) {
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
    if (!WriteAndFlush(temporary, bytes)) {
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
    if (!WriteAndFlush(file, bytes) || !file.commit()) {
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

FileResult ReadTextFile(const QString& path, QStringList& lines, qint64 maxBytes, bool* endsWithLineEnd) {
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
        // Windows-1252 text beyond ASCII is almost never valid UTF-8 ("Ø" alone
        // is the byte 0xD8, which UTF-8 never ends a character with), so valid
        // UTF-8 with such characters is what an editor of today saved.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const bool beyondAscii = std::any_of(bytes.cbegin(), bytes.cend(), [](char b) { return (b & 0x80) != 0; });
        if (beyondAscii) {
            text = utf8.decode(bytes);
        }
        if (!beyondAscii || utf8.hasError()) {
            text = DecodeWindows1252(bytes);
        }
    }
    if (endsWithLineEnd != nullptr) {
        *endsWithLineEnd = text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'));
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
