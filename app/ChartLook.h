#pragma once

#include <QColor>
#include <QDate>
#include <QPointF>
#include <QScatterSeries>
#include <QString>

#include <vector>

class QAbstractAxis;
class QChart;
class QDateTimeAxis;
class QValueAxis;

namespace zdawnik {

// How one measure is drawn: beside its colour, a line style and a point shape of its own, so that
// nothing is told by colour alone.
struct SeriesLook
{
    QString Name;
    QColor Color;
    Qt::PenStyle Line = Qt::SolidLine;
    QScatterSeries::MarkerShape Shape = QScatterSeries::MarkerShapeCircle;
};

// Points that follow one another without a gap: drawn joined by a line.
using PointRun = std::vector<QPointF>;

// A chart in the window's palette and fonts, with its legend below it.
QChart* NewHistoryChart();

// Adds a measure's points, one at every value of every run: the series the legend names. The lines
// through each run are the chart's to draw.
QScatterSeries* AddBrokenSeries(QChart& chart, const SeriesLook& look, const std::vector<PointRun>& runs,
                                QAbstractAxis& x, QAbstractAxis& y);

// Where a day stands on a time axis: its noon, so that a tick a clock change moves by an hour still
// falls on that day.
qreal DayX(QDate day);

// A time axis over whole days from first to last, with a day's margin each side and ticks on days,
// every day or every few days so that the labels never crowd.
QDateTimeAxis* NewDayAxis(QDate first, QDate last);

// A value axis in the window's look, titled, from 0 to at least top. Only the chart's first value
// axis draws its grid: lines of two scales would cross each other.
QValueAxis* NewValueAxis(const QString& title, qreal top, bool grid = true);

} // namespace zdawnik
