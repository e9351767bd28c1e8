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
    // The port closed: the capture ends and the box unchecks.
    void Stop();

private:
    void Clicked(bool checked);

    QCheckBox* box_;
    QString fileName_;
    CaptureFile file_;
};

} // namespace commtools
