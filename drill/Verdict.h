#pragma once

#include "bank/Question.h"

#include <array>
#include <optional>
#include <string>

#include "drill/StudyPool.h"

namespace zdawnik {

// One judgement of an answer: the verdict and the counts it rests on, which the window announces
// beside the face. The counts and the verdict come from one comparison, so they never disagree.
struct Judgement
{
    Verdict verdict = Verdict::Wrong;
    // Choice questions: the correct answers, those of them ticked, and the ticked ones that are wrong.
    int Correct = 0;
    int Hits = 0;
    int WrongTicks = 0;
    // Sentence questions: the lists in use, and those showing the option their key names.
    int Lists = 0;
    int Matched = 0;
    // The conversion message of the first key in use that is no number (in the question's encoding),
    // or empty. Such a key can never be matched.
    std::string KeyError;
};

// The judgement of a choice question: ticked[n - 1] tells whether answer n is ticked. Good when exactly
// the correct answers are ticked; Partial when something is ticked, all of it correct, but a correct
// answer is left out; Wrong otherwise, nothing ticked included.
Judgement JudgeChoice(const Question& question, const std::array<bool, MaxAnswers>& ticked);

// The judgement of a sentence question: chosen[n - 1] is the position (from 0, -1 for none) of the
// option list n shows, or nothing for a list the question does not use. Good when every list in use
// shows the option its key names, Wrong otherwise; there is no Partial.
Judgement JudgeSentence(const Question& question, const std::array<std::optional<int>, MaxLists>& chosen);

// The position (from 0) of the option that list n must show: -1 when its key names none ("0", a
// negative number, or no number). It may lie past the list's last option.
int GoodOption(const Question& question, int n);

} // namespace zdawnik
