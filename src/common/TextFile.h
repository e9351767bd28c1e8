// Reports and settings files are read on Windows machines aboard and ashore, so
// they are written in Windows-1252 with CR LF line ends and no byte-order mark
// ("°" is the single byte 0xB0).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace common {

// Windows-1252 bytes of a text; characters outside the code page become "?".
QByteArray EncodeWindows1252(const QString& text);
QString DecodeWindows1252(const QByteArray& bytes);

// Writes each line followed by CR LF. Returns false, with a reason in `error`,
// when the file cannot be written completely.
bool WriteTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);

// Reads a text file into lines (CR LF, LF or CR separated): Windows-1252, or
// UTF-8 or UTF-16 when a byte-order mark says so. At most `maxBytes` bytes are
// read (all when negative), so a huge file cannot take the memory with it.
bool ReadTextFile(const QString& path, QStringList& lines, QString* error = nullptr, qint64 maxBytes = -1);

} // namespace common
