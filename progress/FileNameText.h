#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zdawnik {

// File names and folder paths are the system's bytes, which need not be UTF-8: a bank copied from an
// old Windows disk may name its files in Windows-1250. In a progress file they are UTF-8 text: valid
// UTF-8 stands as it is, and every other byte, and "%" itself, is written as "%" and two capital
// hexadecimal digits, so every name comes back byte for byte.
std::string FileNameToText(std::string_view name);
void AppendFileNameText(std::string& text, std::string_view name);

// The bytes back from the text; nothing when a "%" is not followed by two hexadecimal digits.
std::optional<std::string> FileNameFromText(std::string_view text);

} // namespace zdawnik
