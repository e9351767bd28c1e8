// The control actions in the form a test wants them: each fails the running
// test with its reason instead of returning it, so a test reads as the steps a
// user takes. The actions themselves are the driver's (automation/Controls.h).
#pragma once

#include "automation/Controls.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

namespace support {

class Controls {
public:
    explicit Controls(QWidget* window) : window_(window) {}

    // The control of that name as type T; fails the test when there is none.
    template <typename T = QWidget> T* Get(const QString& name) const {
        T* control = qobject_cast<T*>(Find(name));
        Check(control != nullptr ? QString()
                                 : QStringLiteral("%1 is not a %2").arg(name, T::staticMetaObject.className()));
        return control;
    }

    void SetText(const QString& name, const QString& text) const { Do(automation::SetText, name, text); }
    void Type(const QString& name, const QString& text) const { Do(automation::Type, name, text); }
    void Backspace(const QString& name, int count = 1) const { Do(automation::Backspace, name, count); }
    void Key(const QString& name, const QString& key) const { Do(automation::Key, name, key); }
    void Click(const QString& name) const { Do(automation::Click, name); }
    void Choose(const QString& name, const QString& item) const { Do(automation::Choose, name, item); }
    void SpinUp(const QString& name) const { Do(automation::Spin, name, true); }
    void SpinDown(const QString& name) const { Do(automation::Spin, name, false); }
    void Scroll(const QString& name, int position) const { Do(automation::Scroll, name, position); }
    QString Text(const QString& name) const;

private:
    QObject* Find(const QString& name) const;
    static void Check(const QString& error);
    // Runs the action on the named control; one the window refuses fails the
    // test with its reason.
    template <typename... Params, typename... Args>
    void Do(void (*action)(QObject*, Params...), const QString& name, const Args&... args) const {
        Attempt([&] { action(Find(name), args...); });
    }
    static void Attempt(const std::function<void()>& action);

    QWidget* window_;
};

} // namespace support
