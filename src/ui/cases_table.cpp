#include "cases_table.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "key_filters.h"
#include "message_presenter.h"
#include "procedures/load_case_csv.h"

namespace tarvelo::ui {
namespace {

constexpr int kNameColumn = 0;

// Column c > 0 holds kLoadCaseKeys[c - 1]; Fd is never negative.
bool SignedColumn(int column) {
    return kLoadCaseKeys[static_cast<std::size_t>(column - 1)].member != &LoadCase::Fd;
}

// Typing in a cell goes through the key filter of its field, and its length limit.
class CellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        auto* editor =
            static_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (index.column() == kNameColumn) {
            editor->setMaxLength(static_cast<int>(kMaxCaseNameLength));
        } else {
            editor->setMaxLength(Field(FieldId::Fd).maxLength);
            InstallKeyFilter(editor, SignedColumn(index.column()) ? KeyFilterKind::SignedDecimal
                                                                  : KeyFilterKind::Decimal);
        }
        return editor;
    }
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CasesTableWindow::CasesTableWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("casesTableWindow"));
    setWindowTitle(QStringLiteral(" Tabela de combinações"));
    grid_ = new QTableWidget(0, 1 + static_cast<int>(kLoadCaseKeys.size()));
    grid_->setObjectName(QStringLiteral("casesGrid"));
    QStringList headings{QStringLiteral("nome")};
    for (const LoadCaseKey& key : kLoadCaseKeys)
        headings << Q(std::string(key.key));
    grid_->setHorizontalHeaderLabels(headings);
    grid_->setItemDelegate(new CellDelegate(grid_));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addWidget(buttons);
    resize(820, 320);
}

void CasesTableWindow::SetCases(const std::vector<LoadCase>& cases) {
    grid_->setRowCount(static_cast<int>(cases.size()));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const LoadCase& c = cases[static_cast<std::size_t>(row)];
        grid_->setItem(row, kNameColumn, new QTableWidgetItem(Q(c.name)));
        for (std::size_t k = 0; k < kLoadCaseKeys.size(); ++k) {
            grid_->setItem(row, static_cast<int>(k) + 1,
                           new QTableWidgetItem(Q(c.*(kLoadCaseKeys[k].member))));
        }
    }
}

std::vector<LoadCase> CasesTableWindow::Cases() const {
    std::vector<LoadCase> cases(static_cast<std::size_t>(grid_->rowCount()));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        auto text = [&](int column) {
            const QTableWidgetItem* item = grid_->item(row, column);
            return item ? item->text().trimmed().toStdString() : std::string();
        };
        LoadCase& c = cases[static_cast<std::size_t>(row)];
        c.name = text(kNameColumn);
        if (c.name.empty()) c.name = std::to_string(row + 1);
        for (std::size_t k = 0; k < kLoadCaseKeys.size(); ++k)
            c.*(kLoadCaseKeys[k].member) = text(static_cast<int>(k) + 1);
    }
    return cases;
}

void CasesTableWindow::Paste(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    const int firstRow = std::max(0, grid_->currentRow());
    const int firstColumn = std::max(0, grid_->currentColumn());
    if (firstRow + lines.size() > static_cast<int>(kMaxLoadCases)) {
        Presenter().Warning(this, QStringLiteral("TARVELO"),
                            QStringLiteral("No máximo 99 combinações são aceitas."));
        return;
    }
    // Every cell is read before any is written, so a bad cell changes nothing.
    std::vector<std::vector<QString>> cells;
    for (int r = 0; r < lines.size(); ++r) {
        cells.emplace_back();
        const QStringList parts = lines[r].split(QLatin1Char('\t'));
        for (int k = 0; k < parts.size() && firstColumn + k <= int(kLoadCaseKeys.size()); ++k) {
            const int column = firstColumn + k;
            std::string value = parts[k].trimmed().toStdString();
            const bool ok = column == kNameColumn
                                ? parts[k].trimmed().size() <= int(kMaxCaseNameLength)
                                : NormaliseLoadValue(value, true, SignedColumn(column), value);
            if (!ok) {
                Presenter().Warning(this, QStringLiteral("TARVELO"),
                                    QStringLiteral("Linha %1, coluna %2: valor inválido \"%3\".")
                                        .arg(r + 1)
                                        .arg(k + 1)
                                        .arg(parts[k].trimmed()));
                return;
            }
            cells.back().push_back(column == kNameColumn ? parts[k].trimmed() : Q(value));
        }
    }
    grid_->setRowCount(std::max(grid_->rowCount(), firstRow + static_cast<int>(cells.size())));
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t k = 0; k < cells[r].size(); ++k) {
            grid_->setItem(firstRow + static_cast<int>(r), firstColumn + static_cast<int>(k),
                           new QTableWidgetItem(cells[r][k]));
        }
    }
}

void CasesTableWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste(QApplication::clipboard()->text());
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tarvelo::ui
