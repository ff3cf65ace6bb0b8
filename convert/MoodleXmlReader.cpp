#include "convert/MoodleXmlReader.h"

#include "bank/Question.h"

#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>

#include <map>
#include <optional>

#include "convert/BankText.h"

namespace zdawnik {

namespace {

// A question's elements are few and small; held as a tree, each question is read in one piece.
struct XmlElement
{
    QString Name;
    QXmlStreamAttributes Attributes;
    QString Text;
    int Line = 0;
    std::vector<XmlElement> Children;

    const XmlElement* child(QStringView name) const
    {
        for (const XmlElement& element : Children)
            if (element.Name == name)
                return &element;
        return nullptr;
    }
    // The text of the <text> element inside the child of that name.
    QString childText(QStringView name) const
    {
        const XmlElement* holder = child(name);
        const XmlElement* text = holder ? holder->child(u"text") : nullptr;
        return text ? text->Text : QString();
    }
    // The element's own text child: <answer><text>...</text></answer>.
    QString ownText() const
    {
        const XmlElement* text = child(u"text");
        return text ? text->Text : QString();
    }
    QString attribute(QStringView name) const { return Attributes.value(name.toString()).toString(); }
};

// Deeper than any quiz goes: a file that nests further is refused before the stack is at risk.
constexpr int DeepestNesting = 64;

bool ReadElement(QXmlStreamReader& xml, XmlElement& element, int depth)
{
    element.Name = xml.name().toString();
    element.Attributes = xml.attributes();
    element.Line = int(xml.lineNumber());
    if (depth > DeepestNesting) {
        xml.raiseError(QStringLiteral("elements nested more than %1 deep").arg(DeepestNesting));
        return false;
    }
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            element.Children.emplace_back();
            if (!ReadElement(xml, element.Children.back(), depth + 1))
                return false;
            break;
        case QXmlStreamReader::Characters:
            element.Text += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return true;
        default:
            break;
        }
    }
    return false;
}

QString TypeDescription(const QString& type)
{
    static const std::map<QString, QString> Known = {
        {QStringLiteral("essay"), QStringLiteral("an essay question")},
        {QStringLiteral("numerical"), QStringLiteral("a numerical question")},
        {QStringLiteral("shortanswer"), QStringLiteral("a short-answer question")},
        {QStringLiteral("match"), QStringLiteral("a matching question")},
        {QStringLiteral("randomsamatch"), QStringLiteral("a matching question")},
        {QStringLiteral("calculated"), QStringLiteral("a calculated question")},
        {QStringLiteral("calculatedsimple"), QStringLiteral("a calculated question")},
        {QStringLiteral("calculatedmulti"), QStringLiteral("a calculated question")},
        {QStringLiteral("description"), QStringLiteral("a description")},
        {QStringLiteral("multianswer"), QStringLiteral("an embedded-answers (cloze) question")},
    };
    const auto known = Known.find(type);
    return known != Known.end() ? known->second : QStringLiteral("a question of type \"%1\"").arg(type);
}

class MoodleQuestionReader
{
public:
    MoodleQuestionReader(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
        : m_source(source), m_bank(bank), m_reports(reports)
    {
    }

    void read(const XmlElement& element)
    {
        const QString type = element.attribute(u"type");
        if (type == QLatin1String("category")) {
            m_category = CleanCategory(element.childText(u"category"));
            m_bank.Categories.push_back({m_category, m_source.Name, element.Line});
            return;
        }
        ConvertedQuestion question;
        question.Name = OneLine(element.childText(u"name"));
        question.Category = m_category;
        question.SourceLine = element.Line;
        m_leftOut.clear();
        bool taken = false;
        if (type == QLatin1String("multichoice"))
            taken = readChoice(element, question);
        else if (type == QLatin1String("truefalse"))
            taken = readTrueFalse(element, question);
        else if (type == QLatin1String("gapselect"))
            taken = readGaps(element, question);
        else
            skip(question, TypeDescription(type) + QStringLiteral(" cannot be carried"));
        if (!taken)
            return;
        noteLeftOut(element, question);
        m_bank.Questions.push_back(std::move(question));
    }

private:
    void skip(const ConvertedQuestion& question, const QString& why, int line = 0)
    {
        m_reports.push_back({ReportKind::Skipped, m_source.Name, line > 0 ? line : question.SourceLine, 0,
                             QuestionLabel(question.Name) + ": " + why + ": skipped"});
    }
    void leftOut(const ConvertedQuestion& question, int line, const QString& what)
    {
        m_reports.push_back({ReportKind::Skipped, m_source.Name, line > 0 ? line : question.SourceLine, 0,
                             QuestionLabel(question.Name) + ": " + what});
    }

    bool readChoice(const XmlElement& element, ConvertedQuestion& question)
    {
        question.Kind = QuestionKind::Choice;
        question.Body = richText(question, element.child(u"questiontext"), false);
        for (const XmlElement& answer : element.Children) {
            if (answer.Name != QLatin1String("answer"))
                continue;
            ChoiceAnswer choice;
            choice.Content = richText(question, &answer, false);
            choice.Right = answer.attribute(u"fraction").toDouble() > 0;
            question.Answers.push_back(choice);
            m_leftOut.FeedbackOfAnswers |= !answer.childText(u"feedback").trimmed().isEmpty();
        }
        return true;
    }

    bool readTrueFalse(const XmlElement& element, ConvertedQuestion& question)
    {
        question.Kind = QuestionKind::Choice;
        question.Body = richText(question, element.child(u"questiontext"), false);
        std::optional<bool> trueIsRight;
        for (const XmlElement& answer : element.Children) {
            if (answer.Name != QLatin1String("answer"))
                continue;
            const QString value = answer.ownText().trimmed().toLower();
            const bool right = answer.attribute(u"fraction").toDouble() > 0;
            if (right && (value == QLatin1String("true") || value == QLatin1String("false")))
                trueIsRight = value == QLatin1String("true");
            m_leftOut.FeedbackOfAnswers |= !answer.childText(u"feedback").trimmed().isEmpty();
        }
        if (!trueIsRight) {
            skip(question,
                 QStringLiteral("the true/false question marks neither \"true\" nor \"false\" right"));
            return false;
        }
        question.Answers = {{{QStringLiteral("prawda")}, *trueIsRight},
                            {{QStringLiteral("fałsz")}, !*trueIsRight}};
        return true;
    }

    bool readGaps(const XmlElement& element, ConvertedQuestion& question)
    {
        question.Kind = QuestionKind::Sentence;
        question.Body = richText(question, element.child(u"questiontext"), true);
        struct Choice
        {
            QString Text;
            QString Group;
        };
        std::vector<Choice> choices;
        for (const XmlElement& option : element.Children)
            if (option.Name == QLatin1String("selectoption"))
                choices.push_back({OneLine(option.ownText()), option.child(u"group")
                                                                  ? option.child(u"group")->Text.trimmed()
                                                                  : QString()});
        static const QRegularExpression Gap(QStringLiteral("\\[\\[([0-9]+)\\]\\]"));
        QString sentence;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& gap : Gap.globalMatch(question.Body.Text)) {
            const qsizetype number = gap.captured(1).toLongLong();
            if (number < 1 || number > qsizetype(choices.size())) {
                skip(question, QStringLiteral("the gap [[%1]] names no option").arg(gap.captured(1)));
                return false;
            }
            const Choice& right = choices[std::size_t(number - 1)];
            SentenceList list;
            for (const Choice& choice : choices) {
                if (choice.Group != right.Group)
                    continue;
                list.Options << choice.Text;
                if (&choice == &right)
                    list.Right = int(list.Options.size());
            }
            question.Lists.push_back(list);
            sentence += question.Body.Text.mid(from, gap.capturedStart() - from) +
                        QString::fromStdString(SentenceGap(int(question.Lists.size())));
            from = gap.capturedEnd();
        }
        if (question.Lists.empty()) {
            skip(question, QStringLiteral("the text has no gap [[n]]"));
            return false;
        }
        question.Body.Text = sentence + question.Body.Text.mid(from);
        return true;
    }

    // A text with its pictures. A line of a bank is a text or a picture: a choice question keeps its
    // text and leaves out a picture beside it; only a sentence question shows both.
    ItemText richText(const ConvertedQuestion& question, const XmlElement* holder, bool sentence)
    {
        ItemText item;
        if (!holder)
            return item;
        const QString format = holder->attribute(u"format");
        const QString raw = holder->ownText();
        if (format == QLatin1String("plain_text") || format == QLatin1String("markdown")) {
            item.Text = OneLine(raw);
            return item;
        }
        const HtmlContent content = ReadHtml(raw);
        item.Text = content.Text;
        static const QString Embedded = QStringLiteral("@@PLUGINFILE@@/");
        for (const QString& source : content.PictureSources) {
            const int line = holder->Line;
            const bool embedded = source.startsWith(Embedded);
            const QString name =
                embedded ? QUrl::fromPercentEncoding(source.mid(Embedded.size()).toUtf8()) : source;
            if (item.hasPicture() || (!item.Text.isEmpty() && !sentence)) {
                leftOut(
                    question, line,
                    QStringLiteral("the picture \"%1\" is left out: a line of a bank is a text or a picture")
                        .arg(name));
                continue;
            }
            if (!embedded) {
                leftOut(question, line,
                        QStringLiteral("the picture \"%1\" is not in the file: left out").arg(name));
                continue;
            }
            const XmlElement* file = embeddedFile(*holder, name);
            if (!file) {
                leftOut(question, line,
                        QStringLiteral("the picture \"%1\" is not embedded in the file: left out").arg(name));
                continue;
            }
            item.Picture =
                m_bank.addPicture(name.section('/', -1), QByteArray::fromBase64(file->Text.toLatin1()));
        }
        return item;
    }

    static const XmlElement* embeddedFile(const XmlElement& holder, const QString& name)
    {
        for (const XmlElement& file : holder.Children) {
            if (file.Name != QLatin1String("file"))
                continue;
            QString path = file.attribute(u"path");
            if (!path.endsWith('/'))
                path += '/';
            if (file.attribute(u"name") == name || (path + file.attribute(u"name")).mid(1) == name)
                return &file;
        }
        return nullptr;
    }

    void noteLeftOut(const XmlElement& element, const ConvertedQuestion& question)
    {
        bool feedback = m_leftOut.FeedbackOfAnswers;
        for (const char16_t* name :
             {u"generalfeedback", u"correctfeedback", u"partiallycorrectfeedback", u"incorrectfeedback"})
            feedback |= !element.childText(name).trimmed().isEmpty();
        for (const XmlElement& hint : element.Children)
            if (hint.Name == QLatin1String("hint") && hint.child(u"text"))
                feedback |= !hint.child(u"text")->Text.trimmed().isEmpty();
        const XmlElement* penaltyElement = element.child(u"penalty");
        const bool penalty = penaltyElement && penaltyElement->Text.trimmed().toDouble() != 0;
        QStringList parts;
        if (feedback)
            parts << QStringLiteral("the feedback");
        if (penalty)
            parts << QStringLiteral("the penalty");
        if (!parts.isEmpty())
            leftOut(question, 0,
                    parts.join(QStringLiteral(" and ")) + (parts.size() > 1
                                                               ? " are left out: a bank has no place for them"
                                                               : " is left out: a bank has no place for it"));
    }

    struct LeftOut
    {
        bool FeedbackOfAnswers = false;
        void clear() { *this = {}; }
    };

    const ImportSource& m_source;
    ConvertedBank& m_bank;
    ConvertReports& m_reports;
    QString m_category;
    LeftOut m_leftOut;
};

} // namespace

void ReadMoodleXml(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
{
    QXmlStreamReader xml(source.Bytes);
    MoodleQuestionReader reader(source, bank, reports);
    if (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("quiz")) {
            reports.push_back(
                {ReportKind::Error, source.Name, int(xml.lineNumber()), int(xml.columnNumber()) + 1,
                 QStringLiteral("the file is no Moodle XML quiz: it begins with <%1>, not <quiz>")
                     .arg(xml.name())});
            return;
        }
        while (xml.readNextStartElement()) {
            XmlElement element;
            if (!ReadElement(xml, element, 1))
                break;
            if (element.Name == QLatin1String("question"))
                reader.read(element);
        }
    }
    if (xml.hasError())
        reports.push_back({ReportKind::Error, source.Name, int(xml.lineNumber()), int(xml.columnNumber()) + 1,
                           QStringLiteral("malformed XML: ") + xml.errorString()});
}

} // namespace zdawnik
