#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace zdawnik {

// What the progress window's tables have in common: fixed column titles, read-only cells, a sort
// value beside each shown text (so "9%" sorts below "10%", and dates by time), numbers aligned right.
class HistoryTableModel : public QAbstractTableModel
{
public:
    // The role under which a cell gives the value it sorts by.
    static constexpr int SortRole = Qt::UserRole;

    HistoryTableModel(QStringList titles, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

protected:
    virtual int RowCount() const = 0;
    virtual QString CellText(int row, int column) const = 0;
    virtual QVariant SortValue(int row, int column) const = 0;
    virtual bool IsNumberColumn(int column) const = 0;

private:
    QStringList m_titles;
};

} // namespace zdawnik
