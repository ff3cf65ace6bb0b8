#include "progress/RunRecord.h"

#include "progress/FileNameText.h"
#include "progress/RunRecordFormat.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>

namespace zdawnik {

namespace format = recordformat;

namespace {

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

// A name listed twice, if any. A name listed twice shows as a hash found twice: the hashes are sorted,
// and only the names of a hash found twice are compared. A hash set of the names would visit every one
// of them again, scattered over the memory.
const std::string* NameListedTwice(const std::vector<QuestionProgress>& questions)
{
    std::vector<std::size_t> hashes;
    hashes.reserve(questions.size());
    for (const QuestionProgress& question : questions)
        hashes.push_back(std::hash<std::string>{}(question.FileName));
    std::sort(hashes.begin(), hashes.end());
    for (auto twice = std::adjacent_find(hashes.begin(), hashes.end()); twice != hashes.end();
         twice = std::adjacent_find(twice + 1, hashes.end())) {
        std::vector<const std::string*> sharing;
        for (const QuestionProgress& question : questions)
            if (std::hash<std::string>{}(question.FileName) == *twice)
                sharing.push_back(&question.FileName);
        std::sort(sharing.begin(), sharing.end(), [](auto* a, auto* b) { return *a < *b; });
        const auto same =
            std::adjacent_find(sharing.begin(), sharing.end(), [](auto* a, auto* b) { return *a == *b; });
        if (same != sharing.end())
            return *same;
    }
    return nullptr;
}

// The fields of a record, in the order of the format's keys.
enum class Field
{
    Format,
    Version,
    Bank,
    Saved,
    Finished,
    StudySeconds,
    Answers,
    GoodAnswers,
    Questions,
    Count,
    None,
};

constexpr const char* Keys[] = {format::Format,  format::FormatVersion, format::Bank,
                                format::Saved,   format::Finished,      format::StudySeconds,
                                format::Answers, format::GoodAnswers,   format::Questions};
static_assert(std::size(Keys) == std::size_t(Field::Count));

// The kind of JSON value a field, or a field of a question, holds.
enum class Kind
{
    Text,
    Whole,
    Truth,
    List,
};

constexpr Kind KindOf(Field field)
{
    switch (field) {
    case Field::Format:
    case Field::Bank:
    case Field::Saved:
        return Kind::Text;
    case Field::Finished:
        return Kind::Truth;
    case Field::Questions:
        return Kind::List;
    default:
        return Kind::Whole;
    }
}

// A question is [name, repeats, mastered].
constexpr Kind QuestionFieldKinds[format::QuestionFields] = {Kind::Text, Kind::Whole, Kind::Truth};

const char* KindName(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return "a string";
    case Kind::Whole:
        return "a whole number";
    case Kind::Truth:
        return "true or false";
    case Kind::List:
        return "a list";
    }
    return "";
}

// How deep the parser stands in a record.
enum Depth
{
    Outside,
    InRecord,
    InQuestions,
    InQuestion,
};

// Takes the parser's events one by one and keeps only what a record may hold: one object of the known
// fields, each once, of its kind and within its range, with a list of questions, each a list of its
// name, counter and mark. The first thing out of place stops the parse, so nothing of a damaged file
// is built up beyond it.
class RecordReader
{
public:
    RecordReader(RunRecord& record, const std::string& bankPath) : m_record(record), m_bankPath(bankPath) {}

    const std::string& problem() const { return m_problem; }
    // After a whole parse: the checks of the fields against each other.
    bool Finish();

    // The parser's events.
    bool null() { return Refuse(Where() + " is null"); }
    bool boolean(bool value);
    bool number_integer(std::int64_t value) { return Whole(value); }
    bool number_unsigned(std::uint64_t value)
    {
        return Whole(static_cast<std::int64_t>(
            std::min<std::uint64_t>(value, std::numeric_limits<std::int64_t>::max())));
    }
    bool number_float(double, const std::string&)
    {
        return Expect(Kind::Whole) && Refuse(Where() + " is no whole number");
    }
    bool string(std::string& value);
    bool binary(nlohmann::json::binary_t&) { return Refuse("binary data"); } // never in JSON text
    bool start_object(std::size_t);
    bool key(std::string& name);
    bool end_object() { return true; } // the record's own object: no other may open
    bool start_array(std::size_t);
    bool end_array();
    bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception& error)
    {
        return Refuse(std::string("not JSON: ") + error.what());
    }

private:
    bool Refuse(std::string why)
    {
        m_problem = std::move(why);
        return false;
    }

    // Where the value now read stands, for the reason of a refusal.
    std::string Where() const
    {
        switch (m_depth) {
        case Outside:
            return "the file";
        case InRecord:
            return std::string("\"") + Keys[int(m_field)] + '"';
        case InQuestions:
            return "a question";
        case InQuestion:
            break;
        }
        static constexpr const char* QuestionFieldNames[] = {"a question's name", "a counter",
                                                             "a mastered mark"};
        return m_questionField < format::QuestionFields ? QuestionFieldNames[m_questionField]
                                                        : "a question's fourth field";
    }

    // Whether a value of this kind may stand where the parser is.
    bool Expect(Kind kind)
    {
        Kind expected = Kind::List;
        switch (m_depth) {
        case Outside:
            return Refuse("not a JSON object");
        case InRecord:
            expected = KindOf(m_field);
            break;
        case InQuestions:
            break;
        case InQuestion:
            if (m_questionField >= format::QuestionFields)
                return Refuse("a question is not [name, repeats, mastered]");
            expected = QuestionFieldKinds[m_questionField];
            break;
        }
        return expected == kind || Refuse(Where() + " is not " + KindName(expected));
    }

    QuestionProgress& Question() { return m_record.Questions.back(); }

    bool Whole(std::int64_t value);
    bool InRange(std::int64_t value, std::int64_t highest)
    {
        return (value >= 0 && value <= highest) ||
               Refuse(Where() + " is not from 0 to " + std::to_string(highest));
    }
    bool Name(const std::string& text, std::string& name);

    RunRecord& m_record;
    const std::string& m_bankPath;
    std::string m_problem;
    Depth m_depth = Outside;
    Field m_field = Field::None;
    // The field of the question now read: 0 its name, 1 its counter, 2 its mark.
    int m_questionField = 0;
    std::bitset<std::size_t(Field::Count)> m_seen;
};

bool RecordReader::start_object(std::size_t)
{
    if (m_depth != Outside)
        return Refuse(Where() + " is an object");
    m_depth = InRecord;
    return true;
}

bool RecordReader::key(std::string& name)
{
    const auto* found = std::find(std::begin(Keys), std::end(Keys), name);
    if (found == std::end(Keys))
        return Refuse("an unknown field \"" + name + "\"");
    m_field = Field(found - std::begin(Keys));
    if (m_seen.test(std::size_t(m_field)))
        return Refuse("\"" + name + "\" is given twice");
    m_seen.set(std::size_t(m_field));
    return true;
}

bool RecordReader::start_array(std::size_t)
{
    if (!Expect(Kind::List))
        return false;
    if (m_depth == InRecord) {
        m_depth = InQuestions;
        return true;
    }
    if (m_record.Questions.size() >= MaxRecordQuestions)
        return Refuse("more than " + std::to_string(MaxRecordQuestions) + " questions");
    m_record.Questions.emplace_back();
    m_depth = InQuestion;
    m_questionField = 0;
    return true;
}

bool RecordReader::end_array()
{
    if (m_depth == InQuestions) {
        m_depth = InRecord;
        return true;
    }
    if (m_questionField != format::QuestionFields)
        return Refuse("a question is not [name, repeats, mastered]");
    if (Question().Mastered && Question().Repeats != 0)
        return Refuse("\"" + Question().FileName + "\" is mastered with showings still due");
    m_depth = InQuestions;
    return true;
}

bool RecordReader::boolean(bool value)
{
    if (!Expect(Kind::Truth))
        return false;
    if (m_depth == InQuestion) {
        Question().Mastered = value;
        ++m_questionField;
        return true;
    }
    m_record.Finished = value;
    return true;
}

bool RecordReader::Whole(std::int64_t value)
{
    if (!Expect(Kind::Whole))
        return false;
    if (m_depth == InQuestion) {
        if (!InRange(value, MaxRecordRepeats))
            return false;
        Question().Repeats = int(value);
        ++m_questionField;
        return true;
    }
    switch (m_field) {
    case Field::Version:
        return value == format::Version || Refuse("version " + std::to_string(value) +
                                                  ", this program reads " + std::to_string(format::Version));
    case Field::StudySeconds:
        return InRange(value, MaxRecordStudySeconds) && (m_record.StudySeconds = value, true);
    case Field::Answers:
        return InRange(value, MaxRecordAnswers) && (m_record.Answers = int(value), true);
    default: // the good answers; that they are no more than the answers is checked at the end
        return InRange(value, MaxRecordAnswers) && (m_record.GoodAnswers = int(value), true);
    }
}

// The bytes of a name or a path from their text in the file.
bool RecordReader::Name(const std::string& text, std::string& name)
{
    if (text.find('%') == std::string::npos) {
        name.assign(text);
        return true;
    }
    std::optional<std::string> bytes = FileNameFromText(text);
    if (!bytes)
        return Refuse(Where() + " has a broken %-escape");
    name = std::move(*bytes);
    return true;
}

bool RecordReader::string(std::string& value)
{
    if (!Expect(Kind::Text))
        return false;
    if (m_depth == InQuestion) {
        ++m_questionField;
        if (!Name(value, Question().FileName))
            return false;
        return IsBareQuestionFileName(Question().FileName) ||
               Refuse("\"" + Question().FileName + "\" is no question file name in a bank");
    }
    switch (m_field) {
    case Field::Format:
        return value == format::Name || Refuse("not a progress file");
    case Field::Bank:
        if (!Name(value, m_record.BankPath))
            return false;
        return m_record.BankPath == m_bankPath || Refuse("kept for another bank, " + m_record.BankPath);
    default: // the time of saving
        m_record.SavedAt = QDateTime::fromString(QString::fromStdString(value), Qt::ISODate);
        // The time is written back in UTC: a time that falls outside the years ISO 8601 writes
        // plainly once taken to UTC would be written as no date at all.
        return (m_record.SavedAt.isValid() && m_record.SavedAt.toUTC().date().year() >= 1 &&
                m_record.SavedAt.toUTC().date().year() <= 9999) ||
               Refuse("the time of saving is no date");
    }
}

bool RecordReader::Finish()
{
    if (!m_seen.all()) {
        std::size_t missing = 0;
        while (m_seen.test(missing))
            ++missing;
        return Refuse("no \"" + std::string(Keys[missing]) + "\"");
    }
    const std::size_t count = m_record.Questions.size();
    if (count == 0)
        return Refuse("a bank of no questions");
    if (m_record.GoodAnswers > m_record.Answers)
        return Refuse("more good answers than answers");
    int mastered = 0;
    for (const QuestionProgress& question : m_record.Questions)
        mastered += question.Mastered;
    if (const std::string* twice = NameListedTwice(m_record.Questions))
        return Refuse("\"" + *twice + "\" is listed twice");
    // Every mastering took a right answer, and a run is finished exactly when all are mastered.
    if (mastered > m_record.GoodAnswers)
        return Refuse("more questions mastered than answers right");
    if (m_record.Finished != (std::size_t(mastered) == count))
        return Refuse(m_record.Finished ? "finished with questions pending"
                                        : "every question mastered, yet not finished");
    return true;
}

} // namespace

RunRecord DecodeRunRecord(const QByteArray& bytes, const std::string& bankPath)
{
    if (bytes.size() > MaxRecordBytes)
        throw EDamagedProgress("larger than " + std::to_string(MaxRecordBytes) + " bytes");
    RunRecord record;
    RecordReader reader(record, bankPath);
    // Strict: nothing but white space may follow the record.
    if (!nlohmann::json::sax_parse(bytes.begin(), bytes.end(), &reader) || !reader.Finish())
        throw EDamagedProgress(reader.problem());
    return record;
}

std::string EncodeRunRecord(const RunRecord& record)
{
    namespace format = recordformat;
    // Fields keep the order they are set in: the file opens with what it is and whose, and the
    // questions, the longest part, come last.
    nlohmann::ordered_json document = nlohmann::ordered_json::object();
    document[format::Format] = format::Name;
    document[format::FormatVersion] = format::Version;
    document[format::Bank] = FileNameToText(record.BankPath);
    document[format::Saved] = record.SavedAt.toUTC().toString(Qt::ISODate).toStdString();
    document[format::Finished] = record.Finished;
    document[format::StudySeconds] = record.StudySeconds;
    document[format::Answers] = record.Answers;
    document[format::GoodAnswers] = record.GoodAnswers;
    nlohmann::ordered_json& questions = document[format::Questions] = nlohmann::ordered_json::array();
    for (const QuestionProgress& question : record.Questions)
        questions.push_back(nlohmann::ordered_json::array(
            {FileNameToText(question.FileName), question.Repeats, question.Mastered}));
    return document.dump() + "\n";
}

} // namespace zdawnik
