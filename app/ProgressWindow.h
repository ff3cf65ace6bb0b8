#pragma once

#include "progress/HistoryFigures.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStackedWidget;
class QTabWidget;
class QTableView;

namespace zdawnik {

class DaysChart;
class ExamsChart;
class ExamsModel;
class HardestQuestionsModel;
class SaveDialogs;
class SittingsModel;

// What the progress window shows of one bank, as the history gives it.
struct HistorySnapshot
{
    std::filesystem::path BankDir;
    // Question files of the bank, and how many of them the kept run has mastered.
    int BankQuestions = 0;
    int Mastered = 0;
    // Days with answers, in calendar order.
    std::vector<DayFigures> Days;
    std::vector<QuestionFigures> Questions;
    std::vector<SittingFigures> Sittings;
    // What "ćwicz te pytania" drills when nothing is selected: the questions missed at least once in
    // the last 14 days, the most often missed first, at most 30.
    std::vector<std::string> DefaultDrill;
};

// "Zdawnik — postępy": the bank's history beside the run. Over the days a chart (or, on the exams'
// tab, the exams' results), below it the tables of the hardest questions, the sittings and the
// exams; a drill of the hardest questions, and saving the table and chart shown.
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    // dialogs answers "zapisz…"; the system's dialogs when null.
    explicit ProgressWindow(SaveDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Shows the history, in place of what was shown before; the tab shown and the tables' order stay.
    void ShowHistory(const HistorySnapshot& snapshot);

    // The window's summary: "opanowane pytania: 120 z 300, 14 dni nauki".
    static QString SummaryText(const HistorySnapshot& snapshot);

signals:
    // "ćwicz te pytania": the files selected in the table of the hardest questions, in the table's
    // order, or the snapshot's DefaultDrill when none is selected. Never empty.
    void DrillRequested(const std::vector<std::string>& fileNames);

private:
    QTableView* NewTable(const QString& name, const QString& accessibleName, QSortFilterProxyModel* proxy);
    void FitColumns(QTableView& table, int stretchColumn);
    void ShowChartOfTab();
    void DrillClicked();
    void SaveClicked();
    void Tell(const QString& text);

    std::unique_ptr<SaveDialogs> m_ownDialogs;
    SaveDialogs* m_dialogs = nullptr;
    HistorySnapshot m_snapshot;

    HardestQuestionsModel* m_hardest = nullptr;
    SittingsModel* m_sittings = nullptr;
    ExamsModel* m_exams = nullptr;
    QSortFilterProxyModel* m_hardestShown = nullptr;
    QSortFilterProxyModel* m_sittingsShown = nullptr;
    QSortFilterProxyModel* m_examsShown = nullptr;

    QLabel* m_lblSummary = nullptr;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_lblEmpty = nullptr;
    QStackedWidget* m_charts = nullptr;
    DaysChart* m_daysChart = nullptr;
    ExamsChart* m_examsChart = nullptr;
    QLabel* m_lblNoChart = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableView* m_tblHardest = nullptr;
    QTableView* m_tblSittings = nullptr;
    QTableView* m_tblExams = nullptr;
    QPushButton* m_btnDrill = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnClose = nullptr;
    QLabel* m_lblStatus = nullptr;
};

} // namespace zdawnik
