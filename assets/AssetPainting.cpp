#include "assets/AssetPainting.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assets {

QFont SansFont(double pixelSize, QFont::Weight weight) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage OpaqueCanvas(int w, int h, const QColor& fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage TransparentCanvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void BeginPainting(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

void FixCreationDate(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        throw std::runtime_error("cannot reopen " + path.toStdString());
    }
    QByteArray bytes = file.readAll();
    static const QRegularExpression stamp(QStringLiteral(R"(/CreationDate \(D:([0-9]{14})([^)]*)\))"));
    const QString text = QString::fromLatin1(bytes);
    QRegularExpressionMatchIterator it = stamp.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        // Local time is written as "Z" or "+hh'mm'"; keep whichever length it has, so the
        // cross-reference offsets stay valid.
        const qsizetype zoneLength = match.capturedLength(2);
        QByteArray fixed = "20240101000000";
        fixed += zoneLength == 1 ? "Z" : zoneLength == 7 ? "+00'00'" : "";
        if (fixed.size() == 14 + zoneLength) {
            bytes.replace(match.capturedStart(1), fixed.size(), fixed);
        }
    }
    file.seek(0);
    file.write(bytes);
}

double SheetMetrics::TextHeight(const QFont& f, double width, const QString& text) const {
    const QFontMetricsF metrics(f, device);
    return metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

namespace {

const QColor kRule(0x1f, 0x6f, 0x86);
const QColor kHeaderFill(0x1b, 0x3d, 0x6b);
const QColor kCriterionFill(0xe6, 0xee, 0xf6);
const QColor kSectionFill(0xd3, 0xdf, 0xec);
const QColor kStripeFill(0xf6, 0xf9, 0xfc);
const QColor kGrid(0x8d, 0x9d, 0xb2);
const QColor kInk(0x14, 0x1e, 0x2c);

} // namespace

double LayoutSheet(QPainter* p, const Sheet& sheet, const SheetMetrics& m, const QRectF& area) {
    const double pad = m.Px(m.bodyPt * 0.42);
    const QFont titleFont = m.Font(m.bodyPt * 1.32, QFont::Bold);
    const QFont introFont = m.Font(m.bodyPt * 0.92);
    const QFont headFont = m.Font(m.bodyPt, QFont::Bold);
    const QFont criterionFont = m.Font(m.bodyPt, QFont::DemiBold);
    const QFont bodyFont = m.Font(m.bodyPt);
    const QFont noteFont = m.Font(m.bodyPt * 0.9);
    const int wrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

    double y = area.top();
    const auto paragraph = [&](const QFont& f, const QColor& colour, const QString& text, double gapAfter) {
        const double h = m.TextHeight(f, area.width(), text);
        if (p) {
            p->setFont(f);
            p->setPen(colour);
            p->drawText(QRectF(area.left(), y, area.width(), h + 1), wrap, text);
        }
        y += h + gapAfter;
    };

    paragraph(titleFont, kNavy, sheet.title, m.Px(m.bodyPt * 0.3));
    if (p) {
        p->fillRect(QRectF(area.left(), y, area.width(), m.Px(1.6)), kRule);
    }
    y += m.Px(1.6) + m.Px(m.bodyPt * 0.55);
    for (const QString& text : sheet.intro) {
        paragraph(introFont, QColor(0x3a, 0x46, 0x58), text, m.Px(m.bodyPt * 0.6));
    }

    // Whole device pixels for every column but the last, which takes what is left, so the grid
    // lines fall on the same places in every row.
    const qsizetype columnCount = sheet.columns.size();
    if (sheet.shares.size() != columnCount) {
        throw std::runtime_error("sheet '" + sheet.title.toStdString() + "': a share for each column");
    }
    std::vector<double> widths;
    double used = 0;
    for (qsizetype i = 0; i + 1 < columnCount; ++i) {
        widths.push_back(std::round(area.width() * sheet.shares[i]));
        used += widths.back();
    }
    widths.push_back(area.width() - used);
    std::vector<double> lefts{area.left()};
    for (qsizetype i = 0; i + 1 < columnCount; ++i) {
        lefts.push_back(lefts.back() + widths[size_t(i)]);
    }

    const double tableTop = y;
    std::vector<double> rules{y};
    // For each inner column edge, whether each row has a grid line there (a spanning cell has none).
    std::vector<std::vector<bool>> edgeInRow(static_cast<size_t>(columnCount));

    const auto tableRow = [&](const QStringList& cells, const QList<QFont>& fonts, const QList<QColor>& fills,
                              const QColor& ink) {
        if (cells.isEmpty() || cells.size() > columnCount) {
            throw std::runtime_error("sheet '" + sheet.title.toStdString() + "': a row of " +
                                     std::to_string(cells.size()) + " cells");
        }
        const double inset = pad * 0.8 + m.Px(m.spreadPt);
        std::vector<double> cellWidths;
        double h = 0;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            double w = widths[size_t(i)];
            if (i + 1 == cells.size()) {
                for (qsizetype j = i + 1; j < columnCount; ++j) {
                    w += widths[size_t(j)];
                }
            }
            cellWidths.push_back(w);
            h = std::max(h, m.TextHeight(fonts[i], w - 2 * pad, cells[i]));
        }
        h += 2 * inset;
        if (p) {
            for (qsizetype i = 0; i < cells.size(); ++i) {
                p->fillRect(QRectF(lefts[size_t(i)], y, cellWidths[size_t(i)], h), fills[i]);
            }
            p->setPen(ink);
            for (qsizetype i = 0; i < cells.size(); ++i) {
                p->setFont(fonts[i]);
                p->drawText(QRectF(lefts[size_t(i)] + pad, y + inset, cellWidths[size_t(i)] - 2 * pad, h), wrap,
                            cells[i]);
            }
        }
        for (qsizetype edge = 1; edge < columnCount; ++edge) {
            edgeInRow[size_t(edge)].push_back(edge < cells.size());
        }
        y += h;
        rules.push_back(y);
    };

    const QList<QFont> headFonts(columnCount, headFont);
    tableRow(sheet.columns, headFonts, QList<QColor>(columnCount, kHeaderFill), Qt::white);
    QList<QFont> rowFonts(columnCount, bodyFont);
    rowFonts[0] = criterionFont;
    int stripe = 0;
    for (const QStringList& row : sheet.rows) {
        if (row.size() == 1 && columnCount > 1) {
            // A section starts the striping afresh, so its first row always reads white.
            tableRow(row, {m.Font(m.bodyPt, QFont::Bold)}, {kSectionFill}, kNavy);
            stripe = 0;
            continue;
        }
        QList<QColor> fills(columnCount, stripe++ % 2 ? kStripeFill : Qt::white);
        fills[0] = kCriterionFill;
        tableRow(row, rowFonts, fills, kInk);
    }

    if (p) {
        p->setPen(QPen(kGrid, m.Px(0.6)));
        p->setBrush(Qt::NoBrush);
        for (double r : rules) {
            p->drawLine(QPointF(area.left(), r), QPointF(area.right(), r));
        }
        // Each edge in runs over the rows that have it: one line from top to bottom in a plain
        // table, broken where a cell spans across it.
        p->drawLine(QPointF(area.left(), tableTop), QPointF(area.left(), y));
        for (qsizetype edge = 1; edge < columnCount; ++edge) {
            const std::vector<bool>& present = edgeInRow[size_t(edge)];
            for (size_t row = 0; row < present.size();) {
                if (!present[row]) {
                    ++row;
                    continue;
                }
                const size_t first = row;
                while (row < present.size() && present[row]) {
                    ++row;
                }
                const double x = lefts[size_t(edge)];
                p->drawLine(QPointF(x, rules[first]), QPointF(x, rules[row]));
            }
        }
        p->drawLine(QPointF(area.right(), tableTop), QPointF(area.right(), y));
        p->setPen(QPen(kHeaderFill, m.Px(1.0)));
        p->drawRect(QRectF(area.left(), tableTop, area.width(), y - tableTop));
    }
    y += m.Px(m.bodyPt * 0.8);
    for (const QString& text : sheet.notes) {
        paragraph(noteFont, QColor(0x22, 0x2e, 0x40), text, m.Px(m.bodyPt * 0.4));
    }
    return y - area.top();
}

namespace {

bool SheetFits(const Sheet& sheet, const SheetMetrics& m, const QRectF& area) {
    return LayoutSheet(nullptr, sheet, m, area) <= area.height();
}

} // namespace

double FittingBodyPt(const Sheet& sheet, SheetMetrics m, const QRectF& area, double largestPt, double smallestPt) {
    for (m.bodyPt = largestPt; m.bodyPt > smallestPt && !SheetFits(sheet, m, area); m.bodyPt -= 0.25) {
    }
    return std::max(m.bodyPt, smallestPt);
}

SheetMetrics SpreadRows(const Sheet& sheet, SheetMetrics m, const QRectF& area) {
    for (SheetMetrics wider = m; wider.spreadPt <= m.bodyPt * 0.5 && SheetFits(sheet, wider, area);
         wider.spreadPt += 0.25) {
        m = wider;
    }
    return m;
}

void SheetPage::SetUp(QPdfWriter& pdf) const {
    pdf.setResolution(kSheetDpi);
    pdf.setPageSize(size);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setCreator(QStringLiteral("Tormalind UTILITY"));
}

namespace {

void WriteSheetPdf(const Sheet& sheet, double bodyPt, const SheetPage& page, const QString& path) {
    {
        QPdfWriter pdf(path);
        page.SetUp(pdf);
        pdf.setTitle(sheet.title);
        QPainter p(&pdf);
        BeginPainting(p);
        const QRectF body = page.Body();
        const SheetMetrics m = SpreadRows(sheet, {kSheetUnit, bodyPt, &pdf}, body);
        LayoutSheet(&p, sheet, m, body);

        p.setFont(m.Font(page.footerPt));
        p.setPen(QColor(0x7a, 0x86, 0x96));
        const QRectF footer(body.left(), page.page.bottom() - page.foot * 0.6, body.width(),
                            1.6 * page.footerPt * kSheetUnit);
        p.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, page.footer);
        p.fillRect(QRectF(body.left(), footer.top() - kSheetUnit * 0.8, body.width(), kSheetUnit * 0.6),
                   QColor(0xc4, 0xcc, 0xd6));
    }
    FixCreationDate(path);
}

} // namespace

void WriteSheetPdfs(const std::vector<std::pair<Sheet, QString>>& sheets, const SheetPage& page, double largestPt,
                    double smallestPt) {
    QBuffer scratch;
    scratch.open(QIODevice::WriteOnly);
    QPdfWriter measuring(&scratch);
    page.SetUp(measuring);
    const QRectF body = page.Body();
    double bodyPt = largestPt;
    for (const auto& [sheet, path] : sheets) {
        bodyPt = std::min(bodyPt, FittingBodyPt(sheet, {kSheetUnit, bodyPt, &measuring}, body, largestPt, smallestPt));
    }
    for (const auto& [sheet, path] : sheets) {
        if (!SheetFits(sheet, {kSheetUnit, bodyPt, &measuring}, body)) {
            throw std::runtime_error("'" + sheet.title.toStdString() + "' does not fit its page at " +
                                     std::to_string(smallestPt) + " pt");
        }
    }
    for (const auto& [sheet, path] : sheets) {
        WriteSheetPdf(sheet, bodyPt, page, path);
    }
}

} // namespace assets
