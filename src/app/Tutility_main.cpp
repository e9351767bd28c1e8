#include "app/Tutility_main.h"

#include "app/TAboutBox.h"
#include "app/ToolWindows.h"
#include "commtools/StatusLog.h"
#include "kit/WindowParts.h"
#include "ui_Tutility_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

namespace {

std::function<void()>& ExitHandler() {
    static std::function<void()> handler = [] {
        std::fflush(nullptr);
        std::_Exit(0); // at once: no window is asked, the suite stores nothing
    };
    return handler;
}

struct MenuItem {
    const char* path;      // "Menu > Submenu > Item"
    const char* className; // window opened, empty for none
    const char* objectName;
};

// The launcher's menu in order; the column of window classes is the suite's map
// from commands to tools. Two I2NS paths open the same specification windows.
constexpr MenuItem kMenu[] = {
    {"R2 Calculations > R2 Coverage Calculation", "TR2SonicCoverage", "mnuCoverage"},
    {"R2 Calculations > R2 Line Planner", "Tsurveyplan", "mnuLinePlanner"},
    {"R2 Calculations > R2 TPU Calculator", "TTPU_Calculator", "mnuTPU"},
    {"R2 Calculations > Survey Specifications (IHO etc)", "TIHOForm", "mnuSurveySpecifications"},
    {"R2 Specifications > Sonic 2020 > 2020 Specification", "TSpec2020", "mnuSpec2020"},
    {"R2 Specifications > Sonic 2020 > 2020 Acoustic Centre", "TDraw2020", "mnuDraw2020"},
    {"R2 Specifications > Sonic 2022 > 2022 Specification", "TSpec2022", "mnuSpec2022"},
    {"R2 Specifications > Sonic 2022 > 2022 Acoustic Centre", "TDraw2022", "mnuDraw2022"},
    {"R2 Specifications > Sonic 2024 > 2024 Specification", "TSpec2024", "mnuSpec2024"},
    {"R2 Specifications > Sonic 2024 > 2024 Acoustic Centre", "TDraw2024", "mnuDraw2024"},
    {"R2 Specifications > Sonic 2026 > 2026 Specification", "TSpec2026", "mnuSpec2026"},
    {"R2 Specifications > Sonic 2026 > 2026 Acoustic Centre", "TDraw2026", "mnuDraw2026"},
    {"R2 Specifications > I2NS > I2NS - Type I", "TSpecI2NS_I", "mnuI2NS_TypeI"},
    {"R2 Specifications > I2NS > I2NS - Type II", "TSpecI2NS_II", "mnuI2NS_TypeII"},
    {"R2 Specifications > I2NS > I2NS - Type III", "TSpecI2NS_III", "mnuI2NS_TypeIII"},
    {"R2 Specifications > I2NS > I2NS/IMU dimensions", "TDrawI2NS", "mnuI2NS_Dimensions"},
    {"Motionsensors > R2Sonic  > I2NS Type I", "TSpecI2NS_I", "mnuMotionTypeI"},
    {"Motionsensors > R2Sonic  > I2NS Type II", "TSpecI2NS_II", "mnuMotionTypeII"},
    {"Motionsensors > R2Sonic  > I2NS Type III", "TSpecI2NS_III", "mnuMotionTypeIII"},
    {"Gyro\u00B4s > Gyro Error Calculation", "TGyrospeederror", "mnuGyroError"},
    {"Conversions > Unit Conversion", "TConversion_tester", "mnuUnitConversion"},
    {"Conversions > Pressure Conversion", "TPressureConvert", "mnuPressureConversion"},
    {"COM testing > Maristerminal (Serial COM TEST)", "TMaris_terminal", "mnuMarisTerminal"},
    {"COM testing > Marisnetwork (TCP/IP UDP Testing)", "TMaris_network", "mnuMarisNetwork"},
    {"Help > Help", "", "mnuHelp"},
    {"Help > About", "TAboutBox", "mnuAbout"},
};

} // namespace

Tutility_main::Tutility_main() : ui(std::make_unique<Ui::Tutility_main>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    BuildMenu();
    // The client area is fixed; the frame adds the menu bar above it.
    setFixedSize(ui->img_Background->width(), ui->img_Background->height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

Tutility_main::~Tutility_main() = default;

void Tutility_main::BuildMenu() {
    QMenuBar* bar = menuBar();
    for (const MenuItem& item : kMenu) {
        const QStringList parts = QString::fromUtf8(item.path).split(QStringLiteral(" > "));
        QWidget* container = bar;
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            QMenu* found = nullptr;
            for (QAction* action : container->actions()) {
                if (action->menu() != nullptr && action->text() == parts[i]) {
                    found = action->menu();
                }
            }
            if (found == nullptr) {
                found = new QMenu(parts[i], container);
                container->addAction(found->menuAction());
            }
            container = found;
        }
        auto* action = new QAction(parts.last(), container);
        action->setObjectName(QString::fromLatin1(item.objectName));
        container->addAction(action);
        const QString className = QString::fromLatin1(item.className);
        if (className.isEmpty()) {
            action->setEnabled(false);
            continue;
        }
        connect(action, &QAction::triggered, this, [this, className] { OpenWindow(className); });
        if (className == QLatin1String("TSpecI2NS_I") && parts[1] == QLatin1String("I2NS")) {
            // A fixed mark of the menu design: no command sets or clears it.
            action->setCheckable(true);
            action->setChecked(true);
            connect(action, &QAction::toggled, action, [action] { action->setChecked(true); });
        }
    }
    auto* exitAction = new QAction(QStringLiteral("E&xit"), bar);
    exitAction->setObjectName(QStringLiteral("mnuExit"));
    bar->addAction(exitAction);
    connect(exitAction, &QAction::triggered, this, &Tutility_main::ExitClick);
}

QWidget* Tutility_main::OpenWindow(const QString& className) {
    app::ToolWindow tool;
    if (className == QLatin1String("TTPU_Calculator")) {
        tool.window = tpuWindow_;
    } else if (className == QLatin1String("TAboutBox")) {
        tool.window = new TAboutBox(this);
    } else {
        tool = app::CreateToolWindow(className);
    }
    QWidget* window = tool.window;
    if (window == nullptr) {
        return nullptr;
    }
    if (!window->isVisible()) {
        const QScreen* screen = QApplication::primaryScreen();
        const QRect desk = screen != nullptr ? screen->availableGeometry() : QRect();
        QPoint wanted;
        switch (tool.placement) {
        case app::Placement::OverLauncher:
            wanted = frameGeometry().center() - window->rect().center();
            break;
        case app::Placement::ScreenCentre:
            wanted = desk.center() - window->rect().center();
            break;
        case app::Placement::ScreenTopLeft:
            wanted = desk.topLeft();
            break;
        }
        // A window larger than the screen (the TPU calculator on a laptop)
        // opens inside it, whole, and scrolls its content.
        kit::PlaceOnScreen(window, wanted, desk, frameGeometry().size() - size());
    }
    window->show();
    window->raise();
    window->activateWindow();
    emit WindowOpened(window);
    return window;
}

void Tutility_main::SetExitHandler(std::function<void()> handler) { ExitHandler() = std::move(handler); }

void Tutility_main::ExitClick() {
    // _Exit stops the log writers where they stand: the communication tools'
    // last entries are written first.
    commtools::StatusLog::FlushAll();
    ExitHandler()();
}

void Tutility_main::closeEvent(QCloseEvent* event) {
    // Closing the launcher ends the run and takes every tool window with it.
    event->accept();
    QApplication::quit();
}
