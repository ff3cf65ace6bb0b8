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

void DaysChart::SetDays(const std::vector<DayFigures>& days)
{
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

    AddBrokenSeries(
        *fresh,
        {QStringLiteral("opanowane pytania"), ListGreen, Qt::SolidLine, QScatterSeries::MarkerShapeCircle},
        Runs(days, [](const DayFigures& day) { return qreal(day.MasteredAtEnd); }), *x, *counts);
    AddBrokenSeries(
        *fresh, {QStringLiteral("odpowiedzi"), clYellow, Qt::DashLine, QScatterSeries::MarkerShapeRectangle},
        Runs(days, [](const DayFigures& day) { return qreal(day.Answers); }), *x, *counts);
    AddBrokenSeries(
        *fresh,
        {QStringLiteral("dobre odpowiedzi (%)"), clAqua, Qt::DotLine, QScatterSeries::MarkerShapeTriangle},
        Runs(days,
             [](const DayFigures& day) -> std::optional<qreal> {
                 const std::optional<int> share = GoodPercent(day.GoodAnswers, day.Answers);
                 return share ? std::optional<qreal>(*share) : std::nullopt;
             }),
        *x, *percent);
    AddBrokenSeries(
        *fresh,
        {QStringLiteral("czas nauki (min)"), clWhite, Qt::DashDotLine, QScatterSeries::MarkerShapeStar},
        Runs(days, [](const DayFigures& day) { return day.StudySeconds / 60.0; }), *x, *minutes);
}

} // namespace zdawnik
