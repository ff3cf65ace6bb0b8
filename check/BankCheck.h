#pragma once

#include "base/TextEncoding.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zdawnik {

struct QuestionLines;

// What the program will show of one question file, and what is wrong with it. Texts are as the file
// holds them; the JSON and text reports decode them to UTF-8.
struct FileReport
{
    struct Answer
    {
        std::string Text;
        std::string Key;
        std::optional<std::string> Picture;
    };
    struct List
    {
        std::string Key;
        std::vector<std::string> Options;
        std::string Rest;
    };
    struct Error
    {
        std::string Type;
        std::string Message;
    };

    std::string File;
    int Lines = 0;
    bool Shown = false;
    TextEncoding Encoding = TextEncoding::Windows1250;
    bool Choice = false;
    std::string Header;
    std::string Body;
    std::optional<std::string> QuestionPicture;
    std::vector<Answer> Answers;
    std::vector<List> Lists;
    std::optional<Error> ReaderError;
    std::vector<std::string> Problems; // UTF-8
};

// Judges a picture that a question names: returns what is wrong with it, or nothing when the program
// will show it.
using PictureCheck = std::function<std::optional<std::string>(
    const std::filesystem::path& bankDir, const std::string& name, TextEncoding encoding)>;

// The check the program's own picture loading makes: the name, the extension, the file, and
// whether the picture loads.
std::optional<std::string> CheckPicture(const std::filesystem::path& bankDir, const std::string& name,
                                        TextEncoding encoding);

// Reads one question file of bankDir exactly as the program does and reports on it.
FileReport CheckQuestionFile(const std::filesystem::path& bankDir, const std::string& fileName,
                             const PictureCheck& pictureCheck = CheckPicture);

// The same for lines already read, and for a file's bytes in memory.
FileReport CheckQuestionLines(const QuestionLines& lines, const std::string& fileName,
                              const std::filesystem::path& bankDir,
                              const PictureCheck& pictureCheck = CheckPicture);
FileReport CheckQuestionBytes(std::string_view bytes, const std::string& fileName,
                              const std::filesystem::path& bankDir,
                              const PictureCheck& pictureCheck = CheckPicture);

// One line of JSON (no line end) with the report's fields, texts in UTF-8.
std::string ToJson(const FileReport& report);

// Human-readable lines: a summary of the file, then one line per problem, each naming the file.
std::vector<std::string> ToTextLines(const FileReport& report);

} // namespace zdawnik
