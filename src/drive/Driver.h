// tormalind-drive: runs the suite's real windows from a script, by control
// name, on whatever platform Qt was given (offscreen in tests). One command a
// line; every message and error box is printed instead of shown.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "app/Suite.h"

class QWidget;

class Driver {
public:
    explicit Driver(QTextStream& out);
    ~Driver();

    // Runs one script line; false when it could not be carried out.
    bool Run(const QString& line);
    bool Failed() const { return failed_; }

private:
    bool Execute(const QString& command, const QString& rest);
    bool Fail(const QString& reason);
    QWidget* Find(const QString& name);

    bool Open(const QString& className);
    bool Menu(const QString& path);
    void MenuTree();
    bool SetText(const QString& name, const QString& text);
    bool Type(const QString& name, const QString& text);
    bool Backspace(const QString& name, int count);
    bool Click(const QString& name);
    bool Choose(const QString& name, const QString& item);
    bool Spin(const QString& name, const QString& direction);
    bool Scroll(const QString& name, int position);
    bool Print(const QString& name);
    bool State(const QString& name);
    bool Series(const QString& name, int index);
    bool Shot(const QString& file);

    QTextStream& out_;
    app::Suite suite_;
    QPointer<QWidget> current_;
    QStringList fileAnswers_; // queued answers of the next file dialogs; empty text = cancel
    bool failed_ = false;
};

// Undoes the script escapes \t \n \r \\ and adds them back for printing.
QString Unescape(const QString& text);
QString Escape(const QString& text);
