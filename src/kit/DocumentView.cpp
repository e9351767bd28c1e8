#include "kit/DocumentView.h"

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

DocumentView::DocumentView(const QString& path, QWidget* parent)
    : QPdfView(parent), path_(path), document_(new QPdfDocument(this)) {
    document_->load(path);
    setDocument(document_);
    setPageMode(QPdfView::PageMode::SinglePage);
    setZoomMode(QPdfView::ZoomMode::FitInView);
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
