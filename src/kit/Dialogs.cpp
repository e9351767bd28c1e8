#include "kit/Dialogs.h"

#include "common/Messages.h"
#include "kit/Remembered.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace kit {

namespace {

FileDialogPresenter& CurrentPresenter() {
    static FileDialogPresenter presenter;
    return presenter;
}

} // namespace

QString FileNameFrom(const QString& text) {
    QString name = text.trimmed();
    for (QChar& ch : name) {
        if (ch.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(ch)) {
            ch = QLatin1Char('_');
        }
    }
    // A leading dot would hide the file.
    while (name.startsWith(QLatin1Char('.'))) {
        name.remove(0, 1);
    }
    return name;
}

namespace {

QString FolderKey(const QString& kind) { return QStringLiteral("folders/") + kind; }

QString ShowDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.caption, request.folder, request.filter);
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.appends) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString AskFileName(QWidget* parent, const FileDialogRequest& request) {
    FileDialogRequest asked = request;
    if (!request.folderKind.isEmpty()) {
        // A folder since removed (a USB stick taken out) is not offered.
        const QString last = Recalled(FolderKey(request.folderKind)).toString();
        asked.folder = !last.isEmpty() && QFileInfo(last).isDir() ? last : QString();
    }
    const auto& presenter = CurrentPresenter();
    const QString path = presenter ? presenter(asked) : ShowDialog(parent, asked);
    if (!path.isEmpty() && !request.folderKind.isEmpty()) {
        Remember(FolderKey(request.folderKind), QFileInfo(path).absolutePath());
    }
    return path;
}

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter) {
    FileDialogPresenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

namespace {

DesktopOpener& CurrentOpener() {
    static DesktopOpener opener;
    return opener;
}

} // namespace

bool OpenInDesktop(const QString& path) {
    if (const auto& opener = CurrentOpener()) {
        return opener(path);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

DesktopOpener SetDesktopOpener(DesktopOpener opener) {
    DesktopOpener previous = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return previous;
}

void ShowErrorAfterNotification(QObject* context, const QString& text) {
    QMetaObject::invokeMethod(
        context, [text] { common::ShowError(text); }, Qt::QueuedConnection);
}

void InstallModalMessageBoxes() {
    common::SetMessagePresenter([](common::MessageKind kind, const QString& text) {
        QMessageBox box(kind == common::MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                        QString::fromLatin1(common::kApplicationTitle), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
    common::SetQuestionPresenter([](const QString& text) {
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(common::kApplicationTitle), text,
                        QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    });
}

} // namespace kit
