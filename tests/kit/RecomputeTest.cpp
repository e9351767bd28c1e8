// How a window's computation reruns: once more after a run that wrote a field,
// never nested, bounded, not after an error, and once per batch.
#include "kit/Recompute.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
