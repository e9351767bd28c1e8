// tormalind-make-assets: draws every picture and requirement sheet the windows show.
//
//   tormalind-make-assets OUTPUT_DIR DOCUMENTS_DIR
//
// Nothing here is read from a binary file: the artwork is drawn with QPainter and the
// requirement sheets are laid out from the plain-text files in DOCUMENTS_DIR, so a change
// to a tolerance is a one-line text edit and the build redraws the sheet. All randomness
// comes from integer hashes with fixed seeds, so two runs give the same pictures. The
// equipment sheets and drawings come from ReferenceDocuments.h.

#include "assets/AssetPainting.h"
#include "assets/ReferenceDocuments.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace {

using namespace assets;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

// ---------------------------------------------------------------------------------------------
// Shared palette and small helpers

const QColor kFoam(0x9c, 0xe2, 0xe4);

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = clamp01(t);
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QImage opaqueCanvas(int w, int h, const QColor& fill = Qt::white) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage transparentCanvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Text as a path, so it can carry an outline that keeps it readable over a busy picture.
QPainterPath textPath(const QString& text, const QFont& font, QPointF baselineCentre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(baselineCentre.x() - box.center().x(), baselineCentre.y());
    return path;
}

// The colour ramp of depth-coded bathymetry: red on the shoals, through yellow, green, cyan
// and blue, to purple in the deepest water. t = 0 is shallowest.
QColor depthColour(double t) {
    struct Stop {
        double t;
        QColor c;
    };
    static const Stop stops[] = {
        {0.00, QColor(0xc8, 0x10, 0x1e)}, {0.14, QColor(0xf2, 0x5c, 0x14)}, {0.28, QColor(0xf7, 0xd8, 0x26)},
        {0.44, QColor(0x5c, 0xd0, 0x3a)}, {0.60, QColor(0x26, 0xc9, 0xd6)}, {0.76, QColor(0x2a, 0x62, 0xe0)},
        {0.90, QColor(0x5a, 0x2c, 0xc4)}, {1.00, QColor(0x7c, 0x1e, 0x96)},
    };
    t = clamp01(t);
    for (size_t i = 1; i < std::size(stops); ++i) {
        if (t <= stops[i].t) {
            return mix(stops[i - 1].c, stops[i].c, (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t));
        }
    }
    return stops[std::size(stops) - 1].c;
}

// ---------------------------------------------------------------------------------------------
// Deterministic noise: integer hashes, never the standard library's distributions (whose
// output is allowed to differ between implementations).

uint32_t hash2(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double lattice(int32_t x, int32_t y, uint32_t seed) { return hash2(x, y, seed) / 4294967296.0 * 2.0 - 1.0; }

double valueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = int32_t(fx), iy = int32_t(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    const double sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    const double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// Fractal sum of octaves, roughly in -1..1.
double fbm(double x, double y, uint32_t seed, int octaves, double gain = 0.5) {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y, seed + uint32_t(i) * 101u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / norm;
}

// Sharp-crested noise for rock outcrop, 0..1.
double ridged(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const double r = 1.0 - std::abs(valueNoise(x, y, seed + uint32_t(i) * 211u));
        sum += amplitude * r * r;
        norm += amplitude;
        amplitude *= 0.5;
        x *= 2.1;
        y *= 2.1;
    }
    return sum / norm;
}

struct Random {
    uint64_t state;
    double next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return double((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
    }
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }
};

// ---------------------------------------------------------------------------------------------
// Synthetic multibeam survey: a depth grid (metres, positive down, one cell a metre) with the
// features a surveyor expects to see on a shallow shelf, then the traces the survey itself
// leaves: swath edges where lines overlap and a slight roll residual in the outer beams.

struct DepthGrid {
    int w = 0, h = 0;
    std::vector<float> depth;
    std::vector<float> swathEdge; // 1 on the outer-beam edge of an overlying line, fading to 0
    float at(int x, int y) const {
        return depth[size_t(std::clamp(y, 0, h - 1)) * size_t(w) + size_t(std::clamp(x, 0, w - 1))];
    }
};

struct Wreck {
    double cx, cy, heading, length, beam;
};

// Height (m) of a broken hull above the bed, and the distance outside its outline.
double wreckHeight(const Wreck& wk, double x, double y, double* outside) {
    const double c = std::cos(wk.heading), s = std::sin(wk.heading);
    const double along = (x - wk.cx) * c + (y - wk.cy) * s;
    const double across = -(x - wk.cx) * s + (y - wk.cy) * c;
    const double half = wk.length / 2;
    // Bow tapers over its forward quarter; stern is square.
    const double taper = along > half * 0.45 ? std::max(0.0, 1.0 - (along - half * 0.45) / (half * 0.55)) : 1.0;
    const double halfBeam = wk.beam / 2 * std::sqrt(taper);
    const double dAlong = std::max(std::abs(along) - half, 0.0);
    const double dAcross = std::max(std::abs(across) - halfBeam, 0.0);
    *outside = std::hypot(dAlong, dAcross);
    if (std::abs(along) > half || std::abs(across) > halfBeam) {
        return 0.0;
    }
    // Rounded hull section, settled into the bed at the ends.
    const double section = std::sqrt(std::max(0.0, 1.0 - std::pow(across / halfBeam, 2)));
    const double edge = smoothstep(0.0, 4.0, half - std::abs(along));
    double height = 2.2 * section * edge;
    // Superstructure aft of midships, and the hull broken across forward of it.
    const double deckhouse = smoothstep(-half * 0.6, -half * 0.5, along) * smoothstep(-half * 0.1, -half * 0.2, along);
    height += 1.0 * deckhouse * smoothstep(0.65, 0.35, std::abs(across) / halfBeam);
    height *= 1.0 - 0.55 * std::exp(-std::pow((along - half * 0.18) / 2.5, 2));
    return height;
}

DepthGrid surveyDepths(int w, int h) {
    DepthGrid g;
    g.w = w;
    g.h = h;
    g.depth.assign(size_t(w) * size_t(h), 0.f);
    g.swathEdge.assign(size_t(w) * size_t(h), 0.f);

    Random rnd{20240611};
    // The wreck and its debris lie clear of the launcher's banner and title, in view whole.
    const Wreck wreck{w * 0.78, h * 0.62, -28 * kDeg, 64, 15};

    struct Bump {
        double x, y, r, height;
    };
    std::vector<Bump> bumps;
    for (int i = 0; i < 70; ++i) { // boulders scattered over the shoal's flanks
        const double a = rnd.range(0, 2 * kPi), d = rnd.range(40, 120);
        bumps.push_back(
            {w * 0.84 + d * std::cos(a), h * 0.24 + d * std::sin(a) * 0.8, rnd.range(2.5, 4.5), rnd.range(0.3, 0.9)});
    }
    for (int i = 0; i < 14; ++i) { // debris field around the wreck
        const double a = rnd.range(0, 2 * kPi), d = rnd.range(20, 42);
        bumps.push_back(
            {wreck.cx + d * std::cos(a), wreck.cy + d * std::sin(a), rnd.range(2.0, 3.0), rnd.range(0.2, 0.5)});
    }
    for (int i = 0; i < 7; ++i) { // pockmarks in the soft sediment of the western basin
        bumps.push_back(
            {rnd.range(w * 0.05, w * 0.30), rnd.range(h * 0.52, h * 0.92), rnd.range(5, 10), -rnd.range(0.8, 1.5)});
    }

    // Survey lines run east-north-east, spaced for about 20 % overlap at the mean depth.
    const double lineAngle = -9 * kDeg;
    const double lc = std::cos(lineAngle), ls = std::sin(lineAngle);
    const double spacing = 64;

    const auto channelCentre = [&](double x) {
        return h * 0.30 + 34 * std::sin(x / 115.0 + 0.4) + 11 * std::sin(x / 43.0 + 2.0) + 0.10 * (x - w * 0.5);
    };

    const auto columns = static_cast<size_t>(w);
    std::vector<double> channelY(columns), channelCosine(columns), channelHalfWidth(columns);
    for (int x = 0; x < w; ++x) {
        const double slope = (channelCentre(x + 1) - channelCentre(x - 1)) / 2;
        channelY[size_t(x)] = channelCentre(x);
        channelCosine[size_t(x)] = 1 / std::sqrt(1 + slope * slope);
        channelHalfWidth[size_t(x)] = 34 + 8 * fbm(x / 60.0, 3.3, 43, 2);
    }

    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w, v = double(y) / h;
            // Regional slope: deep to the north, shoaling towards the southern shore, with an
            // outcropping bank to the north-east.
            double d = 35.0 - 13.0 * v + 4.5 * fbm(x / 210.0, y / 210.0, 7, 5);
            const double bank = std::exp(-(std::pow((u - 0.84) / 0.17, 2) + std::pow((v - 0.23) / 0.26, 2)));
            d -= 21.0 * bank;
            if (bank > 1e-3) {
                d -= 2.2 * bank * ridged(x / 38.0, y / 38.0, 31, 4);
            }
            d += 0.35 * fbm(x / 35.0, y / 35.0, 19, 3) + 0.08 * fbm(x / 9.0, y / 9.0, 23, 2);

            // Scoured tidal channel with a flat floor and soft banks (see the column tables above).
            const double across = std::abs(y - channelY[size_t(x)]) * channelCosine[size_t(x)];
            const double channel = std::exp(-std::pow(across / channelHalfWidth[size_t(x)], 2.5));
            d += 11.0 * channel * (1.0 - bank);

            // Sand waves, asymmetric with the steep lee face to the east, in patches away from
            // the channel floor and the rock.
            const double field = smoothstep(-0.05, 0.35, fbm(x / 170.0 + 9, y / 170.0, 53, 3)) * (1 - channel) *
                                 (1 - smoothstep(0.25, 0.55, bank));
            if (field > 0) {
                const double phase =
                    (x * std::cos(12 * kDeg) + y * std::sin(12 * kDeg)) / 23.0 + 0.6 * fbm(x / 95.0, y / 95.0, 61, 3);
                const double p = phase - std::floor(phase);
                const double crest = p < 0.68 ? smoothstep(0, 1, p / 0.68) : 1 - smoothstep(0, 1, (p - 0.68) / 0.32);
                const double ripple = std::sin((x * 0.3 + y * 0.95) / 1.6 + 2 * fbm(x / 30.0, y / 30.0, 67, 2));
                d -= field * (0.9 * crest + 0.12 * ripple);
            }

            // Wreck standing proud of a scour pit that the tide has cut around it.
            double outside = 0;
            d -= wreckHeight(wreck, x, y, &outside);
            const double downstream = 1.0 + 0.5 * smoothstep(-20, 20, (x - wreck.cx));
            d += 1.6 * std::exp(-std::pow(outside / (7.0 * downstream), 2)) * (outside > 0 ? 1.0 : 0.0);

            g.depth[size_t(y) * size_t(w) + size_t(x)] = float(d);
        }
    }

    for (const Bump& b : bumps) {
        const int reach = int(std::ceil(3 * b.r));
        for (int y = std::max(0, int(b.y) - reach); y <= std::min(h - 1, int(b.y) + reach); ++y) {
            for (int x = std::max(0, int(b.x) - reach); x <= std::min(w - 1, int(b.x) + reach); ++x) {
                const double r2 = (x - b.x) * (x - b.x) + (y - b.y) * (y - b.y);
                g.depth[size_t(y) * size_t(w) + size_t(x)] -= float(b.height * std::exp(-r2 / (b.r * b.r)));
            }
        }
    }

    // The survey's own signature: the later line lies over the earlier one, each with a small
    // roll residual that tilts its outer beams, and sounding noise.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float& d = g.depth[size_t(y) * size_t(w) + size_t(x)];
            const double a = x * -ls + y * lc, along = x * lc + y * ls;
            const int line = int(std::floor(a / spacing + 0.5));
            double bestLine = line, edgeDistance = 1e9, outerness = 1;
            for (int k = line + 1; k >= line - 1; --k) {
                const double halfSwath = spacing * 0.62 + 4 * fbm(along / 25.0, k * 7.0, 71, 2);
                const double off = a - k * spacing;
                if (std::abs(off) <= halfSwath) {
                    bestLine = k;
                    edgeDistance = off + halfSwath; // distance inside this line's port edge
                    outerness = std::abs(off) / halfSwath;
                    break;
                }
            }
            const double roll = 0.0025 * (hash2(int(bestLine), 0, 77) / 4294967296.0 - 0.5);
            // Sounding noise grows towards the outer beams, where grazing angles are low.
            d += float(roll * (a - bestLine * spacing) * (0.5 + d / 60) +
                       (0.035 + 0.06 * outerness * outerness) * lattice(x, y, 83));
            g.swathEdge[size_t(y) * size_t(w) + size_t(x)] = float(1.0 - smoothstep(0.0, 2.2, edgeDistance));
        }
    }
    return g;
}

// Depth colour times hill shade (sun from 315°, 45° up), the usual way a surveyor looks at a
// multibeam surface. 'light' lifts a band towards white, for text drawn over the picture.
QImage shadedRelief(const DepthGrid& g, const std::function<double(int, int)>& light) {
    std::vector<float> sorted(g.depth);
    std::sort(sorted.begin(), sorted.end());
    const double shallow = sorted[sorted.size() / 200], deep = sorted[sorted.size() - 1 - sorted.size() / 200];

    const double azimuth = 315 * kDeg, elevation = 45 * kDeg;
    // Image y grows southwards.
    const double lx = std::sin(azimuth) * std::cos(elevation), ly = -std::cos(azimuth) * std::cos(elevation),
                 lz = std::sin(elevation);
    const double exaggeration = 2.0;

    QImage image(g.w, g.h, QImage::Format_RGB32);
    for (int y = 0; y < g.h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < g.w; ++x) {
            // Elevation is minus depth.
            const double dzdx = -(g.at(x + 1, y) - g.at(x - 1, y)) / 2 * exaggeration;
            const double dzdy = -(g.at(x, y + 1) - g.at(x, y - 1)) / 2 * exaggeration;
            const double shade = (-dzdx * lx - dzdy * ly + lz) / std::sqrt(dzdx * dzdx + dzdy * dzdy + 1);
            // Normalised so flat ground keeps its colour; multiply darkens the lee slopes.
            double factor = std::clamp(0.18 + 0.82 * shade / lz, 0.25, 1.12);
            const float edge = g.swathEdge[size_t(y) * size_t(g.w) + size_t(x)];
            factor *= 1.0 - 0.22 * edge;

            const QColor base = depthColour((g.at(x, y) - shallow) / (deep - shallow));
            const double lift = light(x, y);
            const auto channel = [&](double c) {
                const double shaded = std::min(1.0, c * factor);
                return int(std::lround(255 * (shaded + (1 - shaded) * lift)));
            };
            row[x] = qRgb(channel(base.redF()), channel(base.greenF()), channel(base.blueF()));
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// Pictures

QImage drawSeabed(const DepthGrid& survey) {
    // The launcher's labels sit on the lower third in navy: wash it towards white.
    const int h = survey.h;
    return shadedRelief(survey, [h](int, int y) { return 0.50 * smoothstep(h * 0.56, h * 0.80, y); });
}

// A multibeam fan: beams from the transducer to a seabed profile, with the soundings marked
// in depth colour. Shared by the window icon and the banner.
struct FanStyle {
    QPointF transducer;
    double halfAngle; // degrees either side of nadir
    int beams;
    std::function<double(double)> seabedY; // seabed profile, y at x
    double beamWidth;
    double soundingRadius;
};

void drawFan(QPainter& p, const FanStyle& fan) {
    QPolygonF footprint;
    std::vector<QPointF> soundings;
    for (int i = 0; i < fan.beams; ++i) {
        const double angle = (-fan.halfAngle + 2 * fan.halfAngle * i / (fan.beams - 1)) * kDeg;
        const double dx = std::sin(angle), dy = std::cos(angle);
        // March along the beam until it meets the bed.
        double r = 0;
        while (fan.transducer.y() + r * dy < fan.seabedY(fan.transducer.x() + r * dx) && r < 1000) {
            r += 0.25;
        }
        soundings.emplace_back(fan.transducer.x() + r * dx, fan.transducer.y() + r * dy);
    }
    footprint << fan.transducer;
    for (const QPointF& s : soundings) {
        footprint << s;
    }

    double top = fan.transducer.y(), bottom = top;
    for (const QPointF& s : soundings) {
        bottom = std::max(bottom, s.y());
    }

    QLinearGradient glow(0, top, 0, bottom);
    glow.setColorAt(0, QColor(160, 240, 250, 120));
    glow.setColorAt(1, QColor(60, 200, 230, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawPolygon(footprint);

    for (const QPointF& s : soundings) {
        QLinearGradient beam(fan.transducer, s);
        beam.setColorAt(0, QColor(255, 255, 255, 200));
        beam.setColorAt(1, QColor(210, 250, 255, 70));
        p.setPen(QPen(QBrush(beam), fan.beamWidth));
        p.drawLine(fan.transducer, s);
    }

    double shallowY = 1e9, deepY = -1e9;
    for (const QPointF& s : soundings) {
        shallowY = std::min(shallowY, s.y());
        deepY = std::max(deepY, s.y());
    }
    p.setPen(Qt::NoPen);
    for (const QPointF& s : soundings) {
        p.setBrush(depthColour(0.1 + 0.8 * (s.y() - shallowY) / std::max(1.0, deepY - shallowY)));
        p.drawEllipse(s, fan.soundingRadius, fan.soundingRadius);
    }
}

void drawTransducer(QPainter& p, QPointF at, double size) {
    // A small hull-mounted head: a rounded block with the face pointing down.
    p.setPen(QPen(QColor(255, 255, 255, 230), size * 0.12));
    p.setBrush(QColor(0xf4, 0xa2, 0x1c));
    p.drawRoundedRect(QRectF(at.x() - size, at.y() - size * 0.9, 2 * size, size * 1.1), size * 0.3, size * 0.3);
}

// Drawn on a 64-unit tile and scaled, so the window icon and the desktop's icon sizes are one
// picture.
QImage drawIcon(const QImage& seabed, int size = 64) {
    QImage image = opaqueCanvas(size, size);
    QPainter p(&image);
    beginPainting(p);
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient water(0, 0, 0, 64);
    water.setColorAt(0, QColor(0x0a, 0x22, 0x46));
    water.setColorAt(1, QColor(0x10, 0x56, 0x70));
    // The tile in its own 64 units: the image's pixel rectangle, scaled with
    // the painter, would cover a corner of the small sizes only.
    p.fillRect(QRectF(0, 0, 64, 64), water);

    const auto bed = [](double x) { return 40.0 + 4.5 * std::sin(x / 9.0 + 0.8) + 1.5 * std::sin(x / 3.1); };
    QPainterPath ground;
    ground.moveTo(0, 64);
    for (double x = 0; x <= 64; x += 1) {
        ground.lineTo(x, bed(x));
    }
    ground.lineTo(64, 64);
    ground.closeSubpath();
    p.save();
    p.setClipPath(ground);
    // A crop of the survey with the wreck and sand waves, scaled down into the tile.
    p.drawImage(QRectF(0, 30, 64, 34), seabed, QRectF(330, 180, 200, 106));
    p.restore();

    drawFan(p, {QPointF(32, 10), 58, 13, bed, 1.0, 1.6});
    drawTransducer(p, QPointF(32, 10), 5);

    p.setPen(QPen(QColor(0x04, 0x10, 0x24), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, 62, 62));
    return image;
}

QImage drawBanner() {
    QImage image = opaqueCanvas(580, 97);
    QPainter p(&image);
    beginPainting(p);

    QLinearGradient sea(0, 0, 580, 97);
    sea.setColorAt(0, QColor(0x07, 0x17, 0x33));
    sea.setColorAt(0.55, QColor(0x0b, 0x35, 0x56));
    sea.setColorAt(1, QColor(0x0f, 0x64, 0x70));
    p.fillRect(image.rect(), sea);

    // Faint depth contours across the right of the banner.
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 7; ++k) {
        QPainterPath contour;
        for (int x = 120; x <= 580; x += 4) {
            const double y = 8 + k * 14 + 6 * std::sin(x / 57.0 + k * 0.7) + 3 * std::sin(x / 23.0 + k);
            x == 120 ? contour.moveTo(x, y) : contour.lineTo(x, y);
        }
        p.setPen(QPen(QColor(150, 230, 240, 18 + 3 * k), 1));
        p.drawPath(contour);
    }

    const auto bed = [](double x) { return 80.0 + 5 * std::sin((x - 20) / 15.0) + 2 * std::sin(x / 5.5); };
    QPainterPath ground;
    ground.moveTo(0, 97);
    for (double x = 0; x <= 134; x += 1) {
        ground.lineTo(x, bed(x));
    }
    ground.lineTo(134, 97);
    ground.closeSubpath();
    // The bed fades out to the right, where the word mark begins.
    QLinearGradient sediment(0, 0, 134, 0);
    sediment.setColorAt(0, QColor(0x2b, 0x62, 0x72, 230));
    sediment.setColorAt(0.7, QColor(0x2b, 0x62, 0x72, 150));
    sediment.setColorAt(1, QColor(0x2b, 0x62, 0x72, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sediment);
    p.drawPath(ground);

    drawFan(p, {QPointF(63, 12), 41, 33, bed, 0.8, 1.6});
    drawTransducer(p, QPointF(63, 12), 6);

    p.setPen(QPen(QColor(150, 230, 240, 90), 1));
    p.drawLine(QPointF(134.5, 16), QPointF(134.5, 81));

    QFont title = sansFont(44, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QPointF(152, 55), QStringLiteral("TORMALIND"));

    QFont tagline = sansFont(17);
    tagline.setLetterSpacing(QFont::AbsoluteSpacing, 2.4);
    p.setFont(tagline);
    p.setPen(kFoam);
    p.drawText(QPointF(154, 80), QStringLiteral("multibeam survey tools"));
    return image;
}

// The maker's emblem: a ring with a north mark, the sea surface across it and a sounding fan
// from the surface down to the bed.
void drawEmblem(QPainter& p, QPointF c, double r, const QColor& ink, const QColor& accent) {
    p.save();
    p.translate(c);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, r * 0.075));
    p.drawEllipse(QPointF(0, 0), r * 0.9, r * 0.9);
    QPolygonF north;
    north << QPointF(0, -r * 1.16) << QPointF(-r * 0.13, -r * 0.86) << QPointF(r * 0.13, -r * 0.86);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(north);

    QPainterPath inside;
    inside.addEllipse(QPointF(0, 0), r * 0.82, r * 0.82);
    p.setClipPath(inside);

    const auto surface = [r](double x) { return -r * 0.30 + r * 0.06 * std::sin(x / r * 2.4 * kPi); };
    const auto bed = [r](double x) { return r * 0.50 - r * 0.28 * (x / r) * (x / r) + r * 0.03 * std::sin(x / r * 9); };

    QPainterPath seabed;
    seabed.moveTo(-r, r);
    for (double x = -r; x <= r; x += r / 40) {
        seabed.lineTo(x, bed(x));
    }
    seabed.lineTo(r, r);
    seabed.closeSubpath();
    QLinearGradient sediment(0, r * 0.2, 0, r);
    sediment.setColorAt(0, mix(accent, Qt::black, 0.35));
    sediment.setColorAt(1, mix(accent, Qt::black, 0.75));
    p.setBrush(sediment);
    p.drawPath(seabed);

    const QPointF head(0, surface(0) + r * 0.05);
    QPolygonF fan;
    fan << head;
    std::vector<QPointF> ends;
    for (int i = 0; i <= 10; ++i) {
        const double angle = (-45 + 9 * i) * kDeg;
        double t = 0;
        while (head.y() + t * std::cos(angle) < bed(head.x() + t * std::sin(angle))) {
            t += r / 200;
        }
        ends.emplace_back(head.x() + t * std::sin(angle), head.y() + t * std::cos(angle));
        fan << ends.back();
    }
    p.setBrush(QColor(accent.red(), accent.green(), accent.blue(), 70));
    p.drawPolygon(fan);
    p.setPen(QPen(ink, r * 0.03, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& e : ends) {
        p.drawLine(head, e);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (const QPointF& e : ends) {
        p.drawEllipse(e, r * 0.045, r * 0.045);
    }

    QPainterPath sea;
    for (double x = -r; x <= r; x += r / 40) {
        x == -r ? sea.moveTo(x, surface(x)) : sea.lineTo(x, surface(x));
    }
    p.setPen(QPen(accent, r * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sea);
    p.restore();
}

QImage drawMakerLogo() {
    QImage image = transparentCanvas(257, 207);
    QPainter p(&image);
    beginPainting(p);

    // A translucent navy plate keeps the mark readable over the coloured relief.
    const QRectF plate(6, 6, 245, 195);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    p.setBrush(QColor(8, 24, 52, 190));
    p.drawRoundedRect(plate, 18, 18);

    drawEmblem(p, QPointF(128.5, 80), 57, Qt::white, QColor(0x5c, 0xe0, 0xe6));

    const QPainterPath word = textPath(QStringLiteral("Tormalind"), sansFont(40, QFont::Bold), QPointF(128.5, 177));
    p.setPen(QPen(QColor(4, 14, 32, 230), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(word);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(word);
    return image;
}

QImage drawIhoMark() {
    QImage image = opaqueCanvas(115, 67);
    QPainter p(&image);
    beginPainting(p);
    const QPointF c(33.5, 33.5);

    p.setPen(QPen(kNavy, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 29, 29);
    p.setPen(QPen(kNavy, 0.8));
    p.drawEllipse(c, 25.5, 25.5);

    // Eight-point rose: each point split into a filled and an open half.
    p.translate(c);
    for (int q = 0; q < 8; ++q) {
        const double len = q % 2 == 0 ? 24.5 : 14.5, waist = q % 2 == 0 ? 5.0 : 3.6;
        p.save();
        p.rotate(q * 45);
        QPolygonF dark, light;
        dark << QPointF(0, -len) << QPointF(-waist, -waist) << QPointF(0, 0);
        light << QPointF(0, -len) << QPointF(waist, -waist) << QPointF(0, 0);
        p.setPen(QPen(kNavy, 0.9, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(light);
        p.setBrush(kNavy);
        p.drawPolygon(dark);
        p.restore();
    }
    p.setBrush(Qt::white);
    p.setPen(QPen(kNavy, 1.2));
    p.drawEllipse(QPointF(0, 0), 2.2, 2.2);
    p.resetTransform();

    QFont letters = sansFont(27, QFont::Bold);
    letters.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(letters);
    p.setPen(kNavy);
    p.drawText(QRectF(66, 0, 49, 67), Qt::AlignCenter, QStringLiteral("IHO"));
    return image;
}

QImage drawNordicFlags() {
    QImage image = opaqueCanvas(117, 55);
    QPainter p(&image);

    // Finland 11:18, cross bands 5-3-10 by 4-3-4 units; 3 px a unit.
    const QRect fi(2, 11, 54, 33);
    p.fillRect(fi, Qt::white);
    const QColor fiBlue(0x00, 0x2f, 0x6c);
    p.fillRect(QRect(fi.x() + 15, fi.y(), 9, 33), fiBlue);
    p.fillRect(QRect(fi.x(), fi.y() + 12, 54, 9), fiBlue);

    // Sweden 10:16, cross bands 5-2-9 by 4-2-4 units; 3.3 px a unit, rounded to whole pixels.
    const QRect se(62, 11, 53, 33);
    p.fillRect(se, QColor(0x00, 0x6a, 0xa7));
    const QColor seYellow(0xfe, 0xcc, 0x02);
    p.fillRect(QRect(se.x() + 16, se.y(), 7, 33), seYellow);
    p.fillRect(QRect(se.x(), se.y() + 13, 53, 7), seYellow);

    // A hairline frame so the white of the Finnish flag stands off the white ground.
    p.setPen(QColor(0xa0, 0xa8, 0xb4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(fi.adjusted(-1, -1, 0, 0));
    p.drawRect(se.adjusted(-1, -1, 0, 0));
    return image;
}

QImage drawLinzBadge() {
    QImage image = opaqueCanvas(117, 55);
    QPainter p(&image);
    beginPainting(p);

    QLinearGradient fill(0, 3, 0, 52);
    fill.setColorAt(0, QColor(0x13, 0x5c, 0x72));
    fill.setColorAt(1, QColor(0x0a, 0x3a, 0x52));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(3, 3, 111, 49), 7, 7);

    QFont word = sansFont(27, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(word);
    p.setPen(Qt::white);
    p.drawText(QRectF(4, 5, 111, 30), Qt::AlignCenter, QStringLiteral("LINZ"));

    p.setPen(QPen(QColor(0x9c, 0xe2, 0xe4, 170), 1));
    p.drawLine(QPointF(24, 35.5), QPointF(93, 35.5));

    QFont small = sansFont(11);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(small);
    p.setPen(kFoam);
    p.drawText(QRectF(3, 36, 111, 14), Qt::AlignCenter, QStringLiteral("hydrographic"));
    return image;
}

QImage drawDutchFlag() {
    QImage image = opaqueCanvas(57, 40);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 57, 13), QColor(0xae, 0x1c, 0x28));
    p.fillRect(QRect(0, 13, 57, 14), Qt::white);
    p.fillRect(QRect(0, 27, 57, 13), QColor(0x21, 0x46, 0x8b));
    p.setPen(QColor(0xa0, 0xa8, 0xb4));
    p.drawRect(QRect(0, 0, 56, 39));
    return image;
}

QImage drawWindfarmWordMark() {
    QImage image = opaqueCanvas(119, 40);
    QPainter p(&image);
    beginPainting(p);
    QFont word = sansFont(27);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(word);
    p.setPen(QColor(0x0b, 0x2a, 0x66));
    p.drawText(QRectF(0, 0, 119, 40), Qt::AlignCenter, QStringLiteral("Orsted"));
    return image;
}

// The radical of the TVU formula. The window lays the terms over it in Tahoma 16 px at
// x = 23, 31, 39 and 107, so everything right of x = 21 except the bar stays transparent.
QImage drawFormulaRoot() {
    QImage image = transparentCanvas(123, 27);
    QPainter p(&image);
    beginPainting(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawLine(QPointF(0.5, 15.5), QPointF(4.2, 13.2));
    // The descending stroke is the heavy one, as in set type.
    p.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.drawLine(QPointF(4.4, 13.4), QPointF(9.4, 24.6));
    QPainterPath rise;
    rise.moveTo(9.4, 24.6);
    rise.lineTo(20.0, 1.5);
    rise.lineTo(121.5, 1.5);
    p.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(rise);
    return image;
}

// Outline only: the window lays a bold "Scroll Depth" label into it at (12, 20).
QImage drawScrollArrow() {
    QImage image = transparentCanvas(105, 57);
    QPainter p(&image);
    beginPainting(p);
    QPolygonF arrow;
    arrow << QPointF(2.5, 13.5) << QPointF(69.5, 13.5) << QPointF(69.5, 2.5) << QPointF(101.0, 28.5)
          << QPointF(69.5, 54.5) << QPointF(69.5, 43.5) << QPointF(2.5, 43.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xd4, 0x14, 0x14), 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolygon(arrow);
    return image;
}

// An underwater vehicle seen from the front, carrying two sonar heads on its skids: the
// coverage calculator's reminder of what the head separation X and the mounting angle a are.
// A head tilted below the horizontal is a+, above it a-.
// The small road-works sign of the network tool: a yellow diamond with a black
// rim and a worker with a shovel, on a transparent ground.
QImage drawRoadworksSign() {
    QImage image = transparentCanvas(40, 38);
    QPainter p(&image);
    beginPainting(p);
    const QPolygonF diamond({QPointF(20, 1), QPointF(39, 19), QPointF(20, 37), QPointF(1, 19)});
    p.setPen(QPen(Qt::black, 2.0));
    p.setBrush(QColor(0xf7, 0xd1, 0x17));
    p.drawPolygon(diamond);
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(17, 11), 2.2, 2.2);     // head
    p.drawLine(QPointF(17, 14), QPointF(19, 21)); // body
    p.drawLine(QPointF(19, 21), QPointF(16, 27)); // legs
    p.drawLine(QPointF(19, 21), QPointF(22, 27));
    p.drawLine(QPointF(17.5, 16), QPointF(24, 18));                                // arms to the shovel
    p.drawLine(QPointF(22, 13), QPointF(27, 25));                                  // shovel
    p.drawPolygon(QPolygonF({QPointF(25, 28), QPointF(30, 28), QPointF(29, 24)})); // heap of soil
    return image;
}

QImage drawVehicleFront() {
    QImage image = opaqueCanvas(168, 112, QColor(0xe8, 0xf0, 0xf8));
    QPainter p(&image);
    beginPainting(p);
    // Buoyancy block and frame.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
    p.setBrush(QColor(0xf2, 0xc4, 0x1a));
    p.drawRoundedRect(QRectF(34, 8, 100, 26), 6, 6);
    p.setBrush(QColor(0x5a, 0x5f, 0x66));
    p.drawRect(QRectF(40, 34, 88, 30));
    p.setBrush(QColor(0x9a, 0xa3, 0xad));
    p.drawEllipse(QPointF(62, 49), 8, 8); // thrusters
    p.drawEllipse(QPointF(106, 49), 8, 8);
    // Skids, and a head under each, turned down and outward by the mounting angle.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 2.0));
    p.drawLine(QPointF(46, 64), QPointF(46, 74));
    p.drawLine(QPointF(122, 64), QPointF(122, 74));
    const auto head = [&](QPointF at, double degrees) {
        p.save();
        p.translate(at);
        p.rotate(degrees);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(-14, -3.5, 28, 7));
        p.restore();
    };
    head(QPointF(46, 78), 15);
    head(QPointF(122, 78), -15);
    // The separation X between the heads' centres.
    p.setPen(QPen(kNavy, 1.0));
    p.drawLine(QPointF(46, 84), QPointF(46, 104));
    p.drawLine(QPointF(122, 84), QPointF(122, 104));
    p.drawLine(QPointF(50, 100), QPointF(118, 100));
    QPainterPath tips;
    tips.moveTo(47, 100);
    tips.lineTo(53, 97);
    tips.lineTo(53, 103);
    tips.closeSubpath();
    tips.moveTo(121, 100);
    tips.lineTo(115, 97);
    tips.lineTo(115, 103);
    tips.closeSubpath();
    p.fillPath(tips, kNavy);
    // The horizontal through the right head and the angle a on either side of it.
    p.setPen(QPen(QColor(0xd4, 0x14, 0x14), 1.0, Qt::DashLine));
    p.drawLine(QPointF(108, 78), QPointF(164, 78));
    p.setPen(QPen(QColor(0xd4, 0x14, 0x14), 1.2));
    p.drawArc(QRectF(102, 58, 40, 40), 0, -15 * 16);
    p.drawArc(QRectF(102, 58, 40, 40), 0, 15 * 16);
    return image;
}

// ---------------------------------------------------------------------------------------------
// The gyro speed error window's two pictures. They sit beside the window's own labels, so they
// use its fonts (Tahoma in pixels) and its caption navy, not the artwork's palette.

const QColor kCaptionNavy(0, 0, 128);

QFont tahoma(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void drawArrow(QPainter& p, QPointF from, QPointF to, double head = 7.0) {
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF left = to - QPointF(std::cos(angle - 0.4) * head, std::sin(angle - 0.4) * head);
    const QPointF right = to - QPointF(std::cos(angle + 0.4) * head, std::sin(angle + 0.4) * head);
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(left);
    tip.lineTo(right);
    tip.closeSubpath();
    p.fillPath(tip, p.pen().color());
}

// The speed error in a picture: the gyro settles off true north by e, towards the west when the
// vessel makes way northwards, and the size of e follows the north component V·cos C of the speed.
QImage drawGyroDiagram() {
    QImage image = opaqueCanvas(303, 141);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawRect(0, 0, 302, 140);

    const QPointF origin(70, 126);
    const auto along = [&](double bearing, double length) {
        const double radians = bearing * kDeg;
        return origin + QPointF(std::sin(radians) * length, -std::cos(radians) * length);
    };
    const double course = 38.0;
    const double error = -9.0;
    const QFont small = tahoma(11);
    const QFont smallBold = tahoma(11, true);
    p.setFont(small);

    // True north.
    p.setPen(QPen(Qt::black, 1.5));
    drawArrow(p, origin, along(0, 112));
    p.setFont(smallBold);
    p.drawText(QPointF(origin.x() + 4, 16), QStringLiteral("N"));
    p.setFont(small);

    // Gyro north, off by the speed error.
    p.setPen(QPen(Qt::red, 1.5));
    drawArrow(p, origin, along(error, 108));
    p.drawText(along(error, 110) + QPointF(-40, 2), QStringLiteral("gyro N"));

    // Vessel speed at course C and its north component.
    const QPointF velocityEnd = along(course, 96);
    p.setPen(QPen(kCaptionNavy, 2));
    drawArrow(p, origin, velocityEnd, 8.0);
    p.drawText(velocityEnd + QPointF(4, 4), QStringLiteral("V"));
    p.setPen(QPen(kCaptionNavy, 1, Qt::DashLine));
    p.drawLine(velocityEnd, QPointF(origin.x(), velocityEnd.y()));
    p.setPen(QPen(QColor(0, 128, 0), 3));
    p.drawLine(origin, QPointF(origin.x(), velocityEnd.y()));
    p.setPen(QColor(0, 128, 0));
    p.drawText(QPointF(origin.x() - 50, (origin.y() + velocityEnd.y()) / 2 + 12), QStringLiteral("V cos C"));

    // Angle marks: C from north to the track, e from north to gyro north.
    p.setPen(QPen(kCaptionNavy, 1));
    p.drawArc(QRectF(origin.x() - 30, origin.y() - 30, 60, 60), 90 * 16, static_cast<int>(-course * 16));
    p.drawText(along(course / 2, 36) + QPointF(-2, 4), QStringLiteral("C"));
    p.setPen(QPen(Qt::red, 1));
    p.drawArc(QRectF(origin.x() - 62, origin.y() - 62, 124, 124), 90 * 16, static_cast<int>(-error * 16));
    p.drawText(along(error / 2, 74) + QPointF(-3, 0), QStringLiteral("e"));

    // The formula beside it, kept clear of the lower right corner, which the gyroscope picture
    // covers in the window.
    p.setPen(Qt::black);
    p.setFont(tahoma(12, true));
    p.drawText(QPointF(150, 18), QStringLiteral("Gyro speed error"));
    p.setFont(tahoma(13));
    p.drawText(QPointF(160, 50), QStringLiteral("e ="));
    p.drawText(QRectF(188, 28, 100, 18), Qt::AlignHCenter, QStringLiteral("V cos C"));
    p.drawLine(QPointF(190, 47), QPointF(286, 47));
    p.drawText(QRectF(188, 49, 100, 18), Qt::AlignHCenter, QStringLiteral("5\u03C0 cos \u03C6"));
    p.setFont(small);
    p.drawText(QPointF(150, 82), QStringLiteral("V speed in knots, C course"));
    p.drawText(QPointF(150, 95), QStringLiteral("\u03C6 latitude, e in degrees"));
    return image;
}

// A gyroscope standing on the turning earth: its spin axis is held to the meridian by the
// earth's rotation, which is what makes it a compass at all.
QImage drawGyroEarth() {
    QImage image = opaqueCanvas(127, 119, QColor(236, 242, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(58, 66);
    const double radius = 44;
    QRadialGradient sea(centre - QPointF(14, 14), radius * 1.4);
    sea.setColorAt(0.0, QColor(120, 180, 235));
    sea.setColorAt(1.0, QColor(20, 60, 140));
    p.setBrush(sea);
    p.setPen(QPen(QColor(10, 40, 100), 1));
    p.drawEllipse(centre, radius, radius);

    // Graticule: equator and two parallels as flattened ellipses, two meridians.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 240, 255, 170), 1));
    for (const double latitude : {-40.0, 0.0, 40.0}) {
        const double y = centre.y() - radius * std::sin(latitude * kDeg);
        const double half = radius * std::cos(latitude * kDeg);
        p.drawEllipse(QPointF(centre.x(), y), half, half * 0.22);
    }
    for (const double squeeze : {0.35, 0.75}) {
        p.drawEllipse(centre, radius * squeeze, radius);
    }

    // Polar axis and the sense of rotation.
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(QPointF(centre.x(), centre.y() - radius - 14), QPointF(centre.x(), centre.y() + radius + 8));
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    const QRectF spin(centre.x() - 16, centre.y() - radius - 16, 32, 10);
    p.drawArc(spin, 200 * 16, 250 * 16);
    drawArrow(p, QPointF(spin.right() - 3, spin.center().y() - 4), QPointF(spin.right() - 9, spin.top()), 5);
    p.setFont(tahoma(11, true));
    p.drawText(QPointF(centre.x() + 20, centre.y() - radius - 6), QStringLiteral("\u03C9"));

    // The gyroscope at about 45° north on the visible limb.
    const double latitude = 45.0 * kDeg;
    const QPointF site(centre.x() + radius * std::cos(latitude), centre.y() - radius * std::sin(latitude));
    p.save();
    p.translate(site);
    p.rotate(-45.0); // stand on the surface: local vertical along the radius
    p.setPen(QPen(QColor(90, 60, 10), 1.2));
    p.setBrush(QColor(218, 165, 32));
    p.drawRect(QRectF(-3, -2, 6, 4)); // foot
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(184, 134, 11), 2));
    p.drawEllipse(QPointF(0, -13), 10, 10); // gimbal ring
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(190, 190, 190));
    p.drawEllipse(QPointF(0, -13), 7, 3); // rotor seen edge-on
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.drawLine(QPointF(0, -24), QPointF(0, -2)); // spin axis
    p.restore();
    return image;
}

// ---------------------------------------------------------------------------------------------
// Requirement sheets: a small text markup laid out as a titled two-column table.

QString unescapeCell(QString text) { return text.trimmed().replace(QStringLiteral("\\n"), QStringLiteral("\n")); }

Sheet readSheet(const QString& path) {
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
            return QStringList{unescapeCell(value.left(bar)), unescapeCell(value.mid(bar + 1))};
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
SheetPage orderPage() {
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
QImage drawSheetPicture(const Sheet& sheet, int w, int h) {
    QImage image = opaqueCanvas(w, h);
    QPainter p(&image);
    beginPainting(p);
    const double unit = 2.0, margin = 10 * unit;
    const QRectF area(margin, margin, w - 2 * margin, h - 2 * margin);
    SheetMetrics m{unit, 12, &image};
    m.bodyPt = fittingBodyPt(sheet, m, area, 14, 8);
    layoutSheet(&p, sheet, spreadRows(sheet, m, area), area);
    return image;
}

// ---------------------------------------------------------------------------------------------

void save(const QImage& image, const QDir& out, const char* name) {
    const QString path = out.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // The PDF writer keeps its fonts in a hash; a fixed seed fixes their order in the file.
    QHashSeed::setDeterministicGlobalSeed();
    QGuiApplication app(argc, argv);
    // The windows' Tahoma comes with fonts-wine, outside fontconfig's path. Only the regular face,
    // as the suite loads it: the pictures' bold is the emboldened regular face, like the labels'.
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tormalind-make-assets OUTPUT_DIR DOCUMENTS_DIR\n");
        return 2;
    }
    try {
        const QDir out(args[1]);
        const QDir documents(args[2]);
        if (!QDir().mkpath(out.path())) {
            throw std::runtime_error("cannot create " + out.path().toStdString());
        }

        const QImage seabed = drawSeabed(surveyDepths(694, 501));
        save(seabed, out, "seabed.png");
        save(drawIcon(seabed), out, "icon.png");
        // The desktop's menu and task bar pick their size from the icon theme's folders.
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
            if (!out.mkpath(folder)) {
                throw std::runtime_error("cannot create " + out.filePath(folder).toStdString());
            }
            save(drawIcon(seabed, size), QDir(out.filePath(folder)), "tormalind-utility.png");
        }
        save(drawBanner(), out, "banner.png");
        save(drawMakerLogo(), out, "maker_logo.png");
        save(drawIhoMark(), out, "logo_iho.png");
        save(drawNordicFlags(), out, "flags_fsis.png");
        save(drawLinzBadge(), out, "logo_linz.png");
        save(drawDutchFlag(), out, "flag_nl.png");
        save(drawWindfarmWordMark(), out, "logo_orsted.png");
        save(drawFormulaRoot(), out, "formula_root.png");
        save(drawScrollArrow(), out, "scroll_arrow.png");
        save(drawGyroDiagram(), out, "gyro_diagram.png");
        save(drawGyroEarth(), out, "gyro_earth.png");
        save(drawVehicleFront(), out, "vehicle_front.png");
        save(drawRoadworksSign(), out, "roadworks.png");
        save(drawSheetPicture(readSheet(documents.filePath(QStringLiteral("linz_special.txt"))), 562, 886), out,
             "linz_table.png");

        std::vector<std::pair<Sheet, QString>> sheets;
        for (const char* name : {"order_iho_special", "order_iho_1a", "order_iho_1b", "order_iho_2", "order_fsis44",
                                 "order_nl_a", "order_nl_b"}) {
            const QString base = QString::fromLatin1(name);
            sheets.emplace_back(readSheet(documents.filePath(base + QStringLiteral(".txt"))),
                                out.filePath(base + QStringLiteral(".pdf")));
        }
        // One body size for the whole set, from 11 pt down to 8 pt.
        writeSheetPdfs(sheets, orderPage(), 11, 8);
        writeReferenceDocuments(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tormalind-make-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
