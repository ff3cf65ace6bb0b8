#include "progress/RunRecord.h"

#include "progress/FileNameText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace zdawnik {

namespace {

constexpr char FormatName[] = "zdawnik-progress";
constexpr int FormatVersion = 1;

bool NeedsEscapeInJson(char c)
{
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

// A JSON string of UTF-8 text.
void AppendString(std::string& out, std::string_view text)
{
    static constexpr char Digits[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!NeedsEscapeInJson(c)) {
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += Digits[byte >> 4];
            out += Digits[byte & 15];
        } else {
            out += '\\';
            out += c;
        }
    }
    out += '"';
}

// A JSON string of a file name's text. Names rarely hold anything JSON escapes: the text is
// written straight into place and escaped only when it does.
void AppendName(std::string& out, std::string_view name)
{
    out += '"';
    const std::size_t start = out.size();
    AppendFileNameText(out, name);
    for (std::size_t i = start; i < out.size(); ++i) {
        if (NeedsEscapeInJson(out[i])) {
            const std::string text = out.substr(start);
            out.resize(start - 1);
            AppendString(out, text);
            return;
        }
    }
    out += '"';
}

void AppendNumber(std::string& out, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void AppendField(std::string& out, const char* key)
{
    out += "  \"";
    out += key;
    out += "\": ";
}

[[noreturn]] void Damaged(const std::string& why)
{
    throw EDamagedProgress(why);
}

QJsonValue Field(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        Damaged(std::string("no \"") + key + "\"");
    return value;
}

qint64 Integer(const QJsonValue& value, qint64 lowest, qint64 highest, const char* what)
{
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || number != std::trunc(number) || number < double(lowest) ||
        number > double(highest))
        Damaged(std::string(what) + " is not a whole number from " + std::to_string(lowest) + " to " +
                std::to_string(highest));
    return static_cast<qint64>(number);
}

bool Boolean(const QJsonValue& value, const char* what)
{
    if (!value.isBool())
        Damaged(std::string(what) + " is not true or false");
    return value.toBool();
}

std::string Text(const QJsonValue& value, const char* what)
{
    if (!value.isString())
        Damaged(std::string(what) + " is not a string");
    // Straight from the parser's text to the name's bytes, with one allocation on the way.
    const QString text = value.toString();
    std::string utf8(static_cast<std::size_t>(text.size()) * 3, '\0');
    QStringEncoder encoder(QStringEncoder::Utf8);
    utf8.resize(static_cast<std::size_t>(encoder.appendToBuffer(utf8.data(), text) - utf8.data()));
    if (utf8.find('%') == std::string::npos)
        return utf8;
    std::optional<std::string> bytes = FileNameFromText(utf8);
    if (!bytes)
        Damaged(std::string(what) + " has a broken %-escape");
    return std::move(*bytes);
}

// What the system's listing never puts in a name: separators that would lead out of the bank folder,
// and the terminator. A backslash is an ordinary character in a POSIX name.
bool NeverInAName(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':' || c == '\0';
#else
    return c == '/' || c == '\0';
#endif
}

// A name the bank scan could list: one question file directly in the bank folder.
bool IsBareQuestionFileName(const std::string& name)
{
    return IsQuestionFileName(name) && std::none_of(name.begin(), name.end(), NeverInAName);
}

QuestionProgress Question(const QJsonValue& value)
{
    if (!value.isArray())
        Damaged("a question is not a list");
    const QJsonArray fields = value.toArray();
    if (fields.size() != 3)
        Damaged("a question is not [name, repeats, mastered]");
    QuestionProgress question;
    question.FileName = Text(fields.at(0), "a question's name");
    if (!IsBareQuestionFileName(question.FileName))
        Damaged("\"" + question.FileName + "\" is no question file name in a bank");
    question.Repeats = static_cast<int>(Integer(fields.at(1), 0, MaxRecordRepeats, "a counter"));
    question.Mastered = Boolean(fields.at(2), "a mastered mark");
    if (question.Mastered && question.Repeats != 0)
        Damaged("\"" + question.FileName + "\" is mastered with showings still due");
    return question;
}

} // namespace

namespace {

// Printable ASCII that neither JSON nor the file-name text escapes: most names, copied as they are.
bool IsPlainName(std::string_view name)
{
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x80 || c == '"' || c == '\\' || c == '%')
            return false;
    }
    return true;
}

// One question a line: ["name", repeats, mastered]. A bank may hold a hundred thousand of them, and
// they are all written after every check: the line is put together with as few appends as may be.
void AppendQuestion(std::string& out, std::string_view name, int repeats, bool mastered)
{
    out += "    [";
    if (IsPlainName(name)) {
        out += '"';
        out.append(name);
        out += '"';
    } else {
        AppendName(out, name);
    }
    char tail[32] = {',', ' '};
    char* end = std::to_chars(tail + 2, tail + 16, repeats).ptr;
    const std::string_view mark = mastered ? ", true]" : ", false]";
    end = std::copy(mark.begin(), mark.end(), end);
    out.append(tail, end);
}

// The record's header and then its questions, which appendQuestions writes.
std::string Encode(const RunRecord& record, std::size_t questions,
                   const std::function<void(std::string&)>& appendQuestions)
{
    std::string out;
    out.reserve(512 + questions * 40);
    out += "{\n";
    AppendField(out, "format");
    AppendString(out, FormatName);
    out += ",\n";
    AppendField(out, "version");
    AppendNumber(out, FormatVersion);
    out += ",\n";
    AppendField(out, "bank");
    AppendName(out, record.BankPath);
    out += ",\n";
    AppendField(out, "saved");
    AppendString(out, record.SavedAt.toUTC().toString(Qt::ISODate).toStdString());
    out += ",\n";
    AppendField(out, "finished");
    out += record.Finished ? "true" : "false";
    out += ",\n";
    AppendField(out, "studySeconds");
    AppendNumber(out, record.StudySeconds);
    out += ",\n";
    AppendField(out, "answers");
    AppendNumber(out, record.Answers);
    out += ",\n";
    AppendField(out, "goodAnswers");
    AppendNumber(out, record.GoodAnswers);
    out += ",\n";
    AppendField(out, "questions");
    out += "[\n";
    const std::size_t first = out.size();
    appendQuestions(out);
    if (out.size() > first)
        out.resize(out.size() - 2); // the separator after the last question
    out += "\n  ]\n}\n";
    return out;
}

} // namespace

std::string EncodeRunRecord(const RunRecord& record)
{
    return Encode(record, record.Questions.size(), [&](std::string& out) {
        for (const QuestionProgress& question : record.Questions) {
            AppendQuestion(out, question.FileName, question.Repeats, question.Mastered);
            out += ",\n";
        }
    });
}

std::string EncodeRunRecord(const RunRecord& record, const StudyPool& pool)
{
    const std::vector<PoolEntry>& entries = pool.Pool();
    std::vector<bool> pending(entries.size(), false);
    for (const int entry : pool.PendingList())
        pending[static_cast<std::size_t>(entry)] = true;
    // A question set aside was never mastered: a later sitting offers it again.
    for (const int entry : pool.SetAside())
        pending[static_cast<std::size_t>(entry)] = true;
    return Encode(record, entries.size(), [&](std::string& out) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            AppendQuestion(out, entries[i].FileName, entries[i].Repeats, !pending[i]);
            out += ",\n";
        }
    });
}

RunRecord DecodeRunRecord(const QByteArray& bytes, const std::string& bankPath)
{
    if (bytes.size() > MaxRecordBytes)
        Damaged("larger than " + std::to_string(MaxRecordBytes) + " bytes");
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        Damaged("not JSON: " + error.errorString().toStdString() + " at byte " +
                std::to_string(error.offset));
    if (!document.isObject())
        Damaged("not a JSON object");
    const QJsonObject root = document.object();
    if (Field(root, "format") != QLatin1String(FormatName))
        Damaged("not a progress file");
    const qint64 version = Integer(Field(root, "version"), 0, std::numeric_limits<int>::max(), "the version");
    if (version != FormatVersion)
        Damaged("version " + std::to_string(version) + ", this program reads " +
                std::to_string(FormatVersion));

    RunRecord record;
    record.BankPath = Text(Field(root, "bank"), "the bank");
    if (record.BankPath != bankPath)
        Damaged("kept for another bank, " + record.BankPath);
    const QJsonValue saved = Field(root, "saved");
    record.SavedAt = QDateTime::fromString(saved.toString(), Qt::ISODate);
    if (!saved.isString() || !record.SavedAt.isValid())
        Damaged("the time of saving is no date");
    record.Finished = Boolean(Field(root, "finished"), "finished");
    record.StudySeconds = Integer(Field(root, "studySeconds"), 0, MaxRecordStudySeconds, "the study time");
    record.Answers = static_cast<int>(Integer(Field(root, "answers"), 0, MaxRecordAnswers, "the answers"));
    record.GoodAnswers =
        static_cast<int>(Integer(Field(root, "goodAnswers"), 0, record.Answers, "the good answers"));

    const QJsonValue questions = Field(root, "questions");
    if (!questions.isArray())
        Damaged("the questions are not a list");
    const QJsonArray list = questions.toArray();
    if (list.isEmpty() || list.size() > MaxRecordQuestions)
        Damaged("a bank of " + std::to_string(list.size()) + " questions");
    record.Questions.reserve(static_cast<std::size_t>(list.size()));
    // A name listed twice shows as a hash found twice. The hashes are taken while each name is at
    // hand and sorted; only for a hash found twice are the names themselves compared. A hash set of
    // the names would visit every one of them again, scattered over the memory.
    std::vector<std::size_t> hashes;
    hashes.reserve(static_cast<std::size_t>(list.size()));
    int mastered = 0;
    for (const QJsonValue value : list) {
        record.Questions.push_back(Question(value));
        mastered += record.Questions.back().Mastered;
        hashes.push_back(std::hash<std::string>{}(record.Questions.back().FileName));
    }
    std::sort(hashes.begin(), hashes.end());
    for (auto twice = std::adjacent_find(hashes.begin(), hashes.end()); twice != hashes.end();
         twice = std::adjacent_find(twice + 1, hashes.end())) {
        std::vector<std::string_view> sharing;
        for (const QuestionProgress& question : record.Questions)
            if (std::hash<std::string>{}(question.FileName) == *twice)
                sharing.push_back(question.FileName);
        std::sort(sharing.begin(), sharing.end());
        if (const auto same = std::adjacent_find(sharing.begin(), sharing.end()); same != sharing.end())
            Damaged("\"" + std::string(*same) + "\" is listed twice");
    }
    // Every mastering took a right answer, and a run is finished exactly when all are mastered.
    if (mastered > record.GoodAnswers)
        Damaged("more questions mastered than answers right");
    if (record.Finished != (mastered == static_cast<int>(record.Questions.size())))
        Damaged(record.Finished ? "finished with questions pending"
                                : "every question mastered, yet not finished");
    return record;
}

} // namespace zdawnik
