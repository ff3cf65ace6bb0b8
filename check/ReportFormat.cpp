#include "check/ReportFormat.h"

#include "bank/Question.h"
#include "check/FileReport.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

namespace zdawnik {

namespace {

using Json = nlohmann::ordered_json;

// One line of compact JSON straight into out. Texts are UTF-8 by now; anything else would be shown
// as U+FFFD rather than stop the report.
void WriteLine(const Json& json, std::ostream& out)
{
    nlohmann::detail::serializer<Json> serializer(nlohmann::detail::output_adapter<char>(out), ' ',
                                                  Json::error_handler_t::replace);
    serializer.dump(json, false, false, 0);
}

Json ProblemJson(const Finding& finding)
{
    return Json{{"line", finding.Line ? Json(*finding.Line) : Json(nullptr)},
                {"code", CodeName(finding.Code)},
                {"message", finding.Message}};
}

std::string Counted(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string SummaryOf(const FileReport& report)
{
    std::string summary;
    if (report.OutsideBank)
        return "not read: a link out of the bank folder";
    if (!IsShownLineCount(report.Lines))
        summary = "not shown (" +
                  (report.Lines > MaxQuestionLines ? "more than " + Counted(MaxQuestionLines, "line", "lines")
                                                   : Counted(report.Lines, "line", "lines")) +
                  ")";
    else if (!report.Shown)
        summary = "not shown (" + Counted(report.Lines, "line", "lines") + ", refused)";
    else if (report.Choice)
        summary =
            "choice question, " + Counted(static_cast<int>(report.Answers.size()), "answer", "answers") +
            ", " +
            std::to_string(std::count_if(report.Answers.begin(), report.Answers.end(),
                                         [](const FileReport::Answer& a) { return IsRightKey(a.Key); })) +
            " right";
    else
        summary = "sentence question, " + Counted(static_cast<int>(report.Lists.size()), "list", "lists");
    return summary + ", " + EncodingName(report.Encoding);
}

} // namespace

void WriteJson(const FileReport& report, std::ostream& out)
{
    const auto text = [&](const std::string& raw) { return ToUtf8(raw, report.Encoding); };
    const auto optionalText = [&](const std::optional<std::string>& raw) {
        return raw ? Json(text(*raw)) : Json(nullptr);
    };
    Json answers = Json::array();
    for (const FileReport::Answer& answer : report.Answers)
        answers.push_back(Json{{"text", text(answer.Text)},
                               {"key", text(answer.Key)},
                               {"picture", optionalText(answer.Picture)}});
    Json lists = Json::array();
    for (const FileReport::List& list : report.Lists) {
        Json options = Json::array();
        for (const std::string& option : list.Options)
            options.push_back(text(option));
        lists.push_back(Json{{"key", text(list.Key)}, {"options", options}, {"rest", text(list.Rest)}});
    }
    Json problems = Json::array();
    for (const Finding& finding : report.Findings)
        problems.push_back(ProblemJson(finding));
    Json json;
    json["file"] = ToUtf8(report.File, TextEncoding::Utf8);
    json["path"] = ToUtf8(report.Path, TextEncoding::Utf8);
    json["lines"] = report.Lines;
    json["shown"] = report.Shown;
    json["encoding"] = EncodingName(report.Encoding);
    json["kind"] = report.Choice ? "choice" : "sentence";
    json["header"] = text(report.Header);
    json["body"] = text(report.Body);
    json["questionPicture"] = optionalText(report.QuestionPicture);
    json["answers"] = answers;
    json["lists"] = lists;
    json["error"] = report.ReaderError ? Json{{"type", report.ReaderError->Type},
                                              {"message", text(report.ReaderError->Message)}}
                                       : Json(nullptr);
    json["problems"] = problems;
    WriteLine(json, out);
}

std::string ToJson(const FileReport& report)
{
    std::ostringstream out;
    WriteJson(report, out);
    return out.str();
}

void WriteBankJson(const std::string& folder, const Finding& finding, std::ostream& out)
{
    WriteLine(Json{{"bank", folder}, {"problems", Json::array({ProblemJson(finding)})}}, out);
}

std::vector<std::string> ToTextLines(const FileReport& report, bool summary)
{
    // The path as the system spells it: bytes that are no UTF-8 are shown escaped as they are.
    const std::string& path = report.Path;
    std::vector<std::string> lines;
    if (summary)
        lines.push_back(path + ": " + SummaryOf(report));
    for (const Finding& finding : report.Findings)
        lines.push_back(path + (finding.Line ? ":" + std::to_string(*finding.Line) : std::string()) + ": " +
                        finding.Message);
    return lines;
}

std::string CountLine(int files, int problems)
{
    return Counted(files, "question file", "question files") + ", " +
           (problems == 0 ? std::string("no problems") : Counted(problems, "problem", "problems"));
}

} // namespace zdawnik
