#include "bank/PictureName.h"

#include "base/Platform.h"
#include "pictures/PictureFormats.h"

#include <algorithm>
#include <cwctype>
#include <locale>
#include <map>
#include <vector>

namespace zdawnik {

namespace {

constexpr std::string_view OpenTag = PictureOpenTag;
constexpr std::string_view CloseTag = PictureCloseTag;

// Paths as the system's bytes (UTF-8 on Windows), the form in which a look-up grows a path a part
// at a time: a std::filesystem::path would parse itself anew at every step.
#ifdef _WIN32
constexpr char Separator = '\\';

std::string PathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path FromPathText(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
#else
constexpr char Separator = '/';

std::string PathText(const std::filesystem::path& path)
{
    return path.native();
}

std::filesystem::path FromPathText(const std::string& text)
{
    return std::filesystem::path(text);
}
#endif

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

// The listings of the directories one look-up has opened, each listed once and its names folded
// once, however the name reaches it ("a/../a" is a again) and whichever way of writing the name
// needs it.
class Listings
{
public:
    struct Entry
    {
        std::u32string folded;
        std::string name;
    };

    const std::vector<Entry>& Of(const std::string& dir)
    {
        static const std::vector<Entry> None;
        const std::optional<std::string> identity = platform::DirectoryIdentity(dir);
        if (!identity)
            return None;
        const auto [found, added] = m_listings.try_emplace(*identity);
        std::vector<Entry>& entries = found->second;
        if (added)
            platform::ListDirectory(FromPathText(dir), [&entries](std::string_view entry) {
                entries.push_back({Folded(entry), std::string(entry)});
            });
        return entries;
    }

private:
    std::map<std::string, std::vector<Entry>> m_listings;
};

std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& bankDir,
                                                      std::string_view name, Listings& listings)
{
    std::string current = PathText(bankDir);
    for (const std::string& part : PictureNameParts(name)) {
        // No file lies below a path longer than the system opens. Stopping there also bounds the
        // work of every step, which keeps the whole walk linear in the name's length.
        if (current.size() > platform::LongestPath())
            return std::nullopt;
        const std::size_t parent = current.size();
        current += Separator;
        current += part;
        if (part.empty() || part == "." || part == ".." || platform::EntryExists(current))
            continue;
        current.resize(parent);
        const std::u32string wanted = Folded(part);
        const std::string* match = nullptr;
        for (const Listings::Entry& entry : listings.Of(current)) {
            // Several names that differ only in case: take the same one every time.
            if (entry.folded == wanted && (!match || entry.name < *match))
                match = &entry.name;
        }
        if (!match)
            return std::nullopt;
        current += Separator;
        current += *match;
    }
    return FromPathText(current);
}

} // namespace

std::vector<std::string> PictureNameParts(std::string_view name)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            parts.emplace_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

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
    return LowerCaseExtension(name);
}

bool IsPictureExtension(std::string_view extension)
{
    return FormatOfExtension(extension).has_value();
}

std::optional<std::filesystem::path> FindPictureFile(const std::filesystem::path& bankDir,
                                                     std::string_view name, TextEncoding encoding,
                                                     std::optional<platform::FileFacts>* facts)
{
    if (facts)
        facts->reset();
    if (name.empty())
        return std::nullopt;
    std::vector<std::string> candidates{ToUtf8(name, encoding)};
    if (candidates.front() != name)
        candidates.emplace_back(name);
    for (const std::string& candidate : candidates) {
        std::string exact = PathText(bankDir) + Separator + candidate;
        std::replace(exact.end() - std::ptrdiff_t(candidate.size()), exact.end(), '\\', Separator);
        if (facts) {
            std::filesystem::path path = FromPathText(exact);
            if ((*facts = platform::RegularFileFacts(path)))
                return path;
        }
        if (platform::EntryExists(exact))
            return FromPathText(exact);
    }
    Listings listings;
    for (const std::string& candidate : candidates) {
        if (auto found = FindIgnoringCase(bankDir, candidate, listings))
            return found;
    }
    return std::nullopt;
}

} // namespace zdawnik
