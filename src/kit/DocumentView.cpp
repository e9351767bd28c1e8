#include "kit/DocumentView.h"

#include "common/Messages.h"
#include "kit/Assets.h"
#include "kit/Dialogs.h"

#include <QDir>
#include <QGuiApplication>
#include <QPdfDocument>
#include <QScreen>
#include <algorithm>

namespace kit {

DocumentView::DocumentView(QWidget* parent) : QPdfView(parent), document_(new QPdfDocument(this)) {
    setDocument(document_);
    setPageMode(QPdfView::PageMode::SinglePage);
    SetFitting(Fitting::ScaledToFit);
    connect(document_, &QPdfDocument::statusChanged, this, [this] { Fit(); });
}

void DocumentView::SetDocument(const QString& assetName) {
    assetName_ = assetName;
    path_ = AssetPath(assetName);
    document_->load(path_); // fitted as its status turns Ready
}

DocumentView::~DocumentView() {
    // The document would otherwise outlive the view's scroll area by a moment and
    // report its closing to a half-destroyed view.
    setDocument(nullptr);
    delete document_;
}

namespace {

// The view draws a page of zoom 1 at the primary screen's logical resolution.
qreal PixelsPerPoint() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return (screen != nullptr ? screen->logicalDotsPerInch() : 96.0) / 72.0;
}

// Room kept between a page scaled to fit and the view's edge, so the sheet reads
// as paper on a desk.
constexpr int kFitEdge = 6;

} // namespace

QSize DocumentView::NaturalPageSize() const {
    if (document_->status() != QPdfDocument::Status::Ready || document_->pageCount() < 1) {
        return {};
    }
    return (document_->pagePointSize(0) * PixelsPerPoint()).toSize();
}

void DocumentView::SetFitting(Fitting fitting) {
    fitting_ = fitting;
    if (QWidget* window = parentWidget()) {
        window->removeEventFilter(this);
        if (fitting == Fitting::NaturalSize) {
            window->installEventFilter(this);
        }
    }
    // A scaled page always fits, and a view of natural size is the page: scroll
    // bars shown for the moment of a resize would only take room from it and then
    // keep themselves needed.
    const Qt::ScrollBarPolicy bars = fitting == Fitting::Centred ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(bars);
    setVerticalScrollBarPolicy(bars);
    Fit();
}

void DocumentView::Fit() {
    const QSize natural = NaturalPageSize();
    if (natural.isEmpty()) {
        return;
    }
    setZoomMode(QPdfView::ZoomMode::Custom);
    setPageSpacing(0); // the view adds it below the page, where it would make the page scroll
    if (fitting_ == Fitting::NaturalSize) {
        setZoomFactor(1.0);
        setDocumentMargins({});
        const int frame = 2 * frameWidth();
        const QSize whole(natural.width() + frame, natural.height() + frame);
        QSize shown = whole;
        if (const QWidget* window = parentWidget()) {
            shown = whole.boundedTo(QSize(std::max(1, window->width() - x()), std::max(1, window->height() - y())));
        }
        // Scroll bars only where the page is cut: on a view that is the page
        // they would take room from it and then keep themselves needed.
        const auto bars = [](bool cut) { return cut ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff; };
        setHorizontalScrollBarPolicy(bars(shown.width() < whole.width() || shown.height() < whole.height()));
        setVerticalScrollBarPolicy(bars(shown.height() < whole.height() || shown.width() < whole.width()));
        resize(shown);
        return;
    }
    qreal zoom = 1.0;
    if (fitting_ == Fitting::ScaledToFit) {
        const QSizeF room = viewport()->size() - QSize(2 * kFitEdge, 2 * kFitEdge);
        zoom = std::max(0.05, std::min(room.width() / natural.width(), room.height() / natural.height()));
    }
    setZoomFactor(zoom);
    // Margins take up what the page leaves, half on each side; a larger page scrolls.
    const QSize page = (document_->pagePointSize(0) * PixelsPerPoint() * zoom).toSize();
    const QSize free = viewport()->size() - page;
    const int left = std::max(0, free.width() / 2);
    const int top = std::max(0, free.height() / 2);
    setDocumentMargins({left, top, std::max(0, free.width() - left), std::max(0, free.height() - top)});
}

bool DocumentView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && fitting_ == Fitting::NaturalSize) {
        Fit();
    }
    return QPdfView::eventFilter(watched, event);
}

void DocumentView::resizeEvent(QResizeEvent* event) {
    QPdfView::resizeEvent(event);
    if (fitting_ != Fitting::NaturalSize) {
        Fit();
    }
}

void DocumentView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Without a PDF viewer on the desktop the double-click would do nothing
    // visible: the surveyor is told, and where to find the document.
    if (!path_.isEmpty() && !OpenInDesktop(path_)) {
        common::ShowMessage(QStringLiteral("The document could not be opened: no program on this computer opens it.\n"
                                           "It is at %1")
                                .arg(QDir::toNativeSeparators(path_)));
    }
    QPdfView::mouseDoubleClickEvent(event);
}

} // namespace kit
