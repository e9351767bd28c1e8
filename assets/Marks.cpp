// The window icon, the banner, the maker's logo, the authorities' logos and flags, and the
// signs and figures beside the calculators' controls.

#include "assets/Marks.h"

#include "assets/AssetPainting.h"
#include "assets/Terrain.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace assets {

namespace {

const QColor kFoam(0x9c, 0xe2, 0xe4);

// Text as a path, so it can carry an outline that keeps it readable over a busy picture.
QPainterPath TextPath(const QString& text, const QFont& font, QPointF baselineCentre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(baselineCentre.x() - box.center().x(), baselineCentre.y());
    return path;
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

void DrawFan(QPainter& p, const FanStyle& fan) {
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
        p.setBrush(DepthColour(0.1 + 0.8 * (s.y() - shallowY) / std::max(1.0, deepY - shallowY)));
        p.drawEllipse(s, fan.soundingRadius, fan.soundingRadius);
    }
}

void DrawTransducer(QPainter& p, QPointF at, double size) {
    // A small hull-mounted head: a rounded block with the face pointing down.
    p.setPen(QPen(QColor(255, 255, 255, 230), size * 0.12));
    p.setBrush(QColor(0xf4, 0xa2, 0x1c));
    p.drawRoundedRect(QRectF(at.x() - size, at.y() - size * 0.9, 2 * size, size * 1.1), size * 0.3, size * 0.3);
}

// The icon's water is a rounded tile set in from the image's edge, so the desktop's panel shows
// round it and in its corners. The inset is whole pixels: a tile edge on a pixel boundary stays
// sharp, where a fraction of a pixel would leave a faint seam of half-covered pixels.
int IconInset(int size) { return std::max(1, size / 16); }

QRect TileSquare(int size) {
    const int inset = IconInset(size);
    return QRect(inset, inset, size - 2 * inset, size - 2 * inset);
}

// Keeps only what lies on the tile: everything painted outside its rounded outline goes fully
// transparent, and the outline itself is antialiased like the rest of the drawing. The smoothed
// corner arcs spill a trace of cover past the tile's straight sides, into the margin that must
// stay clear; the square of the inset holds them in, as it does the frame drawn after.
void CutToTile(QImage& image, const QPainterPath& tile) {
    QImage mask = TransparentCanvas(image.width(), image.height());
    {
        QPainter m(&mask);
        BeginPainting(m);
        m.setClipRect(TileSquare(image.width()));
        m.fillPath(tile, Qt::black);
    }
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, mask);
}

const QColor kIconFrame(0x04, 0x10, 0x24);

QLinearGradient IconWater(double top, double bottom) {
    QLinearGradient water(0, top, 0, bottom);
    water.setColorAt(0, QColor(0x0a, 0x22, 0x46));
    water.setColorAt(1, QColor(0x10, 0x56, 0x70));
    return water;
}

// The crop of the survey, with the wreck and sand waves, that is the seabed of every icon size.
const QRectF kIconSurveyCrop(330, 180, 200, 106);

// The full drawing, on a 64-unit tile scaled to the image: the 32 px icon up to the largest are
// one picture.
QImage DrawDetailedIcon(const QImage& seabed, int size) {
    const int inset = IconInset(size);
    const double side = size - 2 * inset;
    QImage image = TransparentCanvas(size, size);
    QPainterPath tile;
    {
        QPainter p(&image);
        BeginPainting(p);
        p.translate(inset, inset);
        p.scale(side / 64.0, side / 64.0);
        tile.addRoundedRect(QRectF(0, 0, 64, 64), 9, 9);

        // The tile in its own 64 units: the image's pixel rectangle, scaled with
        // the painter, would cover a corner of the small sizes only.
        p.fillRect(QRectF(0, 0, 64, 64), IconWater(0, 64));

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
        p.drawImage(QRectF(0, 30, 64, 34), seabed, kIconSurveyCrop);
        p.restore();

        DrawFan(p, {QPointF(32, 10), 58, 13, bed, 1.0, 1.6});
        DrawTransducer(p, QPointF(32, 10), 5);
        tile = p.transform().map(tile);
    }
    CutToTile(image, tile);

    QPainter p(&image);
    BeginPainting(p);
    p.setClipRect(TileSquare(size));
    p.translate(inset, inset);
    p.scale(side / 64.0, side / 64.0);
    p.setPen(QPen(kIconFrame, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 8, 8);
    return image;
}

// The menu and title-bar sizes, drawn in their own pixels: the same head, fan and seabed, but
// three bold beams and three soundings, each on whole pixels. The large picture shrunk to 16 px
// turns its thirteen hairline beams into a grey haze and its head into a smudge.
QImage DrawSmallIcon(const QImage& seabed, int size) {
    const int inset = IconInset(size);
    const double side = size - 2 * inset;
    const double u = side / 14.0; // the 16 px icon's tile is 14 pixels wide
    QImage image = TransparentCanvas(size, size);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(inset, inset, side, side), 2 * u, 2 * u);
    {
        QPainter p(&image);
        BeginPainting(p);
        p.fillRect(QRectF(inset, inset, side, side), IconWater(inset, inset + side));

        const double left = inset, right = inset + side, centre = size / 2.0;
        // One low shoal under the head, deepening to both sides, as in the large picture.
        const auto bed = [&](double x) {
            const double across = (x - centre) / (side / 2);
            return inset + u * (9.5 + 2.0 * across * across);
        };
        QPainterPath ground;
        ground.moveTo(left, size);
        for (double x = left; x <= right + 0.01; x += 0.5) {
            ground.lineTo(x, bed(x));
        }
        ground.lineTo(right, size);
        ground.closeSubpath();
        QImage bedColours = seabed.copy(kIconSurveyCrop.toRect())
                                .scaled(int(side), int(side * 0.53), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QBrush sediment(bedColours);
        sediment.setTransform(QTransform::fromTranslate(left, inset + side * 0.47));
        p.setPen(Qt::NoPen);
        p.setBrush(sediment);
        p.drawPath(ground);

        // The head: a solid orange block with its edges on pixel boundaries; a white rim, or an
        // edge through the middle of a pixel, would blur into the water.
        const QRectF block(QPointF(std::round(centre - 3 * u), std::round(inset + u)),
                           QPointF(size - std::round(centre - 3 * u), std::round(inset + 3 * u)));
        const QPointF head(centre, block.bottom());
        // The outer beams land a sounding's width in from the tile's sides, so the swath spans
        // the tile as the wide fan of the large picture does.
        const std::vector<QPointF> soundings{QPointF(left + 2 * u, bed(left + 2 * u)), QPointF(centre, bed(centre)),
                                             QPointF(right - 2 * u, bed(right - 2 * u))};
        QPolygonF wedge;
        wedge << head << soundings.front() << soundings[1] << soundings.back();
        p.setBrush(QColor(160, 240, 250, 110));
        p.drawPolygon(wedge);
        // The nadir beam is two pixels wide: the even sizes put the head's centre on a pixel
        // boundary, where one pixel's width would be two half-grey columns.
        p.setPen(QPen(QColor(255, 255, 255, 235), 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(head, soundings[1]);
        p.setPen(QPen(QColor(255, 255, 255, 235), std::max(1.5, std::round(u)), Qt::SolidLine, Qt::FlatCap));
        p.drawLine(head, soundings.front());
        p.drawLine(head, soundings.back());
        // Soundings as whole-pixel squares: shoal red on the crest, deep blue at the swath's edges.
        p.setPen(Qt::NoPen);
        const double dot = std::round(2 * u);
        const double depthOf[] = {0.85, 0.1, 0.85};
        for (size_t i = 0; i < soundings.size(); ++i) {
            p.setBrush(DepthColour(depthOf[i]));
            p.drawRect(
                QRectF(std::round(soundings[i].x() - dot / 2), std::round(soundings[i].y() - dot / 2), dot, dot));
        }

        p.setBrush(QColor(0xf4, 0xa2, 0x1c));
        p.drawRect(block);
    }
    CutToTile(image, tile);

    QPainter p(&image);
    BeginPainting(p);
    p.setClipRect(TileSquare(size));
    p.setPen(QPen(kIconFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(inset + 0.5, inset + 0.5, side - 1, side - 1), 2 * u - 0.5, 2 * u - 0.5);
    return image;
}

} // namespace

QImage DrawIcon(const QImage& seabed, int size) {
    return size <= 24 ? DrawSmallIcon(seabed, size) : DrawDetailedIcon(seabed, size);
}

QImage DrawBanner() {
    QImage image = OpaqueCanvas(580, 97);
    QPainter p(&image);
    BeginPainting(p);

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

    DrawFan(p, {QPointF(63, 12), 41, 33, bed, 0.8, 1.6});
    DrawTransducer(p, QPointF(63, 12), 6);

    p.setPen(QPen(QColor(150, 230, 240, 90), 1));
    p.drawLine(QPointF(134.5, 16), QPointF(134.5, 81));

    QFont title = SansFont(44, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QPointF(152, 55), QStringLiteral("TORMALIND"));

    QFont tagline = SansFont(17);
    tagline.setLetterSpacing(QFont::AbsoluteSpacing, 2.4);
    p.setFont(tagline);
    p.setPen(kFoam);
    p.drawText(QPointF(154, 80), QStringLiteral("multibeam survey tools"));
    return image;
}

namespace {

// The maker's emblem: a ring with a north mark, the sea surface across it and a sounding fan
// from the surface down to the bed.
void DrawEmblem(QPainter& p, QPointF c, double r, const QColor& ink, const QColor& accent) {
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
    sediment.setColorAt(0, Mix(accent, Qt::black, 0.35));
    sediment.setColorAt(1, Mix(accent, Qt::black, 0.75));
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

} // namespace

QImage DrawMakerLogo() {
    QImage image = TransparentCanvas(257, 207);
    QPainter p(&image);
    BeginPainting(p);

    // A translucent navy plate keeps the mark readable over the coloured relief.
    const QRectF plate(6, 6, 245, 195);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    p.setBrush(QColor(8, 24, 52, 190));
    p.drawRoundedRect(plate, 18, 18);

    DrawEmblem(p, QPointF(128.5, 80), 57, Qt::white, QColor(0x5c, 0xe0, 0xe6));

    const QPainterPath word = TextPath(QStringLiteral("Tormalind"), SansFont(40, QFont::Bold), QPointF(128.5, 177));
    p.setPen(QPen(QColor(4, 14, 32, 230), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(word);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(word);
    return image;
}

QImage DrawIhoMark() {
    QImage image = OpaqueCanvas(115, 67);
    QPainter p(&image);
    BeginPainting(p);
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

    QFont letters = SansFont(27, QFont::Bold);
    letters.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(letters);
    p.setPen(kNavy);
    p.drawText(QRectF(66, 0, 49, 67), Qt::AlignCenter, QStringLiteral("IHO"));
    return image;
}

QImage DrawNordicFlags() {
    QImage image = OpaqueCanvas(117, 55);
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

QImage DrawLinzBadge() {
    QImage image = OpaqueCanvas(117, 55);
    QPainter p(&image);
    BeginPainting(p);

    QLinearGradient fill(0, 3, 0, 52);
    fill.setColorAt(0, QColor(0x13, 0x5c, 0x72));
    fill.setColorAt(1, QColor(0x0a, 0x3a, 0x52));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(3, 3, 111, 49), 7, 7);

    QFont word = SansFont(27, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(word);
    p.setPen(Qt::white);
    p.drawText(QRectF(4, 5, 111, 30), Qt::AlignCenter, QStringLiteral("LINZ"));

    p.setPen(QPen(QColor(0x9c, 0xe2, 0xe4, 170), 1));
    p.drawLine(QPointF(24, 35.5), QPointF(93, 35.5));

    QFont small = SansFont(11);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(small);
    p.setPen(kFoam);
    p.drawText(QRectF(3, 36, 111, 14), Qt::AlignCenter, QStringLiteral("hydrographic"));
    return image;
}

QImage DrawDutchFlag() {
    QImage image = OpaqueCanvas(57, 40);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 57, 13), QColor(0xae, 0x1c, 0x28));
    p.fillRect(QRect(0, 13, 57, 14), Qt::white);
    p.fillRect(QRect(0, 27, 57, 13), QColor(0x21, 0x46, 0x8b));
    p.setPen(QColor(0xa0, 0xa8, 0xb4));
    p.drawRect(QRect(0, 0, 56, 39));
    return image;
}

QImage DrawWindfarmWordMark() {
    QImage image = OpaqueCanvas(119, 40);
    QPainter p(&image);
    BeginPainting(p);
    QFont word = SansFont(27);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(word);
    p.setPen(QColor(0x0b, 0x2a, 0x66));
    p.drawText(QRectF(0, 0, 119, 40), Qt::AlignCenter, QStringLiteral("Orsted"));
    return image;
}

// The radical of the TVU formula. The window lays the terms over it in Tahoma 16 px at
// x = 23, 31, 39 and 107, so everything right of x = 21 except the bar stays transparent.
QImage DrawFormulaRoot() {
    QImage image = TransparentCanvas(123, 27);
    QPainter p(&image);
    BeginPainting(p);
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
QImage DrawScrollArrow() {
    QImage image = TransparentCanvas(105, 57);
    QPainter p(&image);
    BeginPainting(p);
    QPolygonF arrow;
    arrow << QPointF(2.5, 13.5) << QPointF(69.5, 13.5) << QPointF(69.5, 2.5) << QPointF(101.0, 28.5)
          << QPointF(69.5, 54.5) << QPointF(69.5, 43.5) << QPointF(2.5, 43.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xd4, 0x14, 0x14), 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolygon(arrow);
    return image;
}

// The small road-works sign of the network tool: a yellow diamond with a black
// rim and a worker with a shovel, on a transparent ground.
QImage DrawRoadworksSign() {
    QImage image = TransparentCanvas(40, 38);
    QPainter p(&image);
    BeginPainting(p);
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

// An underwater vehicle seen from the front, carrying two sonar heads on its skids: the
// coverage calculator's reminder of what the head separation X and the mounting angle a are.
// A head tilted below the horizontal is a+, above it a-.
QImage DrawVehicleFront() {
    QImage image = OpaqueCanvas(168, 112, QColor(0xe8, 0xf0, 0xf8));
    QPainter p(&image);
    BeginPainting(p);
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

} // namespace assets
