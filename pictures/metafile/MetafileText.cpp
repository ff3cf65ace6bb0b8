#include "pictures/metafile/MetafileText.h"

#include "base/TextEncoding.h"

#include <QStringDecoder>

#include <string_view>

namespace zdawnik {

namespace {

// lfCharSet values of the Windows LOGFONT structure.
enum Charset
{
    AnsiCharset = 0,
    DefaultCharset = 1,
    MacCharset = 77,
    ShiftJisCharset = 128,
    HangulCharset = 129,
    Gb2312Charset = 134,
    ChineseBig5Charset = 136,
    GreekCharset = 161,
    TurkishCharset = 162,
    VietnameseCharset = 163,
    HebrewCharset = 177,
    ArabicCharset = 178,
    BalticCharset = 186,
    RussianCharset = 204,
    ThaiCharset = 222,
    EastEuropeCharset = 238,
    OemCharset = 255,
};

// The code page of a character set other than Windows-1250, by its name for the converter; null
// for a set whose bytes are best taken as they stand (the symbol fonts).
const char* CodePage(int charset)
{
    switch (charset) {
    case AnsiCharset:
        return "windows-1252";
    case MacCharset:
        return "macintosh";
    case ShiftJisCharset:
        return "Shift_JIS";
    case HangulCharset:
        return "windows-949";
    case Gb2312Charset:
        return "GBK";
    case ChineseBig5Charset:
        return "Big5";
    case GreekCharset:
        return "windows-1253";
    case TurkishCharset:
        return "windows-1254";
    case VietnameseCharset:
        return "windows-1258";
    case HebrewCharset:
        return "windows-1255";
    case ArabicCharset:
        return "windows-1256";
    case BalticCharset:
        return "windows-1257";
    case RussianCharset:
        return "windows-1251";
    case ThaiCharset:
        return "windows-874";
    case OemCharset:
        return "IBM852"; // the OEM code page of Polish systems
    default:
        return nullptr;
    }
}

} // namespace

QString DecodeMetafileText(QByteArrayView bytes, int charset)
{
    if (charset == EastEuropeCharset || charset == DefaultCharset) {
        // The bank's own table: Polish text never depends on the converters the system happens to have.
        const std::string utf8 =
            ToUtf8(std::string_view(bytes.data(), std::size_t(bytes.size())), TextEncoding::Windows1250);
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    }
    if (const char* codePage = CodePage(charset)) {
        QStringDecoder decoder(codePage);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromLatin1(bytes.data(), bytes.size());
}

QString MetafileFontFamily(QByteArrayView faceName, int charset)
{
    QString family = DecodeMetafileText(faceName, charset).trimmed();
    if (family.endsWith(QLatin1String(" CE"), Qt::CaseInsensitive))
        family.chop(3);
    return family;
}

} // namespace zdawnik
