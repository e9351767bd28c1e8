#include "app/Tutility_main.h"

#include "app/ToolWindows.h"
#include "app/WindowMemory.h"
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

} // namespace

Tutility_main::Tutility_main() : ui(std::make_unique<Ui::Tutility_main>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    ConnectMenu();
    // The client area is fixed; the frame adds the menu bar above it.
    setFixedSize(ui->img_Background->width(), ui->img_Background->height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

Tutility_main::~Tutility_main() = default;

void Tutility_main::ConnectMenu() {
    for (const app::ToolEntry& tool : app::ToolTable()) {
        if (tool.command == nullptr) {
            continue;
        }
        QAction* command = (*ui).*tool.command;
        const QString className = QString::fromLatin1(tool.className);
        connect(command, &QAction::triggered, this, [this, className] { OpenWindow(className); });
    }
    // A ticked command is a fixed mark of the menu's design: no command sets or clears it.
    for (QAction* action : findChildren<QAction*>()) {
        if (action->isCheckable()) {
            connect(action, &QAction::toggled, action, [action] { action->setChecked(true); });
        }
    }
    connect(ui->mnuExit, &QAction::triggered, this, &Tutility_main::ExitClick);
}

QWidget* Tutility_main::OpenWindow(const QString& className) {
    const app::ToolEntry* entry = app::FindTool(className);
    if (entry == nullptr) {
        return nullptr;
    }
    app::ToolWindow tool;
    if (entry->lifetime == app::Lifetime::WholeRun) {
        tool = {kept_.value(className), entry->placement};
    } else {
        tool = app::CreateToolWindow(className, this);
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
        // Where the surveyor left the last window of its kind, when the suite
        // remembers it.
        if (QRect place; app::RememberedPlace(className, place)) {
            window->resize(place.size());
            wanted = place.topLeft();
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
    // _Exit skips the end of the application object, which writes the log
    // entries the communication tools still hold: they are written first.
    commtools::StatusLog::FlushAll();
    app::KeepOpenWindows();
    ExitHandler()();
}

void Tutility_main::closeEvent(QCloseEvent* event) {
    // Closing the launcher ends the run and takes every tool window with it.
    event->accept();
    QApplication::quit();
}
