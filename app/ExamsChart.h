#pragma once

#include "progress/HistoryFigures.h"

#include <QChartView>

#include <vector>

namespace zdawnik {

// The exams' results over time, in percent, with the pass mark as a line: passed, failed and
// unfinished exams each with a point shape of their own.
class ExamsChart : public QChartView
{
public:
    explicit ExamsChart(QWidget* parent = nullptr);
    ~ExamsChart() override;

    // exams in the order they were taken.
    void SetExams(const std::vector<SittingFigures>& exams);
};

} // namespace zdawnik
