// A "Capture…" check box and the capture file behind it. Checking asks the
// user for the file (a cancel leaves the box unchecked): a peer never chooses
// where its bytes land. A file that is no regular file is refused at once and
// the box stays unchecked. Unchecking, or the port closing, ends the capture;
// a file that stops taking data unchecks the box and says why, once.
#pragma once

#include "commtools/CaptureFile.h"

#include <QObject>

class QCheckBox;

namespace commtools {

class CaptureBox : public QObject {
    Q_OBJECT
public:
    // `fileName` is the name the file dialog proposes.
    CaptureBox(QCheckBox* box, QString fileName);

    // What arrived, raw; written at once while the box is checked.
    void Feed(const QByteArray& bytes);
    // What one TCP connection sent: written up to its last line end, the
    // rest with the connection's next read, so connections never interleave
    // mid-line in the file.
    void FeedFrom(quint64 connection, const QByteArray& bytes);
    // The connection closed: what it left unfinished goes to the file.
    void End(quint64 connection);
    // The port closed: the capture ends and the box unchecks.
    void Stop();

private:
    void Clicked(bool checked);
    void Write(const QByteArray& bytes);
    // Ends the capture with every connection's unfinished line in the file.
    void Close();

    QCheckBox* box_;
    QString fileName_;
    CaptureFile file_;
    WholeLines lines_;
};

} // namespace commtools
