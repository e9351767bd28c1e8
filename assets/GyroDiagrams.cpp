// The gyro speed error window's two pictures. They sit beside the window's own labels, so they
// use its fonts (Tahoma in pixels) and its caption navy, not the artwork's palette.

#include "assets/GyroDiagrams.h"

#include "assets/AssetPainting.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace assets {

namespace {

const QColor kCaptionNavy(0, 0, 128);

QFont Tahoma(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void DrawArrow(QPainter& p, QPointF from, QPointF to, double head = 7.0) {
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

} // namespace

// The speed error in a picture: the gyro settles off true north by e, towards the west when the
// vessel makes way northwards, and the size of e follows the north component V·cos C of the speed.
QImage DrawGyroDiagram() {
    QImage image = OpaqueCanvas(303, 141);
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
    const QFont small = Tahoma(11);
    const QFont smallBold = Tahoma(11, true);
    p.setFont(small);

    // True north.
    p.setPen(QPen(Qt::black, 1.5));
    DrawArrow(p, origin, along(0, 112));
    p.setFont(smallBold);
    p.drawText(QPointF(origin.x() + 4, 16), QStringLiteral("N"));
    p.setFont(small);

    // Gyro north, off by the speed error.
    p.setPen(QPen(Qt::red, 1.5));
    DrawArrow(p, origin, along(error, 108));
    p.drawText(along(error, 110) + QPointF(-40, 2), QStringLiteral("gyro N"));

    // Vessel speed at course C and its north component.
    const QPointF velocityEnd = along(course, 96);
    p.setPen(QPen(kCaptionNavy, 2));
    DrawArrow(p, origin, velocityEnd, 8.0);
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
    p.setFont(Tahoma(12, true));
    p.drawText(QPointF(150, 18), QStringLiteral("Gyro speed error"));
    p.setFont(Tahoma(13));
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
QImage DrawGyroEarth() {
    QImage image = OpaqueCanvas(127, 119, QColor(236, 242, 250));
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
    DrawArrow(p, QPointF(spin.right() - 3, spin.center().y() - 4), QPointF(spin.right() - 9, spin.top()), 5);
    p.setFont(Tahoma(11, true));
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

} // namespace assets
