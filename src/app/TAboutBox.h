// The about box: who makes the suite, its version, and the seabed picture with
// the maker's mark. Modeless; a new one per "About" command.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QPushButton* OKButton = nullptr;
};
