#include "app/Suite.h"
#include "commtools/StatusLog.h"
#include "standards/TIHOForm.h"
#include "support/Controls.h"
#include "support/MenuPath.h"
#include "support/MessageLog.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <cfenv>
#include <cmath>
#include <gtest/gtest.h>

namespace launcher_test {

using support::MenuAction;

TEST(Startup, ArithmeticNeverTrapsAndNumbersUseAPoint) {
    // The shared test main ran the suite's process set-up.
    EXPECT_EQ(fegetexcept(), 0);
    volatile double zero = 0.0;
    EXPECT_TRUE(std::isinf(1.0 / zero));
    EXPECT_TRUE(std::isnan(std::sqrt(-1.0 + zero)));
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral("."));
    EXPECT_EQ(QLocale().toString(2.5), QStringLiteral("2.5"));
}

// The title bars and the task bar take the windows' icon from the application: it is the
// suite's icon, standing on a clear ground rather than in an opaque square.
TEST(Startup, EveryWindowCarriesTheIconOnAClearGround) {
    app::Suite suite = app::CreateSuite();
    const QIcon icon = suite.launcher->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(63, 63)), 0);
    EXPECT_EQ(qAlpha(image.pixel(32, 32)), 255);
}

TEST(Launcher, EachCommandMakesAnIndependentCalculator) {
    app::Suite suite = app::CreateSuite();
    QAction* command = MenuAction(suite.launcher->menuBar(), {"R2 Calculations", "Survey Specifications (IHO etc)"});
    ASSERT_NE(command, nullptr);

    QList<QWidget*> opened;
    QObject::connect(suite.launcher.get(), &Tutility_main::WindowOpened, suite.launcher.get(),
                     [&](QWidget* window) { opened << window; });
    command->trigger();
    command->trigger();
    ASSERT_EQ(opened.size(), 2);
    auto* first = qobject_cast<TIHOForm*>(opened[0]);
    auto* second = qobject_cast<TIHOForm*>(opened[1]);
    ASSERT_TRUE(first != nullptr && second != nullptr && first != second);
    EXPECT_EQ(first->windowTitle(), "Tormalind Survey Specification Calculator");

    const support::Controls firstUi(first);
    const support::Controls secondUi(second);
    firstUi.Type("edt_Depth", QStringLiteral("x")); // the bad depth of one window...
    firstUi.Key("edt_Depth", QStringLiteral("Return"));
    EXPECT_EQ(MessageLog::Take().size(), 2);
    secondUi.Type("edt_Depth", QStringLiteral("0"));
    EXPECT_EQ(secondUi.Text("edt_TVU"), "±0.79 m"); // ...is not the other's: depth 100
    EXPECT_EQ(firstUi.Text("edt_Depth"), "");

    // A closed tool window is gone for good; the next command makes a new one.
    QPointer<QWidget> closed = first;
    first->close();
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    second->close();
}

// Every command of the menu opens its window through the one table; Help stays
// disabled and Exit ends the run, so neither opens one.
TEST(Launcher, EveryMenuCommandOpensItsWindow) {
    app::Suite suite = app::CreateSuite();
    QList<QWidget*> opened;
    QObject::connect(suite.launcher.get(), &Tutility_main::WindowOpened, suite.launcher.get(),
                     [&](QWidget* window) { opened << window; });
    int commands = 0;
    for (QAction* action : suite.launcher->findChildren<QAction*>()) {
        if (action->menu() != nullptr || action->objectName() == QLatin1String("mnuExit") ||
            action->objectName().isEmpty()) {
            continue;
        }
        if (action->objectName() == QLatin1String("mnuHelp")) {
            EXPECT_FALSE(action->isEnabled());
            continue;
        }
        SCOPED_TRACE(action->objectName().toStdString());
        const qsizetype before = opened.size();
        action->trigger();
        ASSERT_EQ(opened.size(), before + 1);
        EXPECT_TRUE(opened.last()->isVisible());
        opened.last()->close();
        ++commands;
    }
    EXPECT_EQ(commands, 25);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Launcher, TpuCalculatorIsOneWindowForTheWholeRun) {
    app::Suite suite = app::CreateSuite();
    EXPECT_FALSE(suite.tpu->isVisible());
    EXPECT_EQ(suite.tpu->windowTitle(), "Tormalind ApS  TPU Calculator");
    QWidget* shown = suite.launcher->OpenWindow(QStringLiteral("TTPU_Calculator"));
    EXPECT_EQ(shown, suite.tpu.get());
    EXPECT_TRUE(shown->isVisible());
    shown->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(suite.tpu->isVisible()); // hidden, not destroyed
    EXPECT_EQ(suite.launcher->OpenWindow(QStringLiteral("TTPU_Calculator")), suite.tpu.get());
}

TEST(Launcher, FixedMenuStatesAndExit) {
    app::Suite suite = app::CreateSuite();
    QMenuBar* bar = suite.launcher->menuBar();

    QAction* typeI = MenuAction(bar, {"R2 Specifications", "I2NS", "I2NS - Type I"});
    ASSERT_NE(typeI, nullptr);
    EXPECT_TRUE(typeI->isChecked());
    typeI->trigger(); // choosing it does not clear the mark
    EXPECT_TRUE(typeI->isChecked());

    QAction* help = MenuAction(bar, {"Help", "Help"});
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->isEnabled());

    int exits = 0;
    Tutility_main::SetExitHandler([&] { ++exits; });
    MenuAction(bar, {"E&xit"})->trigger();
    EXPECT_EQ(exits, 1);
    Tutility_main::SetExitHandler([] { std::_Exit(0); });

    EXPECT_EQ(suite.launcher->windowTitle(), "Tormalind");
    EXPECT_EQ(suite.launcher->centralWidget()->size(), QSize(694, 501));
}

// E&xit ends the program at once, but not before the status log has put the
// entries still waiting for the event loop into the file.
TEST(Launcher, ExitWritesTheQueuedLogEntriesFirst) {
    app::Suite suite = app::CreateSuite();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    commtools::StatusLog log(path, commtools::StatusLog::kSerialTerminalLimit);
    log.Add(commtools::LogLevel::Simple, QStringLiteral("COM"), QStringLiteral("Port closed"));
    ASSERT_GT(log.QueuedBytes(), 0);

    QByteArray atExit;
    Tutility_main::SetExitHandler([&] {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            atExit = file.readAll();
        }
    });
    MenuAction(suite.launcher->menuBar(), {"E&xit"})->trigger();
    Tutility_main::SetExitHandler([] { std::_Exit(0); });
    EXPECT_TRUE(atExit.endsWith("COM: Port closed\r\n")) << atExit.constData();
}

// A program copied away from its data folder says where it looked, once, at start.
TEST(DataFolder, AMissingFolderIsNamedAndAPresentOneSaysNothing) {
    QTemporaryDir empty;
    EXPECT_EQ(app::MissingDataMessage(empty.path()),
              QStringLiteral("The pictures and documents of Tormalind UTILITY were not found; windows will show them "
                             "blank.\nThey were looked for in %1")
                  .arg(QDir::toNativeSeparators(empty.path())));
    EXPECT_EQ(app::MissingDataMessage(QStringLiteral(TORMALIND_ASSET_DIR)), QString());
}

// Docks and task bars group the suite's windows under its desktop entry.
TEST(DesktopEntry, TheApplicationCarriesTheEntrysName) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("tormalind-utility"));
    QFile entry(QStringLiteral(TORMALIND_SOURCE_DIR "/assets/tormalind-utility.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    // The window class of X11 is the program's name.
    EXPECT_TRUE(entry.readAll().split('\n').contains("StartupWMClass=tormalind"));
}

} // namespace launcher_test
