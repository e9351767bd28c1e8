#include "kit/ChartScale.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kit {

namespace {

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::sqrt(QPointF::dotProduct(d, d));
}

} // namespace

Ticks MakeTicks(double low, double high, double count) {
    Ticks ticks;
    const double raw = (high - low) / std::max(count, 1.0);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normal = raw / magnitude;
    const double nice = normal < 1.5 ? 1.0 : normal < 2.25 ? 2.0 : normal < 3.5 ? 2.5 : normal < 7.5 ? 5.0 : 10.0;
    ticks.step = nice * magnitude;
    while (ticks.decimals < 12) {
        const double scaled = ticks.step * std::pow(10.0, ticks.decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * scaled) {
            break;
        }
        ++ticks.decimals;
    }
    const double slack = ticks.step * 1e-9;
    for (double k = std::ceil((low - slack) / ticks.step); k * ticks.step <= high + slack; k += 1.0) {
        const double value = k * ticks.step;
        ticks.values.push_back(value);
        // "0.00", never "-0.00", for the tick at zero.
        ticks.texts.push_back(QString::number(k == 0.0 ? 0.0 : value, 'f', ticks.decimals));
        if (ticks.values.size() > 200) {
            break;
        }
    }
    return ticks;
}

void WidenRange(double& low, double& high) {
    if (!(low <= high) || !std::isfinite(low) || !std::isfinite(high)) {
        low = 0.0;
        high = 1.0;
    } else if (low == high) {
        const double pad = low == 0.0 ? 1.0 : 0.5 * std::pow(10.0, std::floor(std::log10(std::abs(low))));
        low -= pad;
        high += pad;
    }
}

QList<QPointF> ThinnedLine(const QList<QPointF>& points, QSizeF scale, double tolerance) {
    QList<QPointF> finite;
    finite.reserve(points.size());
    std::copy_if(points.begin(), points.end(), std::back_inserter(finite),
                 [](const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); });
    const qsizetype n = finite.size();
    if (n <= 2 || !std::isfinite(scale.width()) || !std::isfinite(scale.height())) {
        return finite;
    }
    std::vector<QPointF> pixels(static_cast<std::size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        pixels[std::size_t(i)] = QPointF(finite[i].x() * scale.width(), finite[i].y() * scale.height());
    }
    std::vector<char> keep(static_cast<std::size_t>(n), 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<qsizetype, qsizetype>> spans = {{0, n - 1}};
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        double farthest = 0.0;
        qsizetype at = -1;
        for (qsizetype i = first + 1; i < last; ++i) {
            const double d =
                DistanceToSegment(pixels[std::size_t(i)], pixels[std::size_t(first)], pixels[std::size_t(last)]);
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (at >= 0 && farthest > tolerance) {
            keep[std::size_t(at)] = 1;
            spans.push_back({first, at});
            spans.push_back({at, last});
        }
    }
    QList<QPointF> drawn;
    for (qsizetype i = 0; i < n; ++i) {
        if (keep[std::size_t(i)]) {
            drawn.append(finite[i]);
        }
    }
    return drawn;
}

} // namespace kit
