#include "app/DaysChart.h"

#include "app/ChartLook.h"
#include "app/HistoryTexts.h"
#include "app/LayoutColors.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QValueAxis>

#include <algorithm>
#include <functional>

namespace zdawnik {

namespace {

// One value of a day per point, the days split into runs of consecutive days.
std::vector<PointRun> Runs(const std::vector<DayFigures>& days,
                           const std::function<std::optional<qreal>(const DayFigures&)>& value)
{
    std::vector<PointRun> runs;
    QDate previous;
    for (const DayFigures& day : days) {
        const std::optional<qreal> y = value(day);
        if (!y) {
            previous = QDate();
            continue;
        }
        if (runs.empty() || !previous.isValid() || previous.daysTo(day.Day) != 1)
            runs.emplace_back();
        runs.back().emplace_back(DayX(day.Day), *y);
        previous = day.Day;
    }
    return runs;
}

} // namespace

DaysChart::DaysChart(QWidget* parent) : QChartView(NewHistoryChart(), parent)
{
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::StrongFocus);
}

DaysChart::~DaysChart() = default;

void DaysChart::AddMeasure(const SeriesLook& look, std::vector<PointRun> runs, QAbstractAxis& x,
                           QAbstractAxis& y)
{
    QScatterSeries* points = AddBrokenSeries(*chart(), look, runs, x, y);
    std::erase_if(runs, [](const PointRun& run) { return run.size() < 2; });
    m_lines.push_back({points, QPen(look.Color, 2, look.Line), std::move(runs)});
}

int DaysChart::LineCount() const
{
    std::size_t count = 0;
    for (const RunLines& lines : m_lines)
        count += lines.Runs.size();
    return static_cast<int>(count);
}

void DaysChart::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    QChart* shown = chart();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipRect(shown->mapToScene(shown->plotArea()).boundingRect());
    for (const RunLines& lines : m_lines) {
        painter->setPen(lines.Pen);
        for (const PointRun& run : lines.Runs) {
            QPolygonF polyline;
            polyline.reserve(static_cast<qsizetype>(run.size()));
            for (const QPointF& point : run)
                polyline.append(shown->mapToScene(shown->mapToPosition(point, lines.Points)));
            painter->drawPolyline(polyline);
        }
    }
    painter->restore();
}

void DaysChart::SetDays(const std::vector<DayFigures>& days)
{
    m_lines.clear();
    QChart* fresh = NewHistoryChart();
    QChart* old = chart();
    setChart(fresh);
    delete old;
    if (days.empty())
        return;

    int topCount = 0;
    qreal topMinutes = 0;
    for (const DayFigures& day : days) {
        topCount = std::max({topCount, day.MasteredAtEnd, day.Answers});
        topMinutes = std::max(topMinutes, day.StudySeconds / 60.0);
    }
    QDateTimeAxis* x = NewDayAxis(days.front().Day, days.back().Day);
    QValueAxis* counts = NewValueAxis(QStringLiteral("pytania, odpowiedzi"), topCount);
    QValueAxis* percent = NewValueAxis(QStringLiteral("dobre (%)"), 100, false);
    QValueAxis* minutes = NewValueAxis(QStringLiteral("czas nauki (min)"), topMinutes, false);
    fresh->addAxis(x, Qt::AlignBottom);
    fresh->addAxis(counts, Qt::AlignLeft);
    fresh->addAxis(percent, Qt::AlignRight);
    fresh->addAxis(minutes, Qt::AlignRight);

    AddMeasure(
        {QStringLiteral("opanowane pytania"), ListGreen, Qt::SolidLine, QScatterSeries::MarkerShapeCircle},
        Runs(days, [](const DayFigures& day) { return qreal(day.MasteredAtEnd); }), *x, *counts);
    AddMeasure({QStringLiteral("odpowiedzi"), clYellow, Qt::DashLine, QScatterSeries::MarkerShapeRectangle},
               Runs(days, [](const DayFigures& day) { return qreal(day.Answers); }), *x, *counts);
    AddMeasure(
        {QStringLiteral("dobre odpowiedzi (%)"), clAqua, Qt::DotLine, QScatterSeries::MarkerShapeTriangle},
        Runs(days,
             [](const DayFigures& day) -> std::optional<qreal> {
                 const std::optional<int> share = GoodPercent(day.GoodAnswers, day.Answers);
                 return share ? std::optional<qreal>(*share) : std::nullopt;
             }),
        *x, *percent);
    AddMeasure(
        {QStringLiteral("czas nauki (min)"), clWhite, Qt::DashDotLine, QScatterSeries::MarkerShapeStar},
        Runs(days, [](const DayFigures& day) { return day.StudySeconds / 60.0; }), *x, *minutes);
}

} // namespace zdawnik
