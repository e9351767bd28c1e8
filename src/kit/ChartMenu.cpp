#include "kit/ChartMenu.h"

#include "common/Messages.h"
#include "common/TextFile.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"

#include <QBuffer>
#include <QImage>
#include <QMenu>
#include <QToolButton>

namespace kit {
namespace {

// The button's distance from the chart's top and right edges, in pixels.
constexpr int kCornerMargin = 2;
constexpr QSize kButtonSize(22, 20);

} // namespace

ChartMenu::ChartMenu(ChartView* view) : QObject(view), view_(view) {
    // A child of the view beside the viewport, not inside it: the viewport
    // holds the whole drawing, so a picture of the viewport leaves the button out.
    button_ = new QToolButton(view);
    button_->setText(QStringLiteral("\u2261"));
    button_->setToolTip(QStringLiteral("Copy data or save picture"));
    // A framed button of a fixed size: a bare glyph in the corner would sit
    // on the plot's frame, hard to see and to hit on a coloured background.
    button_->setFixedSize(kButtonSize);
    button_->setCursor(Qt::ArrowCursor);
    // Out of the tab order: the chart itself takes the focus and the keys.
    button_->setFocusPolicy(Qt::NoFocus);
    menu_ = new QMenu(button_);
    QAction* copy = menu_->addAction(QStringLiteral("Copy data"), view, &ChartView::CopyData);
    QAction* save = menu_->addAction(QStringLiteral("Save picture\u2026"), view, &ChartView::SavePicture);
    // The menu opens on a plain click, below the button and inside the chart,
    // without the arrow a tool button with a menu would draw.
    connect(button_, &QToolButton::clicked, this, [this] {
        const QPoint corner(button_->width() - menu_->sizeHint().width(), button_->height());
        menu_->popup(button_->mapToGlobal(corner));
    });
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        menuOpen_ = true;
        ShowWhenWanted();
    });
    connect(menu_, &QMenu::aboutToHide, this, [this] {
        menuOpen_ = false;
        ShowWhenWanted();
    });
    // Named after the chart, so the driver can tell the buttons of the TPU
    // calculator's two charts apart.
    connect(view, &QObject::objectNameChanged, this, [this, copy, save](const QString& name) {
        button_->setObjectName(name.isEmpty() ? QString() : name + QStringLiteral("_Menu"));
        copy->setObjectName(name.isEmpty() ? QString() : name + QStringLiteral("_CopyData"));
        save->setObjectName(name.isEmpty() ? QString() : name + QStringLiteral("_SavePicture"));
    });
    button_->hide();
    Place();
}

void ChartMenu::Place() { button_->move(view_->width() - kButtonSize.width() - kCornerMargin, kCornerMargin); }

void ChartMenu::PointerOver(bool over) {
    pointerOver_ = over;
    ShowWhenWanted();
}

void ChartMenu::FocusChanged() { ShowWhenWanted(); }

void ChartMenu::ShowWhenWanted() {
    const bool wanted = pointerOver_ || view_->hasFocus() || menuOpen_;
    if (wanted == button_->isHidden()) {
        button_->setVisible(wanted);
    }
}

void SaveChartPicture(ChartView* view, const QString& name) {
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.caption = QStringLiteral("Save picture");
    request.filter = QStringLiteral("PNG picture (*.png)");
    request.defaultSuffix = QStringLiteral("png");
    request.fileName = name + QStringLiteral(".png");
    request.folderKind = QStringLiteral("pictures");
    const QString path = AskFileName(view, request);
    if (path.isEmpty()) {
        return;
    }
    QByteArray png;
    {
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !view->Picture().save(&buffer, "PNG")) {
            common::ShowError(common::CreateFileError(path, QStringLiteral("The picture could not be made.")));
            return;
        }
    }
    if (const common::FileResult saved = common::SaveWhole(path, png); !saved) {
        common::ShowError(common::CreateFileError(path, saved.Error()));
    }
}

} // namespace kit
