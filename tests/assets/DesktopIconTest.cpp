// The program's icon as the asset build wrote it, in every size of the desktop's icon theme and as
// the window icon: a tile on a transparent ground that a light or a dark panel shows round it, with
// no stray pixel beside it, and menu sizes that read as a picture rather than a blur.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace desktop_icon_test {

namespace {

struct IconFile {
    QString path;
    int size;
    bool menuSize; // drawn for the menus and title bars, where a shrunk picture turns to haze
};

QString ThemeIcon(int size) {
    return QStringLiteral(TORMALIND_ASSET_DIR "/hicolor/%1x%1/apps/tormalind-utility.png").arg(size);
}

const std::vector<IconFile>& Icons() {
    static const std::vector<IconFile> icons{
        {ThemeIcon(16), 16, true},    {ThemeIcon(24), 24, true},
        {ThemeIcon(32), 32, false},   {ThemeIcon(48), 48, false},
        {ThemeIcon(64), 64, false},   {ThemeIcon(128), 128, false},
        {ThemeIcon(256), 256, false}, {QStringLiteral(TORMALIND_ASSET_DIR "/icon.png"), 64, false},
    };
    return icons;
}

QImage Load(const IconFile& icon) {
    QImage image(icon.path);
    EXPECT_EQ(image.size(), QSize(icon.size, icon.size));
    return image.convertToFormat(QImage::Format_ARGB32);
}

int Alpha(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)); }

int Luminance(QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; }

// Menus and task bars show the small icon sizes: each is the same picture as the large one, not a
// corner of it, with its water and its seabed in the same colours. The menu sizes draw the nadir
// beam bold through the centre, where the large picture has the fan's faint glow.
TEST(DesktopIcons, EverySizeShowsThePictureOfTheLargeOne) {
    const QImage large(ThemeIcon(256));
    ASSERT_FALSE(large.isNull());
    for (const IconFile& icon : Icons()) {
        if (icon.size == 256) {
            continue;
        }
        SCOPED_TRACE(icon.path.toStdString());
        const QImage image(icon.path);
        ASSERT_EQ(image.size(), QSize(icon.size, icon.size));
        const QImage expected = large.scaled(icon.size, icon.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Points on the water, the fan and the seabed, away from the edges.
        for (const QPointF at :
             {QPointF(0.25, 0.25), QPointF(0.75, 0.25), QPointF(0.5, 0.5), QPointF(0.3, 0.8), QPointF(0.7, 0.8)}) {
            if (icon.menuSize && at == QPointF(0.5, 0.5)) {
                continue;
            }
            const QPoint pixel(static_cast<int>(at.x() * icon.size), static_cast<int>(at.y() * icon.size));
            const QColor got = image.pixelColor(pixel);
            const QColor want = expected.pixelColor(pixel);
            const int difference = std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                                   std::abs(got.blue() - want.blue());
            EXPECT_LT(difference, 150) << "at " << pixel.x() << "," << pixel.y();
        }
    }
}

// The outer ring of the image, scaled with it: one pixel up to 32 px, eight at 256 px.
int RingWidth(int size) { return std::max(1, size / 32); }

TEST(DesktopIcons, EverySizeStandsOnATransparentGroundRoundItsTile) {
    for (const IconFile& icon : Icons()) {
        SCOPED_TRACE(icon.path.toStdString());
        const QImage stored(icon.path);
        ASSERT_FALSE(stored.isNull());
        EXPECT_TRUE(stored.hasAlphaChannel());
        const QImage image = Load(icon);
        const int ring = RingWidth(icon.size);
        int seen = 0;
        for (int y = 0; y < icon.size; ++y) {
            for (int x = 0; x < icon.size; ++x) {
                const bool inRing = x < ring || y < ring || x >= icon.size - ring || y >= icon.size - ring;
                if (inRing && Alpha(image, x, y) != 0 && seen++ < 5) {
                    ADD_FAILURE() << "alpha " << Alpha(image, x, y) << " at " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(seen, 0) << "pixels showing in the outer " << ring << " px";
        // The tile itself is solid: the desktop's panel must not show through the water.
        EXPECT_EQ(Alpha(image, icon.size / 2, icon.size / 2), 255);
        EXPECT_EQ(Alpha(image, icon.size / 4, icon.size / 2), 255);
    }
}

// A stray pixel is one that the tile does not reach: everything with any cover must be joined to
// the tile's centre through edge-sharing pixels with cover.
TEST(DesktopIcons, NoPixelShowsApartFromTheTile) {
    for (const IconFile& icon : Icons()) {
        SCOPED_TRACE(icon.path.toStdString());
        const QImage image = Load(icon);
        const int n = icon.size;
        std::vector<char> reached(size_t(n) * size_t(n), 0);
        std::vector<QPoint> todo{QPoint(n / 2, n / 2)};
        reached[size_t(n / 2) * size_t(n) + size_t(n / 2)] = 1;
        while (!todo.empty()) {
            const QPoint at = todo.back();
            todo.pop_back();
            for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint next = at + step;
                if (next.x() < 0 || next.y() < 0 || next.x() >= n || next.y() >= n) {
                    continue;
                }
                char& mark = reached[size_t(next.y()) * size_t(n) + size_t(next.x())];
                if (!mark && Alpha(image, next.x(), next.y()) > 0) {
                    mark = 1;
                    todo.push_back(next);
                }
            }
        }
        int stray = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                if (Alpha(image, x, y) > 0 && !reached[size_t(y) * size_t(n) + size_t(x)] && stray++ < 5) {
                    ADD_FAILURE() << "pixel apart from the tile at " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(stray, 0);
    }
}

// At 16 and 24 px a picture shrunk from the large one has no edge left: neighbouring pixels differ
// by a few shades everywhere. A picture drawn in those pixels has its head, beams and soundings
// standing off the water in hard steps. Counted over the pairs of edge-sharing pixels on the
// solid tile, a hard step being a third of the brightness range.
TEST(DesktopIcons, TheMenuSizesAreDrawnInBoldStrokesNotABlur) {
    for (const IconFile& icon : Icons()) {
        if (!icon.menuSize) {
            continue;
        }
        SCOPED_TRACE(icon.path.toStdString());
        const QImage image = Load(icon);
        const int n = icon.size;
        int solid = 0, pairs = 0, hardSteps = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                if (Alpha(image, x, y) != 255) {
                    continue;
                }
                ++solid;
                for (const QPoint next : {QPoint(x + 1, y), QPoint(x, y + 1)}) {
                    if (next.x() >= n || next.y() >= n || Alpha(image, next.x(), next.y()) != 255) {
                        continue;
                    }
                    ++pairs;
                    const int step = std::abs(Luminance(image.pixel(x, y)) - Luminance(image.pixel(next)));
                    hardSteps += step >= 85 ? 1 : 0;
                }
            }
        }
        // The tile fills most of the image: the drawing is not shrunk to leave room round it.
        EXPECT_GE(solid, n * n * 6 / 10);
        ASSERT_GT(pairs, 0);
        EXPECT_GE(double(hardSteps) / pairs, 0.08) << hardSteps << " hard steps in " << pairs << " pairs";
    }
}

} // namespace

} // namespace desktop_icon_test
