#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zdawnik {

// The text of a source file: UTF-8 or UTF-16 behind a byte-order mark, UTF-8 without one when the
// bytes are valid UTF-8, otherwise Windows-1250, as banks and the spreadsheets of Polish offices are
// written.
QString DecodeSourceText(const QByteArray& bytes);

// The text as one line: line breaks, tabs and runs of white space become one space, and the ends are
// trimmed. A question file has no way to break a line inside a text.
QString OneLine(const QString& text);

// What an HTML text reads as, on one line, with its entities decoded.
QString PlainFromHtml(const QString& html);

// An HTML text taken apart: what it reads as, and the sources of its pictures (<img src="...">),
// in order.
struct HtmlContent
{
    QString Text;
    QStringList PictureSources;
};
HtmlContent ReadHtml(const QString& html);

// A text as a question file writes it for a label: "&&" for every "&".
QString WithDoubledAmpersands(const QString& text);

// The text in Windows-1250; nothing when a character has no place in it.
std::optional<QByteArray> ToWindows1250(const QString& text);

// A name every file system takes: Polish letters without their marks, letters, digits, "-" and "_"
// kept, anything else run together into one "-", at most 60 characters. Empty when nothing is left.
QString SafeFileStem(const QString& name);

// The name without a numeric prefix that orders it ("007-stolica" gives "stolica").
QString WithoutOrderPrefix(const QString& name);

} // namespace zdawnik
