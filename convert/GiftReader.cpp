#include "convert/GiftReader.h"

#include <QRegularExpression>

#include <optional>

#include "convert/BankText.h"

namespace zdawnik {

namespace {

struct SourceLine
{
    QString Text;
    int Number = 0;
};

// Where pattern stands in text from position from on, a character behind a backslash skipped; -1
// when it does not.
qsizetype FindUnescaped(const QString& text, QStringView pattern, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\\') {
            ++i;
            continue;
        }
        if (QStringView(text).mid(i).startsWith(pattern))
            return i;
    }
    return -1;
}

QString Unescaped(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[++i];
            if (next == u'n')
                plain += u'\n';
            else if (QStringView(u"~=#{}:\\").contains(next))
                plain += next;
            else
                plain += QChar(u'\\'), plain += next;
            continue;
        }
        plain += text[i];
    }
    return plain;
}

enum class GiftFormat
{
    Html, // also the platform's own format, which takes HTML
    Plain,
};

// A question block: the non-empty lines between empty ones, comments left out.
class GiftBlock
{
public:
    GiftBlock(const ImportSource& source, std::vector<SourceLine> lines, ConvertReports& reports)
        : m_source(source), m_lines(std::move(lines)), m_reports(reports)
    {
        for (const SourceLine& line : m_lines) {
            m_starts.push_back(m_text.size());
            m_text += line.Text + '\n';
        }
    }

    // False when the block is malformed: an error is reported.
    bool read(const QString& category, std::optional<ConvertedQuestion>& read)
    {
        ConvertedQuestion question;
        question.Category = category;
        question.SourceLine = m_lines.front().Number;
        qsizetype at = 0;
        while (at < m_text.size() && m_text[at].isSpace())
            ++at;
        if (QStringView(m_text).mid(at).startsWith(u"::")) {
            const qsizetype end = FindUnescaped(m_text, u"::", at + 2);
            if (end < 0)
                return error(at, QStringLiteral("the title opened here has no closing \"::\""));
            question.Name = OneLine(Unescaped(m_text.mid(at + 2, end - at - 2)));
            at = end + 2;
        }
        const qsizetype open = FindUnescaped(m_text, u"{", at);
        if (open < 0) {
            skip(question, QStringLiteral("a text without answers (a description) cannot be carried"));
            return true;
        }
        const qsizetype close = FindUnescaped(m_text, u"}", open + 1);
        if (close < 0)
            return error(open, QStringLiteral("the answers opened here have no closing \"}\""));
        const qsizetype nested = FindUnescaped(m_text, u"{", open + 1);
        if (nested >= 0 && nested < close)
            return error(nested, QStringLiteral("a \"{\" inside the answers: write \"\\{\" for a brace"));
        if (const qsizetype more = FindUnescaped(m_text, u"{", close + 1); more >= 0)
            return error(more, QStringLiteral("a second set of answers in one question: write \"\\{\" for a "
                                              "brace, or leave an empty line between questions"));

        QString prefix = m_text.mid(at, open - at).trimmed();
        static const QRegularExpression FormatMark(QStringLiteral("^\\[(html|moodle|plain|markdown)\\]"));
        const QRegularExpressionMatch mark = FormatMark.match(prefix);
        if (mark.hasMatch()) {
            m_format =
                mark.captured(1) == QLatin1String("plain") || mark.captured(1) == QLatin1String("markdown")
                    ? GiftFormat::Plain
                    : GiftFormat::Html;
            prefix = prefix.mid(mark.capturedLength());
        }
        const QString suffix = m_text.mid(close + 1).trimmed();
        question.Body.Text = text(suffix.isEmpty() ? prefix : prefix + QStringLiteral(" _____ ") + suffix);
        if (question.Name.isEmpty())
            question.Name = question.Body.Text.left(40);
        return answers(question, m_text.mid(open + 1, close - open - 1), open + 1, read);
    }

private:
    bool answers(ConvertedQuestion& question, QString answers, qsizetype offset,
                 std::optional<ConvertedQuestion>& read)
    {
        bool feedback = false;
        if (const qsizetype general = FindUnescaped(answers, u"####", 0); general >= 0) {
            feedback = !answers.mid(general + 4).trimmed().isEmpty();
            answers.truncate(general);
        }
        const QString trimmed = answers.trimmed();
        if (trimmed.isEmpty()) {
            skip(question, QStringLiteral("an essay question cannot be carried"));
            return true;
        }
        if (trimmed.startsWith('#')) {
            skip(question, QStringLiteral("a numerical question cannot be carried"));
            return true;
        }
        static const QRegularExpression TrueFalse(QStringLiteral("^(T|TRUE|F|FALSE)\\s*(#.*)?$"),
                                                  QRegularExpression::CaseInsensitiveOption |
                                                      QRegularExpression::DotMatchesEverythingOption);
        if (const QRegularExpressionMatch truth = TrueFalse.match(trimmed); truth.hasMatch()) {
            const bool isTrue = truth.captured(1).startsWith('T', Qt::CaseInsensitive);
            question.Answers = {{{QStringLiteral("prawda")}, isTrue}, {{QStringLiteral("fałsz")}, !isTrue}};
            feedback |= !truth.captured(2).isEmpty();
            return keep(question, feedback, read);
        }
        // The answers, each from its "=" or "~" to the next.
        std::vector<qsizetype> marks;
        for (qsizetype i = FindUnescaped(answers, u"=", 0), j = FindUnescaped(answers, u"~", 0);
             i >= 0 || j >= 0;) {
            const qsizetype next = i < 0 ? j : j < 0 ? i : std::min(i, j);
            marks.push_back(next);
            if (next == i)
                i = FindUnescaped(answers, u"=", next + 1);
            else
                j = FindUnescaped(answers, u"~", next + 1);
        }
        if (marks.empty() || !answers.left(marks.front()).trimmed().isEmpty()) {
            skip(question, QStringLiteral("the answers start with no \"=\" or \"~\""));
            return true;
        }
        if (FindUnescaped(answers, u"->", 0) >= 0) {
            skip(question, QStringLiteral("a matching question cannot be carried"));
            return true;
        }
        if (FindUnescaped(answers, u"~", 0) < 0) {
            skip(question, QStringLiteral("a short-answer question cannot be carried"));
            return true;
        }
        marks.push_back(answers.size());
        for (std::size_t k = 0; k + 1 < marks.size(); ++k) {
            const bool rightMark = answers[marks[k]] == u'=';
            QString answer = answers.mid(marks[k] + 1, marks[k + 1] - marks[k] - 1);
            std::optional<double> weight;
            const QString leading = answer.trimmed();
            if (leading.startsWith('%')) {
                const qsizetype end = leading.indexOf('%', 1);
                bool number = false;
                weight = end > 0 ? leading.mid(1, end - 1).toDouble(&number) : 0;
                if (!number)
                    return error(offset + marks[k] + 1, QStringLiteral("the weight of an answer is written "
                                                                       "%number%, for example %50%"));
                answer = leading.mid(end + 1);
            }
            if (const qsizetype hash = FindUnescaped(answer, u"#", 0); hash >= 0) {
                feedback |= !answer.mid(hash + 1).trimmed().isEmpty();
                answer.truncate(hash);
            }
            question.Answers.push_back(
                {{text(answer)}, rightMark ? weight.value_or(100) > 0 : weight.value_or(0) > 0});
        }
        return keep(question, feedback, read);
    }

    bool keep(ConvertedQuestion& question, bool feedback, std::optional<ConvertedQuestion>& read)
    {
        if (feedback)
            m_reports.push_back(
                {ReportKind::Skipped, m_source.Name, question.SourceLine, 0,
                 QuestionLabel(question.Name) +
                     QStringLiteral(": the feedback is left out: a bank has no place for it")});
        read = std::move(question);
        return true;
    }

    QString text(const QString& raw) const
    {
        const QString plain = Unescaped(raw);
        return m_format == GiftFormat::Html ? PlainFromHtml(plain) : OneLine(plain);
    }

    void skip(const ConvertedQuestion& question, const QString& why)
    {
        m_reports.push_back({ReportKind::Skipped, m_source.Name, question.SourceLine, 0,
                             QuestionLabel(question.Name) + ": " + why + ": skipped"});
    }

    bool error(qsizetype at, const QString& message)
    {
        std::size_t line = 0;
        while (line + 1 < m_starts.size() && m_starts[line + 1] <= at)
            ++line;
        m_reports.push_back({ReportKind::Error, m_source.Name, m_lines[line].Number,
                             int(at - m_starts[line]) + 1, QStringLiteral("malformed GIFT: ") + message});
        return false;
    }

    const ImportSource& m_source;
    std::vector<SourceLine> m_lines;
    ConvertReports& m_reports;
    QString m_text;
    std::vector<qsizetype> m_starts;
    GiftFormat m_format = GiftFormat::Html;
};

} // namespace

void ReadGift(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
{
    const QStringList lines = DecodeSourceText(source.Bytes).split('\n');
    QString category;
    std::vector<SourceLine> block;
    const auto endBlock = [&]() {
        while (!block.empty() && block.front().Text.trimmed().startsWith(QLatin1String("$CATEGORY:"))) {
            category = CleanCategory(block.front().Text.trimmed().mid(10));
            bank.Categories.push_back({category, source.Name, block.front().Number});
            block.erase(block.begin());
        }
        if (block.empty())
            return true;
        std::optional<ConvertedQuestion> question;
        GiftBlock reader(source, std::move(block), reports);
        block.clear();
        if (!reader.read(category, question))
            return false;
        if (question)
            bank.Questions.push_back(std::move(*question));
        return true;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("//")))
            continue;
        if (!trimmed.isEmpty()) {
            block.push_back({line, int(i) + 1});
            continue;
        }
        if (!endBlock())
            return;
    }
    endBlock();
}

} // namespace zdawnik
