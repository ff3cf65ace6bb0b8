#include "convert/BankText.h"

#include "base/TextEncoding.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocumentFragment>

#include <array>

namespace zdawnik {

namespace {

constexpr char16_t ObjectReplacement = 0xFFFC; // what Qt's HTML reader leaves where a picture stood
constexpr char16_t ByteOrderMark = 0xFEFF;     // a stray one is no part of a text
constexpr qsizetype LongestStem = 60;

// The characters of the 128 upper bytes of Windows-1250, from the program's own code page table.
const std::array<char16_t, 128>& UpperWindows1250()
{
    static const std::array<char16_t, 128> table = [] {
        std::array<char16_t, 128> characters{};
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string utf8 = ToUtf8(std::string(1, char(byte)), TextEncoding::Windows1250);
            const QString character = QString::fromStdString(utf8);
            characters[std::size_t(byte - 0x80)] = character.size() == 1 ? character[0].unicode() : 0xFFFD;
        }
        return characters;
    }();
    return table;
}

const QHash<char16_t, char>& Windows1250Bytes()
{
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> map;
        const auto& upper = UpperWindows1250();
        for (std::size_t i = 0; i < upper.size(); ++i)
            if (upper[i] != 0xFFFD)
                map.insert(upper[i], char(0x80 + i));
        return map;
    }();
    return bytes;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    Utf8Validator validator;
    validator.feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return validator.valid();
}

} // namespace

QString DecodeSourceText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    // What spreadsheets save as "Unicode text".
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        return decoder.decode(bytes.mid(2));
    }
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    const auto& upper = UpperWindows1250();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += value < 0x80 ? QChar(value) : QChar(upper[value - 0x80]);
    }
    return text;
}

QString OneLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QChar(ObjectReplacement) ||
            c == QChar(ByteOrderMark)) {
            space = !line.isEmpty();
            continue;
        }
        if (space)
            line += ' ';
        space = false;
        line += c;
    }
    return line;
}

QString PlainFromHtml(const QString& html)
{
    // Most texts hold no markup at all, or are one paragraph of plain text, as course platforms write
    // them; Qt's reader would only fold their white space.
    const auto plain = [](QStringView text) { return !text.contains(u'<') && !text.contains(u'&'); };
    if (plain(html))
        return OneLine(html);
    const QStringView trimmed = QStringView(html).trimmed();
    if (trimmed.startsWith(u"<p>") && trimmed.endsWith(u"</p>") && plain(trimmed.mid(3, trimmed.size() - 7)))
        return OneLine(trimmed.mid(3, trimmed.size() - 7).toString());
    return OneLine(QTextDocumentFragment::fromHtml(html).toPlainText());
}

HtmlContent ReadHtml(const QString& html)
{
    static const QRegularExpression Picture(QStringLiteral("<img\\b[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression Source(
        QStringLiteral("\\bsrc\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    HtmlContent content;
    if (!html.contains(QStringLiteral("<img"), Qt::CaseInsensitive)) {
        content.Text = PlainFromHtml(html);
        return content;
    }
    QString rest;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& tag : Picture.globalMatch(html)) {
        rest += html.mid(from, tag.capturedStart() - from) + ' ';
        from = tag.capturedEnd();
        const QRegularExpressionMatch source = Source.match(tag.captured());
        if (!source.hasMatch())
            continue;
        QString value = source.captured(1) + source.captured(2) + source.captured(3);
        content.PictureSources << value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    }
    rest += html.mid(from);
    content.Text = PlainFromHtml(rest);
    return content;
}

QString WithDoubledAmpersands(const QString& text)
{
    QString doubled = text;
    return doubled.replace('&', QStringLiteral("&&"));
}

std::optional<QByteArray> ToWindows1250(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    const auto& map = Windows1250Bytes();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            bytes += char(c.unicode());
            continue;
        }
        const auto found = map.constFind(c.unicode());
        if (found == map.constEnd())
            return std::nullopt;
        bytes += *found;
    }
    return bytes;
}

QString SafeFileStem(const QString& name)
{
    QString plain = name;
    plain.replace(u'ł', u'l').replace(u'Ł', u'L');
    plain = plain.normalized(QString::NormalizationForm_D);
    QString stem;
    for (const QChar c : plain) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        const char16_t u = c.unicode();
        const bool kept = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                          u == '_' || u == '-';
        if (kept)
            stem += c.toLower();
        else if (!stem.isEmpty() && !stem.endsWith('-'))
            stem += '-';
    }
    stem.truncate(LongestStem);
    while (stem.endsWith('-') || stem.endsWith('_'))
        stem.chop(1);
    return stem;
}

QString WithoutOrderPrefix(const QString& name)
{
    static const QRegularExpression OrderPrefix(QStringLiteral("^[0-9]+([-_ ]+|$)"));
    QString rest = name;
    return rest.remove(OrderPrefix);
}

} // namespace zdawnik
