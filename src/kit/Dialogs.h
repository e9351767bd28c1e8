// What a window asks of the desktop, behind replaceable seams: the save and open
// file dialogs, answered by the driver and the tests with a file name (or a
// cancel) without a desktop; opening a file in its own application; and the
// modal message and error boxes behind the message service of common/.
#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace kit {

enum class FileDialogKind { Save, Open };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Save;
    QString caption;
    QString filter;        // "Text files (*.txt)"
    QString defaultSuffix; // "txt", added when the user types none
    QString fileName;      // proposed name
    // The kind of file ("settings", "reports", "pictures", …): the dialog
    // opens in the folder last used for that kind, remembered between runs.
    QString folderKind;
    // The chosen file is added to, never replaced: the dialog asks no
    // question about replacing an existing one.
    bool appends = false;
    // Filled in by AskFileName: the folder the dialog opens in (empty: the
    // working folder).
    QString folder;
};

// A file name made from a text the user typed (a project ID, a chart's title):
// the characters a file name cannot hold or that mislead (path separators,
// wildcards, quotes, control characters) become "_", blanks at the ends go.
QString FileNameFrom(const QString& text);

// Returns the chosen path, or an empty text when the user cancels.
using FileDialogPresenter = std::function<QString(const FileDialogRequest&)>;

QString AskFileName(QWidget* parent, const FileDialogRequest& request);

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);

// Hands a file to the desktop's own application for its type (a PDF viewer);
// replaceable, so that tests and the driver see the request instead. Returns
// false when no application took the file; nothing is shown here.
bool OpenInDesktop(const QString& path);

using DesktopOpener = std::function<bool(const QString& path)>;
DesktopOpener SetDesktopOpener(DesktopOpener opener);

// Shows the error box once the notification now running (a port's read, a
// socket's signal) has returned to Qt: a modal box inside it would run the
// event loop from within the notification. Nothing is shown when `context`
// is gone by then.
void ShowErrorAfterNotification(QObject* context, const QString& text);

// Shows every message and error of the message service in a modal box over the
// active window, with the application title as caption, and asks its
// questions in one with Yes and No (No the default: nothing is lost by it).
void InstallModalMessageBoxes();

} // namespace kit
