// Fuzz target: the bytes of a progress file through the reader, as the window reads a run kept from
// an earlier sitting.
//
// A file is either refused with a reason or read into a record that keeps every promise the window
// relies on when it takes the run up again. A record that was read writes a file that reads back to
// the same record, and that file is written the same way again.

#include "progress/RunRecord.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "fuzz/FuzzSupport.h"

using namespace zdawnik;
using zdawnik::fuzz::Require;

namespace {

const std::string BankPath = "/home/ola/egzamin/baza";

void CheckRecord(const RunRecord& record)
{
    Require(record.BankPath == BankPath, "a record read is the bank's own");
    Require(record.SavedAt.isValid(), "a record read says when it was saved");
    Require(!record.Questions.empty(), "a record read holds questions");
    Require(record.Questions.size() <= std::size_t(MaxRecordQuestions), "a record holds a bounded number");
    Require(record.StudySeconds >= 0 && record.StudySeconds <= MaxRecordStudySeconds,
            "the study clock is within its bounds");
    Require(record.Answers >= 0 && record.Answers <= MaxRecordAnswers, "the answers are within their bounds");
    Require(record.GoodAnswers >= 0 && record.GoodAnswers <= record.Answers, "good answers are answers");
    std::set<std::string> names;
    int mastered = 0;
    for (const QuestionProgress& question : record.Questions) {
        Require(!question.FileName.empty(), "a question has a file name");
        Require(question.FileName.find('/') == std::string::npos, "a question's file lies in the bank");
        Require(names.insert(question.FileName).second, "a question is listed once");
        Require(question.Repeats >= 0 && question.Repeats <= MaxRecordRepeats,
                "a question's showings are within their bounds");
        mastered += question.Mastered;
    }
    Require(mastered <= record.GoodAnswers, "every mastering took a right answer");
    Require(record.Finished == (std::size_t(mastered) == record.Questions.size()),
            "a run is finished exactly when every question is mastered");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    RunRecord record;
    try {
        record = DecodeRunRecord(bytes, BankPath);
    } catch (const EDamagedProgress& damaged) {
        Require(*damaged.what() != '\0', "a refused file is refused with a reason");
        return 0;
    }
    CheckRecord(record);

    const std::string written = EncodeRunRecord(record);
    RunRecord again;
    try {
        again = DecodeRunRecord(QByteArray::fromStdString(written), BankPath);
    } catch (const EDamagedProgress&) {
        Require(false, "what was read and written again reads back");
    }
    Require(again.Finished == record.Finished && again.StudySeconds == record.StudySeconds &&
                again.Answers == record.Answers && again.GoodAnswers == record.GoodAnswers &&
                again.Questions.size() == record.Questions.size(),
            "a record read back has the figures it was written with");
    for (std::size_t i = 0; i < record.Questions.size(); ++i)
        Require(again.Questions[i].FileName == record.Questions[i].FileName &&
                    again.Questions[i].Repeats == record.Questions[i].Repeats &&
                    again.Questions[i].Mastered == record.Questions[i].Mastered,
                "a record read back has its questions, in their order");
    Require(EncodeRunRecord(again) == written, "a record read back is written the same way again");
    return 0;
}
