#include "tpu/TTPU_Calculator.h"

#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "tpu/TpuFields.h"
#include "tpu/TpuSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>

namespace tpu_report_test {

namespace {

struct Word {
    QString text;
    double x, y;
};

// What a poppler tool prints for the file, or "" when it cannot run.
QString Tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every word of the page with the top-left corner of its box.
std::vector<Word> Words(const QString& pdf) {
    std::vector<Word> words;
    static const QRegularExpression word(QString::fromLatin1(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    auto matches =
        word.globalMatch(Tool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (matches.hasNext()) {
        const auto match = matches.next();
        QString text = match.captured(3);
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words.push_back({text, match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    return words;
}

// Whether the page holds `text` as a word with its top-left corner within a
// point of (x, y).
bool At(const std::vector<Word>& words, const QString& text, double x, double y) {
    return std::any_of(words.begin(), words.end(), [&](const Word& w) {
        return w.text == text && std::abs(w.x - x) <= 1.0 && std::abs(w.y - y) <= 1.0;
    });
}

// Whether `text` stands on the line whose texts have their top at y.
bool OnLine(const std::vector<Word>& words, const QString& text, double y) {
    return std::any_of(words.begin(), words.end(),
                       [&](const Word& w) { return w.text == text && std::abs(w.y - y) <= 1.0; });
}

bool Anywhere(const std::vector<Word>& words, const QString& text) {
    return std::any_of(words.begin(), words.end(), [&](const Word& w) { return w.text == text; });
}

class TpuReport : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        kit::SetDesktopOpener([this](const QString& path) {
            opened << path;
            return true;
        });
        window.show();
        MessageLog::Take();
    }
    void TearDown() override {
        kit::SetDesktopOpener({});
        QDir::setCurrent(previousFolder);
    }
    QString Report() const { return folder.filePath(QStringLiteral("TPU_Report.pdf")); }

    QTemporaryDir folder;
    QString previousFolder;
    QStringList opened;
    TTPU_Calculator window;
    support::Controls ui{&window};
};

struct Expected {
    const char* word;
    double x, y;
};

} // namespace

TEST_F(TpuReport, StartUpPageHoldsEveryTextAtItsPlace) {
    ui.Click("btn_Print_PDF");
    ASSERT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(opened, QStringList{Report()});
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("TPU_Graph.bmp"))).size() > 0);

    const std::vector<Word> words = Words(Report());
    ASSERT_FALSE(words.empty()) << "pdftotext read nothing";
    // The first word of every text, and of the values, at its top-left corner.
    const Expected expected[] = {
        {"TPU", 190, 20},
        {"(Total", 215, 45},
        {"Multibeam", 53, 78},
        {"Sonic", 170, 78},
        {"Positioning:", 308, 78},
        {"RTK", 380, 78},
        {"Motion", 53, 110},
        {"I2NS", 170, 110},
        {"Heading", 308, 110},
        {"I2NS", 410, 110},
        {"Max", 470, 160},
        {"\u00B1", 470, 175},

        {"Min", 470, 200},

        {"Max", 470, 260},

        {"Min", 470, 300},

        {"Multibeam", 60, 365},
        {"Swath", 60, 385},
        {"130", 140, 385},
        {"Pulse", 200, 385},
        {"30", 280, 385},
        {"Frequency:", 350, 385},
        {"400", 420, 385},
        {"Across-track", 60, 400},
        {"0.5", 238, 400},
        {"Along-track", 300, 400},
        {"1.0", 433, 400},
        {"SD", 60, 415},
        {"0.01", 140, 415},
        {"0.01", 280, 415},
        {"0.01", 420, 415},
        {"0.05", 149, 430},
        {"0.05", 294, 430},
        {"0.2", 441, 430},
        {"Position", 60, 455},
        {"Horizontal", 60, 475},
        {"0.05", 195, 475},
        {"Vertical", 300, 475},
        {"0.05", 423, 475},
        {"0.01", 140, 490},
        {"Motion", 60, 515},
        {"0.02", 125, 535},
        {"0.02", 269, 535},
        {"0.05", 419, 535},
        {"0.01", 420, 550},
        {"Heading", 60, 575},
        {"0.03", 150, 595},
        {"Vessel", 60, 620},
        {"Environmental", 60, 665},
        {"Depth:", 60, 690},
        {"10", 112, 690},
        {"Max", 200, 690},
        {"1.0", 284, 690},
        {"SD", 60, 705},
        {"0.025", 117, 705},
        {"0.025", 279, 705},
        {"Soundvelocity:", 350, 705},
        {"1500", 435, 705},
        {"Contractor:", 55, 727},
        {"\"Tormalind", 55, 740},
        {"Client:", 55, 757},
        {"\"Client\"", 55, 770},
        {"Project:", 305, 727},
        {"\"Project", 305, 740},
        {"Operator:", 305, 757},
        {"\"Operator\"", 305, 770},
        {"Date:", 430, 757},
        {"Tormalind", 70, 800},
    };
    for (const Expected& e : expected) {
        EXPECT_TRUE(At(words, QString::fromUtf8(e.word), e.x, e.y)) << e.word << " at " << e.x << ", " << e.y;
    }
    // The results under their labels, after the "±".
    for (const auto& [value, y] : std::initializer_list<std::pair<const char*, double>>{
             {"0.091", 175}, {"0.078", 215}, {"0.954", 275}, {"0.110", 315}}) {
        EXPECT_TRUE(OnLine(words, QString::fromLatin1(value), y)) << value;
    }
    // In RTK the vessel rows and the tide are left out.
    for (const char* absent : {"Draft:", "Settlement:", "Load:", "Tidal"}) {
        EXPECT_FALSE(Anywhere(words, QString::fromLatin1(absent))) << absent;
    }

    EXPECT_TRUE(Tool(QStringLiteral("pdfinfo"), {Report()}).contains(QStringLiteral("595 x 842 pts (A4)")));
    const QString fonts = Tool(QStringLiteral("pdffonts"), {Report()});
    EXPECT_EQ(fonts.count(QRegularExpression(QStringLiteral("LiberationSans(-Bold)?.*TrueType\\s+WinAnsi\\s+yes"))), 2)
        << fonts.toStdString();
    const QStringList images =
        Tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), Report()}).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3) << images.join('\n').toStdString(); // two header lines, one image
    EXPECT_TRUE(images[2].contains(QStringLiteral("jpeg")));
    // As many picture pixels per inch across as down: the charts keep their shape on the page.
    const QStringList columns = images[2].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(columns.size(), 14) << images[2].toStdString();
    EXPECT_EQ(columns[12], columns[13]) << images[2].toStdString();
    QFile file(Report());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/PageLayout /OneColumn"));
    EXPECT_TRUE(bytes.contains("/PageMode /UseNone"));
}

TEST_F(TpuReport, DgnssPagePrintsTheVesselFiguresAndTheTide) {
    ui.Choose("rdg_gnss_mode", QStringLiteral("DGNSS"));
    ui.SetText("edt_tidal_SD", QStringLiteral("0.25"));
    ui.Click("btn_Print_PDF");
    ASSERT_TRUE(MessageLog::Take().isEmpty());
    const std::vector<Word> words = Words(Report());
    const Expected expected[] = {
        {"Differential", 380, 78}, {"SD", 60, 640},     {"0.05", 127, 640}, {"0.10", 299, 640},
        {"0.05", 407, 640},        {"Tidal", 350, 690}, {"0.25", 412, 690}, {"0.5", 195, 475},
    };
    for (const Expected& e : expected) {
        EXPECT_TRUE(At(words, QString::fromUtf8(e.word), e.x, e.y)) << e.word << " at " << e.x << ", " << e.y;
    }
    EXPECT_TRUE(OnLine(words, QStringLiteral("Draft:"), 640));
    EXPECT_TRUE(OnLine(words, QStringLiteral("0.289"), 175));
}

// The report prints the TVU and THU charts whichever tab is being looked at,
// and leaves that tab in view.
TEST_F(TpuReport, PrintsTheChartsPageFromAnyTab) {
    const auto picture = [this] {
        ui.Click("btn_Print_PDF");
        EXPECT_TRUE(MessageLog::Take().isEmpty());
        QFile file(folder.filePath(QStringLiteral("TPU_Graph.bmp")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray fromCharts = picture();
    ASSERT_FALSE(fromCharts.isEmpty());
    for (const char* tab : {"Order Fit", "Error Budget"}) {
        ui.Choose("TPU_Graphs", QString::fromLatin1(tab));
        EXPECT_TRUE(picture() == fromCharts) << tab;
        EXPECT_EQ(ui.Text("TPU_Graphs"), QString::fromLatin1(tab));
    }
}

TEST_F(TpuReport, AFileThatCannotBeCreatedIsReportedAndLeavesNoReport) {
    // The report's name taken by a folder: the picture is written, the report is not.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("TPU_Report.pdf")));
    ui.Click("btn_Print_PDF");
    QStringList messages = MessageLog::Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("error: Cannot create file \"TPU_Report.pdf\". ")) << messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("TPU_Graph.bmp"))).isFile());
    EXPECT_TRUE(opened.isEmpty());

    // A folder where no file can be made at all: the picture fails, no report follows.
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral("/proc")));
    ui.Click("btn_Print_PDF");
    QDir::setCurrent(folder.path());
    messages = MessageLog::Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("error: Cannot create file \"TPU_Graph.bmp\". ")) << messages[0].toStdString();
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(TpuReport, IsRefusedWhileAFieldCannotBeReadAndNamesTheField) {
    ui.SetText("edt_Pulse_duration", QStringLiteral("30.5"));
    MessageLog::Take();
    ui.Click("btn_Print_PDF");
    EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("error: Correct \"Pulse length\" before printing the "
                                                             "report: '30.5' is not a valid integer value.")});
    EXPECT_FALSE(QFileInfo::exists(Report()));
    EXPECT_TRUE(opened.isEmpty());
    // Corrected, the report is printed.
    ui.SetText("edt_Pulse_duration", QStringLiteral("30"));
    ui.Click("btn_Print_PDF");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(Report()));
}

// A name the report's single-byte text cannot hold is asked about once before
// anything is written: called off, no report; agreed, a report with "?".
TEST_F(TpuReport, AsksBeforeCharactersTheReportCannotHoldBecomeQuestionMarks) {
    ui.SetText("edt_Operator", QStringLiteral("\u0141ukasz \U0001F600"));
    MessageLog::Take();
    MessageLog::Proceed() = false;
    ui.Click("btn_Print_PDF");
    MessageLog::Proceed() = true;
    const QStringList asked = MessageLog::Take();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("question: \"TPU_Report.pdf\"")));
    EXPECT_TRUE(asked[0].contains(QStringLiteral("\"\u0141\", \"\U0001F600\"")));
    EXPECT_FALSE(QFileInfo::exists(Report()));
    EXPECT_TRUE(opened.isEmpty());
    ui.Click("btn_Print_PDF");
    EXPECT_EQ(MessageLog::Take().size(), 1);
    EXPECT_TRUE(QFileInfo::exists(Report()));
}

// A clicked chart shows its copy-and-save button; the click on the print
// button takes the focus from the chart, so the report's picture shows the
// charts alone, as it does when nobody touched them.
TEST_F(TpuReport, TheChartsCornerButtonStaysOutOfTheReportsPicture) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ui.Click("btn_Print_PDF");
    const QImage untouched(folder.filePath(QStringLiteral("TPU_Graph.bmp")));
    ASSERT_FALSE(untouched.isNull());

    auto* chart = ui.Get<kit::ChartView>("TVU_Calc_Chart");
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_FALSE(chart->CornerButton()->isHidden());
    QTest::mouseClick(ui.Get<QPushButton>("btn_Print_PDF"), Qt::LeftButton);
    EXPECT_TRUE(chart->CornerButton()->isHidden());
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(QImage(folder.filePath(QStringLiteral("TPU_Graph.bmp"))), untouched);
}

// The report's picture is the two charts and nothing of the screen around
// them: no tab header above the TVU chart, no sweep button in its corner. Its
// top is the TVU chart as drawn, its bottom the THU chart, from any tab.
TEST_F(TpuReport, ThePictureHoldsTheTwoChartsWithoutTheTabHeader) {
    auto* tvu = ui.Get<kit::ChartView>("TVU_Calc_Chart");
    auto* thu = ui.Get<kit::ChartView>("THU_Calc_Chart");
    const auto rgb = [](const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); };
    for (const char* tab : {"TPU Calculation", "Error Budget"}) {
        SCOPED_TRACE(tab);
        ui.Choose("TPU_Graphs", QString::fromLatin1(tab));
        ui.Click("btn_Print_PDF");
        ASSERT_TRUE(MessageLog::Take().isEmpty());
        const QImage picture = rgb(QImage(folder.filePath(QStringLiteral("TPU_Graph.bmp"))));
        ASSERT_FALSE(picture.isNull());

        ui.Choose("TPU_Graphs", QStringLiteral("TPU Calculation"));
        const QImage top = rgb(tvu->Picture());
        const QImage bottom = rgb(thu->Picture());
        EXPECT_EQ(picture.width(), top.width());
        EXPECT_EQ(picture.height(), thu->geometry().bottom() - tvu->geometry().top() + 1);
        EXPECT_EQ(picture.copy(0, 0, top.width(), top.height()), top) << "the TVU chart begins at the top row";
        EXPECT_EQ(picture.copy(0, picture.height() - bottom.height(), bottom.width(), bottom.height()), bottom);
        // The chart's ground colour all along the top row, where the tab header was.
        const QRgb ground = tvu->backgroundBrush().color().rgb();
        for (int x = 0; x < picture.width(); x += 7) {
            ASSERT_EQ(picture.pixel(x, 0), ground) << "x " << x;
        }
    }
}

// Every row of the field table reaches what it says it does: a text of its
// own in each field comes back in the inputs the computation used, on the
// field's lines of the settings file and on the report's page, and a row kept
// out of one of them is not found there.
TEST_F(TpuReport, EveryFieldRowReachesTheInputsTheSettingsFileAndThePage) {
    ui.Choose("rdg_gnss_mode", QStringLiteral("DGNSS")); // the vessel figures and the tide count and are printed
    std::map<tpu::Field, QString> marks;
    std::set<const QLineEdit*> controls;
    for (const auto& [field, control] : window.FieldControls()) {
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(controls.insert(control).second) << control->objectName().toStdString() << " holds two fields";
        const std::size_t index = tpu::IndexOf(field);
        switch (tpu::RowOf(field).kind) {
        case tpu::Kind::Whole:
            marks[field] = QString::number(201 + index); // a swath within a full turn, a depth within reach
            break;
        case tpu::Kind::Decimal:
            marks[field] = QStringLiteral("9.%1").arg(101 + index);
            break;
        case tpu::Kind::Text:
            marks[field] = QStringLiteral("Mark%1").arg(index);
            break;
        }
        ui.SetText(control->objectName(), marks[field]);
    }
    ASSERT_EQ(marks.size(), tpu::kFieldCount);

    const std::optional<tpu::TpuInputs> inputs = window.ComputedInputs();
    ASSERT_TRUE(inputs);
    for (const tpu::FieldRow& row : tpu::kFields) {
        if (row.whole != nullptr) {
            EXPECT_EQ((*inputs).*row.whole, marks[row.field].toInt()) << marks[row.field].toStdString();
        } else if (row.decimal != nullptr) {
            EXPECT_DOUBLE_EQ((*inputs).*row.decimal, marks[row.field].toDouble()) << marks[row.field].toStdString();
        }
    }

    const QString settings = folder.filePath(QStringLiteral("marks.tpu"));
    kit::SetFileDialogPresenter([&](const kit::FileDialogRequest&) { return settings; });
    ui.Click("Button6");
    kit::SetFileDialogPresenter({});
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GT(lines.size(), static_cast<qsizetype>(tpu::kSettingsLines.size()));
    for (const tpu::FieldRow& row : tpu::kFields) {
        int kept = 0;
        for (std::size_t index = 0; index < tpu::kSettingsLines.size(); ++index) {
            if (tpu::kSettingsLines[index].field == row.field) {
                ++kept;
                EXPECT_EQ(lines[static_cast<qsizetype>(index)].trimmed(), marks[row.field].toLatin1())
                    << "line " << index + 1;
            }
        }
        EXPECT_EQ(kept > 0, row.kept) << marks[row.field].toStdString();
    }

    ui.Click("btn_Print_PDF");
    const std::vector<Word> words = Words(Report());
    if (words.empty()) {
        GTEST_SKIP() << "pdftotext cannot read the report";
    }
    for (const tpu::FieldRow& row : tpu::kFields) {
        EXPECT_EQ(Anywhere(words, marks[row.field]), row.printed) << marks[row.field].toStdString();
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

} // namespace tpu_report_test
