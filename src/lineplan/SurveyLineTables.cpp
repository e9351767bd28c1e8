#include "lineplan/SurveyLineTables.h"

#include "common/NumberFormat.h"
#include "lineplan/SurveyArea.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <algorithm>

namespace lineplan {

namespace {

QString CellNumber(double value, int decimals) {
    return QString::fromStdString(common::FormatFixed(value, 0, decimals));
}

// The rows and cells of pasted or set text, as the core parts them; a
// byte-order mark at the start of a cell stays in it, as pasted.
std::vector<QStringList> SplitTableText(const QString& text) {
    std::vector<QStringList> rows;
    for (const surveylines::Cells& cells : surveylines::SplitRows(text.toStdString())) {
        QStringList& row = rows.emplace_back();
        for (const std::string& cell : cells) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
            row << QString(utf8(cell));
        }
    }
    return rows;
}

// A spreadsheet's copy carries its heading row along; the table has its own.
std::vector<QStringList> WithoutHeading(std::vector<QStringList> rows) {
    if (!rows.empty()) {
        const QStringList& first = rows.front();
        const bool anyNumber = std::any_of(first.cbegin(), first.cend(), [](const QString& cell) {
            double ignored = 0;
            return common::TryParseFloat(cell.trimmed().toStdString(), ignored);
        });
        if (!anyNumber && !first.join(QString()).trimmed().isEmpty()) {
            rows.erase(rows.begin());
        }
    }
    return rows;
}

} // namespace

CornerTable::CornerTable(QWidget* parent) : QTableWidget(1, 2, parent) {
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Tab leaves the table for the next field, as it leaves every memo of the
    // suite; the arrow keys move between the cells.
    setTabKeyNavigation(false);
    connect(this, &QTableWidget::itemChanged, this, [this] {
        if (!filling_) {
            KeepOneEmptyRow();
            emit CornersChanged();
        }
    });
}

void CornerTable::SetHeadings(const QString& first, const QString& second) {
    setHorizontalHeaderLabels({first, second});
}

std::vector<QStringList> CornerTable::Rows() const {
    std::vector<QStringList> rows;
    for (int r = 0; r < rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 2; ++c) {
            const QTableWidgetItem* cell = item(r, c);
            cells << (cell != nullptr ? cell->text() : QString());
        }
        rows.push_back(cells);
    }
    while (!rows.empty() && rows.back().join(QString()).trimmed().isEmpty()) {
        rows.pop_back();
    }
    return rows;
}

QString CornerTable::PlainText() const {
    QStringList lines;
    for (const QStringList& row : Rows()) {
        lines << row.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void CornerTable::SetPlainText(const QString& text) {
    {
        const QSignalBlocker quiet(this);
        setRowCount(0);
    }
    Fill(0, 0, WithoutHeading(SplitTableText(text)));
    emit CornersChanged();
}

void CornerTable::Fill(int row, int column, const std::vector<QStringList>& rows) {
    filling_ = true;
    {
        const QSignalBlocker quiet(this);
        const int needed = row + int(rows.size());
        if (rowCount() < needed) {
            setRowCount(needed);
        }
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows[r].size() && column + c < 2; ++c) {
                setItem(row + int(r), column + c, new QTableWidgetItem(rows[r][c].trimmed()));
            }
        }
    }
    KeepOneEmptyRow();
    filling_ = false;
    viewport()->update();
}

void CornerTable::KeepOneEmptyRow() {
    const QSignalBlocker quiet(this);
    const int used = int(Rows().size());
    setRowCount(std::max(used + 1, 1));
}

void CornerTable::Paste() {
    const std::vector<QStringList> rows = WithoutHeading(SplitTableText(QApplication::clipboard()->text()));
    if (rows.empty()) {
        return;
    }
    const int row = std::max(currentRow(), 0);
    // A row of two cells fills both columns, whichever cell was chosen.
    const bool pairs = std::any_of(rows.cbegin(), rows.cend(), [](const QStringList& r) { return r.size() > 1; });
    Fill(row, pairs ? 0 : std::max(currentColumn(), 0), rows);
    emit CornersChanged();
}

void CornerTable::CopySelection() const {
    QModelIndexList chosen = selectedIndexes();
    if (chosen.isEmpty()) {
        return;
    }
    std::sort(chosen.begin(), chosen.end());
    QString text;
    int lastRow = chosen.front().row();
    for (const QModelIndex& index : chosen) {
        if (index.row() != lastRow) {
            text += QLatin1Char('\n');
            lastRow = index.row();
        } else if (&index != &chosen.front()) {
            text += QLatin1Char('\t');
        }
        text += index.data().toString();
    }
    QApplication::clipboard()->setText(text + QLatin1Char('\n'));
}

void CornerTable::ClearSelection() {
    const QList<QTableWidgetItem*> chosen = selectedItems();
    if (chosen.isEmpty()) {
        return;
    }
    filling_ = true;
    {
        const QSignalBlocker quiet(this);
        for (QTableWidgetItem* cell : chosen) {
            cell->setText(QString());
        }
    }
    KeepOneEmptyRow();
    filling_ = false;
    viewport()->update();
    emit CornersChanged();
}

void CornerTable::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Paste)) {
            Paste();
            return;
        }
        if (event->matches(QKeySequence::Copy)) {
            CopySelection();
            return;
        }
        if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
            ClearSelection();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void LineTableModel::SetLines(std::vector<surveylines::SurveyLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int LineTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(lines_.size()); }

int LineTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 7; }

QString LineTableModel::CellText(int row, int column) const {
    const surveylines::SurveyLine& line = lines_[std::size_t(row)];
    switch (column) {
    case 0:
        return QString::number(line.number);
    case 1:
        return CellNumber(line.start.x, 2);
    case 2:
        return CellNumber(line.start.y, 2);
    case 3:
        return CellNumber(line.end.x, 2);
    case 4:
        return CellNumber(line.end.y, 2);
    case 5:
        return CellNumber(line.length, 1);
    default:
        return CellNumber(line.heading, 1);
    }
}

QVariant LineTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return CellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant LineTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kHeadings[] = {"Line",      "Start E (m)", "Start N (m)",     "End E (m)",
                                            "End N (m)", "Length (m)",  "Heading (\u00B0)"};
    return QString::fromUtf8(kHeadings[section]);
}

LineTableView::LineTableView(QWidget* parent) : QTableView(parent), model_(this) {
    setModel(&model_);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // Every row the same height: the view need not measure thousands of rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
}

QString LineTableView::PlainText() const {
    QStringList lines;
    for (int r = 0; r < model_.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model_.columnCount(); ++c) {
            cells << model_.CellText(r, c);
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void LineTableView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        // The chosen lines, or all of them, ready for a spreadsheet.
        QStringList lines;
        const QModelIndexList rows = selectionModel()->selectedRows();
        const QStringList all = PlainText().split(QLatin1Char('\n'));
        if (rows.isEmpty()) {
            lines = all;
        }
        for (const QModelIndex& row : rows) {
            lines << all.value(row.row());
        }
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace lineplan
