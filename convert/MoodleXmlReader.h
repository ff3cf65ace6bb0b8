#pragma once

#include "convert/ImportSource.h"

namespace zdawnik {

// Reads a Moodle XML quiz: choice (multichoice), true/false and select-missing-words (gapselect)
// questions with their embedded pictures; categories become the questions' category.
void ReadMoodleXml(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports);

} // namespace zdawnik
