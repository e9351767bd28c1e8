// Where a window opens on a small screen: whole and inside the available area,
// and where it was asked for when it fits.
#include "kit/WindowParts.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <vector>

#include <gtest/gtest.h>

namespace window_placement_test {

TEST(WindowPlacement, ALargerWindowOpensInsideTheScreenAndASmallerOneWhereAsked) {
    const QRect laptop(0, 0, 1280, 800);
    struct Case {
        QSize size;
        QPoint wanted;
        QSize decoration; // the frame round a window already shown
        QRect placed;
    };
    const Case cases[] = {
        {{1484, 830}, {-100, -15}, {0, 0}, {0, 0, 1280, 800}},  // the TPU calculator over the launcher
        {{856, 535}, {212, 132}, {0, 0}, {212, 132, 856, 535}}, // fits where it was asked
        {{856, 535}, {900, 500}, {0, 0}, {424, 265, 856, 535}}, // pulled back inside
        // Under a window manager: the title bar and borders must fit on the screen too.
        {{1484, 830}, {-100, -15}, {2, 22}, {0, 0, 1278, 778}},
        {{856, 535}, {900, 500}, {2, 22}, {422, 243, 856, 535}},
    };
    for (const Case& c : cases) {
        QWidget window;
        window.resize(c.size);
        kit::PlaceOnScreen(&window, c.wanted, laptop, c.decoration);
        EXPECT_EQ(window.geometry(), c.placed) << c.size.width() << "x" << c.size.height();
    }
}

// A fixed layout put into a scroll area keeps every part where the form put it,
// hidden ones hidden and in the same stacking order, the first field takes the
// focus as the window opens, and a window of fixed size
// may then be made smaller, not larger.
TEST(WindowPlacement, AScrolledLayoutKeepsEveryPartAndItsPlace) {
    QWidget window;
    window.setFixedSize(400, 300);
    std::vector<QWidget*> parts;
    for (int i = 0; i < 6; ++i) {
        QWidget* part = i == 0 ? new QLineEdit(&window) : new QWidget(&window);
        part->setObjectName(QStringLiteral("part%1").arg(i));
        part->setGeometry(10 * i, 20 * i, 50, 40);
        parts.push_back(part);
    }
    parts[3]->hide();
    QWidget* content = kit::ScrollWhenSmaller(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(parts[0]->hasFocus()) << "the first field, not the scroll area, takes the focus";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i]->parentWidget(), content) << i;
        EXPECT_EQ(parts[i]->geometry(), QRect(10 * int(i), 20 * int(i), 50, 40)) << i;
        EXPECT_EQ(parts[i]->isHidden(), i == 3) << i;
    }
    const QObjectList stacked = content->children();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        EXPECT_LT(stacked.indexOf(parts[i - 1]), stacked.indexOf(parts[i])) << i;
    }
    EXPECT_EQ(window.maximumSize(), QSize(400, 300));
    EXPECT_LT(window.minimumWidth(), 400);
    EXPECT_LT(window.minimumHeight(), 300);
}

} // namespace window_placement_test
