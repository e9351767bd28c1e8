#include "standards/TIHOForm.h"
#include "kit/UpDown.h"
#include "support/MessageLog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kBadDepth = QStringLiteral("message: Invallid argument for Depth\nUse positive Integers ");

class TIHOFormTest : public testing::Test {
protected:
    void SetUp() override {
        form.show();
        MessageLog::Take();
    }

    void Type(const QString& keys) {
        form.edt_Depth->end(false);
        QTest::keyClicks(form.edt_Depth, keys);
    }
    void Backspace() {
        form.edt_Depth->end(false);
        QTest::keyClick(form.edt_Depth, Qt::Key_Backspace);
    }
    // As the user picks an item from the drop-down list.
    void Choose(const QString& item) {
        const int index = form.cbo_Order->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        form.cbo_Order->setCurrentIndex(index);
        emit form.cbo_Order->activated(index);
    }
    std::string Tvu() const { return form.edt_TVU->text().toStdString(); }
    std::string Thu() const { return form.edt_THU->text().toStdString(); }
    std::string Depth() const { return form.edt_Depth->text().toStdString(); }
    // Which of the items that the order selection shows and hides are visible.
    QStringList VisibleItems() const {
        QStringList shown;
        for (QWidget* item :
             {static_cast<QWidget*>(form.img_IHO), static_cast<QWidget*>(form.img_FSIS),
              static_cast<QWidget*>(form.img_LINZ), static_cast<QWidget*>(form.img_NL),
              static_cast<QWidget*>(form.img_Orsted), static_cast<QWidget*>(form.img_Formula),
              static_cast<QWidget*>(form.lbl_THU_005), static_cast<QWidget*>(form.lbl_THU_01),
              static_cast<QWidget*>(form.img_ScrollHint), static_cast<QWidget*>(form.lbl_ScrollDepth)}) {
            if (!item->isHidden()) {
                shown << item->objectName();
            }
        }
        return shown;
    }

    TIHOForm form;
};

} // namespace

TEST_F(TIHOFormTest, OpensWithPlaceholdersAndComputesOnTheFirstKeystroke) {
    EXPECT_EQ(Depth(), "10");
    EXPECT_EQ(Tvu(), " xx.x m");
    EXPECT_EQ(Thu(), " 2.0 m");
    EXPECT_EQ(form.cbo_Order->currentText(), "IHO Special Order");
    EXPECT_EQ(form.pgc_Orders->currentIndex(), 0);
    EXPECT_EQ(VisibleItems(), (QStringList{"img_IHO", "img_Formula"}));

    Type(QStringLiteral("2"));
    EXPECT_EQ(Tvu(), "±0.80 m");
    EXPECT_EQ(Thu(), "± 2.0 m");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, UnreadableDepthEmptiesTheFieldAndFallsBackOnTheLastDepth) {
    Choose(QStringLiteral("IHO Order 2"));
    MessageLog::Take();

    // The handler empties the field itself, which is a change of its own: two messages.
    Type(QStringLiteral("x"));
    EXPECT_EQ(MessageLog::Take(), (QStringList{kBadDepth, kBadDepth}));
    EXPECT_EQ(Depth(), "");
    EXPECT_EQ(Tvu(), "±1.0 m");
    EXPECT_EQ(Thu(), "± 21 m");

    // Emptying the field by hand: the message once, the results of the last depth.
    Type(QStringLiteral("1"));
    ASSERT_EQ(Thu(), "± 20 m");
    Backspace();
    EXPECT_EQ(MessageLog::Take(), QStringList{kBadDepth});
    EXPECT_EQ(Thu(), "± 20 m");

    // Fractions, blanks after the number and numbers beyond 32 bits are not whole depths.
    for (const char* bad : {"10.5", "10 ", "2147483648", "1,000"}) {
        form.edt_Depth->setText(QString::fromLatin1(bad));
        EXPECT_EQ(Depth(), "") << bad;
        EXPECT_EQ(MessageLog::Take().size(), 2) << bad;
    }
}

TEST_F(TIHOFormTest, NegativeAndOutOfRangeDepthsAreComputedAsTyped) {
    Choose(QStringLiteral("IHO Order 1a"));
    form.edt_Depth->setText(QStringLiteral("-20"));
    EXPECT_EQ(Tvu(), "±0.56 m"); // as for +20
    EXPECT_EQ(Thu(), "±4.0 m");  // 5 - 0.05 * 20

    form.edt_Depth->setText(QStringLiteral("20000"));
    EXPECT_EQ(Thu(), "±1005.0 m");
    form.udb_Depth->UpButton()->click();
    EXPECT_EQ(Depth(), "15000"); // the spinner brings it back into its range
    EXPECT_EQ(Tvu(), "±195.00 m");
    form.udb_Depth->UpButton()->click();
    EXPECT_EQ(Depth(), "15000");
    form.udb_Depth->DownButton()->click();
    EXPECT_EQ(Depth(), "14995");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, ChoosingAnOrderShowsItsPageLogoAndResultsAtTenMetres) {
    struct Case {
        const char* item;
        int page;
        QStringList visible;
        const char* tvu;
        const char* thu;
    } cases[] = {
        {"NL Order A", 6, {"img_NL", "img_Formula"}, "±0.13 m", "± 0.4 m"},
        {"IHO Order 1b", 2, {"img_IHO", "img_Formula", "lbl_THU_005"}, "±0.5 m", "±5.5 m"},
        {"IHO Order 2", 3, {"img_IHO", "img_Formula", "lbl_THU_01"}, "±1.0 m", "± 21 m"},
        {"FSIS-44", 4, {"img_FSIS", "img_Formula"}, "±0.16 m", "± 2.0 m"},
        {"LINZ Special Order", 5, {"img_LINZ", "img_Formula"}, "±0.26 m", "± 2.0 m"},
        {"Orsted ", 8, {"img_Orsted"}, "±0.15 m", "±0.7 m"},
        {"IHO Special Order", 0, {"img_IHO", "img_Formula"}, "±0.26 m", "± 2.0 m"}, // formula back after Orsted
    };
    for (const Case& c : cases) {
        form.edt_Depth->setText(QStringLiteral("57"));
        Choose(QString::fromLatin1(c.item));
        EXPECT_EQ(Depth(), "10") << c.item;
        EXPECT_EQ(form.pgc_Orders->currentIndex(), c.page) << c.item;
        EXPECT_EQ(VisibleItems(), c.visible) << c.item;
        EXPECT_EQ(Tvu(), c.tvu) << c.item;
        EXPECT_EQ(Thu(), c.thu) << c.item;
        EXPECT_EQ(form.focusWidget(), form.edt_Depth) << c.item;
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, DefinitionsAndGraphOverviewLeaveDepthOneAndNoResults) {
    Choose(QStringLiteral("Orsted "));
    Choose(QStringLiteral("Definitions"));
    EXPECT_EQ(Depth(), "1");
    EXPECT_EQ(Tvu(), "");
    EXPECT_EQ(Thu(), "");
    EXPECT_EQ(form.pgc_Orders->currentIndex(), TIHOForm::kDefinitionsRow);
    EXPECT_EQ(VisibleItems(), QStringList{}); // the formula keeps the state Orsted left

    Type(QStringLiteral("5"));
    EXPECT_EQ(Tvu(), "");
    EXPECT_EQ(Thu(), "");

    Choose(QStringLiteral("IHO Order 1a"));
    Choose(QStringLiteral("Graph Overview"));
    EXPECT_EQ(Depth(), "1");
    EXPECT_EQ(Tvu(), "");
    EXPECT_EQ(form.pgc_Orders->currentIndex(), TIHOForm::kGraphOverviewRow);
    EXPECT_EQ(VisibleItems(), (QStringList{"img_Formula", "img_ScrollHint", "lbl_ScrollDepth"}));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, ClickingATabChangesOnlyThePage) {
    Choose(QStringLiteral("IHO Order 2"));
    const QStringList visible = VisibleItems();
    form.pgc_Orders->setCurrentIndex(8); // the Orsted tab
    EXPECT_EQ(form.cbo_Order->currentText(), "IHO Order 2");
    EXPECT_EQ(VisibleItems(), visible);
    EXPECT_EQ(Tvu(), "±1.0 m");
    EXPECT_EQ(Thu(), "± 21 m");
    EXPECT_TRUE(form.mem_Orsted->isVisible());
}

TEST_F(TIHOFormTest, DefinitionSwitchShowsOnlyTheChosenMemo) {
    auto visibleMemos = [&] {
        QList<int> shown;
        for (int i = 0; i < 6; ++i) {
            if (!form.mem_Definition[static_cast<std::size_t>(i)]->isHidden()) {
                shown << i;
            }
        }
        return shown;
    };
    EXPECT_EQ(visibleMemos(), QList<int>{0});
    const auto buttons = form.rdg_Definitions->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 6);
    EXPECT_EQ(buttons[3]->text(), "Total horizontal uncertainty (THU) ");
    buttons[3]->click();
    EXPECT_EQ(visibleMemos(), QList<int>{3});
    EXPECT_TRUE(form.mem_Definition[3]->toPlainText().startsWith("Total horizontal uncertainty (THU): The \n"));
    buttons[5]->click();
    EXPECT_EQ(visibleMemos(), QList<int>{5});
}

TEST_F(TIHOFormTest, OrstedMemoKeepsItsLinesAndTabs) {
    const QStringList lines = form.mem_Orsted->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 33);
    EXPECT_EQ(lines[0], "1.\tData resolution sufficient for detection of seabed ");
    EXPECT_EQ(lines[12], "     o   0.15 metres (2-sigma, 95%) or better down to 20 metres ");
    EXPECT_EQ(lines[32], "");
}
