// A stored PDF shown inside a page; a double-click hands the file to the
// desktop's own viewer, where the surveyor can print or zoom it.
#pragma once

#include <QPdfView>
#include <functional>

class QPdfDocument;

namespace kit {

class DocumentView : public QPdfView {
    Q_OBJECT
public:
    DocumentView(const QString& path, QWidget* parent = nullptr);
    ~DocumentView() override;

    QString Path() const { return path_; }
    QPdfDocument* Document() const { return document_; }

    // Hands a file to the desktop; replaceable so tests see the request instead.
    using Opener = std::function<void(const QString& path)>;
    static Opener SetOpener(Opener opener);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString path_;
    QPdfDocument* document_;
};

} // namespace kit
