#include "Suite.h"

#include "TTPU_Calculator.h"

namespace shell {

Suite CreateSuite() {
    Suite suite;
    suite.launcher = std::make_unique<Tutility_main>();
    suite.tpu = std::make_unique<TTPU_Calculator>();
    suite.launcher->SetTpuWindow(suite.tpu.get());
    return suite;
}

} // namespace shell
