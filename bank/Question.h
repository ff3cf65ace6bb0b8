#pragma once

#include "base/TextEncoding.h"

#include <array>
#include <cassert>
#include <string>
#include <string_view>

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

// Whether a file of that many lines is shown: 1 to 19.
inline bool IsShownLineCount(int lineCount)
{
    return lineCount >= 1 && lineCount <= MaxQuestionLines;
}

// "X" as the first character makes a choice question; anything else, an empty header included, a
// sentence question.
inline bool IsChoiceHeader(std::string_view header)
{
    return header.starts_with('X');
}

// The flag, and so the key, that marks a right answer of a choice question; any other is wrong.
inline bool IsRightKey(std::string_view key)
{
    return key == "1";
}

// The gap of list n in the template of a sentence question, in UTF-8: "{wybór n}". The option chosen
// in list n takes its place in the sentence.
inline std::string SentenceGap(int n)
{
    return "{wyb\xC3\xB3r " + std::to_string(n) + "}";
}

// The file line (from 1) each field of the record came from; 0 for a field the file had no line for.
// A line that holds "[stop]" gives several fields, all from the same line.
struct FieldLines
{
    int Header = 0;
    int Body = 0;
    OneBased<int, 14> Lines;
};

// The question read last. Texts are kept as the file's bytes, in the file's encoding.
struct Question
{
    std::string Header;
    std::string Body;
    OneBased<std::string, 14> Lines;
    OneBased<std::string, 14> Keys;
    TextEncoding Encoding = TextEncoding::Windows1250;
    FieldLines FileLines;

    bool isChoice() const { return IsChoiceHeader(Header); }
    // Whether answer k of a choice question is a right one.
    bool isRightAnswer(int k) const { return IsRightKey(Keys[k]); }
};

} // namespace zdawnik
