#include "app/WindowMemory.h"

#include "kit/Remembered.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QRect>
#include <QSet>
#include <QTabWidget>
#include <vector>

namespace app {

namespace {

QString Key(const QString& className, const QString& what) {
    return QStringLiteral("windows/%1/%2").arg(className, what);
}

// The controls whose state is the surveyor's: named, once in the window, not
// Qt's own parts, not a result, not marked as never brought back.
template <typename T> std::vector<T*> Controls(QWidget* window) {
    QSet<QString> names;
    QSet<QString> twice;
    const auto all = window->findChildren<QWidget*>();
    for (const QWidget* widget : all) {
        if (names.contains(widget->objectName())) {
            twice.insert(widget->objectName());
        }
        names.insert(widget->objectName());
    }
    std::vector<T*> found;
    for (T* control : window->findChildren<T*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || twice.contains(name) ||
            !kit::Remembered(control)) {
            continue;
        }
        // Result fields and the field inside an editable list are not inputs.
        if (const auto* field = qobject_cast<const QLineEdit*>(control);
            field != nullptr && (field->isReadOnly() || qobject_cast<QComboBox*>(field->parent()) != nullptr)) {
            continue;
        }
        found.push_back(control);
    }
    return found;
}

void Keep(QWidget* window, const QString& className) {
    for (QAbstractButton* button : Controls<QAbstractButton>(window)) {
        if (button->isCheckable()) {
            kit::Remember(Key(className, button->objectName()), button->isChecked());
        }
    }
    for (QComboBox* list : Controls<QComboBox>(window)) {
        kit::Remember(Key(className, list->objectName()), list->currentText());
    }
    for (QTabWidget* tabs : Controls<QTabWidget>(window)) {
        kit::Remember(Key(className, tabs->objectName()), tabs->currentIndex());
    }
    for (QAbstractSlider* slider : Controls<QAbstractSlider>(window)) {
        kit::Remember(Key(className, slider->objectName()), slider->value());
    }
    for (QLineEdit* field : Controls<QLineEdit>(window)) {
        kit::Remember(Key(className, field->objectName()), field->text());
    }
    kit::Remember(Key(className, QStringLiteral("@place")), QRect(window->pos(), window->size()));
    kit::WriteRemembered();
}

void TakeBack(QWidget* window, const QString& className) {
    // Choices as clicks and choices from a list, so the window does what it
    // does for the surveyor's own (a sonar brings its figures).
    for (QAbstractButton* button : Controls<QAbstractButton>(window)) {
        const QVariant checked = kit::Recalled(Key(className, button->objectName()));
        if (button->isCheckable() && checked.isValid() && checked.toBool() != button->isChecked() &&
            (checked.toBool() || qobject_cast<QRadioButton*>(button) == nullptr)) {
            button->click();
        }
    }
    for (QComboBox* list : Controls<QComboBox>(window)) {
        const QVariant text = kit::Recalled(Key(className, list->objectName()));
        const int index = text.isValid() ? list->findText(text.toString()) : -1;
        if (index >= 0 && index != list->currentIndex()) {
            list->setCurrentIndex(index);
            emit list->activated(index);
        } else if (index < 0 && text.isValid() && list->isEditable()) {
            list->setEditText(text.toString());
        }
    }
    for (QTabWidget* tabs : Controls<QTabWidget>(window)) {
        const QVariant index = kit::Recalled(Key(className, tabs->objectName()));
        if (index.isValid() && index.toInt() >= 0 && index.toInt() < tabs->count()) {
            tabs->setCurrentIndex(index.toInt());
        }
    }
    for (QAbstractSlider* slider : Controls<QAbstractSlider>(window)) {
        const QVariant value = kit::Recalled(Key(className, slider->objectName()));
        if (value.isValid()) {
            slider->setValue(value.toInt());
        }
    }
    for (QLineEdit* field : Controls<QLineEdit>(window)) {
        const QVariant text = kit::Recalled(Key(className, field->objectName()));
        if (text.isValid() && text.toString() != field->text()) {
            field->setText(text.toString());
        }
    }
}

// Keeps a window's state when it is hidden (closing hides first) and stands
// for it in the list of open windows.
class Keeper : public QObject {
public:
    Keeper(QWidget* window, QString className) : QObject(window), window_(window), className_(std::move(className)) {
        window->installEventFilter(this);
        Live().push_back(this);
    }
    ~Keeper() override { Live().removeAll(this); }

    static QList<Keeper*>& Live() {
        static QList<Keeper*> live;
        return live;
    }
    void KeepNow() {
        if (window_ != nullptr && window_->isVisible()) {
            Keep(window_, className_);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Hide && !window_->isMinimized()) {
            Keep(window_, className_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> window_;
    QString className_;
};

} // namespace

void RememberWindow(QWidget* window, const QString& className) {
    if (!kit::KeepingBetweenRuns()) {
        return;
    }
    TakeBack(window, className);
    new Keeper(window, className);
    static const bool atTheEnd = [] {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, &KeepOpenWindows);
        return true;
    }();
    Q_UNUSED(atTheEnd);
}

bool RememberedPlace(const QString& className, QRect& place) {
    if (!kit::KeepingBetweenRuns()) {
        return false;
    }
    const QVariant value = kit::Recalled(Key(className, QStringLiteral("@place")));
    if (!value.isValid() || !value.toRect().isValid()) {
        return false;
    }
    place = value.toRect();
    return true;
}

void KeepOpenWindows() {
    for (Keeper* keeper : Keeper::Live()) {
        keeper->KeepNow();
    }
}

} // namespace app
