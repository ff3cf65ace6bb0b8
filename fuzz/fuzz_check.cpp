// Fuzz target: the bytes of a question file through the bank checker, to the line that
// `zdawnik-check --json` prints for it. The line must be one JSON object with the report's twelve
// fields, of their types, whatever the file holds.
//
// Pictures are looked up and loaded as the checker always does, in a small bank of raster pictures
// kept beside this file. It holds no metafiles: each would start the helper process, a hundred times
// the cost of a whole run of the parser, and the metafile targets try that road.

#include "check/BankCheck.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"

using namespace zdawnik;
using zdawnik::fuzz::Require;
using Json = nlohmann::json;

namespace {

const std::filesystem::path Bank = ZDAWNIK_FUZZ_BANK;

bool IsText(const Json& value)
{
    return value.is_string();
}

bool IsTextOrNull(const Json& value)
{
    return value.is_string() || value.is_null();
}

void CheckAnswer(const Json& answer)
{
    Require(answer.is_object() && answer.size() == 3, "an answer is an object of three fields");
    Require(IsText(answer.at("text")) && IsText(answer.at("key")) && IsTextOrNull(answer.at("picture")),
            "an answer has its text, key and picture");
}

void CheckList(const Json& list)
{
    Require(list.is_object() && list.size() == 3, "a list is an object of three fields");
    Require(IsText(list.at("key")) && list.at("options").is_array() && IsText(list.at("rest")),
            "a list has its key, options and rest");
    for (const Json& option : list.at("options"))
        Require(IsText(option), "an option is a text");
}

void CheckJson(const std::string& line, const FileReport& report)
{
    Require(line.find('\n') == std::string::npos, "the report is one line");
    const Json json = Json::parse(line, nullptr, false);
    Require(!json.is_discarded(), "the report parses as JSON");
    Require(json.is_object(), "the report is an object");

    static constexpr std::array<const char*, 12> Fields = {"file",    "lines",  "shown", "encoding",
                                                           "kind",    "header", "body",  "questionPicture",
                                                           "answers", "lists",  "error", "problems"};
    Require(json.size() == Fields.size(), "the report has twelve fields");
    for (const char* field : Fields)
        Require(json.contains(field), "the report has each of its fields");

    Require(json["file"] == "pytanie.txt", "the file is named as given");
    Require(json["lines"].is_number_integer() && json["lines"] == report.Lines, "lines is the line count");
    Require(json["shown"].is_boolean() && json["shown"] == report.Shown, "shown is a truth value");
    Require(json["encoding"] == "windows-1250" || json["encoding"] == "utf-8", "the encoding is one of two");
    Require(json["kind"] == "choice" || json["kind"] == "sentence", "the kind is one of two");
    Require(IsText(json["header"]) && IsText(json["body"]) && IsTextOrNull(json["questionPicture"]),
            "header, body and question picture are texts");
    Require(json["answers"].is_array() && json["answers"].size() == report.Answers.size(),
            "answers is the list of answers");
    Require(json["answers"].size() <= 12, "no more than twelve answers are shown");
    for (const Json& answer : json["answers"])
        CheckAnswer(answer);
    Require(json["lists"].is_array() && json["lists"].size() == report.Lists.size() &&
                json["lists"].size() <= 4,
            "lists is the list of lists, at most four");
    for (const Json& list : json["lists"])
        CheckList(list);
    const Json& error = json["error"];
    Require(error.is_null() || (error.is_object() && error.size() == 2 && IsText(error.at("type")) &&
                                IsText(error.at("message"))),
            "error is null or a type and a message");
    Require(json["problems"].is_array() && json["problems"].size() == report.Problems.size(),
            "problems is the list of problems");
    for (const Json& problem : json["problems"])
        Require(IsText(problem), "a problem is a text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const FileReport report = CheckQuestionBytes(bytes, "pytanie.txt", Bank);
    CheckJson(ToJson(report), report);

    const std::vector<std::string> text = ToTextLines(report);
    Require(text.size() == report.Problems.size() + 1, "the text report is a summary and one line a problem");
    for (const std::string& line : text)
        Require(line.starts_with("pytanie.txt: ") && line.find('\n') == std::string::npos,
                "each text line names the file");
    return 0;
}
