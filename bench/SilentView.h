#pragma once

#include "bank/QuestionView.h"

namespace zdawnik::bench {

// A view that shows nothing: what is left of reading and parsing a question is the reader's own cost.
class SilentView : public QuestionView
{
public:
    void showFileName(const std::string&) override {}
    void beginChoiceQuestion() override {}
    void beginSentenceQuestion() override {}
    void showQuestionLine(const Question&) override {}
    void placeAnswers(int) override {}
    void showAnswer(int, const Question&) override {}
    void hideLists() override {}
    void showList(int, const std::vector<std::string>&, const Question&) override {}
    void reportError(const std::string&, const std::string&) override {}
};

} // namespace zdawnik::bench
