// The test side of the control actions: a failed action fails the running test.
#include "support/Controls.h"

#include "common/Messages.h"

#include <gtest/gtest.h>

namespace support {

QObject* Controls::Find(const QString& name) const {
    QString error;
    QObject* control = automation::FindControl(window_, name, &error);
    if (control == nullptr) {
        // Later actions on the missing control fail the test again; none crashes.
        ADD_FAILURE() << error.toStdString();
        static QObject nothing;
        return &nothing;
    }
    return control;
}

void Controls::Check(const QString& error) {
    if (!error.isEmpty()) {
        ADD_FAILURE() << error.toStdString();
    }
}

void Controls::Attempt(const std::function<void()>& action) {
    try {
        action();
    } catch (const common::UserError& refused) {
        ADD_FAILURE() << refused.what();
    }
}

QString Controls::Text(const QString& name) const {
    QObject* control = Find(name);
    const std::optional<QString> text = automation::ShownText(control);
    Check(text ? QString() : QStringLiteral("nothing to read in ") + name);
    return text.value_or(QString());
}

} // namespace support
