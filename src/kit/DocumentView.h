// A stored PDF shown inside a window; a double-click hands the file to the
// desktop's own viewer, where the surveyor can print or zoom it. A form names
// the document by its asset file name in the property "document" and the way
// its page meets the view in "fitting" (both stdset="0").
#pragma once

#include <QPdfView>

class QPdfDocument;

namespace kit {

class DocumentView : public QPdfView {
    Q_OBJECT
    Q_PROPERTY(QString document READ DocumentName WRITE SetDocument)
    Q_PROPERTY(Fitting fitting READ PageFitting WRITE SetFitting)
public:
    // ScaledToFit: the whole page, as large as the view allows.
    // NaturalSize: the page at its printed size on the screen, the view taking
    //   that size (a sheet meant to be read as it would be on paper).
    // Centred: the page at its printed size in the middle of the view, which
    //   scrolls where the page is the larger.
    enum class Fitting { ScaledToFit, NaturalSize, Centred };
    Q_ENUM(Fitting)

    explicit DocumentView(QWidget* parent = nullptr);
    ~DocumentView() override;

    // Shows the generated document of that name (assets/).
    void SetDocument(const QString& assetName);
    QString DocumentName() const { return assetName_; }

    void SetFitting(Fitting fitting);
    Fitting PageFitting() const { return fitting_; }

    QString Path() const { return path_; }
    QPdfDocument* Document() const { return document_; }

    // The first page at its printed size, in this screen's logical pixels.
    QSize NaturalPageSize() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A page of natural size follows the window it stands in: where the window
    // is smaller than the page, the view ends at its edge and scrolls.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fit();

    QString assetName_;
    QString path_;
    QPdfDocument* document_;
    Fitting fitting_ = Fitting::ScaledToFit;
};

} // namespace kit
