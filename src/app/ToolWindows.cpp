#include "app/ToolWindows.h"

#include "calculators/TConversion_tester.h"
#include "calculators/TGyrospeederror.h"
#include "calculators/TPressureConvert.h"
#include "commtools/TMaris_network.h"
#include "commtools/TMaris_terminal.h"
#include "coverage/TR2SonicCoverage.h"
#include "lineplan/Tsurveyplan.h"
#include "standards/TIHOForm.h"

#include <QWidget>
#include <functional>
#include <map>

namespace app {

namespace {

template <typename Window> QWidget* Make() { return new Window(); }

const std::map<QString, std::function<QWidget*()>>& Factories() {
    static const std::map<QString, std::function<QWidget*()>> factories = {
        {QStringLiteral("TIHOForm"), &Make<TIHOForm>},
        {QStringLiteral("TR2SonicCoverage"), &Make<TR2SonicCoverage>},
        {QStringLiteral("Tsurveyplan"), &Make<Tsurveyplan>},
        {QStringLiteral("TGyrospeederror"), &Make<TGyrospeederror>},
        {QStringLiteral("TPressureConvert"), &Make<TPressureConvert>},
        {QStringLiteral("TConversion_tester"), &Make<TConversion_tester>},
        {QStringLiteral("TMaris_terminal"), &Make<TMaris_terminal>},
        {QStringLiteral("TMaris_network"), &Make<TMaris_network>},
    };
    return factories;
}

} // namespace

QWidget* CreateToolWindow(const QString& className) {
    const auto& factories = Factories();
    const auto found = factories.find(className);
    if (found == factories.end()) {
        return nullptr;
    }
    QWidget* window = found->second();
    // The communication tools only hide on closing: their ports, sockets and
    // repeated sends go on until the program ends.
    const bool keeps = className == QLatin1String("TMaris_terminal") || className == QLatin1String("TMaris_network");
    window->setAttribute(Qt::WA_DeleteOnClose, !keeps);
    return window;
}

} // namespace app
