// Records every message, error box and question instead of showing it, so a test can
// assert what the user would have seen and how often.
#pragma once

#include "common/Messages.h"

#include <QString>
#include <QStringList>

class MessageLog {
public:
    static void Install() {
        common::SetMessagePresenter([](common::MessageKind kind, const QString& text) {
            Entries().append(
                (kind == common::MessageKind::Error ? QStringLiteral("error: ") : QStringLiteral("message: ")) + text);
        });
        common::SetQuestionPresenter([](const QString& text) {
            Entries().append(QStringLiteral("question: ") + text);
            return Proceed();
        });
    }
    // How the next questions are answered: go on (the start) or call it off.
    static bool& Proceed() {
        static bool proceed = true;
        return proceed;
    }
    static QStringList& Entries() {
        static QStringList entries;
        return entries;
    }
    static QStringList Take() {
        QStringList taken = Entries();
        Entries().clear();
        return taken;
    }
};
