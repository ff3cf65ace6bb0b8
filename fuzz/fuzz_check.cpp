// Fuzz target: the bytes of a question file through the bank checker, to the line that
// `zdawnik-check --json` prints for it. The line must be one JSON object with the report's thirteen
// fields, of their types, whatever the file holds; every problem names a kept line or none.
//
// Pictures are looked up and loaded as the checker always does, in a small bank of raster pictures
// kept beside this file. It holds no metafiles: each would start the helper process, a hundred times
// the cost of a whole run of the parser, and the metafile targets try that road.

#include "bank/Question.h"
#include "base/VisibleText.h"
#include "check/FileChecker.h"
#include "check/ReportFormat.h"
#include "widgets/LayoutFonts.h"

#include <QGuiApplication>

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

    static constexpr std::array<const char*, 13> Fields = {
        "file",    "path",  "lines", "shown",   "encoding", "kind", "header", "body", "questionPicture",
        "answers", "lists", "error", "problems"};
    Require(json.size() == Fields.size(), "the report has thirteen fields");
    for (const char* field : Fields)
        Require(json.contains(field), "the report has each of its fields");

    Require(json["file"] == "pytanie.txt" && json["path"] == "pytanie.txt", "the file is named as given");
    Require(json["lines"].is_number_integer() && json["lines"] == report.Lines, "lines is the line count");
    Require(json["shown"].is_boolean() && json["shown"] == report.Shown, "shown is a truth value");
    Require(json["encoding"] == "windows-1250" || json["encoding"] == "utf-8" ||
                json["encoding"] == "utf-16le" || json["encoding"] == "utf-16be",
            "the encoding is one of four");
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
    Require(json["problems"].is_array() && json["problems"].size() == report.Findings.size(),
            "problems is the list of findings");
    for (const Json& problem : json["problems"]) {
        Require(problem.is_object() && problem.size() == 3, "a problem is an object of three fields");
        const Json& line = problem.at("line");
        Require(line.is_null() || (line.is_number_integer() && line >= 1 &&
                                   line <= std::min(report.Lines, MaxQuestionLines + 1)),
                "a problem stands on a line of the file, or on none");
        Require(IsText(problem.at("code")) && !problem.at("code").get<std::string>().empty(),
                "a problem has its code");
        Require(IsText(problem.at("message")) && !problem.at("message").get<std::string>().empty(),
                "a problem says what is wrong");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The checker measures texts with the window's fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    InstallFontSubstitutes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FileChecker checker;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const FileReport report = checker.checkBytes(bytes, "pytanie.txt", Bank);
    CheckJson(ToJson(report), report);

    const std::vector<std::string> text = ToTextLines(report, true);
    Require(text.size() == report.Findings.size() + 1, "the text report is a summary and one line a problem");
    for (const std::string& line : text) {
        Require(line.starts_with("pytanie.txt:") && line.find('\n') == std::string::npos,
                "each text line names the file");
        const std::string shown = VisibleText(line);
        Require(std::none_of(shown.begin(), shown.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }),
                "a line as written holds no control character");
    }
    return 0;
}
