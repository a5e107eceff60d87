#include "coordinate_grid.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "key_filters.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

constexpr int kFirstCoordinateColumn = 1;
constexpr int kLastCoordinateColumn = 2;

QTableWidgetItem* NumberItem(int number) {
    auto* item = new QTableWidgetItem(QString::number(number));
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    item->setBackground(QColor(224, 224, 224));
    return item;
}

}  // namespace

CoordinateGrid::CoordinateGrid(const QString& objectName, const QString& firstHeading,
                               QWidget* parent)
    : QTableWidget(0, 3, parent) {
    setObjectName(objectName);
    setHorizontalHeaderLabels(
        {firstHeading, QStringLiteral("   X (cm)  "), QStringLiteral("   Y (cm)  ")});
    for (int c = 0; c < 3; ++c) {
        if (QTableWidgetItem* h = horizontalHeaderItem(c)) h->setTextAlignment(Qt::AlignCenter);
    }
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    // The number column is fixed: the current cell never rests there.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (row >= 0 && column == 0) setCurrentCell(row, kFirstCoordinateColumn);
    });
}

void CoordinateGrid::Number(int fromRow) {
    for (int r = fromRow; r < rowCount(); ++r) {
        setItem(r, 0, NumberItem(r + 1));
        for (int c = kFirstCoordinateColumn; c <= kLastCoordinateColumn; ++c) {
            if (item(r, c) == nullptr) {
                auto* cell = new QTableWidgetItem();
                cell->setTextAlignment(Qt::AlignCenter);
                setItem(r, c, cell);
            }
        }
    }
}

void CoordinateGrid::SetDataRowCount(int rows) {
    if (rows < 0) rows = 0;
    setRowCount(rows);
    Number(0);
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < 3; ++c)
            item(r, c)->setTextAlignment(Qt::AlignCenter);
    }
    if (rows > 0) setCurrentCell(0, kFirstCoordinateColumn);
}

std::vector<GridRow> CoordinateGrid::Rows() const {
    std::vector<GridRow> rows;
    rows.reserve(static_cast<std::size_t>(rowCount()));
    for (int r = 0; r < rowCount(); ++r) {
        rows.push_back({FromQ(CellText(r, 1)), FromQ(CellText(r, 2))});
    }
    return rows;
}

void CoordinateGrid::SetRows(const std::vector<GridRow>& rows) {
    SetDataRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        SetCellText(r, 1, ToQ(rows[static_cast<std::size_t>(r)].x));
        SetCellText(r, 2, ToQ(rows[static_cast<std::size_t>(r)].y));
    }
}

QString CoordinateGrid::CellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void CoordinateGrid::SetCellText(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column > 2) return;
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem();
        cell->setTextAlignment(Qt::AlignCenter);
        setItem(row, column, cell);
    }
    cell->setText(text);
}

void CoordinateGrid::CutLongTexts() {
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = kFirstCoordinateColumn; c <= kLastCoordinateColumn; ++c) {
            const QString text = CellText(r, c);
            if (text.size() > 9) SetCellText(r, c, text.left(8));
        }
    }
}

void CoordinateGrid::ClearCells() {
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = kFirstCoordinateColumn; c <= kLastCoordinateColumn; ++c) {
            SetCellText(r, c, QString());
        }
    }
}

void CoordinateGrid::keyPressEvent(QKeyEvent* event) {
    const int row = currentRow();
    const int column = currentColumn();
    const bool inCell = row >= 0 && column >= kFirstCoordinateColumn;
    if (event->key() == Qt::Key_Delete) {
        if (inCell) SetCellText(row, column, QStringLiteral(" "));
        event->accept();
        return;
    }
    const QString typed = TypedText(*event);
    if (typed.isEmpty()) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    const QString accepted = FilterTypedText(KeyFilterKind::SignedDecimal, typed);
    if (!accepted.isEmpty() && inCell) SetCellText(row, column, CellText(row, column) + accepted);
    event->accept();
}

}  // namespace tarvelo::ui
