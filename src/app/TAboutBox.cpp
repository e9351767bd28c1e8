#include "app/TAboutBox.h"

#include "kit/WindowParts.h"
#include "ui_TAboutBox.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::close);
}

TAboutBox::~TAboutBox() = default;
