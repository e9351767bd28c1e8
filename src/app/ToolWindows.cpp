#include "app/ToolWindows.h"

#include "app/ReferenceWindows.h"
#include "calculators/TConversion_tester.h"
#include "calculators/TGyrospeederror.h"
#include "calculators/TPressureConvert.h"
#include "commtools/TMaris_network.h"
#include "commtools/TMaris_terminal.h"
#include "coverage/TR2SonicCoverage.h"
#include "lineplan/Tsurveyplan.h"
#include "standards/TIHOForm.h"

#include <QWidget>
#include <map>

namespace app {

namespace {

template <typename Window> QWidget* Make() { return new Window(); }

struct Factory {
    QWidget* (*make)();
    Placement placement;
    // The communication tools only hide on closing: their ports, sockets and
    // repeated sends go on until the program ends. Every other window is gone
    // for good once closed.
    bool keptWhenClosed;
};

const std::map<QString, Factory>& Factories() {
    using enum Placement;
    static const std::map<QString, Factory> factories = {
        {QStringLiteral("TIHOForm"), {&Make<TIHOForm>, OverLauncher, false}},
        {QStringLiteral("TR2SonicCoverage"), {&Make<TR2SonicCoverage>, OverLauncher, false}},
        {QStringLiteral("Tsurveyplan"), {&Make<Tsurveyplan>, OverLauncher, false}},
        {QStringLiteral("TGyrospeederror"), {&Make<TGyrospeederror>, OverLauncher, false}},
        {QStringLiteral("TPressureConvert"), {&Make<TPressureConvert>, OverLauncher, false}},
        {QStringLiteral("TConversion_tester"), {&Make<TConversion_tester>, OverLauncher, false}},
        {QStringLiteral("TMaris_terminal"), {&Make<TMaris_terminal>, ScreenCentre, true}},
        {QStringLiteral("TMaris_network"), {&Make<TMaris_network>, ScreenCentre, true}},
        {QStringLiteral("TSpec2020"), {&Make<TSpec2020>, ScreenTopLeft, false}},
        {QStringLiteral("TSpec2022"), {&Make<TSpec2022>, ScreenTopLeft, false}},
        {QStringLiteral("TSpec2024"), {&Make<TSpec2024>, ScreenTopLeft, false}},
        {QStringLiteral("TSpec2026"), {&Make<TSpec2026>, ScreenTopLeft, false}},
        {QStringLiteral("TSpecI2NS_I"), {&Make<TSpecI2NS_I>, ScreenTopLeft, false}},
        {QStringLiteral("TSpecI2NS_II"), {&Make<TSpecI2NS_II>, ScreenTopLeft, false}},
        {QStringLiteral("TSpecI2NS_III"), {&Make<TSpecI2NS_III>, ScreenTopLeft, false}},
        {QStringLiteral("TDraw2020"), {&Make<TDraw2020>, ScreenTopLeft, false}},
        {QStringLiteral("TDraw2022"), {&Make<TDraw2022>, ScreenTopLeft, false}},
        {QStringLiteral("TDraw2024"), {&Make<TDraw2024>, ScreenTopLeft, false}},
        {QStringLiteral("TDraw2026"), {&Make<TDraw2026>, ScreenTopLeft, false}},
        {QStringLiteral("TDrawI2NS"), {&Make<TDrawI2NS>, ScreenTopLeft, false}},
    };
    return factories;
}

} // namespace

ToolWindow CreateToolWindow(const QString& className) {
    const auto& factories = Factories();
    const auto found = factories.find(className);
    if (found == factories.end()) {
        return {};
    }
    QWidget* window = found->second.make();
    window->setAttribute(Qt::WA_DeleteOnClose, !found->second.keptWhenClosed);
    return {window, found->second.placement};
}

} // namespace app
