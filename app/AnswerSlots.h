#pragma once

#include <array>

namespace zdawnik {

// Which answer stands in each of the twelve answer slots of the current placement, slots counted from
// 1 down the left column and then down the right. Placement writes it; the keyboard reads it.
class AnswerSlots
{
public:
    static constexpr int Count = 12;

    // Every slot empty.
    void clear() { m_answers.fill(0); }
    // Answer n (from 1) stands in the slot.
    void place(int slot, int answer) { m_answers.at(static_cast<std::size_t>(slot - 1)) = answer; }

    // The answer standing in the slot; 0 for an empty slot.
    int answerIn(int slot) const { return m_answers.at(static_cast<std::size_t>(slot - 1)); }
    // The slot answer n stands in; 0 when it stands in none.
    int slotOf(int answer) const
    {
        for (int slot = 1; slot <= Count; ++slot)
            if (answerIn(slot) == answer)
                return slot;
        return 0;
    }

private:
    std::array<int, Count> m_answers{};
};

} // namespace zdawnik
