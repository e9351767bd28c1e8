// The dialogs a window raises, behind replaceable seams: the save and open file
// dialogs, answered by the driver and the tests with a file name (or a cancel)
// without a desktop, and the modal message and error boxes behind the message
// service of common/.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kit {

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

// Shows every message and error of the message service in a modal box over the
// active window, with the application title as caption.
void InstallModalMessageBoxes();

} // namespace kit
