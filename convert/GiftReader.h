#pragma once

#include "convert/ImportSource.h"

namespace zdawnik {

// Reads GIFT text: choice questions ("=" right, "~" wrong, "~%50%" weighted), true/false ({T}, {F})
// and missing-word questions, with titles, categories ($CATEGORY:), comments and escapes.
void ReadGift(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports);

} // namespace zdawnik
