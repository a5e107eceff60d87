#include "coordinate_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyledItemDelegate>

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

// The in-place editor of a cell: a field with the signed decimal filter.
class CellDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* field = qobject_cast<QLineEdit*>(editor)) {
            field->setAlignment(Qt::AlignCenter);
            InstallKeyFilter(field, KeyFilterKind::SignedDecimal);
        }
        return editor;
    }
};

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
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new CellDelegate(this));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
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
    undo_.clear();
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

bool CoordinateGrid::IsCoordinateCell(int row, int column) const {
    return row >= 0 && row < rowCount() && column >= kFirstCoordinateColumn &&
           column <= kLastCoordinateColumn;
}

void CoordinateGrid::EditCell(int row, int column, const QString& text) {
    const QString before = CellText(row, column);
    if (before == text) return;
    undo_.push_back({row, column, before});
    SetCellText(row, column, text);
}

void CoordinateGrid::AppendFiltered(int row, int column, const QString& pasted) {
    const QString accepted = FilterPastedText(KeyFilterKind::SignedDecimal, pasted);
    if (IsCoordinateCell(row, column)) EditCell(row, column, CellText(row, column) + accepted);
}

void CoordinateGrid::keyPressEvent(QKeyEvent* event) {
    const int row = currentRow();
    const int column = currentColumn();
    const bool inCell = IsCoordinateCell(row, column);
    const QString text = CellText(row, column);
    if (event->matches(QKeySequence::Paste)) {
        AppendFiltered(row, column, QGuiApplication::clipboard()->text());
    } else if (event->matches(QKeySequence::Cut)) {
        QGuiApplication::clipboard()->setText(text);
        if (inCell) EditCell(row, column, QString());
    } else if (event->matches(QKeySequence::Undo)) {
        if (!undo_.empty()) {
            SetCellText(undo_.back().row, undo_.back().column, undo_.back().before);
            undo_.pop_back();
        }
    } else if (event->key() == Qt::Key_Delete) {
        if (inCell) EditCell(row, column, QString());
    } else if (event->key() == Qt::Key_Backspace) {
        if (inCell) EditCell(row, column, text.left(text.size() - 1));
    } else if (IsEditingKey(*event)) {
        QTableWidget::keyPressEvent(event);
        return;
    } else {
        const QString accepted = FilterTypedText(KeyFilterKind::SignedDecimal, event->text());
        if (!accepted.isEmpty() && inCell) EditCell(row, column, text + accepted);
    }
    event->accept();
}

// The middle button pastes the selection into the cell under it (X11).
void CoordinateGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        const QModelIndex cell = indexAt(event->position().toPoint());
        if (IsCoordinateCell(cell.row(), cell.column())) {
            setCurrentCell(cell.row(), cell.column());
            AppendFiltered(cell.row(), cell.column(),
                           QGuiApplication::clipboard()->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void CoordinateGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasText()) event->acceptProposedAction();
}

void CoordinateGrid::dragMoveEvent(QDragMoveEvent* event) {
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (event->mimeData()->hasText() && IsCoordinateCell(cell.row(), cell.column())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CoordinateGrid::dropEvent(QDropEvent* event) {
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!event->mimeData()->hasText() || !IsCoordinateCell(cell.row(), cell.column())) {
        event->ignore();
        return;
    }
    setCurrentCell(cell.row(), cell.column());
    AppendFiltered(cell.row(), cell.column(), event->mimeData()->text());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

}  // namespace tarvelo::ui
