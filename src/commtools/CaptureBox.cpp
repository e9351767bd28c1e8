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
    if (path.isEmpty()) {
        box_->setChecked(false);
        return;
    }
    if (const common::FileResult opened = file_.Open(path); !opened) {
        box_->setChecked(false);
        common::ShowError(opened.Error());
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
    if (bytes.isEmpty()) {
        return;
    }
    const common::FileResult written = file_.Write(bytes);
    if (written) {
        return;
    }
    lines_.RestOfAll();
    box_->setChecked(false);
    // Said once the read that failed has returned.
    kit::ShowErrorAfterNotification(this, written.Error());
}

void CaptureBox::Stop() {
    Close();
    box_->setChecked(false);
}

} // namespace commtools
