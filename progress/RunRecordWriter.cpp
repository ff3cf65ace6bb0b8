#include "progress/RunRecordWriter.h"

#include "drill/StudyPool.h"
#include "progress/FileNameText.h"
#include "progress/RunRecordFormat.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace zdawnik {

namespace format = recordformat;

namespace {

// Fields keep the order they are set in: the file opens with what it is and whose, and the
// questions, the longest part, come last.
using Json = nlohmann::ordered_json;

// The JSON text of every question's name, as the serializer writes it, one after the other; Ends[i]
// is where the i-th ends.
struct NameTexts
{
    std::string Text;
    std::vector<std::size_t> Ends;
};

template <typename NameOf> NameTexts MakeNameTexts(std::size_t questions, NameOf nameOf)
{
    NameTexts names;
    names.Ends.reserve(questions);
    for (std::size_t i = 0; i < questions; ++i) {
        names.Text += Json(FileNameToText(nameOf(i))).dump();
        names.Ends.push_back(names.Text.size());
    }
    return names;
}

// The record without its questions, which the file holds last.
Json Header(const RunRecord& figures)
{
    Json document = Json::object();
    document[format::Format] = format::Name;
    document[format::FormatVersion] = format::Version;
    document[format::Bank] = FileNameToText(figures.BankPath);
    document[format::Saved] = figures.SavedAt.toUTC().toString(Qt::ISODate).toStdString();
    document[format::Finished] = figures.Finished;
    document[format::StudySeconds] = figures.StudySeconds;
    document[format::Answers] = figures.Answers;
    document[format::GoodAnswers] = figures.GoodAnswers;
    return document;
}

// The file, compact: the header as the serializer writes it, with the questions' list filled in as
// [name, repeats, mastered] entries, from the names' text, counterOf(i) and masteredOf(i). A hundred
// thousand questions are written after every check: the serializer takes a few times longer over a
// list of lists than the rest of a save, while the entries hold nothing to escape but their names,
// which were written by the serializer once.
template <typename CounterOf, typename MasteredOf>
std::string Text(const RunRecord& figures, const NameTexts& names, CounterOf counterOf, MasteredOf masteredOf)
{
    // The header's closing brace gives way to the questions' list.
    std::string header = Header(figures).dump();
    header.pop_back();
    header += ",\"" + std::string(format::Questions) + "\":[";

    std::string text;
    text.reserve(header.size() + names.Text.size() + names.Ends.size() * 16 + 4);
    text += header;
    std::size_t start = 0;
    for (std::size_t i = 0; i < names.Ends.size(); ++i) {
        text += i == 0 ? "[" : ",[";
        text.append(names.Text, start, names.Ends[i] - start);
        start = names.Ends[i];
        char tail[24] = {','};
        char* end = std::to_chars(tail + 1, tail + 12, counterOf(i)).ptr;
        const std::string_view mark = masteredOf(i) ? ",true]" : ",false]";
        end = std::copy(mark.begin(), mark.end(), end);
        text.append(tail, end);
    }
    text += "]}\n";
    return text;
}

} // namespace

std::string EncodeRunRecord(const RunRecord& record)
{
    const std::vector<QuestionProgress>& questions = record.Questions;
    const NameTexts names = MakeNameTexts(
        questions.size(), [&](std::size_t i) -> const std::string& { return questions[i].FileName; });
    return Text(
        record, names, [&](std::size_t i) { return questions[i].Repeats; },
        [&](std::size_t i) { return questions[i].Mastered; });
}

struct RunRecordWriter::Names : NameTexts
{
};

RunRecordWriter::RunRecordWriter(const StudyPool& pool) : m_pool(pool)
{
    const std::vector<PoolEntry>& entries = pool.Pool();
    m_names = std::make_unique<Names>(Names{MakeNameTexts(
        entries.size(), [&](std::size_t i) -> const std::string& { return entries[i].FileName; })});
}

RunRecordWriter::~RunRecordWriter() = default;

std::string RunRecordWriter::Encode(const RunRecord& figures)
{
    const std::vector<PoolEntry>& entries = m_pool.Pool();
    if (entries.size() != m_names->Ends.size())
        throw std::logic_error("the pool was built again under its record writer");
    m_pool.MarkNotMastered(m_pending);
    return Text(
        figures, *m_names, [&](std::size_t i) { return entries[i].Repeats; },
        [&](std::size_t i) { return m_pending[i] == 0; });
}

} // namespace zdawnik
