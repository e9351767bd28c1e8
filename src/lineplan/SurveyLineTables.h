// The two tables of the survey lines window: the area's corners, typed or
// pasted from a spreadsheet (tab- or comma-separated rows, a heading row
// dropped), and the laid lines, one row each, as many thousands as a survey
// has, drawn from the lines themselves rather than a cell per figure. Both
// say what they show as lines of tab-separated text, as a memo does, for
// scripts and the clipboard.
#pragma once

#include "lineplan/SurveyLines.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <QTableWidget>
#include <vector>

namespace lineplan {

class CornerTable : public QTableWidget {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ PlainText WRITE SetPlainText)
public:
    explicit CornerTable(QWidget* parent = nullptr);

    // The rows as typed, from the first: two cells each, the empty last row left out.
    std::vector<QStringList> Rows() const;
    QString PlainText() const;
    // Replaces every corner, as a paste into an empty table does.
    void SetPlainText(const QString& text);
    void SetHeadings(const QString& first, const QString& second);

signals:
    // Once per edit, paste or clear, however many cells it changed.
    void CornersChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Writes rows of cells from (row, column) on, then keeps one empty row at the end.
    void Fill(int row, int column, const std::vector<QStringList>& rows);
    void KeepOneEmptyRow();
    void Paste();
    void CopySelection() const;
    void ClearSelection();

    bool filling_ = false;
};

class LineTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetLines(std::vector<surveylines::SurveyLine> lines);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QString CellText(int row, int column) const;

private:
    std::vector<surveylines::SurveyLine> lines_;
};

class LineTableView : public QTableView {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ PlainText)
public:
    explicit LineTableView(QWidget* parent = nullptr);

    LineTableModel& Lines() { return model_; }
    // Every row, cells separated by tabs.
    QString PlainText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    LineTableModel model_;
};

} // namespace lineplan
