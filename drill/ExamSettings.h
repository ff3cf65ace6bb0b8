#pragma once

namespace zdawnik {

// The rules of a practice exam: how many questions are drawn, the time allowed, and the share of good
// answers that passes.
struct ExamSettings
{
    static constexpr int DefaultQuestions = 40;
    static constexpr int DefaultMinutes = 60;
    static constexpr int DefaultPassMark = 50;
    static constexpr int MinMinutes = 1;
    static constexpr int MaxMinutes = 600;
    static constexpr int MinPassMark = 1;
    static constexpr int MaxPassMark = 100;

    int Questions = DefaultQuestions;
    int Minutes = DefaultMinutes;
    int PassMark = DefaultPassMark; // percent
};

} // namespace zdawnik
