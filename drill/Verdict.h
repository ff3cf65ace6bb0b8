#pragma once

#include "bank/Question.h"
#include "drill/StudyPool.h"

#include <array>
#include <optional>
#include <string>

namespace zdawnik {

// The verdict on a choice question: ticked[n - 1] tells whether answer n is ticked. Good when exactly
// the correct answers are ticked; Partial when something is ticked, all of it correct, but a correct
// answer is left out; Wrong otherwise, nothing ticked included.
Verdict JudgeChoice(const Question& question, const std::array<bool, MaxAnswers>& ticked);

struct SentenceVerdict
{
    Verdict verdict = Verdict::Good;
    // The conversion message of the first key in use that is no number (in the question's encoding),
    // or empty. Such a key can never be matched.
    std::string keyError;
};

// The verdict on a sentence question: chosen[n - 1] is the position (from 0, -1 for none) of the
// option list n shows, or nothing for a list the question does not use. Good when every list in use
// shows the option its key names, Wrong otherwise; there is no Partial.
SentenceVerdict JudgeSentence(const Question& question,
                              const std::array<std::optional<int>, MaxLists>& chosen);

// The position (from 0) of the option that list n must show: -1 when its key names none ("0", a
// negative number, or no number). It may lie past the list's last option.
int GoodOption(const Question& question, int n);

} // namespace zdawnik
