// Every edit field of every tool window takes the texts a surveyor can type or
// paste by mistake: the largest and smallest whole numbers, numbers beyond
// any double, not-a-number, blanks, a comma decimal, ten thousand digits or
// letters, an emoji. Each must leave a window that answers within 2 s, in
// bounded memory, without a crash; message boxes are answered by the log.
#include "app/ToolWindows.h"
#include "support/MessageLog.h"
#include "support/Responsiveness.h"
#include "tpu/TTPU_Calculator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <memory>

namespace extreme_input_test {

namespace {

qint64 ResidentMiB() { return ResidentKiB() / 1024; }

// The fixture of the sweep: one table of texts for every field.
QStringList ExtremeTexts() {
    return {QStringLiteral("2147483647"),
            QStringLiteral("-2147483648"),
            QStringLiteral("99999999999"),
            QStringLiteral("1e308"),
            QStringLiteral("-1e308"),
            QStringLiteral("1e-320"),
            QStringLiteral("nan"),
            QStringLiteral("inf"),
            QStringLiteral("0"),
            QStringLiteral("-0"),
            QStringLiteral(" "),
            QString(),
            QStringLiteral("1,5"),
            QString(10000, QLatin1Char('9')),
            QString(10000, QLatin1Char('x')),
            QString::fromUtf8("\xF0\x9F\x8C\x8A")};
}

const char* const kWindows[] = {"TIHOForm",        "TR2SonicCoverage", "TTPU_Calculator",    "Tsurveyplan",
                                "TGyrospeederror", "TPressureConvert", "TConversion_tester", "TMaris_terminal",
                                "TMaris_network",  "TSurveyLines"};

} // namespace

TEST(ExtremeInput, EveryFieldOfEveryToolWindowStaysUsable) {
    const QStringList texts = ExtremeTexts();
    int fields = 0;
    for (const char* className : kWindows) {
        SCOPED_TRACE(className);
        const std::unique_ptr<QWidget> window(app::CreateToolWindow(QString::fromLatin1(className)).window);
        ASSERT_NE(window, nullptr);
        window->show();
        QCoreApplication::processEvents();
        MessageLog::Take();
        for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
            if (field->objectName().isEmpty() || field->isReadOnly()) {
                continue;
            }
            ++fields;
            const QString start = field->text();
            for (const QString& text : texts) {
                QElapsedTimer clock;
                clock.start();
                field->setText(text);
                QCoreApplication::processEvents();
                const qint64 took = clock.elapsed();
                EXPECT_LT(took, 2000) << field->objectName().toStdString() << " \"" << text.left(20).toStdString()
                                      << "\"";
                const qint64 memory = ResidentMiB();
                ASSERT_LT(memory, 300) << field->objectName().toStdString() << " \"" << text.left(20).toStdString()
                                       << "\"";
                MessageLog::Take();
            }
            field->setText(start);
            QCoreApplication::processEvents();
            MessageLog::Take();
        }
    }
    // The sweep reached the fields it is for (a window that lost its fields
    // would pass it unseen).
    EXPECT_GE(fields, 70);
    std::printf("extreme input: %d fields of %zu windows, %lld texts each, peak resident %lld MiB\n", fields,
                std::size(kWindows), static_cast<long long>(texts.size()), static_cast<long long>(ResidentMiB()));
}

} // namespace extreme_input_test
