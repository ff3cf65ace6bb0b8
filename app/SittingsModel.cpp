#include "app/SittingsModel.h"

#include "app/HistoryTexts.h"
#include "drill/DrillRun.h"

#include <algorithm>

namespace zdawnik {

QString SittingKindText(SittingKind kind)
{
    switch (kind) {
    case SittingKind::Drill:
        return QStringLiteral("nauka całej bazy");
    case SittingKind::Hardest:
        return QStringLiteral("najtrudniejsze pytania");
    case SittingKind::Exam:
        return QStringLiteral("egzamin próbny");
    }
    return {};
}

SittingsModel::SittingsModel(QObject* parent)
    : HistoryTableModel({QStringLiteral("dzień"), QStringLiteral("początek"), QStringLiteral("rodzaj"),
                         QStringLiteral("czas nauki"), QStringLiteral("odpowiedzi"), QStringLiteral("dobre"),
                         QStringLiteral("opanowane po")},
                        parent)
{
}

void SittingsModel::SetSittings(const std::vector<SittingFigures>& sittings)
{
    beginResetModel();
    m_rows = sittings;
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const SittingFigures& a, const SittingFigures& b) {
        return a.Start != b.Start ? a.Start > b.Start : a.Id > b.Id;
    });
    endResetModel();
}

QString SittingsModel::CellText(int row, int column) const
{
    const SittingFigures& sitting = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
    case Day:
        return DayText(sitting.Start.toLocalTime().date());
    case Start:
        return ClockText(sitting.Start);
    case Kind:
        return SittingKindText(sitting.Kind);
    case StudyTime:
        return QString::fromStdString(DurationText(sitting.StudySeconds));
    case Answers:
        return QString::number(sitting.Answers);
    case GoodShare:
        return PercentText(GoodPercent(sitting.GoodAnswers, sitting.Answers));
    case MasteredAfter:
        // Only a drill of the whole bank moves the kept run.
        return sitting.Kind == SittingKind::Drill ? QString::number(sitting.MasteredAfter)
                                                  : QStringLiteral("—");
    default:
        return {};
    }
}

QVariant SittingsModel::SortValue(int row, int column) const
{
    const SittingFigures& sitting = m_rows[static_cast<std::size_t>(row)];
    switch (column) {
    case Day:
    case Start:
        return sitting.Start.toMSecsSinceEpoch();
    case Kind:
        return SittingKindText(sitting.Kind);
    case StudyTime:
        return sitting.StudySeconds;
    case Answers:
        return sitting.Answers;
    case GoodShare:
        return sitting.Answers > 0 ? static_cast<double>(sitting.GoodAnswers) / sitting.Answers : -1.0;
    case MasteredAfter:
        return sitting.Kind == SittingKind::Drill ? sitting.MasteredAfter : -1;
    default:
        return {};
    }
}

bool SittingsModel::IsNumberColumn(int column) const
{
    return column >= StudyTime;
}

} // namespace zdawnik
