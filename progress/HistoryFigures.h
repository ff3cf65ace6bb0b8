#pragma once

#include <QDate>
#include <QDateTime>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zdawnik {

// What a sitting was: a drill of the whole bank, a drill of the questions most often missed, or an exam.
enum class SittingKind
{
    Drill,
    Hardest,
    Exam,
};

// One day on which answers were given, in the user's local calendar.
struct DayFigures
{
    QDate Day;
    int Answers = 0;
    int GoodAnswers = 0;
    qint64 StudySeconds = 0;
    // Mastered questions of the bank's kept run at the end of that day.
    int MasteredAtEnd = 0;
};

// One question of the bank, over the whole history of answers to it.
struct QuestionFigures
{
    std::string FileName;
    int Asked = 0;
    int Wrong = 0;
    int Partial = 0;
    int Good = 0;
    // When it was last answered wrong or partly right; invalid when never.
    QDateTime LastMissed;
};

// One sitting on the bank.
struct SittingFigures
{
    std::int64_t Id = 0;
    SittingKind Kind = SittingKind::Drill;
    QDateTime Start;
    QDateTime End; // invalid while the sitting is open, or when it was never closed
    qint64 StudySeconds = 0;
    int Answers = 0;
    int GoodAnswers = 0;
    // Mastered questions of the kept run after the sitting (drills of the whole bank).
    int MasteredAfter = 0;
    // For an exam: the questions drawn, the pass mark in percent, the score, and whether it was finished
    // (an exam cut short by closing the window is kept unfinished).
    int ExamQuestions = 0;
    int ExamPassMark = 0;
    int ExamScore = 0;
    bool ExamFinished = false;
};

} // namespace zdawnik
