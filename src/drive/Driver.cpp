#include "drive/Driver.h"

#include "common/Messages.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "kit/UpDown.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

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

// The texts of a radio group, which is a group box of radio buttons.
QList<QRadioButton*> RadioItems(QGroupBox* group) { return group->findChildren<QRadioButton*>(); }

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
    kit::SetFileDialogPresenter([this](const kit::FileDialogRequest&) {
        if (fileAnswers_.isEmpty()) {
            Fail(QStringLiteral("a file dialog opened without an answer or cancel before it"));
            return QString();
        }
        return fileAnswers_.takeFirst();
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
    kit::SetFileDialogPresenter({});
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

bool Driver::Execute(const QString& command, const QString& rest) {
    // "NAME TEXT": the name, then the text after exactly one blank.
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    const QString name = blank < 0 ? rest : rest.left(blank);
    const QString text = blank < 0 ? QString() : Unescape(rest.mid(blank + 1));

    if (command == QLatin1String("open")) {
        return Open(rest);
    }
    if (command == QLatin1String("menu")) {
        return Menu(rest);
    }
    if (command == QLatin1String("menutree")) {
        MenuTree();
        return true;
    }
    if (command == QLatin1String("set")) {
        return SetText(name, text);
    }
    if (command == QLatin1String("type")) {
        return Type(name, text);
    }
    if (command == QLatin1String("backspace")) {
        return Backspace(name, text.toInt());
    }
    if (command == QLatin1String("click")) {
        return Click(rest);
    }
    if (command == QLatin1String("choose")) {
        return Choose(name, text);
    }
    if (command == QLatin1String("spin")) {
        return Spin(name, text);
    }
    if (command == QLatin1String("scroll")) {
        return Scroll(name, text.toInt());
    }
    if (command == QLatin1String("print")) {
        return Print(rest);
    }
    if (command == QLatin1String("state")) {
        return State(rest);
    }
    if (command == QLatin1String("series")) {
        return Series(name, text.toInt());
    }
    if (command == QLatin1String("answer")) {
        fileAnswers_.append(Unescape(rest));
        return true;
    }
    if (command == QLatin1String("cancel")) {
        fileAnswers_.append(QString());
        return true;
    }
    if (command == QLatin1String("wait")) {
        QTest::qWait(rest.toInt());
        return true;
    }
    if (command == QLatin1String("shot")) {
        return Shot(rest);
    }
    if (command == QLatin1String("close")) {
        if (current_ != nullptr) {
            current_->close();
        }
        current_ = suite_.launcher.get();
        return true;
    }
    return Fail(QStringLiteral("unknown command ") + command);
}

QWidget* Driver::Find(const QString& name) {
    if (current_ == nullptr) {
        Fail(QStringLiteral("no current window"));
        return nullptr;
    }
    if (current_->objectName() == name) {
        return current_;
    }
    QWidget* widget = current_->findChild<QWidget*>(name);
    if (widget == nullptr) {
        Fail(QStringLiteral("no control ") + name);
    }
    return widget;
}

bool Driver::Open(const QString& className) {
    if (suite_.launcher->OpenWindow(className) == nullptr) {
        return Fail(QStringLiteral("unknown window ") + className);
    }
    return true;
}

bool Driver::Menu(const QString& path) {
    QList<QAction*> actions = suite_.launcher->menuBar()->actions();
    const QStringList parts = path.split(QStringLiteral(" > "));
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

void Driver::MenuTree() {
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
}

bool Driver::SetText(const QString& name, const QString& text) {
    QWidget* widget = Find(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
        return true;
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->setPlainText(text);
        return true;
    }
    return widget != nullptr && Fail(QStringLiteral("not an edit ") + name);
}

bool Driver::Type(const QString& name, const QString& text) {
    QWidget* widget = Find(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, text);
        return true;
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, text);
        return true;
    }
    return widget != nullptr && Fail(QStringLiteral("not an edit ") + name);
}

bool Driver::Backspace(const QString& name, int count) {
    auto* edit = qobject_cast<QLineEdit*>(Find(name));
    if (edit == nullptr) {
        return Fail(QStringLiteral("not an edit ") + name);
    }
    edit->setFocus();
    edit->end(false);
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    return true;
}

bool Driver::Click(const QString& name) {
    if (current_ != nullptr) {
        // Menu items first: they are actions, not widgets.
        for (QWidget* owner : {current_.data(), static_cast<QWidget*>(suite_.launcher.get())}) {
            if (auto* action = owner->findChild<QAction*>(name)) {
                if (!action->isEnabled()) {
                    return Fail(QStringLiteral("disabled ") + name);
                }
                action->trigger();
                return true;
            }
        }
    }
    QWidget* widget = Find(name);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (!button->isEnabled()) {
            return Fail(QStringLiteral("disabled ") + name);
        }
        button->click();
        return true;
    }
    return widget != nullptr && Fail(QStringLiteral("not a button ") + name);
}

bool Driver::Choose(const QString& name, const QString& item) {
    QWidget* widget = Find(name);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const int index = combo->findText(item, Qt::MatchExactly);
        if (index < 0) {
            return Fail(QStringLiteral("no item ") + item);
        }
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        const auto found = list->findItems(item, Qt::MatchExactly);
        if (found.isEmpty()) {
            return Fail(QStringLiteral("no item ") + item);
        }
        list->setCurrentItem(found.first());
        emit list->itemClicked(found.first());
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        for (QRadioButton* button : RadioItems(group)) {
            if (button->text() == item) {
                button->click();
                return true;
            }
        }
        return Fail(QStringLiteral("no item ") + item);
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == item) {
                tabs->setCurrentIndex(i);
                return true;
            }
        }
        return Fail(QStringLiteral("no tab ") + item);
    }
    return widget != nullptr && Fail(QStringLiteral("nothing to choose in ") + name);
}

bool Driver::Spin(const QString& name, const QString& direction) {
    auto* spinner = qobject_cast<kit::UpDown*>(Find(name));
    if (spinner == nullptr) {
        return Fail(QStringLiteral("not a spinner ") + name);
    }
    if (direction == QLatin1String("up")) {
        spinner->UpButton()->click();
    } else if (direction == QLatin1String("down")) {
        spinner->DownButton()->click();
    } else {
        return Fail(QStringLiteral("spin up or down, not ") + direction);
    }
    return true;
}

bool Driver::Scroll(const QString& name, int position) {
    auto* slider = qobject_cast<QAbstractSlider*>(Find(name));
    if (slider == nullptr) {
        return Fail(QStringLiteral("not a scroll bar ") + name);
    }
    slider->setValue(position);
    return true;
}

bool Driver::Print(const QString& name) {
    QWidget* widget = Find(name);
    if (widget == nullptr) {
        return false;
    }
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        text = edit->text();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        text = combo->currentText();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        text = memo->toPlainText();
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        text = rich->toPlainText();
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        text = lines.join(QLatin1Char('\n'));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        for (QRadioButton* button : RadioItems(group)) {
            if (button->isChecked()) {
                text = button->text();
            }
        }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        text = tabs->tabText(tabs->currentIndex());
    } else if (auto* check = qobject_cast<QAbstractButton*>(widget); check != nullptr && check->isCheckable()) {
        text = check->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
        text = QString::number(slider->value());
    } else {
        return Fail(QStringLiteral("nothing to print in ") + name);
    }
    out_ << name << '\t' << Escape(text) << Qt::endl;
    return true;
}

bool Driver::State(const QString& name) {
    QWidget* widget = Find(name);
    if (widget == nullptr) {
        return false;
    }
    out_ << name << "\tvisible=" << (widget->isHidden() ? 0 : 1) << " enabled=" << (widget->isEnabled() ? 1 : 0)
         << Qt::endl;
    return true;
}

bool Driver::Series(const QString& name, int index) {
    QWidget* widget = Find(name);
    auto* chart = qobject_cast<kit::ChartView*>(widget);
    if (chart == nullptr) {
        return widget != nullptr && Fail(QStringLiteral("not a chart ") + name);
    }
    if (index < 0 || index >= chart->SeriesCount()) {
        return Fail(QStringLiteral("no series %1 in ").arg(index) + name);
    }
    const kit::ChartSeries& series = chart->GetSeries(index);
    QString points;
    for (const QPointF& p : series.Points()) {
        if (!points.isEmpty()) {
            points += QLatin1Char(' ');
        }
        points += QString::asprintf("(%.10g,%.10g)", p.x(), p.y());
    }
    out_ << name << '[' << index << "]\tactive=" << (series.IsActive() ? 1 : 0) << "\tcount=" << series.Count() << '\t'
         << points << Qt::endl;
    return true;
}

bool Driver::Shot(const QString& file) {
    QWidget* window = current_ != nullptr ? current_.data() : suite_.launcher.get();
    QTest::qWait(50); // let pending paints and asynchronous page renders land
    const QPixmap picture = window->window()->grab();
    if (!picture.save(file)) {
        return Fail(QStringLiteral("cannot save ") + file);
    }
    return true;
}
