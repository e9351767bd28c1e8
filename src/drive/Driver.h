// tormalind-drive: runs the suite's real windows from a script, by control
// name, on whatever platform Qt was given (offscreen in tests). One command a
// line; every message and error box is printed instead of shown. The actions on
// controls are the ones the window tests use (automation/Controls.h), so a
// script and a test do the same thing to a window when they say the same thing.
#pragma once

#include <QLatin1String>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

#include "app/Suite.h"

class QObject;
class QWidget;

class Driver {
public:
    explicit Driver(QTextStream& out);
    ~Driver();

    // Runs one script line; false when it could not be carried out.
    bool Run(const QString& line);
    bool Failed() const { return failed_; }

private:
    // How a command reads the rest of its line. A name is one word; a text is
    // everything after the blank that ends the name, with the script escapes
    // undone; a number is a whole number.
    enum class Reads { Nothing, Name, Text, Number, NameText, NameNumber };
    struct Arguments {
        QString name;
        QString text;
        int number = 0;
    };
    struct Command {
        QLatin1String name;
        Reads reads;
        bool (Driver::*run)(const Arguments&);
    };
    // Every command of the script language, one row each.
    static const Command kCommands[];

    bool Execute(const QString& command, const QString& rest);
    bool Fail(const QString& reason);
    QObject* Find(const QString& name);
    // Finds control `name` and applies one of the shared actions to it.
    // Runs a control action on the named control; a refused one fails the
    // command with the action's reason.
    bool Act(const QString& name, const std::function<void(QObject*)>& action);
    bool Attempt(const std::function<void()>& action);
    template <void (*action)(QObject*, const QString&)> bool ActWithText(const Arguments& a);
    template <void (*action)(QObject*, int)> bool ActWithNumber(const Arguments& a);
    void PrintLine(const QString& name, const QString& text);

    bool Open(const Arguments& a);
    bool Menu(const Arguments& a);
    bool MenuTree(const Arguments& a);
    bool Click(const Arguments& a);
    bool Spin(const Arguments& a);
    bool Print(const Arguments& a);
    bool WaitFor(const Arguments& a);
    bool WaitLine(const Arguments& a);
    bool State(const Arguments& a);
    bool Series(const Arguments& a);
    bool Answer(const Arguments& a);
    bool Cancel(const Arguments& a);
    bool Wait(const Arguments& a);
    bool Shot(const Arguments& a);
    bool Close(const Arguments& a);

    QTextStream& out_;
    app::Suite suite_;
    QPointer<QWidget> current_;
    QStringList fileAnswers_; // queued answers of the next file dialogs; empty text = cancel
    bool failed_ = false;
};

// Undoes the script escapes \t \n \r \\ and adds them back for printing.
QString Unescape(const QString& text);
QString Escape(const QString& text);
