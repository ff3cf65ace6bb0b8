#include "app/ChartLook.h"

#include "app/LayoutColors.h"
#include "widgets/LayoutFonts.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace zdawnik {

namespace {

const QColor TextColor = clWhite;
const QColor GridColor = QColor(255, 255, 255, 60);

void StyleAxis(QAbstractAxis& axis)
{
    axis.setLabelsColor(TextColor);
    axis.setLabelsFont(MakeLayoutFont(LayoutFont::V11, Regular));
    axis.setTitleBrush(TextColor);
    axis.setTitleFont(MakeLayoutFont(LayoutFont::V11, Bold));
    axis.setLinePenColor(TextColor);
    axis.setGridLineColor(GridColor);
}

} // namespace

QChart* NewHistoryChart()
{
    auto* chart = new QChart;
    chart->setBackgroundBrush(QColor(PanelNavy));
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundVisible(false);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignBottom);
    legend->setLabelColor(TextColor);
    legend->setFont(MakeLayoutFont(LayoutFont::V11, Regular));
    legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
    return chart;
}

QScatterSeries* AddBrokenSeries(QChart& chart, const SeriesLook& look, const std::vector<PointRun>& runs,
                                QAbstractAxis& x, QAbstractAxis& y)
{
    auto* points = new QScatterSeries;
    points->setName(look.Name);
    points->setMarkerShape(look.Shape);
    points->setMarkerSize(look.Shape == QScatterSeries::MarkerShapeStar ? 13 : 10);
    points->setColor(look.Color);
    points->setBorderColor(QColor(PanelNavy));
    for (const PointRun& run : runs)
        for (const QPointF& point : run)
            points->append(point);
    chart.addSeries(points);
    points->attachAxis(&x);
    points->attachAxis(&y);
    return points;
}

qreal DayX(QDate day)
{
    return static_cast<qreal>(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
}

QDateTimeAxis* NewDayAxis(QDate first, QDate last)
{
    const qint64 span = std::max<qint64>(first.daysTo(last), 0) + 2;
    int step = 1;
    for (const int candidate : {1, 2, 3, 7, 14, 28, 56, 91, 182, 364, 728}) {
        step = candidate;
        if ((span + candidate - 1) / candidate <= 8)
            break;
    }
    const qint64 ticks = (span + step - 1) / step;
    auto* axis = new QDateTimeAxis;
    const QDate start = first.addDays(-1);
    axis->setRange(QDateTime(start, QTime(12, 0)), QDateTime(start.addDays(ticks * step), QTime(12, 0)));
    axis->setTickCount(static_cast<int>(ticks) + 1);
    axis->setFormat(first.year() == last.year() ? QStringLiteral("d.MM") : QStringLiteral("d.MM.yy"));
    StyleAxis(*axis);
    return axis;
}

QValueAxis* NewValueAxis(const QString& title, qreal top, bool grid)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(0, std::max<qreal>(top, 1));
    axis->applyNiceNumbers();
    if (axis->max() <= 5) {
        // Few whole numbers: a tick on each, not labels repeated between them.
        axis->setRange(0, std::ceil(axis->max()));
        axis->setTickCount(static_cast<int>(std::ceil(axis->max())) + 1);
    }
    axis->setLabelFormat(QStringLiteral("%.0f"));
    StyleAxis(*axis);
    axis->setGridLineVisible(grid);
    return axis;
}

} // namespace zdawnik
