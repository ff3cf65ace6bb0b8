// The writers of the plain-text formats: GIFT, Aiken and the spreadsheet layout.

#include "bank/PictureName.h"
#include "bank/Question.h"

#include "convert/CsvBankReader.h"
#include "convert/CsvTable.h"
#include "convert/FormatWriters.h"

namespace zdawnik {

namespace {

void NotCarried(const ConvertedQuestion& question, const QString& why, ConvertReports& reports)
{
    reports.push_back(
        {ReportKind::Skipped, question.Source, question.SourceLine, 0, why + QStringLiteral(": skipped")});
}

bool HasPictures(const ConvertedQuestion& question)
{
    return question.Body.hasPicture() ||
           std::any_of(question.Answers.begin(), question.Answers.end(),
                       [](const ChoiceAnswer& a) { return a.Content.hasPicture(); });
}

// Pictures and sentences have no place in GIFT and Aiken.
bool IsPlainChoice(const ConvertedQuestion& question, const char* format, ConvertReports& reports)
{
    if (question.Kind == QuestionKind::Sentence) {
        NotCarried(question, QStringLiteral("%1 has no sentence questions").arg(QLatin1String(format)),
                   reports);
        return false;
    }
    if (HasPictures(question)) {
        NotCarried(question, QStringLiteral("%1 carries no pictures").arg(QLatin1String(format)), reports);
        return false;
    }
    return true;
}

QString GiftEscaped(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        if (QStringView(u"~=#{}:").contains(c))
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

QString Weight(double percent)
{
    QString text = QString::number(percent, 'f', 5);
    while (text.contains('.') && (text.endsWith('0') || text.endsWith('.')))
        text.chop(1);
    return text;
}

QString PictureCell(const QString& name)
{
    return QString::fromUtf8(PictureOpenTag.data(), qsizetype(PictureOpenTag.size())) + name +
           QString::fromUtf8(PictureCloseTag.data(), qsizetype(PictureCloseTag.size()));
}

} // namespace

QByteArray WriteGift(const ConvertedBank& bank, ConvertReports& reports)
{
    QString gift;
    for (const ConvertedQuestion& question : bank.Questions) {
        if (!IsPlainChoice(question, "GIFT", reports))
            continue;
        // Texts are plain; a mark tells so when one could be taken for HTML.
        bool markup = question.Body.Text.contains('<') || question.Body.Text.contains('&');
        for (const ChoiceAnswer& answer : question.Answers)
            markup |= answer.Content.Text.contains('<') || answer.Content.Text.contains('&');
        gift += QStringLiteral("::%1::%2%3 {")
                    .arg(GiftEscaped(question.Name), markup ? QStringLiteral("[plain]") : QString(),
                         GiftEscaped(question.Body.Text));
        const bool trueFalse = question.Answers.size() == 2 &&
                               question.Answers[0].Content.Text == QStringLiteral("prawda") &&
                               question.Answers[1].Content.Text == QStringLiteral("fałsz") &&
                               question.Answers[0].Right != question.Answers[1].Right;
        if (trueFalse) {
            gift += question.Answers[0].Right ? QStringLiteral("T}\n\n") : QStringLiteral("F}\n\n");
            continue;
        }
        const auto rights = std::count_if(question.Answers.begin(), question.Answers.end(),
                                          [](const ChoiceAnswer& answer) { return answer.Right; });
        gift += '\n';
        for (const ChoiceAnswer& answer : question.Answers) {
            if (rights == 1)
                gift += answer.Right ? QStringLiteral("=") : QStringLiteral("~");
            else
                gift += answer.Right ? QStringLiteral("~%") + Weight(100.0 / double(rights)) + '%'
                                     : QStringLiteral("~%-100%");
            gift += GiftEscaped(answer.Content.Text) + '\n';
        }
        gift += QStringLiteral("}\n\n");
    }
    return gift.toUtf8();
}

QByteArray WriteAiken(const ConvertedBank& bank, ConvertReports& reports)
{
    QString aiken;
    for (const ConvertedQuestion& question : bank.Questions) {
        if (!IsPlainChoice(question, "Aiken", reports))
            continue;
        const auto rights = std::count_if(question.Answers.begin(), question.Answers.end(),
                                          [](const ChoiceAnswer& answer) { return answer.Right; });
        if (rights != 1) {
            NotCarried(question,
                       QStringLiteral("Aiken marks one answer right, and the question has %1").arg(rights),
                       reports);
            continue;
        }
        aiken += question.Body.Text + '\n';
        QChar key;
        for (std::size_t k = 0; k < question.Answers.size(); ++k) {
            const QChar letter(char16_t(u'A' + k));
            aiken += letter + QStringLiteral(". ") + question.Answers[k].Content.Text + '\n';
            if (question.Answers[k].Right)
                key = letter;
        }
        aiken += QStringLiteral("ANSWER: ") + key + QStringLiteral("\n\n");
    }
    return aiken.toUtf8();
}

QByteArray WriteCsv(const ConvertedBank& bank, ConvertReports&)
{
    constexpr char Comma = ',';
    const auto row = [](const QStringList& cells) {
        QStringList fields;
        for (const QString& cell : cells)
            fields << CsvField(cell, Comma);
        return fields.join(QChar(Comma)) + QStringLiteral("\r\n");
    };
    QString csv = row(CsvHeader());
    for (const ConvertedQuestion& question : bank.Questions) {
        const auto pictureName = [&](const ItemText& item) {
            return bank.Pictures[std::size_t(item.Picture)].Name;
        };
        QStringList cells{question.Body.Text};
        QStringList right;
        if (question.Kind == QuestionKind::Choice) {
            for (std::size_t k = 0; k < question.Answers.size(); ++k) {
                const ItemText& answer = question.Answers[k].Content;
                cells << (answer.hasPicture() ? PictureCell(pictureName(answer)) : answer.Text);
                if (question.Answers[k].Right)
                    right << QString::number(k + 1);
            }
        } else {
            for (const SentenceList& list : question.Lists) {
                cells << list.Options.join(QStringLiteral(";;")) + QStringLiteral(";;");
                right << QString::number(list.Right);
            }
        }
        while (cells.size() < 1 + MaxAnswers)
            cells << QString();
        cells << right.join(' ') << (question.Body.hasPicture() ? pictureName(question.Body) : QString())
              << question.Name;
        csv += row(cells);
    }
    return "\xEF\xBB\xBF" + csv.toUtf8();
}

} // namespace zdawnik
