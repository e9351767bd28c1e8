#include "kit/Dialogs.h"

#include "common/Messages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace kit {

namespace {

FileDialogPresenter& CurrentPresenter() {
    static FileDialogPresenter presenter;
    return presenter;
}

} // namespace

QString AskFileName(QWidget* parent, const FileDialogRequest& request) {
    if (const auto& presenter = CurrentPresenter()) {
        return presenter(request);
    }
    QFileDialog dialog(parent, request.caption, QString(), request.filter);
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
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

void InstallModalMessageBoxes() {
    common::SetMessagePresenter([](common::MessageKind kind, const QString& text) {
        QMessageBox box(kind == common::MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                        QString::fromLatin1(common::kApplicationTitle), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
}

} // namespace kit
