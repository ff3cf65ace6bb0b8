#pragma once

// A bank's history made up by a seeded generator: days of study with gaps between them, questions
// answered wrong and right, drills and exams. The same seed gives the same history.

#include "app/ProgressWindow.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace zdawnik::testing {

struct HistoryShape
{
    std::uint32_t Seed = 1;
    int Questions = 300;
    // Calendar days from the first to the last; about two in three of them have answers.
    int CalendarDays = 20;
    int Exams = 4;
};

inline std::string GeneratedFileName(int question)
{
    char name[32];
    std::snprintf(name, sizeof name, "pytanie%04d.txt", question);
    return name;
}

inline HistorySnapshot GenerateHistory(const HistoryShape& shape)
{
    std::mt19937 random(shape.Seed);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<std::uint32_t>(n)); };
    HistorySnapshot history;
    history.BankQuestions = shape.Questions;
    const QDate firstDay(2026, 11, 2);
    int mastered = 0;
    std::int64_t sittingId = 0;
    for (int d = 0; d < shape.CalendarDays; ++d) {
        if (d > 0 && d + 1 < shape.CalendarDays && below(3) == 0)
            continue;
        DayFigures day;
        day.Day = firstDay.addDays(d);
        day.Answers = 20 + below(180);
        day.GoodAnswers = day.Answers * (40 + below(55)) / 100;
        day.StudySeconds = day.Answers * (15 + below(30));
        mastered = std::min(shape.Questions, mastered + below(std::max(2, shape.Questions / 8)));
        day.MasteredAtEnd = mastered;
        history.Days.push_back(day);

        SittingFigures sitting;
        sitting.Id = ++sittingId;
        sitting.Start = QDateTime(day.Day, QTime(8 + below(12), below(60)));
        sitting.End = sitting.Start.addSecs(day.StudySeconds + 60);
        sitting.StudySeconds = day.StudySeconds;
        sitting.Answers = day.Answers;
        sitting.GoodAnswers = day.GoodAnswers;
        sitting.MasteredAfter = mastered;
        sitting.Kind = below(5) == 0 ? SittingKind::Hardest : SittingKind::Drill;
        history.Sittings.push_back(sitting);
    }
    for (int e = 0; e < shape.Exams && !history.Days.empty(); ++e) {
        const DayFigures& day =
            history.Days[static_cast<std::size_t>(below(static_cast<int>(history.Days.size())))];
        SittingFigures exam;
        exam.Id = ++sittingId;
        exam.Kind = SittingKind::Exam;
        exam.Start = QDateTime(day.Day, QTime(21, below(60)));
        exam.ExamQuestions = 40;
        exam.ExamPassMark = e < shape.Exams / 2 ? 50 : 60;
        exam.ExamScore = 10 + below(31);
        exam.ExamFinished = below(6) != 0;
        exam.Answers = exam.ExamQuestions;
        exam.GoodAnswers = exam.ExamScore;
        exam.StudySeconds = 1800 + below(1800);
        exam.End = exam.Start.addSecs(exam.StudySeconds);
        history.Sittings.push_back(exam);
    }
    for (int q = 1; q <= shape.Questions; ++q) {
        QuestionFigures question;
        question.FileName = GeneratedFileName(q);
        question.Wrong = below(4) == 0 ? below(9) : 0;
        question.Partial = below(5) == 0 ? below(4) : 0;
        question.Good = 3 + below(6);
        question.Asked = question.Wrong + question.Partial + question.Good;
        if (question.Wrong + question.Partial > 0 && !history.Days.empty())
            question.LastMissed = QDateTime(
                history.Days[static_cast<std::size_t>(below(static_cast<int>(history.Days.size())))].Day,
                QTime(below(24), below(60)));
        history.Questions.push_back(question);
        if (question.Wrong + question.Partial > 0 && history.DefaultDrill.size() < 30)
            history.DefaultDrill.push_back(question.FileName);
    }
    history.Mastered = mastered;
    return history;
}

} // namespace zdawnik::testing
