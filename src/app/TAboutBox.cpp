#include "app/TAboutBox.h"

#include "kit/Assets.h"
#include "kit/WindowParts.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

using kit::AssetPixmap;
using kit::PixelFont;

namespace {

// The seabed and the maker's mark, both stretched into one area.
QPixmap ComposePicture(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(picture.rect(), AssetPixmap(QStringLiteral("seabed.png")));
    painter.drawPixmap(picture.rect(), AssetPixmap(QStringLiteral("maker_logo.png")));
    return picture;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(534, 283);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(7, 7, 514, 242);

    auto* memo = new QPlainTextEdit(panel);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setGeometry(12, 18, 213, 167);
    memo->setFont(PixelFont(QStringLiteral("Tahoma"), 17));
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: rgb(192, 220, 192); }"));
    memo->setPlainText(QStringLiteral("Tormalind ApS\nSurvey software\nHavnegade 12\n9900 Frederikshavn\nDenmark\n"
                                      "tormalind.example"));
    memo->setReadOnly(true);

    auto* version = new QLabel(QStringLiteral("Version 14022020_1a"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->move(12, 200);
    version->adjustSize();

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setGeometry(240, 18, 257, 207);
    picture->setPixmap(ComposePicture(picture->size()));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(7, 253, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::close);
}
