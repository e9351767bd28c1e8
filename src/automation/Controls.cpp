#include "automation/Controls.h"

#include "common/Messages.h"

#include "kit/DocumentView.h"

#include "kit/UpDown.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPdfDocument>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace automation {

namespace {

// A radio group is a group box of radio buttons.
QList<QRadioButton*> RadioItems(QGroupBox* group) { return group->findChildren<QRadioButton*>(); }

QString NotA(const char* what, QObject* control) {
    return QStringLiteral("not %1: %2").arg(QLatin1String(what), control->objectName());
}

void TypeInto(QWidget* widget, const std::function<void()>& keys) {
    widget->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->end(false);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->moveCursor(QTextCursor::End);
    }
    keys();
}

bool IsEdit(QObject* control) {
    return qobject_cast<QLineEdit*>(control) != nullptr || qobject_cast<QPlainTextEdit*>(control) != nullptr;
}

} // namespace

QObject* FindControl(QWidget* window, const QString& name, QString* error) {
    if (window == nullptr) {
        *error = QStringLiteral("no current window");
        return nullptr;
    }
    if (window->objectName() == name) {
        return window;
    }
    QList<QObject*> found;
    for (QObject* child : window->findChildren<QObject*>(name)) {
        // A widget of a window of its own (an about box over the launcher) is
        // that window's control; the window's menu actions are its own.
        const bool ownWidget = child->isWidgetType() && static_cast<QWidget*>(child)->window() == window;
        if (ownWidget || qobject_cast<QAction*>(child) != nullptr) {
            found.append(child);
        }
    }
    if (found.isEmpty()) {
        *error = QStringLiteral("no control ") + name;
        return nullptr;
    }
    if (found.size() > 1) {
        *error = QStringLiteral("%1 controls are named %2").arg(found.size()).arg(name);
        return nullptr;
    }
    return found.first();
}

void SetText(QObject* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        memo->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && combo->isEditable()) {
        // A typed entry of an editable list counts once it is confirmed.
        combo->setEditText(text);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    } else if (control->property("plainText").isValid()) {
        // A view of a tool's own that shows lines of text, set as a memo is.
        control->setProperty("plainText", text);
    } else {
        throw common::UserError(NotA("an edit", control));
    }
}

void Type(QObject* control, const QString& text) {
    if (!IsEdit(control)) {
        throw common::UserError(NotA("an edit", control));
    }
    auto* widget = static_cast<QWidget*>(control);
    TypeInto(widget, [&] { QTest::keyClicks(widget, text); });
}

void Backspace(QObject* control, int count) {
    if (!IsEdit(control)) {
        throw common::UserError(NotA("an edit", control));
    }
    auto* widget = static_cast<QWidget*>(control);
    TypeInto(widget, [&] {
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(widget, Qt::Key_Backspace);
        }
    });
}

void Key(QObject* control, const QString& keyName) {
    auto* widget = qobject_cast<QWidget*>(control);
    if (widget == nullptr) {
        throw common::UserError(NotA("a control that takes keys", control));
    }
    if (keyName.size() == 1) {
        // One character is one keystroke as Type makes it. A key sequence knows
        // keys, not letters: it reads "X" as Key_X, which types a lower-case x.
        widget->setFocus();
        QTest::keyClicks(widget, keyName);
        return;
    }
    const QKeySequence sequence = QKeySequence::fromString(keyName, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) {
        throw common::UserError(QStringLiteral("no key ") + keyName);
    }
    const QKeyCombination combination = sequence[0];
    widget->setFocus();
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
}

void Click(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (!action->isEnabled()) {
            throw common::UserError(QStringLiteral("disabled ") + control->objectName());
        }
        action->trigger();
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button == nullptr) {
        throw common::UserError(NotA("a button", control));
    }
    if (!button->isEnabled()) {
        throw common::UserError(QStringLiteral("disabled ") + control->objectName());
    }
    button->click();
}

void Choose(QObject* control, const QString& item) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->findText(item, Qt::MatchExactly);
        if (index < 0) {
            throw common::UserError(QStringLiteral("no item ") + item);
        }
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return;
    }
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        const auto found = list->findItems(item, Qt::MatchExactly);
        if (found.isEmpty()) {
            throw common::UserError(QStringLiteral("no item ") + item);
        }
        list->setCurrentItem(found.first());
        emit list->itemClicked(found.first());
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        for (QRadioButton* button : RadioItems(group)) {
            if (button->text() == item) {
                button->click();
                return;
            }
        }
        throw common::UserError(QStringLiteral("no item ") + item);
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == item) {
                tabs->setCurrentIndex(i);
                return;
            }
        }
        throw common::UserError(QStringLiteral("no tab ") + item);
    }
    throw common::UserError(QStringLiteral("nothing to choose in ") + control->objectName());
}

void Spin(QObject* control, bool up) {
    auto* spinner = qobject_cast<kit::UpDown*>(control);
    if (spinner == nullptr) {
        throw common::UserError(NotA("a spinner", control));
    }
    (up ? spinner->UpButton() : spinner->DownButton())->click();
}

void Scroll(QObject* control, int position) {
    auto* slider = qobject_cast<QAbstractSlider*>(control);
    if (slider == nullptr) {
        throw common::UserError(NotA("a scroll bar", control));
    }
    slider->setValue(position);
}

std::optional<QString> ShownText(QObject* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->currentText();
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        return memo->toPlainText();
    }
    if (auto* rich = qobject_cast<QTextEdit*>(control)) {
        return rich->toPlainText();
    }
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        return lines.join(QLatin1Char('\n'));
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QString chosen;
        for (QRadioButton* button : RadioItems(group)) {
            if (button->isChecked()) {
                chosen = button->text();
            }
        }
        return chosen;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        return tabs->tabText(tabs->currentIndex());
    }
    if (auto* view = qobject_cast<kit::DocumentView*>(control)) {
        // The file a reader would open, once it has been read; nothing while it cannot be.
        const bool shown = view->Document()->status() == QPdfDocument::Status::Ready;
        return shown ? view->Path() : QString();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        if (button->isCheckable()) {
            return button->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
        }
        return button->text();
    }
    if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        return QString::number(slider->value());
    }
    // A view of a tool's own that shows lines of text (the network tool's log)
    // says what it shows as a text memo does.
    if (const QVariant text = control->property("plainText"); text.isValid()) {
        return text.toString();
    }
    return std::nullopt;
}

bool WaitForLine(QObject* control, const QString& text, std::chrono::milliseconds timeout) {
    const QPointer<QObject> watched = control;
    const auto hasLine = [&] {
        if (watched == nullptr) {
            return false;
        }
        for (const QString& line : ShownText(watched).value_or(QString()).split(QLatin1Char('\n'))) {
            if (line.endsWith(text)) {
                return true;
            }
        }
        return false;
    };
    return QTest::qWaitFor(hasLine, int(timeout.count()));
}

bool WaitForText(QObject* control, const QString& text, std::chrono::milliseconds timeout) {
    const QPointer<QObject> watched = control;
    return QTest::qWaitFor([&] { return watched != nullptr && ShownText(watched) == text; }, int(timeout.count()));
}

} // namespace automation
