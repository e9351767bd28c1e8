// Where a window opens on a small screen: whole and inside the available area,
// and where it was asked for when it fits.
#include "kit/WindowParts.h"

#include <QWidget>

#include <gtest/gtest.h>

TEST(WindowPlacement, ALargerWindowOpensInsideTheScreenAndASmallerOneWhereAsked) {
    const QRect laptop(0, 0, 1280, 800);
    struct Case {
        QSize size;
        QPoint wanted;
        QRect placed;
    };
    const Case cases[] = {
        {{1484, 830}, {-100, -15}, {0, 0, 1280, 800}},  // the TPU calculator over the launcher
        {{856, 535}, {212, 132}, {212, 132, 856, 535}}, // fits where it was asked
        {{856, 535}, {900, 500}, {424, 265, 856, 535}}, // pulled back inside
    };
    for (const Case& c : cases) {
        QWidget window;
        window.resize(c.size);
        kit::PlaceOnScreen(&window, c.wanted, laptop);
        EXPECT_EQ(window.geometry(), c.placed) << c.size.width() << "x" << c.size.height();
    }
}
