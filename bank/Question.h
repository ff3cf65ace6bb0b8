#pragma once

#include "base/TextEncoding.h"

#include <array>
#include <cassert>
#include <string>

namespace zdawnik {

// A fixed row of slots numbered from 1, as the question record counts its lines and keys.
template <typename T, int Count> class OneBased
{
public:
    T& operator[](int k)
    {
        assert(k >= 1 && k <= Count);
        return m_slots[static_cast<std::size_t>(k - 1)];
    }
    const T& operator[](int k) const
    {
        assert(k >= 1 && k <= Count);
        return m_slots[static_cast<std::size_t>(k - 1)];
    }
    static constexpr int size() { return Count; }

private:
    std::array<T, Count> m_slots{};
};

// The highest number of answers a choice question may have: the window has twelve answer panels.
inline constexpr int MaxAnswers = 12;
// The highest number of drop-down lists of a sentence question.
inline constexpr int MaxLists = 4;
// Files of more lines than this are not shown.
inline constexpr int MaxQuestionLines = 19;

// The question read last. Texts are kept as the file's bytes, in the file's encoding.
struct Question
{
    std::string Header;
    std::string Body;
    OneBased<std::string, 14> Lines;
    OneBased<std::string, 14> Keys;
    TextEncoding Encoding = TextEncoding::Windows1250;

    // "X" as the first character makes a choice question; anything else, an empty header
    // included, a sentence question.
    bool isChoice() const { return !Header.empty() && Header[0] == 'X'; }
};

} // namespace zdawnik
