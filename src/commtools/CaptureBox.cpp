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
        file_.Close();
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
    if (!file_.IsOpen() || file_.Write(bytes)) {
        return;
    }
    box_->setChecked(false);
    // Said once the read that failed has returned: a modal box inside the
    // port's notification would run the event loop from within it.
    const QString error = file_.Error();
    QMetaObject::invokeMethod(
        this, [error] { common::ShowError(error); }, Qt::QueuedConnection);
}

void CaptureBox::Stop() {
    file_.Close();
    box_->setChecked(false);
}

} // namespace commtools
