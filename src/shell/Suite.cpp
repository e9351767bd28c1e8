#include "Suite.h"

#include "ConversionRegistry.h"
#include "TTPU_Calculator.h"

namespace shell {

Suite CreateSuite() {
    // The unit conversion registry is read-only data for the whole run: filled
    // before any window can look at it.
    calculators::FillConversions();
    Suite suite;
    suite.launcher = std::make_unique<Tutility_main>();
    suite.tpu = std::make_unique<TTPU_Calculator>();
    suite.launcher->SetTpuWindow(suite.tpu.get());
    return suite;
}

} // namespace shell
