// The about box: who makes the suite, its version, and the seabed picture with
// the maker's mark. Modeless; a new one per "About" command, gone when closed.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutBox;
}

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

private:
    std::unique_ptr<Ui::TAboutBox> ui;
};
