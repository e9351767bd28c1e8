#include "app/Suite.h"

#include "tpu/TTPU_Calculator.h"

namespace app {

Suite CreateSuite() {
    Suite suite;
    suite.launcher = std::make_unique<Tutility_main>();
    suite.tpu = std::make_unique<TTPU_Calculator>();
    suite.launcher->SetTpuWindow(suite.tpu.get());
    return suite;
}

} // namespace app
