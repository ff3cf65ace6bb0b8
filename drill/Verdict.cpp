#include "drill/Verdict.h"

#include "base/Errors.h"
#include "base/StrToInt.h"

namespace zdawnik {

Verdict JudgeChoice(const Question& question, const std::array<bool, MaxAnswers>& ticked)
{
    int tickedCount = 0, correct = 0, hits = 0;
    for (int n = 1; n <= MaxAnswers; ++n) {
        const bool isTicked = ticked[static_cast<std::size_t>(n - 1)];
        const bool isCorrect = question.isRightAnswer(n);
        tickedCount += isTicked;
        correct += isCorrect;
        hits += isTicked && isCorrect;
    }
    if (tickedCount == correct && tickedCount == hits && tickedCount != 0)
        return Verdict::Good;
    if (tickedCount == hits && tickedCount != correct && tickedCount != 0)
        return Verdict::Partial;
    return Verdict::Wrong;
}

SentenceVerdict JudgeSentence(const Question& question,
                              const std::array<std::optional<int>, MaxLists>& chosen)
{
    SentenceVerdict result;
    for (int n = 1; n <= MaxLists; ++n) {
        const std::optional<int>& position = chosen[static_cast<std::size_t>(n - 1)];
        if (!position)
            continue;
        try {
            if (*position + 1 != StrToInt(question.Keys[n]))
                result.verdict = Verdict::Wrong;
        } catch (const EConvertError& error) {
            result.verdict = Verdict::Wrong;
            if (result.keyError.empty())
                result.keyError = error.message();
        }
    }
    return result;
}

int GoodOption(const Question& question, int n)
{
    try {
        const int key = StrToInt(question.Keys[n]);
        return key > 0 ? key - 1 : -1;
    } catch (const EConvertError&) {
        return -1;
    }
}

} // namespace zdawnik
