#pragma once

#include <QStringList>

#include "convert/ImportSource.h"

namespace zdawnik {

// The columns of a bank as a spreadsheet, in the order export writes them: "question", "answer 1" to
// "answer 12", "right", "picture", "file". Import takes them in any order, by name, in any case.
QStringList CsvHeader();

// Reads a spreadsheet of questions, one per row under the header row. A choice question has its
// answers in "answer 1" onward and their numbers in "right" ("1 3"). A question whose text holds
// "{wybór 1}" is a sentence question: "answer n" holds the options of list n, each followed by ";;",
// and "right" the right option of each list in order ("2 1"). A cell "[img]name[/img]" is a
// picture, and "picture" the question's picture, from the spreadsheet's folder. "file" names the
// question file.
void ReadCsvBank(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports);

} // namespace zdawnik
