#include "kit/DocumentView.h"

#include "kit/Assets.h"
#include "kit/Dialogs.h"

#include <QPdfDocument>

namespace kit {

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

void DocumentView::mouseDoubleClickEvent(QMouseEvent* event) {
    OpenInDesktop(path_);
    QPdfView::mouseDoubleClickEvent(event);
}

} // namespace kit
