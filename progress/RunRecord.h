#pragma once

#include "drill/StudyPool.h"

#include <QByteArray>
#include <QDateTime>

#include <stdexcept>
#include <string>
#include <vector>

namespace zdawnik {

// A run as it is kept between sittings: what the window needs to take it up again.
struct RunRecord
{
    // The bank's canonical path, as the system's bytes.
    std::string BankPath;
    // When it was written; for a finished run, when its last question was mastered.
    QDateTime SavedAt;
    // Every question is mastered: the next sitting starts a fresh run.
    bool Finished = false;
    // The study clock.
    qint64 StudySeconds = 0;
    // Answers judged, and the right ones among them: the good-answers gauge.
    int Answers = 0;
    int GoodAnswers = 0;
    // Every question of the bank, in the order of the pool.
    std::vector<QuestionProgress> Questions;
};

// A progress file that cannot be trusted; the message says why.
class EDamagedProgress : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What a record may hold. Anything beyond is no record this program wrote: the counters of a
// thousand years of drilling, or a file of gigabytes.
inline constexpr qint64 MaxRecordBytes = 64 * 1024 * 1024;
inline constexpr int MaxRecordQuestions = 1'000'000;
inline constexpr int MaxRecordRepeats = 1'000'000;
inline constexpr int MaxRecordAnswers = 1'000'000'000;
inline constexpr qint64 MaxRecordStudySeconds = 100'000LL * 3600;

// The record as the bytes of its file: UTF-8 JSON, compact, the questions last.
std::string EncodeRunRecord(const RunRecord& record);

// Reads a record back (EncodeRunRecord writes it). Anything but a whole, consistent record that this
// program wrote for the bank at bankPath throws EDamagedProgress: nothing of it is used.
RunRecord DecodeRunRecord(const QByteArray& bytes, const std::string& bankPath);

} // namespace zdawnik
