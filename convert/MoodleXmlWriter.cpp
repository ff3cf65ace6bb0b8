#include "bank/Question.h"

#include <QUrl>
#include <QXmlStreamWriter>

#include "convert/FormatWriters.h"

namespace zdawnik {

namespace {

bool IsTrueFalse(const ConvertedQuestion& question)
{
    return question.Kind == QuestionKind::Choice && question.Answers.size() == 2 &&
           question.Answers[0].Content.Text == QStringLiteral("prawda") &&
           question.Answers[1].Content.Text == QStringLiteral("fałsz") &&
           !question.Answers[0].Content.hasPicture() && !question.Answers[1].Content.hasPicture() &&
           question.Answers[0].Right != question.Answers[1].Right;
}

QString Fraction(double percent)
{
    QString text = QString::number(percent, 'f', 5);
    while (text.contains('.') && (text.endsWith('0') || text.endsWith('.')))
        text.chop(1);
    return text;
}

class MoodleWriter
{
public:
    explicit MoodleWriter(const ConvertedBank& bank) : m_bank(bank), m_xml(&m_bytes)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(2);
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("quiz"));
    }

    QByteArray finish()
    {
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        return m_bytes;
    }

    void question(const ConvertedQuestion& question)
    {
        const bool trueFalse = IsTrueFalse(question);
        m_xml.writeStartElement(QStringLiteral("question"));
        m_xml.writeAttribute(QStringLiteral("type"), question.Kind == QuestionKind::Sentence
                                                         ? QStringLiteral("gapselect")
                                                     : trueFalse ? QStringLiteral("truefalse")
                                                                 : QStringLiteral("multichoice"));
        m_xml.writeStartElement(QStringLiteral("name"));
        m_xml.writeTextElement(QStringLiteral("text"), question.Name);
        m_xml.writeEndElement();
        if (question.Kind == QuestionKind::Sentence)
            sentence(question);
        else
            richText(QStringLiteral("questiontext"), question.Body);
        m_xml.writeTextElement(QStringLiteral("defaultgrade"), QStringLiteral("1"));
        m_xml.writeTextElement(QStringLiteral("penalty"), QStringLiteral("0"));
        m_xml.writeTextElement(QStringLiteral("hidden"), QStringLiteral("0"));
        if (question.Kind == QuestionKind::Sentence)
            options(question);
        else if (trueFalse)
            trueFalseAnswers(question);
        else
            choiceAnswers(question);
        m_xml.writeEndElement();
    }

private:
    void sentence(const ConvertedQuestion& question)
    {
        // Gap n of the sentence names the right option of list n by its number among all options.
        ItemText body = question.Body;
        int before = 0;
        for (std::size_t n = 0; n < question.Lists.size(); ++n) {
            const QString gap = QString::fromStdString(SentenceGap(int(n + 1)));
            body.Text.replace(gap, QStringLiteral("[[%1]]").arg(before + question.Lists[n].Right));
            before += int(question.Lists[n].Options.size());
        }
        richText(QStringLiteral("questiontext"), body);
    }

    void options(const ConvertedQuestion& question)
    {
        m_xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("0"));
        for (std::size_t n = 0; n < question.Lists.size(); ++n) {
            for (const QString& option : question.Lists[n].Options) {
                m_xml.writeStartElement(QStringLiteral("selectoption"));
                m_xml.writeTextElement(QStringLiteral("text"), option);
                m_xml.writeTextElement(QStringLiteral("group"), QString::number(n + 1));
                m_xml.writeEndElement();
            }
        }
    }

    void trueFalseAnswers(const ConvertedQuestion& question)
    {
        const bool trueIsRight = question.Answers[0].Right;
        for (const bool value : {true, false}) {
            m_xml.writeStartElement(QStringLiteral("answer"));
            m_xml.writeAttribute(QStringLiteral("fraction"),
                                 value == trueIsRight ? QStringLiteral("100") : QStringLiteral("0"));
            m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("moodle_auto_format"));
            m_xml.writeTextElement(QStringLiteral("text"),
                                   value ? QStringLiteral("true") : QStringLiteral("false"));
            m_xml.writeEndElement();
        }
    }

    void choiceAnswers(const ConvertedQuestion& question)
    {
        const auto rights = std::count_if(question.Answers.begin(), question.Answers.end(),
                                          [](const ChoiceAnswer& answer) { return answer.Right; });
        m_xml.writeTextElement(QStringLiteral("single"),
                               rights == 1 ? QStringLiteral("true") : QStringLiteral("false"));
        m_xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
        m_xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("none"));
        // With several right answers a wrong tick costs the whole mark, as it does in the drill.
        const QString right = Fraction(100.0 / double(std::max<qsizetype>(rights, 1)));
        const QString wrong = rights == 1 ? QStringLiteral("0") : QStringLiteral("-100");
        for (const ChoiceAnswer& answer : question.Answers) {
            m_xml.writeStartElement(QStringLiteral("answer"));
            m_xml.writeAttribute(QStringLiteral("fraction"), answer.Right ? right : wrong);
            richTextInside(answer.Content);
            m_xml.writeEndElement();
        }
    }

    void richText(const QString& element, const ItemText& item)
    {
        m_xml.writeStartElement(element);
        richTextInside(item);
        m_xml.writeEndElement();
    }

    void richTextInside(const ItemText& item)
    {
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        QString html;
        const PictureFile* picture =
            item.hasPicture() ? &m_bank.Pictures[std::size_t(item.Picture)] : nullptr;
        if (picture)
            html += QStringLiteral("<img src=\"@@PLUGINFILE@@/%1\" alt=\"%2\">")
                        .arg(QString::fromUtf8(QUrl::toPercentEncoding(picture->Name)),
                             picture->Name.toHtmlEscaped());
        html += item.Text.toHtmlEscaped();
        m_xml.writeTextElement(QStringLiteral("text"), html);
        if (picture) {
            m_xml.writeStartElement(QStringLiteral("file"));
            m_xml.writeAttribute(QStringLiteral("name"), picture->Name);
            m_xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
            m_xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
            m_xml.writeCharacters(QString::fromLatin1(picture->Bytes.toBase64()));
            m_xml.writeEndElement();
        }
    }

    const ConvertedBank& m_bank;
    QByteArray m_bytes;
    QXmlStreamWriter m_xml;
};

} // namespace

QByteArray WriteMoodleXml(const ConvertedBank& bank, ConvertReports&)
{
    MoodleWriter writer(bank);
    for (const ConvertedQuestion& question : bank.Questions)
        writer.question(question);
    return writer.finish();
}

} // namespace zdawnik
