#pragma once

#include "bank/Question.h"
#include "bank/QuestionView.h"

#include <QStringList>

// Writes down every call the reader makes on its view, in order, as short readable lines.
class RecordingView : public zdawnik::QuestionView
{
public:
    QStringList calls;

    void showFileName(const std::string& fileName) override { add("file " + fileName); }
    void beginChoiceQuestion() override { add("choice"); }
    void beginSentenceQuestion() override { add("sentence"); }
    void showQuestionLine(const zdawnik::Question& question) override { add("body " + question.Body); }
    void placeAnswers(int count) override { add("place " + std::to_string(count)); }
    void showAnswer(int n, const zdawnik::Question& question) override
    {
        add("answer " + std::to_string(n) + " " + question.Lines[n]);
    }
    void hideLists() override { add("hide lists"); }
    void showList(int n, const std::vector<std::string>& options, const zdawnik::Question&) override
    {
        std::string line = "list " + std::to_string(n) + ":";
        for (const std::string& option : options)
            line += " <" + option + ">";
        add(line);
    }
    void reportError(const std::string& typeName, const std::string& message) override
    {
        add("error " + typeName + ": " + message);
    }

private:
    // Byte for byte, whatever the question's encoding.
    void add(const std::string& line) { calls << QString::fromLatin1(line.data(), qsizetype(line.size())); }
};
