#include "calculators/TGyrospeederror.h"

#include "calculators/GyroSpeedError.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadialGradient>
#include <QtMath>

using kit::MakeLabel;
using kit::PixelFont;
using kit::SetTextColor;

namespace {

using kit::kSansSerif;
using kit::kTahoma;
const QChar kDegreeSign(0x00BA); // the ordinal indicator the result has always carried

void DrawArrow(QPainter& painter, QPointF from, QPointF to, qreal head = 7.0) {
    painter.drawLine(from, to);
    const qreal angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF left = to - QPointF(std::cos(angle - 0.4) * head, std::sin(angle - 0.4) * head);
    const QPointF right = to - QPointF(std::cos(angle + 0.4) * head, std::sin(angle + 0.4) * head);
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(left);
    tip.lineTo(right);
    tip.closeSubpath();
    painter.fillPath(tip, painter.pen().color());
}

// The speed error in a picture: the gyro settles off true north by e, towards the
// west when the vessel makes way northwards, and the size of e follows the north
// component V·cos C of the speed.
QPixmap SpeedErrorDiagram() {
    QPixmap pixmap(303, 141);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawRect(0, 0, 302, 140);

    const QPointF origin(70, 126);
    const auto along = [&](qreal bearing, qreal length) {
        const qreal radians = qDegreesToRadians(bearing);
        return origin + QPointF(std::sin(radians) * length, -std::cos(radians) * length);
    };
    const qreal course = 38.0;
    const qreal error = -9.0;
    const QFont small = PixelFont(kTahoma, 11);
    const QFont smallBold = PixelFont(kTahoma, 11, true);
    painter.setFont(small);

    // True north.
    painter.setPen(QPen(Qt::black, 1.5));
    DrawArrow(painter, origin, along(0, 112));
    painter.setFont(smallBold);
    painter.drawText(QPointF(origin.x() + 4, 16), QStringLiteral("N"));
    painter.setFont(small);

    // Gyro north, off by the speed error.
    painter.setPen(QPen(Qt::red, 1.5));
    DrawArrow(painter, origin, along(error, 108));
    painter.drawText(along(error, 110) + QPointF(-40, 2), QStringLiteral("gyro N"));

    // Vessel speed at course C and its north component.
    const QPointF velocityEnd = along(course, 96);
    painter.setPen(QPen(kit::kNavy, 2));
    DrawArrow(painter, origin, velocityEnd, 8.0);
    painter.drawText(velocityEnd + QPointF(4, 4), QStringLiteral("V"));
    painter.setPen(QPen(kit::kNavy, 1, Qt::DashLine));
    painter.drawLine(velocityEnd, QPointF(origin.x(), velocityEnd.y()));
    painter.setPen(QPen(QColor(0, 128, 0), 3));
    painter.drawLine(origin, QPointF(origin.x(), velocityEnd.y()));
    painter.setPen(QColor(0, 128, 0));
    painter.drawText(QPointF(origin.x() - 50, (origin.y() + velocityEnd.y()) / 2 + 12), QStringLiteral("V cos C"));

    // Angle marks: C from north to the track, e from north to gyro north.
    painter.setPen(QPen(kit::kNavy, 1));
    painter.drawArc(QRectF(origin.x() - 30, origin.y() - 30, 60, 60), 90 * 16, static_cast<int>(-course * 16));
    painter.drawText(along(course / 2, 36) + QPointF(-2, 4), QStringLiteral("C"));
    painter.setPen(QPen(Qt::red, 1));
    painter.drawArc(QRectF(origin.x() - 62, origin.y() - 62, 124, 124), 90 * 16, static_cast<int>(-error * 16));
    painter.drawText(along(error / 2, 74) + QPointF(-3, 0), QStringLiteral("e"));

    // The formula beside it, kept clear of the lower right corner, which the
    // gyroscope picture covers in the window.
    painter.setPen(Qt::black);
    painter.setFont(PixelFont(kTahoma, 12, true));
    painter.drawText(QPointF(150, 18), QStringLiteral("Gyro speed error"));
    painter.setFont(PixelFont(kTahoma, 13));
    painter.drawText(QPointF(160, 50), QStringLiteral("e ="));
    painter.drawText(QRectF(188, 28, 100, 18), Qt::AlignHCenter, QStringLiteral("V cos C"));
    painter.drawLine(QPointF(190, 47), QPointF(286, 47));
    painter.drawText(QRectF(188, 49, 100, 18), Qt::AlignHCenter, QStringLiteral("5\u03C0 cos \u03C6"));
    painter.setFont(small);
    painter.drawText(QPointF(150, 82), QStringLiteral("V speed in knots, C course"));
    painter.drawText(QPointF(150, 95), QStringLiteral("\u03C6 latitude, e in degrees"));
    return pixmap;
}

// A gyroscope standing on the turning earth: its spin axis is held to the
// meridian by the earth's rotation, which is what makes it a compass at all.
QPixmap GyroscopeOnEarth() {
    QPixmap pixmap(127, 119);
    pixmap.fill(QColor(236, 242, 250));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(58, 66);
    const qreal radius = 44;
    QRadialGradient sea(centre - QPointF(14, 14), radius * 1.4);
    sea.setColorAt(0.0, QColor(120, 180, 235));
    sea.setColorAt(1.0, QColor(20, 60, 140));
    painter.setBrush(sea);
    painter.setPen(QPen(QColor(10, 40, 100), 1));
    painter.drawEllipse(centre, radius, radius);

    // Graticule: equator and two parallels as flattened ellipses, two meridians.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(230, 240, 255, 170), 1));
    for (const qreal latitude : {-40.0, 0.0, 40.0}) {
        const qreal y = centre.y() - radius * std::sin(qDegreesToRadians(latitude));
        const qreal half = radius * std::cos(qDegreesToRadians(latitude));
        painter.drawEllipse(QPointF(centre.x(), y), half, half * 0.22);
    }
    for (const qreal squeeze : {0.35, 0.75}) {
        painter.drawEllipse(centre, radius * squeeze, radius);
    }

    // Polar axis and the sense of rotation.
    painter.setPen(QPen(Qt::black, 1.2));
    painter.drawLine(QPointF(centre.x(), centre.y() - radius - 14), QPointF(centre.x(), centre.y() + radius + 8));
    painter.setPen(QPen(QColor(200, 30, 30), 1.5));
    const QRectF spin(centre.x() - 16, centre.y() - radius - 16, 32, 10);
    painter.drawArc(spin, 200 * 16, 250 * 16);
    DrawArrow(painter, QPointF(spin.right() - 3, spin.center().y() - 4), QPointF(spin.right() - 9, spin.top()), 5);
    painter.setFont(PixelFont(kTahoma, 11, true));
    painter.drawText(QPointF(centre.x() + 20, centre.y() - radius - 6), QStringLiteral("\u03C9"));

    // The gyroscope at about 45° north on the visible limb.
    const qreal latitude = qDegreesToRadians(45.0);
    const QPointF site(centre.x() + radius * std::cos(latitude), centre.y() - radius * std::sin(latitude));
    painter.save();
    painter.translate(site);
    painter.rotate(-45.0); // stand on the surface: local vertical along the radius
    painter.setPen(QPen(QColor(90, 60, 10), 1.2));
    painter.setBrush(QColor(218, 165, 32));
    painter.drawRect(QRectF(-3, -2, 6, 4)); // foot
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(184, 134, 11), 2));
    painter.drawEllipse(QPointF(0, -13), 10, 10); // gimbal ring
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(QColor(190, 190, 190));
    painter.drawEllipse(QPointF(0, -13), 7, 3); // rotor seen edge-on
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.drawLine(QPointF(0, -24), QPointF(0, -2)); // spin axis
    painter.restore();
    return pixmap;
}

QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& pixmap, QRect geometry) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(geometry);
    picture->setScaledContents(true);
    picture->setPixmap(pixmap);
    return picture;
}

const char* const kReferenceLines[] = {
    "Ref.:  ISO 8728  Quote  The Course ",
    "error in degrees for a gyrocompass ",
    "aligned north-south is determined by ",
    "the ",
    "formula V / 5 pi  x the secant of the ",
    "latitude, where V is the North ",
    "component ",
    "of the speed in knots  Unquote",
    "",
};

} // namespace

TGyrospeederror::TGyrospeederror(QWidget* parent) : QWidget(parent) {
    kit::SetUpWindow(this, QStringLiteral("Gyrospeederror"), QStringLiteral("Gyro Speed Error"), false);
    setFixedSize(688, 452);

    edt_Latitude = MakeInput("edt_Latitude", 47, QStringLiteral("Example:  58.5"));
    edt_Speed = MakeInput("edt_Speed", 80, QStringLiteral("Example \" 9.5 \""));
    edt_Course = MakeInput("edt_Course", 111, QStringLiteral("Example \" 91 \" or  \" 091 \""));
    udb_Latitude = MakeSpinner("udb_Latitude", edt_Latitude, -89, 89, 5);
    udb_Speed = MakeSpinner("udb_Speed", edt_Speed, 0, 50, 1);
    udb_Course = MakeSpinner("udb_Course", edt_Course, 0, 360, 5);

    const QFont caption = PixelFont(kTahoma, 12, true);
    MakeLabel(this, QStringLiteral("lbl_Latitude"), QStringLiteral("Input Latitude in degrees (max 89 )"), 127, 54,
              caption, kit::kNavy);
    MakeLabel(this, QStringLiteral("lbl_Speed"), QStringLiteral("Input Vessel Speed in knots"), 128, 86, caption,
              kit::kNavy);
    MakeLabel(this, QStringLiteral("lbl_Course"), QStringLiteral("Input Gyro Course in degrees"), 128, 118, caption,
              kit::kNavy);

    btn_Calculate = new QPushButton(QStringLiteral("Calculate"), this);
    btn_Calculate->setObjectName(QStringLiteral("btn_Calculate"));
    btn_Calculate->setGeometry(86, 172, 92, 21);
    btn_Exit = new QPushButton(QStringLiteral("Exit"), this);
    btn_Exit->setObjectName(QStringLiteral("btn_Exit"));
    btn_Exit->setGeometry(192, 173, 89, 20);

    img_Diagram = MakePicture(this, "img_Diagram", SpeedErrorDiagram(), {46, 218, 303, 141});
    img_Gyroscope = MakePicture(this, "img_Gyroscope", GyroscopeOnEarth(), {250, 316, 127, 119});

    BuildResults();

    mem_Reference = new QPlainTextEdit(this);
    mem_Reference->setObjectName(QStringLiteral("mem_Reference"));
    mem_Reference->setGeometry(392, 330, 265, 105);
    mem_Reference->setFont(PixelFont(kTahoma, 15));
    // No scroll bars, so the reference wraps as it was laid out; the keys and the
    // wheel still scroll it.
    mem_Reference->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mem_Reference->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QStringList lines;
    for (const char* line : kReferenceLines) {
        lines << QString::fromLatin1(line);
    }
    mem_Reference->setPlainText(lines.join(QLatin1Char('\n')));

    for (QLineEdit* field : {edt_Latitude, edt_Speed, edt_Course}) {
        connect(field, &QLineEdit::textChanged, this, &TGyrospeederror::btn_CalculateClick);
    }
    connect(btn_Calculate, &QPushButton::clicked, this, &TGyrospeederror::btn_CalculateClick);
    connect(btn_Exit, &QPushButton::clicked, this, &TGyrospeederror::btn_ExitClick);
}

QLineEdit* TGyrospeederror::MakeInput(const char* name, int top, const QString& tip) {
    auto* field = new QLineEdit(QStringLiteral("0"), this);
    field->setObjectName(QString::fromLatin1(name));
    // 65 wide with its spinner, which takes the right-hand 16 pixels.
    field->setGeometry(34, top, 65, 24);
    field->setFont(PixelFont(kSansSerif, 15, true));
    SetTextColor(field, kit::kNavy);
    field->setToolTip(tip);
    return field;
}

kit::UpDown* TGyrospeederror::MakeSpinner(const char* name, QLineEdit* field, int minimum, int maximum, int increment) {
    auto* spinner = new kit::UpDown(this);
    spinner->setObjectName(QString::fromLatin1(name));
    spinner->resize(16, 24);
    spinner->SetRange(minimum, maximum);
    spinner->SetIncrement(increment);
    spinner->SetPosition(0);
    spinner->Associate(field);
    return spinner;
}

void TGyrospeederror::BuildResults() {
    grp_Error = new QGroupBox(QStringLiteral("Calculated Gyro Error "), this);
    grp_Error->setObjectName(QStringLiteral("grp_Error"));
    grp_Error->setGeometry(394, 38, 265, 57);
    lbl_Error = new QLabel(QStringLiteral("Error"), grp_Error);
    lbl_Error->setObjectName(QStringLiteral("lbl_Error"));
    lbl_Error->setFont(PixelFont(kTahoma, 27));
    SetTextColor(lbl_Error, Qt::red);
    lbl_Error->setGeometry(68, 18, 265 - 68 - 4, 34);

    grp_Ranges = new QGroupBox(QStringLiteral("Exampel Resulting Horizontal Error"), this);
    grp_Ranges->setObjectName(QStringLiteral("grp_Ranges"));
    grp_Ranges->setGeometry(392, 100, 265, 225);
    const QFont head = PixelFont(kSansSerif, 15, true);
    MakeLabel(grp_Ranges, QStringLiteral("lbl_AtRange"), QStringLiteral("At Range (m)"), 8, 24, head, kit::kNavy);
    QLabel* errorHead = MakeLabel(grp_Ranges, QStringLiteral("lbl_HorizontalError"),
                                  QStringLiteral("Horizontal Error (m)"), 0, 24, head, Qt::magenta);
    errorHead->move(265 - 8 - errorHead->width(), 24);

    const std::array<QLabel**, 11> values{&lbl_Range10,   &lbl_Range20,   &lbl_Range30,   &lbl_Range50,
                                          &lbl_Range100,  &lbl_Range200,  &lbl_Range300,  &lbl_Range500,
                                          &lbl_Range1000, &lbl_Range5000, &lbl_Range10000};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int range = calculators::kGyroRanges[i];
        const int top = 50 + 16 * static_cast<int>(i);
        auto* caption = new QLabel(QStringLiteral("%1 m").arg(range), grp_Ranges);
        caption->setObjectName(QStringLiteral("lbl_At%1").arg(range));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(83, top, 46, 14);
        auto* value = new QLabel(QStringLiteral("0.0 m"), grp_Ranges);
        value->setObjectName(QStringLiteral("lbl_Range%1").arg(range));
        value->setGeometry(164, top, 265 - 164 - 4, 14);
        *values[i] = value;
    }
}

std::array<QLabel*, 11> TGyrospeederror::RangeLabels() const {
    return {lbl_Range10,  lbl_Range20,  lbl_Range30,   lbl_Range50,   lbl_Range100,  lbl_Range200,
            lbl_Range300, lbl_Range500, lbl_Range1000, lbl_Range5000, lbl_Range10000};
}

void TGyrospeederror::btn_CalculateClick() {
    common::RunGuarded([this] {
        // All three fields are read before anything is written, so a field that
        // cannot be read leaves every result as it was.
        calculators::GyroInput input;
        input.latitude = common::ParseFloat(edt_Latitude->text().toStdString());
        input.speed = common::ParseFloat(edt_Speed->text().toStdString());
        input.course = common::ParseFloat(edt_Course->text().toStdString());
        const calculators::GyroResult result = calculators::ComputeGyroSpeedError(input);

        lbl_Error->setText(QString::fromStdString(common::FormatGeneral(result.error)) + kDegreeSign);
        const auto labels = RangeLabels();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            labels[i]->setText(QString::fromStdString(common::FormatGeneral(result.horizontal[i])) +
                               QStringLiteral(" m"));
        }
    });
}

void TGyrospeederror::btn_ExitClick() { close(); }
