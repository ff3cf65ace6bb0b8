#pragma once

// The picture formats the program shows, and the extensions that name them: the one list, for the
// loader, the bank's picture names and the checker. Plain C++ with no Qt and nothing to link, so
// that bank/, which knows nothing of pictures, may read it too.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zdawnik {

enum class PictureFormat
{
    Png,
    Jpeg,
    Bmp,
    Ico,
    Emf,
    Wmf,
};

struct PictureFormatName
{
    std::string_view Name; // in lower case, without the dot
    PictureFormat Format;
};

inline constexpr std::array<PictureFormatName, 7> PictureFormatNames = {{
    {"bmp", PictureFormat::Bmp},
    {"ico", PictureFormat::Ico},
    {"emf", PictureFormat::Emf},
    {"wmf", PictureFormat::Wmf},
    {"png", PictureFormat::Png},
    {"jpg", PictureFormat::Jpeg},
    {"jpeg", PictureFormat::Jpeg},
}};

// The extension after the last dot of a file name, in lower case (ASCII letters only, as the
// extensions above are); empty when there is no dot.
inline std::string LowerCaseExtension(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension;
}

// The format a lower-case extension names; nothing for one the program does not show.
inline std::optional<PictureFormat> FormatOfExtension(std::string_view extension)
{
    for (const PictureFormatName& known : PictureFormatNames) {
        if (known.Name == extension)
            return known.Format;
    }
    return std::nullopt;
}

inline bool IsMetafileFormat(PictureFormat format)
{
    return format == PictureFormat::Emf || format == PictureFormat::Wmf;
}

} // namespace zdawnik
