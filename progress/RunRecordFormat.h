#pragma once

// The progress file's fields, shared by its writer and its reader. The questions are one list of
// [name, repeats, mastered] entries: the question's file name, the showings it still has due, and
// whether it is mastered.

namespace zdawnik::recordformat {

inline constexpr char Name[] = "zdawnik-progress";
inline constexpr int Version = 1;

inline constexpr char Format[] = "format";
inline constexpr char FormatVersion[] = "version";
inline constexpr char Bank[] = "bank";
inline constexpr char Saved[] = "saved";
inline constexpr char Finished[] = "finished";
inline constexpr char StudySeconds[] = "studySeconds";
inline constexpr char Answers[] = "answers";
inline constexpr char GoodAnswers[] = "goodAnswers";
inline constexpr char Questions[] = "questions";

// The fields of one entry of the questions.
inline constexpr int QuestionFields = 3;

} // namespace zdawnik::recordformat
