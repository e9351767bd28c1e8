#include "kit/ChartTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace kit {

namespace {

// Values in this range are written out in full: a depth of 0.00002 m or a
// swath of 123456.5 m reads better than its exponent form.
constexpr double kFixedLow = 1e-5;
constexpr double kFixedHigh = 1e15;

QString Heading(const QString& text) {
    QString cleaned = text;
    for (QChar& c : cleaned) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            c = QLatin1Char(' ');
        }
    }
    return cleaned;
}

QString SeriesHeading(const TableSeries& series, std::size_t index) {
    return series.title.isEmpty() ? QStringLiteral("Series %1").arg(index + 1) : Heading(series.title);
}

bool SameX(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// True when every series has the same x values as the first, point by point.
bool SharesX(const std::vector<TableSeries>& series) {
    const QList<QPointF>& first = series.front().points;
    for (const TableSeries& other : series) {
        if (other.points.size() != first.size()) {
            return false;
        }
        for (qsizetype i = 0; i < first.size(); ++i) {
            if (!SameX(other.points[i].x(), first[i].x())) {
                return false;
            }
        }
    }
    return true;
}

void AppendNumber(QString& line, double value) { line += QString::fromStdString(TableNumber(value)); }

} // namespace

std::string TableNumber(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0.0) {
        return "0";
    }
    char text[64];
    const double size = std::fabs(value);
    const std::to_chars_result written = size >= kFixedLow && size < kFixedHigh
                                             ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                                             : std::to_chars(text, text + sizeof text, value);
    // 64 characters hold any double in these forms; a failure would be a fault
    // of the library, and an empty cell is better than a wrong number.
    return written.ec == std::errc() ? std::string(text, written.ptr) : std::string();
}

QString ChartTableText(const QString& xTitle, const std::vector<TableSeries>& series) {
    const QString xHeading = xTitle.isEmpty() ? QStringLiteral("X") : Heading(xTitle);
    QString table;
    if (series.empty()) {
        return xHeading + QLatin1Char('\n');
    }
    if (SharesX(series)) {
        table += xHeading;
        for (std::size_t s = 0; s < series.size(); ++s) {
            table += QLatin1Char('\t') + SeriesHeading(series[s], s);
        }
        table += QLatin1Char('\n');
        const QList<QPointF>& xs = series.front().points;
        for (qsizetype i = 0; i < xs.size(); ++i) {
            AppendNumber(table, xs[i].x());
            for (const TableSeries& one : series) {
                table += QLatin1Char('\t');
                AppendNumber(table, one.points[i].y());
            }
            table += QLatin1Char('\n');
        }
        return table;
    }

    qsizetype rows = 0;
    for (std::size_t s = 0; s < series.size(); ++s) {
        const QString heading = SeriesHeading(series[s], s);
        table += (s == 0 ? QString() : QStringLiteral("\t")) + heading + QStringLiteral(": ") + xHeading +
                 QLatin1Char('\t') + heading;
        rows = std::max(rows, series[s].points.size());
    }
    table += QLatin1Char('\n');
    for (qsizetype i = 0; i < rows; ++i) {
        for (std::size_t s = 0; s < series.size(); ++s) {
            if (s > 0) {
                table += QLatin1Char('\t');
            }
            // Past the end of a shorter series both cells stay empty, and
            // the tab between them keeps the columns of the next series in place.
            const QList<QPointF>& points = series[s].points;
            if (i < points.size()) {
                AppendNumber(table, points[i].x());
                table += QLatin1Char('\t');
                AppendNumber(table, points[i].y());
            } else {
                table += QLatin1Char('\t');
            }
        }
        table += QLatin1Char('\n');
    }
    return table;
}

} // namespace kit
