// The synthetic multibeam survey and its shaded relief. All randomness comes from integer hashes
// with fixed seeds, so two runs give the same picture.

#include "assets/Terrain.h"

#include "assets/AssetPainting.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace assets {

QColor DepthColour(double t) {
    struct Stop {
        double t;
        QColor c;
    };
    static const Stop stops[] = {
        {0.00, QColor(0xc8, 0x10, 0x1e)}, {0.14, QColor(0xf2, 0x5c, 0x14)}, {0.28, QColor(0xf7, 0xd8, 0x26)},
        {0.44, QColor(0x5c, 0xd0, 0x3a)}, {0.60, QColor(0x26, 0xc9, 0xd6)}, {0.76, QColor(0x2a, 0x62, 0xe0)},
        {0.90, QColor(0x5a, 0x2c, 0xc4)}, {1.00, QColor(0x7c, 0x1e, 0x96)},
    };
    t = Clamp01(t);
    for (size_t i = 1; i < std::size(stops); ++i) {
        if (t <= stops[i].t) {
            return Mix(stops[i - 1].c, stops[i].c, (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t));
        }
    }
    return stops[std::size(stops) - 1].c;
}

namespace {

// Deterministic noise: integer hashes, never the standard library's distributions (whose
// output is allowed to differ between implementations).

uint32_t Hash2(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double Lattice(int32_t x, int32_t y, uint32_t seed) { return Hash2(x, y, seed) / 4294967296.0 * 2.0 - 1.0; }

double ValueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = int32_t(fx), iy = int32_t(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    const double sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    const double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// Fractal sum of octaves, roughly in -1..1.
double Fbm(double x, double y, uint32_t seed, int octaves, double gain = 0.5) {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + uint32_t(i) * 101u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / norm;
}

// Sharp-crested noise for rock outcrop, 0..1.
double Ridged(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const double r = 1.0 - std::abs(ValueNoise(x, y, seed + uint32_t(i) * 211u));
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
    double Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return double((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
    }
    double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }
};

struct Wreck {
    double cx, cy, heading, length, beam;
};

// Height (m) of a broken hull above the bed, and the distance outside its outline.
double WreckHeight(const Wreck& wk, double x, double y, double* outside) {
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
    const double edge = Smoothstep(0.0, 4.0, half - std::abs(along));
    double height = 2.2 * section * edge;
    // Superstructure aft of midships, and the hull broken across forward of it.
    const double deckhouse = Smoothstep(-half * 0.6, -half * 0.5, along) * Smoothstep(-half * 0.1, -half * 0.2, along);
    height += 1.0 * deckhouse * Smoothstep(0.65, 0.35, std::abs(across) / halfBeam);
    height *= 1.0 - 0.55 * std::exp(-std::pow((along - half * 0.18) / 2.5, 2));
    return height;
}

} // namespace

DepthGrid SurveyDepths(int w, int h) {
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
        const double a = rnd.Range(0, 2 * kPi), d = rnd.Range(40, 120);
        bumps.push_back(
            {w * 0.84 + d * std::cos(a), h * 0.24 + d * std::sin(a) * 0.8, rnd.Range(2.5, 4.5), rnd.Range(0.3, 0.9)});
    }
    for (int i = 0; i < 14; ++i) { // debris field around the wreck
        const double a = rnd.Range(0, 2 * kPi), d = rnd.Range(20, 42);
        bumps.push_back(
            {wreck.cx + d * std::cos(a), wreck.cy + d * std::sin(a), rnd.Range(2.0, 3.0), rnd.Range(0.2, 0.5)});
    }
    for (int i = 0; i < 7; ++i) { // pockmarks in the soft sediment of the western basin
        bumps.push_back(
            {rnd.Range(w * 0.05, w * 0.30), rnd.Range(h * 0.52, h * 0.92), rnd.Range(5, 10), -rnd.Range(0.8, 1.5)});
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
        channelHalfWidth[size_t(x)] = 34 + 8 * Fbm(x / 60.0, 3.3, 43, 2);
    }

    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w, v = double(y) / h;
            // Regional slope: deep to the north, shoaling towards the southern shore, with an
            // outcropping bank to the north-east.
            double d = 35.0 - 13.0 * v + 4.5 * Fbm(x / 210.0, y / 210.0, 7, 5);
            const double bank = std::exp(-(std::pow((u - 0.84) / 0.17, 2) + std::pow((v - 0.23) / 0.26, 2)));
            d -= 21.0 * bank;
            if (bank > 1e-3) {
                d -= 2.2 * bank * Ridged(x / 38.0, y / 38.0, 31, 4);
            }
            d += 0.35 * Fbm(x / 35.0, y / 35.0, 19, 3) + 0.08 * Fbm(x / 9.0, y / 9.0, 23, 2);

            // Scoured tidal channel with a flat floor and soft banks (see the column tables above).
            const double across = std::abs(y - channelY[size_t(x)]) * channelCosine[size_t(x)];
            const double channel = std::exp(-std::pow(across / channelHalfWidth[size_t(x)], 2.5));
            d += 11.0 * channel * (1.0 - bank);

            // Sand waves, asymmetric with the steep lee face to the east, in patches away from
            // the channel floor and the rock.
            const double field = Smoothstep(-0.05, 0.35, Fbm(x / 170.0 + 9, y / 170.0, 53, 3)) * (1 - channel) *
                                 (1 - Smoothstep(0.25, 0.55, bank));
            if (field > 0) {
                const double phase =
                    (x * std::cos(12 * kDeg) + y * std::sin(12 * kDeg)) / 23.0 + 0.6 * Fbm(x / 95.0, y / 95.0, 61, 3);
                const double p = phase - std::floor(phase);
                const double crest = p < 0.68 ? Smoothstep(0, 1, p / 0.68) : 1 - Smoothstep(0, 1, (p - 0.68) / 0.32);
                const double ripple = std::sin((x * 0.3 + y * 0.95) / 1.6 + 2 * Fbm(x / 30.0, y / 30.0, 67, 2));
                d -= field * (0.9 * crest + 0.12 * ripple);
            }

            // Wreck standing proud of a scour pit that the tide has cut around it.
            double outside = 0;
            d -= WreckHeight(wreck, x, y, &outside);
            const double downstream = 1.0 + 0.5 * Smoothstep(-20, 20, (x - wreck.cx));
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
                const double halfSwath = spacing * 0.62 + 4 * Fbm(along / 25.0, k * 7.0, 71, 2);
                const double off = a - k * spacing;
                if (std::abs(off) <= halfSwath) {
                    bestLine = k;
                    edgeDistance = off + halfSwath; // distance inside this line's port edge
                    outerness = std::abs(off) / halfSwath;
                    break;
                }
            }
            const double roll = 0.0025 * (Hash2(int(bestLine), 0, 77) / 4294967296.0 - 0.5);
            // Sounding noise grows towards the outer beams, where grazing angles are low.
            d += float(roll * (a - bestLine * spacing) * (0.5 + d / 60) +
                       (0.035 + 0.06 * outerness * outerness) * Lattice(x, y, 83));
            g.swathEdge[size_t(y) * size_t(w) + size_t(x)] = float(1.0 - Smoothstep(0.0, 2.2, edgeDistance));
        }
    }
    return g;
}

namespace {

// Depth colour times hill shade (sun from 315°, 45° up), the usual way a surveyor looks at a
// multibeam surface. 'light' lifts a band towards white, for text drawn over the picture.
QImage ShadedRelief(const DepthGrid& g, const std::function<double(int, int)>& light) {
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
            const double dzdx = -(g.At(x + 1, y) - g.At(x - 1, y)) / 2 * exaggeration;
            const double dzdy = -(g.At(x, y + 1) - g.At(x, y - 1)) / 2 * exaggeration;
            const double shade = (-dzdx * lx - dzdy * ly + lz) / std::sqrt(dzdx * dzdx + dzdy * dzdy + 1);
            // Normalised so flat ground keeps its colour; multiply darkens the lee slopes.
            double factor = std::clamp(0.18 + 0.82 * shade / lz, 0.25, 1.12);
            const float edge = g.swathEdge[size_t(y) * size_t(g.w) + size_t(x)];
            factor *= 1.0 - 0.22 * edge;

            const QColor base = DepthColour((g.At(x, y) - shallow) / (deep - shallow));
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

} // namespace

QImage DrawSeabed(const DepthGrid& survey) {
    // The launcher's labels sit on the lower third in navy: wash it towards white.
    const int h = survey.h;
    return ShadedRelief(survey, [h](int, int y) { return 0.50 * Smoothstep(h * 0.56, h * 0.80, y); });
}

} // namespace assets
