#pragma once

#include <string>

namespace zdawnik {

// "'<text>' is not a valid integer value"
std::string NotAnIntegerMessage(const std::string& text);

// Converts a decimal integer text the way the program's number fields do: optional sign, digits,
// nothing else; throws EConvertError otherwise.
int StrToInt(const std::string& text);

} // namespace zdawnik
