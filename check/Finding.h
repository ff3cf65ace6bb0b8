#pragma once

#include <optional>
#include <string>

namespace zdawnik {

// What kind of mistake a finding is. Each has a short name that stays the same from release to
// release, for scripts that read the checker's JSON.
enum class FindingCode
{
    // The file as a whole.
    Unreadable,
    OutsideBank,
    EmptyFile,
    TooManyLines,
    CutLine,
    Utf16WithoutMark,
    MixedEncoding,
    StopMarker,
    TagCase,
    ReaderError,
    // The header and the answers of a choice question.
    SmallChoiceMark,
    TooManyAnswers,
    NoAnswers,
    NoRightAnswer,
    FlagNotBinary,
    FlagWithoutAnswer,
    FewerFlags,
    EmptyAnswer,
    EmptyLastLine,
    // The lists of a sentence question.
    ListCount,
    ListWithoutLine,
    ListWithoutOptions,
    EmptyOption,
    KeyMissing,
    KeyNotDigit,
    KeyPastOptions,
    GapMissing,
    // Texts and pictures as the window shows them.
    SingleAmpersand,
    TextCut,
    PictureNameEmpty,
    PictureExtension,
    PictureMissing,
    PictureDamaged,
    PictureOutsideBank,
    PictureTooLarge,
    // The bank as a whole.
    EmptyBank,
    NothingShown,
};

// The short name of a code, such as "single-ampersand".
const char* CodeName(FindingCode code);

// One mistake: the file line it stands on (none for the whole file or bank), its kind, and what the
// user will see, in UTF-8.
struct Finding
{
    std::optional<int> Line;
    FindingCode Code;
    std::string Message;
};

} // namespace zdawnik
