// A stored PDF shown inside a page; a double-click hands the file to the
// desktop's own viewer, where the surveyor can print or zoom it. A form names
// the document by its asset file name in the property "document" (stdset="0").
#pragma once

#include <QPdfView>

class QPdfDocument;

namespace kit {

class DocumentView : public QPdfView {
    Q_OBJECT
    Q_PROPERTY(QString document READ DocumentName WRITE SetDocument)
public:
    explicit DocumentView(QWidget* parent = nullptr);
    ~DocumentView() override;

    // Shows the generated document of that name (assets/).
    void SetDocument(const QString& assetName);
    QString DocumentName() const { return assetName_; }

    QString Path() const { return path_; }
    QPdfDocument* Document() const { return document_; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString assetName_;
    QString path_;
    QPdfDocument* document_;
};

} // namespace kit
