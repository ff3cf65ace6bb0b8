#include "drill/HeadlessReader.h"

#include "bank/QuestionReader.h"
#include "bank/QuestionView.h"
#include "base/Errors.h"

#include <algorithm>

namespace zdawnik {

namespace {

class SheetView : public QuestionView
{
public:
    explicit SheetView(AnswerSheet& sheet) : m_sheet(sheet) {}

    bool Shown() const { return m_shown; }
    const std::string& Report() const { return m_report; }

    void showFileName(const std::string&) override {}
    void beginChoiceQuestion() override { m_shown = true; }
    void beginSentenceQuestion() override { m_shown = true; }
    void showQuestionLine(const Question&) override {}
    void placeAnswers(int count) override
    {
        m_sheet.Ticked.fill(false);
        m_sheet.Answers = std::clamp(count, 0, MaxAnswers);
    }
    void showAnswer(int, const Question&) override {}
    void hideLists() override { m_sheet.ListInUse.fill(false); }
    void showList(int n, const std::vector<std::string>& options, const Question&) override
    {
        m_sheet.ListInUse[static_cast<std::size_t>(n - 1)] = true;
        m_sheet.Options[static_cast<std::size_t>(n - 1)] = options;
        m_sheet.Chosen[static_cast<std::size_t>(n - 1)] = -1;
    }
    void reportError(const std::string& typeName, const std::string& message) override
    {
        m_shown = false;
        m_report = ErrorReportText(typeName, message);
    }

private:
    AnswerSheet& m_sheet;
    bool m_shown = false;
    std::string m_report;
};

} // namespace

DrillRun::ShowFile ReadFilesFrom(std::filesystem::path bankDir, DrillRun& run)
{
    return [bankDir = std::move(bankDir), &run](const std::string& fileName) {
        SheetView view(run.Sheet());
        int lineCount = 0;
        try {
            lineCount = LoadQuestionFile(bankDir, fileName, run.CurrentQuestion(), view).LineCount;
        } catch (const EInOutError& error) {
            return ShowOutcome{false, error.message()};
        }
        if (view.Shown())
            return ShowOutcome{true, {}};
        run.Sheet().Clear();
        return ShowOutcome{false, view.Report().empty() ? NotShownReason(lineCount) : view.Report()};
    };
}

} // namespace zdawnik
