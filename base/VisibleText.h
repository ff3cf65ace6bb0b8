#pragma once

#include <string>
#include <string_view>

namespace zdawnik {

// UTF-8 text made safe to show in full on a terminal or in a message: control characters (NUL, line
// ends, escape, C1 controls) and the marks that reorder text on screen become escapes such as "\n",
// "\0", "\x1B" or "\u202E"; a byte that starts no valid UTF-8 sequence becomes "\xHH". Everything
// else, Polish letters included, is kept as it is. Nothing is dropped, so a text never loses its end.
std::string VisibleText(std::string_view utf8);

} // namespace zdawnik
