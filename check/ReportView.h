#pragma once

#include "bank/QuestionView.h"

namespace zdawnik {

struct FileReport;

// The checker's side of the reader: takes down what the window would show, and where in the file
// each part came from.
class ReportView : public QuestionView
{
public:
    explicit ReportView(FileReport& report) : m_report(report) {}

    void showFileName(const std::string& fileName) override;
    void beginChoiceQuestion() override;
    void beginSentenceQuestion() override;
    void showQuestionLine(const Question& question) override;
    void placeAnswers(int count) override;
    void showAnswer(int n, const Question& question) override;
    void hideLists() override;
    void showList(int n, const std::vector<std::string>& options, const Question& question) override;
    void reportError(const std::string& typeName, const std::string& message) override;

private:
    FileReport& m_report;
};

} // namespace zdawnik
