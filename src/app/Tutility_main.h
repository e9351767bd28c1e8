// The launcher: the suite's main window. It holds the seabed picture, the title
// and the menu from which each tool opens in a window of its own. It keeps no
// data: every command makes a new, independent tool window, except the TPU
// calculator, which exists once for the whole run and is only shown again.
#pragma once

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

    // The single TPU calculator made at start; not owned.
    void SetTpuWindow(QWidget* window) { tpuWindow_ = window; }

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
    void BuildMenu();
    void ExitClick();

    std::unique_ptr<Ui::Tutility_main> ui;
    QWidget* tpuWindow_ = nullptr;
};
