#pragma once

#include <QAbstractTableModel>

#include <memory>

struct OddsTable;

// The odds as a table for a view, and through it for screen readers: one row per possible
// total, with the chance of exactly, at least and at most that total in percent.
class OddsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Total, Exactly, AtLeast, AtMost, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Null or a table without rows empties the model.
    void setTable(std::shared_ptr<const OddsTable> table);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const OddsTable> table_;
};

// What one row says in words: "Total 15: exactly 13.1944 %, at least 42.4383 %, at most
// 70.8333 %".
QString oddsRowText(const OddsTable& table, std::size_t row);
