#include "bank/PictureName.h"

#include "base/Platform.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <locale>
#include <system_error>
#include <vector>

namespace zdawnik {

namespace {

constexpr std::string_view OpenTag = "[img]";
constexpr std::string_view CloseTag = "[/img]";

bool Exists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found &&
           !error;
}

// Lower-cases a character by the rules of a Unicode locale where the system has one.
const std::ctype<wchar_t>& WideCharacterRules()
{
    static const std::locale locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8", ""}) {
            try {
                return std::locale(name);
            } catch (const std::runtime_error&) {
            }
        }
        return std::locale::classic();
    }();
    return std::use_facet<std::ctype<wchar_t>>(locale);
}

std::u32string Folded(std::string_view name)
{
    std::u32string folded = DecodeUtf8(name);
    const std::ctype<wchar_t>& rules = WideCharacterRules();
    for (char32_t& c : folded) {
        if (c <= static_cast<char32_t>(WCHAR_MAX))
            c = static_cast<char32_t>(rules.tolower(static_cast<wchar_t>(c)));
    }
    return folded;
}

std::vector<std::string> Components(std::string_view name)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : name) {
        if (c == '\\' || c == '/') {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& bankDir,
                                                      std::string_view name)
{
    std::filesystem::path current = bankDir;
    for (const std::string& part : Components(name)) {
        const std::filesystem::path exact = platform::JoinName(current, part);
        if (part.empty() || part == "." || part == ".." || Exists(exact)) {
            current = exact;
            continue;
        }
        const std::u32string wanted = Folded(part);
        std::vector<std::string> matches;
        platform::ListDirectory(current, [&](std::string_view entry) {
            if (Folded(entry) == wanted)
                matches.emplace_back(entry);
        });
        if (matches.empty())
            return std::nullopt;
        // Several names that differ only in case: take the same one every time.
        current = platform::JoinName(current, *std::min_element(matches.begin(), matches.end()));
    }
    return current;
}

} // namespace

bool HasPictureTag(std::string_view line)
{
    return line.find(OpenTag) != std::string_view::npos;
}

std::string PictureName(std::string_view line)
{
    const std::size_t open = line.find(OpenTag);
    const std::size_t close = line.find(CloseTag);
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open + OpenTag.size())
        return {};
    const std::size_t start = open + OpenTag.size();
    return std::string(line.substr(start, close - start));
}

std::string WithoutPictureTag(std::string_view line)
{
    const std::size_t open = line.find(OpenTag);
    if (open == std::string_view::npos)
        return std::string(line);
    const std::size_t close = line.find(CloseTag, open + OpenTag.size());
    std::string result(line.substr(0, open));
    if (close != std::string_view::npos)
        result += line.substr(close + CloseTag.size());
    return result;
}

std::string PictureExtension(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension;
}

bool IsPictureExtension(std::string_view extension)
{
    static constexpr std::array<std::string_view, 7> Known = {"bmp", "ico", "emf", "wmf",
                                                              "png", "jpg", "jpeg"};
    return std::find(Known.begin(), Known.end(), extension) != Known.end();
}

std::optional<std::filesystem::path> FindPictureFile(const std::filesystem::path& bankDir,
                                                     std::string_view name, TextEncoding encoding)
{
    if (name.empty())
        return std::nullopt;
    std::vector<std::string> candidates{ToUtf8(name, encoding)};
    if (candidates.front() != name)
        candidates.emplace_back(name);
    for (const std::string& candidate : candidates) {
        std::string separated = candidate;
        std::replace(separated.begin(), separated.end(), '\\', '/');
        const std::filesystem::path exact = platform::JoinName(bankDir, separated);
        if (Exists(exact))
            return exact;
    }
    for (const std::string& candidate : candidates) {
        if (auto found = FindIgnoringCase(bankDir, candidate))
            return found;
    }
    return std::nullopt;
}

} // namespace zdawnik
