#include "standards/TIHOForm.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace tiho_form_test {

namespace {

const QString kBadDepth = QStringLiteral("message: Invallid argument for Depth\nUse positive Integers ");

class TIHOFormTest : public testing::Test {
protected:
    void SetUp() override {
        form.show();
        MessageLog::Take();
    }

    void Type(const QString& keys) { ui.Type(QStringLiteral("edt_Depth"), keys); }
    void Backspace() { ui.Backspace(QStringLiteral("edt_Depth")); }
    // As the user picks an item from the drop-down list.
    void Choose(const QString& item) { ui.Choose(QStringLiteral("cbo_Order"), item); }
    std::string Tvu() const { return ui.Text(QStringLiteral("edt_TVU")).toStdString(); }
    std::string Thu() const { return ui.Text(QStringLiteral("edt_THU")).toStdString(); }
    std::string Depth() const { return ui.Text(QStringLiteral("edt_Depth")).toStdString(); }
    int Page() const { return ui.Get<QTabWidget>(QStringLiteral("pgc_Orders"))->currentIndex(); }
    QPlainTextEdit* DefinitionMemo(int item) const {
        return ui.Get<QPlainTextEdit>(QStringLiteral("mem_Definition%1").arg(item));
    }
    // Which of the items that the order selection shows and hides are visible.
    QStringList VisibleItems() const {
        QStringList shown;
        for (const char* name : {"img_IHO", "img_FSIS", "img_LINZ", "img_NL", "img_Orsted", "img_Formula",
                                 "lbl_THU_005", "lbl_THU_01", "img_ScrollHint", "lbl_ScrollDepth"}) {
            if (!ui.Get(QString::fromLatin1(name))->isHidden()) {
                shown << QString::fromLatin1(name);
            }
        }
        return shown;
    }

    TIHOForm form;
    support::Controls ui{&form};
};

} // namespace

TEST_F(TIHOFormTest, OpensWithPlaceholdersAndComputesOnTheFirstKeystroke) {
    EXPECT_EQ(form.windowTitle(), "Tormalind Survey Specification Calculator");
    EXPECT_EQ(Depth(), "10");
    EXPECT_EQ(Tvu(), " xx.x m");
    EXPECT_EQ(Thu(), " 2.0 m");
    EXPECT_EQ(ui.Text("cbo_Order"), "IHO Special Order");
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(VisibleItems(), (QStringList{"img_IHO", "img_Formula"}));

    Type(QStringLiteral("2"));
    EXPECT_EQ(Tvu(), "±0.80 m");
    EXPECT_EQ(Thu(), "± 2.0 m");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, EachSelectorRowOpensThePageOfItsOwnPosition) {
    // The rules of a row assume its page is the tab of the same position.
    const std::pair<const char*, const char*> rows[] = {
        {"IHO Special Order", "IHO Special Order"},
        {"IHO Order 1a", "Order 1a"},
        {"IHO Order 1b", "Order 1b"},
        {"IHO Order 2", "Order 2"},
        {"FSIS-44", "FSIS-44"},
        {"LINZ Special Order", "LINZ Special Order"},
        {"NL Order A", "NL Order A"},
        {"NL Order B", "NL Order B"},
        {"Orsted ", "Orsted"},
        {"Definitions", "Definitions"},
        {"Graph Overview", "Graph Overview"},
    };
    ASSERT_EQ(ui.Get<QTabWidget>("pgc_Orders")->count(), static_cast<int>(std::size(rows)));
    for (int row = 0; row < static_cast<int>(std::size(rows)); ++row) {
        Choose(QString::fromLatin1(rows[row].first));
        EXPECT_EQ(Page(), row) << rows[row].first;
        EXPECT_EQ(ui.Text("pgc_Orders"), rows[row].second) << rows[row].first;
    }
}

TEST_F(TIHOFormTest, UnreadableDepthEmptiesTheFieldAndFallsBackOnTheLastDepth) {
    Choose(QStringLiteral("IHO Order 2"));
    MessageLog::Take();

    // While typing the field keeps what was typed and nothing is said; the
    // results are those of the last depth.
    Type(QStringLiteral("x"));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(Depth(), "10x");
    EXPECT_EQ(Tvu(), "±1.0 m");
    EXPECT_EQ(Thu(), "± 21 m");
    // Finished, the handler empties the field itself, which is a change of its
    // own: two messages.
    ui.Key(QStringLiteral("edt_Depth"), QStringLiteral("Return"));
    EXPECT_EQ(MessageLog::Take(), (QStringList{kBadDepth, kBadDepth}));
    EXPECT_EQ(Depth(), "");

    // Emptying the field by hand: the message once it is finished, the results
    // of the last depth.
    Type(QStringLiteral("1"));
    ASSERT_EQ(Thu(), "± 20 m");
    Backspace();
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    ui.Key(QStringLiteral("edt_Depth"), QStringLiteral("Tab"));
    EXPECT_EQ(MessageLog::Take(), QStringList{kBadDepth});
    EXPECT_EQ(Thu(), "± 20 m");

    // Fractions, blanks after the number and numbers beyond 32 bits are not whole depths.
    for (const char* bad : {"10.5", "10 ", "2147483648", "1,000"}) {
        ui.SetText(QStringLiteral("edt_Depth"), QString::fromLatin1(bad));
        EXPECT_EQ(Depth(), "") << bad;
        EXPECT_EQ(MessageLog::Take().size(), 2) << bad;
    }
}

TEST_F(TIHOFormTest, NegativeAndOutOfRangeDepthsAreComputedAsTyped) {
    Choose(QStringLiteral("IHO Order 1a"));
    ui.SetText(QStringLiteral("edt_Depth"), QStringLiteral("-20"));
    EXPECT_EQ(Tvu(), "±0.56 m"); // as for +20
    EXPECT_EQ(Thu(), "±4.0 m");  // 5 - 0.05 * 20

    ui.SetText(QStringLiteral("edt_Depth"), QStringLiteral("20000"));
    EXPECT_EQ(Thu(), "±1005.0 m");
    ui.SpinUp(QStringLiteral("udb_Depth"));
    EXPECT_EQ(Depth(), "15000"); // the spinner brings it back into its range
    EXPECT_EQ(Tvu(), "±195.00 m");
    ui.SpinUp(QStringLiteral("udb_Depth"));
    EXPECT_EQ(Depth(), "15000");
    ui.SpinDown(QStringLiteral("udb_Depth"));
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
        ui.SetText(QStringLiteral("edt_Depth"), QStringLiteral("57"));
        Choose(QString::fromLatin1(c.item));
        EXPECT_EQ(Depth(), "10") << c.item;
        EXPECT_EQ(Page(), c.page) << c.item;
        EXPECT_EQ(VisibleItems(), c.visible) << c.item;
        EXPECT_EQ(Tvu(), c.tvu) << c.item;
        EXPECT_EQ(Thu(), c.thu) << c.item;
        EXPECT_EQ(form.focusWidget(), ui.Get("edt_Depth")) << c.item;
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, DefinitionsAndGraphOverviewLeaveDepthOneAndNoResults) {
    Choose(QStringLiteral("Orsted "));
    Choose(QStringLiteral("Definitions"));
    EXPECT_EQ(Depth(), "1");
    EXPECT_EQ(Tvu(), "");
    EXPECT_EQ(Thu(), "");
    EXPECT_EQ(Page(), TIHOForm::kDefinitionsRow);
    EXPECT_EQ(VisibleItems(), QStringList{}); // the formula keeps the state Orsted left

    Type(QStringLiteral("5"));
    EXPECT_EQ(Tvu(), "");
    EXPECT_EQ(Thu(), "");

    Choose(QStringLiteral("IHO Order 1a"));
    Choose(QStringLiteral("Graph Overview"));
    EXPECT_EQ(Depth(), "1");
    EXPECT_EQ(Tvu(), "");
    EXPECT_EQ(Page(), TIHOForm::kGraphOverviewRow);
    EXPECT_EQ(VisibleItems(), (QStringList{"img_Formula", "img_ScrollHint", "lbl_ScrollDepth"}));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TIHOFormTest, ClickingATabChangesOnlyThePage) {
    Choose(QStringLiteral("IHO Order 2"));
    const QStringList visible = VisibleItems();
    ui.Choose(QStringLiteral("pgc_Orders"), QStringLiteral("Orsted"));
    EXPECT_EQ(Page(), 8);
    EXPECT_EQ(ui.Text("cbo_Order"), "IHO Order 2");
    EXPECT_EQ(VisibleItems(), visible);
    EXPECT_EQ(Tvu(), "±1.0 m");
    EXPECT_EQ(Thu(), "± 21 m");
    EXPECT_TRUE(ui.Get("mem_Orsted")->isVisible());
}

TEST_F(TIHOFormTest, DefinitionSwitchShowsOnlyTheChosenMemo) {
    auto visibleMemos = [&] {
        QList<int> shown;
        for (int i = 0; i < 6; ++i) {
            if (!DefinitionMemo(i)->isHidden()) {
                shown << i;
            }
        }
        return shown;
    };
    EXPECT_EQ(visibleMemos(), QList<int>{0});
    const auto buttons = ui.Get<QGroupBox>("rdg_Definitions")->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 6);
    EXPECT_EQ(buttons[3]->text(), "Total horizontal uncertainty (THU) ");
    buttons[3]->click();
    EXPECT_EQ(visibleMemos(), QList<int>{3});
    EXPECT_TRUE(DefinitionMemo(3)->toPlainText().startsWith("Total horizontal uncertainty (THU): The \n"));
    buttons[5]->click();
    EXPECT_EQ(visibleMemos(), QList<int>{5});

    // Each item shows the memo of the term it names.
    const QStringList terms = {"Feature detection",
                               "Full sea floor search",
                               "Reduced depths",
                               "Total horizontal uncertainty (THU)",
                               "Total propagated uncertainty (TPU)",
                               "Total vertical uncertainty (TVU)"};
    for (int i = 0; i < 6; ++i) {
        buttons[i]->click();
        EXPECT_EQ(visibleMemos(), QList<int>{i});
        EXPECT_TRUE(DefinitionMemo(i)->toPlainText().startsWith(terms[i] + ":")) << i;
        EXPECT_EQ(ui.Text("rdg_Definitions"), buttons[i]->text());
    }
}

TEST_F(TIHOFormTest, OrstedMemoKeepsItsLinesAndTabs) {
    const QStringList lines = ui.Text("mem_Orsted").split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 33);
    EXPECT_EQ(lines[0], "1.\tData resolution sufficient for detection of seabed ");
    EXPECT_EQ(lines[12], "     o   0.15 metres (2-sigma, 95%) or better down to 20 metres ");
    EXPECT_EQ(lines[32], "");
}

} // namespace tiho_form_test
