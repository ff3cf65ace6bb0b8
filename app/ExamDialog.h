#pragma once

#include <QDialog>

#include "drill/ExamSettings.h"

class QSettings;
class QSpinBox;

namespace zdawnik {

// "egzamin próbny…": the rules of the exam about to start, the ones chosen last offered again.
class ExamDialog : public QDialog
{
    Q_OBJECT

public:
    // bankQuestions: the question files of the bank, the most an exam can ask. settings: where the
    // rules are remembered when the exam starts; null: they are not.
    ExamDialog(int bankQuestions, QSettings* settings, QWidget* parent = nullptr);

    // The rules as the dialog shows them.
    ExamSettings examSettings() const;

    // The rules remembered, each brought into its range; the defaults where nothing is remembered.
    static ExamSettings Remembered(const QSettings* settings, int bankQuestions);
    static void Remember(QSettings& settings, const ExamSettings& exam);

    // Starting the exam remembers its rules.
    void accept() override;

private:
    QSettings* m_settings;
    QSpinBox* m_questions;
    QSpinBox* m_minutes;
    QSpinBox* m_passMark;
};

} // namespace zdawnik
