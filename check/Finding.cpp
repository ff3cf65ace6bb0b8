#include "check/Finding.h"

namespace zdawnik {

const char* CodeName(FindingCode code)
{
    switch (code) {
    case FindingCode::Unreadable:
        return "unreadable";
    case FindingCode::OutsideBank:
        return "file-outside-bank";
    case FindingCode::EmptyFile:
        return "empty-file";
    case FindingCode::TooManyLines:
        return "too-many-lines";
    case FindingCode::CutLine:
        return "line-too-long";
    case FindingCode::Utf16WithoutMark:
        return "utf16-without-mark";
    case FindingCode::MixedEncoding:
        return "mixed-encoding";
    case FindingCode::StopMarker:
        return "stop-marker";
    case FindingCode::TagCase:
        return "tag-case";
    case FindingCode::ReaderError:
        return "reader-error";
    case FindingCode::SmallChoiceMark:
        return "small-x";
    case FindingCode::TooManyAnswers:
        return "too-many-answers";
    case FindingCode::NoAnswers:
        return "no-answers";
    case FindingCode::NoRightAnswer:
        return "no-right-answer";
    case FindingCode::FlagNotBinary:
        return "flag-not-binary";
    case FindingCode::FlagWithoutAnswer:
        return "flag-without-answer";
    case FindingCode::FewerFlags:
        return "fewer-flags";
    case FindingCode::EmptyAnswer:
        return "empty-answer";
    case FindingCode::EmptyLastLine:
        return "empty-last-line";
    case FindingCode::ListCount:
        return "list-count";
    case FindingCode::ListWithoutLine:
        return "list-without-line";
    case FindingCode::ListWithoutOptions:
        return "list-without-options";
    case FindingCode::EmptyOption:
        return "empty-option";
    case FindingCode::KeyMissing:
        return "key-missing";
    case FindingCode::KeyNotDigit:
        return "key-not-digit";
    case FindingCode::KeyPastOptions:
        return "key-past-options";
    case FindingCode::GapMissing:
        return "gap-missing";
    case FindingCode::SingleAmpersand:
        return "single-ampersand";
    case FindingCode::TextCut:
        return "text-cut";
    case FindingCode::PictureNameEmpty:
        return "picture-name-empty";
    case FindingCode::PictureExtension:
        return "picture-extension";
    case FindingCode::PictureMissing:
        return "picture-missing";
    case FindingCode::PictureDamaged:
        return "picture-damaged";
    case FindingCode::PictureOutsideBank:
        return "picture-outside-bank";
    case FindingCode::PictureTooLarge:
        return "picture-too-large";
    case FindingCode::EmptyBank:
        return "empty-bank";
    case FindingCode::NothingShown:
        return "nothing-shown";
    }
    return "unknown";
}

} // namespace zdawnik
