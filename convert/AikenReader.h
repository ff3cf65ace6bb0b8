#pragma once

#include "convert/ImportSource.h"

namespace zdawnik {

// Reads Aiken text: a question, its answers "A." or "A)" one per line, and the line "ANSWER: B".
// Several right answers may be given as "ANSWER: A, C".
void ReadAiken(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports);

} // namespace zdawnik
