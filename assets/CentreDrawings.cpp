// The acoustic-centre drawings: a top view and a side view of each head (and of the I2NS IMU)
// side by side, its outline from the blocks of CentreDrawingTable.h, the reference point and
// the centre marked, and the offsets between them as dimension lines, over a title block.
// Vector lines on a 450 × 360 pt page, so the document window can scale it to any size.

#include "assets/AssetPainting.h"
#include "assets/CentreDrawingTable.h"
#include "assets/ReferenceDocuments.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace assets {

namespace {

// Lengths on the page are in points; the painter works in device pixels, ten to the point.
double Pt(double points) { return points * kSheetUnit; }
QPointF Pt(double x, double y) { return {Pt(x), Pt(y)}; }
QFont CentreFont(double points, QFont::Weight weight = QFont::Normal) { return SansFont(Pt(points), weight); }

constexpr double kPageWidth = 450, kPageHeight = 360;
constexpr double kFrame = 12;       // the border's inset
constexpr double kTitleHeight = 62; // the title block along the foot
constexpr double kLegendHeight = 24;

const QColor kOutline(0x1c, 0x2b, 0x40);
const QColor kHidden(0x4a, 0x5a, 0x70);
const QColor kDimension(0x1f, 0x3a, 0x60);
const QColor kCentreLine(0x6f, 0x80, 0x98);
const QColor kCaution(0x9a, 0x3b, 0x12);

QColor FillOf(Component component) {
    switch (component) {
    case Component::Bracket:
    case Component::BasePlate:
        return QColor(0xdc, 0xe0, 0xe6);
    case Component::Housing:
    case Component::ImuHousing:
        return QColor(0xc9, 0xd6, 0xe4);
    case Component::Receiver:
        return QColor(0xb8, 0xe0, 0xd9);
    case Component::Projector:
        return QColor(0xf3, 0xdb, 0xa9);
    case Component::Connector:
        return QColor(0xa9, 0xb3, 0xc0);
    case Component::None:
        break;
    }
    return Qt::white;
}

QString NameOf(Component component) {
    switch (component) {
    case Component::Bracket:
        return QStringLiteral("mounting bracket");
    case Component::Housing:
        return QStringLiteral("housing");
    case Component::Receiver:
        return QStringLiteral("receiver array");
    case Component::Projector:
        return QStringLiteral("projector");
    case Component::ImuHousing:
        return QStringLiteral("IMU housing");
    case Component::BasePlate:
        return QStringLiteral("base plate");
    case Component::Connector:
        return QStringLiteral("connector");
    case Component::None:
        break;
    }
    return {};
}

QString TitleOf(const CentreDrawing& drawing) {
    return TextOf(drawing.unit) +
           (drawing.sonar ? QStringLiteral(" — acoustic centre") : QStringLiteral(" — centre of measurement"));
}

// An offset as a surveyor enters it: signed, the minus a true minus.
QString OffsetText(char axis, int millimetres) {
    const QString sign = millimetres > 0 ? QStringLiteral("+") : millimetres < 0 ? QStringLiteral("−") : QString();
    return QStringLiteral("%1 %2%3").arg(QLatin1Char(axis)).arg(sign).arg(std::abs(millimetres));
}

// Text with a white halo, so a label stays readable where it crosses a fill or a line.
void HaloText(QPainter& p, const QFont& f, QPointF baseline, const QString& text, const QColor& colour) {
    QPainterPath path;
    path.addText(baseline, f, text);
    p.save();
    p.setPen(QPen(Qt::white, Pt(1.6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
    p.setPen(colour);
    p.setFont(f);
    p.drawText(baseline, text);
}

double TextWidth(const QFont& f, const QString& text, QPaintDevice* device) {
    return QFontMetricsF(f, device).horizontalAdvance(text);
}

// ---------------------------------------------------------------------------------------------
// Views

enum class View { Top, Side };

// Where a view puts the unit: X to the right in both; the top view has Y (starboard) down the
// page as seen from above, the side view, seen from starboard, Z (down) down the page.
struct ViewMapping {
    View view;
    double scale;   // device pixels per millimetre
    QPointF origin; // the reference point on the page

    double Across(int y, int z) const { return view == View::Top ? y : z; }
    QPointF Map(int x, int y, int z) const { return origin + QPointF(x * scale, Across(y, z) * scale); }
    QRectF Rect(const Block& b) const { return QRectF(Map(b.x0, b.y0, b.z0), Map(b.x1, b.y1, b.z1)).normalized(); }
};

std::vector<Block> BlocksOf(const CentreDrawing& drawing) {
    std::vector<Block> blocks;
    for (const Block& block : drawing.blocks) {
        if (block.component != Component::None) {
            blocks.push_back(block);
        }
    }
    return blocks;
}

// The extent in millimetres a view must show: every block, the reference point and the centre.
QRectF Extent(const CentreDrawing& drawing, View view) {
    const auto across = [view](int y, int z) { return double(view == View::Top ? y : z); };
    QRectF box(QPointF(0, 0), QPointF(0, 0));
    const auto take = [&box](QPointF point) {
        box.setLeft(std::min(box.left(), point.x()));
        box.setRight(std::max(box.right(), point.x()));
        box.setTop(std::min(box.top(), point.y()));
        box.setBottom(std::max(box.bottom(), point.y()));
    };
    for (const Block& b : BlocksOf(drawing)) {
        take(QPointF(b.x0, across(b.y0, b.z0)));
        take(QPointF(b.x1, across(b.y1, b.z1)));
    }
    take(QPointF(drawing.centre.x, across(drawing.centre.y, drawing.centre.z)));
    return box;
}

// Whether an outline edge of `behind` runs through the inside of `cover`: only
// then is a dashed hidden edge to be seen (a block behind that is larger all
// round shows none).
bool EdgeCrosses(const QRectF& behind, const QRectF& cover) {
    const auto through = [](double at, double low, double high) { return at > low && at < high; };
    const auto spans = [](double a0, double a1, double b0, double b1) { return a0 < b1 && b0 < a1; };
    for (const double x : {behind.left(), behind.right()}) {
        if (through(x, cover.left(), cover.right()) &&
            spans(behind.top(), behind.bottom(), cover.top(), cover.bottom())) {
            return true;
        }
    }
    for (const double y : {behind.top(), behind.bottom()}) {
        if (through(y, cover.top(), cover.bottom()) &&
            spans(behind.left(), behind.right(), cover.left(), cover.right())) {
            return true;
        }
    }
    return false;
}

// Blocks from the farthest to the nearest, filled and outlined, so a nearer block covers what
// lies behind it; the covered edges then come back dashed, as hidden edges, where a block in
// front hides them. Returns whether any edge was hidden.
bool DrawBlocks(QPainter& p, const ViewMapping& view, std::vector<Block> blocks) {
    std::stable_sort(blocks.begin(), blocks.end(), [&view](const Block& a, const Block& b) {
        return view.view == View::Top ? a.z0 > b.z0 : a.y1 < b.y1;
    });
    const QPen outline(kOutline, Pt(0.8), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    for (const Block& block : blocks) {
        p.setPen(outline);
        p.setBrush(FillOf(block.component));
        p.drawRect(view.Rect(block));
    }
    QPen hidden(kHidden, Pt(0.5), Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    hidden.setDashPattern({6, 4});
    bool anyHidden = false;
    for (size_t behind = 0; behind < blocks.size(); ++behind) {
        for (size_t front = behind + 1; front < blocks.size(); ++front) {
            const QRectF cover = view.Rect(blocks[front]);
            const QRectF covered = view.Rect(blocks[behind]).intersected(cover);
            if (covered.width() <= Pt(0.5) || covered.height() <= Pt(0.5)) {
                continue;
            }
            p.save();
            p.setClipRect(cover.adjusted(Pt(0.4), Pt(0.4), -Pt(0.4), -Pt(0.4)));
            p.setPen(hidden);
            p.setBrush(Qt::NoBrush);
            p.drawRect(view.Rect(blocks[behind]));
            p.restore();
            anyHidden = anyHidden ||
                        EdgeCrosses(view.Rect(blocks[behind]), cover.adjusted(Pt(0.4), Pt(0.4), -Pt(0.4), -Pt(0.4)));
        }
    }
    return anyHidden;
}

// Chain lines through the centre: for a head, the receiver's and the projector's axes, whose
// crossing is the acoustic centre; for an IMU, its axes through the centre of measurement.
void DrawCentreLines(QPainter& p, const ViewMapping& view, const CentreDrawing& drawing) {
    QPen chain(kCentreLine, Pt(0.45), Qt::CustomDashLine, Qt::FlatCap);
    chain.setDashPattern({14, 4, 3, 4});
    p.setPen(chain);
    const double overrun = Pt(7);
    const Offset& c = drawing.centre;
    const QPointF centre = view.Map(c.x, c.y, c.z);
    for (const Block& block : BlocksOf(drawing)) {
        const QRectF r = view.Rect(block);
        const bool across = block.component == Component::Receiver || block.component == Component::ImuHousing;
        const bool along = (block.component == Component::Projector && view.view == View::Top) ||
                           block.component == Component::ImuHousing;
        if (across) {
            p.drawLine(QPointF(centre.x(), r.top() - overrun), QPointF(centre.x(), r.bottom() + overrun));
        }
        if (along) {
            p.drawLine(QPointF(r.left() - overrun, centre.y()), QPointF(r.right() + overrun, centre.y()));
        }
    }
}

constexpr double kMarkerRadius = 3.5;

// The reference point: a crossed circle. The centre: a circle with two quarters filled, the
// draughtsman's mark for a centre.
void DrawReferenceMark(QPainter& p, QPointF at) {
    const double r = Pt(kMarkerRadius);
    p.setPen(QPen(kNavy, Pt(0.8)));
    p.setBrush(Qt::white);
    p.drawEllipse(at, r, r);
    p.drawLine(at - QPointF(r + Pt(2), 0), at + QPointF(r + Pt(2), 0));
    p.drawLine(at - QPointF(0, r + Pt(2)), at + QPointF(0, r + Pt(2)));
}

void DrawCentreMark(QPainter& p, QPointF at) {
    const double r = Pt(kMarkerRadius);
    const QRectF box(at - QPointF(r, r), at + QPointF(r, r));
    p.setPen(QPen(kNavy, Pt(0.8)));
    p.setBrush(Qt::white);
    p.drawEllipse(box);
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawPie(box, 0, 90 * 16);
    p.drawPie(box, 180 * 16, 90 * 16);
}

// A dimension line between two marked points: extension lines from each point out to 'at'
// (a page y for a horizontal measure, a page x for a vertical one), the line between them with
// an arrowhead at each end, and the label beside it. Too short for two arrowheads inside, the
// arrows stand outside and point in.
void Dimension(QPainter& p, QPointF a, QPointF b, Qt::Orientation measure, double at, const QString& label) {
    const double gap = Pt(kMarkerRadius + 1.5), overshoot = Pt(2.2);
    const double arrow = Pt(5), half = Pt(1.5);
    const QPen line(kDimension, Pt(0.5), Qt::SolidLine, Qt::FlatCap);
    const bool horizontal = measure == Qt::Horizontal;
    // Position along the measure, and across it.
    const auto along = [horizontal](QPointF q) { return horizontal ? q.x() : q.y(); };
    const auto across = [horizontal](QPointF q) { return horizontal ? q.y() : q.x(); };
    const auto point = [horizontal](double s, double t) { return horizontal ? QPointF(s, t) : QPointF(t, s); };

    p.setPen(line);
    for (QPointF q : {a, b}) {
        const double direction = at < across(q) ? -1 : 1;
        p.drawLine(point(along(q), across(q) + direction * gap), point(along(q), at + direction * overshoot));
    }
    const double low = std::min(along(a), along(b)), high = std::max(along(a), along(b));
    const auto head = [&](double tip, double direction) {
        QPolygonF triangle;
        triangle << point(tip, at) << point(tip - direction * arrow, at - half)
                 << point(tip - direction * arrow, at + half);
        p.setPen(Qt::NoPen);
        p.setBrush(kDimension);
        p.drawPolygon(triangle);
        p.setPen(line);
    };
    if (high - low >= 2 * arrow + Pt(3)) {
        p.drawLine(point(low, at), point(high, at));
        head(low, -1);
        head(high, 1);
    } else {
        const double tail = arrow + Pt(4);
        p.drawLine(point(low - tail, at), point(high + tail, at));
        head(low, 1);
        head(high, -1);
    }

    const QFont f = CentreFont(7.5);
    const QFontMetricsF metrics(f, p.device());
    const double width = metrics.horizontalAdvance(label);
    const double middle = (low + high) / 2;
    // Above a horizontal line; beside a vertical one, on the side away from the points.
    const bool pointsLeft = !horizontal && across(a) < at;
    const QPointF baseline = horizontal   ? QPointF(middle - width / 2, at - Pt(2.2))
                             : pointsLeft ? QPointF(at + Pt(3.5), middle + metrics.capHeight() / 2)
                                          : QPointF(at - Pt(3.5) - width, middle + metrics.capHeight() / 2);
    HaloText(p, f, baseline, label, kDimension);
}

// A small axis cross in the view's corner: X forward and the view's second axis.
void DrawAxes(QPainter& p, QPointF origin, const QString& downName) {
    const double length = Pt(16), arrow = Pt(4), half = Pt(1.4);
    p.setPen(QPen(kOutline, Pt(0.6)));
    p.drawLine(origin, origin + QPointF(length, 0));
    p.drawLine(origin, origin + QPointF(0, length));
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    const QPointF right = origin + QPointF(length, 0), down = origin + QPointF(0, length);
    p.drawPolygon(QPolygonF{right, right + QPointF(-arrow, -half), right + QPointF(-arrow, half)});
    p.drawPolygon(QPolygonF{down, down + QPointF(-half, -arrow), down + QPointF(half, -arrow)});
    const QFont f = CentreFont(6.8);
    const QFontMetricsF metrics(f, p.device());
    p.setPen(kOutline);
    p.setFont(f);
    p.drawText(right + QPointF(Pt(2.5), metrics.capHeight() / 2), QStringLiteral("X forward"));
    p.drawText(down + QPointF(Pt(3), 0), downName);
}

struct Panel {
    QRectF area;    // the whole panel
    QRectF drawing; // where the outline goes, dimensions and labels kept clear around it
};

// The Y or Z measure stands on the side the centre lies toward, so that the extension line from
// the centre stays short and off the arrays' axes.
bool MeasureLeft(const CentreDrawing& drawing) { return drawing.centre.x < 0; }

// Room around the outline: above for the X measure, below for the axis cross and the view's
// name, and on one side for the Y or Z measure and its label.
Panel PanelIn(const QRectF& area, bool left) {
    const double near = Pt(14), far = Pt(46);
    return {area, area.adjusted(left ? far : near, Pt(28), left ? -near : -far, -Pt(30))};
}

// Returns whether the view shows hidden edges.
bool DrawView(QPainter& p, const CentreDrawing& drawing, const Panel& panel, double scale, View view) {
    const QRectF box = Extent(drawing, view);
    const QSizeF size(box.width() * scale, box.height() * scale);
    const QPointF corner(panel.drawing.left() + (panel.drawing.width() - size.width()) / 2,
                         panel.drawing.top() + (panel.drawing.height() - size.height()) / 2);
    const ViewMapping mapping{view, scale, corner - QPointF(box.left() * scale, box.top() * scale)};

    const bool hiddenEdges = DrawBlocks(p, mapping, BlocksOf(drawing));
    DrawCentreLines(p, mapping, drawing);

    const Offset& c = drawing.centre;
    const QPointF reference = mapping.Map(0, 0, 0);
    const QPointF centre = mapping.Map(c.x, c.y, c.z);
    const QRectF outline(corner, size);
    const double side = MeasureLeft(drawing) ? outline.left() - Pt(12) : outline.right() + Pt(12);
    if (view == View::Top) {
        Dimension(p, reference, centre, Qt::Horizontal, outline.top() - Pt(14), OffsetText('X', c.x));
        Dimension(p, reference, centre, Qt::Vertical, side, OffsetText('Y', c.y));
    } else {
        Dimension(p, reference, centre, Qt::Vertical, side, OffsetText('Z', c.z));
    }
    DrawReferenceMark(p, reference);
    DrawCentreMark(p, centre);

    // Each mark's name goes to the side away from the Y or Z measure and, up or down, away from
    // the other mark: the quarter its extension lines and the other mark leave free.
    const QFont f = CentreFont(7, QFont::Bold);
    const QFontMetricsF metrics(f, p.device());
    const double r = Pt(kMarkerRadius);
    const auto markName = [&](QPointF at, QPointF other, const QString& text) {
        const bool right = MeasureLeft(drawing);
        const bool below = other.y() <= at.y() + Pt(0.5);
        const double x = right ? at.x() + r + Pt(1.2) : at.x() - r - Pt(1.2) - metrics.horizontalAdvance(text);
        const double y = below ? at.y() + r + metrics.capHeight() + Pt(0.5) : at.y() - r - Pt(1.2);
        HaloText(p, f, QPointF(x, y), text, kNavy);
    };
    markName(reference, centre, QStringLiteral("RP"));
    markName(centre, reference, drawing.sonar ? QStringLiteral("AC") : QStringLiteral("CM"));

    DrawAxes(p, QPointF(panel.area.left() + Pt(8), panel.area.bottom() - Pt(24)),
             view == View::Top ? QStringLiteral("Y starboard") : QStringLiteral("Z down"));
    const QFont nameFont = CentreFont(7.5, QFont::Bold);
    const QString name = view == View::Top ? QStringLiteral("TOP VIEW") : QStringLiteral("SIDE VIEW FROM STARBOARD");
    const double nameWidth = TextWidth(nameFont, name, p.device());
    const QPointF nameAt(panel.area.center().x() - nameWidth / 2, panel.area.bottom() - Pt(6));
    p.setPen(kOutline);
    p.setFont(nameFont);
    p.drawText(nameAt, name);
    p.setPen(QPen(kOutline, Pt(0.5)));
    p.drawLine(nameAt + QPointF(0, Pt(2)), nameAt + QPointF(nameWidth, Pt(2)));
    return hiddenEdges;
}

// ---------------------------------------------------------------------------------------------
// Legend and title block

// Two rows: the marks and the line kinds, then the parts by their fill.
// The hidden-edge line is listed only on a sheet whose views show one.
void DrawLegend(QPainter& p, const CentreDrawing& drawing, const QRectF& strip, bool hiddenEdges) {
    const QFont f = CentreFont(6.8);
    const QFontMetricsF metrics(f, p.device());
    const double gap = Pt(10), swatch = Pt(7.5), r = Pt(kMarkerRadius);
    double x = 0, middle = 0;
    const auto row = [&](double centre) {
        x = strip.left() + Pt(8);
        middle = centre;
    };
    const auto label = [&](const QString& text) {
        p.setPen(kOutline);
        p.setFont(f);
        p.drawText(QPointF(x, middle + metrics.capHeight() / 2), text);
        x += metrics.horizontalAdvance(text) + gap;
        if (x - gap > strip.right()) {
            throw std::runtime_error("the legend of " + std::string(drawing.asset) + " runs off its page");
        }
    };

    row(strip.top() + strip.height() / 4);
    DrawReferenceMark(p, QPointF(x + r, middle));
    x += 2 * r + Pt(3.5);
    label(QStringLiteral("RP mounting reference point"));
    DrawCentreMark(p, QPointF(x + r, middle));
    x += 2 * r + Pt(3.5);
    label(drawing.sonar ? QStringLiteral("AC acoustic centre") : QStringLiteral("CM centre of measurement"));
    if (hiddenEdges) {
        QPen hidden(kHidden, Pt(0.5), Qt::CustomDashLine, Qt::FlatCap);
        hidden.setDashPattern({6, 4});
        p.setPen(hidden);
        p.drawLine(QPointF(x, middle), QPointF(x + Pt(14), middle));
        x += Pt(17);
        label(QStringLiteral("hidden edge"));
    }
    QPen chain(kCentreLine, Pt(0.45), Qt::CustomDashLine, Qt::FlatCap);
    chain.setDashPattern({14, 4, 3, 4});
    p.setPen(chain);
    p.drawLine(QPointF(x, middle), QPointF(x + Pt(14), middle));
    x += Pt(17);
    label(drawing.sonar ? QStringLiteral("array axis") : QStringLiteral("axis through CM"));

    row(strip.top() + strip.height() * 3 / 4);
    for (const Block& block : BlocksOf(drawing)) {
        p.setPen(QPen(kOutline, Pt(0.6)));
        p.setBrush(FillOf(block.component));
        p.drawRect(QRectF(x, middle - swatch / 2, swatch, swatch));
        x += swatch + Pt(3.5);
        label(NameOf(block.component));
    }
}

void DrawTitleBlock(QPainter& p, const CentreDrawing& drawing, const QRectF& block, double ratio) {
    const double titleWidth = Pt(196), offsetsWidth = Pt(84);
    const QRectF titleCell(block.left(), block.top(), titleWidth, block.height());
    const QRectF offsetsCell(titleCell.right(), block.top(), offsetsWidth, block.height());
    const QRectF cautionCell(offsetsCell.right(), block.top(), block.right() - offsetsCell.right(), block.height());
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, Pt(0.9)));
    p.drawRect(block);
    p.setPen(QPen(kNavy, Pt(0.6)));
    p.drawLine(titleCell.topRight(), titleCell.bottomRight());
    p.drawLine(offsetsCell.topRight(), offsetsCell.bottomRight());

    const double pad = Pt(6);
    const int wrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

    // The title on one line, a little smaller where the unit's name is long.
    const QString title = TitleOf(drawing);
    double titlePt = 11;
    while (titlePt > 8.5 &&
           TextWidth(CentreFont(titlePt, QFont::Bold), title, p.device()) > titleCell.width() - 2 * pad) {
        titlePt -= 0.25;
    }
    if (TextWidth(CentreFont(titlePt, QFont::Bold), title, p.device()) > titleCell.width() - 2 * pad) {
        throw std::runtime_error("the title of " + std::string(drawing.asset) + " runs out of its cell");
    }
    p.setPen(kNavy);
    p.setFont(CentreFont(titlePt, QFont::Bold));
    p.drawText(titleCell.adjusted(pad, Pt(5), -pad, 0), wrap, title);
    p.setPen(kOutline);
    p.setFont(CentreFont(7.5, QFont::DemiBold));
    p.drawText(titleCell.adjusted(pad, Pt(22), -pad, 0), wrap,
               QStringLiteral("Dimensions in millimetres · scale 1:%1 at full size").arg(ratio));
    p.setFont(CentreFont(7));
    p.drawText(titleCell.adjusted(pad, Pt(33), -pad, 0), wrap,
               QStringLiteral("Offsets from the mounting reference point: X forward, Y starboard, Z down."));

    const QString centreMark = drawing.sonar ? QStringLiteral("AC") : QStringLiteral("CM");
    p.setPen(kOutline);
    p.setFont(CentreFont(7.5, QFont::Bold));
    p.drawText(offsetsCell.adjusted(pad, Pt(5), -pad, 0), wrap, QStringLiteral("RP to ") + centreMark);
    const Offset& c = drawing.centre;
    p.setFont(CentreFont(8.5));
    const QString lines[] = {OffsetText('X', c.x), OffsetText('Y', c.y), OffsetText('Z', c.z)};
    for (int i = 0; i < 3; ++i) {
        p.drawText(offsetsCell.adjusted(pad, Pt(18 + 13 * i), -pad, 0), wrap, lines[i]);
    }

    p.setPen(kCaution);
    p.setFont(CentreFont(7.5, QFont::Bold));
    p.drawText(cautionCell.adjusted(pad, Pt(5), -pad, 0), wrap, QStringLiteral("CAUTION"));
    p.setFont(CentreFont(7));
    const QRectF cautionText = cautionCell.adjusted(pad, Pt(16), -pad, -Pt(3));
    const QString caution = QStringLiteral("Illustrative drawing. Confirm every offset against the installation "
                                           "drawing of the unit before using it in a survey.");
    if (QFontMetricsF(p.font(), p.device()).boundingRect(cautionText, wrap, caution).height() > cautionText.height()) {
        throw std::runtime_error("the caution of " + std::string(drawing.asset) + " runs out of its cell");
    }
    p.drawText(cautionText, wrap, caution);
}

// The drawing scales a draughtsman picks from, as the real length per length on paper.
constexpr double kDrawingRatios[] = {1, 2, 2.5, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25};

// The largest of them at which a view of 'fit' device pixels per millimetre still fits.
double DrawingRatio(double fit) {
    const double paperPerReal = fit / Pt(72 / 25.4);
    for (double ratio : kDrawingRatios) {
        if (1 / ratio <= paperPerReal) {
            return ratio;
        }
    }
    throw std::runtime_error("no drawing scale small enough");
}

void WriteCentreDrawing(const CentreDrawing& drawing, const QString& path) {
    {
        QPdfWriter pdf(path);
        pdf.setResolution(kSheetDpi);
        pdf.setPageSize(QPageSize(QSizeF(kPageWidth, kPageHeight), QPageSize::Point, QStringLiteral("Centre drawing")));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator(QStringLiteral("Tormalind UTILITY"));
        pdf.setTitle(TitleOf(drawing));
        QPainter p(&pdf);
        BeginPainting(p);

        const QRectF frame(Pt(kFrame, kFrame), Pt(kPageWidth - kFrame, kPageHeight - kFrame));
        const QRectF titleBlock(frame.left(), frame.bottom() - Pt(kTitleHeight), frame.width(), Pt(kTitleHeight));
        const QRectF legend(frame.left(), titleBlock.top() - Pt(kLegendHeight), frame.width(), Pt(kLegendHeight));
        const QRectF views(frame.topLeft(), QPointF(frame.right(), legend.top()));
        const Panel top =
            PanelIn(QRectF(views.topLeft(), QSizeF(views.width() / 2, views.height())), MeasureLeft(drawing));
        const Panel side =
            PanelIn(QRectF(QPointF(views.center().x(), views.top()), views.bottomRight()), MeasureLeft(drawing));

        // One scale for both views, so X reads alike in each: the largest drawing scale at which
        // both fit, so the heads' sizes compare from sheet to sheet.
        const QRectF topExtent = Extent(drawing, View::Top), sideExtent = Extent(drawing, View::Side);
        const double fit =
            std::min({top.drawing.width() / topExtent.width(), top.drawing.height() / topExtent.height(),
                      side.drawing.width() / sideExtent.width(), side.drawing.height() / sideExtent.height()});
        const double ratio = DrawingRatio(fit);
        const double scale = Pt(72 / 25.4) / ratio;

        p.setPen(QPen(kNavy, Pt(1.2)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        p.setPen(QPen(QColor(0xc4, 0xcc, 0xd6), Pt(0.5)));
        p.drawLine(QPointF(views.center().x(), views.top() + Pt(8)),
                   QPointF(views.center().x(), views.bottom() - Pt(4)));
        const bool topHidden = DrawView(p, drawing, top, scale, View::Top);
        const bool sideHidden = DrawView(p, drawing, side, scale, View::Side);
        DrawLegend(p, drawing, legend, topHidden || sideHidden);
        DrawTitleBlock(p, drawing, titleBlock, ratio);
    }
    FixCreationDate(path);
}

} // namespace

void WriteCentreDrawings(const QDir& out) {
    for (const CentreDrawing& drawing : kCentreDrawings) {
        WriteCentreDrawing(drawing, out.filePath(TextOf(drawing.asset) + QStringLiteral(".pdf")));
    }
}

} // namespace assets
