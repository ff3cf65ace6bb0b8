#include "check/ReportView.h"

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "check/FileReport.h"

namespace zdawnik {

void ReportView::showFileName(const std::string&) {}

void ReportView::beginChoiceQuestion()
{
    m_report.Choice = true;
}

void ReportView::beginSentenceQuestion()
{
    m_report.Choice = false;
}

void ReportView::showQuestionLine(const Question& question)
{
    m_report.Header = question.Header;
    m_report.Body = question.Body;
    m_report.BodyLine = question.FileLines.Body;
    if (HasPictureTag(question.Body))
        m_report.QuestionPicture = PictureName(question.Body);
}

void ReportView::placeAnswers(int) {}

void ReportView::showAnswer(int n, const Question& question)
{
    FileReport::Answer answer{question.Lines[n], question.Keys[n], std::nullopt, question.FileLines.Lines[n]};
    if (HasPictureTag(question.Lines[n]))
        answer.Picture = PictureName(question.Lines[n]);
    m_report.Answers.push_back(std::move(answer));
}

void ReportView::hideLists() {}

void ReportView::showList(int n, const std::vector<std::string>& options, const Question& question)
{
    m_report.Lists.push_back(
        FileReport::List{question.Keys[n], options, question.Lines[n], question.FileLines.Lines[n]});
}

void ReportView::reportError(const std::string& typeName, const std::string& message)
{
    m_report.ReaderError = FileReport::Error{typeName, message};
}

} // namespace zdawnik
