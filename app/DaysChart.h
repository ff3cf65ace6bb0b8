#pragma once

#include "progress/HistoryFigures.h"

#include <QChartView>

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
};

} // namespace zdawnik
