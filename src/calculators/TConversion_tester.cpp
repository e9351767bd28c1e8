#include "calculators/TConversion_tester.h"

#include "calculators/ConversionRegistry.h"
#include "common/NumberFormat.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"

#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

using kit::PixelFont;

namespace {

// The layout as designed; the lists and the value field follow the window when
// it is resized.
constexpr int kClientWidth = 695;
constexpr int kClientHeight = 428;
constexpr int kStatusBarHeight = 19;
constexpr QRect kTypesRect(18, 33, 177, 372);
constexpr QRect kValueRect(200, 32, 468, 21);
constexpr QRect kResultsRect(203, 64, 487, 253);
constexpr int kSpinnerWidth = 16;

constexpr int kUnitRole = Qt::UserRole;

bool CaselessLess(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

} // namespace

TConversion_tester::TConversion_tester(QWidget* parent) : QWidget(parent) {
    kit::SetUpWindow(this, QStringLiteral("Conversion_tester"), QStringLiteral("CONVERSIONS  "), true);
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kClientWidth, kClientHeight);

    // The tab set is a strip of tabs over one shared area: its pages stay empty
    // and the lists lie on top of it, whichever family is current.
    ConvFamilies = new QTabWidget(this);
    ConvFamilies->setObjectName(QStringLiteral("ConvFamilies"));
    AddTab(QStringLiteral("Testing"), -1);

    ConvTypes = new QListWidget(ConvFamilies);
    ConvTypes->setObjectName(QStringLiteral("ConvTypes"));

    ConvValue = new QLineEdit(QStringLiteral("1"), ConvFamilies);
    ConvValue->setObjectName(QStringLiteral("ConvValue"));
    ConvValueIncDec = new kit::UpDown(ConvFamilies);
    ConvValueIncDec->setObjectName(QStringLiteral("ConvValueIncDec"));
    ConvValueIncDec->SetRange(-32000, 32000);
    ConvValueIncDec->SetIncrement(1);
    ConvValueIncDec->SetPosition(1);
    ConvValueIncDec->resize(kSpinnerWidth, kValueRect.height());
    ConvValueIncDec->Associate(ConvValue);

    ConvResults = new QListWidget(ConvFamilies);
    ConvResults->setObjectName(QStringLiteral("ConvResults"));
    ConvResults->setFocusPolicy(Qt::ClickFocus);
    QPalette resultsPalette = ConvResults->palette();
    resultsPalette.setColor(QPalette::Base, resultsPalette.color(QPalette::Button));
    ConvResults->setPalette(resultsPalette);

    Label1 = kit::MakeLabel(ConvFamilies, QStringLiteral("Label1"), QStringLiteral("Tormalind ApS"), 260, 352,
                            PixelFont(QStringLiteral("Arial"), 16, true), kit::kNavy);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    auto* panel = new QLabel(StatusBar1);
    panel->setFixedWidth(50);
    StatusBar1->addWidget(panel);

    connect(ConvFamilies, &QTabWidget::currentChanged, this, &TConversion_tester::ConvFamiliesChange);
    connect(ConvTypes, &QListWidget::itemSelectionChanged, this, &TConversion_tester::ConvTypesClick);
    connect(ConvValue, &QLineEdit::textChanged, this, &TConversion_tester::ConvValueChange);
}

void TConversion_tester::AddTab(const QString& text, int family) {
    const int index = ConvFamilies->addTab(new QWidget(), text);
    ConvFamilies->tabBar()->setTabData(index, family);
}

void TConversion_tester::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TConversion_tester::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int grow = width() - kClientWidth;
    const int drop = height() - kClientHeight;
    ConvFamilies->setGeometry(0, 0, width(), height() - kStatusBarHeight);
    StatusBar1->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
    ConvTypes->setGeometry(kTypesRect.adjusted(0, 0, 0, drop));
    ConvValue->setGeometry(kValueRect.adjusted(0, 0, grow - kSpinnerWidth, 0));
    ConvValueIncDec->setGeometry(ConvValue->geometry().right() + 1, ConvValue->y(), kSpinnerWidth, ConvValue->height());
    ConvResults->setGeometry(kResultsRect.adjusted(0, 0, grow, drop));
}

void TConversion_tester::FormShow() {
    struct Tab {
        QString text;
        calculators::ConvFamily family;
    };
    std::vector<Tab> tabs;
    const calculators::ConversionRegistry& registry = calculators::StandardConversions();
    for (const calculators::ConvFamily family : registry.Families()) {
        tabs.push_back({QString::fromStdString(registry.FamilyDescription(family)), family});
    }
    std::stable_sort(tabs.begin(), tabs.end(), [](const Tab& a, const Tab& b) { return CaselessLess(a.text, b.text); });
    {
        const QSignalBlocker blocker(ConvFamilies);
        while (ConvFamilies->count() > 0) {
            QWidget* page = ConvFamilies->widget(0);
            ConvFamilies->removeTab(0);
            delete page;
        }
        for (const Tab& tab : tabs) {
            AddTab(tab.text, tab.family);
        }
        ConvFamilies->setCurrentIndex(0);
    }
    ConvFamiliesChange();
}

void TConversion_tester::ConvFamiliesChange() {
    const calculators::ConversionRegistry& registry = calculators::StandardConversions();
    const QVariant family = ConvFamilies->tabBar()->tabData(ConvFamilies->currentIndex());
    std::vector<std::pair<QString, calculators::ConvType>> units;
    if (family.isValid() && family.toInt() >= 0) {
        for (const calculators::ConvType unit : registry.Units(static_cast<calculators::ConvFamily>(family.toInt()))) {
            units.emplace_back(QString::fromStdString(registry.UnitDescription(unit)), unit);
        }
    }
    std::stable_sort(units.begin(), units.end(),
                     [](const auto& a, const auto& b) { return CaselessLess(a.first, b.first); });
    {
        const QSignalBlocker blocker(ConvTypes);
        ConvTypes->setUpdatesEnabled(false);
        ConvTypes->clear();
        for (const auto& [description, unit] : units) {
            auto* item = new QListWidgetItem(description, ConvTypes);
            item->setData(kUnitRole, unit);
        }
        ConvTypes->setCurrentRow(ConvTypes->count() > 0 ? 0 : -1);
        ConvTypes->setUpdatesEnabled(true);
    }
    ConvValueChange();
}

void TConversion_tester::ConvTypesClick() { ConvValueChange(); }

void TConversion_tester::ConvValueChange() {
    ConvResults->setUpdatesEnabled(false);
    ConvResults->clear();
    double value = 0.0;
    if (!common::TryParseFloat(ConvValue->text().toStdString(), value)) {
        value = 0.0; // half-typed text such as "-" or "" converts as nothing, quietly
    }
    const QListWidgetItem* source = ConvTypes->currentItem();
    if (source == nullptr || !source->isSelected()) {
        ConvResults->addItem(QStringLiteral("No base type"));
    } else {
        const calculators::ConversionRegistry& registry = calculators::StandardConversions();
        const auto from = static_cast<calculators::ConvType>(source->data(kUnitRole).toUInt());
        try {
            for (int row = 0; row < ConvTypes->count(); ++row) {
                const QListWidgetItem* target = ConvTypes->item(row);
                const auto to = static_cast<calculators::ConvType>(target->data(kUnitRole).toUInt());
                const double converted = registry.Convert(value, from, to);
                ConvResults->addItem(QString::fromStdString(common::FormatGroupedNumber(converted)) + QLatin1Char(' ') +
                                     target->text());
            }
        } catch (const std::exception&) {
            // A date outside the calendar's years: the lines made so far stay.
            ConvResults->addItem(QStringLiteral("Cannot parse value"));
        }
    }
    ConvResults->setUpdatesEnabled(true);
}
