// Reports and settings files are read on Windows machines aboard and ashore, so
// they are written in Windows-1252 with CR LF line ends and no byte-order mark
// ("°" is the single byte 0xB0).
#pragma once

#include "common/FileResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace common {

// Windows-1252 bytes of a text; a character outside the code page becomes one
// "?" (a character beyond the 16-bit range, an emoji, too).
QByteArray EncodeWindows1252(const QString& text);
QString DecodeWindows1252(const QByteArray& bytes);

// The characters of `texts` that Windows-1252 cannot hold, each once, in the
// order they first appear.
QStringList OutsideWindows1252(const QStringList& texts);

// Before a file in Windows-1252 is written: when `texts` hold characters the
// code page cannot hold, one question names them and what they become, and
// says whether the user wants the file written all the same. True when there
// are none.
bool ConfirmWindows1252(const QString& path, const QStringList& texts);

// Control characters (below 0x20, and 0x7F) become a backslash, two uppercase
// hex digits and "h": "A\rB" shows as "A\0DhB". Logged bytes and texts
// quoted in messages would otherwise break their lines or hide characters.
QString ShowControls(const QString& text);
// The same for UTF-8 text: no byte of a longer character is below 0x80.
std::string ShowControls(std::string_view text);

// Puts `bytes` in the file at `path` whole, or leaves the file as it was: the
// bytes go to a temporary file beside it, which takes the name only once every
// byte and the final flush are written. Where no file can be made in the
// folder but the file itself may be written, it is rewritten in place, as
// editors do (RewriteInPlace): the room for the new bytes is taken first and
// the old bytes are put back if the new ones cannot all be written. On failure
// the error is the system's reason (for example "No space left on device").
//
// A report or a settings file waits until the disk holds it, so that a power
// cut just after leaves the new file or the old one. A file rewritten often on
// a window's thread (a status log's cut) need not: the name still changes only
// once every byte is written, but the window does not wait for the disk, which
// under load takes tens of milliseconds.
enum class WaitForDisk { Yes, No };
FileResult SaveWhole(const QString& path, const QByteArray& bytes, WaitForDisk wait = WaitForDisk::Yes);

// The error a window shows when a file could not be saved: the file and the
// system's reason.
QString CreateFileError(const QString& path, const QString& reason);

// Writes each line followed by CR LF, whole or not at all (SaveWhole). On
// failure the error names the file and the reason (CreateFileError).
FileResult WriteTextFile(const QString& path, const QStringList& lines);

// Reads a text file into lines (CR LF, LF or CR separated): UTF-8 or UTF-16
// when a byte-order mark says so, UTF-8 when its bytes are valid UTF-8 with
// characters beyond ASCII (a file saved by a modern editor), Windows-1252
// otherwise. At most `maxBytes` bytes are read (all when negative), so a huge
// file cannot take the memory with it. `endsWithLineEnd`, when given, tells
// whether the last line had its line end. On failure the error is the
// system's reason.
FileResult ReadTextFile(const QString& path, QStringList& lines, qint64 maxBytes = -1, bool* endsWithLineEnd = nullptr);

} // namespace common
