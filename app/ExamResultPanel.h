#pragma once

#include "widgets/TPanel.h"

class QListWidget;
class QPushButton;

namespace zdawnik {

class ExamRun;
class TLabel;

// The end of a practice exam, over the run area: the score and whether it passes, the time used and
// the pass mark, then every question in order marked good or wrong. Choosing a question asks for it to
// be shown as after a check; "koniec egzaminu" asks to leave.
class ExamResultPanel : public TPanel
{
    Q_OBJECT

public:
    explicit ExamResultPanel(QWidget* parent = nullptr);

    // Fills the panel from a finished exam. Screen readers hear the result when the panel next comes
    // up, or at once when it is up already.
    void ShowResult(const ExamRun& exam);

    // "Wynik: X z N (P%), egzamin zdany": what screen readers hear.
    QString summary() const { return m_summary; }

signals:
    // The question at that index of the exam, from 0.
    void questionChosen(int index);
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PlaceChildren();
    void AnnounceResult();

    TLabel* m_score;
    TLabel* m_verdict;
    TLabel* m_time;
    TLabel* m_passMark;
    TLabel* m_listCaption;
    QListWidget* m_list;
    QPushButton* m_close;
    QString m_summary;
    bool m_announcePending = false;
};

} // namespace zdawnik
