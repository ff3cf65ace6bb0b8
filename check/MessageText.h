#pragma once

#include <QSize>

#include <string>
#include <string_view>

namespace zdawnik {

// A text of the file in double quotes, as a message names it: UTF-8, cut to its first few dozen
// characters so that a message stays one short line whatever the file holds.
std::string Quoted(std::string_view utf8);

// "930 × 137".
std::string SizeText(QSize size);

} // namespace zdawnik
