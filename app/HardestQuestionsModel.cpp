#include "app/HardestQuestionsModel.h"

#include "app/HistoryTexts.h"
#include "app/QuestionFirstLine.h"

#include <algorithm>

namespace zdawnik {

namespace {

int Misses(const QuestionFigures& question)
{
    return question.Wrong + question.Partial;
}

// Good answers per answer, compared without division: a/b < c/d as a*d < c*b.
bool LowerShare(const QuestionFigures& a, const QuestionFigures& b)
{
    return static_cast<qint64>(a.Good) * std::max(b.Asked, 1) <
           static_cast<qint64>(b.Good) * std::max(a.Asked, 1);
}

} // namespace

HardestQuestionsModel::HardestQuestionsModel(QObject* parent)
    : HistoryTableModel({QStringLiteral("plik"), QStringLiteral("pytanie"), QStringLiteral("zadane"),
                         QStringLiteral("złe"), QStringLiteral("częściowo dobre"), QStringLiteral("dobre"),
                         QStringLiteral("ostatnio źle")},
                        parent)
{
}

void HardestQuestionsModel::SetQuestions(const std::filesystem::path& bankDir,
                                         const std::vector<QuestionFigures>& questions)
{
    beginResetModel();
    m_bankDir = bankDir;
    m_rows.clear();
    std::copy_if(questions.begin(), questions.end(), std::back_inserter(m_rows),
                 [](const QuestionFigures& question) { return Misses(question) > 0; });
    std::sort(m_rows.begin(), m_rows.end(), [](const QuestionFigures& a, const QuestionFigures& b) {
        if (Misses(a) != Misses(b))
            return Misses(a) > Misses(b);
        if (LowerShare(a, b) || LowerShare(b, a))
            return LowerShare(a, b);
        if (a.LastMissed != b.LastMissed)
            return a.LastMissed > b.LastMissed;
        return a.FileName < b.FileName;
    });
    m_lines.assign(m_rows.size(), std::nullopt);
    endResetModel();
}

const QString& HardestQuestionsModel::LineOf(int row) const
{
    auto& line = m_lines[static_cast<std::size_t>(row)];
    if (!line)
        line = QuestionFirstLine(m_bankDir, FileName(row));
    return *line;
}

QString HardestQuestionsModel::CellText(int row, int column) const
{
    const QuestionFigures& question = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
    case File:
        return QString::fromStdString(question.FileName);
    case FirstLine:
        return LineOf(row);
    case Asked:
        return QString::number(question.Asked);
    case Wrong:
        return QString::number(question.Wrong);
    case Partial:
        return QString::number(question.Partial);
    case GoodShare:
        return PercentText(GoodPercent(question.Good, question.Asked));
    case LastMissed:
        return DayAndClockText(question.LastMissed);
    default:
        return {};
    }
}

QVariant HardestQuestionsModel::SortValue(int row, int column) const
{
    const QuestionFigures& question = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
    case File:
        return QString::fromStdString(question.FileName);
    case FirstLine:
        return LineOf(row);
    case Asked:
        return question.Asked;
    case Wrong:
        return question.Wrong;
    case Partial:
        return question.Partial;
    case GoodShare:
        return question.Asked > 0 ? static_cast<double>(question.Good) / question.Asked : -1.0;
    case LastMissed:
        return question.LastMissed.isValid() ? question.LastMissed.toMSecsSinceEpoch() : qint64(0);
    default:
        return {};
    }
}

bool HardestQuestionsModel::IsNumberColumn(int column) const
{
    return column >= Asked && column <= GoodShare;
}

} // namespace zdawnik
