#pragma once

#include "app/HistoryTableModel.h"
#include "progress/HistoryFigures.h"

#include <optional>
#include <vector>

namespace zdawnik {

// The exams among the sittings, the latest first.
class ExamsModel : public HistoryTableModel
{
public:
    enum Column
    {
        Day,
        Start,
        Questions,
        Score,
        Percent,
        PassMark,
        Result,
    };

    explicit ExamsModel(QObject* parent = nullptr);

    void SetSittings(const std::vector<SittingFigures>& sittings);

protected:
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    QString CellText(int row, int column) const override;
    QVariant SortValue(int row, int column) const override;
    bool IsNumberColumn(int column) const override;

private:
    std::vector<SittingFigures> m_rows;
};

// The exams among the sittings, in the order they were taken.
std::vector<SittingFigures> ExamsInOrder(const std::vector<SittingFigures>& sittings);

// An exam's score in whole percent, rounded down; nothing for an exam of no questions.
std::optional<int> ExamPercent(const SittingFigures& exam);

// "zdany", "niezdany", or "nieukończony" for an exam cut short.
QString ExamResultText(const SittingFigures& exam);

} // namespace zdawnik
