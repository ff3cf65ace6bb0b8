#include "app/ExamsModel.h"

#include "app/HistoryTexts.h"

#include <algorithm>

namespace zdawnik {

std::vector<SittingFigures> ExamsInOrder(const std::vector<SittingFigures>& sittings)
{
    std::vector<SittingFigures> exams;
    std::copy_if(sittings.begin(), sittings.end(), std::back_inserter(exams),
                 [](const SittingFigures& sitting) { return sitting.Kind == SittingKind::Exam; });
    std::stable_sort(exams.begin(), exams.end(), [](const SittingFigures& a, const SittingFigures& b) {
        return a.Start != b.Start ? a.Start < b.Start : a.Id < b.Id;
    });
    return exams;
}

std::optional<int> ExamPercent(const SittingFigures& exam)
{
    return GoodPercent(exam.ExamScore, exam.ExamQuestions);
}

QString ExamResultText(const SittingFigures& exam)
{
    if (!exam.ExamFinished)
        return QStringLiteral("nieukończony");
    const std::optional<int> percent = ExamPercent(exam);
    return percent && *percent >= exam.ExamPassMark ? QStringLiteral("zdany") : QStringLiteral("niezdany");
}

ExamsModel::ExamsModel(QObject* parent)
    : HistoryTableModel({QStringLiteral("dzień"), QStringLiteral("początek"), QStringLiteral("pytania"),
                         QStringLiteral("wynik"), QStringLiteral("procent"), QStringLiteral("próg"),
                         QStringLiteral("egzamin")},
                        parent)
{
}

void ExamsModel::SetSittings(const std::vector<SittingFigures>& sittings)
{
    beginResetModel();
    m_rows = ExamsInOrder(sittings);
    std::reverse(m_rows.begin(), m_rows.end());
    endResetModel();
}

QString ExamsModel::CellText(int row, int column) const
{
    const SittingFigures& exam = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
    case Day:
        return DayText(exam.Start.toLocalTime().date());
    case Start:
        return ClockText(exam.Start);
    case Questions:
        return QString::number(exam.ExamQuestions);
    case Score:
        return QStringLiteral("%1 z %2").arg(exam.ExamScore).arg(exam.ExamQuestions);
    case Percent:
        return PercentText(ExamPercent(exam));
    case PassMark:
        return QStringLiteral("%1%").arg(exam.ExamPassMark);
    case Result:
        return ExamResultText(exam);
    default:
        return {};
    }
}

QVariant ExamsModel::SortValue(int row, int column) const
{
    const SittingFigures& exam = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
    case Day:
    case Start:
        return exam.Start.toMSecsSinceEpoch();
    case Questions:
        return exam.ExamQuestions;
    case Score:
        return exam.ExamScore;
    case Percent:
        return ExamPercent(exam).value_or(-1);
    case PassMark:
        return exam.ExamPassMark;
    case Result:
        return ExamResultText(exam);
    default:
        return {};
    }
}

bool ExamsModel::IsNumberColumn(int column) const
{
    return column >= Questions && column <= PassMark;
}

} // namespace zdawnik
