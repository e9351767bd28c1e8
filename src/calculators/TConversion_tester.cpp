#include "calculators/TConversion_tester.h"

#include "calculators/ConversionRegistry.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/TypedFields.h"
#include "kit/WindowParts.h"
#include "ui_TConversion_tester.h"

#include <QShowEvent>
#include <QTabBar>
#include <algorithm>

namespace {

constexpr int kUnitRole = Qt::UserRole;

bool CaselessLess(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

} // namespace

TConversion_tester::TConversion_tester(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TConversion_tester>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    ui->ConvValueIncDec->Associate(ui->ConvValue);
    ui->StatusBar1->addWidget(ui->lbl_StatusPanel);

    // The tab set is a strip of tabs over one shared area: its pages stay empty
    // and the lists lie on top of it, whichever family is current. The lists and
    // the value field take up whatever the window gains over the form's size.
    designedSize_ = size();
    const auto anchor = [this](QWidget* control, Qt::Edges following) {
        anchored_.push_back({control, control->geometry(), following});
    };
    anchor(ui->ConvFamilies, Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->ConvTypes, Qt::BottomEdge);
    anchor(ui->ConvValue, Qt::RightEdge);
    anchor(ui->ConvValueIncDec, Qt::LeftEdge | Qt::RightEdge);
    anchor(ui->ConvResults, Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->StatusBar1, Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    connect(ui->ConvFamilies, &QTabWidget::currentChanged, this, &TConversion_tester::ConvFamiliesChange);
    connect(ui->ConvTypes, &QListWidget::itemSelectionChanged, this, &TConversion_tester::ConvTypesClick);
    connect(ui->ConvValue, &QLineEdit::textChanged, this, &TConversion_tester::ConvValueChange);
}

TConversion_tester::~TConversion_tester() = default;

void TConversion_tester::AddTab(const QString& text, int family) {
    const int index = ui->ConvFamilies->addTab(new QWidget(), text);
    ui->ConvFamilies->tabBar()->setTabData(index, family);
}

void TConversion_tester::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TConversion_tester::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int grow = width() - designedSize_.width();
    const int drop = height() - designedSize_.height();
    const auto shift = [](Qt::Edges following, Qt::Edge edge, int by) { return following.testFlag(edge) ? by : 0; };
    for (const Anchored& a : anchored_) {
        a.control->setGeometry(
            a.designed.adjusted(shift(a.following, Qt::LeftEdge, grow), shift(a.following, Qt::TopEdge, drop),
                                shift(a.following, Qt::RightEdge, grow), shift(a.following, Qt::BottomEdge, drop)));
    }
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
        const QSignalBlocker blocker(ui->ConvFamilies);
        while (ui->ConvFamilies->count() > 0) {
            QWidget* page = ui->ConvFamilies->widget(0);
            ui->ConvFamilies->removeTab(0);
            delete page;
        }
        for (const Tab& tab : tabs) {
            AddTab(tab.text, tab.family);
        }
        ui->ConvFamilies->setCurrentIndex(0);
    }
    ConvFamiliesChange();
}

void TConversion_tester::ConvFamiliesChange() {
    const calculators::ConversionRegistry& registry = calculators::StandardConversions();
    const QVariant family = ui->ConvFamilies->tabBar()->tabData(ui->ConvFamilies->currentIndex());
    std::vector<std::pair<QString, calculators::ConvType>> units;
    if (family.isValid() && family.toInt() >= 0) {
        for (const calculators::ConvType unit : registry.Units(static_cast<calculators::ConvFamily>(family.toInt()))) {
            units.emplace_back(QString::fromStdString(registry.UnitDescription(unit)), unit);
        }
    }
    std::stable_sort(units.begin(), units.end(),
                     [](const auto& a, const auto& b) { return CaselessLess(a.first, b.first); });
    QListWidget* list = ui->ConvTypes;
    {
        const QSignalBlocker blocker(list);
        list->setUpdatesEnabled(false);
        list->clear();
        for (const auto& [description, unit] : units) {
            auto* item = new QListWidgetItem(description, list);
            item->setData(kUnitRole, unit);
        }
        list->setCurrentRow(list->count() > 0 ? 0 : -1);
        list->setUpdatesEnabled(true);
    }
    ConvValueChange();
}

void TConversion_tester::ConvTypesClick() {
    // A click on the blank part of the list, or Ctrl with a click on the chosen
    // unit, would leave the value in no unit at all: the current unit stays
    // chosen instead, so the results always convert from one unit.
    QListWidget* list = ui->ConvTypes;
    if (list->count() > 0 && list->selectedItems().isEmpty()) {
        QListWidgetItem* keep = list->currentItem() != nullptr ? list->currentItem() : list->item(0);
        const QSignalBlocker blocker(list);
        list->setCurrentItem(keep, QItemSelectionModel::ClearAndSelect);
    }
    ConvValueChange();
}

void TConversion_tester::ConvValueChange() {
    QListWidget* results = ui->ConvResults;
    results->setUpdatesEnabled(false);
    results->clear();
    // Half-typed text such as "-" or "" converts as nothing, without a box; a
    // text that is no number ("2,5" from a comma-decimal habit) says beside
    // the field why every result reads 0.
    const QString text = ui->ConvValue->text();
    double value = 0.0;
    if (!common::TryParseFloat(text.toStdString(), value)) {
        value = 0.0;
        kit::ShowFieldNote(ui->ConvValue, text.isEmpty() ? QString()
                                                         : QStringLiteral("'%1' is no number: converted as 0 "
                                                                          "(\".\" is the decimal separator)")
                                                               .arg(text));
    } else {
        kit::ShowFieldNote(ui->ConvValue, QString());
    }
    const QListWidgetItem* source = ui->ConvTypes->currentItem();
    if (source == nullptr || !source->isSelected()) {
        results->addItem(QStringLiteral("No base type"));
    } else {
        const calculators::ConversionRegistry& registry = calculators::StandardConversions();
        const auto from = static_cast<calculators::ConvType>(source->data(kUnitRole).toUInt());
        try {
            for (int row = 0; row < ui->ConvTypes->count(); ++row) {
                const QListWidgetItem* target = ui->ConvTypes->item(row);
                const auto to = static_cast<calculators::ConvType>(target->data(kUnitRole).toUInt());
                const double converted = registry.Convert(value, from, to);
                results->addItem(QString::fromStdString(common::FormatGroupedNumber(converted)) + QLatin1Char(' ') +
                                 target->text());
            }
        } catch (const calculators::ConversionError&) {
            // A date outside the calendar's years: the lines made so far stay.
            results->addItem(QStringLiteral("Cannot parse value"));
        } catch (const std::exception& fault) {
            common::ShowFault(fault);
        }
    }
    results->setUpdatesEnabled(true);
}
