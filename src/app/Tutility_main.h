// The launcher: the suite's main window. It holds the seabed picture, the title
// and the menu from which each tool opens in a window of its own. It keeps no
// data: every command makes a new, independent tool window, except the TPU
// calculator, which exists once for the whole run and is only shown again.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

namespace Ui {
class Tutility_main;
}

class Tutility_main : public QMainWindow {
    Q_OBJECT
public:
    Tutility_main();
    ~Tutility_main() override;

    // A window that lives for the whole run (the TPU calculator), made at
    // start; its command shows it again. Not owned.
    void KeepWholeRunWindow(const QString& className, QWidget* window) { kept_.insert(className, window); }

    // Opens the tool window of that class as its menu command does and returns it
    // (nullptr for a class the suite does not have).
    QWidget* OpenWindow(const QString& className);

    // Ends the process; replaceable so the driver can observe "E&xit".
    static void SetExitHandler(std::function<void()> handler);

signals:
    void WindowOpened(QWidget* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectMenu();
    void ExitClick();

    std::unique_ptr<Ui::Tutility_main> ui;
    QHash<QString, QWidget*> kept_;
};
