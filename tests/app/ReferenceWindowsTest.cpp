#include "app/Suite.h"
#include "kit/Dialogs.h"
#include "kit/DocumentView.h"
#include "support/Controls.h"
#include "support/MenuPath.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPdfDocument>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace reference_windows_test {

namespace {

using Fitting = kit::DocumentView::Fitting;

const QString kHintA = QStringLiteral("(Double-click in the text field to open in your PDF reader) ");
const QString kHintB = QStringLiteral("(Double-click in the text field to open in Adobe Reader) ");

kit::DocumentView* ViewOf(QWidget* window) { return window->findChild<kit::DocumentView*>("pdfDocument"); }

// Opens the window of a launcher command and hands it over; the window is
// shown, so its layout has run.
QWidget* Open(app::Suite& suite, const QStringList& path) {
    QAction* command = support::MenuAction(suite.launcher->menuBar(), path);
    if (command == nullptr) {
        ADD_FAILURE() << "no command " << path.join(" > ").toStdString();
        return nullptr;
    }
    QWidget* opened = nullptr;
    const auto connection = QObject::connect(suite.launcher.get(), &Tutility_main::WindowOpened, suite.launcher.get(),
                                             [&](QWidget* window) { opened = window; });
    command->trigger();
    QObject::disconnect(connection);
    QTest::qWait(0);
    return opened;
}

// The page as drawn: the document margins say where, since the view lays out
// margin, page, margin and nothing else.
QRect PageRect(const kit::DocumentView* view) {
    const QMargins m = view->documentMargins();
    return QRect(m.left(), m.top(), view->viewport()->width() - m.left() - m.right(),
                 view->viewport()->height() - m.top() - m.bottom());
}

} // namespace

TEST(ReferenceWindows, EveryCommandOpensItsDocumentWindowAtTheTopLeftOfTheScreen) {
    struct Case {
        QStringList path;
        const char* className;
        const char* caption;
        const char* heading;
        QString hint;
        const char* document;
        Fitting fitting;
    };
    const QStringList sonic2020{"R2 Specifications", "Sonic 2020"}, sonic2022{"R2 Specifications", "Sonic 2022"},
        sonic2024{"R2 Specifications", "Sonic 2024"}, sonic2026{"R2 Specifications", "Sonic 2026"},
        i2ns{"R2 Specifications", "I2NS"}, motion{"Motionsensors", "R2Sonic "};
    const Case cases[] = {
        {sonic2020 + QStringList{"2020 Specification"}, "TSpec2020", "Sonic 2020 Specifications", "Sonic 2020", kHintA,
         "spec_sonic2020.pdf", Fitting::NaturalSize},
        {sonic2020 + QStringList{"2020 Acoustic Centre"}, "TDraw2020", "Sonic 2020 - Acoustic Centre", "Sonic 2020",
         kHintA, "centre_sonic2020.pdf", Fitting::Centred},
        {sonic2022 + QStringList{"2022 Specification"}, "TSpec2022", "Sonic 2022 Specifications", "Sonic 2022", kHintA,
         "spec_sonic2022.pdf", Fitting::NaturalSize},
        {sonic2022 + QStringList{"2022 Acoustic Centre"}, "TDraw2022", "Sonic 2022 - Acoustic Centre", "Sonic 2022",
         kHintB, "centre_sonic2022.pdf", Fitting::Centred},
        {sonic2024 + QStringList{"2024 Specification"}, "TSpec2024", "Sonic 2024 Specifications", "Sonic 2024", kHintA,
         "spec_sonic2024.pdf", Fitting::NaturalSize},
        {sonic2024 + QStringList{"2024 Acoustic Centre"}, "TDraw2024", "Sonic 2024 - Acoustic Centre", "Sonic 2024",
         kHintA, "centre_sonic2024.pdf", Fitting::Centred},
        {sonic2026 + QStringList{"2026 Specification"}, "TSpec2026", "Sonic 2026 Specifications", "Sonic 2026", kHintA,
         "spec_sonic2026.pdf", Fitting::NaturalSize},
        {sonic2026 + QStringList{"2026 Acoustic Centre"}, "TDraw2026", "Sonic 2026 Acoustic Centre",
         "Acoustic Centre 2026", kHintB, "centre_sonic2026.pdf", Fitting::ScaledToFit},
        {i2ns + QStringList{"I2NS - Type I"}, "TSpecI2NS_I", "I2NS Type I Specification", "I2NS - Type I", kHintA,
         "spec_i2ns_1.pdf", Fitting::NaturalSize},
        {i2ns + QStringList{"I2NS - Type II"}, "TSpecI2NS_II", "I2NS Type II Specification", "I2NS - Type II", kHintA,
         "spec_i2ns_2.pdf", Fitting::NaturalSize},
        {i2ns + QStringList{"I2NS - Type III"}, "TSpecI2NS_III", "I2NS Type III Specifications", "I2NS - Type III",
         kHintA, "spec_i2ns_3.pdf", Fitting::NaturalSize},
        {i2ns + QStringList{"I2NS/IMU dimensions"}, "TDrawI2NS", "I2NS IMU dimensions and centre", "I2NS IMU", kHintA,
         "centre_i2ns_imu.pdf", Fitting::Centred},
        {motion + QStringList{"I2NS Type I"}, "TSpecI2NS_I", "I2NS Type I Specification", "I2NS - Type I", kHintA,
         "spec_i2ns_1.pdf", Fitting::NaturalSize},
        {motion + QStringList{"I2NS Type II"}, "TSpecI2NS_II", "I2NS Type II Specification", "I2NS - Type II", kHintA,
         "spec_i2ns_2.pdf", Fitting::NaturalSize},
        {motion + QStringList{"I2NS Type III"}, "TSpecI2NS_III", "I2NS Type III Specifications", "I2NS - Type III",
         kHintA, "spec_i2ns_3.pdf", Fitting::NaturalSize},
    };
    app::Suite suite = app::CreateSuite();
    const QPoint screenTopLeft = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.join(" > ").toStdString());
        QPointer<QWidget> window = Open(suite, c.path);
        ASSERT_NE(window, nullptr);
        EXPECT_STREQ(window->metaObject()->className(), c.className);
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(window->size(), QSize(800, 750));
        EXPECT_EQ(window->pos(), screenTopLeft);
        EXPECT_EQ(window->findChild<QLabel*>("lblHeading")->text(), c.heading);
        EXPECT_EQ(window->findChild<QLabel*>("lblHint")->text(), c.hint);
        kit::DocumentView* view = ViewOf(window);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->DocumentName(), c.document);
        EXPECT_EQ(view->Document()->status(), QPdfDocument::Status::Ready);
        EXPECT_EQ(view->Document()->pageCount(), 1);
        EXPECT_EQ(view->PageFitting(), c.fitting);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()); // closing discards it
    }
}

TEST(ReferenceWindows, TwoCommandsGiveTwoIndependentWindowsAndADoubleClickOpensTheSheet) {
    app::Suite suite = app::CreateSuite();
    const QStringList path{"R2 Specifications", "Sonic 2022", "2022 Specification"};
    QWidget* first = Open(suite, path);
    QPointer<QWidget> second = Open(suite, path);
    ASSERT_TRUE(first != nullptr && second != nullptr && first != second);
    EXPECT_NE(ViewOf(first)->Document(), ViewOf(second)->Document());
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(ViewOf(second)->Document()->status(), QPdfDocument::Status::Ready);

    QStringList opened;
    const auto previous = kit::SetDesktopOpener([&](const QString& file) {
        opened << file;
        return true;
    });
    QTest::mouseDClick(ViewOf(second)->viewport(), Qt::LeftButton);
    kit::SetDesktopOpener(previous);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith("/spec_sonic2022.pdf"));
    EXPECT_EQ(opened[0], ViewOf(second)->Path());
    second->close();
}

TEST(ReferenceWindows, PagesAreFittedAsEachLayoutSaysAndFollowTheWindowsSize) {
    app::Suite suite = app::CreateSuite();

    // A specification sheet at its printed size, whole inside the window as it opens.
    QWidget* sheet = Open(suite, {"R2 Specifications", "Sonic 2024", "2024 Specification"});
    kit::DocumentView* natural = ViewOf(sheet);
    const int frame = 2 * natural->frameWidth();
    EXPECT_EQ(natural->zoomFactor(), 1.0);
    EXPECT_EQ(natural->size(), natural->NaturalPageSize() + QSize(frame, frame));
    EXPECT_EQ(PageRect(natural).size(), natural->NaturalPageSize());
    EXPECT_TRUE(QRect(QPoint(0, 0), sheet->size()).contains(natural->geometry()));
    sheet->close();

    // A drawing centred in a container along the window's foot, which keeps to
    // the foot and the full width when the window grows.
    QWidget* drawing = Open(suite, {"R2 Specifications", "Sonic 2024", "2024 Acoustic Centre"});
    kit::DocumentView* centred = ViewOf(drawing);
    for (const QSize size : {QSize(800, 750), QSize(1100, 900)}) {
        SCOPED_TRACE(size.width());
        drawing->resize(size);
        QTest::qWait(0);
        EXPECT_EQ(centred->geometry(), QRect(0, size.height() - 670, size.width(), 670));
        const QRect page = PageRect(centred);
        EXPECT_EQ(page.size(), centred->NaturalPageSize());
        const QMargins m = centred->documentMargins();
        EXPECT_LE(std::abs(m.left() - m.right()), 1);
        EXPECT_LE(std::abs(m.top() - m.bottom()), 1);
    }
    drawing->close();

    // The 2026 drawing scaled to fill the room below the heading, whatever its size.
    QWidget* scaled = Open(suite, {"R2 Specifications", "Sonic 2026", "2026 Acoustic Centre"});
    kit::DocumentView* fitted = ViewOf(scaled);
    for (const QSize size : {QSize(800, 750), QSize(1200, 700), QSize(500, 1000)}) {
        SCOPED_TRACE(size.width());
        scaled->resize(size);
        QTest::qWait(0);
        EXPECT_EQ(fitted->geometry(), QRect(0, 72, size.width(), size.height() - 72));
        const QMargins m = fitted->documentMargins();
        // One pair of margins is the edge kept round the page, the other centres it.
        EXPECT_TRUE(m.left() + m.right() <= 13 || m.top() + m.bottom() <= 13) << m.left() << " " << m.top();
        EXPECT_GE(std::min({m.left(), m.right(), m.top(), m.bottom()}), 5);
        EXPECT_LE(std::abs(m.left() - m.right()), 1);
        EXPECT_LE(std::abs(m.top() - m.bottom()), 1);
    }
    scaled->close();
}

// A sheet window made shorter or narrower than its page (a laptop's screen)
// ends the page at the window's edge and scrolls it; made large again, the
// page stands whole without scroll bars.
TEST(ReferenceWindows, ASheetThatDoesNotFitItsWindowScrolls) {
    app::Suite suite = app::CreateSuite();
    QWidget* window = Open(suite, {"R2 Specifications", "Sonic 2024", "2024 Specification"});
    ASSERT_NE(window, nullptr);
    kit::DocumentView* view = ViewOf(window);
    ASSERT_NE(view, nullptr);
    const QSize whole = view->size();
    EXPECT_LE(view->geometry().bottom(), window->height());
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());

    window->resize(700, 500);
    QTest::qWait(0);
    EXPECT_LE(view->geometry().bottom(), window->height() - 1);
    EXPECT_LE(view->geometry().right(), window->width() - 1);
    EXPECT_GT(view->verticalScrollBar()->maximum(), 0) << "the rest of the page is reached by scrolling";

    window->resize(800, 750);
    QTest::qWait(0);
    EXPECT_EQ(view->size(), whole);
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());
    window->close();
}

} // namespace reference_windows_test
