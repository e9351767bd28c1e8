#include "kit/DocumentView.h"
#include "kit/Dialogs.h"
#include "standards/TIHOForm.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QDir>
#include <QPdfDocument>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace document_view_test {

TEST(DocumentView, EveryRequirementPageShowsItsDocumentAndDoubleClickHandsItToTheDesktop) {
    TIHOForm form;
    support::Controls ui{&form};
    auto* pages = ui.Get<QTabWidget>("pgc_Orders");
    const auto views = pages->findChildren<kit::DocumentView*>();
    ASSERT_EQ(views.size(), 7); // all order pages but the LINZ picture and the Orsted memo
    for (kit::DocumentView* view : views) {
        EXPECT_EQ(view->Document()->status(), QPdfDocument::Status::Ready) << view->Path().toStdString();
        EXPECT_EQ(view->Document()->pageCount(), 1) << view->Path().toStdString();
    }

    QStringList opened;
    const auto previous = kit::SetDesktopOpener([&](const QString& path) {
        opened << path;
        return true;
    });
    form.show();
    ui.Choose("pgc_Orders", "Order 2");
    kit::DocumentView* orderTwo = pages->currentWidget()->findChild<kit::DocumentView*>();
    ASSERT_NE(orderTwo, nullptr);
    QTest::mouseDClick(orderTwo->viewport(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral("order_iho_2.pdf")));

    // A desktop without a PDF viewer: the surveyor is told where the document is.
    kit::SetDesktopOpener([](const QString&) { return false; });
    MessageLog::Take();
    QTest::mouseDClick(orderTwo->viewport(), Qt::LeftButton);
    kit::SetDesktopOpener(previous);
    EXPECT_EQ(MessageLog::Take(),
              QStringList{QStringLiteral("message: The document could not be opened: no program on this computer opens "
                                         "it.\nIt is at %1")
                              .arg(QDir::toNativeSeparators(orderTwo->Path()))});
}

} // namespace document_view_test
