// Work remembered between runs: a tool window comes back as it was left, from
// the user's configuration folder; what would act by itself (a port switched
// on) never comes back; and the command line answers without a display.
#include "app/CommandLine.h"
#include "app/Suite.h"
#include "kit/Remembered.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace window_memory_test {

namespace {

struct Setting {
    const char* control;
    QString value; // a text to type, an item to choose, a tab, or "click"
};

// Sets up a window as the surveyor would, leaves it, starts again and opens it:
// every control reads as it was left, and the window stands where it stood
// (for a window small enough to be moved on the test's 800 x 600 screen).
void LeaveAndComeBack(const QString& className, const std::vector<Setting>& settings,
                      const std::vector<std::pair<const char*, QString>>& expected, bool moved = false) {
    QPoint place;
    {
        app::Suite suite = app::CreateSuite();
        QWidget* window = suite.launcher->OpenWindow(className);
        ASSERT_NE(window, nullptr);
        const support::Controls ui(window);
        for (const Setting& setting : settings) {
            if (setting.value == QLatin1String("click")) {
                ui.Click(QString::fromLatin1(setting.control));
            } else if (qobject_cast<QLineEdit*>(ui.Get(QString::fromLatin1(setting.control))) != nullptr) {
                ui.SetText(QString::fromLatin1(setting.control), setting.value);
            } else {
                ui.Choose(QString::fromLatin1(setting.control), setting.value);
            }
        }
        if (moved) {
            window->move(window->pos() + QPoint(37, 23));
        }
        place = window->pos();
        window->close();
    }
    kit::KeepBetweenRuns(); // a new run reads the file afresh
    app::Suite suite = app::CreateSuite();
    QWidget* window = suite.launcher->OpenWindow(className);
    const support::Controls ui(window);
    for (const auto& [control, text] : expected) {
        EXPECT_EQ(ui.Text(QString::fromLatin1(control)), text) << control;
    }
    EXPECT_EQ(window->pos(), place);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    window->close();
}

class WindowMemory : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        qputenv("XDG_CONFIG_HOME", home_.path().toLocal8Bit());
        kit::KeepBetweenRuns();
        MessageLog::Take();
    }
    QString SettingsFile() const { return home_.filePath(QStringLiteral("Tormalind/Tormalind UTILITY.ini")); }

    QTemporaryDir home_;
};

TEST_F(WindowMemory, EachToolWindowComesBackAsItWasLeft) {
    {
        SCOPED_TRACE("TPU calculator");
        LeaveAndComeBack(QStringLiteral("TTPU_Calculator"),
                         {{"cbo_Select_sonar", QStringLiteral("Sonic 2022")},
                          {"rbn_gnss_DGNSS", QStringLiteral("click")},
                          {"edt_Depth_main", QStringLiteral("50")},
                          {"edt_sonar_x_off", QStringLiteral("0.03")},
                          {"TPU_Graphs", QStringLiteral("Order Fit")}},
                         {{"cbo_Select_sonar", QStringLiteral("Sonic 2022")},
                          {"rbn_gnss_DGNSS", QStringLiteral("checked")},
                          {"edt_Depth_main", QStringLiteral("50")},
                          {"lbl_scroll_depth", QStringLiteral("50 m")},
                          {"edt_sonar_x_off", QStringLiteral("0.03")},
                          {"TPU_Graphs", QStringLiteral("Order Fit")}});
    }
    {
        SCOPED_TRACE("coverage calculator");
        LeaveAndComeBack(QStringLiteral("TR2SonicCoverage"),
                         {{"rbnSonic2022", QStringLiteral("click")},
                          {"rbnDual_h", QStringLiteral("click")},
                          {"edtAltitude", QStringLiteral("42")},
                          {"edtSector", QStringLiteral("120")}},
                         {{"rbnSonic2022", QStringLiteral("checked")},
                          {"rbnDual_h", QStringLiteral("checked")},
                          {"edtAltitude", QStringLiteral("42")},
                          {"edtSector", QStringLiteral("120")},
                          {"lblAtDepth", QStringLiteral("42 m")}});
    }
    {
        SCOPED_TRACE("gyro calculator");
        LeaveAndComeBack(QStringLiteral("TGyrospeederror"),
                         {{"edt_Latitude", QStringLiteral("-33.5")}, {"edt_Speed", QStringLiteral("12")}},
                         {{"edt_Latitude", QStringLiteral("-33.5")}, {"edt_Speed", QStringLiteral("12")}}, true);
    }
    EXPECT_TRUE(QFileInfo(SettingsFile()).isFile());
}

TEST_F(WindowMemory, APortSwitchedOnIsNeverBroughtBack) {
    {
        app::Suite suite = app::CreateSuite();
        QWidget* window = suite.launcher->OpenWindow(QStringLiteral("TMaris_network"));
        const support::Controls ui(window);
        ui.SetText(QStringLiteral("ePort"), QStringLiteral("50123"));
        window->close();
    }
    EXPECT_EQ(kit::Recalled(QStringLiteral("windows/TMaris_network/ePort")).toString(), QStringLiteral("50123"));
    EXPECT_FALSE(kit::Recalled(QStringLiteral("windows/TMaris_network/chOnline")).isValid());
}

TEST(CommandLine, OptionsAreReadBeforeAnyDisplay) {
    struct Case {
        std::vector<const char*> args;
        bool fresh;
        std::optional<int> exitCode;
        const char* textStart;
    };
    const Case cases[] = {
        {{}, false, std::nullopt, ""},
        {{"--fresh"}, true, std::nullopt, ""},
        {{"-platform", "offscreen", "--fresh"}, true, std::nullopt, ""},
        {{"--help"}, false, 0, "Usage: tormalind"},
        {{"--version"}, false, 0, "Tormalind UTILITY "},
        {{"--frsh"}, false, 2, "tormalind: unknown option '--frsh'"},
        {{"survey.tpu"}, false, 2, "tormalind: unknown option 'survey.tpu'"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"tormalind"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const app::CommandLine line = app::ReadCommandLine(static_cast<int>(argv.size()), argv.data());
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
        EXPECT_EQ(line.fresh, c.fresh);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_EQ(line.text.rfind(c.textStart, 0), 0u) << line.text;
    }
}

// The program itself, with no display at all: it answers and ends.
TEST(CommandLine, HelpAndVersionNeedNoDisplay) {
    const std::pair<const char*, int> runs[] = {{"--help", 0}, {"--version", 0}, {"--no-such-option", 2}};
    for (const auto& [option, code] : runs) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TORMALIND_PROGRAM), {QString::fromLatin1(option)});
        ASSERT_TRUE(program.waitForFinished(10000)) << option;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(program.exitCode(), code) << option << program.readAllStandardError().toStdString();
        EXPECT_FALSE((code == 0 ? program.readAllStandardOutput() : program.readAllStandardError()).isEmpty());
    }
}

} // namespace

} // namespace window_memory_test
