#pragma once

#include "app/ChartLook.h"
#include "progress/HistoryFigures.h"

#include <QChartView>
#include <QPen>

#include <vector>

namespace zdawnik {

// The bank day by day: mastered questions at the end of each day, answers given, the share of good
// ones and the study time, one point per day with answers. Days without answers are gaps.
class DaysChart : public QChartView
{
public:
    explicit DaysChart(QWidget* parent = nullptr);
    ~DaysChart() override;

    // days in calendar order, each with answers.
    void SetDays(const std::vector<DayFigures>& days);
    // The lines drawn, one through each run of consecutive days of each measure.
    int LineCount() const;

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    // A measure's runs of days, drawn as lines over its points. Qt Charts would take a series for
    // each run, and years of study make thousands of them, each slowing every other down; so the
    // lines are drawn here, in one pass, through the points' places on the chart.
    struct RunLines
    {
        QAbstractSeries* Points = nullptr;
        QPen Pen;
        std::vector<PointRun> Runs;
    };
    void AddMeasure(const SeriesLook& look, std::vector<PointRun> runs, QAbstractAxis& x, QAbstractAxis& y);

    std::vector<RunLines> m_lines;
};

} // namespace zdawnik
