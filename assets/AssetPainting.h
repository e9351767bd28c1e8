// What the asset generator's pictures, sheets and drawings share: the house navy, the sans
// face, the painter set-up, the blank canvases and the small blending helpers, the titled table
// a sheet is laid out as, and writing one sheet to a one-page PDF that two builds write byte
// for byte alike.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

class QPaintDevice;
class QPainter;
class QPdfWriter;

namespace assets {

inline const QColor kNavy(0x12, 0x2c, 0x55);

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDeg = kPi / 180.0;

// Inline: the depth grid and its relief call these for each of half a million cells.
inline double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

inline double Smoothstep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

inline QColor Mix(const QColor& a, const QColor& b, double t) {
    t = Clamp01(t);
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QImage OpaqueCanvas(int w, int h, const QColor& fill = Qt::white);
QImage TransparentCanvas(int w, int h);

QFont SansFont(double pixelSize, QFont::Weight weight = QFont::Normal);

// The cores' tables hold their texts as UTF-8 string views.
inline QString TextOf(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
void BeginPainting(QPainter& p);

// Qt stamps a PDF with the time it was written; this puts a fixed date in its place, so the
// build is reproducible.
void FixCreationDate(const QString& path);

// A titled table with an intro above and notes below. The first column names the criterion,
// the others hold its values. A row of one cell is a section heading across the table; a row
// of fewer cells than columns lets its last cell span the columns left, for a figure that
// holds for every configuration alike.
struct Sheet {
    QString title;
    QStringList intro;
    QStringList columns{QStringLiteral("Criterion"), QStringLiteral("Requirement")};
    QList<double> shares{0.52, 0.48}; // each column's part of the table's width
    QList<QStringList> rows;
    QStringList notes;
};

// Sizes are in points; 'unit' is device pixels per point, so one layout serves the PDF page
// and a picture drawn at twice its shown size.
struct SheetMetrics {
    double unit;
    double bodyPt;
    QPaintDevice* device;
    double spreadPt = 0; // extra space above and below the text of each row, to fill a short sheet

    double Px(double pt) const { return pt * unit; }
    QFont Font(double pt, QFont::Weight weight = QFont::Normal) const { return SansFont(Px(pt), weight); }
    double TextHeight(const QFont& f, double width, const QString& text) const;
};

// Lays the sheet out in 'area'; paints when 'p' is given. Returns the height used.
double LayoutSheet(QPainter* p, const Sheet& sheet, const SheetMetrics& m, const QRectF& area);

// The largest body size, from 'largestPt' down in quarter points, at which the sheet fits.
double FittingBodyPt(const Sheet& sheet, SheetMetrics m, const QRectF& area, double largestPt, double smallestPt);

// A short sheet gets more air in its rows (up to half a line) rather than a blank foot.
SheetMetrics SpreadRows(const Sheet& sheet, SheetMetrics m, const QRectF& area);

// One family of sheets shares a page: its size, the margin around the body, the band at the
// foot that carries the footer line, and the footer's words. Lengths in device pixels at
// kSheetDpi, ten to the point.
inline constexpr int kSheetDpi = 720;
inline constexpr double kSheetUnit = kSheetDpi / 72.0;

struct SheetPage {
    QPageSize size;
    QRectF page;
    double margin;
    double foot;
    double footerPt;
    QString footer;

    QRectF Body() const { return page.adjusted(margin, margin, -margin, -foot); }
    void SetUp(QPdfWriter& pdf) const;
};

// Every sheet of a family at one body size, the largest from 'largestPt' down at which all of
// them fit, so they read as one set when the user pages through them. A sheet that does not fit
// even at 'smallestPt' stops the build rather than run off its page.
void WriteSheetPdfs(const std::vector<std::pair<Sheet, QString>>& sheets, const SheetPage& page, double largestPt,
                    double smallestPt);

} // namespace assets
