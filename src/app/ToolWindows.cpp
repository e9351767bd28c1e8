#include "app/ToolWindows.h"

#include "app/ReferenceWindows.h"
#include "app/TAboutBox.h"
#include "app/WindowMemory.h"
#include "calculators/TConversion_tester.h"
#include "calculators/TGyrospeederror.h"
#include "calculators/TPressureConvert.h"
#include "commtools/TMaris_network.h"
#include "commtools/TMaris_terminal.h"
#include "coverage/TR2SonicCoverage.h"
#include "kit/BackgroundWork.h"
#include "kit/WindowParts.h"
#include "lineplan/TSurveyLines.h"
#include "lineplan/Tsurveyplan.h"
#include "standards/TIHOForm.h"
#include "tpu/TTPU_Calculator.h"
#include "ui_Tutility_main.h"

#include <QWidget>
#include <algorithm>

namespace app {

namespace {

template <typename Window> QWidget* Make(QWidget*) { return new Window(); }

// The about box belongs to the launcher.
QWidget* MakeAboutBox(QWidget* launcher) { return new TAboutBox(launcher); }

using LauncherMenu = Ui::Tutility_main;
using enum Placement;
using enum Lifetime;

constexpr ToolEntry kTools[] = {
    {&LauncherMenu::mnuCoverage, "TR2SonicCoverage", &Make<TR2SonicCoverage>, OverLauncher, ClosedForGood},
    {&LauncherMenu::mnuLinePlanner, "Tsurveyplan", &Make<Tsurveyplan>, OverLauncher, ClosedForGood},
    // Opened by the line planner's button; here so that scripts and tests open it too.
    {nullptr, "TSurveyLines", &Make<TSurveyLines>, OverLauncher, ClosedForGood},
    {&LauncherMenu::mnuTPU, "TTPU_Calculator", &Make<TTPU_Calculator>, OverLauncher, WholeRun},
    {&LauncherMenu::mnuSurveySpecifications, "TIHOForm", &Make<TIHOForm>, OverLauncher, ClosedForGood},
    {&LauncherMenu::mnuSpec2020, "TSpec2020", &Make<TSpec2020>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuDraw2020, "TDraw2020", &Make<TDraw2020>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuSpec2022, "TSpec2022", &Make<TSpec2022>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuDraw2022, "TDraw2022", &Make<TDraw2022>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuSpec2024, "TSpec2024", &Make<TSpec2024>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuDraw2024, "TDraw2024", &Make<TDraw2024>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuSpec2026, "TSpec2026", &Make<TSpec2026>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuDraw2026, "TDraw2026", &Make<TDraw2026>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuI2NS_TypeI, "TSpecI2NS_I", &Make<TSpecI2NS_I>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuI2NS_TypeII, "TSpecI2NS_II", &Make<TSpecI2NS_II>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuI2NS_TypeIII, "TSpecI2NS_III", &Make<TSpecI2NS_III>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuI2NS_Dimensions, "TDrawI2NS", &Make<TDrawI2NS>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuMotionTypeI, "TSpecI2NS_I", &Make<TSpecI2NS_I>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuMotionTypeII, "TSpecI2NS_II", &Make<TSpecI2NS_II>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuMotionTypeIII, "TSpecI2NS_III", &Make<TSpecI2NS_III>, ScreenTopLeft, ClosedForGood},
    {&LauncherMenu::mnuGyroError, "TGyrospeederror", &Make<TGyrospeederror>, OverLauncher, ClosedForGood},
    {&LauncherMenu::mnuUnitConversion, "TConversion_tester", &Make<TConversion_tester>, OverLauncher, ClosedForGood},
    {&LauncherMenu::mnuPressureConversion, "TPressureConvert", &Make<TPressureConvert>, OverLauncher, ClosedForGood},
    {&LauncherMenu::mnuMarisTerminal, "TMaris_terminal", &Make<TMaris_terminal>, ScreenCentre, HiddenOnClose},
    {&LauncherMenu::mnuMarisNetwork, "TMaris_network", &Make<TMaris_network>, ScreenCentre, HiddenOnClose},
    {&LauncherMenu::mnuAbout, "TAboutBox", &MakeAboutBox, OverLauncher, ClosedForGood},
};

} // namespace

std::span<const ToolEntry> ToolTable() { return kTools; }

const ToolEntry* FindTool(const QString& className) {
    const auto* found = std::find_if(std::begin(kTools), std::end(kTools),
                                     [&](const ToolEntry& tool) { return className == QLatin1String(tool.className); });
    return found != std::end(kTools) ? found : nullptr;
}

ToolWindow CreateToolWindow(const QString& className, QWidget* launcher) {
    const ToolEntry* tool = FindTool(className);
    if (tool == nullptr) {
        return {};
    }
    QWidget* window = tool->make(launcher);
    kit::SetUpKeyboard(window);
    RememberWindow(window, className);
    window->setAttribute(Qt::WA_DeleteOnClose, tool->lifetime == Lifetime::ClosedForGood);
    if (tool->lifetime == Lifetime::HiddenOnClose) {
        kit::HideWhileWorking(window);
    }
    return {window, tool->placement};
}

} // namespace app
