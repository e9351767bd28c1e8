// Requirement sheets: a small text markup laid out as a titled two-column table.

#include "assets/SheetText.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <stdexcept>

namespace assets {

namespace {

QString UnescapeCell(QString text) { return text.trimmed().replace(QStringLiteral("\\n"), QStringLiteral("\n")); }

} // namespace

Sheet ReadSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    Sheet sheet;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        const QString key = colon < 0 ? QString() : line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        const auto cells = [&]() {
            const qsizetype bar = value.indexOf(QLatin1Char('|'));
            if (bar < 0) {
                throw std::runtime_error(
                    QStringLiteral("%1:%2: expected 'criterion | requirement'").arg(path).arg(n + 1).toStdString());
            }
            return QStringList{UnescapeCell(value.left(bar)), UnescapeCell(value.mid(bar + 1))};
        };
        if (key == QLatin1String("title")) {
            sheet.title = value;
        } else if (key == QLatin1String("intro")) {
            sheet.intro << value;
        } else if (key == QLatin1String("columns")) {
            sheet.columns = cells();
        } else if (key == QLatin1String("row")) {
            sheet.rows << cells();
        } else if (key == QLatin1String("note")) {
            sheet.notes << value;
        } else {
            throw std::runtime_error(
                QStringLiteral("%1:%2: unknown line '%3'").arg(path).arg(n + 1).arg(line).toStdString());
        }
    }
    if (sheet.title.isEmpty() || sheet.rows.isEmpty()) {
        throw std::runtime_error("no title or no rows in " + path.toStdString());
    }
    return sheet;
}

// All order sheets share one page: about 145 x 150 mm, so a whole page fills the document
// panel at a readable size.
SheetPage OrderPage() {
    constexpr double widthMm = 145, heightMm = 150, marginMm = 8, footMm = 13;
    constexpr double mmToPx = kSheetDpi / 25.4;
    return {QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QStringLiteral("Order sheet")),
            QRectF(0, 0, widthMm * mmToPx, heightMm * mmToPx),
            marginMm * mmToPx,
            footMm * mmToPx,
            7,
            QStringLiteral("Tormalind UTILITY · survey order reference")};
}

// Drawn at twice the size the window shows it, 1 pt = 2 px, for a sharp downscale.
QImage DrawSheetPicture(const Sheet& sheet, int w, int h) {
    QImage image = OpaqueCanvas(w, h);
    QPainter p(&image);
    BeginPainting(p);
    const double unit = 2.0, margin = 10 * unit;
    const QRectF area(margin, margin, w - 2 * margin, h - 2 * margin);
    SheetMetrics m{unit, 12, &image};
    m.bodyPt = FittingBodyPt(sheet, m, area, 14, 8);
    LayoutSheet(&p, sheet, SpreadRows(sheet, m, area), area);
    return image;
}

} // namespace assets
