// The control actions in the form a test wants them: each fails the running
// test with its reason instead of returning it, so a test reads as the steps a
// user takes. The actions themselves are the driver's (automation/Controls.h).
#pragma once

#include "automation/Controls.h"

#include <QObject>
#include <QString>
#include <QWidget>

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

    void SetText(const QString& name, const QString& text) const { Check(automation::SetText(Find(name), text)); }
    void Type(const QString& name, const QString& text) const { Check(automation::Type(Find(name), text)); }
    void Backspace(const QString& name, int count = 1) const { Check(automation::Backspace(Find(name), count)); }
    void Key(const QString& name, const QString& key) const { Check(automation::Key(Find(name), key)); }
    void Click(const QString& name) const { Check(automation::Click(Find(name))); }
    void Choose(const QString& name, const QString& item) const { Check(automation::Choose(Find(name), item)); }
    void SpinUp(const QString& name) const { Check(automation::Spin(Find(name), true)); }
    void SpinDown(const QString& name) const { Check(automation::Spin(Find(name), false)); }
    void Scroll(const QString& name, int position) const { Check(automation::Scroll(Find(name), position)); }
    QString Text(const QString& name) const;

private:
    QObject* Find(const QString& name) const;
    static void Check(const QString& error);

    QWidget* window_;
};

} // namespace support
