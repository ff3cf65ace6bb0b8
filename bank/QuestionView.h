#pragma once

#include <string>
#include <vector>

namespace zdawnik {

struct Question;

// The side of the program that shows a question while the reader parses it. The reader calls these
// in the order of the parse, so a question that fails half-way leaves on screen exactly what was
// shown up to that point. Texts are bytes in the question's encoding.
class QuestionView
{
public:
    virtual ~QuestionView() = default;

    // Before the file is opened: the file's bare name, as the question's identity.
    virtual void showFileName(const std::string& fileName) = 0;

    // Choice question: the sentence panel goes away.
    virtual void beginChoiceQuestion() = 0;
    // Sentence question: the sentence panel comes up with an empty sentence, white lists and no hint.
    virtual void beginSentenceQuestion() = 0;

    // The question line (question.Body): its text or its picture.
    virtual void showQuestionLine(const Question& question) = 0;

    // Choice question: all twelve answer panels reset, panels 1..count placed (count may be <= 0).
    virtual void placeAnswers(int count) = 0;
    // Choice question: answer n (question.Lines[n]) as text or picture.
    virtual void showAnswer(int n, const Question& question) = 0;

    // Sentence question: every list row hidden.
    virtual void hideLists() = 0;
    // Sentence question: list n emptied, filled with its options in file order, and shown.
    virtual void showList(int n, const std::vector<std::string>& options, const Question& question) = 0;

    // An error after the file was opened: "<typeName> error raised, with message : <message>".
    virtual void reportError(const std::string& typeName, const std::string& message) = 0;
};

} // namespace zdawnik
