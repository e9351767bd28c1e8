#pragma once

#include "commtools/TMaris_network.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QTcpServer>

#include <gtest/gtest.h>

// A network tool window on a free port, and its log entries without stamps.

// A free port for this test: the system picks it, then it is released.
inline quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class NetworkWindow : public testing::Test {
protected:
    void SetUp() override {
        MessageLog::Take();
        ui.SetText("ePort", QString::number(port));
    }
    // The log memo's entries without their time stamps.
    QStringList LogEntries() const {
        QStringList entries;
        for (const QString& line : ui.Text("Memo1").split(QLatin1Char('\n'))) {
            const qsizetype stamp = line.indexOf(QStringLiteral("] "));
            if (line.startsWith(QLatin1Char('[')) && stamp > 0) {
                entries << line.mid(stamp + 2);
            }
        }
        return entries;
    }

    quint16 port = FreePort();
    TMaris_network window;
    support::Controls ui{&window};
};
