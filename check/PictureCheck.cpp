#include "check/PictureCheck.h"

#include "bank/PictureName.h"
#include "check/MessageText.h"
#include "pictures/PictureLoader.h"

namespace zdawnik {

PictureLoader& CheckerPictures()
{
    // Never destroyed: the helper ends when the checker does and closes its pipe.
    static PictureLoader* const loader = new PictureLoader();
    return *loader;
}

bool LeadsOutOfBank(std::string_view name)
{
    if (name.starts_with('/') || name.starts_with('\\'))
        return true;
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.size() >= 2 && isLetter(name[0]) && name[1] == ':')
        return true;
    const std::vector<std::string> parts = PictureNameParts(name);
    return std::find(parts.begin(), parts.end(), "..") != parts.end();
}

std::vector<Finding> CheckPicture(const std::filesystem::path& bankDir, const std::string& name,
                                  TextEncoding encoding, QuestionPlace place)
{
    std::vector<Finding> findings;
    const auto add = [&](FindingCode code, const std::string& text) {
        findings.push_back(Finding{std::nullopt, code, text});
    };
    if (name.empty()) {
        add(FindingCode::PictureNameEmpty, "the picture tag names no file (write [img]name[/img])");
        return findings;
    }
    const std::string shownName = ToUtf8(name, encoding);
    const std::string picture = "picture " + Quoted(shownName);
    if (LeadsOutOfBank(name))
        add(FindingCode::PictureOutsideBank,
            picture + " lies outside the bank folder: a copy of the bank will not carry it");
    // The extension of the file's own name, not a dot of a folder on its way.
    const std::vector<std::string> parts = PictureNameParts(shownName);
    const std::string& fileName = parts.empty() ? shownName : parts.back();
    const std::string extension = PictureExtension(fileName);
    if (!IsPictureExtension(extension)) {
        const std::string shows = " (bmp, ico, emf, wmf, png, jpg and jpeg only)";
        add(FindingCode::PictureExtension,
            fileName.find('.') == std::string::npos
                ? picture + " has no extension: the program cannot tell what kind of picture it is" + shows
                : picture + ": the program cannot show pictures of the extension " + Quoted(extension) +
                      shows);
        return findings;
    }
    std::optional<platform::FileFacts> facts;
    const std::optional<std::filesystem::path> file = FindPictureFile(bankDir, name, encoding, &facts);
    if (!file) {
        add(FindingCode::PictureMissing, picture + ": no such file in the bank folder");
        return findings;
    }
    // Loaded as the window loads it into its place, so a damaged picture shows here before a user
    // meets it.
    const QSize placeSize = PicturePlaceSize(place);
    const PictureResult loaded = CheckerPictures().Load(*file, placeSize, facts);
    if (!loaded.ok()) {
        add(FindingCode::PictureDamaged,
            picture + ": the program cannot show it: " + loaded.error.toStdString());
        return findings;
    }
    if (loaded.naturalSize.width() > placeSize.width() || loaded.naturalSize.height() > placeSize.height())
        add(FindingCode::PictureTooLarge, picture + " is " + SizeText(loaded.naturalSize) +
                                              " pixels, larger than its place of " + SizeText(placeSize) +
                                              " at 96 dpi: the window cuts it");
    return findings;
}

} // namespace zdawnik
