#include "kit/DocumentView.h"

#include "kit/Assets.h"

#include <QDesktopServices>
#include <QPdfDocument>
#include <QUrl>

namespace kit {

namespace {

DocumentView::Opener& CurrentOpener() {
    static DocumentView::Opener opener;
    return opener;
}

} // namespace

DocumentView::DocumentView(QWidget* parent) : QPdfView(parent), document_(new QPdfDocument(this)) {
    setDocument(document_);
    setPageMode(QPdfView::PageMode::SinglePage);
    setZoomMode(QPdfView::ZoomMode::FitInView);
}

void DocumentView::SetDocument(const QString& assetName) {
    assetName_ = assetName;
    path_ = AssetPath(assetName);
    document_->load(path_);
}

DocumentView::~DocumentView() {
    // The document would otherwise outlive the view's scroll area by a moment and
    // report its closing to a half-destroyed view.
    setDocument(nullptr);
    delete document_;
}

DocumentView::Opener DocumentView::SetOpener(Opener opener) {
    Opener previous = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return previous;
}

void DocumentView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const auto& opener = CurrentOpener()) {
        opener(path_);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path_));
    }
    QPdfView::mouseDoubleClickEvent(event);
}

} // namespace kit
