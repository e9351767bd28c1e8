#include "commtools/CaptureBox.h"

#include "common/Messages.h"
#include "kit/Dialogs.h"

#include <QCheckBox>

namespace commtools {

CaptureBox::CaptureBox(QCheckBox* box, QString fileName) : QObject(box), box_(box), fileName_(std::move(fileName)) {
    connect(box_, &QCheckBox::clicked, this, &CaptureBox::Clicked);
}

void CaptureBox::Clicked(bool checked) {
    if (!checked) {
        Close();
        return;
    }
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Save;
    request.caption = QStringLiteral("Capture received bytes to (an existing file is added to, never replaced)");
    request.filter = QStringLiteral("All files (*)");
    request.fileName = fileName_;
    request.folderKind = QStringLiteral("captures");
    request.appends = true;
    const QString path = kit::AskFileName(box_->window(), request);
    if (path.isEmpty() || !file_.Open(path)) {
        box_->setChecked(false);
        if (!path.isEmpty()) {
            common::ShowError(file_.Error());
        }
    }
}

void CaptureBox::Feed(const QByteArray& bytes) {
    if (file_.IsOpen()) {
        Write(bytes);
    }
}

void CaptureBox::FeedFrom(quint64 connection, const QByteArray& bytes) {
    if (file_.IsOpen()) {
        Write(lines_.Take(connection, bytes));
    }
}

void CaptureBox::End(quint64 connection) {
    const QByteArray rest = lines_.Rest(connection);
    if (file_.IsOpen()) {
        Write(rest);
    }
}

void CaptureBox::Close() {
    const QByteArray rest = lines_.RestOfAll();
    if (file_.IsOpen() && !rest.isEmpty()) {
        Write(rest);
    }
    file_.Close();
}

void CaptureBox::Write(const QByteArray& bytes) {
    if (bytes.isEmpty() || file_.Write(bytes)) {
        return;
    }
    lines_.RestOfAll();
    box_->setChecked(false);
    // Said once the read that failed has returned: a modal box inside the
    // port's notification would run the event loop from within it.
    const QString error = file_.Error();
    QMetaObject::invokeMethod(
        this, [error] { common::ShowError(error); }, Qt::QueuedConnection);
}

void CaptureBox::Stop() {
    Close();
    box_->setChecked(false);
}

} // namespace commtools
