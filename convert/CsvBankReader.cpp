#include "convert/CsvBankReader.h"

#include "bank/PictureName.h"
#include "bank/Question.h"

#include <QFile>
#include <QRegularExpression>

#include <map>

#include "convert/BankText.h"
#include "convert/CsvTable.h"

namespace zdawnik {

QStringList CsvHeader()
{
    QStringList header{QStringLiteral("question")};
    for (int k = 1; k <= MaxAnswers; ++k)
        header << QStringLiteral("answer %1").arg(k);
    return header << QStringLiteral("right") << QStringLiteral("picture") << QStringLiteral("file");
}

namespace {

class CsvQuestions
{
public:
    CsvQuestions(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
        : m_source(source), m_bank(bank), m_reports(reports)
    {
    }

    // False when the header is not the layout's.
    bool header(const CsvRow& row)
    {
        static const QRegularExpression Spaces(QStringLiteral("\\s+"));
        const QStringList known = CsvHeader();
        for (qsizetype i = 0; i < row.Fields.size(); ++i) {
            QString name = row.Fields[i].trimmed().toLower().replace(Spaces, QStringLiteral(" "));
            static const QRegularExpression Joined(QStringLiteral("^answer([0-9]+)$"));
            name.replace(Joined, QStringLiteral("answer \\1"));
            if (known.contains(name))
                m_columns[name] = i;
            else if (!name.isEmpty())
                m_reports.push_back({ReportKind::Skipped, m_source.Name, row.Line, int(i) + 1,
                                     QStringLiteral("the column \"%1\" is none of the layout's: left out")
                                         .arg(row.Fields[i].trimmed())});
        }
        if (!m_columns.count(QStringLiteral("question")) || !m_columns.count(QStringLiteral("right"))) {
            m_reports.push_back({ReportKind::Error, m_source.Name, row.Line, 0,
                                 QStringLiteral("the first row must name the columns: ") +
                                     CsvHeader().join(QStringLiteral(", "))});
            return false;
        }
        return true;
    }

    void row(const CsvRow& row)
    {
        m_row = &row;
        if (std::all_of(row.Fields.begin(), row.Fields.end(),
                        [](const QString& f) { return f.trimmed().isEmpty(); }))
            return;
        ConvertedQuestion question;
        question.SourceLine = row.Line;
        question.Name = cell(QStringLiteral("file"));
        const QString text = OneLine(cell(QStringLiteral("question")));
        question.Kind = text.contains(QString::fromStdString(SentenceGap(1))) ? QuestionKind::Sentence
                                                                              : QuestionKind::Choice;
        if (question.Name.isEmpty())
            question.Name = text.left(40);
        QStringList cells;
        for (int k = 1; k <= MaxAnswers; ++k)
            cells << cell(QStringLiteral("answer %1").arg(k));
        while (!cells.isEmpty() && cells.back().trimmed().isEmpty())
            cells.removeLast();
        static const QRegularExpression Separators(QStringLiteral("[\\s,;/]+"));
        const QStringList right = cell(QStringLiteral("right")).split(Separators, Qt::SkipEmptyParts);
        const QString picture = cell(QStringLiteral("picture")).trimmed();
        question.Body.Text = text;
        if (!picture.isEmpty()) {
            if (question.Kind == QuestionKind::Choice && !text.isEmpty())
                report(question, QStringLiteral("the text of the question is left out: its line shows the "
                                                "picture \"%1\"")
                                     .arg(picture));
            if (question.Kind == QuestionKind::Choice)
                question.Body.Text.clear();
            if (!pictureFile(question, picture, question.Body))
                return;
        }
        if (question.Kind == QuestionKind::Choice ? choice(question, cells, right)
                                                  : sentence(question, cells, right))
            m_bank.Questions.push_back(std::move(question));
    }

private:
    bool choice(ConvertedQuestion& question, const QStringList& cells, const QStringList& right)
    {
        for (const QString& answer : cells) {
            ChoiceAnswer choice;
            if (HasPictureTag(answer.toStdString())) {
                const QString name = QString::fromStdString(PictureName(answer.toStdString()));
                if (!pictureFile(question, name, choice.Content))
                    return false;
            } else {
                choice.Content.Text = OneLine(answer);
            }
            question.Answers.push_back(choice);
        }
        for (const QString& number : right) {
            bool isNumber = false;
            const int k = number.toInt(&isNumber);
            if (!isNumber || k < 1 || k > int(question.Answers.size())) {
                skip(question,
                     QStringLiteral("\"right\" names %1, which is no answer of the row").arg(number));
                return false;
            }
            question.Answers[std::size_t(k - 1)].Right = true;
        }
        return true;
    }

    bool sentence(ConvertedQuestion& question, const QStringList& cells, const QStringList& right)
    {
        for (const QString& cell : cells) {
            QStringList options = cell.split(QStringLiteral(";;"));
            if (options.size() > 1 && options.back().trimmed().isEmpty())
                options.removeLast();
            for (QString& option : options)
                option = OneLine(option);
            question.Lists.push_back({options, 0});
        }
        if (right.size() != qsizetype(question.Lists.size())) {
            skip(question, QStringLiteral("\"right\" gives %1 option number(s) for %2 list(s)")
                               .arg(right.size())
                               .arg(question.Lists.size()));
            return false;
        }
        for (std::size_t n = 0; n < question.Lists.size(); ++n) {
            bool isNumber = false;
            const int option = right[qsizetype(n)].toInt(&isNumber);
            if (!isNumber || option < 1 || option > question.Lists[n].Options.size()) {
                skip(question, QStringLiteral("\"right\" gives %1 for list %2, which has %3 option(s)")
                                   .arg(right[qsizetype(n)])
                                   .arg(n + 1)
                                   .arg(question.Lists[n].Options.size()));
                return false;
            }
            question.Lists[n].Right = option;
        }
        return true;
    }

    bool pictureFile(const ConvertedQuestion& question, const QString& name, ItemText& item)
    {
        QFile file(m_source.Folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            skip(question,
                 QStringLiteral("the picture \"%1\" cannot be read: %2").arg(name, file.errorString()));
            return false;
        }
        item.Picture = m_bank.addPicture(name.section('/', -1).section('\\', -1), file.readAll());
        return true;
    }

    QString cell(const QString& column) const
    {
        const auto found = m_columns.find(column);
        return found != m_columns.end() && found->second < m_row->Fields.size() ? m_row->Fields[found->second]
                                                                                : QString();
    }

    void skip(const ConvertedQuestion& question, const QString& why)
    {
        report(question, why + QStringLiteral(": skipped"));
    }
    void report(const ConvertedQuestion& question, const QString& what)
    {
        m_reports.push_back({ReportKind::Skipped, m_source.Name, question.SourceLine, 0,
                             QuestionLabel(question.Name) + ": " + what});
    }

    const ImportSource& m_source;
    ConvertedBank& m_bank;
    ConvertReports& m_reports;
    std::map<QString, qsizetype> m_columns;
    const CsvRow* m_row = nullptr;
};

} // namespace

void ReadCsvBank(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
{
    const QString text = DecodeSourceText(source.Bytes);
    const CsvTable table = ReadCsv(text, GuessCsvDelimiter(text));
    if (table.Error) {
        reports.push_back({ReportKind::Error, source.Name, table.Error->first, 0,
                           QStringLiteral("malformed CSV: ") + table.Error->second});
        return;
    }
    if (table.Rows.empty()) {
        reports.push_back({ReportKind::Error, source.Name, 0, 0,
                           QStringLiteral("the file holds no row: the first row must name the columns")});
        return;
    }
    CsvQuestions questions(source, bank, reports);
    if (!questions.header(table.Rows.front()))
        return;
    for (std::size_t i = 1; i < table.Rows.size(); ++i)
        questions.row(table.Rows[i]);
}

} // namespace zdawnik
