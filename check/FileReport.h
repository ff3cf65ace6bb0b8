#pragma once

#include "base/TextEncoding.h"
#include "check/Finding.h"

#include <optional>
#include <string>
#include <vector>

namespace zdawnik {

// What the program shows of one question file, and what is wrong with it. Texts are as the file
// holds them, in its encoding; each answer and list keeps the file line it came from.
struct FileReport
{
    struct Answer
    {
        std::string Text;
        std::string Key;
        std::optional<std::string> Picture;
        int Line = 0;
    };
    struct List
    {
        std::string Key;
        std::vector<std::string> Options;
        std::string Rest;
        int Line = 0; // 0: the file has no line for the list
    };
    struct Error
    {
        std::string Type;
        std::string Message;
    };

    std::string File; // the bare name, the system's bytes
    std::string Path; // the folder as given joined with the name: what the report names
    int Lines = 0;
    // Whether the window shows the question: 1 to 19 lines that the reader does not refuse.
    bool Shown = false;
    // A link that leads out of the bank folder: the file is not read, so nothing of it is reported.
    bool OutsideBank = false;
    TextEncoding Encoding = TextEncoding::Windows1250;
    bool Choice = false;
    std::string Header;
    std::string Body;
    int BodyLine = 0;
    std::optional<std::string> QuestionPicture;
    std::vector<Answer> Answers;
    std::vector<List> Lists;
    std::optional<Error> ReaderError;
    std::vector<Finding> Findings; // in the order of their lines, the whole file's first
};

} // namespace zdawnik
