#pragma once

#include "app/HistoryTableModel.h"
#include "progress/HistoryFigures.h"

#include <vector>

namespace zdawnik {

// Every sitting on the bank, the latest first.
class SittingsModel : public HistoryTableModel
{
public:
    enum Column
    {
        Day,
        Start,
        Kind,
        StudyTime,
        Answers,
        GoodShare,
        MasteredAfter,
    };

    explicit SittingsModel(QObject* parent = nullptr);

    void SetSittings(const std::vector<SittingFigures>& sittings);

protected:
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    QString CellText(int row, int column) const override;
    QVariant SortValue(int row, int column) const override;
    bool IsNumberColumn(int column) const override;

private:
    std::vector<SittingFigures> m_rows;
};

// What a sitting was, as the tables name it.
QString SittingKindText(SittingKind kind);

} // namespace zdawnik
