// The windows that exist from start to end of a run: the launcher and the one
// TPU calculator, made in that order (the launcher, made first, is the main
// window; the TPU window starts hidden and keeps its values for the whole run).
#pragma once

#include "app/Tutility_main.h"

#include <QString>

#include <memory>

namespace app {

struct Suite {
    std::unique_ptr<QWidget> tpu;
    std::unique_ptr<Tutility_main> launcher;
};

Suite CreateSuite();

// What to tell the surveyor when the suite's pictures and documents are not in
// `folder` (a program copied away from its data): the folder it looked in.
// Empty when they are there.
QString MissingDataMessage(const QString& folder);

} // namespace app
