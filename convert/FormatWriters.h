#pragma once

#include <QByteArray>

#include "convert/ConvertReport.h"
#include "convert/ConvertedBank.h"

namespace zdawnik {

// The questions of a bank in the formats of other tools. Each writes every question its format can
// carry and reports the others at their files.

// Moodle XML: choice questions as multichoice (true/false when the answers are "prawda" and "fałsz"),
// sentence questions as gapselect, pictures embedded.
QByteArray WriteMoodleXml(const ConvertedBank& bank, ConvertReports& reports);

// GIFT, in UTF-8: choice and true/false questions; no sentences, no pictures.
QByteArray WriteGift(const ConvertedBank& bank, ConvertReports& reports);

// Aiken, in UTF-8: choice questions of one right answer; no sentences, no pictures.
QByteArray WriteAiken(const ConvertedBank& bank, ConvertReports& reports);

// The spreadsheet layout of CsvHeader(), in UTF-8 with a byte-order mark, comma-separated. Pictures are
// named by their file names; the caller puts the files beside the spreadsheet.
QByteArray WriteCsv(const ConvertedBank& bank, ConvertReports& reports);

} // namespace zdawnik
