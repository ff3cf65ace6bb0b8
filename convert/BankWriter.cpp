#include "convert/BankWriter.h"

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "base/TextEncoding.h"
#include "check/TextFit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>

#include <map>
#include <set>

#include "convert/BankText.h"
#include "convert/ImportSource.h"
#include "convert/PictureFormat.h"

namespace zdawnik {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr int HighestKeyDigit = 9; // a key is one digit of the header

std::optional<QString> WhyTextNotCarried(const QString& text)
{
    if (text.contains(QStringLiteral("[stop]")))
        return QStringLiteral("the text \"%1\" holds \"[stop]\", which splits a line of a bank").arg(text);
    for (const std::string_view tag : {PictureOpenTag, PictureCloseTag})
        if (text.contains(QLatin1String(tag.data(), qsizetype(tag.size())), Qt::CaseInsensitive))
            return QStringLiteral("the text \"%1\" holds a picture tag").arg(text);
    return std::nullopt;
}

std::optional<QString> WhyPictureNotCarried(const ItemText& item, const ConvertedBank& bank)
{
    if (!item.hasPicture())
        return std::nullopt;
    const PictureFile& picture = bank.Pictures[std::size_t(item.Picture)];
    const QString format = SniffPictureFormat(picture.Bytes);
    if (format.isEmpty())
        return QStringLiteral("the picture \"%1\" is in no format the program shows").arg(picture.Name);
    if (!IsShownPictureFormat(format))
        return QStringLiteral("the picture \"%1\" is %2, which the program does not show")
            .arg(picture.Name, format.toUpper());
    return std::nullopt;
}

std::optional<QString> WhyChoiceNotCarried(const ConvertedQuestion& question)
{
    const auto count = int(question.Answers.size());
    if (count == 0)
        return QStringLiteral("the question has no answers");
    if (count > MaxAnswers)
        return QStringLiteral("more than %1 answers (%2)").arg(MaxAnswers).arg(count);
    if (std::none_of(question.Answers.begin(), question.Answers.end(),
                     [](const ChoiceAnswer& a) { return a.Right; }))
        return QStringLiteral("no answer is right");
    for (int k = 0; k < count; ++k)
        if (question.Answers[std::size_t(k)].Content.Text.isEmpty() &&
            !question.Answers[std::size_t(k)].Content.hasPicture())
            return QStringLiteral("answer %1 is empty").arg(k + 1);
    return std::nullopt;
}

std::optional<QString> WhySentenceNotCarried(const ConvertedQuestion& question)
{
    const auto count = int(question.Lists.size());
    if (count == 0)
        return QStringLiteral("the sentence has no gaps");
    if (count > MaxLists)
        return QStringLiteral("more than %1 gaps (%2)").arg(MaxLists).arg(count);
    for (int n = 1; n <= count; ++n) {
        const SentenceList& list = question.Lists[std::size_t(n - 1)];
        if (!question.Body.Text.contains(QString::fromStdString(SentenceGap(n))))
            return QStringLiteral("the sentence has no gap %1").arg(QString::fromStdString(SentenceGap(n)));
        if (list.Options.isEmpty())
            return QStringLiteral("list %1 has no options").arg(n);
        for (const QString& option : list.Options) {
            if (option.isEmpty())
                return QStringLiteral("list %1 has an empty option").arg(n);
            if (option.startsWith(';') || option.endsWith(';'))
                return QStringLiteral(
                           "the option \"%1\" begins or ends with \";\", which runs into the \";;\" that "
                           "ends an option in a bank")
                    .arg(option);
            if (option.contains(QStringLiteral(";;")))
                return QStringLiteral("the option \"%1\" holds \";;\", which ends an option in a bank")
                    .arg(option);
        }
        if (list.Right > HighestKeyDigit)
            return QStringLiteral(
                       "the right option of list %1 is option %2: a bank marks only options 1 to %3 right")
                .arg(n)
                .arg(list.Right)
                .arg(HighestKeyDigit);
    }
    return std::nullopt;
}

QString PictureLine(const QString& name)
{
    return QString::fromUtf8(PictureOpenTag.data(), qsizetype(PictureOpenTag.size())) + name +
           QString::fromUtf8(PictureCloseTag.data(), qsizetype(PictureCloseTag.size()));
}

bool IsUtf8WithMultiByte(const QByteArray& bytes)
{
    Utf8Validator validator;
    validator.feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return validator.valid() && validator.sawMultiByte();
}

int Digits(int number)
{
    return int(QString::number(number).size());
}

// Writes a new file; an existing one is never overwritten.
bool WriteNewFile(const QString& path, const QByteArray& bytes, ConvertReports& reports)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    reports.push_back({ReportKind::Error, QString(), 0, 0,
                       QStringLiteral("cannot write %1: %2").arg(path, file.errorString())});
    return false;
}

QString CategoryFolder(const QString& category)
{
    QStringList parts;
    for (const QString& part : category.split('/', Qt::SkipEmptyParts)) {
        const QString stem = SafeFileStem(part);
        parts << (stem.isEmpty() ? QStringLiteral("kategoria") : stem);
    }
    return parts.join('/');
}

QString SizeText(QSize size)
{
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

// What the window will not show whole: texts longer than their labels, pictures larger than their
// places, measured as the window and the checker measure them.
void ReportWhatIsCut(const ConvertedQuestion& question, const ConvertedBank& bank, ConvertReports& reports)
{
    static const TextFit fit;
    const auto report = [&](const QString& what) {
        reports.push_back({ReportKind::Warning, question.Source, question.SourceLine, 0,
                           QuestionLabel(question.Name) + ": " + what + ": the window cuts it"});
    };
    const auto measure = [&](const ItemText& item, QuestionPlace place, const QString& what) {
        if (item.hasPicture()) {
            const PictureFile& picture = bank.Pictures[std::size_t(item.Picture)];
            QBuffer buffer;
            buffer.setData(picture.Bytes);
            const QSize size = QImageReader(&buffer).size();
            const QSize room = PicturePlaceSize(place);
            if (size.width() > room.width() || size.height() > room.height())
                report(QStringLiteral("the picture \"%1\" is %2 pixels, larger than its place of %3")
                           .arg(picture.Name, SizeText(size), SizeText(room)));
            return;
        }
        if (const std::optional<QSize> needed = fit.overflow(WithDoubledAmpersands(item.Text), place))
            report(QStringLiteral("%1 needs %2 pixels, more than its place of %3")
                       .arg(what, SizeText(*needed), SizeText(fit.placeSize(place))));
    };
    measure(question.Body, QuestionPlace::Question, QStringLiteral("the question"));
    for (std::size_t k = 0; k < question.Answers.size(); ++k)
        measure(question.Answers[k].Content, QuestionPlace::Answer, QStringLiteral("answer %1").arg(k + 1));
}

// Tells how many questions of each category the source names were written, at the line that names it.
void NoteCategories(const ConvertedBank& bank,
                    const std::map<QString, std::vector<const ConvertedQuestion*>>& folders,
                    ConvertReports& reports)
{
    std::map<std::pair<QString, QString>, int> written;
    for (const auto& [folder, questions] : folders)
        for (const ConvertedQuestion* question : questions)
            ++written[{question->Source, question->Category}];
    std::set<std::pair<QString, QString>> told;
    for (const CategoryMention& category : bank.Categories) {
        const std::pair<QString, QString> key{category.Source, category.Name};
        if (!written.count(key) || !told.insert(key).second)
            continue;
        reports.push_back({ReportKind::Note, category.Source, category.Line, 0,
                           QStringLiteral("category \"%1\": %2 question(s) written")
                               .arg(category.Name.isEmpty() ? QStringLiteral("(top)") : category.Name)
                               .arg(written[key])});
    }
}

} // namespace

std::optional<QString> WhyNotCarried(const ConvertedQuestion& question, const ConvertedBank& bank)
{
    std::optional<QString> why = question.Kind == QuestionKind::Choice ? WhyChoiceNotCarried(question)
                                                                       : WhySentenceNotCarried(question);
    if (why)
        return why;
    if (question.Body.Text.isEmpty() && !question.Body.hasPicture())
        return QStringLiteral("the question's text is empty");
    std::vector<const ItemText*> items{&question.Body};
    for (const ChoiceAnswer& answer : question.Answers)
        items.push_back(&answer.Content);
    for (const ItemText* item : items) {
        if ((why = WhyTextNotCarried(item->Text)) || (why = WhyPictureNotCarried(*item, bank)))
            return why;
    }
    for (const SentenceList& list : question.Lists)
        for (const QString& option : list.Options)
            if ((why = WhyTextNotCarried(option)))
                return why;
    return std::nullopt;
}

QuestionFileBytes QuestionFile(const ConvertedQuestion& question, const std::map<int, QString>& pictureNames,
                               bool alwaysUtf8)
{
    const auto line = [&](const ItemText& item) {
        if (!item.hasPicture())
            return WithDoubledAmpersands(item.Text);
        // A sentence shows its picture above and its text in the sentence; a choice question's picture
        // line shows nothing of its text.
        const auto name = pictureNames.find(item.Picture);
        const QString picture = PictureLine(name != pictureNames.end() ? name->second : QString());
        return question.Kind == QuestionKind::Sentence ? picture + WithDoubledAmpersands(item.Text) : picture;
    };
    QStringList lines;
    if (question.Kind == QuestionKind::Choice) {
        QString header = QStringLiteral("X");
        for (const ChoiceAnswer& answer : question.Answers)
            header += answer.Right ? '1' : '0';
        lines << header << line(question.Body);
        for (const ChoiceAnswer& answer : question.Answers)
            lines << line(answer.Content);
    } else {
        QString header = QStringLiteral("Z") + QString::number(question.Lists.size());
        for (const SentenceList& list : question.Lists)
            header += QString::number(list.Right);
        lines << header << line(question.Body);
        for (const SentenceList& list : question.Lists) {
            QString options;
            for (const QString& option : list.Options)
                options += WithDoubledAmpersands(option) + QStringLiteral(";;");
            lines << options;
        }
    }
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!alwaysUtf8) {
        // Bytes that read as UTF-8 would be taken for UTF-8 by the reader.
        const std::optional<QByteArray> windows1250 = ToWindows1250(text);
        if (windows1250 && !IsUtf8WithMultiByte(*windows1250))
            return {*windows1250, false};
    }
    return {QByteArray(Utf8Mark.data(), qsizetype(Utf8Mark.size())) + text.toUtf8(), true};
}

std::optional<QString> WhyFolderCannotTakeBank(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 is a file: the bank is written into a new or empty folder").arg(folder);
    if (info.isDir() &&
        !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        return QStringLiteral("%1 is not empty: the bank is written into a new or empty folder").arg(folder);
    return std::nullopt;
}

std::optional<int> WriteBank(const ConvertedBank& bank, const QString& folder,
                             const BankWriteOptions& options, ConvertReports& reports)
{
    if (const std::optional<QString> why = WhyFolderCannotTakeBank(folder)) {
        reports.push_back({ReportKind::Error, QString(), 0, 0, *why});
        return std::nullopt;
    }
    // The questions the format carries, by the folder they go into, in the source's order.
    std::map<QString, std::vector<const ConvertedQuestion*>> folders;
    std::vector<QString> order;
    for (const ConvertedQuestion& question : bank.Questions) {
        if (const std::optional<QString> why = WhyNotCarried(question, bank)) {
            reports.push_back({ReportKind::Skipped, question.Source, question.SourceLine, 0,
                               QuestionLabel(question.Name) + ": " + *why + ": skipped"});
            continue;
        }
        ReportWhatIsCut(question, bank, reports);
        const QString subfolder = options.Categories ? CategoryFolder(question.Category) : QString();
        if (!folders.count(subfolder))
            order.push_back(subfolder);
        folders[subfolder].push_back(&question);
    }

    const QFileInfo target(folder);
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent)) {
        reports.push_back(
            {ReportKind::Error, QString(), 0, 0, QStringLiteral("cannot make the folder %1").arg(parent)});
        return std::nullopt;
    }
    QTemporaryDir work(parent + QStringLiteral("/.") + target.fileName() + QStringLiteral("-XXXXXX"));
    if (!work.isValid()) {
        reports.push_back({ReportKind::Error, QString(), 0, 0,
                           QStringLiteral("cannot write into %1: %2").arg(parent, work.errorString())});
        return std::nullopt;
    }
    // A temporary folder is the owner's alone; the bank is shared as any folder is.
    QFile::setPermissions(work.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                           QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther);
    int written = 0;
    for (const QString& subfolder : order) {
        const std::vector<const ConvertedQuestion*>& questions = folders[subfolder];
        const QDir dir(work.path() + (subfolder.isEmpty() ? QString() : '/' + subfolder));
        if (!dir.mkpath(QStringLiteral("."))) {
            reports.push_back({ReportKind::Error, QString(), 0, 0,
                               QStringLiteral("cannot make the folder %1").arg(subfolder)});
            return std::nullopt;
        }
        const int width = std::max(3, Digits(int(questions.size())));
        QSet<QString> taken; // lower case: a bank may travel to a system that ignores case
        for (std::size_t i = 0; i < questions.size(); ++i) {
            const ConvertedQuestion& question = *questions[i];
            const QString number = QStringLiteral("%1").arg(i + 1, width, 10, QLatin1Char('0'));
            const QString stem = SafeFileStem(WithoutOrderPrefix(question.Name));
            const QString base = stem.isEmpty() ? number : number + '-' + stem;
            std::map<int, QString> pictureNames;
            std::vector<const ItemText*> items{&question.Body};
            for (const ChoiceAnswer& answer : question.Answers)
                items.push_back(&answer.Content);
            for (const ItemText* item : items) {
                if (!item->hasPicture() || pictureNames.count(item->Picture))
                    continue;
                const PictureFile& picture = bank.Pictures[std::size_t(item->Picture)];
                QString pictureStem =
                    SafeFileStem(WithoutOrderPrefix(QFileInfo(picture.Name).completeBaseName()));
                if (pictureStem.isEmpty())
                    pictureStem = QStringLiteral("rysunek");
                const QString extension = '.' + SniffPictureFormat(picture.Bytes);
                QString name = number + '-' + pictureStem + extension;
                for (int copy = 2; taken.contains(name.toLower()); ++copy)
                    name = number + '-' + pictureStem + '-' + QString::number(copy) + extension;
                taken.insert(name.toLower());
                pictureNames[item->Picture] = name;
                if (!WriteNewFile(dir.filePath(name), picture.Bytes, reports))
                    return std::nullopt;
            }
            const QuestionFileBytes file = QuestionFile(question, pictureNames, options.AlwaysUtf8);
            if (!WriteNewFile(dir.filePath(base + QStringLiteral(".txt")), file.Bytes, reports))
                return std::nullopt;
            ++written;
        }
    }
    // The bank takes its name only now; an empty folder of that name gives way to it.
    if (target.isDir())
        QDir().rmdir(target.absoluteFilePath());
    if (!QDir().rename(work.path(), target.absoluteFilePath())) {
        reports.push_back({ReportKind::Error, QString(), 0, 0,
                           QStringLiteral("cannot give the bank the name %1").arg(folder)});
        return std::nullopt;
    }
    work.setAutoRemove(false);
    NoteCategories(bank, folders, reports);
    return written;
}

} // namespace zdawnik
