// What can fail without the user's fault (a full disk, a file another program
// holds, a device pulled out) comes back as a FileResult: done, or why not. A
// caller must look at it ([[nodiscard]]); a window shows the reason in the
// general error box. What the user typed wrong is a UserError instead, and the
// system's error numbers stay inside common/'s system files, which turn them
// into these words.
#pragma once

#include <QString>

namespace common {

class [[nodiscard]] FileResult {
public:
    static FileResult Done() { return FileResult(QString(), true); }
    static FileResult Failed(const QString& error) { return FileResult(error, false); }

    bool Ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const QString& Error() const { return error_; }

private:
    FileResult(const QString& error, bool ok) : error_(error), ok_(ok) {}
    QString error_;
    bool ok_;
};

} // namespace common
