#include "odds_table_model.h"

#include "number_text.h"
#include "odds_table.h"

namespace {

constexpr int shownDigits = 6;

QString percent(const OddsTable& table, double probability) {
    return QString::fromStdString(
        percentText(probability, shownDigits, Zeros::Dropped, table.odds.errorBound()));
}

} // namespace

void OddsTableModel::setTable(std::shared_ptr<const OddsTable> table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int OddsTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_)
        return 0;
    return static_cast<int>(table_->rows());
}

int OddsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OddsTableModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (index.column()) {
    case Total:
        return QString::fromStdString(wholeNumberText(table_->total(row)));
    case Exactly:
        return percent(*table_, table_->exactly(row));
    case AtLeast:
        return percent(*table_, table_->atLeast(row));
    case AtMost:
        return percent(*table_, table_->atMost(row));
    default:
        return {};
    }
}

QVariant OddsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Total:
        return tr("Total");
    case Exactly:
        return tr("Exactly %");
    case AtLeast:
        return tr("At least %");
    case AtMost:
        return tr("At most %");
    default:
        return {};
    }
}

QString oddsRowText(const OddsTable& table, std::size_t row) {
    return OddsTableModel::tr("Total %1: exactly %2 %, at least %3 %, at most %4 %")
        .arg(QString::fromStdString(wholeNumberText(table.total(row))),
             percent(table, table.exactly(row)), percent(table, table.atLeast(row)),
             percent(table, table.atMost(row)));
}
