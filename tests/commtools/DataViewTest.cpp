// The network tool's data memo as a terminal screen: what each sequence of
// datagrams and typed keys leaves in it, and what the keys send.
#include "commtools/DataView.h"
#include "commtools/ReceiveDisplay.h"

#include <gtest/gtest.h>

#include <QTest>

#include <vector>

namespace data_view_test {

namespace {

struct Step {
    QByteArray received; // one datagram, or
    QString typed;       // keys typed into the memo
};

struct Case {
    const char* what;
    QString start;
    std::vector<Step> steps;
    QString shown;
    QByteArray sent;
};

} // namespace

TEST(DataView, ShowsDatagramsAndTypedKeysAsATerminalScreen) {
    const QByteArray longLine(commtools::kLongestShownLine + 3, 'x');
    const std::vector<Case> cases = {
        {"line ends of a device are one new line each", "", {{"a\r\nb\rc\nd", {}}}, "a\nb\nc\nd", {}},
        {"a CR LF split over two datagrams is one line end", "", {{"ab\r", {}}, {"\ncd", {}}}, "ab\ncd", {}},
        {"NUL bytes never show, not even between CR and LF", "", {{QByteArray("a\r\0\nb\0c", 8), {}}}, "a\nbc", {}},
        {"a lone backspace deletes, at a line start it joins the line above",
         "",
         {{"ab\r\n", {}}, {"\b", {}}, {"\b", {}}},
         "a",
         {}},
        {"other lone control bytes type nothing", "", {{"ab", {}}, {"\x07", {}}, {"\t", {}}}, "ab\t", {}},
        {"a line that never ends is broken",
         "",
         {{longLine, {}}},
         QString(commtools::kLongestShownLine, 'x') + "\nxxx",
         {}},
        {"the break counts across datagrams and before the caret",
         "Memo2",
         {{QByteArray(1000, 'x'), {}}, {QByteArray(30, 'x') + "\r\nab", {}}},
         QString(commtools::kLongestShownLine, 'x') + "\nxxxxxx\nabMemo2",
         {}},
        {"set text leaves the caret at its start", "Memo2", {{"ab\r\n", {}}, {"cd", {}}}, "ab\ncdMemo2", {}},
        {"typed keys show where they are typed and go out as bytes",
         "",
         {{"Hi", {}}, {{}, "x"}, {{}, "\r"}, {{}, "yz\b"}},
         "Hix\ny",
         "x\ryz\b"},
    };
    for (const Case& c : cases) {
        commtools::DataView view;
        QByteArray sent;
        view.SetSender([&sent](const QByteArray& bytes) { sent += bytes; });
        view.setPlainText(c.start);
        for (const Step& step : c.steps) {
            if (!step.received.isNull()) {
                view.Show(step.received);
            } else {
                QTest::keyClicks(&view, step.typed);
            }
        }
        EXPECT_EQ(view.toPlainText(), c.shown) << c.what;
        EXPECT_EQ(sent, c.sent) << c.what;
    }
}

// A peer that never stops: the memo keeps its newest lines within its limit.
TEST(DataView, KeepsTheNewestLinesWithinItsLimit) {
    commtools::DataView view;
    view.SetLimit(1000);
    for (int i = 0; i < 500; ++i) {
        view.Show(QByteArray::number(i).rightJustified(8, '0') + "\r\n");
    }
    const QString shown = view.toPlainText();
    EXPECT_LE(shown.size(), 1000);
    EXPECT_GT(shown.size(), 900);
    EXPECT_TRUE(shown.endsWith("00000499\n")) << shown.right(40).toStdString();
}

} // namespace data_view_test
