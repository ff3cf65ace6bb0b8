#include "convert/BankReader.h"

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "bank/QuestionView.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "widgets/Accessibility.h"

#include <QFile>

#include <algorithm>

#include "convert/BankWriter.h"
#include "convert/ImportSource.h"
#include "drill/StudyPool.h"

namespace zdawnik {

namespace {

// The reader's side of a question that the export takes up: how many answers were placed, the options
// of each list, and the error the reader reported.
class TakingView : public QuestionView
{
public:
    void showFileName(const std::string&) override {}
    void beginChoiceQuestion() override {}
    void beginSentenceQuestion() override {}
    void showQuestionLine(const Question&) override {}
    void placeAnswers(int count) override { m_answers = std::max(count, 0); }
    void showAnswer(int, const Question&) override {}
    void hideLists() override {}
    void showList(int n, const std::vector<std::string>& options, const Question&) override
    {
        m_lists.resize(std::max<std::size_t>(m_lists.size(), std::size_t(n)));
        m_lists[std::size_t(n - 1)] = options;
    }
    void reportError(const std::string& typeName, const std::string& message) override
    {
        m_error = ErrorReportText(typeName, message);
    }

    int answers() const { return m_answers; }
    const std::vector<std::vector<std::string>>& lists() const { return m_lists; }
    const std::string& error() const { return m_error; }

private:
    int m_answers = 0;
    std::vector<std::vector<std::string>> m_lists;
    std::string m_error;
};

class BankFolderReader
{
public:
    BankFolderReader(const QString& folder, ConvertReports& reports)
        : m_folder(folder), m_dir(folder.toStdU16String()), m_reports(reports)
    {
    }

    bool read()
    {
        std::vector<std::string> names;
        if (!platform::ListDirectory(m_dir, [&](std::string_view name) {
                if (IsQuestionFileName(name))
                    names.emplace_back(name);
            })) {
            m_reports.push_back({ReportKind::Error, QString(), 0, 0,
                                 QStringLiteral("cannot read the folder %1").arg(m_folder)});
            return false;
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            readFile(name);
        return true;
    }

    ConvertedBank& bank() { return m_bank; }

private:
    void readFile(const std::string& name)
    {
        Question question;
        TakingView view;
        const QString source = m_folder + '/' + QString::fromStdString(name);
        QuestionLines lines;
        try {
            lines = LoadQuestionFile(m_dir, name, question, view);
        } catch (const NamedError& error) {
            skip(source, 0, QString::fromStdString(ErrorReportText(error.typeName(), error.message())));
            return;
        }
        if (!IsShownLineCount(lines.LineCount)) {
            skip(source, 0,
                 QStringLiteral("the program does not show a file of %1 lines").arg(lines.LineCount));
            return;
        }
        if (!view.error().empty()) {
            skip(source, 0, QString::fromStdString(view.error()));
            return;
        }
        m_encoding = question.Encoding;
        ConvertedQuestion taken;
        taken.Source = source;
        taken.SourceLine = 1;
        taken.Name = QString::fromStdString(name).chopped(4);
        if (question.isChoice()) {
            taken.Kind = QuestionKind::Choice;
            if (!item(question.Body, false, taken.Body, source, question.FileLines.Body))
                return;
            for (int k = 1; k <= view.answers(); ++k) {
                ChoiceAnswer answer;
                answer.Right = question.isRightAnswer(k);
                if (!item(question.Lines[k], false, answer.Content, source, question.FileLines.Lines[k]))
                    return;
                taken.Answers.push_back(answer);
            }
        } else {
            taken.Kind = QuestionKind::Sentence;
            if (!item(question.Body, true, taken.Body, source, question.FileLines.Body))
                return;
            for (std::size_t n = 0; n < view.lists().size(); ++n) {
                SentenceList list;
                for (const std::string& option : view.lists()[n])
                    list.Options << shown(option);
                const QString key = shown(question.Keys[int(n + 1)]);
                bool digit = false;
                list.Right = key.toInt(&digit);
                if (!digit || list.Right < 1 || list.Right > list.Options.size()) {
                    skip(source, 1,
                         QStringLiteral("the key \"%1\" of list %2 is none of its %3 option(s)")
                             .arg(key)
                             .arg(n + 1)
                             .arg(list.Options.size()));
                    return;
                }
                taken.Lists.push_back(list);
            }
        }
        if (const std::optional<QString> why = WhyNotCarried(taken, m_bank)) {
            skip(source, 1, *why);
            return;
        }
        m_bank.Questions.push_back(std::move(taken));
    }

    // A line as the window shows it: a picture line's picture (and, in a sentence, its text too), or
    // its text.
    bool item(const std::string& line, bool sentence, ItemText& item, const QString& source, int fileLine)
    {
        if (!HasPictureTag(line)) {
            item.Text = shown(line);
            return true;
        }
        if (sentence)
            item.Text = shown(WithoutPictureTag(line));
        const std::string name = PictureName(line);
        const std::optional<std::filesystem::path> path = FindPictureFile(m_dir, name, m_encoding);
        QFile file(path ? QString::fromStdU16String(path->u16string()) : QString());
        if (!path || !file.open(QIODevice::ReadOnly)) {
            skip(source, fileLine, QStringLiteral("the picture \"%1\" cannot be read").arg(shown(name)));
            return false;
        }
        const std::vector<std::string> parts = PictureNameParts(name);
        item.Picture = m_bank.addPicture(
            QString::fromStdString(ToUtf8(parts.empty() ? name : parts.back(), m_encoding)), file.readAll());
        return true;
    }

    QString shown(const std::string& text) const
    {
        return CaptionText(QString::fromStdString(ToUtf8(text, m_encoding)));
    }

    void skip(const QString& source, int line, const QString& why)
    {
        m_reports.push_back({ReportKind::Skipped, source, line, 0, why + QStringLiteral(": skipped")});
    }

    QString m_folder;
    std::filesystem::path m_dir;
    ConvertReports& m_reports;
    ConvertedBank m_bank;
    TextEncoding m_encoding = TextEncoding::Windows1250;
};

} // namespace

std::optional<ConvertedBank> ReadBankFolder(const QString& folder, ConvertReports& reports)
{
    BankFolderReader reader(folder, reports);
    if (!reader.read())
        return std::nullopt;
    return std::move(reader.bank());
}

} // namespace zdawnik
