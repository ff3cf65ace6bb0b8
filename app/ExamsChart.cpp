#include "app/ExamsChart.h"

#include "app/ChartLook.h"
#include "app/ExamsModel.h"
#include "app/LayoutColors.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

namespace zdawnik {

ExamsChart::ExamsChart(QWidget* parent) : QChartView(NewHistoryChart(), parent)
{
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::StrongFocus);
}

ExamsChart::~ExamsChart() = default;

void ExamsChart::SetExams(const std::vector<SittingFigures>& exams)
{
    QChart* fresh = NewHistoryChart();
    QChart* old = chart();
    setChart(fresh);
    delete old;
    if (exams.empty())
        return;

    const QDate first = exams.front().Start.toLocalTime().date();
    const QDate last = exams.back().Start.toLocalTime().date();
    QDateTimeAxis* x = NewDayAxis(first, last);
    QValueAxis* y = NewValueAxis(QStringLiteral("wynik (%)"), 100);
    fresh->addAxis(x, Qt::AlignBottom);
    fresh->addAxis(y, Qt::AlignLeft);

    // The pass mark holds from one exam to the next, and across the whole axis before the first and
    // after the last.
    PointRun passMark;
    passMark.emplace_back(x->min().toMSecsSinceEpoch(), exams.front().ExamPassMark);
    PointRun finished;
    PointRun passed, failed, unfinished;
    for (const SittingFigures& exam : exams) {
        const qreal at = static_cast<qreal>(exam.Start.toMSecsSinceEpoch());
        if (passMark.back().y() != exam.ExamPassMark)
            passMark.emplace_back(at, passMark.back().y());
        passMark.emplace_back(at, exam.ExamPassMark);
        const QPointF point(at, ExamPercent(exam).value_or(0));
        if (!exam.ExamFinished) {
            unfinished.push_back(point);
            continue;
        }
        finished.push_back(point);
        (ExamResultText(exam) == QStringLiteral("zdany") ? passed : failed).push_back(point);
    }
    passMark.emplace_back(x->max().toMSecsSinceEpoch(), passMark.back().y());

    auto* passLine = new QLineSeries;
    passLine->setName(QStringLiteral("próg zaliczenia"));
    passLine->setPen(QPen(QColor(clWhite), 2, Qt::DashLine));
    for (const QPointF& point : passMark)
        passLine->append(point);
    fresh->addSeries(passLine);
    passLine->attachAxis(x);
    passLine->attachAxis(y);
    // The results joined in order; their points, and their names in the legend, come from the series
    // below, one per outcome.
    auto* results = new QLineSeries;
    results->setPen(QPen(QColor(ListGreen), 2));
    for (const QPointF& point : finished)
        results->append(point);
    fresh->addSeries(results);
    results->attachAxis(x);
    results->attachAxis(y);
    for (QLegendMarker* marker : fresh->legend()->markers(results))
        marker->setVisible(false);
    const SeriesLook outcomes[] = {
        {QStringLiteral("zdany"), ListGreen, Qt::NoPen, QScatterSeries::MarkerShapeCircle},
        {QStringLiteral("niezdany"), clYellow, Qt::NoPen, QScatterSeries::MarkerShapeRectangle},
        {QStringLiteral("nieukończony"), clSkyBlue, Qt::NoPen, QScatterSeries::MarkerShapeTriangle},
    };
    const PointRun* outcomePoints[] = {&passed, &failed, &unfinished};
    for (int outcome = 0; outcome < 3; ++outcome) {
        if (outcomePoints[outcome]->empty())
            continue;
        std::vector<PointRun> single;
        for (const QPointF& point : *outcomePoints[outcome])
            single.push_back({point});
        AddBrokenSeries(*fresh, outcomes[outcome], single, *x, *y);
    }
}

} // namespace zdawnik
