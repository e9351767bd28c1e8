// How a tool window reruns its computation. Every change of a field asks for a
// run; a run writes result fields and sometimes input fields (a value pulled
// into its range, an empty field refilled), and those writes ask again:
//
//   - a request while a run is going on is not nested inside it: it asks for
//     one more run when the present one ends, which then reads the final
//     inputs and finds nothing left to change;
//   - one more run follows at most a bounded number of times in a row, so two
//     fields that keep correcting each other cannot hang the window;
//   - a run that failed (it showed its error) is not repeated;
//   - the requests made inside a Batch (one user action that writes several
//     fields, such as choosing a sonar) give one run when the outermost batch
//     ends, with all of the action's values in place.
#pragma once

#include <functional>

namespace kit {

class Recompute {
public:
    // run: true when the run could compute, false when it stopped at an error.
    explicit Recompute(std::function<bool()> run, int maxRunsInARow = kMaxRunsInARow);

    void Request();
    bool Running() const { return running_; }

    class Batch {
    public:
        explicit Batch(Recompute& recompute);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Recompute& recompute_;
    };

    static constexpr int kMaxRunsInARow = 8;

private:
    std::function<bool()> run_;
    int maxRunsInARow_;
    int batchDepth_ = 0;
    bool running_ = false;
    bool pending_ = false;
};

} // namespace kit
