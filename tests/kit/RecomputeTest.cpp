// How a window's computation reruns: once more after a run that wrote a field,
// never nested, bounded, not after an error, and once per batch; and the two
// ways a window writes a field, as an input or as what a run computed with.
#include "kit/Recompute.h"
#include "kit/TypedFields.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace recompute_test {

namespace {

// A run that writes `writes[i]` fields on its i-th pass (each write asks for a
// run) and fails on the pass `failsOn`.
struct Script {
    std::vector<int> writes;
    int failsOn = -1;
};

} // namespace

TEST(Recompute, AFieldWrittenByARunGivesOneMoreRunAfterItNeverInsideIt) {
    struct Case {
        const char* reason;
        Script script;
        int runs;
    };
    const Case cases[] = {
        {"a run that writes no input field runs once", {{0}}, 1},
        {"three writes in one run still give one more run", {{3, 0}}, 2},
        {"a correction that settles on the second pass", {{1, 1, 0}}, 3},
        {"two fields correcting each other forever stop at the bound", {std::vector<int>(20, 1)}, 8},
        {"a run that fails shows its error once and is not repeated", {{1, 1, 0}, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        int runs = 0;
        int depth = 0;
        int deepest = 0;
        kit::Recompute* self = nullptr;
        kit::Recompute recompute([&] {
            const int pass = runs++;
            deepest = std::max(deepest, ++depth);
            const int writes = pass < static_cast<int>(c.script.writes.size()) ? c.script.writes[pass] : 0;
            for (int w = 0; w < writes; ++w) {
                self->Request();
            }
            --depth;
            return pass != c.script.failsOn;
        });
        self = &recompute;
        recompute.Request();
        EXPECT_EQ(runs, c.runs);
        EXPECT_EQ(deepest, 1);
        EXPECT_FALSE(recompute.Running());
        // What one request left over does not leak into the next.
        runs = 0;
        recompute.Request();
        EXPECT_GE(runs, 1);
    }
}

TEST(Recompute, ABatchGathersItsRequestsIntoOneRunWhenTheOutermostEnds) {
    int runs = 0;
    kit::Recompute recompute([&] {
        ++runs;
        return true;
    });
    {
        kit::Recompute::Batch outer(recompute);
        recompute.Request();
        {
            kit::Recompute::Batch inner(recompute);
            recompute.Request();
            recompute.Request();
        }
        EXPECT_EQ(runs, 0) << "the inner batch's end is not the action's end";
    }
    EXPECT_EQ(runs, 1);
    { kit::Recompute::Batch quiet(recompute); }
    EXPECT_EQ(runs, 1) << "a batch without a request runs nothing";
}

// An input written by an action computes once for the whole action; what a
// run shows (a result, a correction it already uses) never asks for a run,
// and is held beside a field being typed in rather than written under it.
TEST(Recompute, WrittenInputsComputeOncePerActionAndShownTextsNever) {
    QWidget window;
    QLineEdit first(&window);
    QLineEdit second(&window);
    QLabel result(&window);
    int runs = 0;
    kit::Recompute recompute([&] {
        ++runs;
        return true;
    });
    kit::TypedFields typed(nullptr, [&] { recompute.Request(); });
    typed.Watch({&first, &second});
    for (QLineEdit* field : {&first, &second}) {
        QObject::connect(field, &QLineEdit::textChanged, [&] { recompute.Request(); });
    }
    {
        kit::Recompute::Batch action(recompute);
        typed.Write(&first, QStringLiteral("1"));
        typed.Write(&second, QStringLiteral("2"));
    }
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(second.text(), "2");
    typed.Write(&first, QStringLiteral("1"));
    EXPECT_EQ(runs, 1) << "the text a field holds is no change";

    typed.Show(&second, QStringLiteral("3"));
    typed.Show(&result, QStringLiteral("4"));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(second.text(), "3");
    EXPECT_EQ(result.text(), "4");

    second.setModified(true); // a person typing in it
    typed.Show(&second, QStringLiteral("5"));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(second.text(), "3");
    EXPECT_EQ(typed.Text(&second), "5");
    typed.Write(&second, QStringLiteral("6"));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(second.text(), "3");
    EXPECT_EQ(typed.Text(&second), "6");
}

} // namespace recompute_test
