#include "tpu/TpuReport.h"

#include "common/MakerContact.h"
#include "common/TextFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <hpdf.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>

namespace tpu {

namespace {

// The page, in points from its top-left corner, as laid out.
constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;

enum class Font { Title, Heading, Label, Body, BoxLabel, BoxValue, Footer };

struct FontLook {
    double size;
    bool bold;
    bool underline;
};

constexpr std::array<FontLook, 7> kFonts{{
    {20, true, true},   // Title
    {14, true, true},   // Heading
    {12, true, false},  // Label
    {12, false, false}, // Body
    {10, true, true},   // BoxLabel
    {9, false, false},  // BoxValue
    {7, false, false},  // Footer
}};

// Arial's metrics, which Liberation Sans shares: where an underline lies below
// the baseline and how thick it is, per point of size.
constexpr double kUnderlinePosition = 0.106;
constexpr double kUnderlineThickness = 0.073;

// Where a printed text comes from: a field of the window, or a text it shows
// beside them (a result, the date).
class TextOf {
public:
    constexpr TextOf(Field field) : field_(field) {}
    constexpr TextOf(QString ReportTexts::*shown) : shown_(shown) {}
    const QString& In(const ReportTexts& texts) const {
        return shown_ != nullptr ? texts.*shown_ : texts.fields[IndexOf(field_)];
    }

private:
    Field field_{};
    QString ReportTexts::*shown_ = nullptr;
};

// A label and the field whose text follows it.
struct Pair {
    const char* label;
    double labelX, labelY;
    TextOf text;
    double valueX, valueY;
};

constexpr std::array<Pair, 4> kEquipment{{
    {"Multibeam system: ", 53, 78, Field::SelectedSonar, 170, 78},
    {"Positioning: ", 308, 78, &ReportTexts::positioning, 380, 78}, // the GNSS mode's description
    {"Motion sensor: ", 53, 110, Field::SelectedMotion, 170, 110},
    {"Heading system: ", 308, 110, Field::SelectedHeading, 410, 110},
}};

constexpr std::array<Pair, 4> kResults{{
    {"Max TVU (m): ", 470, 160, &ReportTexts::maxTvu, 470, 175},
    {"Min TVU (m): ", 470, 200, &ReportTexts::minTvu, 470, 215},
    {"Max THU (m): ", 470, 260, &ReportTexts::maxThu, 470, 275},
    {"Min THU (m): ", 470, 300, &ReportTexts::minThu, 470, 315},
}};

// A parameter row: the label carries its unit after a run of blanks, and the
// value is printed inside that run. A row without a field is a section heading.
struct Row {
    double y;
    const char* label;
    double labelX;
    std::optional<TextOf> text; // none: a section heading
    double valueX;
    bool dgnssOnly;
};

const std::array<Row, 38> kRows{{
    {365, "Multibeam Parameters", 60, std::nullopt, 0, false},
    {385, "Swath width:          \u00B0", 60, Field::SwathWidth, 140, false},
    {385, "Pulse length:          \u00B5s", 200, Field::PulseLength, 280, false},
    {385, "Frequency:          kHz", 350, Field::Frequency, 420, false},
    {400, "Across-track beamwidth (Nadir):", 60, &ReportTexts::acrossBeamWidth, 235, false},
    {400, "Along-track beamwidth:", 300, &ReportTexts::alongBeamWidth, 430, false},
    {415, "SD X-offset:             m", 60, Field::SonarXOffset, 140, false},
    {415, "SD Y-offset:             m", 200, Field::SonarYOffset, 280, false},
    {415, "SD Z-offset:          m", 350, Field::SonarZOffset, 420, false},
    {430, "SD Roll (Patch):         \u00B0", 60, Field::PatchRoll, 149, false},
    {430, "SD Pitch (Patch):        \u00B0", 200, Field::PatchPitch, 294, false},
    {430, "SD Yaw (Patch):      \u00B0", 350, Field::PatchYaw, 441, false},
    {455, "Position Parameters", 60, std::nullopt, 0, false},
    {475, "Horizontal Accuracy:                m", 60, Field::PositionHorizontal, 195, false},
    {475, "Vertical Accuracy:                m", 300, Field::PositionVertical, 423, false},
    {490, "SD X-offset:             m", 60, Field::PositionXOffset, 140, false},
    {490, "SD Y-offset:             m", 200, Field::PositionYOffset, 280, false},
    {490, "SD Z-offset:          m", 350, Field::PositionZOffset, 420, false},
    {515, "Motion Sensor Parameters", 60, std::nullopt, 0, false},
    {535, "SD Roll:              \u00B0", 60, Field::SdRoll, 125, false},
    {535, "SD Pitch:             \u00B0", 200, Field::SdPitch, 269, false},
    {535, "SD Heave:           m", 350, Field::SdHeave, 419, false},
    {550, "SD X-offset:             m", 60, Field::MotionXOffset, 140, false},
    {550, "SD Y-offset:             m", 200, Field::MotionYOffset, 280, false},
    {550, "SD Z-offset:          m", 350, Field::MotionZOffset, 420, false},
    {575, "Heading Sensor Parameters", 60, std::nullopt, 0, false},
    {595, "SD Heading:                \u00B0", 60, Field::SdHeading, 150, false},
    {620, "Vessel Parameters", 60, std::nullopt, 0, false},
    // With RTK the height comes from the positioning: these add nothing then.
    {640, "SD Draft:             m", 60, Field::SdDraft, 127, true},
    {640, "SD Settlement:             m", 200, Field::SdSettlement, 299, true},
    {640, "SD Load:          m", 350, Field::SdLoad, 407, true},
    {665, "Environmental Parameters", 60, std::nullopt, 0, false},
    {690, "Depth:             m", 60, Field::Depth, 112, false},
    {690, "Max Heave:             m", 200, Field::MaxHeave, 284, false},
    {690, "Tidal SD:            m", 350, Field::TidalSd, 412, true},
    {705, "SD SVS:             m/s", 60, Field::SdSvs, 117, false},
    {705, "SD SVP:                    m/s", 200, Field::SdSvp, 279, false},
    {705, "Soundvelocity:            m/s", 350, Field::SoundVelocity, 435, false},
}};

constexpr std::array<Pair, 5> kProject{{
    {"Contractor:", 55, 727, Field::Contractor, 55, 740},
    {"Client:", 55, 757, Field::Client, 55, 770},
    {"Project:", 305, 727, Field::Project, 305, 740},
    {"Operator:", 305, 757, Field::Operator, 305, 770},
    {"Date:", 430, 757, &ReportTexts::date, 430, 770},
}};

// libharu reports an error through a callback that must not throw: the first
// error is kept and the report fails at the end.
struct PdfErrors {
    HPDF_STATUS first = HPDF_OK;
};

void OnPdfError(HPDF_STATUS error, HPDF_STATUS detail, void* data) {
    auto* errors = static_cast<PdfErrors*>(data);
    if (errors->first == HPDF_OK) {
        errors->first = error;
    }
    (void)detail;
}

// Arial is Liberation Sans on these machines, embedded so that every viewer
// shows the same page; without the font files, the viewer's Helvetica.
HPDF_Font LoadFont(HPDF_Doc pdf, bool bold) {
    const char* file = bold ? "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
                            : "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
    const char* name =
        QFileInfo::exists(QString::fromLatin1(file)) ? HPDF_LoadTTFontFromFile(pdf, file, HPDF_TRUE) : nullptr;
    if (name == nullptr) {
        HPDF_ResetError(pdf);
        name = bold ? "Helvetica-Bold" : "Helvetica";
    }
    return HPDF_GetFont(pdf, name, "WinAnsiEncoding");
}

class Page {
public:
    Page(HPDF_Doc pdf, HPDF_Page page) : page_(page), regular_(LoadFont(pdf, false)), bold_(LoadFont(pdf, true)) {}

    // A text with its top at y: its baseline lies one ascent of the font below.
    void Text(Font key, double x, double y, const QString& text) {
        const FontLook& look = kFonts[static_cast<std::size_t>(key)];
        HPDF_Font font = look.bold ? bold_ : regular_;
        const std::string bytes = common::EncodeWindows1252(text).toStdString();
        const double baseline = kPageHeight - y - HPDF_Font_GetAscent(font) * look.size / 1000.0;
        HPDF_Page_BeginText(page_);
        HPDF_Page_SetFontAndSize(page_, font, static_cast<HPDF_REAL>(look.size));
        HPDF_Page_TextOut(page_, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(baseline), bytes.c_str());
        HPDF_Page_EndText(page_);
        if (look.underline) {
            const double width = HPDF_Page_TextWidth(page_, bytes.c_str());
            const double thickness = kUnderlineThickness * look.size;
            HPDF_Page_Rectangle(page_, static_cast<HPDF_REAL>(x),
                                static_cast<HPDF_REAL>(baseline - kUnderlinePosition * look.size - thickness / 2),
                                static_cast<HPDF_REAL>(width), static_cast<HPDF_REAL>(thickness));
            HPDF_Page_Fill(page_);
        }
    }

    void Rectangle(double x, double y, double width, double height) {
        HPDF_Page_Rectangle(page_, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(kPageHeight - y - height),
                            static_cast<HPDF_REAL>(width), static_cast<HPDF_REAL>(height));
        HPDF_Page_Stroke(page_);
    }

    void Line(double x, double top, double bottom) {
        HPDF_Page_MoveTo(page_, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(kPageHeight - top));
        HPDF_Page_LineTo(page_, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(kPageHeight - bottom));
        HPDF_Page_Stroke(page_);
    }

    void Image(HPDF_Image image, double x, double y, double width, double height) {
        HPDF_Page_DrawImage(page_, image, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(kPageHeight - y - height),
                            static_cast<HPDF_REAL>(width), static_cast<HPDF_REAL>(height));
    }

private:
    HPDF_Page page_;
    HPDF_Font regular_;
    HPDF_Font bold_;
};

// The page as PDF bytes, or an empty array with the reason.
QByteArray RenderReport(const QByteArray& jpeg, const ReportTexts& texts, QString* reason) {
    PdfErrors errors;
    const std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, decltype(&HPDF_Free)> pdf(HPDF_New(&OnPdfError, &errors),
                                                                                     &HPDF_Free);
    if (pdf == nullptr) {
        *reason = QStringLiteral("The PDF writer could not start.");
        return {};
    }
    HPDF_Doc doc = pdf.get();
    HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    HPDF_SetPageLayout(doc, HPDF_PAGE_LAYOUT_ONE_COLUMN);
    HPDF_SetPageMode(doc, HPDF_PAGE_MODE_USE_NONE);
    HPDF_SetInfoAttr(doc, HPDF_INFO_TITLE, "TPU Calculation Report");
    HPDF_SetInfoAttr(doc, HPDF_INFO_CREATOR, "Tormalind UTILITY");
    HPDF_Page hpage = HPDF_AddPage(doc);
    HPDF_Page_SetWidth(hpage, static_cast<HPDF_REAL>(kPageWidth));
    HPDF_Page_SetHeight(hpage, static_cast<HPDF_REAL>(kPageHeight));
    Page page(doc, hpage);

    page.Text(Font::Title, 190, 20, QStringLiteral("TPU Calculation Report"));
    page.Text(Font::Body, 215, 45, QStringLiteral("(Total Propagated Uncertainty)"));
    HPDF_Image image = HPDF_LoadJpegImageFromMem(doc, reinterpret_cast<const HPDF_BYTE*>(jpeg.constData()),
                                                 static_cast<HPDF_UINT>(jpeg.size()));
    if (image == nullptr) {
        *reason = QStringLiteral("The chart picture could not be added.");
        return {};
    }
    // The charts keep their shape: stretched, their labels and lines would
    // read taller than on screen. They fill the width beside the results and
    // stand at its top, or, were they ever taller than the room, its height.
    constexpr double boxWidth = 380.0;
    constexpr double boxHeight = 200.0;
    const double pictureWidth = HPDF_Image_GetWidth(image);
    const double pictureHeight = HPDF_Image_GetHeight(image);
    const double scale = std::min(boxWidth / pictureWidth, boxHeight / pictureHeight);
    const double width = pictureWidth * scale;
    page.Image(image, 70 + (boxWidth - width) / 2, 150, width, pictureHeight * scale);
    page.Text(Font::Footer, 70, 800, common::MakerContactLine());

    page.Rectangle(50, 70, 500, 30);
    page.Rectangle(50, 100, 500, 30);
    page.Line(300, 70, 130);
    for (const Pair& pair : kEquipment) {
        page.Text(Font::Label, pair.labelX, pair.labelY, QString::fromUtf8(pair.label));
        page.Text(Font::Body, pair.valueX, pair.valueY, pair.text.In(texts));
    }
    for (const Pair& pair : kResults) {
        page.Text(Font::Label, pair.labelX, pair.labelY, QString::fromUtf8(pair.label));
    }
    for (const Pair& pair : kResults) {
        page.Text(Font::Body, pair.valueX, pair.valueY, pair.text.In(texts));
    }
    for (const Row& row : kRows) {
        if (!row.text) {
            page.Text(Font::Heading, row.labelX, row.y, QString::fromUtf8(row.label));
        } else if (!row.dgnssOnly || texts.dgnss) {
            page.Text(Font::Body, row.labelX, row.y, QString::fromUtf8(row.label));
            page.Text(Font::Body, row.valueX, row.y, row.text->In(texts));
        }
    }
    page.Rectangle(50, 725, 500, 30);
    page.Rectangle(50, 755, 500, 30);
    page.Line(300, 725, 785);
    page.Line(425, 725, 785);
    for (const Pair& pair : kProject) {
        page.Text(Font::BoxLabel, pair.labelX, pair.labelY, QString::fromUtf8(pair.label));
    }
    for (const Pair& pair : kProject) {
        page.Text(Font::BoxValue, pair.valueX, pair.valueY, pair.text.In(texts));
    }

    if (errors.first != HPDF_OK || HPDF_SaveToStream(doc) != HPDF_OK) {
        *reason = QStringLiteral("The PDF writer failed (error 0x%1).").arg(errors.first, 4, 16, QLatin1Char('0'));
        return {};
    }
    QByteArray bytes(static_cast<qsizetype>(HPDF_GetStreamSize(doc)), Qt::Uninitialized);
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
    HPDF_ResetStream(doc);
    if (HPDF_ReadFromStream(doc, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size) != HPDF_OK &&
        size != static_cast<HPDF_UINT32>(bytes.size())) {
        *reason = QStringLiteral("The PDF writer failed to hand over the page.");
        return {};
    }
    bytes.truncate(static_cast<qsizetype>(size));
    return bytes;
}

} // namespace

common::FileResult WriteTpuReport(const QImage& charts, const ReportTexts& texts, const QString& folder) {
    const auto place = [&](const char* name) {
        return folder.isEmpty() ? QString::fromLatin1(name) : QDir(folder).filePath(QString::fromLatin1(name));
    };
    const QString picturePath = place(kReportPicture);
    const QString reportPath = place(kReportFile);

    QByteArray bitmap;
    {
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        charts.save(&buffer, "BMP");
    }
    if (const common::FileResult saved = common::SaveWhole(picturePath, bitmap); !saved) {
        return common::FileResult::Failed(common::CreateFileError(picturePath, saved.Error()));
    }
    // The report stores the picture JPEG-compressed at full quality.
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        charts.convertToFormat(QImage::Format_RGB888).save(&buffer, "JPEG", 100);
    }
    QString reason;
    const QByteArray pdf = RenderReport(jpeg, texts, &reason);
    if (pdf.isEmpty()) {
        return common::FileResult::Failed(common::CreateFileError(reportPath, reason));
    }
    if (const common::FileResult saved = common::SaveWhole(reportPath, pdf); !saved) {
        return common::FileResult::Failed(common::CreateFileError(reportPath, saved.Error()));
    }
    return common::FileResult::Done();
}

} // namespace tpu
