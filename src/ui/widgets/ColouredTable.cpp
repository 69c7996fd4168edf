#include "ui/widgets/ColouredTable.h"

#include <QHeaderView>

namespace korvane::ui {

ColouredTable::ColouredTable(QWidget* parent) : QTableWidget(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
}

void ColouredTable::setColumns(std::initializer_list<Column> columns) {
    setColumnCount(static_cast<int>(columns.size()));
    alignments_.clear();
    int i = 0;
    for (const Column& c : columns) {
        auto* header = new QTableWidgetItem(c.heading);
        header->setTextAlignment(c.alignment | Qt::AlignVCenter);
        setHorizontalHeaderItem(i, header);
        setColumnWidth(i, c.width);
        alignments_.append(c.alignment);
        ++i;
    }
}

int ColouredTable::appendRow(const QStringList& texts) {
    const int row = rowCount();
    insertRow(row);
    for (int c = 0; c < columnCount(); ++c) {
        cell(row, c)->setText(c < texts.size() ? texts[c] : QString());
    }
    return row;
}

QTableWidgetItem* ColouredTable::cell(int row, int column) {
    QTableWidgetItem* it = item(row, column);
    if (it == nullptr) {
        it = new QTableWidgetItem;
        const Qt::Alignment a = column < alignments_.size() ? alignments_[column] : Qt::AlignLeft;
        it->setTextAlignment(a | Qt::AlignVCenter);
        setItem(row, column, it);
    }
    return it;
}

void ColouredTable::setCellText(int row, int column, const QString& text) {
    if (row >= 0 && row < rowCount() && column >= 0 && column < columnCount()) {
        cell(row, column)->setText(text);
    }
}

QString ColouredTable::cellText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it != nullptr ? it->text() : QString();
}

void ColouredTable::setCellColours(int row, int column, const QColor& text,
                                   const QColor& background) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return;
    }
    QTableWidgetItem* it = cell(row, column);
    it->setForeground(text);
    it->setBackground(background);
}

void ColouredTable::clearRows() {
    setRowCount(0);
}

int ColouredTable::selectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.front().topRow();
}

void ColouredTable::selectRow(int row) {
    if (row >= 0 && row < rowCount()) {
        QTableWidget::selectRow(row);
    } else {
        clearSelection();
    }
}

} // namespace korvane::ui
