#include "drive/Driver.h"

#include "automation/Controls.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>

namespace {

QString Plain(const QString& menuText) {
    QString text = menuText;
    return text.remove(QLatin1Char('&'));
}

QAction* FindAction(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions) {
        if (!action->isSeparator() && (action->text() == text || Plain(action->text()) == text)) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

QString Unescape(const QString& text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text[++i];
            if (next == QLatin1Char('t')) {
                result += QLatin1Char('\t');
            } else if (next == QLatin1Char('n')) {
                result += QLatin1Char('\n');
            } else if (next == QLatin1Char('r')) {
                result += QLatin1Char('\r');
            } else {
                result += next;
            }
        } else {
            result += text[i];
        }
    }
    return result;
}

QString Escape(const QString& text) {
    QString result;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\\')) {
            result += QStringLiteral("\\\\");
        } else if (ch == QLatin1Char('\t')) {
            result += QStringLiteral("\\t");
        } else if (ch == QLatin1Char('\n')) {
            result += QStringLiteral("\\n");
        } else if (ch == QLatin1Char('\r')) {
            result += QStringLiteral("\\r");
        } else {
            result += ch;
        }
    }
    return result;
}

Driver::Driver(QTextStream& out) : out_(out) {
    common::SetMessagePresenter([this](common::MessageKind kind, const QString& text) {
        out_ << (kind == common::MessageKind::Error ? "error\t" : "message\t") << Escape(text) << Qt::endl;
    });
    // A question is printed and answered Yes, as a surveyor who has read it would.
    common::SetQuestionPresenter([this](const QString& text) {
        out_ << "question\t" << Escape(text) << Qt::endl;
        return true;
    });
    kit::SetFileDialogPresenter([this](const kit::FileDialogRequest&) {
        if (fileAnswers_.isEmpty()) {
            Fail(QStringLiteral("a file dialog opened without an answer or cancel before it"));
            return QString();
        }
        return fileAnswers_.takeFirst();
    });
    // A file handed to the desktop (a report, a document) is printed, not opened.
    kit::SetDesktopOpener([this](const QString& path) {
        out_ << "open\t" << Escape(path) << Qt::endl;
        return true;
    });
    Tutility_main::SetExitHandler([this] { out_ << "exit" << Qt::endl; });
    suite_ = app::CreateSuite();
    QObject::connect(suite_.launcher.get(), &Tutility_main::WindowOpened, suite_.launcher.get(),
                     [this](QWidget* window) { current_ = window; });
    suite_.launcher->show();
    current_ = suite_.launcher.get();
}

Driver::~Driver() {
    common::SetMessagePresenter({});
    common::SetQuestionPresenter({});
    kit::SetFileDialogPresenter({});
    kit::SetDesktopOpener({});
}

bool Driver::Fail(const QString& reason) {
    out_ << "fail\t" << Escape(reason) << Qt::endl;
    failed_ = true;
    return false;
}

bool Driver::Run(const QString& rawLine) {
    QString line = rawLine;
    if (line.endsWith(QLatin1Char('\r'))) {
        line.chop(1);
    }
    if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#'))) {
        return true;
    }
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString command = blank < 0 ? line : line.left(blank);
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1);
    return Execute(command, rest);
}

namespace {

// How long waitfor lets the event loop run before it gives up: far longer than
// any handler of the suite takes, short enough that a script that waits for
// the wrong text still ends.
constexpr int kWaitForLimitMs = 10000;

// A whole number, blanks around it allowed.
bool ReadNumber(const QString& text, int& number) { return common::TryParseInt(text.trimmed().toStdString(), number); }

} // namespace

template <void (*action)(QObject*, const QString&)> bool Driver::ActWithText(const Arguments& a) {
    return Act(a.name, [&](QObject* control) { action(control, a.text); });
}

template <void (*action)(QObject*, int)> bool Driver::ActWithNumber(const Arguments& a) {
    return Act(a.name, [&](QObject* control) { action(control, a.number); });
}

const Driver::Command Driver::kCommands[] = {
    {QLatin1String("open"), Reads::Name, &Driver::Open},
    {QLatin1String("menu"), Reads::Text, &Driver::Menu},
    {QLatin1String("menutree"), Reads::Nothing, &Driver::MenuTree},
    {QLatin1String("set"), Reads::NameText, &Driver::ActWithText<automation::SetText>},
    {QLatin1String("type"), Reads::NameText, &Driver::ActWithText<automation::Type>},
    {QLatin1String("backspace"), Reads::NameNumber, &Driver::ActWithNumber<automation::Backspace>},
    {QLatin1String("key"), Reads::NameText, &Driver::ActWithText<automation::Key>},
    {QLatin1String("click"), Reads::Name, &Driver::Click},
    {QLatin1String("choose"), Reads::NameText, &Driver::ActWithText<automation::Choose>},
    {QLatin1String("spin"), Reads::NameText, &Driver::Spin},
    {QLatin1String("scroll"), Reads::NameNumber, &Driver::ActWithNumber<automation::Scroll>},
    {QLatin1String("print"), Reads::Name, &Driver::Print},
    {QLatin1String("waitfor"), Reads::NameText, &Driver::WaitFor},
    {QLatin1String("waitline"), Reads::NameText, &Driver::WaitLine},
    {QLatin1String("state"), Reads::Name, &Driver::State},
    {QLatin1String("series"), Reads::NameNumber, &Driver::Series},
    {QLatin1String("answer"), Reads::Text, &Driver::Answer},
    {QLatin1String("cancel"), Reads::Nothing, &Driver::Cancel},
    {QLatin1String("wait"), Reads::Number, &Driver::Wait},
    {QLatin1String("shot"), Reads::Text, &Driver::Shot},
    {QLatin1String("close"), Reads::Nothing, &Driver::Close},
};

bool Driver::Execute(const QString& command, const QString& rest) {
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [&](const Command& candidate) { return command == candidate.name; });
    if (row == std::end(kCommands)) {
        return Fail(QStringLiteral("unknown command ") + command);
    }
    // "NAME TEXT": the name, then the text after exactly one blank.
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    const QString first = blank < 0 ? rest : rest.left(blank);
    const QString after = blank < 0 ? QString() : rest.mid(blank + 1);
    Arguments arguments;
    switch (row->reads) {
    case Reads::Nothing:
        if (!rest.isEmpty()) {
            return Fail(command + QStringLiteral(" takes nothing after it"));
        }
        break;
    case Reads::Name:
        if (rest.isEmpty() || blank >= 0) {
            return Fail(command + QStringLiteral(" takes one name"));
        }
        arguments.name = rest;
        break;
    case Reads::Text:
        arguments.text = Unescape(rest);
        break;
    case Reads::Number:
        if (!ReadNumber(rest, arguments.number)) {
            return Fail(command + QStringLiteral(" takes a whole number, not ") + rest);
        }
        break;
    case Reads::NameText:
    case Reads::NameNumber:
        if (first.isEmpty()) {
            return Fail(command + QStringLiteral(" takes a name first"));
        }
        arguments.name = first;
        arguments.text = Unescape(after);
        if (row->reads == Reads::NameNumber && !ReadNumber(after, arguments.number)) {
            return Fail(command + QStringLiteral(" takes a whole number after the name, not ") + after);
        }
        break;
    }
    return (this->*row->run)(arguments);
}

QObject* Driver::Find(const QString& name) {
    QString error;
    QObject* control = automation::FindControl(current_, name, &error);
    if (control == nullptr) {
        Fail(error);
    }
    return control;
}

bool Driver::Act(const QString& name, const std::function<void(QObject*)>& action) {
    QObject* control = Find(name);
    if (control == nullptr) {
        return false;
    }
    return Attempt([&] { action(control); });
}

bool Driver::Attempt(const std::function<void()>& action) {
    try {
        action();
    } catch (const common::UserError& refused) {
        return Fail(QString::fromStdString(refused.what()));
    }
    return true;
}

void Driver::PrintLine(const QString& name, const QString& text) { out_ << name << '\t' << Escape(text) << Qt::endl; }

bool Driver::Open(const Arguments& a) {
    if (suite_.launcher->OpenWindow(a.name) == nullptr) {
        return Fail(QStringLiteral("unknown window ") + a.name);
    }
    return true;
}

bool Driver::Menu(const Arguments& a) {
    QList<QAction*> actions = suite_.launcher->menuBar()->actions();
    const QStringList parts = a.text.split(QStringLiteral(" > "));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QAction* action = FindAction(actions, parts[i]);
        if (action == nullptr) {
            return Fail(QStringLiteral("no menu item ") + parts[i]);
        }
        if (!action->isEnabled()) {
            return Fail(QStringLiteral("menu item disabled ") + parts[i]);
        }
        if (i + 1 == parts.size()) {
            if (action->menu() != nullptr) {
                return Fail(QStringLiteral("menu item is a submenu ") + parts[i]);
            }
            action->trigger();
            return true;
        }
        if (action->menu() == nullptr) {
            return Fail(QStringLiteral("menu item has no submenu ") + parts[i]);
        }
        actions = action->menu()->actions();
    }
    return Fail(QStringLiteral("empty menu path"));
}

bool Driver::MenuTree(const Arguments&) {
    std::function<void(const QList<QAction*>&, int)> print = [&](const QList<QAction*>& actions, int level) {
        for (QAction* action : actions) {
            if (action->isSeparator()) {
                continue;
            }
            out_ << QString(level * 2, QLatin1Char(' ')) << action->text();
            if (!action->isEnabled()) {
                out_ << " [disabled]";
            }
            if (action->isChecked()) {
                out_ << " [checked]";
            }
            out_ << Qt::endl;
            if (action->menu() != nullptr) {
                print(action->menu()->actions(), level + 1);
            }
        }
    };
    print(suite_.launcher->menuBar()->actions(), 0);
    return true;
}

bool Driver::Click(const Arguments& a) {
    QWidget* launcher = suite_.launcher.get();
    if (current_ != nullptr && current_ != launcher && current_->objectName() != a.name &&
        current_->findChild<QObject*>(a.name) == nullptr) {
        // The launcher stays open beside every tool window, so its menu
        // commands stay in reach whichever window is current.
        QString error;
        if (auto* command = qobject_cast<QAction*>(automation::FindControl(launcher, a.name, &error))) {
            return Attempt([command] { automation::Click(command); });
        }
    }
    // A window the click opens (the line planner's survey lines) becomes current,
    // as a window a menu command opens does.
    const QWidgetList before = QApplication::topLevelWidgets();
    const bool done = Act(a.name, automation::Click);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowType() == Qt::Window && window->isVisible() && !before.contains(window)) {
            current_ = window;
            break;
        }
    }
    return done;
}

bool Driver::Spin(const Arguments& a) {
    return Act(a.name, [&](QObject* control) {
        if (a.text != QLatin1String("up") && a.text != QLatin1String("down")) {
            throw common::UserError(QStringLiteral("spin up or down, not ") + a.text);
        }
        automation::Spin(control, a.text == QLatin1String("up"));
    });
}

bool Driver::Print(const Arguments& a) {
    QObject* control = Find(a.name);
    if (control == nullptr) {
        return false;
    }
    const std::optional<QString> text = automation::ShownText(control);
    if (!text) {
        return Fail(QStringLiteral("nothing to print in ") + a.name);
    }
    PrintLine(a.name, *text);
    return true;
}

bool Driver::WaitLine(const Arguments& a) {
    QObject* control = Find(a.name);
    if (control == nullptr) {
        return false;
    }
    if (!automation::ShownText(control)) {
        return Fail(QStringLiteral("nothing to print in ") + a.name);
    }
    if (automation::WaitForLine(control, a.text, std::chrono::milliseconds(kWaitForLimitMs))) {
        PrintLine(a.name, a.text);
        return true;
    }
    return Fail(QStringLiteral("no line of %1 ends with \"%2\" after %3 s")
                    .arg(a.name, a.text, QString::number(kWaitForLimitMs / 1000)));
}

bool Driver::WaitFor(const Arguments& a) {
    QObject* control = Find(a.name);
    if (control == nullptr) {
        return false;
    }
    if (!automation::ShownText(control)) {
        return Fail(QStringLiteral("nothing to print in ") + a.name);
    }
    const QPointer<QObject> watched = control;
    if (automation::WaitForText(control, a.text, std::chrono::milliseconds(kWaitForLimitMs))) {
        PrintLine(a.name, a.text);
        return true;
    }
    if (watched == nullptr) {
        return Fail(QStringLiteral("%1 went away before it showed \"%2\"").arg(a.name, a.text));
    }
    return Fail(QStringLiteral("%1 shows \"%2\" after %3 s, not \"%4\"")
                    .arg(a.name, automation::ShownText(watched).value_or(QString()),
                         QString::number(kWaitForLimitMs / 1000), a.text));
}

bool Driver::State(const Arguments& a) {
    QObject* control = Find(a.name);
    if (control == nullptr) {
        return false;
    }
    // A control is a widget or a menu command; both can be hidden or greyed.
    bool visible = false;
    bool enabled = false;
    if (auto* command = qobject_cast<QAction*>(control)) {
        visible = command->isVisible();
        enabled = command->isEnabled();
    } else {
        auto* widget = static_cast<QWidget*>(control);
        visible = !widget->isHidden();
        enabled = widget->isEnabled();
    }
    out_ << a.name << "\tvisible=" << (visible ? 1 : 0) << " enabled=" << (enabled ? 1 : 0) << Qt::endl;
    return true;
}

bool Driver::Series(const Arguments& a) {
    QObject* control = Find(a.name);
    auto* chart = qobject_cast<kit::ChartView*>(control);
    if (chart == nullptr) {
        return control != nullptr && Fail(QStringLiteral("not a chart ") + a.name);
    }
    if (a.number < 0 || a.number >= chart->SeriesCount()) {
        return Fail(QStringLiteral("no series %1 in ").arg(a.number) + a.name);
    }
    const kit::ChartSeries& series = chart->GetSeries(a.number);
    QString points;
    for (const QPointF& p : series.Points()) {
        if (!points.isEmpty()) {
            points += QLatin1Char(' ');
        }
        points += QString::asprintf("(%.10g,%.10g)", p.x(), p.y());
    }
    out_ << a.name << '[' << a.number << "]\tactive=" << (series.IsActive() ? 1 : 0) << "\tcount=" << series.Count()
         << '\t' << points << Qt::endl;
    return true;
}

bool Driver::Shot(const Arguments& a) {
    QWidget* window = current_ != nullptr ? current_.data() : suite_.launcher.get();
    QTest::qWait(50); // let pending paints and asynchronous page renders land
    const QPixmap picture = window->window()->grab();
    if (!picture.save(a.text)) {
        return Fail(QStringLiteral("cannot save ") + a.text);
    }
    return true;
}

bool Driver::Answer(const Arguments& a) {
    fileAnswers_.append(a.text);
    return true;
}

bool Driver::Cancel(const Arguments&) {
    fileAnswers_.append(QString());
    return true;
}

bool Driver::Wait(const Arguments& a) {
    QTest::qWait(a.number);
    return true;
}

bool Driver::Close(const Arguments&) {
    if (current_ != nullptr) {
        current_->close();
    }
    current_ = suite_.launcher.get();
    return true;
}
