#include "drill/Verdict.h"

#include "base/Errors.h"
#include "base/StrToInt.h"

namespace zdawnik {

Judgement JudgeChoice(const Question& question, const std::array<bool, MaxAnswers>& ticked)
{
    Judgement judged;
    int tickedCount = 0;
    for (int n = 1; n <= MaxAnswers; ++n) {
        const bool isTicked = ticked[static_cast<std::size_t>(n - 1)];
        const bool isCorrect = question.isRightAnswer(n);
        tickedCount += isTicked;
        judged.Correct += isCorrect;
        judged.Hits += isTicked && isCorrect;
        judged.WrongTicks += isTicked && !isCorrect;
    }
    if (tickedCount == judged.Correct && tickedCount == judged.Hits && tickedCount != 0)
        judged.verdict = Verdict::Good;
    else if (tickedCount == judged.Hits && tickedCount != judged.Correct && tickedCount != 0)
        judged.verdict = Verdict::Partial;
    else
        judged.verdict = Verdict::Wrong;
    return judged;
}

Judgement JudgeSentence(const Question& question, const std::array<std::optional<int>, MaxLists>& chosen)
{
    Judgement judged;
    for (int n = 1; n <= MaxLists; ++n) {
        const std::optional<int>& position = chosen[static_cast<std::size_t>(n - 1)];
        if (!position)
            continue;
        ++judged.Lists;
        try {
            judged.Matched += *position + 1 == StrToInt(question.Keys[n]);
        } catch (const EConvertError& error) {
            if (judged.KeyError.empty())
                judged.KeyError = error.message();
        }
    }
    judged.verdict = judged.Matched == judged.Lists ? Verdict::Good : Verdict::Wrong;
    return judged;
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
