#include "convert/AikenReader.h"

#include <QRegularExpression>

#include "convert/BankText.h"

namespace zdawnik {

namespace {

class AikenQuestions
{
public:
    AikenQuestions(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
        : m_source(source), m_bank(bank), m_reports(reports)
    {
    }

    void line(const QString& text, int number)
    {
        static const QRegularExpression Answer(QStringLiteral("^([A-Z])[.)]\\s+(.*)$"));
        static const QRegularExpression Key(QStringLiteral("^ANSWER\\s*:\\s*(.*)$"));
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty()) {
            if (m_open)
                unfinished(number);
            return;
        }
        if (const QRegularExpressionMatch key = Key.match(trimmed); key.hasMatch()) {
            finish(key.captured(1), number);
            return;
        }
        const QRegularExpressionMatch answer = Answer.match(trimmed);
        if (!m_open) {
            m_open = true;
            m_question = {};
            m_letters.clear();
            m_question.SourceLine = number;
            m_question.Body.Text = OneLine(trimmed);
            m_question.Name = m_question.Body.Text.left(40);
            return;
        }
        if (answer.hasMatch()) {
            m_letters << answer.captured(1);
            m_question.Answers.push_back({{OneLine(answer.captured(2))}, false});
        } else if (m_question.Answers.empty()) {
            m_question.Body.Text = OneLine(m_question.Body.Text + ' ' + trimmed);
        } else {
            // A line that goes on the last answer.
            ItemText& last = m_question.Answers.back().Content;
            last.Text = OneLine(last.Text + ' ' + trimmed);
        }
    }

    void end(int lastLine)
    {
        if (m_open)
            unfinished(lastLine + 1);
    }

private:
    void finish(const QString& key, int number)
    {
        if (!m_open) {
            m_reports.push_back(
                {ReportKind::Skipped, m_source.Name, number, 0,
                 QStringLiteral("an \"ANSWER:\" line without a question before it: skipped")});
            return;
        }
        m_open = false;
        if (m_question.Answers.empty()) {
            skip(QStringLiteral("the question has no answers \"A.\", \"B.\"…"));
            return;
        }
        for (const QString& letter :
             key.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
            const qsizetype k = m_letters.indexOf(letter.toUpper());
            if (k < 0) {
                skip(QStringLiteral("the answer \"%1\" of line %2 is none of the question's letters")
                         .arg(letter)
                         .arg(number));
                return;
            }
            m_question.Answers[std::size_t(k)].Right = true;
        }
        m_bank.Questions.push_back(std::move(m_question));
    }

    void unfinished(int number)
    {
        m_open = false;
        skip(QStringLiteral("the question ends at line %1 without an \"ANSWER:\" line").arg(number));
    }

    void skip(const QString& why)
    {
        m_reports.push_back({ReportKind::Skipped, m_source.Name, m_question.SourceLine, 0,
                             QuestionLabel(m_question.Name) + ": " + why + ": skipped"});
    }

    const ImportSource& m_source;
    ConvertedBank& m_bank;
    ConvertReports& m_reports;
    bool m_open = false;
    ConvertedQuestion m_question;
    QStringList m_letters;
};

} // namespace

void ReadAiken(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
{
    const QStringList lines = DecodeSourceText(source.Bytes).split('\n');
    AikenQuestions questions(source, bank, reports);
    for (qsizetype i = 0; i < lines.size(); ++i)
        questions.line(lines[i], int(i) + 1);
    questions.end(int(lines.size()));
}

} // namespace zdawnik
