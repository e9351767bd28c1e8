// Save and open dialogs behind one replaceable seam, so that the driver and the
// tests can answer them with a file name (or a cancel) without a desktop.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace common {

enum class FileDialogKind { Save, Open };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Save;
    QString caption;
    QString filter;        // "Text files (*.txt)"
    QString defaultSuffix; // "txt", added when the user types none
    QString fileName;      // proposed name
};

// Returns the chosen path, or an empty text when the user cancels.
using FileDialogPresenter = std::function<QString(const FileDialogRequest&)>;

QString AskFileName(QWidget* parent, const FileDialogRequest& request);

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);

} // namespace common
