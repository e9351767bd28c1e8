#include "kit/Recompute.h"

#include <utility>

namespace kit {

Recompute::Recompute(std::function<bool()> run, int maxRunsInARow)
    : run_(std::move(run)), maxRunsInARow_(maxRunsInARow) {}

void Recompute::Request() {
    if (running_ || batchDepth_ > 0) {
        pending_ = true;
        return;
    }
    for (int runs = 0; runs < maxRunsInARow_; ++runs) {
        running_ = true;
        pending_ = false;
        const bool computed = run_();
        running_ = false;
        if (!computed || !pending_) {
            break;
        }
    }
    pending_ = false;
}

Recompute::Batch::Batch(Recompute& recompute) : recompute_(recompute) { ++recompute_.batchDepth_; }

Recompute::Batch::~Batch() {
    if (--recompute_.batchDepth_ == 0 && recompute_.pending_) {
        recompute_.pending_ = false;
        recompute_.Request();
    }
}

} // namespace kit
