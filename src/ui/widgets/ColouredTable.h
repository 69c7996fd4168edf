#pragma once

#include <QColor>
#include <QString>
#include <QTableWidget>
#include <initializer_list>

namespace korvane::ui {

// A read-only list in report mode: whole rows are selected, rows have a fixed height and each
// cell may carry its own text and background colours.
class ColouredTable : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString heading;
        Qt::Alignment alignment = Qt::AlignLeft;
        int width = 80;
    };

    static constexpr int kRowHeight = 20;

    explicit ColouredTable(QWidget* parent = nullptr);

    void setColumns(std::initializer_list<Column> columns);

    // Appends a row of texts (fewer texts than columns leave the rest empty); returns its index.
    int appendRow(const QStringList& texts);
    void setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;
    void setCellColours(int row, int column, const QColor& text, const QColor& background);
    void clearRows();
    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

private:
    QTableWidgetItem* cell(int row, int column);
    QList<Qt::Alignment> alignments_;
};

} // namespace korvane::ui
