#pragma once

#include "app/HistoryTableModel.h"
#include "progress/HistoryFigures.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zdawnik {

// The questions answered wrong or partly right at least once, the most often missed first. A
// question's line is read from its file only when a view asks for it, so a bank of thousands of
// questions opens as fast as its figures arrive.
class HardestQuestionsModel : public HistoryTableModel
{
public:
    enum Column
    {
        File,
        FirstLine,
        Asked,
        Wrong,
        Partial,
        GoodShare,
        LastMissed,
    };

    explicit HardestQuestionsModel(QObject* parent = nullptr);

    void SetQuestions(const std::filesystem::path& bankDir, const std::vector<QuestionFigures>& questions);
    const std::string& FileName(int row) const { return m_rows[static_cast<std::size_t>(row)].FileName; }

protected:
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    QString CellText(int row, int column) const override;
    QVariant SortValue(int row, int column) const override;
    bool IsNumberColumn(int column) const override;

private:
    const QString& LineOf(int row) const;

    std::filesystem::path m_bankDir;
    std::vector<QuestionFigures> m_rows;
    mutable std::vector<std::optional<QString>> m_lines;
};

} // namespace zdawnik
