// The launcher's command at a menu path, by the texts the user reads.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

namespace support {

inline QAction* MenuAction(QMenuBar* bar, const QStringList& path) {
    QList<QAction*> actions = bar->actions();
    QAction* found = nullptr;
    for (const QString& text : path) {
        found = nullptr;
        for (QAction* action : actions) {
            if (action->text() == text) {
                found = action;
            }
        }
        if (found == nullptr) {
            return nullptr;
        }
        if (found->menu() != nullptr) {
            actions = found->menu()->actions();
        }
    }
    return found;
}

} // namespace support
